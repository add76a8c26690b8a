#pragma once
#include "tables/Field.h"
#include "widgets/DataSource.h"

#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <exception>

namespace widgets {

class DataSource;
class FieldTextValidator;

// How a box treats the input method when it has the focus.
enum class Ime { Unchanged, Off, Katakana, Kanji };

// Switches the input method off (Ime::Off) or on (Katakana, Kanji) for a box;
// Unchanged leaves it as it is. Plain edit boxes use it too.
void applyIme(QWidget* box, Ime ime);

// A data-aware edit box: shows one field of its data source's working record,
// follows every change of it, and stores what the operator types.
//
// Typing puts the table into edit state. The typed text goes into the field
// when the box loses the focus or when the table is posted, whichever comes
// first. Text the field cannot take is reported (the standard error box on
// focus-out; a throw out of the post) and the box goes back to the field's
// value, so what the box shows is what is stored. A box bound to a text field
// refuses characters Shift_JIS cannot hold and text longer than the field's
// Shift_JIS bytes.
//
// In a .ui file the binding is data: the properties dataSourceName and
// dataField name the source and the field, and ime is "off", "katakana" or
// "kanji" (empty: unchanged).
class DBEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString dataSourceName READ dataSourceName WRITE setDataSourceName)
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QString ime READ imeName WRITE setIme)
public:
    explicit DBEdit(QWidget* parent = nullptr);
    ~DBEdit() override;

    QString dataSourceName() const { return m_dataSourceName; }
    void setDataSourceName(const QString& name) { m_dataSourceName = name; }
    QString dataField() const { return m_dataField; }
    void setDataField(const QString& name);

    Ime ime() const { return m_ime; }
    QString imeName() const;
    void setIme(Ime ime);
    void setIme(const QString& name); // "off", "katakana", "kanji"; anything else: unchanged

    DataSource* dataSource() const { return m_source; }
    void setDataSource(DataSource* source);

    // True while the box holds typed text that has not gone into the field.
    bool hasPendingText() const { return m_pending; }

    // Hands typed text over to the field. On failure the box shows the
    // field's value again and the error is thrown on to the caller.
    void updateRecord();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    tables::Table* table() const;
    tables::Field* field() const;
    tables::Field::Value fieldValue() const;
    void showFieldText();
    void followRecord(const tables::Field* written);
    void startTyping();
    void reportLater(std::exception_ptr error);
    void configureInput();
    void configureInput(const tables::Field* f);

    QString m_dataSourceName;
    QString m_dataField;
    Ime m_ime = Ime::Unchanged;
    QPointer<DataSource> m_source;
    FieldTextValidator* m_validator = nullptr;
    bool m_pending = false;
    tables::Field::Value m_valueWhenTypingBegan;
};

// Binds every DBEdit below `form` to the source its dataSourceName names.
void bindDataAwareBoxes(QWidget* form, const QHash<QString, DataSource*>& sources);

} // namespace widgets
