// Whatever is typed or pasted into any box of either window, the window
// reports it or refuses it, never crashes, and never stores a value other
// than the one the box shows once the operator has left it or the record
// has been posted.
#include "BothWindows.h"
#include "TempDatabase.h"

#include "tables/Currency.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"

#include <QLocale>

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

struct Hostile {
    const char* what;
    QString text;
    bool paste; // long texts and characters no key gives come by the clipboard
};

const Hostile hostileTexts[] = {
    {"letters", u("abc"), false},
    {"digits then letters", u("12abc"), false},
    {"huge number", u("123456789012345678901234567890"), false},
    {"just past the largest amount", u("922337203685478"), false},
    {"huge negative", u("-99999999999999999999"), false},
    {"many digits of a patient number", u("12345678901234567"), false},
    {"exponent", u("1e3"), false},
    {"huge exponent", u("1e999"), false},
    {"many decimals", u("1.23456789"), false},
    {"full-width digits", u("１２３"), false},
    {"full-width letters", u("ＡＢＣ"), false},
    {"sign alone", u("-"), false},
    {"blanks", u("   "), false},
    {"not a day", u("2024/02/30"), false},
    {"NUL typed", QStringLiteral("12") + QChar(u'\0') + QStringLiteral("3"), false},
    {"NUL pasted", QStringLiteral("12") + QChar(u'\0') + QStringLiteral("3"), true},
    {"10,000 digits", QString(10000, u'9'), true},
    {"10,000 katakana", u("ア").repeated(10000), true},
    {"outside Shift_JIS", u("𠮷野家 한글 ☃"), false},
    {"emoji", u("😀🏥"), false},
    {"emoji pasted", u("ヤマダ😀"), true},
};

// The value a field holds when it holds what `text` says, in the form a
// box shows it; "<unreadable>" when the text is no such value at all.
tables::Field::Value valueShownBy(const QString& text, const tables::Field& field)
{
    if (text.isEmpty())
        return std::monostate{};
    try {
        switch (field.type()) {
        case tables::FieldType::Currency: return tables::Currency::fromText(text).units();
        case tables::FieldType::SmallInt: return std::int64_t(text.toInt());
        case tables::FieldType::Float: return QLocale::c().toDouble(text);
        case tables::FieldType::Text: return text;
        case tables::FieldType::Date: return QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
        }
    } catch (const tables::Error&) {
    }
    return QStringLiteral("<unreadable>");
}

class HostileInput : public WindowTest, public testing::WithParamInterface<const Program*> {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(start(*GetParam(), db.folder())); }

    std::vector<widgets::DBEdit*> dataAwareBoxes() const
    {
        std::vector<widgets::DBEdit*> boxes;
        for (widgets::DBEdit* box : window->findChildren<widgets::DBEdit*>())
            if (box->isVisible())
                boxes.push_back(box);
        return boxes;
    }

    // Posts both records, as often as a press is stopped by a box whose
    // text its field cannot take (each such press hands one box over).
    void postBoth()
    {
        for (int round = 0; round < 50; ++round) {
            const qsizetype before = errors.size();
            press(program->endEdit);
            if (program->extraPost != program->endEdit)
                press(program->extraPost);
            if (errors.size() == before)
                return;
        }
    }

    // Each box shows its field, and the file holds what each box shows.
    void expectBoxesShowWhatIsStored(const char* when)
    {
        SCOPED_TRACE(when);
        std::map<QString, std::unique_ptr<tables::Table>> stored;
        for (widgets::DBEdit* box : dataAwareBoxes()) {
            SCOPED_TRACE(box->objectName().toStdString());
            tables::Table* table = box->dataSource()->table();
            const tables::Field& field = table->fieldByName(box->dataField());
            EXPECT_EQ(box->text(), field.asString()) << "the box does not show its field";
            auto& file = stored[table->name()];
            if (!file) {
                file = std::make_unique<tables::Table>(db.folder(), table->name());
                file->open();
            }
            if (table->state() == tables::Table::State::Browse) {
                EXPECT_TRUE(file->fieldByName(box->dataField()).value() == valueShownBy(box->text(), field))
                    << "stored " << file->fieldByName(box->dataField()).asString().toStdString() << ", shown "
                    << box->text().toStdString();
            }
        }
    }

    TempDatabase db;
};

