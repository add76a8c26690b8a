#include "Unit1.h"

#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QLineEdit>
#include <array>

namespace {

constexpr int siteCount = 5;
using PriceBySite = std::array<const char*, siteCount>;

constexpr PriceBySite everySite(const char* price) { return {price, price, price, price, price}; }

// The base-fee field each injury row copies into a site's box. Only the
// sprain row is priced per site; the price list has three sprain prices, so
// sites 4 and 5 are charged the third site's.
constexpr std::array<PriceBySite, 11> injuryPrices{{
    {"施療料1", "施療料2", "施療料3", "施療料3", "施療料3"},
    everySite("大腿骨整復料"),
    everySite("鎖骨骨折整復料"),
    everySite("骨盤不全骨折固定料"),
    everySite("前腕不全骨折固定料"),
    everySite("肋骨不全骨折固定料"),
    everySite("手根骨不全骨折固定料"),
    everySite("肩関節脱臼整復料"),
    everySite("股関節脱臼整復料"),
    everySite("肘関節脱臼整復料"),
    everySite("顎関節脱臼整復料"),
}};

// A site treated initially carries no aftercare, so an injury button of
// sites 1-3 withdraws its column's aftercare, warm-compress and
// electrotherapy fees and whitens their indicators. The cold compress goes
// with an initial treatment and stays. Sites 4 and 5 exist only in their box.
struct InjurySite {
    std::array<int, 3> indicators;              // Shape numbers, whitened in this order
    std::array<const char*, 3> aftercareFields; // emptied in this order; none for sites 4, 5
    bool heldByReexamination;                   // a re-examination leaves no first treatment to site 1
};
constexpr std::array<InjurySite, siteCount> injurySites{{
    {{26, 4, 7}, {"後療料1", "温罨法料1", "電療料1"}, true},
    {{27, 5, 8}, {"後療料2", "温罨法料2", "電療料2"}, false},
    {{28, 6, 9}, {"後療料3", "温罨法料3", "電療料3"}, false},
    {{}, {}, false},
    {{}, {}, false},
}};

constexpr int reexaminationIndicator = 25;

} // namespace

// Every field the press needs is looked up before anything changes, so a
// price list or fee table that lacks one fails the press as a whole instead
// of withdrawing the aftercare of a site whose box then stays unfilled.
void TForm1::injuryButton(int row, int site)
{
    const InjurySite& target = injurySites.at(site - 1);
    const bool hasAftercare = target.aftercareFields[0] != nullptr;
    const bool fillsBox =
        !(target.heldByReexamination && indicator(reexaminationIndicator)->brushColor() != widgets::clWhite);

    Table3->open();
    const tables::Field* price =
        fillsBox ? &Table3->fieldByName(injuryPrices.at(row - 1).at(site - 1)) : nullptr;
    if (hasAftercare) {
        Table1->open();
        std::array<tables::Field*, 3> aftercare{};
        for (std::size_t i = 0; i < aftercare.size(); ++i)
            aftercare[i] = &Table1->fieldByName(target.aftercareFields[i]);

        for (int shape : target.indicators)
            indicator(shape)->setBrushColor(widgets::clWhite);
        Table1->edit();
        for (tables::Field* field : aftercare)
            field->clear();
        Table1->post();
    }
    if (price)
        siteBox(site)->setText(price->asString());
}

void TForm1::Button2Click() { injuryButton(1, 1); }
void TForm1::Button3Click() { injuryButton(1, 2); }
void TForm1::Button4Click() { injuryButton(1, 3); }
void TForm1::Button5Click() { injuryButton(1, 4); }
void TForm1::Button6Click() { injuryButton(1, 5); }
void TForm1::Button7Click() { injuryButton(2, 1); }
void TForm1::Button8Click() { injuryButton(2, 2); }
void TForm1::Button9Click() { injuryButton(2, 3); }
void TForm1::Button10Click() { injuryButton(2, 4); }
void TForm1::Button11Click() { injuryButton(2, 5); }
void TForm1::Button12Click() { injuryButton(3, 1); }
void TForm1::Button13Click() { injuryButton(3, 2); }
void TForm1::Button14Click() { injuryButton(3, 3); }
void TForm1::Button15Click() { injuryButton(3, 4); }
void TForm1::Button16Click() { injuryButton(3, 5); }
void TForm1::Button17Click() { injuryButton(4, 1); }
void TForm1::Button18Click() { injuryButton(4, 2); }
void TForm1::Button19Click() { injuryButton(4, 3); }
void TForm1::Button20Click() { injuryButton(4, 4); }
void TForm1::Button21Click() { injuryButton(4, 5); }
void TForm1::Button22Click() { injuryButton(5, 1); }
void TForm1::Button23Click() { injuryButton(5, 2); }
void TForm1::Button24Click() { injuryButton(5, 3); }
void TForm1::Button25Click() { injuryButton(5, 4); }
void TForm1::Button26Click() { injuryButton(5, 5); }
void TForm1::Button27Click() { injuryButton(6, 1); }
void TForm1::Button28Click() { injuryButton(6, 2); }
void TForm1::Button29Click() { injuryButton(6, 3); }
void TForm1::Button30Click() { injuryButton(6, 4); }
void TForm1::Button31Click() { injuryButton(6, 5); }
void TForm1::Button32Click() { injuryButton(7, 1); }
void TForm1::Button33Click() { injuryButton(7, 2); }
void TForm1::Button34Click() { injuryButton(7, 3); }
void TForm1::Button35Click() { injuryButton(7, 4); }
void TForm1::Button36Click() { injuryButton(7, 5); }
void TForm1::Button37Click() { injuryButton(8, 1); }
void TForm1::Button38Click() { injuryButton(8, 2); }
void TForm1::Button39Click() { injuryButton(8, 3); }
void TForm1::Button40Click() { injuryButton(8, 4); }
void TForm1::Button41Click() { injuryButton(8, 5); }
void TForm1::Button42Click() { injuryButton(9, 1); }
void TForm1::Button43Click() { injuryButton(9, 2); }
void TForm1::Button44Click() { injuryButton(9, 3); }
void TForm1::Button45Click() { injuryButton(9, 4); }
void TForm1::Button46Click() { injuryButton(9, 5); }
void TForm1::Button47Click() { injuryButton(10, 1); }
void TForm1::Button48Click() { injuryButton(10, 2); }
void TForm1::Button49Click() { injuryButton(10, 3); }
void TForm1::Button50Click() { injuryButton(10, 4); }
void TForm1::Button51Click() { injuryButton(10, 5); }
void TForm1::Button52Click() { injuryButton(11, 1); }
void TForm1::Button53Click() { injuryButton(11, 2); }
void TForm1::Button54Click() { injuryButton(11, 3); }
void TForm1::Button55Click() { injuryButton(11, 4); }
void TForm1::Button56Click() { injuryButton(11, 5); }
