#pragma once
// The visit, treatment-kind and long-term buttons of the sprain/bruise window,
// pressed on a fresh database with the shipped sample prices.
#include "test_sakusei_fixture.h"

#include <QDir>
#include <QPlainTextEdit>
#include <array>
#include <sqlite3.h>
#include <set>
#include <string>
#include <vector>

// Readable failures: QString as text rather than as UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// The advisory notes, by button and check row.
inline const QString note4r1 = QString::fromUtf8("参考　再検料で施療料1はありえない。");
inline const QString note5r1 = QString::fromUtf8("参考　古い疾病順なので1部位目が施療料1+冷罨法料1なので２部位目は施療料2+冷罨法料2になる可能性があります。");
inline const QString note5r2 = QString::fromUtf8("参考　疾患2が施療料2ならそれより新しい疾患3が後療料3はおかしい。");
inline const QString note6r1 = QString::fromUtf8("参考　古い疾病順なので2部位目が施療料2+冷罨法料2なので3部位目は施療料3+冷罨法料3になる可能性があります。");
inline const QString note7r1 = QString::fromUtf8("再検料で施療料1はありえない。");
inline const QString note7r2 = QString::fromUtf8("参考　施療料1で冷1がある場合それより新しい疾患2の施療料2の場合冷2がないとおかしい。（発症順に入力）");
inline const QString note8r1 = QString::fromUtf8("参考　古い疾病順なので2部位目が施療料2+冷罨法料2なので3部位目は施療料3+冷罨法料3になる可能性があります。");
inline const QString note8r2 = QString::fromUtf8("参考　疾患2が施療料2ならそれより新しい疾患3が後療料3はおかしい。（発症順に入力）");
inline const QString note11r2 = QString::fromUtf8("参考　疾病1が施療料1であれば　それより新しい疾病2は後療料2であるはずがない。（発症順に入力）");
inline const QString note12r1 = QString::fromUtf8("参考　疾患2が施療料2の場合それより新しい疾患3で後療料3はありえない。（発症順に入力）");
inline const QString note12r2 = QString::fromUtf8("参考　疾患2が施療料2である場合それより新しい疾患3で後療料3はありえない。（発症順に入力）");
inline const QString note14r1 = QString::fromUtf8("参考　後療料1+温1+電1でない場合それより後の発症の疾病2が後療料2+温2+電2にはならない。");
inline const QString note14r2 = QString::fromUtf8("参考　疾患1が施療料1の場合　それより後の発症の疾病2は後療料2にはならない。");
inline const QString note15r1 = QString::fromUtf8("参考　後療料2+温2+電2でない場合　疾病3が後療料3+温3+電3にはならない。（発症順に入力）");
inline const QString note15r2 = QString::fromUtf8("参考　疾患2が施療料2の場合それより新しい疾患3は後療料3にならない。（発症順に入力）");
inline const QString note15r3 = QString::fromUtf8("参考　疾患1が温1+電1でないのにそれより新しい疾患3が温3＋電3はありえない。（発症順に入力）");
inline const QString note26r1 = QString::fromUtf8("後療料1+温1+電1でない場合　その後発症の疾病2には温2+電2はない。");
inline const QString note26r2 = QString::fromUtf8("疾患1が施療料1、疾病2が後療料2にならない。（発症順に入力）");
inline const QString note26r3 = QString::fromUtf8("後療料1が長期でない場合　疾病2が長期後療料2にならない。（発症順に入力）");
inline const QString note27r1 = QString::fromUtf8("後療料2+温2+電2でない場合　疾病3は後療料3+温3+電3にならない。（発症順）");
inline const QString note27r2 = QString::fromUtf8("疾患2が施療料2である場合　疾患3は後療料3にならない。（発症順）");
inline const QString note27r3 = QString::fromUtf8("疾患1が温1+電1でないの場合　疾患3は温3＋電3はありえない。（発症順）");
inline const QString note27r4 = QString::fromUtf8("後療料2が長期でない場合　疾病3は長期後療料3にならない。（発症順）");

// What each lime indicator stands for in the visit record at the sample
// prices. Long-term amounts are the price at the sample rate 0.75, to whole
// yen with halves up: 505 -> 379 (378.75), 75 -> 56 (56.25), 33 -> 25 (24.75),
// 303 -> 227 (227.25), 45 -> 34 (33.75), 20 -> 15.
inline const std::map<int, std::vector<std::pair<const char*, const char*>>> feesOf = {
    {1, {{"初検料", "1550"}}},
    {2, {{"初検料", "1550"}, {"初検時相談支援料", "100"}}},
    {3, {{"再検料", "410"}}},
    {4, {{"施療料1", "760"}}},
    {5, {{"施療料2", "760"}}},
    {6, {{"施療料3", "760"}}},
    {7, {{"施療料1", "760"}, {"冷罨法料1", "85"}}},
    {8, {{"施療料2", "760"}, {"冷罨法料2", "85"}}},
    {9, {{"施療料3", "760"}, {"冷罨法料3", "51"}}},
    {10, {{"後療料1", "505"}}},
    {11, {{"後療料2", "505"}}},
    {12, {{"後療料3", "303"}}},
    {13, {{"後療料1", "505"}, {"温罨法料1", "75"}, {"電療料1", "33"}}},
    {14, {{"後療料2", "505"}, {"温罨法料2", "75"}, {"電療料2", "33"}}},
    {15, {{"後療料3", "303"}, {"温罨法料3", "45"}, {"電療料3", "20"}}},
    {25, {{"後療料1", "379"}, {"温罨法料1", "56"}, {"電療料1", "25"}}},
    {26, {{"後療料2", "379"}, {"温罨法料2", "56"}, {"電療料2", "25"}}},
    {27, {{"後療料3", "227"}, {"温罨法料3", "34"}, {"電療料3", "15"}}},
};

