#include "QtApp.h"
#include "TempDatabase.h"

#include "platform/ErrorBox.h"
#include "tables/Error.h"
#include "tables/Table.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using tables::Table;
using widgets::DBEdit;
using widgets::Ime;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Types text key by key, as a keyboard or an input method delivers it
// (QTest::keyClicks only carries Latin-1).
void type(QWidget* box, const QString& text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A window with data-aware boxes on the fee table of a fresh database.
class DBEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousSink = platform::setErrorSink([this](QWidget*, const QString& m) { errors << m; });
        fee.open();
        other = new QLineEdit(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override { platform::setErrorSink(previousSink); }

    DBEdit* box(const char* field, Ime ime = Ime::Unchanged)
    {
        auto* b = new DBEdit(&window);
        b->setDataField(u(field));
        b->setIme(ime);
        b->setDataSource(&source);
        b->show();
        return b;
    }
    // What a handler does: edit, write, post.
    void store(const char* field, const QString& text)
    {
        fee.edit();
        fee.fieldByName(u(field)).setAsString(text);
        fee.post();
    }
    QString inRecord(const char* field) { return fee.fieldByName(u(field)).asString(); }
    // What the next program to open the table reads.
    QString stored(const char* field)
    {
        Table reader(db.folder(), u(tables::schema::FeeTable));
        reader.open();
        return reader.fieldByName(u(field)).asString();
    }
    // Replaces the box's text the way the operator does: focus, select all, type, leave.
    void retype(DBEdit* b, const QString& text)
    {
        b->setFocus();
        b->selectAll();
        type(b, text);
        other->setFocus();
        QCoreApplication::processEvents();
    }

    QApplication& app = qtApp();
    TempDatabase db;
    Table fee{db.folder(), u(tables::schema::FeeTable)};
    widgets::DataSource source{&fee};
    QWidget window;
    QLineEdit* other = nullptr;
    QStringList errors;
    platform::ErrorSink previousSink;
};

TEST_F(DBEditTest, ShowsTheFieldAsTextAndFollowsOpenAndClose)
{
    const struct {
        const char* field;
        const char* written;
        const char* shown;
    } cases[] = {
        {"料金", "1234.50", "1234.5"},
        {"保険外料金", "", ""},
        {"年月日", "2024-03-05", "2024/03/05"},
        {"氏名", "山田　太郎", "山田　太郎"},
        {"負傷部位数", "3", "3"},
        {"個人id", "1024", "1024"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        DBEdit* b = box(c.field);
        store(c.field, u(c.written));
        EXPECT_EQ(b->text(), u(c.shown));
        fee.close();
        EXPECT_EQ(b->text(), QString());
        fee.open();
        EXPECT_EQ(b->text(), u(c.shown));
        EXPECT_EQ(box(c.field)->text(), u(c.shown)) << "a box bound later shows the field at once";
    }
}

TEST_F(DBEditTest, TypingStartsTheRecordAndThePostStoresIt)
{
    DBEdit* b = box("保険外料金");
    ASSERT_TRUE(fee.isEmpty());
    type(b, "500");
    EXPECT_EQ(fee.state(), Table::State::Insert);
    EXPECT_TRUE(b->hasPendingText());
    EXPECT_EQ(inRecord("保険外料金"), QString()) << "handed over at the post, not per key";

    fee.post();
    EXPECT_EQ(stored("保険外料金"), "500");
    EXPECT_EQ(fee.state(), Table::State::Browse);
    EXPECT_FALSE(b->hasPendingText());
}

TEST_F(DBEditTest, TypedTextSurvivesWritesToOtherFieldsButNotToItsOwn)
{
    store("保険外料金", "100");
    DBEdit* typed = box("保険外料金");
    DBEdit* overwritten = box("氏名");
    typed->selectAll();
    type(typed, "500");
    type(overwritten, "佐藤");

    fee.fieldByName(u("料金")).setAsString("7");
    fee.fieldByName(u("氏名")).setAsString(u("鈴木"));
    EXPECT_EQ(typed->text(), "500");
    EXPECT_EQ(overwritten->text(), u("鈴木")) << "the handler's write is what the record holds";

    fee.post();
    EXPECT_EQ(stored("保険外料金"), "500");
    EXPECT_EQ(stored("料金"), "7");
    EXPECT_EQ(stored("氏名"), u("鈴木"));
}

TEST_F(DBEditTest, LeavingTheBoxPutsTheTextIntoTheRecordWithoutPosting)
{
    store("保険外料金", "100");
    DBEdit* b = box("保険外料金");
    retype(b, "0700");
    EXPECT_EQ(inRecord("保険外料金"), "700");
    EXPECT_EQ(b->text(), "700") << "the box shows the value as the field holds it";
    EXPECT_EQ(fee.state(), Table::State::Edit);
    EXPECT_EQ(stored("保険外料金"), "100");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(DBEditTest, ClosingTheTableDropsTypedTextAndAClosedTableTakesNone)
{
    store("保険外料金", "100");
    DBEdit* b = box("保険外料金");
    type(b, "5");
    fee.close();
    EXPECT_EQ(b->text(), QString());
    EXPECT_FALSE(b->hasPendingText());

    type(b, "9");
    EXPECT_EQ(b->text(), QString());
    EXPECT_FALSE(fee.isActive());

    fee.open();
    EXPECT_EQ(b->text(), "100");
    EXPECT_EQ(stored("保険外料金"), "100");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(DBEditTest, TextTheFieldCannotTakeIsReportedOnLeavingAndTheBoxShowsTheField)
{
    const struct {
        const char* field;
        const char* before;
        const char* typed;
    } cases[] = {
        {"料金", "1234", "12a"},
        {"保険外料金", "", "１２"},
        {"負傷部位数", "3", "40000"},
        {"年月日", "2024-03-05", "2024/13/01"},
        {"個人id", "7", "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        errors.clear();
        store(c.field, u(c.before));
        const QString shown = inRecord(c.field);
        DBEdit* b = box(c.field);
        retype(b, u(c.typed));
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors.first().contains(u(c.typed))) << errors.first().toStdString();
        EXPECT_EQ(b->text(), shown);
        EXPECT_EQ(inRecord(c.field), shown);
        fee.post();
        EXPECT_EQ(stored(c.field), shown);
    }
}

TEST_F(DBEditTest, TextTheFieldCannotTakeStopsThePostAndNothingIsStored)
{
    store("料金", "1234");
    DBEdit* bad = box("料金");
    DBEdit* good = box("保険外料金");
    type(good, "500");
    bad->selectAll();
    type(bad, "1x");

    EXPECT_THROW(fee.post(), tables::ConversionError);
    EXPECT_EQ(bad->text(), "1234");
    EXPECT_EQ(stored("料金"), "1234");
    EXPECT_EQ(stored("保険外料金"), QString());
    EXPECT_EQ(fee.state(), Table::State::Edit);

    EXPECT_NO_THROW(fee.post());
    EXPECT_EQ(stored("保険外料金"), "500") << "what was handed over is stored by the next post";
}

TEST_F(DBEditTest, TextBoxesTakeOnlyWhatTheirShiftJisFieldHolds)
{
    const struct {
        const char* field;
        Ime ime;
        QString typed;
        QString shown;
    } cases[] = {
        {"負担率", Ime::Unchanged, "100%5", "100%"},
        {"負担率", Ime::Unchanged, u("３割5"), u("３割")},
        {"氏名", Ime::Kanji, QString(31, u'a'), QString(30, u'a')},
        {"氏名", Ime::Kanji, QString(16, u'山'), QString(15, u'山')},
        {"氏名", Ime::Kanji, u("山田한太郎"), u("山田太郎")},
        {"氏名", Ime::Kanji, u("〜−"), u("～－")},
        {"カナ氏名", Ime::Katakana, u("やまだ　ゆうこ"), u("ヤマダ　ユウコ")},
        {"カナ氏名", Ime::Katakana, u("ささゝき"), u("ササヽキ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        DBEdit* b = box(c.field, c.ime);
        b->selectAll();
        type(b, c.typed);
        EXPECT_EQ(b->text(), c.shown);
        fee.post();
        EXPECT_EQ(stored(c.field), c.shown);
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(DBEditTest, AStoredValueIsShownAsItIsEvenInAKatakanaBox)
{
    store("カナ氏名", u("やまだ"));
    DBEdit* b = box("カナ氏名", Ime::Katakana);
    EXPECT_EQ(b->text(), u("やまだ"));
    EXPECT_FALSE(b->hasPendingText());
}

TEST_F(DBEditTest, ImeSettingFromTheFormFile)
{
    const struct {
        const char* name;
        Ime ime;
        bool inputMethod;
        Qt::InputMethodHints hints;
    } cases[] = {
        {"off", Ime::Off, false, Qt::ImhLatinOnly},
        {"katakana", Ime::Katakana, true, Qt::ImhNone},
        {"kanji", Ime::Kanji, true, Qt::ImhNone},
        {"", Ime::Unchanged, true, Qt::ImhNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DBEdit b;
        ASSERT_TRUE(b.setProperty("ime", u(c.name)));
        EXPECT_EQ(b.ime(), c.ime);
        EXPECT_EQ(b.property("ime").toString(), u(c.name));
        EXPECT_EQ(b.testAttribute(Qt::WA_InputMethodEnabled), c.inputMethod);
        EXPECT_EQ(b.inputMethodHints(), c.hints);
    }
}

TEST_F(DBEditTest, BoxesAreBoundByTheNamesTheFormGivesThem)
{
    Table extra{db.folder(), u(tables::schema::ExtraFeeTable)};
    extra.open();
    widgets::DataSource extraSource{&extra};
    QWidget form;
    const struct {
        const char* source;
        const char* field;
    } boxes[] = {{"DataSource1", "氏名"}, {"DataSource3", "金属副子"}};
    for (const auto& b : boxes) {
        auto* edit = new DBEdit(&form);
        edit->setProperty("dataSourceName", u(b.source));
        edit->setProperty("dataField", u(b.field));
    }
    store("氏名", u("山田"));
    extra.edit();
    extra.fieldByName(u("金属副子")).setAsString("1000");
    extra.post();

    widgets::bindDataAwareBoxes(&form, {{"DataSource1", &source}, {"DataSource3", &extraSource}});
    const auto edits = form.findChildren<DBEdit*>();
    ASSERT_EQ(edits.size(), 2);
    EXPECT_EQ(edits[0]->dataSource(), &source);
    EXPECT_EQ(edits[0]->text(), u("山田"));
    EXPECT_EQ(edits[1]->dataSource(), &extraSource);
    EXPECT_EQ(edits[1]->text(), "1000");
}

} // namespace
