#include "SyncCounter.h"

#include <cstddef>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace bench {

namespace {

sqlite3_vfs* base = nullptr;
sqlite3_vfs counting{};
long long databaseSyncs = 0;
long long logSyncs = 0;

// The base VFS's file, followed by what we keep about it. SQLite hands our
// methods the same pointer the base's methods expect, so every method but
// xSync is the base's own.
struct Extra {
    const sqlite3_io_methods* real;
    int kind; // SQLITE_OPEN_MAIN_DB, SQLITE_OPEN_WAL, ...
};

Extra* extra(sqlite3_file* file)
{
    return reinterpret_cast<Extra*>(reinterpret_cast<char*>(file) + base->szOsFile);
}

int sync(sqlite3_file* file, int flags)
{
    const Extra* e = extra(file);
    if (e->kind == SQLITE_OPEN_MAIN_DB)
        ++databaseSyncs;
    else if (e->kind == SQLITE_OPEN_WAL)
        ++logSyncs;
    return e->real->xSync(file, flags);
}

const sqlite3_io_methods* wrapped(const sqlite3_io_methods* real)
{
    static std::map<const sqlite3_io_methods*, std::unique_ptr<sqlite3_io_methods>> tables;
    auto& ours = tables[real];
    if (!ours) {
        ours = std::make_unique<sqlite3_io_methods>(*real);
        ours->xSync = sync;
    }
    return ours.get();
}

int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    const int rc = base->xOpen(base, name, file, flags, outFlags);
    if (file->pMethods) {
        *extra(file) = {file->pMethods, flags & 0x7FFF00};
        file->pMethods = wrapped(file->pMethods);
    }
    return rc;
}

} // namespace

void countDurableCommits()
{
    if (base)
        return;
    base = sqlite3_vfs_find(nullptr);
    counting = *base;
    counting.zName = "harunire-bench-counting";
    counting.szOsFile = base->szOsFile + int(sizeof(Extra));
    counting.xOpen = open;
    sqlite3_vfs_register(&counting, 1);
}

long long durableCommits()
{
    // In WAL mode a commit syncs the log, and the database file only at a
    // checkpoint; with a rollback journal there is no log.
    return logSyncs ? logSyncs : databaseSyncs;
}

} // namespace bench
