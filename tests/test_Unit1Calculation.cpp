#include "Unit1Fixture.h"

#include "platform/Clock.h"
#include "platform/RateDraw.h"

#include <QDate>
#include <array>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<const char*, const char*>>; // box name, typed text

// Which rate each of the 44 outcomes of the draw forces.
struct DrawRange {
    int first, last;
    const char* rate;
};
constexpr DrawRange drawRanges[] = {
    {0, 29, "２割"}, {30, 30, "３割"}, {31, 31, "１割"}, {32, 41, "０割"}, {42, 43, "100%"},
};

QString rateOf(int draw)
{
    for (const DrawRange& range : drawRanges)
        if (draw >= range.first && draw <= range.last)
            return u8(range.rate);
    return {};
}

class Unit1CalculationTest : public Unit1Fixture {
protected:
    static inline const QDate today{2024, 6, 3};

    Unit1CalculationTest()
    {
        previousClock = platform::setClock([] { return today; });
        previousDraw = platform::setDraw([this](int outcomes) {
            asked.push_back(outcomes);
            return nextDraw;
        });
    }
    ~Unit1CalculationTest() override
    {
        platform::setClock(previousClock);
        platform::setDraw(previousDraw);
    }

    void enter(const Entries& entries)
    {
        for (const auto& [name, text] : entries)
            type(name, text);
    }

    void calculate(int draw)
    {
        nextDraw = draw;
        asked.clear();
        press("Button73");
    }

    // The visit of the worked example: fees typed into the record's boxes,
    // three initial treatments (site 4 shares the first field) and a fee
    // outside insurance.
    const Entries workedExample = {
        {"DBEdit4", "1500"}, {"DBEdit16", "2000"}, {"DBEdit10", "85"}, {"DBEdit11", "85"}, {"DBEdit24", "1000"},
        {"Edit1", "1000"},   {"Edit2", "800"},     {"Edit4", "500"},   {"Edit6", "300"},
    };

    int nextDraw = 0;
    std::vector<int> asked;

private:
    platform::Clock previousClock;
    platform::Draw previousDraw;
};

struct RateCase {
    int draw;
    const char* rate;
    const char* copayment;
    const char* counter;
};

TEST_F(Unit1CalculationTest, WorkedExampleAtEachRate)
{
    const RateCase cases[] = {
        {30, "３割", "2090", "2390"}, {0, "２割", "1390", "1690"}, {31, "１割", "700", "1000"},
        {32, "０割", "0", "300"},     {42, "100%", "6970", "7270"},
    };
    start();
    enter(workedExample);
    // Pressed again and again on one visit: every press recomputes from the
    // boxes and fields, never adding to the last result.
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.rate);
        calculate(c.draw);
        EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
        EXPECT_EQ(asked, std::vector<int>{44});

        Record fee = stored();
        const Record expected = {
            {u8("負担率"), u8(c.rate)},
            {u8("施療料1"), u8("1500")},
            {u8("施療料2"), u8("800")},
            {u8("施療料3"), u8("0")},
            {u8("保険料金合計"), u8("6970")},
            {u8("一部負担金"), u8(c.copayment)},
            {u8("負傷部位数"), u8("3")},
            {u8("保険外料金"), u8("300")},
            {u8("窓口料金"), u8(c.counter)},
            {u8("料金"), u8(c.counter)},
            {u8("その他の保険加算料金"), u8("1000")},
            {u8("年月日"), u8("2024/06/03")},
            {u8("年"), u8("2024")},
            {u8("月"), u8("6")},
            {u8("日"), u8("3")},
            {u8("初検料"), u8("1500")},
            {u8("往療料"), u8("2000")},
        };
        for (const auto& [field, value] : expected)
            EXPECT_EQ(fee[field], value) << field.toStdString();
        EXPECT_EQ(stored(tables::schema::ExtraFeeTable), (Record{{u8("金属副子"), u8("1000")}, {u8("夜間暴風難路"), {}}}));
        EXPECT_FALSE(editing(form->Table1) || editing(form->Table2));

        EXPECT_EQ(box("DBEdit17")->text(), u8(c.rate));
        EXPECT_EQ(box("DBEdit26")->text(), u8("6970"));
        EXPECT_EQ(box("DBEdit40")->text(), u8(c.copayment));
        for (const auto& [name, text] : workedExample)
            EXPECT_EQ(box(name)->text(), u8(text)) << name;
    }
}

