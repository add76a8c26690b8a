#include "Schema.h"
#include "TextScan.h"

#include <array>

namespace tables {

namespace {
using T = FieldType;

constexpr std::array fee{
    FieldDef{"個人id", T::Float},
    FieldDef{"カナ氏名", T::Text, 30},
    FieldDef{"氏名", T::Text, 30},
    FieldDef{"料金", T::Currency},
    FieldDef{"初検料", T::Currency},
    FieldDef{"初検時相談支援料", T::Currency},
    FieldDef{"再検料", T::Currency},
    FieldDef{"施療料1", T::Currency},
    FieldDef{"施療料2", T::Currency},
    FieldDef{"施療料3", T::Currency},
    FieldDef{"冷罨法料1", T::Currency},
    FieldDef{"冷罨法料2", T::Currency},
    FieldDef{"冷罨法料3", T::Currency},
    FieldDef{"後療料1", T::Currency},
    FieldDef{"後療料2", T::Currency},
    FieldDef{"後療料3", T::Currency},
    FieldDef{"温罨法料1", T::Currency},
    FieldDef{"温罨法料2", T::Currency},
    FieldDef{"温罨法料3", T::Currency},
    FieldDef{"電療料1", T::Currency},
    FieldDef{"電療料2", T::Currency},
    FieldDef{"電療料3", T::Currency},
    FieldDef{"往療料", T::Currency},
    FieldDef{"時間外加算", T::Currency},
    FieldDef{"深夜加算", T::Currency},
    FieldDef{"休日加算", T::Currency},
    FieldDef{"施術情報提供料", T::Currency},
    FieldDef{"その他の保険加算料金", T::Currency},
    FieldDef{"保険料金合計", T::Currency},
    FieldDef{"一部負担金", T::Currency},
    FieldDef{"保険外料金", T::Currency},
    FieldDef{"窓口料金", T::Currency},
    FieldDef{"負傷部位数", T::SmallInt},
    FieldDef{"負担率", T::Text, 4},
    FieldDef{"年", T::SmallInt},
    FieldDef{"月", T::SmallInt},
    FieldDef{"日", T::SmallInt},
    FieldDef{"年月日", T::Date},
    FieldDef{"一部位目", T::SmallInt},
    FieldDef{"ニ部位目", T::SmallInt}, // katakana ニ, as the column is named
    FieldDef{"三部位目", T::SmallInt},
};

constexpr std::array extraFee{
    FieldDef{"金属副子", T::Currency},
    FieldDef{"夜間暴風難路", T::Currency},
};

constexpr std::array baseFee{
    FieldDef{"施療料1", T::Currency},
    FieldDef{"施療料2", T::Currency},
    FieldDef{"施療料3", T::Currency},
    FieldDef{"冷罨法料1", T::Currency},
    FieldDef{"冷罨法料2", T::Currency},
    FieldDef{"冷罨法料3", T::Currency},
    FieldDef{"後療料1", T::Currency},
    FieldDef{"後療料2", T::Currency},
    FieldDef{"後療料3", T::Currency},
    FieldDef{"温罨法料1", T::Currency},
    FieldDef{"温罨法料2", T::Currency},
    FieldDef{"温罨法料3", T::Currency},
    FieldDef{"電療料1", T::Currency},
    FieldDef{"電療料2", T::Currency},
    FieldDef{"電療料3", T::Currency},
    FieldDef{"初検料", T::Currency},
    FieldDef{"初検時相談支援料", T::Currency},
    FieldDef{"再検料", T::Currency},
    FieldDef{"施術情報提供料", T::Currency},
    FieldDef{"時間外加算", T::Currency},
    FieldDef{"深夜加算", T::Currency},
    FieldDef{"休日加算", T::Currency},
    FieldDef{"往療料2ｋｍ以内", T::Currency},
    FieldDef{"往療料2から4ｋｍ", T::Currency},
    FieldDef{"往療料4から6ｋｍ", T::Currency},
    FieldDef{"往療料6から8ｋｍ", T::Currency},
    FieldDef{"往療料上限", T::Currency},
    FieldDef{"金属副子加算大型", T::Currency},
    FieldDef{"金属副子加算中型", T::Currency},
    FieldDef{"金属副子加算小型", T::Currency},
    FieldDef{"大腿骨整復料", T::Currency},
    FieldDef{"鎖骨骨折整復料", T::Currency},
    FieldDef{"骨盤不全骨折固定料", T::Currency},
    FieldDef{"前腕不全骨折固定料", T::Currency},
    FieldDef{"肋骨不全骨折固定料", T::Currency},
    FieldDef{"手根骨不全骨折固定料", T::Currency},
    FieldDef{"肩関節脱臼整復料", T::Currency},
    FieldDef{"股関節脱臼整復料", T::Currency},
    FieldDef{"肘関節脱臼整復料", T::Currency},
    FieldDef{"顎関節脱臼整復料", T::Currency},
    FieldDef{"骨折後療料", T::Currency},
    FieldDef{"骨折後療料拘縮2関節以上", T::Currency},
    FieldDef{"不全骨折後療料", T::Currency},
    FieldDef{"不全骨折後療料拘縮2関節", T::Currency},
    FieldDef{"脱臼後療料", T::Currency},
    FieldDef{"長期逓減率", T::Currency},
};
} // namespace

QString typeName(FieldType type, int size)
{
    switch (type) {
    case FieldType::Float: return QStringLiteral("FLOAT");
    case FieldType::Currency: return QStringLiteral("CURRENCY");
    case FieldType::SmallInt: return QStringLiteral("SMALLINT");
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(size);
    case FieldType::Date: return QStringLiteral("DATE");
    }
    return {};
}

QString FieldDef::declaredType() const { return typeName(type, size); }

bool FieldDef::operator==(const FieldDef& o) const
{
    return qname() == o.qname() && type == o.type && (type != FieldType::Text || size == o.size);
}

bool parseDeclaredType(const QString& declared, FieldType& type, int& size)
{
    const QString t = declared.trimmed().toUpper();
    size = 0;
    if (t == u"FLOAT") type = FieldType::Float;
    else if (t == u"CURRENCY") type = FieldType::Currency;
    else if (t == u"SMALLINT") type = FieldType::SmallInt;
    else if (t == u"DATE") type = FieldType::Date;
    else {
        // VARCHAR(n), n of one to four digits, spaces allowed around the parts.
        TextScan scan(t);
        if (!scan.take(u"VARCHAR")) return false;
        scan.skipSpace();
        if (!scan.take(u'(')) return false;
        scan.skipSpace();
        const QStringView digits = scan.digits();
        scan.skipSpace();
        if (digits.isEmpty() || digits.size() > 4 || !scan.take(u')') || !scan.atEnd()) return false;
        type = FieldType::Text;
        size = digits.toInt();
        if (size <= 0) return false;
    }
    return true;
}

namespace schema {
std::span<const FieldDef> feeFields() { return fee; }
std::span<const FieldDef> extraFeeFields() { return extraFee; }
std::span<const FieldDef> baseFeeFields() { return baseFee; }
} // namespace schema

} // namespace tables
