#pragma once
#include <QString>
#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace bench {

// The cheapest durable write the machine allows, done as the table layer does
// a post: BEGIN IMMEDIATE; UPDATE one row; COMMIT, on a connection with the
// table layer's pragmas, in a database harunire-initdb made in `folder`.
// The folder should sit on the same disk as the databases it is compared with.
class DurableFloor {
public:
    explicit DurableFloor(const QString& folder);
    ~DurableFloor();
    DurableFloor(const DurableFloor&) = delete;
    DurableFloor& operator=(const DurableFloor&) = delete;

    // Milliseconds taken by `count` such transactions one after another.
    double run(int count);

private:
    [[noreturn]] void fail(const char* what) const;
    void exec(const char* sql);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_update = nullptr;
    std::int64_t m_value = 0;
};

} // namespace bench
