#include "sakusei.h"
#include "ui_sakusei.h"

#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <algorithm>
#include <span>

// The fees of a visit that belong to no site: travel bands, time surcharges,
// the treatment-information fee, the night/storm surcharge on travel and the
// metal splints. Every value is copied as text, so an empty price leaves its
// fee empty instead of charging 0 yen.

using tables::Table;
using widgets::Shape;

namespace {

using Indicator = Shape* Ui::TForm6::*;

// One button of a group whose buttons exclude each other.
struct PricedToggle {
    Indicator indicator;
    const char* price; // the base-fee field it copies
    // Time surcharges only: what the memo says when a house call refuses it.
    const char* refusalNote = nullptr;
};

// A group that writes one field of one record.
struct ToggleGroup {
    std::span<const PricedToggle> buttons;
    Table* const TForm6::* record;
    const char* field;
};

constexpr const char* travelField = "往療料";
constexpr const char* nightStormField = "夜間暴風難路";

constexpr PricedToggle travelBandButtons[] = {
    {&Ui::TForm6::Shape16, "往療料2ｋｍ以内"},  {&Ui::TForm6::Shape17, "往療料2から4ｋｍ"},
    {&Ui::TForm6::Shape18, "往療料4から6ｋｍ"}, {&Ui::TForm6::Shape19, "往療料6から8ｋｍ"},
    {&Ui::TForm6::Shape20, "往療料上限"},
};
constexpr ToggleGroup travelGroup{travelBandButtons, &TForm6::Table1, travelField};

// Each surcharge is written into the fee field named like its price. Only the
// holiday surcharge tells the operator why a house call refused it.
constexpr PricedToggle timeSurcharges[] = {
    {&Ui::TForm6::Shape21, "時間外加算"},
    {&Ui::TForm6::Shape22, "深夜加算"},
    {&Ui::TForm6::Shape23, "休日加算", "往療料で休日加算できない。"},
};

constexpr PricedToggle informationFeeButton[] = {{&Ui::TForm6::Shape24, "施術情報提供料"}};
constexpr ToggleGroup informationGroup{informationFeeButton, &TForm6::Table1, "施術情報提供料"};

constexpr PricedToggle metalSplintButtons[] = {
    {&Ui::TForm6::Shape31, "金属副子加算大型"},
    {&Ui::TForm6::Shape32, "金属副子加算中型"},
    {&Ui::TForm6::Shape33, "金属副子加算小型"},
};
constexpr ToggleGroup splintGroup{metalSplintButtons, &TForm6::Table3, "金属副子"};

using widgets::Press;
using widgets::pressOn;

bool isLime(const Shape* shape)
{
    return shape->brushColor() == widgets::clLime;
}

bool anyLime(const Ui::TForm6& ui, std::span<const PricedToggle> group)
{
    return std::any_of(group.begin(), group.end(), [&ui](const PricedToggle& b) { return isLime(ui.*b.indicator); });
}

// Lights `chosen` and whitens the rest of its group; no choice whitens them all.
void light(const Ui::TForm6& ui, std::span<const PricedToggle> group, const PricedToggle* chosen)
{
    for (const PricedToggle& b : group)
        (ui.*b.indicator)->setBrushColor(&b == chosen ? widgets::clLime : widgets::clWhite);
}

// The time surcharges and the night/storm surcharge belong to a first visit.
bool firstVisit(const Ui::TForm6& ui)
{
    return isLime(ui.Shape1) || isLime(ui.Shape2);
}

QString price(TForm6& form, const char* name)
{
    form.Table2->open();
    return form.Table2->fieldByName(name).asString();
}

// Writes one field as text (the empty text empties it) and stores the record.
void store(Table* table, const char* name, const QString& text)
{
    table->open();
    table->edit();
    table->fieldByName(name).setAsString(text);
    table->post();
}

// At most one time surcharge is charged: applying one empties all three first.
void emptyTimeSurcharges(Table* fees)
{
    for (const PricedToggle& surcharge : timeSurcharges)
        fees->fieldByName(surcharge.price).clear();
}

// The shared toggle of a priced group. The price is read before anything
// changes, so a price list without the field stops the press with nothing done.
Press choose(TForm6& form, const Ui::TForm6& ui, const ToggleGroup& group, int row)
{
    const PricedToggle& button = group.buttons[row];
    Shape* own = ui.*button.indicator;
    const Press press = pressOn(own);
    if (press == Press::Apply) {
        const QString fee = price(form, button.price);
        light(ui, group.buttons, &button);
        store(form.*group.record, group.field, fee);
    } else if (press == Press::Withdraw) {
        own->setBrushColor(widgets::clWhite);
        store(form.*group.record, group.field, QString());
    }
    return press;
}

} // namespace

