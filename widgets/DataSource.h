#pragma once
#include "tables/Table.h"

#include <QObject>
#include <QPointer>
#include <vector>

namespace widgets {

class DBEdit;

// Joins a table to the data-aware boxes bound to it: relays every change of
// the table's buffer to them, and at the start of every post of the table
// has each box hand over the text still being typed, so the post stores it.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(tables::Table* table, QObject* parent = nullptr);
    ~DataSource() override;

    tables::Table* table() const { return m_table; }

signals:
    void dataChanged(const tables::Field* field); // as Table::changed

private:
    friend class DBEdit;
    void attach(DBEdit* box);
    void detach(DBEdit* box);
    void handOverPendingText();

    QPointer<tables::Table> m_table;
    int m_updater = 0;
    std::vector<QPointer<DBEdit>> m_boxes;
};

} // namespace widgets
