#include "Unit1.h"

#include "tables/Table.h"
#include "widgets/Boxes.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QLineEdit>
#include <QList>
#include <array>
#include <initializer_list>

// Examination fees, travel bands, surcharges and splints: visit-wide toggles.
// Every price is copied as currency, so an empty price charges 0 yen.

namespace {

enum class Record { Fee, Extra };

// One field written by a branch of an examination or information toggle:
// the price of the same name copied in, or the field emptied.
struct FeeWrite {
    Record record;
    const char* field;
    bool copy;
};

constexpr FeeWrite copy(const char* field) { return {Record::Fee, field, true}; }
constexpr FeeWrite empty(const char* field) { return {Record::Fee, field, false}; }
constexpr FeeWrite emptyExtra(const char* field) { return {Record::Extra, field, false}; }

struct FeeBranch {
    std::initializer_list<int> whitened; // after the button's own indicator, in order
    std::initializer_list<FeeWrite> writes;
    bool emptiesFirstSite = false;
};

struct VisitFee {
    int own;
    FeeBranch apply;
    FeeBranch remove;
};

// The time surcharges and the night/storm surcharge may only stand with a
// first examination, so whatever ends the first examination ends them too.
constexpr VisitFee visitFees[] = {
    {23, // 初検料
     {{24, 25}, {copy("初検料"), empty("再検料"), empty("初検時相談支援料")}},
     {{15, 16, 17, 22},
      {empty("初検料"), empty("時間外加算"), empty("深夜加算"), empty("休日加算"), emptyExtra("夜間暴風難路")}}},
    {24, // 初検料+相談
     {{23, 25}, {copy("初検料"), empty("再検料"), copy("初検時相談支援料")}},
     {{15, 16, 17, 22},
      {empty("初検料"), empty("初検時相談支援料"), empty("時間外加算"), empty("深夜加算"), empty("休日加算"),
       emptyExtra("夜間暴風難路")}}},
    // With a re-examination site 1 gets no initial treatment; sites 2-5 still can.
    {25, // 再検料
     {{24, 23, 15, 16, 17, 22},
      {copy("再検料"), empty("初検時相談支援料"), empty("初検料"), empty("時間外加算"), empty("深夜加算"),
       empty("休日加算"), emptyExtra("夜間暴風難路")},
      true},
     {{}, {empty("再検料")}}},
    {18, // 施術情報提供料
     {{}, {copy("施術情報提供料")}},
     {{}, {empty("施術情報提供料")}}},
};
enum VisitFeeRow { FirstExamination, FirstExaminationWithConsultation, ReExamination, TreatmentInformation };

// The groups of which at most one is applied: their indicators, and for
// each the price it charges. A time surcharge is written into the fee field
// of its price's name.
const QList<int> travelBandShapes{10, 11, 12, 13, 14};
constexpr std::array<const char*, 5> travelBandPrices{"往療料2ｋｍ以内", "往療料2から4ｋｍ", "往療料4から6ｋｍ",
                                                      "往療料6から8ｋｍ", "往療料上限"};
const QList<int> timeSurchargeShapes{15, 16, 17};
constexpr std::array<const char*, 3> timeSurchargeFields{"時間外加算", "深夜加算", "休日加算"};
const QList<int> metalSplintShapes{19, 20, 21};
constexpr std::array<const char*, 3> metalSplintPrices{"金属副子加算大型", "金属副子加算中型", "金属副子加算小型"};

constexpr int firstExaminationShapes[] = {23, 24};
constexpr int nightStormShape = 22;
const char* const travelField = "往療料";
const char* const nightStormField = "夜間暴風難路";
const char* const splintField = "金属副子";

void copyAsCurrency(tables::Table* prices, const char* price, tables::Table* fees, const char* fee)
{
    fees->fieldByName(fee).setAsCurrency(prices->fieldByName(price).asCurrency());
}

bool isWhite(const widgets::Shape* s) { return s->brushColor() == widgets::clWhite; }

} // namespace

void TForm1::whiten(const QList<int>& shapes)
{
    for (int shape : shapes)
        indicator(shape)->setBrushColor(widgets::clWhite);
}

// The chosen one of a group turns lime, then the rest of the group white.
void TForm1::lightOnly(const QList<int>& group, qsizetype chosen)
{
    indicator(group.at(chosen))->setBrushColor(widgets::clLime);
    for (qsizetype i = 0; i < group.size(); ++i)
        if (i != chosen)
            indicator(group[i])->setBrushColor(widgets::clWhite);
}

bool TForm1::firstExaminationPresent() const
{
    for (int shape : firstExaminationShapes)
        if (indicator(shape)->brushColor() == widgets::clLime)
            return true;
    return false;
}

