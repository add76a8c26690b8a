#include "Table.h"
#include "Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/stat.h>

namespace tables {

namespace {
// Identifiers come only from the schema or from the database's own table
// description, and are always quoted; values are always bound.
QByteArray quoted(const QString& identifier)
{
    QString q = identifier;
    q.replace(u'"', QStringLiteral("\"\""));
    return (u'"' + q + u'"').toUtf8();
}

struct Stmt {
    sqlite3_stmt* s = nullptr;
    ~Stmt() { sqlite3_finalize(s); }
};

constexpr int kBusyTimeoutMs = 5000;

// Runs a statement that returns no rows and readies it for the next run.
int step(sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    return rc;
}

// What every connection of ours runs with; SQLITE_OK or the failing code.
int configure(sqlite3* db)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
}

// A read-write connection to the file, or null while it can only be read.
sqlite3* writableConnection(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_db_readonly(db, "main") == 0 && configure(db) == SQLITE_OK)
        return db;
    sqlite3_close_v2(db);
    return nullptr;
}

// Which file (device, inode) a path names now; nothing when there is none.
std::optional<std::pair<unsigned long long, unsigned long long>> fileAt(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
    return std::pair<unsigned long long, unsigned long long>(st.st_dev, st.st_ino);
}

// A field the programs need is not in the table: the file was not made by
// harunire-initdb, or by an older one.
DatabaseError missingField(const QString& table, const QString& field)
{
    return DatabaseError(QStringLiteral("テーブル「%1」に項目「%2」がありません。"
                                        "harunire-initdb で作成したデータフォルダを指定してください。").arg(table, field));
}
} // namespace

Table::Table(QString folder, QString name, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_name(std::move(name))
{
}

Table::~Table() { closeConnection(); }

void Table::setFolder(const QString& folder)
{
    close();
    closeConnection();
    m_folder = folder;
}

void Table::setFieldDefs(std::span<const FieldDef> defs) { m_typedDefs.assign(defs.begin(), defs.end()); }

QString Table::databasePath() const { return QDir(m_folder).filePath(QString::fromUtf8(schema::DatabaseFile)); }

void Table::fail(const QString& what, int rc) const
{
    const QString file = QDir::toNativeSeparators(databasePath());
    const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const int primary = rc & 0xff;
    // While storing, a file that cannot be written or a journal that cannot be
    // created in the folder shows up as I/O or open errors: say what to check.
    const bool writing = what == QStringLiteral("保存");
    if (writing && (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY ||
                    primary == SQLITE_PERM))
        throw DatabaseError(QStringLiteral("テーブル「%1」に書き込めません。データファイル %2 とそのフォルダが"
                                           "書き込めるか、ディスクに空きがあるかを確かめてください（%3）。")
                                .arg(m_name, file, detail));
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DatabaseError(QStringLiteral("テーブル「%1」は他のプログラムが使用中のため%2できません。"
                                           "しばらく待ってからもう一度操作してください。").arg(m_name, what));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw DatabaseError(QStringLiteral("テーブル「%1」に書き込めません。データファイル %2 とそのフォルダの"
                                           "書き込み権限を確かめてください。").arg(m_name, file));
    case SQLITE_FULL:
        throw DatabaseError(QStringLiteral("テーブル「%1」に書き込めません。ディスクかデータベースの容量が"
                                           "いっぱいです。空きを作ってからもう一度操作してください。").arg(m_name));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw DatabaseError(QStringLiteral("データファイル %1 はデータベースではないか、壊れています"
                                           "（テーブル「%2」）。バックアップから戻してください。").arg(file, m_name));
    case SQLITE_CANTOPEN:
        throw DatabaseError(QStringLiteral("データファイル %1 を開けません（テーブル「%2」）。"
                                           "harunire-initdb でデータフォルダを作成してください。").arg(file, m_name));
    default:
        throw DatabaseError(QStringLiteral("テーブル「%1」の%2に失敗しました: %3").arg(m_name, what, detail));
    }
}

void Table::requireActive(const char* what) const
{
    if (m_state == State::Inactive)
        throw DatabaseError(QStringLiteral("テーブル「%1」が開いていないため%2できません。")
                                .arg(m_name, QString::fromUtf8(what)));
}

