#include "test_sakusei_fixture.h"

#include "platform/DataRoot.h"

#include <sqlite3.h>

namespace {

const char* const emptiedFeeFields[] = {
    "料金",      "初検料",    "初検時相談支援料",     "再検料",       "施療料1",    "施療料2",    "施療料3",
    "冷罨法料1", "冷罨法料2", "冷罨法料3",            "後療料1",      "後療料2",    "後療料3",    "温罨法料1",
    "温罨法料2", "温罨法料3", "電療料1",              "電療料2",      "電療料3",    "往療料",     "時間外加算",
    "深夜加算",  "休日加算",  "施術情報提供料",       "その他の保険加算料金", "保険料金合計", "一部負担金", "保険外料金",
    "窓口料金",  "負傷部位数", "年",                  "月",           "日",         "年月日",     "一部位目",
    "ニ部位目",  "三部位目",
};

const char* const guideText =
    "打撲挫傷捻挫の古い疾病順に1.2.3と番号がついています。施療料は　施療料1　施療料2　施療料3　後療料は　後療料1"
    "　後療料2　後療料3の順です。電療料、冷、温罨法料も同様です。往療料の数字はｋｍです。　往療料2-4ｋは片道2ｋｍ越え4"
    "ｋｍ越えない距離を示します。";

const int indicatorNumbers[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 31, 32, 33};

// Every field of both record tables filled, as after a finished visit.
void fillEverything(tables::Table* fee, tables::Table* extra)
{
    fee->open();
    fee->edit();
    for (const char* name : emptiedFeeFields)
        if (u8(name) != u8("年月日"))
            fee->fieldByName(u8(name)).setAsString(QStringLiteral("1"));
    fee->fieldByName(u8("年月日")).setAsDate(QDate(2024, 5, 1));
    for (const auto& [field, value] : {std::pair{"個人id", "42"}, {"カナ氏名", "ヤマダ"}, {"氏名", "山田"}, {"負担率", "３割"}})
        fee->fieldByName(u8(field)).setAsString(u8(value));
    fee->post();
    put(extra, {{"夜間暴風難路", "2000"}, {"金属副子", "1000"}});
}

class SakuseiWindowTest : public SakuseiTest {
protected:
    void expectFeeFieldsEmptyAndVisitKept()
    {
        const auto fee = stored(tables::schema::FeeTable);
        for (const char* name : emptiedFeeFields)
            EXPECT_EQ(fee.at(u8(name)), QStringLiteral("<empty>")) << name;
        EXPECT_EQ(storedExtra("夜間暴風難路"), QStringLiteral("<empty>"));
        EXPECT_EQ(storedExtra("金属副子"), QStringLiteral("<empty>"));
        for (const auto& [field, value] : {std::pair{"個人id", "42"}, {"カナ氏名", "ヤマダ"}, {"氏名", "山田"}, {"負担率", "３割"}})
            EXPECT_EQ(fee.at(u8(field)), u8(value)) << field;
        for (int n : indicatorNumbers)
            EXPECT_EQ(shape(n)->brushColor(), widgets::clWhite) << "Shape" << n;
        EXPECT_EQ(window->Table1->state(), tables::Table::State::Browse);
        EXPECT_EQ(window->Table3->state(), tables::Table::State::Browse);
    }
    QPlainTextEdit* memo() const { return control<QPlainTextEdit>(QStringLiteral("Memo1")); }
};

TEST_F(SakuseiWindowTest, StartUpOnEmptyTablesStoresOneEmptyRecordInEach)
{
    open();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    for (const char* name : {tables::schema::FeeTable, tables::schema::ExtraFeeTable}) {
        tables::Table table(dir.path(), u8(name));
        table.open();
        EXPECT_FALSE(table.isEmpty()) << name;
    }
    for (const char* name : emptiedFeeFields)
        EXPECT_EQ(storedFee(name), QStringLiteral("<empty>")) << name;
    for (int n : indicatorNumbers)
        EXPECT_EQ(shape(n)->brushColor(), widgets::clWhite) << "Shape" << n;
    EXPECT_EQ(memo()->toPlainText(), u8(guideText));
    EXPECT_EQ(edit1()->text(), QString());
    EXPECT_FALSE(window->Table2->isActive());
}

TEST_F(SakuseiWindowTest, StartUpEmptiesTheLastVisitAndKeepsPatientAndRate)
{
    {
        tables::Table fee(dir.path(), u8(tables::schema::FeeTable));
        tables::Table extra(dir.path(), u8(tables::schema::ExtraFeeTable));
        fillEverything(&fee, &extra);
    }
    open();
    EXPECT_TRUE(errors.isEmpty());
    expectFeeFieldsEmptyAndVisitKept();
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("EditDBEdit"))->text(), u8("山田"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("EditS2"))->text(), u8("３割"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("EditDBEdit3"))->text(), QString());
}

