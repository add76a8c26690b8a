// Costs of the table layer against bare SQLite doing the same durable work,
// measured side by side in one run and printed as ratios.
//   (a) edit + write one field + post of the fee record, against a bare
//       single-row UPDATE transaction with the same pragmas   (goal <= 1.3)
//   (b) opening a table whose working record is one of 100,000 rows, against
//       a one-row table                                         (goal <= 1.2)
#include "InitDb.h"
#include "Schema.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double seconds(const std::function<void()>& fn)
{
    const auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs a and b alternately so drift of the machine hits both alike.
std::pair<double, double> paired(int rounds, const std::function<void()>& a, const std::function<void()>& b)
{
    std::vector<double> ta, tb;
    for (int i = 0; i < rounds; ++i) {
        ta.push_back(seconds(a));
        tb.push_back(seconds(b));
    }
    return {median(ta), median(tb)};
}

void exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

void report(const char* what, double a, double b, double goal)
{
    std::printf("%-58s %9.1f us %9.1f us   ratio %.2f  (goal <= %.1f)\n", what, a * 1e6, b * 1e6, a / b, goal);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX")); // on the real disk, not tmpfs
    const QString folder = dir.filePath(QStringLiteral("sa"));
    tools::createDatabase(folder);
    const QByteArray file = QDir(folder).filePath(QStringLiteral("tables.sqlite3")).toUtf8();

    tables::Table fee(folder, QString::fromUtf8(tables::schema::FeeTable));
    fee.open();
    fee.edit();
    fee.post(); // the record exists from here on

    sqlite3* bare = nullptr;
    sqlite3_open(file.constData(), &bare);
    exec(bare, "PRAGMA synchronous=FULL");
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(bare, "UPDATE \"料金\" SET \"保険外料金\" = ?1 WHERE rowid = 1", -1, &update, nullptr);

    std::int64_t n = 0;
    const auto [layer, raw] = paired(
        rounds,
        [&] {
            fee.edit();
            fee.fieldByName(QStringLiteral("保険外料金")).setAsCurrency(tables::Currency::fromYen(++n));
            fee.post();
        },
        [&] {
            exec(bare, "BEGIN IMMEDIATE");
            sqlite3_bind_int64(update, 1, ++n * 10000);
            sqlite3_step(update);
            sqlite3_reset(update);
            exec(bare, "COMMIT");
        });
    report("(a) edit-write-post vs bare UPDATE transaction", layer, raw, 1.3);
    sqlite3_finalize(update);

    // (b): a second database whose fee table holds 100,000 rows.
    const QString bigFolder = dir.filePath(QStringLiteral("big"));
    tools::createDatabase(bigFolder);
    sqlite3* big = nullptr;
    sqlite3_open(QDir(bigFolder).filePath(QStringLiteral("tables.sqlite3")).toUtf8().constData(), &big);
    exec(big, "BEGIN");
    exec(big, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
              "INSERT INTO \"料金\" (\"氏名\", \"料金\") SELECT 'patient ' || i, i * 10000 FROM n");
    exec(big, "COMMIT");
    sqlite3_close(big);

    tables::Table large(bigFolder, QString::fromUtf8(tables::schema::FeeTable));
    tables::Table small(folder, QString::fromUtf8(tables::schema::FeeTable));
    fee.close();
    const auto [openLarge, openSmall] = paired(
        rounds, [&] { large.open(); large.close(); }, [&] { small.open(); small.close(); });
    report("(b) open on 100,000 rows vs open on one row", openLarge, openSmall, 1.2);
    sqlite3_close(bare);
    return 0;
}
