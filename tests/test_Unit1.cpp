#include "QtApp.h"
#include "TempDatabase.h"
#include "Unit1.h"

#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"
#include "widgets/Shape.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <set>

using tables::Table;

static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// What the operator keeps from visit to visit: the patient, the last drawn
// rate, and the long-term marks that only the other program writes.
const std::set<QString> keptByResets = {u("個人id"), u("カナ氏名"), u("氏名"), u("負担率"),
                                        u("一部位目"), u("ニ部位目"), u("三部位目")};

// A value every field of the fee table can take, as it reads back.
QString sampleFor(const tables::FieldDef& def)
{
    switch (def.type) {
    case tables::FieldType::Currency: return u("1234");
    case tables::FieldType::Float: return u("4321");
    case tables::FieldType::SmallInt: return u("3");
    case tables::FieldType::Date: return u("2024/05/06");
    case tables::FieldType::Text: return def.size == 4 ? u("３割") : u("山田");
    }
    return {};
}

using Record = std::map<QString, QString>;

class Unit1Test : public testing::Test {
protected:
    Unit1Test()
    {
        qtApp();
        previousSink = platform::setErrorSink([this](QWidget*, const QString& m) { errors << m; });
    }
    ~Unit1Test() override { platform::setErrorSink(previousSink); }

    void start() { start(db.folder()); }
    void start(const QString& folder)
    {
        form = std::make_unique<TForm1>(folder);
        form->show();
    }

    template <class T = QWidget>
    T* control(const QString& name)
    {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void press(const char* button) { control<QPushButton>(QString::fromLatin1(button))->click(); }
    QLineEdit* box(const QString& name) { return control<QLineEdit>(name); }
    QLineEdit* box(const char* name) { return box(QString::fromLatin1(name)); }
    QLineEdit* siteBox(int n) { return box(QStringLiteral("Edit%1").arg(n)); }
    widgets::Shape* shape(int n) { return control<widgets::Shape>(QStringLiteral("Shape%1").arg(n)); }

    // Typing over a box's text as the operator does it: keys for Latin text,
    // a commit of the input method for Japanese.
    void type(const char* name, const QString& latin, const QString& japanese = {})
    {
        QLineEdit* target = box(name);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, latin);
        if (!japanese.isEmpty()) {
            QInputMethodEvent commit;
            commit.setCommitString(japanese);
            QCoreApplication::sendEvent(target, &commit);
        }
    }

    // The working record as stored on disk, read through a table of its own.
    Record stored(const char* tableName)
    {
        Table table(db.folder(), u(tableName));
        table.open();
        Record record;
        for (const tables::Field& f : table.fields())
            record[f.name()] = f.asString();
        return record;
    }

    // Every field of both working records holds a value, stored.
    void fillRecords()
    {
        form->Table1->edit();
        for (const tables::FieldDef& def : tables::schema::feeFields())
            form->Table1->fieldByName(def.qname()).setAsString(sampleFor(def));
        form->Table2->edit();
        for (const tables::FieldDef& def : tables::schema::extraFeeFields())
            form->Table2->fieldByName(def.qname()).setAsString(u("1234"));
        form->Table1->post();
        form->Table2->post();
    }

    void paintIndicators(const QColor& colour)
    {
        for (int n = 1; n <= 28; ++n)
            shape(n)->setBrushColor(colour);
    }

    void fillBoxes()
    {
        for (int n = 1; n <= 6; ++n)
            siteBox(n)->setText(QString::number(n * 100));
    }

    // Every fee, total and date field empty; patient, rate and marks kept.
    void expectVisitEmptied()
    {
        for (const tables::FieldDef& def : tables::schema::feeFields()) {
            const QString name = def.qname();
            EXPECT_EQ(stored(tables::schema::FeeTable)[name], keptByResets.count(name) ? sampleFor(def) : QString())
                << name.toStdString();
        }
        for (const auto& [name, value] : stored(tables::schema::ExtraFeeTable))
            EXPECT_EQ(value, QString()) << name.toStdString();
    }

