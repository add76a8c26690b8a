#include "sakusei.h"
#include "ui_sakusei.h"

#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <algorithm>
#include <array>

namespace {

// Sites are numbered in onset order, site 1 the oldest injury. After a fee is
// applied, these rows hold the visit and the other sites' treatment kinds
// against that order.
// A refusal takes back the pressed button's own fee, whatever fields it filled;
// a displacement keeps it and takes back the contradicting fee of another site.
enum class Action { Refusal, Displacement };
using enum Action;

struct OnsetCheck {
    int button;
    std::array<int, 3> ifAnyLime; // indicator numbers; 0 = unused
    Action action;
    std::array<int, 2> whiten;        // displacement: the other site's indicators
    std::array<const char*, 3> empty; // displacement: the other site's fields
    const char* note;                 // replaces the memo's text; nullptr leaves it
};

// Every row of the pressed button is evaluated, in this order, each against the
// indicators as the rows before it left them; a firing row never stops the
// others, so the memo ends with the note of the last one that fired. A long-term
// kind displaced here keeps its site's long-term mark: only its own button and
// the full reset empty that.
constexpr OnsetCheck onsetChecks[] = {
    {3, {4, 7}, Displacement, {4, 7}, {"施療料1", "冷罨法料1"}, "参考　再検料で施療料1はありえない。"},
    {4, {3}, Refusal, {}, {}, "参考　再検料で施療料1はありえない。"},
    {5, {7}, Refusal, {}, {}, "参考　古い疾病順なので1部位目が施療料1+冷罨法料1なので２部位目は施療料2+冷罨法料2になる可能性があります。"},
    {5, {12, 15}, Displacement, {12, 15}, {"後療料3", "温罨法料3", "電療料3"}, "参考　疾患2が施療料2ならそれより新しい疾患3が後療料3はおかしい。"},
    {6, {8}, Refusal, {}, {}, "参考　古い疾病順なので2部位目が施療料2+冷罨法料2なので3部位目は施療料3+冷罨法料3になる可能性があります。"},
    {7, {3}, Refusal, {}, {}, "再検料で施療料1はありえない。"},
    {7, {5}, Displacement, {5}, {"施療料2"}, "参考　施療料1で冷1がある場合それより新しい疾患2の施療料2の場合冷2がないとおかしい。（発症順に入力）"},
    {8, {6}, Displacement, {6}, {"施療料3"}, "参考　古い疾病順なので2部位目が施療料2+冷罨法料2なので3部位目は施療料3+冷罨法料3になる可能性があります。"},
    {8, {12, 15}, Displacement, {12, 15}, {"後療料3", "温罨法料3", "電療料3"}, "参考　疾患2が施療料2ならそれより新しい疾患3が後療料3はおかしい。（発症順に入力）"},
    {10, {26}, Displacement, {26}, {"後療料2", "温罨法料2", "電療料2"}, nullptr},
    {10, {27}, Displacement, {27}, {"後療料3", "温罨法料3", "電療料3"}, nullptr},
    {11, {15}, Displacement, {15}, {"後療料3", "温罨法料3", "電療料3"}, nullptr},
    {11, {4, 7}, Refusal, {}, {}, "参考　疾病1が施療料1であれば　それより新しい疾病2は後療料2であるはずがない。（発症順に入力）"},
    {11, {27}, Displacement, {27}, {"後療料3", "温罨法料3", "電療料3"}, nullptr},
    {12, {8, 5}, Refusal, {}, {}, "参考　疾患2が施療料2の場合それより新しい疾患3で後療料3はありえない。（発症順に入力）"},
    {12, {4, 7}, Refusal, {}, {}, "参考　疾患2が施療料2である場合それより新しい疾患3で後療料3はありえない。（発症順に入力）"},
    {13, {26}, Displacement, {26}, {"後療料2", "温罨法料2", "電療料2"}, nullptr},
    {14, {10}, Refusal, {}, {}, "参考　後療料1+温1+電1でない場合それより後の発症の疾病2が後療料2+温2+電2にはならない。"},
    {14, {7, 4}, Refusal, {}, {}, "参考　疾患1が施療料1の場合　それより後の発症の疾病2は後療料2にはならない。"},
    {14, {27}, Displacement, {27}, {"後療料3", "温罨法料3", "電療料3"}, nullptr},
    {15, {11}, Refusal, {}, {}, "参考　後療料2+温2+電2でない場合　疾病3が後療料3+温3+電3にはならない。（発症順に入力）"},
    {15, {8, 5}, Refusal, {}, {}, "参考　疾患2が施療料2の場合それより新しい疾患3は後療料3にならない。（発症順に入力）"},
    {15, {4, 7, 10}, Refusal, {}, {}, "参考　疾患1が温1+電1でないのにそれより新しい疾患3が温3＋電3はありえない。（発症順に入力）"},
    {26, {10}, Refusal, {}, {}, "後療料1+温1+電1でない場合　その後発症の疾病2には温2+電2はない。"},
    {26, {7, 4}, Refusal, {}, {}, "疾患1が施療料1、疾病2が後療料2にならない。（発症順に入力）"},
    {26, {13}, Refusal, {}, {}, "後療料1が長期でない場合　疾病2が長期後療料2にならない。（発症順に入力）"},
    {27, {11}, Refusal, {}, {}, "後療料2+温2+電2でない場合　疾病3は後療料3+温3+電3にならない。（発症順）"},
    {27, {8, 5}, Refusal, {}, {}, "疾患2が施療料2である場合　疾患3は後療料3にならない。（発症順）"},
    {27, {4, 7, 10}, Refusal, {}, {}, "疾患1が温1+電1でないの場合　疾患3は温3＋電3はありえない。（発症順）"},
    {27, {14}, Refusal, {}, {}, "後療料2が長期でない場合　疾病3は長期後療料3にならない。（発症順）"},
};

} // namespace

// The same note pressed again stays as it is: laying the memo out afresh
// and repainting it would cost every such press for nothing.
void TForm6::showNote(const char* note)
{
    const QString text = QString::fromUtf8(note);
    if (ui->Memo1->toPlainText() != text)
        ui->Memo1->setPlainText(text);
}

void TForm6::runOnsetChecks(int button, const std::function<void()>& refuse)
{
    for (const OnsetCheck& row : onsetChecks) {
        if (row.button != button)
            continue;
        const bool fires = std::any_of(row.ifAnyLime.begin(), row.ifAnyLime.end(),
                                       [this](int n) { return n != 0 && indicator(n)->brushColor() == widgets::clLime; });
        if (!fires)
            continue;
        if (row.action == Refusal) {
            refuse();
        } else {
            for (int n : row.whiten)
                if (n != 0)
                    indicator(n)->setBrushColor(widgets::clWhite);
            for (const char* field : row.empty)
                if (field)
                    Table1->fieldByName(field).clear();
        }
        if (row.note)
            showNote(row.note);
    }
}