TEST_F(SakuseiWindowTest, FullResetEmptiesTheVisitAndDropsWhatWasNotPosted)
{
    open();
    fillEverything(window->Table1, window->Table3);
    for (int n : indicatorNumbers)
        shape(n)->setBrushColor(widgets::clLime);
    edit1()->setText(QStringLiteral("700"));
    memo()->setPlainText(QStringLiteral("note"));
    click(QStringLiteral("Button31"));
    type(QStringLiteral("EditDBEdit"), QStringLiteral("太郎"));
    type(QStringLiteral("DBEdit2"), QStringLiteral("5"));

    click(QStringLiteral("Button30"));

    EXPECT_TRUE(errors.isEmpty());
    expectFeeFieldsEmptyAndVisitKept();
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("EditDBEdit"))->text(), u8("山田"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("DBEdit2"))->text(), QString());
    EXPECT_EQ(edit1()->text(), QStringLiteral("700"));
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("note"));
}

TEST_F(SakuseiWindowTest, EndEditingStoresWhatWasTypedAndTheResetKeepsThePatient)
{
    open();
    click(QStringLiteral("Button31"));
    EXPECT_EQ(window->Table1->state(), tables::Table::State::Edit);
    type(QStringLiteral("EditDBEdit"), QStringLiteral("山田"));
    type(QStringLiteral("EditDBEdit3"), QStringLiteral("1550"));
    click(QStringLiteral("Button37"));
    EXPECT_EQ(window->Table1->state(), tables::Table::State::Browse);
    EXPECT_EQ(storedFee("氏名"), u8("山田"));
    EXPECT_EQ(storedFee("初検料"), QStringLiteral("1550"));

    click(QStringLiteral("Button30"));
    EXPECT_EQ(storedFee("氏名"), u8("山田"));
    EXPECT_EQ(storedFee("初検料"), QStringLiteral("<empty>"));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SakuseiWindowTest, FeeOutsideInsuranceResetWritesZeroNotEmpty)
{
    open();
    put(window->Table1, {{"保険外料金", "800"}, {"初検料", "1550"}});
    edit1()->setText(QStringLiteral("800"));
    click(QStringLiteral("Button40"));
    EXPECT_EQ(storedFee("保険外料金"), QStringLiteral("0"));
    EXPECT_EQ(storedFee("初検料"), QStringLiteral("1550"));
    EXPECT_EQ(edit1()->text(), QString());
    EXPECT_EQ(window->Table1->state(), tables::Table::State::Browse);
}

TEST_F(SakuseiWindowTest, HelpStartsTheGuideProgramOfTheDataRoot)
{
    qputenv("HARUNIRE_ROOT", dir.path().toLocal8Bit());
    open();
    click(QStringLiteral("Button38"));
    qunsetenv("HARUNIRE_ROOT");
    EXPECT_EQ(helpStarts, QStringList{dir.path() + QStringLiteral("/ayameguide")});
    EXPECT_TRUE(errors.isEmpty());
}

