#include "sakusei.h"
#include "widgets/Boxes.h"
#include "widgets/DataSource.h"
#include "ui_sakusei.h"

#include "platform/Clock.h"
#include "platform/RateDraw.h"
#include "tables/Currency.h"
#include "tables/Rate.h"
#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <iterator>
#include <span>

using tables::Currency;
using tables::Field;
using tables::Table;

namespace {

// The co-payment rate is drawn from 53 equally likely outcomes.
constexpr tables::Rate rates[] = {
    {"２割", 31, 2}, {"３割", 1, 3}, {"１割", 1, 1}, {"０割", 15, 0}, {"100%", 5, tables::Rate::wholeTotal},
};
static_assert(tables::outcomesOf(rates) == 53);

const tables::Rate& drawRate()
{
    return tables::rateForOutcome(rates, platform::drawUniform(tables::outcomesOf(rates)));
}

// Insured fees summed before the surcharges, in this order.
constexpr const char* visitAndSiteFees[] = {
    "初検料",    "初検時相談支援料", "再検料",   "施療料1",   "施療料2",   "施療料3",
    "冷罨法料1", "冷罨法料2",        "冷罨法料3", "後療料1",   "後療料2",   "後療料3",
    "温罨法料1", "温罨法料2",        "温罨法料3", "電療料1",   "電療料2",   "電療料3",
};
// A site counts when its treatment fee, or else its aftercare fee, holds a
// value (0 included); compresses and electrotherapy alone do not make a site.
constexpr const char* siteFees[][2] = {
    {"施療料1", "後療料1"}, {"施療料2", "後療料2"}, {"施療料3", "後療料3"}};

} // namespace

// Every step that can fail (a field the extra-fee table lacks, text in Edit1
// that is no amount, an amount out of range) comes before the first field is
// written, so a failed calculation leaves nothing half-computed behind; only
// the drawn rate is stored by then.
void TForm6::Button32Click()
{
    const tables::Rate& rate = drawRate();
    Table1->open();
    Table1->edit();
    Table1->fieldByName("負担率").setAsString(QString::fromUtf8(rate.text));
    Table1->post();
    // Stores what was typed into the extra-fee boxes before the records are read afresh.
    Table3->open();
    Table3->edit();
    Table3->post();
    // Both records are read afresh as stored; a Table1 that cannot be opened
    // again leaves both closed. Reopening, not closing and opening, lets the
    // boxes go straight from the old record to the stored one instead of
    // blanking and refilling (and repainting) every box of Table3.
    try {
        Table1->reopen();
    } catch (...) {
        Table3->close();
        throw;
    }
    Table3->reopen();
    Table1->edit();
    Table3->edit();

    int sites = 0;
    for (const auto& [treatment, aftercare] : siteFees)
        if (!Table1->fieldByName(treatment).isNull() || !Table1->fieldByName(aftercare).isNull())
            ++sites;
    const QString outsideText = ui->Edit1->text();
    const Currency outsideInsurance = Currency::fromText(outsideText.isEmpty() ? QStringLiteral("0") : outsideText);
    const Currency travel = Table1->fieldByName("往療料").asCurrency();
    const bool nightStormApplies = ui->Shape28->brushColor() == widgets::clLime;
    const Currency nightStorm = nightStormApplies ? travel : Table3->fieldByName("夜間暴風難路").asCurrency();
    const Currency otherSurcharges = nightStorm + Table3->fieldByName("金属副子").asCurrency()
                                     + Table1->sum(std::array{"深夜加算", "休日加算", "時間外加算"});
    const Currency insuredTotal = Table1->sum(visitAndSiteFees) + travel
                                  + Table1->fieldByName("施術情報提供料").asCurrency() + otherSurcharges;
    const Currency copayment = rate.copayment(insuredTotal);
    const Currency counter = outsideInsurance + copayment;
    const QDate today = platform::today();

    Table1->fieldByName("保険外料金").setAsCurrency(outsideInsurance);
    if (nightStormApplies)
        Table3->fieldByName("夜間暴風難路").setAsCurrency(nightStorm);
    Table1->fieldByName("その他の保険加算料金").setAsCurrency(otherSurcharges);
    Table1->fieldByName("保険料金合計").setAsCurrency(insuredTotal);
    Table1->fieldByName("負傷部位数").setAsInteger(sites);
    Table1->fieldByName("一部負担金").setAsCurrency(copayment);
    Table1->fieldByName("窓口料金").setAsCurrency(counter);
    Table1->fieldByName("料金").setAsCurrency(counter);
    Table1->fieldByName("年月日").setAsDate(today);
    Table1->fieldByName("年").setAsInteger(today.year());
    Table1->fieldByName("月").setAsInteger(today.month());
    Table1->fieldByName("日").setAsInteger(today.day());
    Table1->post();
    // The surcharge counted in the totals is stored with them, not left pending.
    Table3->post();
    if (outsideInsurance == Currency())
        widgets::emptyBox(ui->Edit1);
}
