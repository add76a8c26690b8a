#pragma once
#include "tables/Table.h"

#include <QStringList>
#include <algorithm>
#include <vector>

// A working record as one line of text, field by field in name order, so the
// record a program was about to post and the record found in the file later
// compare exactly (floats to all their digits, empty distinct from 0 and "").
inline QString recordState(const tables::Table& table)
{
    if (table.isEmpty() && table.state() != tables::Table::State::Insert)
        return QStringLiteral("<no record>");
    std::vector<const tables::Field*> fields;
    for (const tables::Field& f : table.fields())
        fields.push_back(&f);
    std::sort(fields.begin(), fields.end(), [](auto* a, auto* b) { return a->name() < b->name(); });
    QStringList parts;
    for (const tables::Field* f : fields) {
        const QString value = std::visit(
            [](const auto& v) -> QString {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::monostate>) return QStringLiteral("N");
                else if constexpr (std::is_same_v<V, double>) return QStringLiteral("r:") + QString::number(v, 'g', 17);
                else if constexpr (std::is_same_v<V, std::int64_t>) return QStringLiteral("i:") + QString::number(v);
                else if constexpr (std::is_same_v<V, QString>) return QStringLiteral("t:") + v.toUtf8().toPercentEncoding();
                else return QStringLiteral("d:") + v.toString(Qt::ISODate);
            },
            f->value());
        parts << f->name() + u'=' + value;
    }
    return parts.join(u' ');
}
