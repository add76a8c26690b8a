#include "Unit1.h"
#include "ui_Unit1.h"

#include "platform/Clock.h"
#include "platform/RateDraw.h"
#include "tables/Currency.h"
#include "tables/Rate.h"
#include "tables/Table.h"

#include <QDate>
#include <QLineEdit>
#include <array>
#include <numeric>
#include <span>
#include <variant>
#include <vector>

using tables::Currency;
using tables::Field;
using tables::Table;

namespace {

// The co-payment rate of a visit is forced at random: each rate has a number
// of the 44 equally likely outcomes of one draw.
constexpr tables::Rate rates[] = {
    {"２割", 30, 2}, {"３割", 1, 3}, {"１割", 1, 1}, {"０割", 10, 0}, {"100%", 2, tables::Rate::wholeTotal},
};
static_assert(tables::outcomesOf(rates) == 44);

const tables::Rate& drawRate()
{
    return tables::rateForOutcome(rates, platform::drawUniform(tables::outcomesOf(rates)));
}

// The record has three initial-treatment fields for five sites: site 4 is
// stored with site 1 and site 5 with site 2. Only sites 1-3 have an
// aftercare fee, which makes a site count without an initial treatment.
struct CalculationSite {
    int treatmentField; // index into treatmentFields
    const char* aftercare;
};
constexpr std::array<const char*, 3> treatmentFields{"施療料1", "施療料2", "施療料3"};
constexpr std::array<CalculationSite, 5> calculationSites{{
    {0, "後療料1"}, {1, "後療料2"}, {2, "後療料3"}, {0, nullptr}, {1, nullptr},
}};

// The insured fees of the fee record besides the initial treatments.
constexpr const char* visitFees[] = {"初検料", "再検料", "初検時相談支援料", "施術情報提供料"};
constexpr const char* timeAndTravelFees[] = {"休日加算", "時間外加算", "深夜加算", "往療料"};
constexpr const char* aftercareFees[] = {"後療料1", "温罨法料1", "電療料1", "後療料2", "温罨法料2",
                                         "電療料2", "後療料3", "温罨法料3", "電療料3"};
constexpr const char* coldCompressFees[] = {"冷罨法料1", "冷罨法料2", "冷罨法料3"};
constexpr const char* extraFees[] = {"金属副子", "夜間暴風難路"};
constexpr const char* timeSurcharges[] = {"深夜加算", "時間外加算", "休日加算"};

// The text of a box as an amount; an empty box is no amount.
Currency amountIn(const QLineEdit* box)
{
    return box->text().isEmpty() ? Currency() : Currency::fromText(box->text());
}

// One computed value for one field of the fee record. The fee outside
// insurance is stored as the operator typed it (empty text empties it).
struct Output {
    const char* field;
    std::variant<Currency, int, QDate, QString> value;
};

void write(Field& field, const Output& output)
{
    std::visit(
        [&field](const auto& value) {
            using V = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<V, Currency>) field.setAsCurrency(value);
            else if constexpr (std::is_same_v<V, int>) field.setAsInteger(value);
            else if constexpr (std::is_same_v<V, QDate>) field.setAsDate(value);
            else field.setAsString(value);
        },
        output.value);
}

} // namespace

// The drawn rate is stored on its own first, so the operator sees the rate
// forced on the visit even when the rest cannot be computed. Everything else is converted, looked up and summed before the first field
// is written: a box that holds no amount, a missing field or a sum beyond the
// currency range stops the calculation with the record as it was, and no
// half-computed total is left in edit state for the next post to store.
void TForm1::Button73Click()
{
    const tables::Rate& rate = drawRate();
    Table1->open();
    Table1->edit();
    Table1->fieldByName("負担率").setAsString(QString::fromUtf8(rate.text));
    Table1->post();

    Table2->open();
    std::array<Currency, treatmentFields.size()> treatments{};
    int sites = 0;
    for (std::size_t i = 0; i < calculationSites.size(); ++i) {
        const CalculationSite& site = calculationSites[i];
        const QLineEdit* box = siteBox(int(i) + 1);
        treatments[site.treatmentField] += amountIn(box);
        if (!box->text().isEmpty() || (site.aftercare && Table1->fieldByName(site.aftercare).asCurrency() > Currency()))
            ++sites;
    }
    const QString outsideText = ui->Edit6->text();
    const Currency outsideInsurance = amountIn(ui->Edit6);

    const Currency extra = Table2->sum(extraFees);
    const Currency insuredTotal = Table1->sum(visitFees) + extra + Table1->sum(timeAndTravelFees)
                                  + Table1->sum(aftercareFees)
                                  + std::accumulate(treatments.begin(), treatments.end(), Currency())
                                  + Table1->sum(coldCompressFees);
    const Currency copayment = rate.copayment(insuredTotal);
    const Currency counter = copayment + outsideInsurance;
    const Currency otherSurcharges = extra + Table1->sum(timeSurcharges);
    const QDate today = platform::today();

    const Output outputs[] = {
        {treatmentFields[0], treatments[0]},
        {treatmentFields[1], treatments[1]},
        {treatmentFields[2], treatments[2]},
        {"保険料金合計", insuredTotal},
        {"一部負担金", copayment},
        {"負傷部位数", sites},
        {"年月日", today},
        {"年", today.year()},
        {"月", today.month()},
        {"日", today.day()},
        {"保険外料金", outsideText},
        {"窓口料金", counter},
        {"料金", counter},
        {"その他の保険加算料金", otherSurcharges},
    };
    std::vector<Field*> targets;
    for (const Output& output : outputs)
        targets.push_back(&Table1->fieldByName(output.field));

    Table1->edit();
    Table2->edit();
    for (std::size_t i = 0; i < targets.size(); ++i)
        write(*targets[i], outputs[i]);
    Table1->post();
    Table2->post();
}
