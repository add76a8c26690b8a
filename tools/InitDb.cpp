#include "InitDb.h"
#include "Error.h"
#include "Schema.h"
#include "Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>
#include <set>

// The price list lives in a static library's resources, which the linker
// drops unless something refers to them.
static void initResources() { Q_INIT_RESOURCE(initdb); }

namespace tools {

using tables::ConversionError;
using tables::DatabaseError;

namespace {
QByteArray quoted(const char* identifier) { return '"' + QByteArray(identifier).replace('"', "\"\"") + '"'; }

QByteArray createStatement(const char* table, std::span<const tables::FieldDef> fields)
{
    QByteArray sql = "CREATE TABLE " + quoted(table) + " (";
    bool first = true;
    for (const auto& f : fields) {
        sql += (first ? "" : ", ") + quoted(f.name) + ' ' + f.declaredType().toUtf8();
        first = false;
    }
    return sql + ")";
}

void check(sqlite3* db, int rc, const QString& path)
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE) return;
    throw DatabaseError(QStringLiteral("データファイル %1 を作成できません: %2")
                            .arg(QDir::toNativeSeparators(path), QString::fromUtf8(sqlite3_errmsg(db))));
}

void writePrices(const QString& folder, const PriceList& prices)
{
    tables::Table base(folder, QString::fromUtf8(tables::schema::BaseFeeTable));
    base.open();
    base.edit();
    for (const auto& [name, amount] : prices) base.fieldByName(name).setAsCurrency(amount);
    base.post();
}
} // namespace

PriceList parsePrices(const QString& text, const QString& source)
{
    std::set<QString> known;
    for (const auto& f : tables::schema::baseFeeFields()) known.insert(f.qname());

    PriceList prices;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const auto fail = [&](const QString& why) {
            return ConversionError(QStringLiteral("%1 の %2 行目: %3").arg(source).arg(i + 1).arg(why));
        };
        QString line = lines[i];
        if (const auto hash = line.indexOf(u'#'); hash >= 0) line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty()) continue;
        const auto eq = line.indexOf(u'=');
        if (eq < 0) throw fail(QStringLiteral("「項目名 = 金額」の形ではありません。"));
        const QString name = line.left(eq).trimmed();
        const QString amount = line.mid(eq + 1).trimmed();
        if (!known.count(name)) throw fail(QStringLiteral("基本料金表に項目「%1」はありません。").arg(name));
        if (prices.count(name)) throw fail(QStringLiteral("項目「%1」が二度書かれています。").arg(name));
        try {
            prices[name] = tables::Currency::fromText(amount);
        } catch (const tables::Error& e) {
            throw fail(e.message());
        }
    }
    for (const QString& name : known)
        if (!prices.count(name))
            throw ConversionError(QStringLiteral("%1 に項目「%2」の金額がありません。").arg(source, name));
    return prices;
}

PriceList samplePrices()
{
    initResources();
    QFile f(QStringLiteral(":/harunire/prices.txt"));
    if (!f.open(QIODevice::ReadOnly)) throw DatabaseError(QStringLiteral("同梱の料金表が見つかりません。"));
    return parsePrices(QString::fromUtf8(f.readAll()), QStringLiteral("同梱の料金表"));
}

bool createDatabase(const QString& folder, const PriceList& prices)
{
    const QString path = QDir(folder).filePath(QString::fromUtf8(tables::schema::DatabaseFile));
    if (QFileInfo::exists(path)) return false;
    if (!QDir().mkpath(folder))
        throw DatabaseError(QStringLiteral("データフォルダ %1 を作成できません。").arg(QDir::toNativeSeparators(folder)));

    // Build beside the final name and rename at the end, so a crash or a
    // failure never leaves a half-made database under the real name.
    const QString temp = path + QStringLiteral(".creating");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    sqlite3_stmt* insert = nullptr;
    try {
        check(db, sqlite3_open_v2(temp.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              path);
        QByteArray sql = "PRAGMA synchronous=FULL; BEGIN; ";
        sql += createStatement(tables::schema::FeeTable, tables::schema::feeFields()) + "; ";
        sql += createStatement(tables::schema::ExtraFeeTable, tables::schema::extraFeeFields()) + "; ";
        sql += createStatement(tables::schema::BaseFeeTable, tables::schema::baseFeeFields()) + ";";
        check(db, sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), path);

        QByteArray cols, params;
        int n = 0;
        for (const auto& f : tables::schema::baseFeeFields()) {
            const QByteArray sep = n ? ", " : "";
            cols += sep + quoted(f.name);
            params += sep + '?' + QByteArray::number(++n);
        }
        const QByteArray ins = "INSERT INTO " + quoted(tables::schema::BaseFeeTable) + " (" + cols + ") VALUES (" + params + ")";
        check(db, sqlite3_prepare_v2(db, ins.constData(), -1, &insert, nullptr), path);
        n = 0;
        for (const auto& f : tables::schema::baseFeeFields()) {
            const auto it = prices.find(f.qname());
            ++n;
            if (it == prices.end()) sqlite3_bind_null(insert, n);
            else sqlite3_bind_int64(insert, n, it->second.units());
        }
        check(db, sqlite3_step(insert), path);
        sqlite3_finalize(insert);
        insert = nullptr;
        check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), path);
        check(db, sqlite3_close(db), path);
        db = nullptr;
        if (!QFile::rename(temp, path))
            throw DatabaseError(QStringLiteral("データファイル %1 を作成できません。").arg(QDir::toNativeSeparators(path)));
    } catch (...) {
        sqlite3_finalize(insert);
        if (db) sqlite3_close(db);
        QFile::remove(temp);
        throw;
    }
    return true;
}

void loadPrices(const QString& folder, const PriceList& prices)
{
    if (!createDatabase(folder, prices)) writePrices(folder, prices);
}

} // namespace tools
