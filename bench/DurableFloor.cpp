#include "DurableFloor.h"

#include "InitDb.h"
#include "tables/Schema.h"
#include "tables/Table.h"

#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace bench {

DurableFloor::DurableFloor(const QString& folder)
{
    tools::createDatabase(folder);
    // One post through the table layer makes the row, and leaves the file in
    // whatever persistent state (journal mode, page size) the layer gives it.
    {
        tables::Table fee(folder, QString::fromUtf8(tables::schema::FeeTable));
        fee.open();
        fee.edit();
        fee.post();
    }
    const QByteArray file = QDir(folder).filePath(QString::fromUtf8(tables::schema::DatabaseFile)).toUtf8();
    if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        fail("open");
    // What the table layer gives every connection (configure() in
    // tables/Table.cpp); keep the two in step.
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    exec("PRAGMA synchronous=FULL");
    const char* update = "UPDATE \"料金\" SET \"保険外料金\" = ?1 WHERE rowid = (SELECT min(rowid) FROM \"料金\")";
    if (sqlite3_prepare_v2(m_db, update, -1, &m_update, nullptr) != SQLITE_OK)
        fail(update);
}

DurableFloor::~DurableFloor()
{
    sqlite3_finalize(m_update);
    sqlite3_close_v2(m_db);
}

void DurableFloor::fail(const char* what) const
{
    std::fprintf(stderr, "floor database: %s: %s\n", what, m_db ? sqlite3_errmsg(m_db) : "out of memory");
    std::exit(1);
}

void DurableFloor::exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

double DurableFloor::run(int count)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        exec("BEGIN IMMEDIATE");
        sqlite3_bind_int64(m_update, 1, ++m_value * 10000);
        const int rc = sqlite3_step(m_update);
        sqlite3_reset(m_update);
        if (rc != SQLITE_DONE)
            fail("UPDATE");
        exec("COMMIT");
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace bench
