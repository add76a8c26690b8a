#pragma once
#include "Currency.h"
#include "Schema.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <variant>

namespace tables {

class Table;

// One field of a table's working record: a typed value or empty (NULL).
// Writes go through the table, which must be in edit or insert state.
class Field {
public:
    using Value = std::variant<std::monostate, double, std::int64_t, QString, QDate>;

    const QString& name() const { return m_name; }
    FieldType type() const { return m_type; }
    int size() const { return m_size; }
    bool isNull() const { return std::holds_alternative<std::monostate>(m_value); }
    const Value& value() const { return m_value; }

    // Plain decimal for numbers ("1234", "1234.5"), yyyy/MM/dd for dates, the
    // text itself for text; the empty text for an empty field.
    QString asString() const;
    // Amounts and numbers in ten-thousandths (floats rounded half to even);
    // 0 for an empty field; text and dates throw ConversionError.
    Currency asCurrency() const;
    int asInteger() const;
    QDate asDate() const;

    // The empty text empties any field. Otherwise numbers must parse and fit,
    // dates must read as yyyy/MM/dd or yyyy-MM-dd, and text must fit the
    // field's Shift_JIS bytes; else ConversionError and the field is unchanged.
    void setAsString(const QString& text);
    void setAsCurrency(Currency value);
    void setAsInteger(int value);
    void setAsDate(const QDate& date);
    void clear() { setAsString(QString()); }

private:
    friend class Table;
    Field(Table* table, FieldDef def);
    void assign(Value v);
    [[noreturn]] void conversionFailed(const QString& text, const QString& why) const;

    Table* m_table;
    QString m_name;
    FieldType m_type;
    int m_size;
    Value m_value;
};

} // namespace tables