TEST_P(HostileInput, EveryDataAwareBoxLeftWithHostileTextShowsWhatIsStored)
{
    for (const Hostile& hostile : hostileTexts) {
        SCOPED_TRACE(hostile.what);
        errors.clear();
        for (widgets::DBEdit* box : dataAwareBoxes()) {
            enter(box, hostile.text, hostile.paste, true);
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_EQ(box->text(), box->dataSource()->table()->fieldByName(box->dataField()).asString())
                << "left showing text its field does not hold";
            EXPECT_FALSE(box->hasPendingText());
        }
        // Every text here is wrong for some field: the operator hears of it.
        EXPECT_FALSE(errors.isEmpty()) << "no box reported anything";
        postBoth();
        expectBoxesShowWhatIsStored("after the posts");
    }
}

TEST_P(HostileInput, HostileTextStillInTheBoxesIsHandedOverOrRefusedByThePost)
{
    for (const Hostile& hostile : hostileTexts) {
        SCOPED_TRACE(hostile.what);
        for (widgets::DBEdit* box : dataAwareBoxes())
            enter(box, hostile.text, hostile.paste, false);
        postBoth();
        for (widgets::DBEdit* box : dataAwareBoxes())
            EXPECT_FALSE(box->hasPendingText()) << box->objectName().toStdString() << " kept unposted text";
        expectBoxesShowWhatIsStored("after the posts");
    }
}

// The plain boxes hold amounts that the calculation stores: each box and
// the fields the calculation folds it into.
struct PlainBox {
    const Program* program;
    const char* box;
    std::vector<const char*> fields;
};
const PlainBox plainBoxes[] = {
    {&multisite, "Edit1", {"施療料1", "施療料2", "施療料3"}},
    {&multisite, "Edit2", {"施療料1", "施療料2", "施療料3"}},
    {&multisite, "Edit3", {"施療料1", "施療料2", "施療料3"}},
    {&multisite, "Edit4", {"施療料1", "施療料2", "施療料3"}},
    {&multisite, "Edit5", {"施療料1", "施療料2", "施療料3"}},
    {&multisite, "Edit6", {"保険外料金"}},
    {&sprainentry, "Edit1", {"保険外料金"}},
};

TEST_P(HostileInput, HostileTextInAPlainBoxStopsTheCalculationOrIsStoredAsShown)
{
    press(program->calculate); // draws the rate once; the fixed draw repeats it
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    for (const PlainBox& plain : plainBoxes) {
        if (plain.program != program)
            continue;
        SCOPED_TRACE(plain.box);
        QLineEdit* box = control<QLineEdit>(plain.box);
        for (const Hostile& hostile : hostileTexts) {
            SCOPED_TRACE(hostile.what);
            errors.clear();
            const auto before = storedRecords(db.folder());
            enter(box, hostile.text, hostile.paste, true);
            const QString shown = box->text();
            press(program->calculate);
            if (!errors.isEmpty()) {
                EXPECT_EQ(storedRecords(db.folder()), before) << "a stopped calculation stored something";
            } else {
                tables::Table fee(db.folder(), QString::fromUtf8(tables::schema::FeeTable));
                fee.open();
                tables::Currency sum;
                for (const char* field : plain.fields)
                    sum += fee.fieldByName(u(field)).asCurrency();
                EXPECT_EQ(sum.toText(), tables::Currency::fromText(shown.isEmpty() ? u("0") : shown).toText())
                    << "stored other than the box showed: " << shown.left(40).toStdString();
            }
            type(box, QString());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, HostileInput, testing::ValuesIn(bothPrograms),
                         [](const auto& info) { return std::string(info.param->name); });

} // namespace
