#include "Unit1FeeFixture.h"

#include <array>
#include <vector>

namespace {

// One site's aftercare column: its fee fields (aftercare, warm compress,
// electrotherapy, cold compress), their indicators (cold, warm, long-term,
// sprain aftercare), the prices the fixture gives the fields, and the amounts
// the reduced families must write from those prices. Every price differs from
// every other so a fee copied from the wrong column or field shows.
struct Column {
    int site;
    std::array<const char*, 4> fields;
    std::array<int, 4> shapes;
    std::array<const char*, 4> prices;
    std::array<const char*, 3> longTerm; // 80 % of the aftercare, warm and electrotherapy prices
    std::array<const char*, 5> fracture; // what each fracture/dislocation family writes
};

const Column columns[] = {
    {1, {"後療料1", "温罨法料1", "電療料1", "冷罨法料1"}, {1, 4, 7, 26}, {"505", "75", "30", "81"}, {"404", "60", "24"},
     {"851", "1001", "721", "901", "731"}},
    {2, {"後療料2", "温罨法料2", "電療料2", "冷罨法料2"}, {2, 5, 8, 27}, {"510", "80", "35", "82"}, {"408", "64", "28"},
     {"851", "1001", "721", "901", "731"}},
    // The third site gets fracture aftercare at 70 %, to whole yen with halves up.
    {3, {"後療料3", "温罨法料3", "電療料3", "冷罨法料3"}, {3, 6, 9, 28}, {"515", "85", "40", "83"}, {"412", "68", "32"},
     {"596", "701", "505", "631", "512"}},
};

const char* const fracturePrices[] = {"骨折後療料", "骨折後療料拘縮2関節以上", "不全骨折後療料", "不全骨折後療料拘縮2関節",
                                      "脱臼後療料"};
const int fracturePriceYen[] = {851, 1001, 721, 901, 731};

// What a column holds: its four fields in the order above, which of its
// indicators are lime as letters in the order "CWLS" (cold, warm, long-term,
// sprain aftercare), and its per-site box.
struct ColumnState {
    std::array<QString, 4> fields;
    QString lime;
    QString box;
    bool operator==(const ColumnState&) const = default;
};

void PrintTo(const ColumnState& s, std::ostream* os)
{
    *os << "{fields " << s.fields[0].toStdString() << '|' << s.fields[1].toStdString() << '|'
        << s.fields[2].toStdString() << '|' << s.fields[3].toStdString() << ", lime \"" << s.lime.toStdString()
        << "\", box \"" << s.box.toStdString() << "\"}";
}

const QString indicatorLetters = u8("CWLS");

class AftercareTest : public Unit1FeeTest {
protected:
    AftercareTest()
    {
        for (const Column& c : columns)
            for (int i = 0; i < 4; ++i)
                price(c.fields[i], QString::fromLatin1(c.prices[i]).toInt());
        for (int f = 0; f < 5; ++f)
            price(fracturePrices[f], fracturePriceYen[f]);
    }

    ColumnState state(const Column& c)
    {
        ColumnState s;
        for (int i = 0; i < 4; ++i) {
            s.fields[i] = fee(c.fields[i]);
            if (isLime(c.shapes[i]))
                s.lime += indicatorLetters[i];
        }
        s.box = siteBox(c.site)->text();
        return s;
    }