void Table::open()
{
    if (isActive()) return;
    if (!QFileInfo(m_folder).isDir())
        throw DatabaseError(QStringLiteral("データフォルダ %1 がありません（テーブル「%2」）。"
                                           "harunire-initdb でデータフォルダを作成してください。")
                                .arg(QDir::toNativeSeparators(m_folder), m_name));
    const auto file = fileAt(databasePath());
    if (!file) {
        closeConnection();
        fail(QStringLiteral("オープン"), SQLITE_CANTOPEN);
    }
    if (m_db && *file == m_fileId && resumeParked()) {
        m_state = State::Browse;
        emit changed(nullptr);
        return;
    }
    closeConnection();
    m_fileId = *file;

    // The programs never create a database: without SQLITE_OPEN_CREATE a
    // missing file stays an error instead of becoming an empty database.
    const int rc = sqlite3_open_v2(databasePath().toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    try {
        if (rc != SQLITE_OK) fail(QStringLiteral("オープン"), rc);
        if (configure(m_db) != SQLITE_OK) fail(QStringLiteral("オープン"), sqlite3_extended_errcode(m_db));
        loadFields();
        prepareStatements();
        readRecord();
        indexFields();
    } catch (...) {
        closeConnection();
        throw;
    }
    m_state = State::Browse;
    emit changed(nullptr);
}

// The parked connection serves again only while the file is the one it was
// opened on and nobody changed the schema the field list was checked against;
// anything else, an error included, takes a fresh open. A schema change makes
// SQLite recompile the record's SELECT before running it, which it counts:
// that tells us without a query of our own.
bool Table::resumeParked()
{
    if (m_parkedFields.empty()) return false;
    m_fields = std::move(m_parkedFields);
    m_parkedFields.clear();
    sqlite3_stmt_status(m_select, SQLITE_STMTSTATUS_REPREPARE, 1);
    bool sameSchema = false;
    try {
        readRecord();
        sameSchema = sqlite3_stmt_status(m_select, SQLITE_STMTSTATUS_REPREPARE, 1) == 0;
    } catch (const DatabaseError&) {
    }
    if (!sameSchema) {
        m_fields.clear();
        return false;
    }
    indexFields();
    return true;
}

void Table::indexFields()
{
    m_fieldIndex.clear();
    m_fieldIndex.reserve(qsizetype(m_fields.size()));
    for (Field& f : m_fields) m_fieldIndex.insert(f.name(), &f);
}

void Table::loadFields()
{
    Stmt info;
    const QByteArray sql = "SELECT name, type FROM pragma_table_info(?1)";
    int rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &info.s, nullptr);
    if (rc != SQLITE_OK) fail(QStringLiteral("オープン"), sqlite3_extended_errcode(m_db));
    const QByteArray name = m_name.toUtf8();
    sqlite3_bind_text(info.s, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);

    std::vector<FieldDef> columns;
    std::vector<QByteArray> names; // keeps FieldDef::name alive while we build
    std::vector<QString> badTypes;
    while ((rc = sqlite3_step(info.s)) == SQLITE_ROW) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.s, 0)));
        const QString declared = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.s, 1)));
        FieldDef def{nullptr, FieldType::Text, 0};
        if (!parseDeclaredType(declared, def.type, def.size)) badTypes.push_back(declared);
        else badTypes.emplace_back();
        columns.push_back(def);
    }
    if (rc != SQLITE_DONE) fail(QStringLiteral("オープン"), sqlite3_extended_errcode(m_db));
    if (columns.empty())
        throw DatabaseError(QStringLiteral("テーブル「%1」がデータファイル %2 にありません。"
                                           "harunire-initdb で作成したデータフォルダを指定してください。")
                                .arg(m_name, QDir::toNativeSeparators(databasePath())));
    for (size_t i = 0; i < columns.size(); ++i) columns[i].name = names[i].constData();

    m_fields.clear();
    auto declaredOf = [&](size_t i) {
        return badTypes[i].isEmpty() ? columns[i].declaredType() : badTypes[i];
    };
    if (m_typedDefs.empty()) {
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!badTypes[i].isEmpty())
                throw DatabaseError(QStringLiteral("テーブル「%1」の項目「%2」の型 %3 は扱えません。")
                                        .arg(m_name, columns[i].qname(), badTypes[i]));
            m_fields.push_back(Field(this, columns[i]));
        }
        return;
    }
    for (const FieldDef& want : m_typedDefs) {
        size_t i = 0;
        while (i < columns.size() && columns[i].qname() != want.qname()) ++i;
        if (i == columns.size())
            throw missingField(m_name, want.qname());
        if (!badTypes[i].isEmpty() || !(columns[i] == want))
            throw DatabaseError(QStringLiteral("テーブル「%1」の項目「%2」の型が違います（必要な型 %3、実際の型 %4）。")
                                    .arg(m_name, want.qname(), want.declaredType(), declaredOf(i)));
        m_fields.push_back(Field(this, want));
    }
}