// A house call excludes the time surcharges, and the night/storm surcharge is
// a share of the travel fee: it follows a change of band and goes with the fee.
void TForm6::travelBand(int row)
{
    const bool nightStormFollows = isLime(ui->Shape28);
    const bool timeSurcharged = anyLime(*ui, timeSurcharges);
    switch (choose(*this, *ui, travelGroup, row)) {
    case Press::Apply:
        if (nightStormFollows)
            store(Table3, nightStormField, Table1->fieldByName(travelField).asString());
        if (timeSurcharged) {
            Table1->edit();
            emptyTimeSurcharges(Table1);
            Table1->post();
            light(*ui, timeSurcharges, nullptr);
        }
        break;
    case Press::Withdraw:
        store(Table3, nightStormField, QString());
        ui->Shape28->setBrushColor(widgets::clWhite);
        break;
    case Press::Ignore:
        break;
    }
}

// A time surcharge pressed during a house call is refused: the travel fee
// entered first stands. The house call is tested once, over all five bands,
// before anything changes, so a refused press takes its fee back exactly once.
void TForm6::timeSurcharge(int row)
{
    if (!firstVisit(*ui))
        return;
    const PricedToggle& surcharge = timeSurcharges[row];
    Shape* own = ui.get()->*surcharge.indicator;
    switch (pressOn(own)) {
    case Press::Apply: {
        const bool refused = anyLime(*ui, travelGroup.buttons);
        const QString fee = refused ? QString() : price(*this, surcharge.price);
        light(*ui, timeSurcharges, refused ? nullptr : &surcharge);
        if (refused && surcharge.refusalNote)
            showNote(surcharge.refusalNote);
        Table1->open();
        Table1->edit();
        emptyTimeSurcharges(Table1);
        Table1->fieldByName(surcharge.price).setAsString(fee); // stays empty when refused
        Table1->post();
        break;
    }
    case Press::Withdraw:
        own->setBrushColor(widgets::clWhite);
        store(Table1, surcharge.price, QString());
        break;
    case Press::Ignore:
        break;
    }
}

// Without a travel band there is no house call to add the surcharge to, and
// the press does nothing; one test over all five bands decides it.
void TForm6::nightStormSurcharge()
{
    if (!firstVisit(*ui))
        return;
    switch (pressOn(ui->Shape28)) {
    case Press::Apply:
        if (!anyLime(*ui, travelGroup.buttons))
            return;
        ui->Shape28->setBrushColor(widgets::clLime);
        Table1->open();
        store(Table3, nightStormField, Table1->fieldByName(travelField).asString());
        break;
    case Press::Withdraw:
        ui->Shape28->setBrushColor(widgets::clWhite);
        store(Table3, nightStormField, QString());
        break;
    case Press::Ignore:
        break;
    }
}

void TForm6::informationFee()
{
    choose(*this, *ui, informationGroup, 0);
}

// Changing the size replaces the amount.
void TForm6::metalSplint(int row)
{
    choose(*this, *ui, splintGroup, row);
}

void TForm6::Button16Click() { travelBand(0); }
void TForm6::Button17Click() { travelBand(1); }
void TForm6::Button18Click() { travelBand(2); }
void TForm6::Button19Click() { travelBand(3); }
void TForm6::Button20Click() { travelBand(4); }
void TForm6::Button21Click() { timeSurcharge(0); }
void TForm6::Button22Click() { timeSurcharge(1); }
void TForm6::Button23Click() { timeSurcharge(2); }
void TForm6::Button24Click() { informationFee(); }
void TForm6::Button28Click() { nightStormSurcharge(); }
void TForm6::Button29Click() { metalSplint(0); }
void TForm6::Button33Click() { metalSplint(1); }
void TForm6::Button34Click() { metalSplint(2); }
