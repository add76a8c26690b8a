#pragma once
#include "InitDb.h"
#include "Schema.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

// A fresh data folder with the three tables, as harunire-initdb makes it,
// plus raw SQL access for arranging and inspecting what is stored.
class TempDatabase {
public:
    TempDatabase() { EXPECT_TRUE(tools::createDatabase(folder())); }
    QString folder() const { return m_dir.filePath(QStringLiteral("sa")); }
    QString file() const { return QDir(folder()).filePath(QStringLiteral("tables.sqlite3")); }
    QString root() const { return m_dir.path(); }

    void sql(const QString& statement) const { sqlAt(folder(), statement); }

    // The same against the database of another data folder.
    static void sqlAt(const QString& folder, const QString& statement)
    {
        sqlite3* db = nullptr;
        const QString file = QDir(folder).filePath(QStringLiteral("tables.sqlite3"));
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        char* err = nullptr;
        const int rc = sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << " in " << statement.toStdString();
        sqlite3_free(err);
        sqlite3_close(db);
    }

    // The first value of a query, as text; "NULL" for a null.
    QString value(const QString& query) const
    {
        sqlite3* db = nullptr;
        sqlite3_open(file().toUtf8().constData(), &db);
        sqlite3_stmt* st = nullptr;
        QString out = QStringLiteral("<no row>");
        if (sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            out = QStringLiteral("<error: %1>").arg(QString::fromUtf8(sqlite3_errmsg(db)));
        else if (sqlite3_step(st) == SQLITE_ROW)
            out = sqlite3_column_type(st, 0) == SQLITE_NULL
                      ? QStringLiteral("NULL")
                      : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }

    // A fee-table field of the working record as stored, with its storage class.
    QString stored(const char* field, const char* table = tables::schema::FeeTable) const
    {
        return value(QStringLiteral("SELECT typeof(\"%1\") || ':' || ifnull(\"%1\", '') FROM \"%2\" ORDER BY rowid LIMIT 1")
                         .arg(QString::fromUtf8(field), QString::fromUtf8(table)));
    }

private:
    QTemporaryDir m_dir;
};