    bool editing(const Table* t) const { return t->state() == Table::State::Edit; }

    TempDatabase db;
    QStringList errors;
    platform::ErrorSink previousSink;
    std::unique_ptr<TForm1> form;
};

TEST_F(Unit1Test, StartUpOnEmptyTablesStoresOneEmptyRecordInEach)
{
    start();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "1");
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金2\"")), "1");
    for (const char* table : {tables::schema::FeeTable, tables::schema::ExtraFeeTable}) {
        const Record record = stored(table);
        EXPECT_FALSE(record.empty());
        for (const auto& [name, value] : record)
            EXPECT_EQ(db.stored(name.toUtf8().constData(), table), "null:") << name.toStdString();
    }
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"捻挫打撲基料金\"")), "1");
    for (const Table* t : {form->Table1, form->Table2, form->Table3})
        EXPECT_EQ(t->state(), Table::State::Browse);
}

TEST_F(Unit1Test, StartUpEmptiesTheLastVisitAndKeepsThePatientAndRate)
{
    start();
    fillRecords();
    form.reset();
    start();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    expectVisitEmptied();
    EXPECT_EQ(box("DBEdit3")->text(), u("山田"));
    EXPECT_EQ(box("DBEdit4")->text(), QString());
}

TEST_F(Unit1Test, FullResetEmptiesFieldsBoxesAndIndicatorsButKeepsEdit6)
{
    start();
    fillRecords();
    paintIndicators(widgets::clLime);
    fillBoxes();
    press("Button1");
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    expectVisitEmptied();
    for (int n = 1; n <= 28; ++n)
        EXPECT_EQ(shape(n)->brushColor(), widgets::clWhite) << n;
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
        EXPECT_EQ(box(name)->text(), QString()) << name;
    EXPECT_EQ(box("Edit6")->text(), u("600"));
    EXPECT_EQ(box("DBEdit26")->text(), QString());
    EXPECT_EQ(box("DBEdit17")->text(), u("３割"));
    EXPECT_FALSE(editing(form->Table1) || editing(form->Table2));
}

struct SiteResetCase {
    const char* button;
    int site;
    std::set<int> whitened;
    std::set<QString> emptied;
};

void PrintTo(const SiteResetCase& c, std::ostream* os) { *os << c.button; }

class Unit1SiteResetTest : public Unit1Test, public testing::WithParamInterface<SiteResetCase> {};

// Each site reset withdraws its own site's fees and nothing else. Sites 4
// and 5 live only in their box, so their reset must not even post the
// record, which the operator may be editing.
TEST_P(Unit1SiteResetTest, EmptiesItsSiteOnly)
{
    const SiteResetCase& c = GetParam();
    start();
    fillRecords();
    paintIndicators(widgets::clLime);
    fillBoxes();
    press("Button76");
    type("DBEdit3", u("Sato"));

    press(c.button);

    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    for (int n = 1; n <= 28; ++n)
        EXPECT_EQ(shape(n)->brushColor(), c.whitened.count(n) ? widgets::clWhite : widgets::clLime) << n;
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(siteBox(n)->text(),
                  n == c.site ? QString() : QString::number(n * 100))
            << n;
    const Record fee = stored(tables::schema::FeeTable);
    for (const tables::FieldDef& def : tables::schema::feeFields()) {
        if (def.qname() == u("氏名"))
            continue;
        EXPECT_EQ(fee.at(def.qname()), c.emptied.count(def.qname()) ? QString() : sampleFor(def)) << def.name;
    }
    const bool touchesRecord = c.site <= 3;
    EXPECT_EQ(fee.at(u("氏名")), touchesRecord ? u("Sato") : u("山田"));
    EXPECT_EQ(editing(form->Table1), !touchesRecord);
    EXPECT_EQ(stored(tables::schema::ExtraFeeTable).at(u("金属副子")), u("1234"));
}

