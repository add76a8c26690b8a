#include "widgets/DataSource.h"

#include "widgets/DBEdit.h"

namespace widgets {

DataSource::DataSource(tables::Table* table, QObject* parent) : QObject(parent), m_table(table)
{
    connect(table, &tables::Table::changed, this, &DataSource::dataChanged);
    m_updater = table->addUpdater([this] { handOverPendingText(); });
}

DataSource::~DataSource()
{
    if (m_table)
        m_table->removeUpdater(m_updater);
}

void DataSource::attach(DBEdit* box)
{
    m_boxes.emplace_back(box);
}

void DataSource::detach(DBEdit* box)
{
    std::erase_if(m_boxes, [box](const QPointer<DBEdit>& b) { return b.isNull() || b == box; });
}

void DataSource::handOverPendingText()
{
    // A box's write changes the table and may rebind boxes: walk a copy.
    const auto boxes = m_boxes;
    for (const QPointer<DBEdit>& box : boxes)
        if (box)
            box->updateRecord();
}

} // namespace widgets
