#include "Unit1.h"

#include "tables/Currency.h"
#include "tables/Table.h"
#include "widgets/Boxes.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QLineEdit>
#include <array>
#include <optional>

// Aftercare, compress and therapy toggles of sites 1-3. The families exclude
// one another within a column: an apply empties the fees that cannot stand
// beside it and whitens their indicators; a removal only empties its own.

namespace {

// The fee fields of one site's column, which are also the base-fee fields
// their prices are copied from, and the indicators that remember them.
struct AftercareColumn {
    const char* aftercare;
    const char* warm;
    const char* electro;
    const char* cold;
    int coldShape;
    int warmShape;
    int longTermShape;
    int sprainShape;
    // The third site is charged fracture and dislocation aftercare at a
    // reduced rate; the first two copy the price as it stands.
    std::optional<int> fracturePercent;
};

constexpr std::array<AftercareColumn, 3> columns{{
    {"後療料1", "温罨法料1", "電療料1", "冷罨法料1", 1, 4, 7, 26, std::nullopt},
    {"後療料2", "温罨法料2", "電療料2", "冷罨法料2", 2, 5, 8, 27, std::nullopt},
    {"後療料3", "温罨法料3", "電療料3", "冷罨法料3", 3, 6, 9, 28, 70},
}};

// Fracture and dislocation aftercare, one base-fee price a family.
constexpr std::array<const char*, 5> fractureAftercarePrices{
    "骨折後療料", "骨折後療料拘縮2関節以上", "不全骨折後療料", "不全骨折後療料拘縮2関節", "脱臼後療料",
};

constexpr int longTermPercent = 80;

// An empty price empties the fee: no fee, not 0 yen.
void copyAsText(tables::Table* prices, tables::Table* fees, const char* price, const char* fee)
{
    fees->fieldByName(fee).setAsString(prices->fieldByName(price).asString());
}

// An empty price reads as 0, so the reduced fee is 0 yen, never empty.
void reduce(tables::Table* prices, tables::Table* fees, const char* price, const char* fee, int percent)
{
    fees->fieldByName(fee).setAsCurrency(tables::Currency::reducedAt(prices->fieldByName(price).asCurrency(), percent));
}

// A toggle applies on white and removes on any other colour.
bool isWhite(const widgets::Shape* s) { return s->brushColor() == widgets::clWhite; }
bool isLime(const widgets::Shape* s) { return s->brushColor() == widgets::clLime; }
void lime(widgets::Shape* s) { s->setBrushColor(widgets::clLime); }
void white(widgets::Shape* s) { s->setBrushColor(widgets::clWhite); }

// Opens the price list, then the visit record, and starts editing the record.
void editWithPrices(tables::Table* prices, tables::Table* fees)
{
    prices->open();
    fees->open();
    fees->edit();
}

} // namespace

// Sprain and fracture aftercare replace long-term aftercare at a site, and
// with it the warm compress and electrotherapy it held at the reduced price.
void TForm1::replaceLongTerm(int site)
{
    const AftercareColumn& c = columns.at(site - 1);
    if (!isLime(indicator(c.longTermShape)))
        return;
    white(indicator(c.longTermShape));
    Table1->clearFields(std::array{c.warm, c.electro});
}

// Cold compress cannot stand beside sprain or long-term aftercare: while one
// of them is applied the button only makes sure its own fee is gone.
void TForm1::coldCompress(int site)
{
    const AftercareColumn& c = columns.at(site - 1);
    if (isWhite(indicator(c.coldShape)) && isWhite(indicator(c.sprainShape)) && isWhite(indicator(c.longTermShape))) {
        lime(indicator(c.coldShape));
        white(indicator(c.warmShape));
        editWithPrices(Table3, Table1);
        copyAsText(Table3, Table1, c.cold, c.cold);
        Table1->clearFields(std::array{c.warm, c.electro});
    } else {
        white(indicator(c.coldShape));
        editWithPrices(Table3, Table1);
        Table1->fieldByName(c.cold).clear();
    }
    Table1->post();
}