INSTANTIATE_TEST_SUITE_P(
    Sites, Unit1SiteResetTest,
    testing::Values(SiteResetCase{"Button105", 1, {26, 1, 4, 7}, {u("後療料1"), u("温罨法料1"), u("電療料1"), u("冷罨法料1")}},
                    SiteResetCase{"Button106", 2, {27, 2, 5, 8}, {u("後療料2"), u("温罨法料2"), u("電療料2"), u("冷罨法料2")}},
                    SiteResetCase{"Button107", 3, {28, 3, 6, 9}, {u("後療料3"), u("温罨法料3"), u("電療料3"), u("冷罨法料3")}},
                    SiteResetCase{"Button108", 4, {}, {}},
                    SiteResetCase{"Button109", 5, {}, {}}),
    [](const testing::TestParamInfo<SiteResetCase>& info) { return std::string(info.param.button); });

TEST_F(Unit1Test, ForceEditThenTypingThenEndEditStoresWhatWasTyped)
{
    start();
    press("Button76");
    EXPECT_TRUE(editing(form->Table1));
    EXPECT_TRUE(editing(form->Table2));
    type("DBEdit3", u("Yamada"), u("太郎"));
    type("DBEdit24", u("120"));
    EXPECT_EQ(stored(tables::schema::FeeTable).at(u("氏名")), QString()) << "nothing stored before 編集終了";

    press("Button77");

    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(stored(tables::schema::FeeTable).at(u("氏名")), u("Yamada太郎"));
    EXPECT_EQ(stored(tables::schema::ExtraFeeTable).at(u("金属副子")), u("120"));
    EXPECT_EQ(box("DBEdit3")->text(), u("Yamada太郎"));
    EXPECT_FALSE(editing(form->Table1) || editing(form->Table2));
}

