#include "Field.h"
#include "Error.h"
#include "ShiftJis.h"
#include "Table.h"
#include "TextScan.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace tables {

namespace {
// Up to nine digits with an optional sign, white space around.
bool isInteger(QStringView text)
{
    TextScan scan(text);
    scan.skipSpace();
    scan.takeSign();
    const qsizetype digits = scan.digits().size();
    scan.skipSpace();
    return digits >= 1 && digits <= 9 && scan.atEnd();
}

// A decimal number with an optional sign and exponent ("-1.5", ".5", "2e3"),
// white space around.
bool isNumber(QStringView text)
{
    TextScan scan(text);
    scan.skipSpace();
    scan.takeSign();
    const qsizetype whole = scan.digits().size();
    const qsizetype fraction = scan.take(u'.') ? scan.digits().size() : 0;
    bool valid = whole > 0 || fraction > 0;
    if (scan.take(u'e') || scan.take(u'E')) {
        scan.takeSign();
        const qsizetype exponent = scan.digits().size();
        valid = valid && exponent >= 1 && exponent <= 3;
    }
    scan.skipSpace();
    return valid && scan.atEnd();
}

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

QDate parseDate(const QString& text)
{
    for (const char* fmt : {"yyyy/MM/dd", "yyyy-MM-dd", "yyyy/M/d", "yyyy-M-d"}) {
        const QDate d = QDate::fromString(text.trimmed(), QString::fromLatin1(fmt));
        if (d.isValid()) return d;
    }
    return {};
}

std::int64_t roundHalfEven(double v)
{
    const double r = std::nearbyint(v); // default rounding mode: to nearest, ties to even
    return static_cast<std::int64_t>(r);
}

bool fitsUnits(double units)
{
    return std::isfinite(units) && units > -9.2e18 && units < 9.2e18;
}

QString shown(const QString& text) { return text.size() > 40 ? text.left(40) + u'…' : text; }
} // namespace

Field::Field(Table* table, FieldDef def)
    : m_table(table), m_name(def.qname()), m_type(def.type), m_size(def.size)
{
}

QString Field::asString() const
{
    return std::visit(
        [this](const auto& v) -> QString {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::monostate>) return {};
            // The shortest text that reads back as the same double: with fewer
            // digits a box would show, and a later post store, another number.
            else if constexpr (std::is_same_v<V, double>) return QString::number(v, 'g', QLocale::FloatingPointShortest);
            else if constexpr (std::is_same_v<V, std::int64_t>)
                return m_type == FieldType::Currency ? Currency::fromUnits(v).toText() : QString::number(v);
            else if constexpr (std::is_same_v<V, QString>) return v;
            else return v.toString(kDateFormat);
        },
        m_value);
}

Currency Field::asCurrency() const
{
    switch (m_type) {
    case FieldType::Currency:
        return isNull() ? Currency() : Currency::fromUnits(std::get<std::int64_t>(m_value));
    case FieldType::SmallInt:
        return isNull() ? Currency() : Currency::fromYen(std::get<std::int64_t>(m_value));
    case FieldType::Float: {
        if (isNull()) return {};
        const double units = std::get<double>(m_value) * Currency::Scale;
        if (!fitsUnits(units)) conversionFailed(asString(), QStringLiteral("金額の範囲を超えています"));
        return Currency::fromUnits(roundHalfEven(units));
    }
    case FieldType::Text:
        if (isNull()) return {};
        try {
            return Currency::fromText(std::get<QString>(m_value));
        } catch (const ConversionError&) {
            conversionFailed(asString(), QStringLiteral("金額ではありません"));
        }
    case FieldType::Date:
        break;
    }
    conversionFailed(asString(), QStringLiteral("日付は金額として読めません"));
}

int Field::asInteger() const
{
    if (isNull()) return 0;
    switch (m_type) {
    case FieldType::SmallInt: return int(std::get<std::int64_t>(m_value));
    case FieldType::Currency: {
        const std::int64_t yen = std::get<std::int64_t>(m_value) / Currency::Scale;
        if (yen < std::numeric_limits<int>::min() || yen > std::numeric_limits<int>::max())
            conversionFailed(asString(), QStringLiteral("整数の範囲を超えています"));
        return int(yen);
    }
    case FieldType::Float: {
        const double v = std::get<double>(m_value);
        if (!(std::fabs(v) < 2147483647.0)) conversionFailed(asString(), QStringLiteral("整数の範囲を超えています"));
        return int(std::lround(v));
    }
    case FieldType::Text: {
        bool ok = false;
        const int v = std::get<QString>(m_value).trimmed().toInt(&ok);
        if (!ok) conversionFailed(asString(), QStringLiteral("整数ではありません"));
        return v;
    }
    case FieldType::Date: break;
    }
    conversionFailed(asString(), QStringLiteral("日付は整数として読めません"));
}