void TForm1::visitFee(int row)
{
    const VisitFee& fee = visitFees[row];
    const bool apply = isWhite(indicator(fee.own));
    const FeeBranch& branch = apply ? fee.apply : fee.remove;
    indicator(fee.own)->setBrushColor(apply ? widgets::clLime : widgets::clWhite);
    whiten(branch.whitened);
    bool extra = false;
    for (const FeeWrite& w : branch.writes)
        extra = extra || w.record == Record::Extra;

    Table1->open();
    Table3->open();
    if (extra)
        Table2->open();
    Table1->edit();
    if (extra)
        Table2->edit();
    for (const FeeWrite& w : branch.writes) {
        tables::Table* table = w.record == Record::Fee ? Table1 : Table2;
        if (w.copy)
            copyAsCurrency(Table3, w.field, table, w.field);
        else
            table->fieldByName(w.field).clear();
    }
    if (extra)
        Table2->post();
    Table1->post();
    if (branch.emptiesFirstSite)
        widgets::emptyBox(siteBox(1));
}

// Pressing another band switches to it; an applied night/storm surcharge
// equals the travel fee, so it follows the new band.
void TForm1::travelBand(int band)
{
    const char* price = travelBandPrices.at(band);
    if (isWhite(indicator(travelBandShapes.at(band)))) {
        lightOnly(travelBandShapes, band);
        Table3->open();
        Table1->open();
        Table1->edit();
        copyAsCurrency(Table3, price, Table1, travelField);
        Table1->clearFields(timeSurchargeFields);
        if (indicator(nightStormShape)->brushColor() == widgets::clLime) {
            Table2->open();
            Table2->edit();
            copyAsCurrency(Table3, price, Table2, nightStormField);
            Table2->post();
        }
        whiten(timeSurchargeShapes);
        Table1->post();
    } else {
        // The night/storm surcharge is the travel fee again and cannot outlive it.
        whiten({travelBandShapes.at(band), nightStormShape});
        Table3->open();
        Table1->open();
        Table2->open();
        Table1->edit();
        Table2->edit();
        Table1->fieldByName(travelField).clear();
        Table2->fieldByName(nightStormField).clear();
        Table2->post();
        Table1->post();
    }
}

// A time surcharge excludes the travel fee: applying one ends the travel fee
// and its night/storm surcharge, and with a travel fee present the press
// only makes sure its own surcharge is empty.
void TForm1::timeSurcharge(int kind)
{
    if (!firstExaminationPresent())
        return;
    const char* own = timeSurchargeFields.at(kind);
    if (isWhite(indicator(timeSurchargeShapes.at(kind))) && Table1->fieldByName(travelField).asString().isEmpty()) {
        lightOnly(timeSurchargeShapes, kind);
        whiten(travelBandShapes);
        whiten({nightStormShape});
        Table3->open();
        Table1->open();
        Table2->open();
        Table1->edit();
        Table2->edit();
        copyAsCurrency(Table3, own, Table1, own);
        for (const char* other : timeSurchargeFields)
            if (other != own)
                Table1->fieldByName(other).clear();
        Table1->fieldByName(travelField).clear();
        Table2->fieldByName(nightStormField).clear();
        Table1->post();
        Table2->post();
    } else {
        whiten({timeSurchargeShapes.at(kind)});
        Table3->open();
        Table1->open();
        Table1->edit();
        Table1->fieldByName(own).clear();
        Table1->post();
    }
}

// The surcharge is the travel fee as it stands when applied, copied as text;
// without a travel fee there is nothing to charge it on.
void TForm1::nightStormSurcharge()
{
    if (!firstExaminationPresent())
        return;
    if (isWhite(indicator(nightStormShape))) {
        Table1->open();
        Table2->open();
        if (Table1->fieldByName(travelField).asString().isEmpty())
            return;
        indicator(nightStormShape)->setBrushColor(widgets::clLime);
        Table2->edit();
        Table2->fieldByName(nightStormField).setAsString(Table1->fieldByName(travelField).asString());
        Table2->post();
    } else {
        whiten({nightStormShape});
        Table2->edit();
        Table2->fieldByName(nightStormField).clear();
        Table2->post();
    }
}

// The three sizes share one field: at most one splint surcharge is held.
void TForm1::metalSplint(int size)
{
    if (isWhite(indicator(metalSplintShapes.at(size)))) {
        lightOnly(metalSplintShapes, size);
        Table2->open();
        Table3->open();
        Table2->edit();
        copyAsCurrency(Table3, metalSplintPrices.at(size), Table2, splintField);
    } else {
        whiten({metalSplintShapes.at(size)});
        Table2->open();
        Table2->edit();
        Table2->fieldByName(splintField).clear();
    }
    Table2->post();
}

void TForm1::Button102Click() { visitFee(FirstExamination); }
void TForm1::Button103Click() { visitFee(FirstExaminationWithConsultation); }
void TForm1::Button104Click() { visitFee(ReExamination); }
void TForm1::Button72Click() { visitFee(TreatmentInformation); }
void TForm1::Button60Click() { travelBand(0); }
void TForm1::Button61Click() { travelBand(1); }
void TForm1::Button62Click() { travelBand(2); }
void TForm1::Button63Click() { travelBand(3); }
void TForm1::Button64Click() { travelBand(4); }
void TForm1::Button65Click() { timeSurcharge(0); }
void TForm1::Button66Click() { timeSurcharge(1); }
void TForm1::Button67Click() { timeSurcharge(2); }
void TForm1::Button71Click() { nightStormSurcharge(); }
void TForm1::Button68Click() { metalSplint(0); }
void TForm1::Button69Click() { metalSplint(1); }
void TForm1::Button70Click() { metalSplint(2); }
