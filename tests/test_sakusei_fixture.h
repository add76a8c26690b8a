#pragma once
// The sprain/bruise window on a fresh database in a temporary folder, with
// the error box, help launcher, clock and rate draw replaced by recorders.
#include "QtApp.h"
#include "sakusei.h"

#include "InitDb.h"
#include "platform/Clock.h"
#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "platform/RateDraw.h"
#include "tables/Schema.h"
#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/DataSource.h"
#include "widgets/DBEdit.h"
#include "widgets/Shape.h"

#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <utility>

inline QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

// Writes fields of a working record as a fee button would and posts them.
inline void put(tables::Table* table, std::initializer_list<std::pair<const char*, const char*>> values)
{
    table->open();
    table->edit();
    for (const auto& [field, text] : values)
        table->fieldByName(u8(field)).setAsString(u8(text));
    table->post();
}

class SakuseiTest : public ::testing::Test {
protected:
    static inline const QDate today{2024, 6, 3};

    void SetUp() override
    {
        qtApp();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(tools::createDatabase(dir.path()));
        platform::setErrorSink([this](QWidget*, const QString& message) { errors << message; });
        platform::setHelpLauncher([this](const QString& path) { helpStarts << path; });
        platform::setClock([] { return today; });
        platform::setDraw([this](int outcomes) {
            EXPECT_EQ(outcomes, 53);
            return nextDraw;
        });
    }

    void TearDown() override
    {
        window.reset();
        platform::setErrorSink({});
        platform::setHelpLauncher({});
        platform::setClock({});
        platform::setDraw({});
    }

    TForm6& open(std::optional<char> mode = std::nullopt)
    {
        window = std::make_unique<TForm6>(dir.path(), mode);
        return *window;
    }

    template <class W = QWidget>
    W* control(const QString& name) const
    {
        W* w = window->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& button) const { control<QPushButton>(button)->click(); }
    // Types over the whole text of a box, as the operator does.
    void type(const QString& box, const QString& text) const
    {
        QLineEdit* edit = control<QLineEdit>(box);
        edit->selectAll();
        // Key by key with the character as the key's text: QTest's own
        // keyClicks knows ASCII only.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    widgets::Shape* shape(int n) const { return control<widgets::Shape>(QStringLiteral("Shape%1").arg(n)); }
    QLineEdit* edit1() const { return control<QLineEdit>(QStringLiteral("Edit1")); }

    // The working record as stored in the file, read through a table of its own.
    std::map<QString, QString> stored(const char* tableName) const
    {
        tables::Table table(dir.path(), u8(tableName));
        table.open();
        std::map<QString, QString> record;
        for (const tables::Field& f : table.fields())
            record[f.name()] = f.isNull() ? QStringLiteral("<empty>") : f.asString();
        return record;
    }
    QString storedFee(const char* field) const { return stored(tables::schema::FeeTable).at(u8(field)); }
    QString storedExtra(const char* field) const { return stored(tables::schema::ExtraFeeTable).at(u8(field)); }

    QTemporaryDir dir;
    std::unique_ptr<TForm6> window;
    QStringList errors;
    QStringList helpStarts;
    int nextDraw = 31; // "３割"
};
