#include "sakusei.h"

#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QStringList>
#include <array>

namespace {

constexpr const char* visitFields[] = {"初検料", "初検時相談支援料", "再検料"};

// The three visit fees exclude each other; the button number is also its indicator's.
struct VisitFee {
    int button;
    bool firstVisit;
    std::array<const char*, 2> copied; // prices copied, as text, from the base-fee record
    std::array<const char*, 2> emptiedOnWithdraw;
};
constexpr VisitFee visitFees[] = {
    {1, true, {"初検料"}, {"初検料", "初検時相談支援料"}},
    {2, true, {"初検料", "初検時相談支援料"}, {"初検料", "初検時相談支援料"}},
    {3, false, {"再検料"}, {"再検料"}},
};

} // namespace

// The time surcharges and the night/storm surcharge belong to a first visit
// only; a visit that stops being one loses them.
void TForm6::withdrawFirstVisitSurcharges()
{
    Table3->open();
    Table3->edit();
    for (int n : {21, 22, 23, 28})
        indicator(n)->setBrushColor(widgets::clWhite);
    Table1->clearFields(std::array{"時間外加算", "深夜加算", "休日加算"});
    Table3->fieldByName(QStringLiteral("夜間暴風難路")).clear();
}

void TForm6::pressVisitFee(int button)
{
    const VisitFee& fee = visitFees[button - 1];
    // Switching between the two first-visit fees keeps the surcharges; only
    // applying the re-examination or withdrawing a first visit drops them.
    bool surchargesWithdrawn = false;
    const auto takeBack = [&] {
        Table1->open();
        Table1->edit();
        if (fee.firstVisit) {
            withdrawFirstVisitSurcharges();
            surchargesWithdrawn = true;
        }
        indicator(button)->setBrushColor(widgets::clWhite);
        for (const char* field : fee.emptiedOnWithdraw)
            if (field)
                Table1->fieldByName(field).clear();
    };
    const auto apply = [&] {
        // Prices first: a price list that cannot be read changes nothing.
        Table2->open();
        QStringList prices;
        for (const char* field : fee.copied)
            if (field)
                prices << Table2->fieldByName(field).asString();
        Table1->open();
        Table1->edit();
        if (!fee.firstVisit) {
            withdrawFirstVisitSurcharges();
            surchargesWithdrawn = true;
        }
        for (const VisitFee& other : visitFees)
            indicator(other.button)->setBrushColor(other.button == button ? widgets::clLime : widgets::clWhite);
        Table1->clearFields(visitFields);
        for (qsizetype i = 0; i < prices.size(); ++i)
            Table1->fieldByName(fee.copied[i]).setAsString(prices[i]);
        runOnsetChecks(button, takeBack);
    };
    const auto post = [&] {
        Table1->post();
        if (surchargesWithdrawn)
            Table3->post();
    };
    toggleFee(button, [&] { apply(); post(); }, [&] { takeBack(); post(); });
}

void TForm6::Button1Click() { pressVisitFee(1); }
void TForm6::Button2Click() { pressVisitFee(2); }
void TForm6::Button3Click() { pressVisitFee(3); }