    void arrange(const Column& c, const ColumnState& s)
    {
        write(form->Table1, {{c.fields[0], s.fields[0]}, {c.fields[1], s.fields[1]}, {c.fields[2], s.fields[2]},
                             {c.fields[3], s.fields[3]}});
        for (int i = 0; i < 4; ++i)
            paint(c.shapes[i], s.lime.contains(indicatorLetters[i]));
        siteBox(c.site)->setText(s.box);
    }
};

// Every column holding something in every field and box, all indicators white.
ColumnState filled(const Column& c) { return {{u8("9"), u8("8"), u8("7"), u8("6")}, {}, QString::number(c.site * 1000)}; }

// How a press leaves a field, relative to the column before the first press.
enum class V { Kept, Empty, Price, LongTerm, Fracture };

struct Outcome {
    std::array<V, 4> fields;
    const char* lime;
    bool boxEmptied;
};

struct FamilyCase {
    const char* name;
    std::array<int, 3> buttons; // column 1, 2, 3
    int fracture;               // the fracture/dislocation family, -1 for the toggles
    Outcome first;              // after one press
    Outcome second;             // after a second press
};

using enum V;
const FamilyCase families[] = {
    {"ColdCompress", {57, 58, 59}, -1,
     {{Kept, Empty, Empty, Price}, "C", false}, {{Kept, Empty, Empty, Empty}, "", false}},
    {"WarmCompressWithElectrotherapy", {96, 97, 98}, -1,
     {{Kept, Price, Price, Empty}, "W", true}, {{Kept, Empty, Empty, Empty}, "", true}},
    {"SprainAftercare", {78, 79, 80}, -1,
     {{Price, Kept, Kept, Empty}, "S", true}, {{Empty, Kept, Kept, Empty}, "", true}},
    {"LongTermAftercare", {99, 100, 101}, -1,
     {{LongTerm, LongTerm, LongTerm, Empty}, "L", true}, {{Empty, Empty, Empty, Empty}, "", true}},
    // No toggle: the second press writes the same amount again.
    {"FractureAftercare", {81, 82, 83}, 0,
     {{Fracture, Kept, Kept, Kept}, "", true}, {{Fracture, Kept, Kept, Kept}, "", true}},
    {"FractureAftercareWithContracture", {84, 85, 86}, 1,
     {{Fracture, Kept, Kept, Kept}, "", true}, {{Fracture, Kept, Kept, Kept}, "", true}},
    {"IncompleteFractureAftercare", {87, 88, 89}, 2,
     {{Fracture, Kept, Kept, Kept}, "", true}, {{Fracture, Kept, Kept, Kept}, "", true}},
    {"IncompleteFractureAftercareWithContracture", {90, 91, 92}, 3,
     {{Fracture, Kept, Kept, Kept}, "", true}, {{Fracture, Kept, Kept, Kept}, "", true}},
    {"DislocationAftercare", {93, 94, 95}, 4,
     {{Fracture, Kept, Kept, Kept}, "", true}, {{Fracture, Kept, Kept, Kept}, "", true}},
};

void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.name; }

ColumnState expected(const Column& c, const FamilyCase& family, const Outcome& o)
{
    const ColumnState before = filled(c);
    ColumnState s{{}, u8(o.lime), o.boxEmptied ? QString() : before.box};
    for (int i = 0; i < 4; ++i) {
        switch (o.fields[i]) {
        case Kept: s.fields[i] = before.fields[i]; break;
        case Empty: s.fields[i] = QString(); break;
        case Price: s.fields[i] = u8(c.prices[i]); break;
        case LongTerm: s.fields[i] = u8(c.longTerm[i]); break;
        case Fracture: s.fields[i] = u8(c.fracture[family.fracture]); break;
        }
    }
    return s;
}

class AftercareFamilyTest : public AftercareTest,
                            public testing::WithParamInterface<std::tuple<FamilyCase, int>> {};