// What was typed into either record and not yet posted is stored on the way
// out, whether the window is closed by its frame or by "戻る".
TEST_F(SakuseiWindowTest, ClosingStoresBothRecords)
{
    struct Case {
        bool byBackButton;
        const char* name;
        const char* splint;
    };
    for (const Case& c : {Case{false, "佐藤", "1200"}, Case{true, "鈴木", "900"}}) {
        open();
        window->show();
        click(QStringLiteral("Button31"));
        type(QStringLiteral("EditDBEdit"), u8(c.name));
        type(QStringLiteral("DBEdit2"), u8(c.splint));
        if (c.byBackButton)
            click(QStringLiteral("Button35"));
        else
            EXPECT_TRUE(window->close());
        EXPECT_FALSE(window->isVisible());
        window.reset();
        EXPECT_EQ(storedFee("氏名"), u8(c.name));
        EXPECT_EQ(storedExtra("金属副子"), u8(c.splint));
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SakuseiWindowTest, ClosingWithTextTheFieldCannotTakeKeepsTheWindowOpen)
{
    open();
    window->show();
    type(QStringLiteral("EditDBEdit3"), QStringLiteral("abc"));
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QStringLiteral("abc"))) << errors.first().toStdString();
    // The box is back at the stored value, so the next attempt closes.
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("EditDBEdit3"))->text(), QString());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(SakuseiWindowTest, DisplayModesHideAndShowTheirControls)
{
    struct Case {
        std::optional<char> mode;
        QStringList hidden;
    };
    const QStringList c{"Button6",  "Button9",     "Button12",    "Button15", "Button3",      "Button2",
                        "Button1",  "Button5",     "Button32",    "EditDBEdit7", "EditDBEdit3", "EditDBEdit4",
                        "Editkx",   "EditDBEdit10", "EditDBEdit13", "EditDBEdit16", "Editd3"};
    const QStringList b{"Button6",     "Button9",      "Button12",     "Button15", "Button27",
                        "EditDBEdit7", "EditDBEdit10", "EditDBEdit13", "EditDBEdit16", "Editd3"};
    const Case cases[] = {{std::nullopt, {}}, {'a', {}}, {'b', b}, {'c', c}};
    for (const Case& k : cases) {
        open(k.mode);
        QStringList hidden;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->isHidden() && !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
                hidden << w->objectName();
        hidden.sort();
        QStringList expected = k.hidden;
        expected.sort();
        EXPECT_EQ(hidden, expected) << (k.mode ? *k.mode : '-');
    }
}

TEST_F(SakuseiWindowTest, InputMethodPerBox)
{
    open();
    for (const char* name : {"Edit1", "EditDBEdit3", "Editkx", "EditDBEdit8"})
        EXPECT_FALSE(control(u8(name))->testAttribute(Qt::WA_InputMethodEnabled)) << name;
    EXPECT_TRUE(control(QStringLiteral("EditDBEdit"))->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(control(QStringLiteral("EditJi"))->testAttribute(Qt::WA_InputMethodEnabled));
    click(QStringLiteral("Button31"));
    type(QStringLiteral("EditJi"), QStringLiteral("やまだ"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("EditJi"))->text(), u8("ヤマダ"));
}

// A database the window cannot use is reported at start-up; the window still
// opens with its designed memo text, and each button that needs the table
// reports it again.
TEST_F(SakuseiWindowTest, UnusableFeeTableIsReportedNamingTheCause)
{
    struct Case {
        const char* alteration; // SQL run on the database before start-up; null: no database at all
        const char* mentions;
    };
    const Case cases[] = {
        {nullptr, ""},
        {R"(ALTER TABLE "料金" DROP COLUMN "ニ部位目")", "ニ部位目"},
        {R"(ALTER TABLE "料金" RENAME COLUMN "ニ部位目" TO "二部位目")", "ニ部位目"},
        {R"(ALTER TABLE "料金" DROP COLUMN "負傷部位数"; ALTER TABLE "料金" ADD COLUMN "負傷部位数" VARCHAR(4))",
         "負傷部位数"},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        if (c.alteration) {
            ASSERT_TRUE(tools::createDatabase(folder.path()));
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open((folder.path() + QStringLiteral("/tables.sqlite3")).toUtf8().constData(), &db),
                      SQLITE_OK);
            EXPECT_EQ(sqlite3_exec(db, c.alteration, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
            sqlite3_close(db);
        }
        errors.clear();
        window = std::make_unique<TForm6>(folder.path() + (c.alteration ? "" : "/missing"));
        ASSERT_EQ(errors.size(), 1) << c.mentions;
        EXPECT_TRUE(errors.first().contains(u8(c.mentions))) << errors.first().toStdString();
        EXPECT_EQ(control<QPlainTextEdit>(QStringLiteral("Memo1"))->toPlainText(), QStringLiteral("Memo1"));
        for (const char* button : {"Button32", "Button30", "Button31", "Button40"}) {
            errors.clear();
            click(u8(button));
            ASSERT_EQ(errors.size(), 1) << button;
            EXPECT_TRUE(errors.first().contains(u8(c.mentions))) << button << errors.first().toStdString();
        }
        window.reset();
    }
}

} // namespace
