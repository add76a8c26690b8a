#include "Unit1.h"
#include "ui_Unit1.h"

#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "tables/Table.h"
#include "widgets/Boxes.h"
#include "widgets/Colors.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"
#include "widgets/Handlers.h"
#include "widgets/Shape.h"

#include <QCloseEvent>
#include <QScreen>
#include <QStyle>
#include <initializer_list>

namespace {

struct RecordField {
    tables::Table* TForm1::*table;
    const char* name;
};

// Everything of the visit but the patient and the last drawn rate, in the
// order the full reset empties it.
constexpr RecordField fullResetFields[] = {
    {&TForm1::Table1, "初検料"}, {&TForm1::Table1, "再検料"}, {&TForm1::Table1, "初検時相談支援料"},
    {&TForm1::Table1, "施術情報提供料"},
    {&TForm1::Table2, "金属副子"}, {&TForm1::Table2, "夜間暴風難路"},
    {&TForm1::Table1, "休日加算"}, {&TForm1::Table1, "時間外加算"}, {&TForm1::Table1, "深夜加算"},
    {&TForm1::Table1, "往療料"},
    {&TForm1::Table1, "後療料1"}, {&TForm1::Table1, "温罨法料1"}, {&TForm1::Table1, "電療料1"},
    {&TForm1::Table1, "後療料2"}, {&TForm1::Table1, "温罨法料2"}, {&TForm1::Table1, "電療料2"},
    {&TForm1::Table1, "後療料3"}, {&TForm1::Table1, "温罨法料3"}, {&TForm1::Table1, "電療料3"},
    {&TForm1::Table1, "施療料1"}, {&TForm1::Table1, "施療料2"}, {&TForm1::Table1, "施療料3"},
    {&TForm1::Table1, "冷罨法料1"}, {&TForm1::Table1, "冷罨法料2"}, {&TForm1::Table1, "冷罨法料3"},
    {&TForm1::Table1, "負傷部位数"}, {&TForm1::Table1, "年月日"}, {&TForm1::Table1, "保険料金合計"},
    {&TForm1::Table1, "一部負担金"}, {&TForm1::Table1, "保険外料金"}, {&TForm1::Table1, "窓口料金"},
    {&TForm1::Table1, "その他の保険加算料金"}, {&TForm1::Table1, "年"}, {&TForm1::Table1, "月"},
    {&TForm1::Table1, "日"}, {&TForm1::Table1, "料金"},
};

// What "リセットN" withdraws for its site. Sites 4 and 5 live only in their
// box: they have no fee fields and no indicators, so their reset touches no table.
struct SiteReset {
    std::array<int, 4> indicators; // Shape numbers, in the order they turn white
    std::array<const char*, 4> feeFields;
};
constexpr std::array<SiteReset, 3> siteResets{{
    {{26, 1, 4, 7}, {"後療料1", "温罨法料1", "電療料1", "冷罨法料1"}},
    {{27, 2, 5, 8}, {"後療料2", "温罨法料2", "電療料2", "冷罨法料2"}},
    {{28, 3, 6, 9}, {"後療料3", "温罨法料3", "電療料3", "冷罨法料3"}},
}};

// The reduced layouts for clinics that enter fewer sites or leave the
// calculation to another station. 'a' is the full five-site layout.
struct DisplayMode {
    char mode;
    std::initializer_list<const char*> hidden;
};
const DisplayMode displayModes[] = {
    {'a', {}},
    {'b', {"Edit3", "Edit4", "Edit5", "DBEdit12", "DBEdit31", "DBEdit34", "DBEdit37",
           "Button4", "Button5", "Button6", "Button9", "Button10", "Button11",
           "Button14", "Button15", "Button16", "Button19", "Button20", "Button21",
           "Button24", "Button25", "Button26", "Button29", "Button30", "Button31",
           "Button34", "Button35", "Button36", "Button39", "Button40", "Button41",
           "Button44", "Button45", "Button46", "Button49", "Button50", "Button51",
           "Button54", "Button55", "Button56",
           "Button80", "Button83", "Button86", "Button89", "Button92", "Button95",
           "Button59", "Button98", "Button101"}},
    {'c', {"Button73", "Edit3", "Edit4", "Edit5", "DBEdit31", "Button4", "Button5", "Button6",
           "Button80", "Button83"}},
};

} // namespace