QDate Field::asDate() const
{
    if (isNull()) return {};
    if (m_type == FieldType::Date) return std::get<QDate>(m_value);
    if (m_type == FieldType::Text) {
        const QDate d = parseDate(std::get<QString>(m_value));
        if (d.isValid()) return d;
    }
    conversionFailed(asString(), QStringLiteral("日付ではありません"));
}

void Field::setAsString(const QString& text)
{
    if (text.isEmpty()) return assign(std::monostate{});
    switch (m_type) {
    case FieldType::Currency:
        try {
            return assign(Currency::fromText(text).units());
        } catch (const ConversionError&) {
            conversionFailed(text, QStringLiteral("金額として正しくありません。数字で入力してください"));
        }
    case FieldType::SmallInt: {
        if (!isInteger(text)) conversionFailed(text, QStringLiteral("整数ではありません"));
        const int v = text.trimmed().toInt();
        if (v < -32768 || v > 32767) conversionFailed(text, QStringLiteral("-32768 から 32767 までの整数にしてください"));
        return assign(std::int64_t(v));
    }
    case FieldType::Float: {
        bool ok = false;
        const double v = isNumber(text) ? QLocale::c().toDouble(text.trimmed(), &ok) : 0.0;
        if (!ok || !std::isfinite(v)) conversionFailed(text, QStringLiteral("数値ではありません"));
        return assign(v);
    }
    case FieldType::Text: {
        const int bytes = sjis::byteCount(text);
        if (bytes < 0) conversionFailed(text, QStringLiteral("保存できない文字が含まれています"));
        if (bytes > m_size)
            conversionFailed(text, QStringLiteral("長すぎます（半角%1文字・全角%2文字まで）").arg(m_size).arg(m_size / 2));
        return assign(text);
    }
    case FieldType::Date: {
        const QDate d = parseDate(text);
        if (!d.isValid()) conversionFailed(text, QStringLiteral("日付ではありません（例: 2026/12/11）"));
        return assign(d);
    }
    }
}

void Field::setAsCurrency(Currency value)
{
    switch (m_type) {
    case FieldType::Currency: return assign(value.units());
    case FieldType::Float: return assign(double(value.units()) / Currency::Scale);
    case FieldType::SmallInt:
    case FieldType::Text: return setAsString(value.toText());
    case FieldType::Date: break;
    }
    conversionFailed(value.toText(), QStringLiteral("日付の項目に金額は入りません"));
}

void Field::setAsInteger(int value)
{
    switch (m_type) {
    case FieldType::Currency: return assign(Currency::fromYen(value).units());
    case FieldType::Float: return assign(double(value));
    case FieldType::SmallInt:
    case FieldType::Text: return setAsString(QString::number(value));
    case FieldType::Date: break;
    }
    conversionFailed(QString::number(value), QStringLiteral("日付の項目に整数は入りません"));
}

void Field::setAsDate(const QDate& date)
{
    if (!date.isValid()) return assign(std::monostate{});
    if (m_type == FieldType::Date) return assign(date);
    if (m_type == FieldType::Text) return setAsString(date.toString(kDateFormat));
    conversionFailed(date.toString(kDateFormat), QStringLiteral("日付を入れる項目ではありません"));
}

void Field::assign(Value v)
{
    m_table->requireActive("書き込み");
    if (m_table->state() != Table::State::Edit && m_table->state() != Table::State::Insert)
        throw DatabaseError(QStringLiteral("テーブル「%1」が編集状態でないため、項目「%2」に書き込めません。")
                                .arg(m_table->name(), m_name));
    m_value = std::move(v);
    m_table->fieldWritten(*this);
}

void Field::conversionFailed(const QString& text, const QString& why) const
{
    throw ConversionError(QStringLiteral("「%1」は項目「%2」に入れられません: %3。").arg(shown(text), m_name, why));
}

} // namespace tables
