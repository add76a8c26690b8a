#pragma once
#include "Field.h"
#include "Schema.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tables {

// A table of the shared database and its working record (the row with the
// lowest rowid). Opening reads that record into a buffer; edit and field
// writes change the buffer; post stores it in one durable transaction; close
// drops what was not posted. Nothing ever moves to another row.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    // `folder` holds the database file; `name` is the table's name in it.
    Table(QString folder, QString name, QObject* parent = nullptr);
    ~Table() override;

    const QString& folder() const { return m_folder; }
    const QString& name() const { return m_name; }
    void setFolder(const QString& folder);

    // With a typed field list, opening checks that every listed field exists
    // with that type and size, and fails naming the first that does not.
    // Without one, the fields are taken as the table defines them.
    void setFieldDefs(std::span<const FieldDef> defs);

    void open();   // nothing if already open
    void close();  // unposted changes are dropped
    // close() then open(), with one change signal for the pair: boxes bound
    // to the table go from the old record straight to the stored one. A
    // failed open leaves the table closed, as the pair would.
    void reopen();
    void edit();   // nothing if already editing; on an empty table starts a record
    void post();   // nothing unless editing; an unchanged record writes nothing

    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEmpty() const { return !m_rowid.has_value(); }

    // Throws DatabaseError naming the table and field when there is none.
    Field& fieldByName(const QString& name);
    // The same for a name as the schema and the handlers spell it (UTF-8).
    Field& fieldByName(const char* name) { return fieldByName(QString::fromUtf8(name)); }
    // Empties each named field; the table must be in edit state.
    void clearFields(std::span<const char* const> names);
    // The named fields as amounts added up; an empty field counts as 0.
    Currency sum(std::span<const char* const> names);
    Field* findField(const QString& name);
    const std::deque<Field>& fields() const { return m_fields; }

    // Called at the start of every post, before the record is written, so a
    // data-aware box can hand over text still being typed. A throw aborts the post.
    using Updater = std::function<void()>;
    int addUpdater(Updater fn);
    void removeUpdater(int id);

signals:
    // The buffer changed: `field` was written, or, with no field, the table
    // was opened or closed and the whole record replaced.
    void changed(const tables::Field* field);
    // Edit state began (edit) or ended (post) with the buffer as it was.
    void stateChanged();

private:
    friend class Field;
    QString databasePath() const;
    void requireActive(const char* what) const;
    void fieldWritten(const Field& f);
    [[noreturn]] void fail(const QString& what, int rc) const;
    void loadFields();
    void prepareStatements();
    void prepare(sqlite3_stmt*& stmt, const QByteArray& sql);
    void readRecord();
    Field::Value columnValue(const Field& f, int col) const;
    void bindRecord(sqlite3_stmt* stmt);
    void park();
    bool resumeParked();
    void indexFields();
    void closeConnection();
    bool unchanged() const;

    QString m_folder;
    QString m_name;
    std::vector<FieldDef> m_typedDefs;
    State m_state = State::Inactive;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_select = nullptr;
    sqlite3_stmt* m_update = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    std::deque<Field> m_fields;     // deque: Field& stays valid
    // A closed table keeps its connection, statements and checked field list
    // for the next open of the same file with the same schema: the handlers
    // close and reopen tables within one press.
    std::deque<Field> m_parkedFields;
    std::pair<unsigned long long, unsigned long long> m_fileId; // device, inode
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    QHash<QString, Field*> m_fieldIndex; // boxes look their field up on every change
    std::vector<Field::Value> m_saved; // the record as read or last stored: a post equal to it writes nothing
    std::optional<long long> m_rowid;
    std::vector<std::pair<int, Updater>> m_updaters;
    int m_nextUpdater = 1;
};

} // namespace tables