// Each button works on its own column only: the other two keep their fields,
// indicators and boxes.
TEST_P(AftercareFamilyTest, PressedTwiceAppliesThenRemovesInItsOwnColumnOnly)
{
    const auto& [family, index] = GetParam();
    const Column& own = columns[index];
    start();
    for (const Column& c : columns)
        arrange(c, filled(c));

    press(family.buttons[index]);
    EXPECT_EQ(state(own), expected(own, family, family.first));
    press(family.buttons[index]);
    EXPECT_EQ(state(own), expected(own, family, family.second));

    for (const Column& other : columns) {
        if (&other == &own)
            continue;
        EXPECT_EQ(state(other), filled(other)) << "column " << other.site;
    }
    expectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(Columns, AftercareFamilyTest, testing::Combine(testing::ValuesIn(families), testing::Range(0, 3)),
                         [](const testing::TestParamInfo<std::tuple<FamilyCase, int>>& info) {
                             return std::string(std::get<0>(info.param).name) + "_Site" +
                                    std::to_string(std::get<1>(info.param) + 1);
                         });

// What an apply turns off beside it, and what it must leave: column 1, each
// state arranged with every fee the press may touch present.
struct ExclusionCase {
    const char* what;
    ColumnState before;
    int button;
    ColumnState after;
};

TEST_F(AftercareTest, EachApplyEmptiesWhatCannotStandBesideItAndLeavesTheRest)
{
    const QStringList full{u8("9"), u8("8"), u8("7"), u8("6")};
    const auto with = [&](const char* lime) { return ColumnState{{full[0], full[1], full[2], full[3]}, u8(lime), u8("1000")}; };
    const auto s = [](const char* a, const char* w, const char* e, const char* c, const char* lime, const char* box) {
        return ColumnState{{u8(a), u8(w), u8(e), u8(c)}, u8(lime), u8(box)};
    };
    const ExclusionCase cases[] = {
        {"cold compress applies", with("W"), 57, s("9", "", "", "81", "C", "1000")},
        {"cold compress refused beside sprain aftercare", with("S"), 57, s("9", "8", "7", "", "S", "1000")},
        {"cold compress refused beside long-term aftercare", with("L"), 57, s("9", "8", "7", "", "L", "1000")},
        {"cold compress removed", with("C"), 57, s("9", "8", "7", "", "", "1000")},
        {"warm compress ends long-term aftercare", with("CL"), 96, s("", "75", "30", "", "W", "")},
        {"warm compress beside sprain aftercare", with("CS"), 96, s("9", "75", "30", "", "WS", "")},
        {"warm compress removed", with("W"), 96, s("9", "", "", "6", "", "1000")},
        {"sprain aftercare ends long-term aftercare", with("CL"), 78, s("505", "", "", "", "S", "")},
        {"sprain aftercare beside warm compress", with("CW"), 78, s("505", "8", "7", "", "WS", "")},
        {"sprain aftercare removed", with("S"), 78, s("", "8", "7", "6", "", "1000")},
        {"long-term aftercare displaces the rest", with("CWS"), 99, s("404", "60", "24", "", "L", "")},
        {"long-term aftercare removed", with("L"), 99, s("", "", "", "6", "", "1000")},
        {"fracture aftercare ends sprain aftercare", with("CWS"), 81, s("851", "8", "7", "6", "CW", "")},
        {"fracture aftercare ends long-term aftercare", with("L"), 81, s("851", "", "", "6", "", "")},
    };
    start();
    for (const ExclusionCase& c : cases) {
        SCOPED_TRACE(c.what);
        arrange(columns[0], c.before);
        press(c.button);
        EXPECT_EQ(state(columns[0]), c.after);
    }
    expectNoErrors();
}

// Sequences an operator presses, from a column holding only an
// initial-treatment amount.
struct SequenceCase {
    const char* what;
    int column;
    std::vector<int> presses;
    ColumnState after;
};

TEST_F(AftercareTest, PressSequencesEndInTheStateTheLastPressLeaves)
{
    const auto s = [](const char* a, const char* w, const char* e, const char* c, const char* lime, const char* box) {
        return ColumnState{{u8(a), u8(w), u8(e), u8(c)}, u8(lime), u8(box)};
    };
    const SequenceCase cases[] = {
        {"long-term then sprain aftercare: the full price", 1, {100, 79}, s("510", "", "", "", "S", "")},
        {"long-term then warm compress", 1, {100, 97}, s("", "80", "35", "", "W", "")},
        {"cold then warm compress", 0, {57, 96}, s("", "75", "30", "", "W", "")},
        {"cold, warm, cold compress", 0, {57, 96, 57}, s("", "", "", "81", "C", "")},
        {"sprain aftercare then fracture aftercare", 0, {78, 81}, s("851", "", "", "", "", "")},
        {"sprain aftercare applies again after fracture aftercare", 0, {78, 81, 78}, s("505", "", "", "", "S", "")},
        {"cold compress stays beside fracture aftercare", 0, {57, 81}, s("851", "", "", "81", "C", "")},
        {"cold compress keeps the initial treatment", 2, {59}, s("", "", "", "83", "C", "3000")},
        {"fracture aftercare twice", 2, {83, 83}, s("596", "", "", "", "", "")},
    };
    start();
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Column& column = columns[c.column];
        arrange(column, {{}, {}, QString::number(column.site * 1000)});
        for (int button : c.presses)
            press(button);
        EXPECT_EQ(state(column), c.after);
    }
    expectNoErrors();
}