TEST_F(Unit1CalculationTest, EachOfThe44OutcomesForcesItsRate)
{
    start();
    for (int draw = 0; draw < 44; ++draw) {
        calculate(draw);
        EXPECT_EQ(stored("負担率", tables::schema::FeeTable), rateOf(draw)) << draw;
    }
    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
}

struct CopaymentCase {
    const char* total;
    int draw;
    const char* copayment;
};

// Tenths of the total to 10 yen with an exact 5 rounding up; the whole total
// at "100%", decimals and all; the value 0, not an empty field, at "０割".
TEST_F(Unit1CalculationTest, CopaymentIsRoundedToTenYen)
{
    const CopaymentCase cases[] = {
        {"1650", 30, "500"}, {"1640", 30, "490"}, {"25", 0, "10"},   {"24", 0, "0"},
        {"1234.5", 42, "1234.5"}, {"1234.5", 32, "0"}, {"697", 31, "70"}, {"1250", 30, "380"},
    };
    start();
    for (const CopaymentCase& c : cases) {
        SCOPED_TRACE(c.total);
        type("Edit1", c.total);
        calculate(c.draw);
        const Record fee = stored();
        EXPECT_EQ(fee.at(u8("保険料金合計")), u8(c.total));
        EXPECT_EQ(fee.at(u8("一部負担金")), u8(c.copayment)) << fee.at(u8("負担率")).toStdString();
        EXPECT_EQ(fee.at(u8("窓口料金")), u8(c.copayment));
    }
    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
}

TEST_F(Unit1CalculationTest, NothingEnteredGivesZerosAndEmptiesTheFeeOutsideInsurance)
{
    start();
    type("Edit6", "300");
    calculate(42);
    type("Edit6", "");
    calculate(42);
    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
    const Record fee = stored();
    for (const char* zero : {"施療料1", "施療料2", "施療料3", "保険料金合計", "一部負担金", "負傷部位数", "窓口料金", "料金",
                             "その他の保険加算料金"})
        EXPECT_EQ(fee.at(u8(zero)), u8("0")) << zero;
    EXPECT_EQ(fee.at(u8("保険外料金")), QString());
}

struct SiteCase {
    const char* what;
    std::array<const char*, 5> boxes;
    std::array<const char*, 3> aftercare; // typed into "後療料1".."後療料3"
    int sites;
    std::array<const char*, 3> treatments; // stored "施療料1".."施療料3"
};

// A site counts by its initial treatment or, for sites 1-3, by an aftercare
// fee above 0; sites 4 and 5 have their box only.
TEST_F(Unit1CalculationTest, CountsTheInjuredSites)
{
    const SiteCase cases[] = {
        {"site 4 alone", {"", "", "", "500", ""}, {"", "", ""}, 1, {"500", "0", "0"}},
        {"site 5 alone", {"", "", "", "", "200"}, {"", "", ""}, 1, {"0", "200", "0"}},
        {"aftercare only at site 2", {"", "", "", "", ""}, {"", "500", ""}, 1, {"0", "0", "0"}},
        {"zero aftercare at site 2", {"", "", "", "", ""}, {"", "0", ""}, 0, {"0", "0", "0"}},
        {"box and aftercare count once", {"100", "", "", "", ""}, {"505", "", ""}, 1, {"100", "0", "0"}},
        {"every box", {"1", "2", "3", "4", "5"}, {"", "", ""}, 5, {"5", "7", "3"}},
        {"site 5 empty, every aftercare", {"", "", "", "4", ""}, {"505", "505", "303"}, 4, {"4", "0", "0"}},
    };
    const char* aftercareBoxes[] = {"DBEdit29", "DBEdit30", "DBEdit31"};
    start();
    for (const SiteCase& c : cases) {
        SCOPED_TRACE(c.what);
        press("Button1");
        for (int site = 1; site <= 5; ++site)
            type(siteBox(site), u8(c.boxes[site - 1]));
        for (int column = 0; column < 3; ++column)
            type(aftercareBoxes[column], c.aftercare[column]);
        calculate(0);
        const Record fee = stored();
        EXPECT_EQ(fee.at(u8("負傷部位数")), QString::number(c.sites));
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(fee.at(QStringLiteral("施療料%1").arg(column + 1)), u8(c.treatments[column])) << column + 1;
    }
    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
}

struct FailureCase {
    const char* what;
    Entries entries;
    int draw;
    const char* message; // a part of the error shown
};