TForm1::TForm1(const QString& databaseFolder, std::optional<char> mode, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    // The form is designed in pixels; a 9-point face would grow with the screen's dpi.
    QFont face = font();
    face.setPixelSize(12);
    setFont(face);

    m_indicators = {ui->Shape1,  ui->Shape2,  ui->Shape3,  ui->Shape4,  ui->Shape5,  ui->Shape6,  ui->Shape7,
                    ui->Shape8,  ui->Shape9,  ui->Shape10, ui->Shape11, ui->Shape12, ui->Shape13, ui->Shape14,
                    ui->Shape15, ui->Shape16, ui->Shape17, ui->Shape18, ui->Shape19, ui->Shape20, ui->Shape21,
                    ui->Shape22, ui->Shape23, ui->Shape24, ui->Shape25, ui->Shape26, ui->Shape27, ui->Shape28};
    m_siteBoxes = {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5};

    Table1 = new tables::Table(databaseFolder, QString::fromUtf8(tables::schema::FeeTable), this);
    Table2 = new tables::Table(databaseFolder, QString::fromUtf8(tables::schema::ExtraFeeTable), this);
    Table3 = new tables::Table(databaseFolder, QString::fromUtf8(tables::schema::BaseFeeTable), this);
    DataSource1 = new widgets::DataSource(Table1, this);
    DataSource2 = new widgets::DataSource(Table2, this);
    widgets::bindDataAwareBoxes(this, {{QStringLiteral("DataSource1"), DataSource1},
                                       {QStringLiteral("DataSource2"), DataSource2}});
    widgets::connectHandlers(this, this);

    if (mode)
        applyDisplayMode(*mode);
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));

    // A database that cannot be opened is reported, and the window still
    // opens so the operator sees what is wrong.
    platform::guarded(this, [this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::applyDisplayMode(char mode)
{
    for (const DisplayMode& layout : displayModes) {
        if (layout.mode != mode)
            continue;
        for (const char* name : layout.hidden)
            findChild<QWidget*>(QString::fromLatin1(name))->hide();
    }
}

void TForm1::FormCreate()
{
    Table1->open();
    Table3->open();
    ui->Button1->click();
}

void TForm1::FormClose() { storeRecords(); }

void TForm1::closeEvent(QCloseEvent* event)
{
    bool stored = false;
    platform::guarded(this, [&] {
        FormClose();
        stored = true;
    });
    // Stay open only while closing would lose typed or pressed-in data; a
    // database that never opened holds nothing to lose and must not trap the operator.
    const auto pending = [](const tables::Table* t) {
        return t->state() == tables::Table::State::Edit || t->state() == tables::Table::State::Insert;
    };
    event->setAccepted(stored || !(pending(Table1) || pending(Table2)));
}

void TForm1::editRecords()
{
    Table1->open();
    Table2->open();
    Table1->edit();
    Table2->edit();
}

void TForm1::postRecords()
{
    Table1->post();
    Table2->post();
}

void TForm1::storeRecords()
{
    editRecords();
    postRecords();
}

void TForm1::Button1Click()
{
    for (widgets::Shape* shape : m_indicators)
        shape->setBrushColor(widgets::clWhite);
    editRecords();
    for (const RecordField& field : fullResetFields)
        (this->*field.table)->fieldByName(field.name).clear();
    for (QLineEdit* box : m_siteBoxes)
        widgets::emptyBox(box);
    postRecords();
}

void TForm1::siteReset(int site)
{
    const bool hasFees = site <= int(siteResets.size());
    if (hasFees) {
        const SiteReset& reset = siteResets[site - 1];
        for (int shape : reset.indicators)
            indicator(shape)->setBrushColor(widgets::clWhite);
        Table1->open();
        Table1->edit();
        Table1->clearFields(reset.feeFields);
    }
    widgets::emptyBox(siteBox(site));
    if (hasFees)
        Table1->post();
}

void TForm1::Button105Click() { siteReset(1); }
void TForm1::Button106Click() { siteReset(2); }
void TForm1::Button107Click() { siteReset(3); }
void TForm1::Button108Click() { siteReset(4); }
void TForm1::Button109Click() { siteReset(5); }

void TForm1::Button74Click() { widgets::emptyBox(ui->Edit6); }
void TForm1::Button75Click() { close(); }
void TForm1::Button76Click() { editRecords(); }
void TForm1::Button77Click() { storeRecords(); }
void TForm1::Button110Click() { platform::startHelp(platform::programPath(QStringLiteral("kikyoguide"))); }
