#pragma once
// Either program's window on a data folder, driven only as the operator
// drives it: its public constructor and tables, controls found by name,
// click() and key events. Error box, clock, rate draw and help launcher are
// replaced by recorders and fixed values.
#include "QtApp.h"
#include "RecordState.h"
#include "Unit1.h"
#include "sakusei.h"

#include "platform/Clock.h"
#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "platform/RateDraw.h"
#include "tables/Error.h"
#include "tables/Table.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

// What tells the two windows apart for these tests: buttons and boxes by name.
struct Program {
    const char* name;
    std::function<std::unique_ptr<QWidget>(const QString& folder)> open;
    std::function<std::vector<tables::Table*>(QWidget*)> records; // fee, then extra-fee
    const char* forceEdit;  // "強制編集"
    const char* endEdit;    // "編集終了": posts the fee record
    const char* reset;      // "リセット"
    const char* calculate;  // "計算"
    const char* nameBox;    // the data-aware box of "氏名"
    const char* outsideBox; // the plain box of the fee outside insurance
    const char* extraPost;  // a press that posts the extra-fee record
    std::vector<const char*> feeButtons; // one that writes the fee record, one the extra-fee record
};

inline const Program multisite{
    "multisite",
    [](const QString& folder) { return std::make_unique<TForm1>(folder); },
    [](QWidget* w) { return std::vector{static_cast<TForm1*>(w)->Table1, static_cast<TForm1*>(w)->Table2}; },
    "Button76", "Button77", "Button1", "Button73", "DBEdit3", "Edit6", "Button77",
    {"Button102", "Button68"}, // "初検料", "金属副子大"
};

inline const Program sprainentry{
    "sprainentry",
    [](const QString& folder) { return std::make_unique<TForm6>(folder); },
    [](QWidget* w) { return std::vector{static_cast<TForm6*>(w)->Table1, static_cast<TForm6*>(w)->Table3}; },
    "Button31", "Button37", "Button30", "Button32", "EditDBEdit", "Edit1", "Button32",
    {"Button1", "Button29"}, // "初検料", "金属副子大"
};

inline const Program* const bothPrograms[] = {&multisite, &sprainentry};

inline void PrintTo(const Program* p, std::ostream* os) { *os << p->name; }

// The working records of a data folder as stored, by table name; a record
// that cannot be read shows as its error.
inline std::map<QString, QString> storedRecords(const QString& folder)
{
    std::map<QString, QString> records;
    for (const char* name : {tables::schema::FeeTable, tables::schema::ExtraFeeTable}) {
        tables::Table table(folder, QString::fromUtf8(name));
        try {
            table.open();
            records[table.name()] = recordState(table);
        } catch (const tables::Error& e) {
            records[table.name()] = QStringLiteral("<error> ") + e.message();
        }
    }
    return records;
}

class WindowTest : public testing::Test {
protected:
    WindowTest()
    {
        qtApp();
        platform::setErrorSink([this](QWidget*, const QString& message) { errors << message; });
        platform::setHelpLauncher([](const QString&) {});
        platform::setClock([] { return QDate(2024, 6, 3); });
        platform::setDraw([](int) { return 0; });
    }
    ~WindowTest() override
    {
        window.reset();
        platform::setErrorSink({});
        platform::setHelpLauncher({});
        platform::setClock({});
        platform::setDraw({});
    }

    void start(const Program& p, const QString& folder)
    {
        program = &p;
        window.reset();
        window = p.open(folder);
        window->show();
        // A data-aware box hands over its text when the focus leaves it,
        // which needs an active window.
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    std::vector<tables::Table*> records() const { return program->records(window.get()); }

    template <class W = QWidget>
    W* control(const char* name) const
    {
        W* w = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void press(const char* button) const { control<QPushButton>(button)->click(); }

    // Types over the box's text key by key, each key carrying its character
    // (QTest::keyClicks knows Latin-1 only), or pastes it over with Ctrl+V.
    // With `leave` the box gets the focus first and loses it after, as when
    // the operator moves on; without, the text stays pending in the box.
    void enter(QLineEdit* box, const QString& text, bool paste, bool leave) const
    {
        if (leave)
            box->setFocus();
        box->selectAll();
        if (paste) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Delete);
        } else {
            for (qsizetype i = 0; i < text.size();) {
                const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
                i += n;
            }
        }
        if (leave)
            box->clearFocus();
        // An error on leaving is shown once the focus change is over.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    void type(QLineEdit* box, const QString& text, bool leave = true) const { enter(box, text, false, leave); }
    void type(const char* box, const QString& text, bool leave = true) const
    {
        type(control<QLineEdit>(box), text, leave);
    }

    QStringList errors;
    const Program* program = nullptr;
    std::unique_ptr<QWidget> window;
};