// A calculation that cannot finish stores the drawn rate and nothing else,
// and leaves nothing behind that a later post of another button would store.
TEST_F(Unit1CalculationTest, AFailedCalculationStoresOnlyTheRate)
{
    const char* huge = "900000000000000"; // yen; two of them leave the currency range
    const FailureCase cases[] = {
        {"letters at site 3", {{"Edit1", "2000"}, {"Edit3", "abc"}}, 42, "「abc」"},
        {"full-width digits at site 5", {{"Edit5", "１０"}}, 32, "「１０」"},
        {"a blank at site 1", {{"Edit1", " "}}, 0, "金額"},
        {"letters outside insurance", {{"Edit1", "2000"}, {"Edit6", "3OO"}}, 42, "「3OO」"},
        {"sites 1 and 4 beyond range", {{"Edit1", huge}, {"Edit4", huge}}, 42, "金額が大きすぎて"},
        {"insured total beyond range", {{"Edit1", huge}, {"Edit2", huge}}, 42, "金額が大きすぎて"},
        {"counter amount beyond range", {{"Edit1", huge}, {"Edit6", huge}}, 42, "金額が大きすぎて"},
    };
    start();
    enter(workedExample);
    calculate(30);
    ASSERT_TRUE(errors.isEmpty()) << errorText().toStdString();
    const Record before = stored();
    const Record extraBefore = stored(tables::schema::ExtraFeeTable);
    const char* boxes[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
    QStringList boxesBefore;
    for (const char* name : boxes)
        boxesBefore << box(name)->text();

    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        errors.clear();
        enter(c.entries);
        calculate(c.draw);

        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(u8(c.message))) << errors[0].toStdString();
        Record expected = before;
        expected[u8("負担率")] = rateOf(c.draw);
        EXPECT_EQ(stored(), expected);
        EXPECT_FALSE(editing(form->Table1) || editing(form->Table2));
        press("Button77");
        EXPECT_EQ(stored(), expected) << "after 編集終了 posted both records";
        EXPECT_EQ(stored(tables::schema::ExtraFeeTable), extraBefore);
        EXPECT_EQ(box("DBEdit17")->text(), rateOf(c.draw));
        EXPECT_EQ(box("DBEdit26")->text(), u8("6970"));

        for (int i = 0; i < boxesBefore.size(); ++i)
            box(boxes[i])->setText(boxesBefore[i]);
    }
}

TEST_F(Unit1CalculationTest, AFieldTheRecordLacksStopsTheCalculationBeforeItWritesATotal)
{
    db.sql(u8("ALTER TABLE \"料金\" DROP COLUMN \"料金\""));
    start();
    errors.clear();
    enter(workedExample);

    calculate(30);

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(u8("「料金」"))) << errors[0].toStdString();
    press("Button77");
    const Record fee = stored();
    EXPECT_EQ(fee.at(u8("負担率")), u8("３割"));
    for (const char* total : {"施療料1", "保険料金合計", "一部負担金", "負傷部位数", "年月日", "窓口料金"})
        EXPECT_EQ(fee.at(u8(total)), QString()) << total;
}

// The real generator, seeded once: the presses follow its sequence (nothing
// reseeds it per press), and the five rates come in their proportions of 44.
TEST_F(Unit1CalculationTest, TheRealDrawForcesTheRatesInTheirProportions)
{
    platform::setDraw({});
    constexpr std::uint64_t seed = 20240603;
    constexpr int presses = 1000;
    platform::seedDraw(seed);
    std::vector<QString> sequence;
    for (int i = 0; i < presses; ++i)
        sequence.push_back(rateOf(platform::drawUniform(44)));

    start();
    platform::seedDraw(seed);
    std::map<QString, int> counts;
    for (int i = 0; i < presses; ++i) {
        press("Button73");
        const QString rate = box("DBEdit17")->text();
        ASSERT_EQ(rate, sequence[i]) << "press " << i;
        ++counts[rate];
    }
    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();

    double chiSquare = 0;
    for (const DrawRange& range : drawRanges) {
        const double expected = presses * (range.last - range.first + 1) / 44.0;
        const double seen = counts[u8(range.rate)];
        chiSquare += (seen - expected) * (seen - expected) / expected;
    }
    EXPECT_LT(chiSquare, 18.47) << "4 degrees of freedom, p = 0.001";
}

} // namespace
