#include "widgets/DBEdit.h"

#include "platform/ErrorBox.h"
#include "tables/ShiftJis.h"
#include "tables/Table.h"
#include "widgets/DataSource.h"

#include <QFocusEvent>
#include <QTimer>
#include <QValidator>

#include <algorithm>

namespace widgets {

// Shapes what the operator types before it reaches the box: look-alike
// characters become the ones Shift_JIS holds, hiragana becomes katakana in a
// katakana box, and a text field's byte size is never exceeded.
class FieldTextValidator : public QValidator {
public:
    using QValidator::QValidator;

    void configure(int maxBytes, bool katakana)
    {
        m_maxBytes = maxBytes;
        m_katakana = katakana;
    }
    // Off while the box shows the field's own value, which is never rewritten.
    void setActive(bool active) { m_active = active; }

    State validate(QString& input, int& pos) const override
    {
        if (!m_active)
            return Acceptable;
        if (m_maxBytes >= 0 || m_katakana)
            input = tables::sjis::foldLookAlikes(input);
        if (m_katakana)
            toKatakana(input);
        pos = std::min<int>(pos, input.size());
        if (m_maxBytes < 0)
            return Acceptable;
        const int bytes = tables::sjis::byteCount(input);
        return bytes >= 0 && bytes <= m_maxBytes ? Acceptable : Invalid;
    }

private:
    static void toKatakana(QString& text)
    {
        for (QChar& c : text) {
            const char16_t u = c.unicode();
            // ぁ..ゖ and the iteration marks ゝゞ sit 0x60 below their katakana.
            if ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E)
                c = QChar(char16_t(u + 0x60));
        }
    }

    int m_maxBytes = -1;
    bool m_katakana = false;
    bool m_active = true;
};

void applyIme(QWidget* box, Ime ime)
{
    if (ime == Ime::Unchanged)
        return;
    const bool off = ime == Ime::Off;
    box->setAttribute(Qt::WA_InputMethodEnabled, !off);
    box->setInputMethodHints(off ? Qt::ImhLatinOnly : Qt::ImhNone);
}

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), m_validator(new FieldTextValidator(this))
{
    setValidator(m_validator);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::startTyping);
}

DBEdit::~DBEdit()
{
    if (m_source)
        m_source->detach(this);
}

void DBEdit::setDataField(const QString& name)
{
    m_dataField = name;
    showFieldText();
}

QString DBEdit::imeName() const
{
    switch (m_ime) {
    case Ime::Off:
        return QStringLiteral("off");
    case Ime::Katakana:
        return QStringLiteral("katakana");
    case Ime::Kanji:
        return QStringLiteral("kanji");
    case Ime::Unchanged:
        break;
    }
    return {};
}

void DBEdit::setIme(Ime ime)
{
    m_ime = ime;
    applyIme(this, ime);
    configureInput();
}

void DBEdit::setIme(const QString& name)
{
    if (name == QLatin1String("off"))
        setIme(Ime::Off);
    else if (name == QLatin1String("katakana"))
        setIme(Ime::Katakana);
    else if (name == QLatin1String("kanji"))
        setIme(Ime::Kanji);
    else
        setIme(Ime::Unchanged);
}

void DBEdit::setDataSource(DataSource* source)
{
    if (m_source) {
        m_source->detach(this);
        disconnect(m_source, nullptr, this, nullptr);
    }
    m_source = source;
    if (source) {
        source->attach(this);
        connect(source, &DataSource::dataChanged, this, &DBEdit::followRecord);
    }
    showFieldText();
}

tables::Table* DBEdit::table() const
{
    return m_source ? m_source->table() : nullptr;
}

tables::Field* DBEdit::field() const
{
    tables::Table* t = table();
    return t && t->isActive() ? t->findField(m_dataField) : nullptr;
}

tables::Field::Value DBEdit::fieldValue() const
{
    const tables::Field* f = field();
    return f ? f->value() : tables::Field::Value{};
}

void DBEdit::configureInput() { configureInput(field()); }

void DBEdit::configureInput(const tables::Field* f)
{
    m_validator->configure(f && f->type() == tables::FieldType::Text ? f->size() : -1, m_ime == Ime::Katakana);
}

void DBEdit::showFieldText()
{
    m_pending = false;
    const tables::Field* f = field();
    configureInput(f);
    const QString value = f ? f->asString() : QString();
    // Setting the text also drops the box's undo history, which would
    // otherwise keep every keystroke typed into it for the life of the window.
    const bool sameText = value == text();
    if (sameText && !isUndoAvailable() && !isRedoAvailable())
        return;
    const int cursor = cursorPosition();
    m_validator->setActive(false);
    setText(value);
    m_validator->setActive(true);
    if (sameText)
        setCursorPosition(cursor);
}

void DBEdit::followRecord(const tables::Field* written)
{
    // A write to another field leaves this box as it is; a box per field
    // refreshing on every write made each press cost boxes times writes.
    if (written && written->name() != m_dataField)
        return;
    if (m_pending) {
        // Keep the operator's text while the record stays in edit state and
        // nobody else wrote this field; a post, a close or a handler's write
        // to the field replaces it, as the record is what counts.
        const tables::Table* t = table();
        const bool editing = t && (t->state() == tables::Table::State::Edit
                                   || t->state() == tables::Table::State::Insert);
        if (editing && fieldValue() == m_valueWhenTypingBegan)
            return;
    }
    showFieldText();
}

void DBEdit::startTyping()
{
    if (m_pending)
        return;
    tables::Table* t = table();
    if (!t || !t->isActive()) {
        // A closed table has no record to type into.
        showFieldText();
        return;
    }
    m_valueWhenTypingBegan = fieldValue();
    m_pending = true;
    try {
        t->edit();
    } catch (...) {
        showFieldText();
        reportLater(std::current_exception());
    }
}

void DBEdit::updateRecord()
{
    if (!m_pending)
        return;
    m_pending = false;
    tables::Table* t = table();
    if (!t)
        return;
    try {
        t->fieldByName(m_dataField).setAsString(text());
    } catch (...) {
        showFieldText();
        throw;
    }
    showFieldText();
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or another application taking the focus is not the
    // operator leaving the box.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    try {
        updateRecord();
    } catch (...) {
        reportLater(std::current_exception());
    }
}

void DBEdit::reportLater(std::exception_ptr error)
{
    // Shown once the focus change is over: a modal box in the middle of it
    // would swallow the click that moved the focus.
    QTimer::singleShot(0, this, [this, error] {
        platform::guarded(window(), [&error] { std::rethrow_exception(error); });
    });
}

void bindDataAwareBoxes(QWidget* form, const QHash<QString, DataSource*>& sources)
{
    for (DBEdit* box : form->findChildren<DBEdit*>()) {
        DataSource* source = sources.value(box->dataSourceName());
        Q_ASSERT_X(source, "bindDataAwareBoxes", qPrintable(box->objectName() + QStringLiteral(": no data source")));
        if (!source)
            qCritical("%s names the unknown data source \"%s\"", qPrintable(box->objectName()),
                      qPrintable(box->dataSourceName()));
        box->setDataSource(source);
    }
}

} // namespace widgets