void TForm1::warmCompress(int site)
{
    const AftercareColumn& c = columns.at(site - 1);
    if (isWhite(indicator(c.warmShape))) {
        lime(indicator(c.warmShape));
        white(indicator(c.coldShape));
        editWithPrices(Table3, Table1);
        copyAsText(Table3, Table1, c.warm, c.warm);
        copyAsText(Table3, Table1, c.electro, c.electro);
        Table1->fieldByName(c.cold).clear();
        widgets::emptyBox(siteBox(site));
        // Long-term aftercare holds the warm compress at its reduced price.
        if (isLime(indicator(c.longTermShape))) {
            Table1->fieldByName(c.aftercare).clear();
            white(indicator(c.longTermShape));
        }
    } else {
        white(indicator(c.warmShape));
        editWithPrices(Table3, Table1);
        Table1->clearFields(std::array{c.warm, c.electro});
    }
    Table1->post();
}

void TForm1::sprainAftercare(int site)
{
    const AftercareColumn& c = columns.at(site - 1);
    if (isWhite(indicator(c.sprainShape))) {
        lime(indicator(c.sprainShape));
        editWithPrices(Table3, Table1);
        copyAsText(Table3, Table1, c.aftercare, c.aftercare);
        white(indicator(c.coldShape));
        Table1->fieldByName(c.cold).clear();
        replaceLongTerm(site);
        widgets::emptyBox(siteBox(site));
    } else {
        white(indicator(c.sprainShape));
        Table1->open();
        Table1->edit();
        Table1->fieldByName(c.aftercare).clear();
    }
    Table1->post();
}

void TForm1::longTermAftercare(int site)
{
    const AftercareColumn& c = columns.at(site - 1);
    if (isWhite(indicator(c.longTermShape))) {
        lime(indicator(c.longTermShape));
        whiten({c.warmShape, c.coldShape, c.sprainShape});
        editWithPrices(Table3, Table1);
        for (const char* name : {c.aftercare, c.warm, c.electro})
            reduce(Table3, Table1, name, name, longTermPercent);
        Table1->fieldByName(c.cold).clear();
        widgets::emptyBox(siteBox(site));
    } else {
        white(indicator(c.longTermShape));
        editWithPrices(Table3, Table1);
        Table1->clearFields(std::array{c.aftercare, c.warm, c.electro});
    }
    Table1->post();
}

// No indicator of its own and no removal: every press writes the amount
// again. The cold compress may stay beside it.
void TForm1::fractureAftercare(int family, int site)
{
    const AftercareColumn& c = columns.at(site - 1);
    const char* price = fractureAftercarePrices.at(family);
    white(indicator(c.sprainShape));
    editWithPrices(Table3, Table1);
    if (c.fracturePercent)
        reduce(Table3, Table1, price, c.aftercare, *c.fracturePercent);
    else
        copyAsText(Table3, Table1, price, c.aftercare);
    replaceLongTerm(site);
    widgets::emptyBox(siteBox(site));
    Table1->post();
}

void TForm1::Button57Click() { coldCompress(1); }
void TForm1::Button58Click() { coldCompress(2); }
void TForm1::Button59Click() { coldCompress(3); }
void TForm1::Button96Click() { warmCompress(1); }
void TForm1::Button97Click() { warmCompress(2); }
void TForm1::Button98Click() { warmCompress(3); }
void TForm1::Button78Click() { sprainAftercare(1); }
void TForm1::Button79Click() { sprainAftercare(2); }
void TForm1::Button80Click() { sprainAftercare(3); }
void TForm1::Button99Click() { longTermAftercare(1); }
void TForm1::Button100Click() { longTermAftercare(2); }
void TForm1::Button101Click() { longTermAftercare(3); }
void TForm1::Button81Click() { fractureAftercare(0, 1); }
void TForm1::Button82Click() { fractureAftercare(0, 2); }
void TForm1::Button83Click() { fractureAftercare(0, 3); }
void TForm1::Button84Click() { fractureAftercare(1, 1); }
void TForm1::Button85Click() { fractureAftercare(1, 2); }
void TForm1::Button86Click() { fractureAftercare(1, 3); }
void TForm1::Button87Click() { fractureAftercare(2, 1); }
void TForm1::Button88Click() { fractureAftercare(2, 2); }
void TForm1::Button89Click() { fractureAftercare(2, 3); }
void TForm1::Button90Click() { fractureAftercare(3, 1); }
void TForm1::Button91Click() { fractureAftercare(3, 2); }
void TForm1::Button92Click() { fractureAftercare(3, 3); }
void TForm1::Button93Click() { fractureAftercare(4, 1); }
void TForm1::Button94Click() { fractureAftercare(4, 2); }
void TForm1::Button95Click() { fractureAftercare(4, 3); }