void Table::prepareStatements()
{
    QByteArray cols, params, sets;
    int n = 0;
    for (const Field& f : m_fields) {
        const QByteArray q = quoted(f.name());
        const QByteArray p = '?' + QByteArray::number(++n);
        cols += (n > 1 ? ", " : "") + q;
        params += (n > 1 ? ", " : "") + p;
        sets += (n > 1 ? ", " : "") + q + " = " + p;
    }
    const QByteArray table = quoted(m_name);
    const QByteArray rowParam = '?' + QByteArray::number(n + 1);
    prepare(m_select, "SELECT rowid, " + cols + " FROM " + table + " ORDER BY rowid LIMIT 1");
    prepare(m_update, "UPDATE " + table + " SET " + sets + " WHERE rowid = " + rowParam);
    prepare(m_insert, "INSERT INTO " + table + " (" + cols + ") VALUES (" + params + ")");
    prepare(m_begin, "BEGIN IMMEDIATE");
    prepare(m_commit, "COMMIT");
}

void Table::prepare(sqlite3_stmt*& stmt, const QByteArray& sql)
{
    if (sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        fail(QStringLiteral("オープン"), sqlite3_extended_errcode(m_db));
}

void Table::readRecord()
{
    sqlite3_reset(m_select);
    const int rc = sqlite3_step(m_select);
    m_rowid.reset();
    if (rc == SQLITE_ROW) {
        m_rowid = sqlite3_column_int64(m_select, 0);
        int col = 1;
        for (Field& f : m_fields) f.m_value = columnValue(f, col++);
    } else if (rc == SQLITE_DONE) {
        for (Field& f : m_fields) f.m_value = std::monostate{};
    } else {
        const int err = sqlite3_extended_errcode(m_db);
        sqlite3_reset(m_select);
        fail(QStringLiteral("読み込み"), err);
    }
    sqlite3_reset(m_select);
    m_saved.clear();
    for (const Field& f : m_fields) m_saved.push_back(f.m_value);
}

Field::Value Table::columnValue(const Field& f, int col) const
{
    const int type = sqlite3_column_type(m_select, col);
    if (type == SQLITE_NULL) return std::monostate{};
    auto text = [&] {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_select, col)),
                                 sqlite3_column_bytes(m_select, col));
    };
    auto unreadable = [&]() -> DatabaseError {
        return DatabaseError(QStringLiteral("テーブル「%1」の項目「%2」に読めない値「%3」が入っています。")
                                 .arg(m_name, f.name(), text().left(40)));
    };
    switch (f.type()) {
    case FieldType::Currency:
        if (type == SQLITE_INTEGER) return std::int64_t(sqlite3_column_int64(m_select, col));
        throw unreadable();
    case FieldType::SmallInt: {
        if (type != SQLITE_INTEGER) throw unreadable();
        const auto v = sqlite3_column_int64(m_select, col);
        if (v < -32768 || v > 32767) throw unreadable();
        return std::int64_t(v);
    }
    case FieldType::Float:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_column_double(m_select, col);
        throw unreadable();
    case FieldType::Text:
        return text();
    case FieldType::Date: {
        const QDate d = QDate::fromString(text(), QStringLiteral("yyyy-MM-dd"));
        if (type != SQLITE_TEXT || !d.isValid()) throw unreadable();
        return d;
    }
    }
    throw unreadable();
}

