#include "sakusei.h"
#include "ui_sakusei.h"

#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "tables/Schema.h"
#include "tables/Table.h"
#include "widgets/Boxes.h"
#include "widgets/Colors.h"
#include "widgets/DataSource.h"
#include "widgets/DBEdit.h"
#include "widgets/Handlers.h"
#include "widgets/Shape.h"

#include <QCloseEvent>
#include <QFont>
#include <QScreen>
#include <QStyle>
#include <QStringList>
#include <span>
#include <utility>

namespace {

// What the full reset empties in the fee record: every fee, total, count and
// date of the visit. The patient ("個人id", "カナ氏名", "氏名") and the last
// drawn "負担率" are kept for the next visit of the same patient.
constexpr const char* resetFeeFields[] = {
    "料金", "初検料", "初検時相談支援料", "再検料", "施療料1", "施療料2", "施療料3", "冷罨法料1", "冷罨法料2", "冷罨法料3", "後療料1",
    "後療料2", "後療料3", "温罨法料1", "温罨法料2", "温罨法料3", "電療料1", "電療料2", "電療料3", "往療料", "時間外加算", "深夜加算",
    "休日加算", "施術情報提供料", "その他の保険加算料金", "保険料金合計", "一部負担金", "保険外料金", "窓口料金", "負傷部位数", "年", "月", "日",
    "年月日", "一部位目", "ニ部位目", "三部位目",
};
constexpr const char* resetExtraFeeFields[] = {"夜間暴風難路", "金属副子"};

constexpr const char* guideText =
    "打撲挫傷捻挫の古い疾病順に1.2.3と番号がついています。"
    "施療料は　施療料1　施療料2　施療料3　後療料は　後療料1　後療料2　後療料3の順です。"
    "電療料、冷、温罨法料も同様です。往療料の数字はｋｍです。"
    "　往療料2-4ｋは片道2ｋｍ越え4ｋｍ越えない距離を示します。";

// The alternative layouts: which controls each one hides and shows.
struct DisplayMode {
    char mode;
    const char* hidden;
    const char* shown;
};
constexpr DisplayMode displayModes[] = {
    {'c',
     "Button6 Button9 Button12 Button15 Button3 Button2 Button1 Button5 Button32 EditDBEdit7 EditDBEdit3 "
     "EditDBEdit4 Editkx EditDBEdit10 EditDBEdit13 EditDBEdit16 Editd3",
     ""},
    {'b', "Button6 Button9 Button12 Button15 Button27 EditDBEdit7 EditDBEdit10 EditDBEdit13 EditDBEdit16 Editd3",
     "EditDBEdit3"},
    {'a', "", "Button6 Button9 Button12 Button15 Button27 EditDBEdit3 EditDBEdit16 Editd3"},
};

constexpr int indicatorNumbers[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                    17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 31, 32, 33};

} // namespace

TForm6::TForm6(const QString& databaseFolder, std::optional<char> mode, QWidget* parent)
    : QWidget(parent),
      Table1(new tables::Table(databaseFolder, QString::fromUtf8(tables::schema::FeeTable), this)),
      Table2(new tables::Table(databaseFolder, QString::fromUtf8(tables::schema::BaseFeeTable), this)),
      Table3(new tables::Table(databaseFolder, QString::fromUtf8(tables::schema::ExtraFeeTable), this)),
      DataSource1(new widgets::DataSource(Table1, this)),
      DataSource2(new widgets::DataSource(Table2, this)),
      DataSource3(new widgets::DataSource(Table3, this)),
      ui(std::make_unique<Ui::TForm6>())
{
    ui->setupUi(this);
    // Two captions are sized in pixels, which a font in the form file cannot
    // say; a style sheet could, at the cost of a style-sheet style and its
    // parsing at every start.
    for (const auto& [caption, pixels] : {std::pair<QWidget*, int>{ui->Label42, 19}, {ui->Button35, 13}}) {
        QFont font = caption->font();
        font.setPixelSize(pixels);
        caption->setFont(font);
    }
    Table1->setFieldDefs(tables::schema::feeFields());
    for (int n : indicatorNumbers)
        m_indicatorByNumber.at(n) = findChild<widgets::Shape*>(QStringLiteral("Shape%1").arg(n));
    widgets::applyIme(ui->Edit1, widgets::Ime::Off);
    widgets::bindDataAwareBoxes(this, {{QStringLiteral("DataSource1"), DataSource1},
                                       {QStringLiteral("DataSource2"), DataSource2},
                                       {QStringLiteral("DataSource3"), DataSource3}});
    widgets::connectHandlers(this, this);
    ui->Panel1->setFocus();
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    FormCreate();
    // The layout is window state, not data: it applies even when the tables could not be opened.
    if (mode)
        applyMode(*mode);
}

TForm6::~TForm6() = default;

void TForm6::FormCreate()
{
    // One guard for the whole of it: a table that cannot be opened skips the
    // reset and the guide text, and the window still opens to show the error.
    platform::guarded(this, [this] {
        Table1->open();
        Table3->open();
        Button30Click();
        showNote(guideText);
    });
}

void TForm6::applyMode(char mode)
{
    for (const DisplayMode& row : displayModes) {
        if (row.mode != mode)
            continue;
        for (const auto& [names, visible] : {std::pair{row.hidden, false}, std::pair{row.shown, true}})
            for (const QString& name : QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts))
                findChild<QWidget*>(name)->setVisible(visible);
    }
}

void TForm6::closeEvent(QCloseEvent* event)
{
    event->setAccepted(platform::guarded(this, [this] { FormClose(); }));
}

// Typing after "強制編集" and the boxes of the extra-fee record leave their
// records in edit state; closing stores them rather than dropping them.
// A post that fails keeps the window open, so nothing is lost silently.
void TForm6::FormClose()
{
    for (tables::Table* table : {Table1, Table3})
        if (table->isActive())
            table->post();
}

// Closing first drops whatever was pending, so the reset starts from the
// records as stored and its own posts store nothing half-typed.
void TForm6::Button30Click()
{
    Table3->close();
    Table1->reopen();
    Table1->edit();
    for (widgets::Shape* indicator : m_indicatorByNumber)
        if (indicator)
            indicator->setBrushColor(widgets::clWhite);
    Table1->clearFields(resetFeeFields);
    Table1->post();
    Table3->open();
    Table3->edit();
    Table3->clearFields(resetExtraFeeFields);
    Table3->post();
}

void TForm6::Button31Click()
{
    Table1->open();
    Table1->edit();
}

void TForm6::Button35Click()
{
    close();
}

void TForm6::Button37Click()
{
    Table1->open();
    Table1->edit();
    Table1->post();
}

void TForm6::Button38Click()
{
    platform::startHelp(platform::programPath(QStringLiteral("ayameguide")));
}

// Zero, not empty: the fee outside insurance was looked at and is nothing.
void TForm6::Button40Click()
{
    Table1->open();
    Table1->edit();
    Table1->fieldByName(QStringLiteral("保険外料金")).setAsCurrency(tables::Currency());
    Table1->post();
    widgets::emptyBox(ui->Edit1);
}
