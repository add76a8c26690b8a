#pragma once

namespace bench {

// Counts the durable commits of this process: a commit that wrote something
// syncs the database file (rollback journal) or the write-ahead log (WAL)
// once; a commit that changed nothing syncs nothing and costs next to
// nothing, so it is not counted. Installs a pass-through VFS as the default;
// call it before any connection opens.
void countDurableCommits();
long long durableCommits();

} // namespace bench