void Table::closeConnection()
{
    m_parkedFields.clear();
    for (sqlite3_stmt** s : {&m_select, &m_update, &m_insert, &m_begin, &m_commit}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void Table::park()
{
    m_parkedFields = std::move(m_fields);
    m_fields.clear();
    m_fieldIndex.clear();
    m_saved.clear();
    m_rowid.reset();
    m_state = State::Inactive;
}

void Table::close()
{
    if (!isActive()) return;
    park();
    emit changed(nullptr);
}

void Table::reopen()
{
    if (isActive()) park();
    try {
        open();
    } catch (...) {
        emit changed(nullptr);
        throw;
    }
}

void Table::edit()
{
    requireActive("編集");
    if (m_state == State::Edit || m_state == State::Insert) return;
    m_state = m_rowid ? State::Edit : State::Insert;
    emit stateChanged();
}

void Table::bindRecord(sqlite3_stmt* stmt)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    int i = 0;
    for (const Field& f : m_fields) {
        ++i;
        std::visit(
            [&](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::monostate>) sqlite3_bind_null(stmt, i);
                else if constexpr (std::is_same_v<V, double>) sqlite3_bind_double(stmt, i, v);
                else if constexpr (std::is_same_v<V, std::int64_t>) sqlite3_bind_int64(stmt, i, v);
                else if constexpr (std::is_same_v<V, QString>) {
                    const QByteArray u = v.toUtf8();
                    sqlite3_bind_text(stmt, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
                } else {
                    const QByteArray u = v.toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
                    sqlite3_bind_text(stmt, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
                }
            },
            f.m_value);
    }
}

void Table::post()
{
    requireActive("保存");
    if (m_state != State::Edit && m_state != State::Insert) return;
    // Copy: an updater may remove itself (a box being destroyed).
    const auto updaters = m_updaters;
    for (const auto& u : updaters) u.second();

    // A record nobody changed is already stored: writing it back would cost
    // a transaction, and would overwrite whatever another program stored
    // in the row since we read it.
    if (m_state == State::Edit && unchanged()) {
        m_state = State::Browse;
        emit stateChanged();
        return;
    }
    const QString what = QStringLiteral("保存");
    // A file that could not be written when the table was opened gives a
    // read-only connection for good. Once the operator has made it writable
    // a fresh connection lets the post through, instead of a restart that
    // would drop the record being edited.
    if (sqlite3_db_readonly(m_db, "main") == 1) {
        if (sqlite3* fresh = writableConnection(databasePath())) {
            closeConnection();
            m_db = fresh;
            prepareStatements();
        }
    }
    if (step(m_begin) != SQLITE_DONE) fail(what, sqlite3_extended_errcode(m_db));
    try {
        bool inserted = false;
        if (m_state == State::Edit) {
            bindRecord(m_update);
            sqlite3_bind_int64(m_update, int(m_fields.size()) + 1, *m_rowid);
            const int rc = step(m_update);
            if (rc != SQLITE_DONE) fail(what, sqlite3_extended_errcode(m_db));
            // The row was deleted behind our back: store the record again
            // rather than lose it.
            inserted = sqlite3_changes(m_db) == 0;
        }
        if (m_state == State::Insert || inserted) {
            bindRecord(m_insert);
            const int rc = step(m_insert);
            if (rc != SQLITE_DONE) fail(what, sqlite3_extended_errcode(m_db));
            m_rowid = sqlite3_last_insert_rowid(m_db);
        }
        if (step(m_commit) != SQLITE_DONE) fail(what, sqlite3_extended_errcode(m_db));
    } catch (...) {
        if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    m_saved.clear();
    for (const Field& f : m_fields) m_saved.push_back(f.m_value);
    m_state = State::Browse;
    emit stateChanged();
}

bool Table::unchanged() const
{
    std::size_t i = 0;
    for (const Field& f : m_fields)
        if (!(f.m_value == m_saved[i++])) return false;
    return true;
}

Field* Table::findField(const QString& name)
{
    return m_fieldIndex.value(name, nullptr);
}

Field& Table::fieldByName(const QString& name)
{
    requireActive("項目を読み書き");
    if (Field* f = findField(name)) return *f;
    throw missingField(m_name, name);
}

void Table::clearFields(std::span<const char* const> names)
{
    for (const char* name : names) fieldByName(name).clear();
}

Currency Table::sum(std::span<const char* const> names)
{
    Currency total;
    for (const char* name : names) total += fieldByName(name).asCurrency();
    return total;
}

int Table::addUpdater(Updater fn)
{
    m_updaters.emplace_back(m_nextUpdater, std::move(fn));
    return m_nextUpdater++;
}

void Table::removeUpdater(int id)
{
    std::erase_if(m_updaters, [id](const auto& u) { return u.first == id; });
}

void Table::fieldWritten(const Field& f) { emit changed(&f); }

} // namespace tables
