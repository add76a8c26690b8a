#include "sakusei.h"

#include "tables/Currency.h"
#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <array>
#include <optional>

using tables::Currency;

namespace {

enum Role { Treatment, Cold, Aftercare, Warm, Electrotherapy, RoleCount };
constexpr unsigned role(Role r)
{
    return 1u << r;
}

// A site's fee fields by role (each named like the base-fee price it is
// priced from), its five treatment kinds' indicators, and its long-term mark.
struct Site {
    std::array<const char*, RoleCount> fields;
    std::array<int, 5> kindIndicators; // by TreatmentKind; each is also its button's number
    const char* longTermMark;
};
constexpr Site sites[] = {
    {{"施療料1", "冷罨法料1", "後療料1", "温罨法料1", "電療料1"}, {4, 7, 10, 13, 25}, "一部位目"},
    {{"施療料2", "冷罨法料2", "後療料2", "温罨法料2", "電療料2"}, {5, 8, 11, 14, 26}, "ニ部位目"},
    {{"施療料3", "冷罨法料3", "後療料3", "温罨法料3", "電療料3"}, {6, 9, 12, 15, 27}, "三部位目"},
};

// The roles a kind fills; applying it empties the site's other roles, so a
// site holds at most one kind. Long-term aftercare is priced at the reduction
// rate and marks its site in the record.
struct Kind {
    unsigned fills;
    bool longTerm;
};
constexpr Kind kinds[] = {
    {role(Treatment), false},
    {role(Treatment) | role(Cold), false},
    {role(Aftercare), false},
    {role(Aftercare) | role(Warm) | role(Electrotherapy), false},
    {role(Aftercare) | role(Warm) | role(Electrotherapy), true},
};

// A fee as the price list gives it: the price copied as text (an empty price
// stays empty), or a long-term amount (an empty price or rate counts as 0).
struct Price {
    QString text;
    std::optional<Currency> amount;

    void writeTo(tables::Field& field) const
    {
        if (amount)
            field.setAsCurrency(*amount);
        else
            field.setAsString(text);
    }
};

std::array<Price, RoleCount> readPrices(tables::Table& base, const Site& site, const Kind& kind)
{
    base.open();
    const Currency rate = kind.longTerm ? base.fieldByName("長期逓減率").asCurrency() : Currency();
    std::array<Price, RoleCount> prices;
    for (int r = 0; r < RoleCount; ++r) {
        if (!(kind.fills & role(Role(r))))
            continue;
        tables::Field& listed = base.fieldByName(site.fields[r]);
        prices[r] = kind.longTerm ? Price{{}, Currency::longTerm(listed.asCurrency(), rate)} : Price{listed.asString(), {}};
    }
    return prices;
}

} // namespace

void TForm6::pressTreatment(int siteNumber, TreatmentKind kindIndex)
{
    const Site& site = sites[siteNumber - 1];
    const Kind& kind = kinds[int(kindIndex)];
    const int button = site.kindIndicators[int(kindIndex)];
    // Withdrawing, and a refusal, empty only what this kind filled.
    const auto takeBack = [&] {
        Table1->open();
        Table1->edit();
        indicator(button)->setBrushColor(widgets::clWhite);
        for (int r = 0; r < RoleCount; ++r)
            if (kind.fills & role(Role(r)))
                Table1->fieldByName(site.fields[r]).clear();
        if (kind.longTerm)
            Table1->fieldByName(site.longTermMark).clear();
    };
    const auto apply = [&] {
        // Prices first: a price list that cannot be read changes nothing.
        const std::array<Price, RoleCount> prices = readPrices(*Table2, site, kind);
        Table1->open();
        Table1->edit();
        for (int n : site.kindIndicators)
            indicator(n)->setBrushColor(n == button ? widgets::clLime : widgets::clWhite);
        for (int r = 0; r < RoleCount; ++r) {
            if (kind.fills & role(Role(r)))
                prices[r].writeTo(Table1->fieldByName(site.fields[r]));
            else
                Table1->fieldByName(site.fields[r]).clear();
        }
        // Another kind replacing long-term aftercare leaves the mark: the site
        // stays a long-term case until its own button or the reset says otherwise.
        if (kind.longTerm)
            Table1->fieldByName(site.longTermMark).setAsInteger(1);
        runOnsetChecks(button, takeBack);
    };
    toggleFee(button, [&] { apply(); Table1->post(); }, [&] { takeBack(); Table1->post(); });
}

void TForm6::Button4Click() { pressTreatment(1, TreatmentKind::First); }
void TForm6::Button5Click() { pressTreatment(2, TreatmentKind::First); }
void TForm6::Button6Click() { pressTreatment(3, TreatmentKind::First); }
void TForm6::Button7Click() { pressTreatment(1, TreatmentKind::FirstWithCold); }
void TForm6::Button8Click() { pressTreatment(2, TreatmentKind::FirstWithCold); }
void TForm6::Button9Click() { pressTreatment(3, TreatmentKind::FirstWithCold); }
void TForm6::Button10Click() { pressTreatment(1, TreatmentKind::Aftercare); }
void TForm6::Button11Click() { pressTreatment(2, TreatmentKind::Aftercare); }
void TForm6::Button12Click() { pressTreatment(3, TreatmentKind::Aftercare); }
void TForm6::Button13Click() { pressTreatment(1, TreatmentKind::AftercareWarmElectro); }
void TForm6::Button14Click() { pressTreatment(2, TreatmentKind::AftercareWarmElectro); }
void TForm6::Button15Click() { pressTreatment(3, TreatmentKind::AftercareWarmElectro); }

// Long-term aftercare.
void TForm6::Button25Click() { pressTreatment(1, TreatmentKind::LongTerm); }
void TForm6::Button26Click() { pressTreatment(2, TreatmentKind::LongTerm); }
void TForm6::Button27Click() { pressTreatment(3, TreatmentKind::LongTerm); }
