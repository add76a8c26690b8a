#pragma once
// The multi-site window on a fresh database in a temporary folder, with the
// error box replaced by a recorder, driven the way the operator drives it.
#include "QtApp.h"
#include "TempDatabase.h"
#include "Unit1.h"

#include "platform/ErrorBox.h"
#include "tables/Table.h"
#include "widgets/Shape.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <ostream>

inline QString u8(const char* text) { return QString::fromUtf8(text); }
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

class Unit1Fixture : public testing::Test {
protected:
    using Record = std::map<QString, QString>;

    Unit1Fixture()
    {
        qtApp();
        previousSink = platform::setErrorSink([this](QWidget*, const QString& message) { errors << message; });
    }
    ~Unit1Fixture() override
    {
        form.reset();
        platform::setErrorSink(previousSink);
    }

    void start()
    {
        form = std::make_unique<TForm1>(db.folder());
        form->show();
        // Typed text reaches a data-aware box's field when the box loses the
        // focus, which needs an active window.
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <class W = QWidget>
    W* control(const QString& name) const
    {
        W* widget = form->findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    void press(const QString& button) { control<QPushButton>(button)->click(); }
    void press(const char* button) { press(QString::fromLatin1(button)); }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(QString::fromLatin1(name)); }
    QLineEdit* siteBox(int site) const { return control<QLineEdit>(QStringLiteral("Edit%1").arg(site)); }
    widgets::Shape* shape(int number) const { return control<widgets::Shape>(QStringLiteral("Shape%1").arg(number)); }

    // Types over a box's text and leaves it, as the operator moves on: keys
    // for ASCII, a commit of the input method for full-width text.
    void type(QLineEdit* target, const QString& text)
    {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(target, Qt::Key_Delete);
        } else if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            QTest::keyClicks(target, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(target, &commit);
        }
        target->clearFocus();
    }
    void type(const char* name, const char* text) { type(box(name), u8(text)); }

    // A working record as stored on disk, read through a table of its own.
    Record stored(const char* tableName = tables::schema::FeeTable) const
    {
        tables::Table table(db.folder(), u8(tableName));
        table.open();
        Record record;
        for (const tables::Field& field : table.fields())
            record[field.name()] = field.asString();
        return record;
    }
    QString stored(const char* field, const char* tableName) const { return stored(tableName).at(u8(field)); }

    bool editing(const tables::Table* table) const
    {
        return table->state() == tables::Table::State::Edit || table->state() == tables::Table::State::Insert;
    }

    QString errorText() const { return errors.join(u'\n'); }

    TempDatabase db;
    std::unique_ptr<TForm1> form;
    QStringList errors;

private:
    platform::ErrorSink previousSink;
};