// Copied as text an empty price leaves no fee; the reduced amounts are
// computed from the price read as currency, so an empty price gives 0 yen.
struct PriceCase {
    const char* what;
    const char* priceField;
    std::optional<int> yen;
    int button;
    const char* feeField;
    const char* written;
};

void PrintTo(const PriceCase& c, std::ostream* os) { *os << c.what; }

class AftercarePriceTest : public AftercareTest, public testing::WithParamInterface<PriceCase> {};

TEST_P(AftercarePriceTest, WritesTheAmountFromThePrice)
{
    const PriceCase& c = GetParam();
    price(c.priceField, c.yen);
    start();
    write(form->Table1, {{c.feeField, u8("9")}});
    press(c.button);
    EXPECT_EQ(fee(c.feeField), u8(c.written));
    expectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Prices, AftercarePriceTest,
    testing::Values(PriceCase{"35 yen at 70 % is 25", "骨折後療料", 35, 83, "後療料3", "25"},
                    PriceCase{"5 yen at 70 % is 4", "脱臼後療料", 5, 95, "後療料3", "4"},
                    PriceCase{"site 1 copies 35 yen as it stands", "骨折後療料", 35, 81, "後療料1", "35"},
                    PriceCase{"site 2 copies 35 yen as it stands", "骨折後療料", 35, 82, "後療料2", "35"},
                    PriceCase{"1234 yen at 80 % is 987", "後療料1", 1234, 99, "後療料1", "987"},
                    PriceCase{"empty fracture price copied as text", "骨折後療料", std::nullopt, 81, "後療料1", ""},
                    PriceCase{"empty fracture price at 70 % is 0", "骨折後療料", std::nullopt, 83, "後療料3", "0"},
                    PriceCase{"empty aftercare price at 80 % is 0", "後療料1", std::nullopt, 99, "後療料1", "0"},
                    PriceCase{"empty cold-compress price", "冷罨法料2", std::nullopt, 58, "冷罨法料2", ""},
                    PriceCase{"empty sprain-aftercare price", "後療料3", std::nullopt, 80, "後療料3", ""}),
    [](const testing::TestParamInfo<PriceCase>& info) { return "Case" + std::to_string(info.index); });

// A price the list lacks stops the press at the failing step: the indicator
// already whitened stays white, the box keeps its amount and nothing is stored.
TEST_F(AftercareTest, AMissingPriceStopsThePressBeforeAnythingIsStored)
{
    db.sql(u8("ALTER TABLE \"捻挫打撲基料金\" DROP COLUMN \"脱臼後療料\""));
    start();
    arrange(columns[1], {{u8("9"), u8("8"), u8("7"), u8("6")}, u8("S"), u8("2000")});

    press(94);

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(u8("脱臼後療料"))) << errors[0].toStdString();
    EXPECT_FALSE(isLime(27));
    EXPECT_EQ(siteBox(2)->text(), u8("2000"));
    EXPECT_EQ(fee("後療料2"), u8("9"));
}

} // namespace