TEST_F(Unit1Test, ClosingTheWindowOrPressingBackStoresBothRecords)
{
    for (bool byButton : {false, true}) {
        SCOPED_TRACE(byButton ? "戻る" : "window frame");
        start();
        type("DBEdit3", byButton ? u("Kato") : u("Ito"));
        type("DBEdit25", u("300"));
        if (byButton)
            press("Button75");
        else
            EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(stored(tables::schema::FeeTable).at(u("氏名")), byButton ? u("Kato") : u("Ito"));
        EXPECT_EQ(stored(tables::schema::ExtraFeeTable).at(u("夜間暴風難路")), u("300"));
        form.reset();
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(Unit1Test, AFailedCloseKeepsTheWindowOpenAndReportsAgainAtEachAttempt)
{
    start();
    type("DBEdit3", u("Sato"));
    type("DBEdit25", u("300"));
    db.sql(u("ALTER TABLE \"料金2\" RENAME TO \"held\""));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        EXPECT_FALSE(form->close());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(errors.size(), attempt);
    }
    EXPECT_EQ(stored(tables::schema::FeeTable).at(u("氏名")), u("Sato")) << "posted before the failure";

    db.sql(u("ALTER TABLE \"held\" RENAME TO \"料金2\""));
    EXPECT_TRUE(form->close());
    EXPECT_EQ(stored(tables::schema::ExtraFeeTable).at(u("夜間暴風難路")), u("300"));
    EXPECT_EQ(errors.size(), 2);
}

// A database the window cannot work with is reported, and the window opens
// all the same. Closing it then reports again, but only keeps the window open
// when something the operator entered would be lost.
struct BrokenDatabaseCase {
    const char* what;
    const char* arrange; // SQL; empty: the data folder is missing
    int reportsAfterClose;
};

TEST_F(Unit1Test, ABrokenDatabaseIsReportedAndTheWindowStillOpensAndCloses)
{
    const BrokenDatabaseCase cases[] = {
        {"missing folder", "", 2},
        {"missing extra-fee table", "DROP TABLE \"料金2\"", 2},
        {"missing fee field", "ALTER TABLE \"料金\" DROP COLUMN \"料金\"", 1},
    };
    for (const BrokenDatabaseCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDatabase broken;
        errors.clear();
        if (*c.arrange)
            broken.sql(u(c.arrange));
        start(*c.arrange ? broken.folder() : broken.root() + u("/nowhere"));
        EXPECT_EQ(errors.size(), 1);
        EXPECT_TRUE(control<QPushButton>(u("Button1"))->isVisible());
        EXPECT_TRUE(form->close());
        EXPECT_EQ(errors.size(), c.reportsAfterClose);
        form.reset();
    }
}

TEST_F(Unit1Test, AnErrorStopsTheHandlerAtThatStep)
{
    db.sql(u("ALTER TABLE \"料金\" DROP COLUMN \"冷罨法料1\""));
    start();
    ASSERT_EQ(errors.size(), 1) << "the start-up reset needs the field too";
    fillBoxes();
    paintIndicators(widgets::clLime);

    press("Button105");

    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(shape(26)->brushColor(), widgets::clWhite) << "before the failing step";
    EXPECT_EQ(shape(7)->brushColor(), widgets::clWhite);
    EXPECT_EQ(box("Edit1")->text(), u("100")) << "after the failing step";
}

TEST_F(Unit1Test, InsuranceFreeFeeButtonEmptiesEdit6AndTouchesNoTable)
{
    start();
    fillBoxes();
    type("DBEdit3", u("Sato"));
    press("Button74");
    EXPECT_EQ(box("Edit6")->text(), QString());
    EXPECT_EQ(box("Edit1")->text(), u("100"));
    EXPECT_TRUE(editing(form->Table1));
    EXPECT_EQ(stored(tables::schema::FeeTable).at(u("氏名")), QString());
}

class Unit1HelpTest : public Unit1Test {
protected:
    Unit1HelpTest() : previousRoot(qgetenv("HARUNIRE_ROOT")) { qputenv("HARUNIRE_ROOT", db.root().toLocal8Bit()); }
    ~Unit1HelpTest() override { qputenv("HARUNIRE_ROOT", previousRoot); }
    QByteArray previousRoot;
};

TEST_F(Unit1HelpTest, HelpStartsKikyoguideFromTheDataRootWithoutArguments)
{
    const QString program = db.root() + u("/kikyoguide");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$#\" > \"$0.ran\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    start();

    press("Button110");

    QFile ran(program + u(".ran"));
    for (int waited = 0; !ran.exists() && waited < 5000; waited += 50)
        QTest::qWait(50);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), "0");
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(Unit1HelpTest, HelpWithTheProgramMissingShowsNothing)
{
    start();
    const auto visibleWindows = [] {
        int n = 0;
        for (const QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible();
        return n;
    };
    const int before = visibleWindows();
    press("Button110");
    QTest::qWait(200);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(visibleWindows(), before);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(Unit1Test, WithTwoRecordsOnlyTheFirstIsTouched)
{
    db.sql(u("INSERT INTO \"料金\" (rowid, \"氏名\", \"初検料\", \"保険料金合計\") VALUES "
             "(1, 'first', 15500000, 20000000), (2, 'second', 15500000, 30000000)"));
    db.sql(u("INSERT INTO \"料金2\" (rowid, \"金属副子\") VALUES (1, 10000000), (2, 20000000)"));
    const QString second = u("SELECT quote(\"氏名\") || quote(\"初検料\") || quote(\"保険料金合計\") FROM \"料金\" WHERE rowid = 2");
    const QString secondExtra = u("SELECT quote(\"金属副子\") FROM \"料金2\" WHERE rowid = 2");
    const QString before = db.value(second);
    const QString beforeExtra = db.value(secondExtra);

    start();
    type("DBEdit3", u("Sato"));
    press("Button77");
    press("Button105");
    EXPECT_TRUE(form->close());

    EXPECT_EQ(db.value(second), before);
    EXPECT_EQ(db.value(secondExtra), beforeExtra);
    EXPECT_EQ(db.value(u("SELECT quote(\"氏名\") || quote(\"初検料\") FROM \"料金\" WHERE rowid = 1")), u("'Sato'NULL"));
    EXPECT_EQ(db.value(u("SELECT quote(\"金属副子\") FROM \"料金2\" WHERE rowid = 1")), u("NULL"));
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "2");
}

} // namespace
