#pragma once
#include <QString>
#include <span>

namespace tables {

enum class FieldType { Float, Currency, SmallInt, Text, Date };

struct FieldDef {
    const char* name; // UTF-8, exactly the column name
    FieldType type;
    int size = 0;     // Text only: Shift_JIS bytes

    QString qname() const { return QString::fromUtf8(name); }
    // The declared SQLite type of the storage contract: "CURRENCY", "VARCHAR(30)", ...
    QString declaredType() const;
    bool operator==(const FieldDef&) const;
};

// Reads a declared column type back; false when it is none of ours.
bool parseDeclaredType(const QString& declared, FieldType& type, int& size);
QString typeName(FieldType type, int size);

namespace schema {

inline constexpr const char* DatabaseFile = "tables.sqlite3";
inline constexpr const char* FeeTable = "料金";
inline constexpr const char* ExtraFeeTable = "料金2";
inline constexpr const char* BaseFeeTable = "捻挫打撲基料金";

// The fee table's fields, in the order the sprain/bruise window declares them.
std::span<const FieldDef> feeFields();
std::span<const FieldDef> extraFeeFields();
std::span<const FieldDef> baseFeeFields();

} // namespace schema
} // namespace tables