inline const char* const visitAndSiteFields[] = {
    "初検料",    "初検時相談支援料", "再検料",   "施療料1",   "施療料2",   "施療料3",
    "冷罨法料1", "冷罨法料2",        "冷罨法料3", "後療料1",   "後療料2",   "後療料3",
    "温罨法料1", "温罨法料2",        "温罨法料3", "電療料1",   "電療料2",   "電療料3",
};
inline const char* const longTermMarks[] = {"一部位目", "ニ部位目", "三部位目"}; // katakana ニ

inline const int allIndicators[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                    17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 31, 32, 33};

inline const QString emptyField = QStringLiteral("<empty>");

class SakuseiFeeButtonTest : public SakuseiTest {
protected:
    void SetUp() override
    {
        SakuseiTest::SetUp();
        open();
        ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        guideText = memo();
    }

    void press(int button) const { click(QStringLiteral("Button%1").arg(button)); }
    void press(const std::vector<int>& buttons) const
    {
        for (int b : buttons)
            press(b);
    }
    QString memo() const { return control<QPlainTextEdit>(QStringLiteral("Memo1"))->toPlainText(); }

    std::set<int> limeIndicators() const
    {
        std::set<int> lime;
        for (int n : allIndicators)
            if (shape(n)->brushColor() == widgets::clLime)
                lime.insert(n);
        return lime;
    }

    // The stored visit and site fees are exactly those the lime indicators stand for.
    void expectFeesOf(const std::set<int>& lime) const
    {
        std::map<QString, QString> expected;
        for (const char* name : visitAndSiteFields)
            expected[u8(name)] = emptyField;
        for (int n : lime)
            if (const auto it = feesOf.find(n); it != feesOf.end())
                for (const auto& [field, value] : it->second)
                    expected[u8(field)] = u8(value);
        const auto fee = stored(tables::schema::FeeTable);
        for (const auto& [field, value] : expected)
            EXPECT_EQ(fee.at(field), value) << field.toStdString();
    }

    std::array<QString, 3> storedMarks() const
    {
        const auto fee = stored(tables::schema::FeeTable);
        return {fee.at(u8(longTermMarks[0])), fee.at(u8(longTermMarks[1])), fee.at(u8(longTermMarks[2]))};
    }
    static std::array<QString, 3> marks(std::array<bool, 3> set)
    {
        std::array<QString, 3> out;
        for (int i = 0; i < 3; ++i)
            out[i] = set[i] ? QStringLiteral("1") : emptyField;
        return out;
    }

    // Writes the price list's working record, as loading another list would.
    void setPrices(std::initializer_list<std::pair<const char*, const char*>> values) const
    {
        tables::Table base(dir.path(), u8(tables::schema::BaseFeeTable));
        put(&base, values);
    }

    // A price list lacking a price: a press that needs it reports the missing
    // field and changes nothing, neither indicators nor record nor memo.
    void expectPressChangesNothingWithout(const char* price, const std::vector<int>& before, int button)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QDir(dir.path()).filePath(QStringLiteral("tables.sqlite3")).toUtf8().constData(), &db),
                  SQLITE_OK);
        const QByteArray drop = QStringLiteral("ALTER TABLE \"%1\" DROP COLUMN \"%2\"")
                                    .arg(u8(tables::schema::BaseFeeTable), u8(price))
                                    .toUtf8();
        const int rc = sqlite3_exec(db, drop.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK);
        press(before);
        ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        const std::set<int> lime = limeIndicators();
        const auto fee = stored(tables::schema::FeeTable);
        const auto extra = stored(tables::schema::ExtraFeeTable);
        const QString memoBefore = memo();

        press(button);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors.front().contains(u8(price))) << errors.front().toStdString();
        EXPECT_EQ(limeIndicators(), lime);
        // Nothing half-written left pending for the next post to store.
        EXPECT_EQ(window->Table1->state(), tables::Table::State::Browse);
        EXPECT_EQ(stored(tables::schema::FeeTable), fee);
        EXPECT_EQ(stored(tables::schema::ExtraFeeTable), extra);
        EXPECT_EQ(memo(), memoBefore);
    }

    QString guideText; // the memo as start-up leaves it
};

// One press after an arrangement of earlier presses: which indicators end
// lime (the record must hold exactly their fees), the note the memo ends
// with (nullptr: the memo is left as it was) and the long-term marks.
struct PressCase {
    std::string name;
    std::vector<int> before;
    int press;
    std::set<int> limeAfter;
    const QString* note;
    std::array<bool, 3> marks{};
};

class SakuseiPressTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<PressCase> {
protected:
    void run(const PressCase& c)
    {
        press(c.before);
        ASSERT_EQ(memo(), guideText) << "the arrangement itself wrote a note";
        press(c.press);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        EXPECT_EQ(limeIndicators(), c.limeAfter);
        expectFeesOf(c.limeAfter);
        EXPECT_EQ(memo(), c.note ? *c.note : guideText);
        EXPECT_EQ(storedMarks(), marks(c.marks));
    }
};

inline void PrintTo(const PressCase& c, std::ostream* os)
{
    *os << c.name;
}

inline std::string buttonName(const ::testing::TestParamInfo<int>& info)
{
    return "Button" + std::to_string(info.param);
}

inline std::string pressCaseName(const ::testing::TestParamInfo<PressCase>& info)
{
    return info.param.name;
}
