#pragma once
#include "Currency.h"

#include <QString>
#include <map>

namespace tools {

// A price list: base-fee field name -> amount.
using PriceList = std::map<QString, tables::Currency>;

// Reads the commented "field = amount" format of data/prices.txt. Throws
// tables::ConversionError naming the line for an unknown, repeated or missing
// field name or a malformed amount.
PriceList parsePrices(const QString& text, const QString& source);
PriceList samplePrices(); // the list shipped with the installation

// Creates <folder>/tables.sqlite3 with the three tables: fee and extra-fee
// tables empty, the base-fee table holding one record of `prices`. The file
// appears complete or not at all. Returns false, changing nothing, when the
// database already exists.
bool createDatabase(const QString& folder, const PriceList& prices = samplePrices());

// Writes `prices` into the base-fee record of the database in `folder`,
// creating the database first when there is none.
void loadPrices(const QString& folder, const PriceList& prices);

} // namespace tools
