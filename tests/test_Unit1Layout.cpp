#include "QtApp.h"
#include "TempDatabase.h"
#include "Unit1.h"

#include "platform/ErrorBox.h"
#include "platform/Fonts.h"
#include "widgets/Colors.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"
#include "widgets/Shape.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>
#include <set>

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// The window as designed: every control, its panel, left, top, width and
// height, and its caption (labels, buttons) or field (data-aware boxes).
// Width 0: a label that sizes itself to its caption.
struct Designed {
    const char* name;
    const char* panel;
    int left, top, width, height;
    const char* text;
    const char* dataSource;
};
const Designed designed[] = {
    {"Label1", "Panel1", 8, 8, 35, 12, "個人ID", ""},
    {"DBEdit1", "Panel1", 8, 21, 49, 20, "個人id", "DataSource1"},
    {"Label2", "Panel1", 64, 8, 45, 12, "カナ氏名", ""},
    {"DBEdit2", "Panel1", 64, 21, 121, 20, "カナ氏名", "DataSource1"},
    {"Label3", "Panel1", 192, 8, 24, 12, "氏名", ""},
    {"DBEdit3", "Panel1", 192, 21, 121, 20, "氏名", "DataSource1"},
    {"Label14", "Panel1", 320, 8, 36, 12, "負担率", ""},
    {"DBEdit17", "Panel1", 320, 21, 65, 20, "負担率", "DataSource1"},
    {"Label19", "Panel1", 392, 8, 60, 12, "負傷部位数", ""},
    {"DBEdit22", "Panel1", 392, 21, 41, 20, "負傷部位数", "DataSource1"},
    {"Button110", "Panel1", 608, 0, 57, 25, "ヘルプ", ""},
    {"Button76", "Panel1", 664, 0, 75, 25, "強制編集", ""},
    {"Button77", "Panel1", 736, 0, 75, 25, "編集終了", ""},
    {"Button75", "Panel1", 832, 0, 65, 25, "戻る", ""},
    {"Label4", "Panel2", 8, 8, 0, 12, "初検料", ""},
    {"DBEdit4", "Panel2", 8, 24, 73, 20, "初検料", "DataSource1"},
    {"Label5", "Panel2", 88, 8, 0, 12, "初検時相談支援料", ""},
    {"DBEdit5", "Panel2", 88, 24, 41, 20, "初検時相談支援料", "DataSource1"},
    {"Label42", "Panel2", 208, 8, 0, 12, "再検料", ""},
    {"DBEdit38", "Panel2", 208, 24, 49, 20, "再検料", "DataSource1"},
    {"Label15", "Panel2", 272, 8, 0, 12, "年月日", ""},
    {"DBEdit18", "Panel2", 272, 24, 81, 20, "年月日", "DataSource1"},
    {"Label6", "Panel2", 368, 8, 0, 12, "施術情報提供料", ""},
    {"DBEdit6", "Panel2", 368, 24, 65, 20, "施術情報提供料", "DataSource1"},
    {"Label7", "Panel2", 456, 8, 0, 12, "冷罨法料1", ""},
    {"DBEdit10", "Panel2", 456, 24, 41, 20, "冷罨法料1", "DataSource1"},
    {"Label8", "Panel2", 520, 8, 0, 12, "冷罨法料2", ""},
    {"DBEdit11", "Panel2", 520, 24, 41, 20, "冷罨法料2", "DataSource1"},
    {"Label9", "Panel2", 584, 8, 0, 12, "冷罨法料3", ""},
    {"DBEdit12", "Panel2", 584, 24, 33, 20, "冷罨法料3", "DataSource1"},
    {"Label10", "Panel2", 648, 8, 0, 12, "時間外加算", ""},
    {"DBEdit13", "Panel2", 648, 24, 57, 20, "時間外加算", "DataSource1"},
    {"Label11", "Panel2", 720, 8, 0, 12, "深夜加算", ""},
    {"DBEdit14", "Panel2", 720, 24, 65, 20, "深夜加算", "DataSource1"},
    {"Label12", "Panel2", 792, 8, 0, 12, "休日加算", ""},
    {"DBEdit15", "Panel2", 792, 24, 65, 20, "休日加算", "DataSource1"},
    {"Label26", "Panel2", 8, 48, 0, 12, "初回処置１", ""},
    {"Edit1", "Panel2", 8, 64, 73, 20, "", ""},
    {"Label27", "Panel2", 88, 48, 0, 12, "初回処置２", ""},
    {"Edit2", "Panel2", 88, 64, 73, 20, "", ""},
    {"Label28", "Panel2", 168, 48, 0, 12, "初回処置３", ""},
    {"Edit3", "Panel2", 168, 64, 65, 20, "", ""},
    {"Label29", "Panel2", 248, 48, 0, 12, "初回処置４", ""},
    {"Edit4", "Panel2", 248, 64, 65, 20, "", ""},
    {"Label30", "Panel2", 336, 48, 0, 12, "初回処置５", ""},
    {"Edit5", "Panel2", 336, 64, 73, 20, "", ""},
    {"Label33", "Panel2", 456, 48, 0, 12, "後療料1", ""},
    {"DBEdit29", "Panel2", 456, 64, 49, 20, "後療料1", "DataSource1"},
    {"Label34", "Panel2", 520, 48, 0, 12, "後療料2", ""},
    {"DBEdit30", "Panel2", 520, 64, 49, 20, "後療料2", "DataSource1"},
    {"Label35", "Panel2", 584, 48, 0, 12, "後療料3", ""},
    {"DBEdit31", "Panel2", 584, 64, 49, 20, "後療料3", "DataSource1"},
    {"Label13", "Panel2", 648, 48, 0, 12, "往療料", ""},
    {"DBEdit16", "Panel2", 648, 64, 57, 20, "往療料", "DataSource1"},
    {"Label22", "Panel2", 720, 48, 0, 12, "夜間暴風難路", ""},
    {"DBEdit25", "Panel2", 720, 64, 57, 20, "夜間暴風難路", "DataSource2"},
    {"Label21", "Panel2", 808, 48, 0, 12, "金属副子", ""},
    {"DBEdit24", "Panel2", 808, 64, 57, 20, "金属副子", "DataSource2"},
    {"Label36", "Panel2", 456, 88, 0, 12, "温罨法1", ""},
    {"DBEdit32", "Panel2", 456, 104, 41, 20, "温罨法料1", "DataSource1"},
    {"Label37", "Panel2", 520, 88, 0, 12, "温罨法2", ""},
    {"DBEdit33", "Panel2", 520, 104, 41, 20, "温罨法料2", "DataSource1"},
    {"Label38", "Panel2", 584, 88, 0, 12, "温罨法3", ""},
    {"DBEdit34", "Panel2", 584, 104, 41, 20, "温罨法料3", "DataSource1"},
    {"Label39", "Panel2", 456, 128, 0, 12, "電療料1", ""},
    {"DBEdit35", "Panel2", 456, 144, 41, 20, "電療料1", "DataSource1"},
    {"Label40", "Panel2", 520, 128, 0, 12, "電療料2", ""},
    {"DBEdit36", "Panel2", 520, 144, 41, 20, "電療料2", "DataSource1"},
    {"Label41", "Panel2", 584, 128, 0, 12, "電療料3", ""},
    {"DBEdit37", "Panel2", 584, 144, 41, 20, "電療料3", "DataSource1"},
    {"Button2", "Panel2", 8, 88, 73, 25, "捻挫打撲1", ""},
    {"Button3", "Panel2", 88, 88, 73, 25, "捻挫打撲2", ""},
    {"Button4", "Panel2", 168, 88, 73, 25, "捻挫打撲3", ""},
    {"Button5", "Panel2", 248, 88, 81, 25, "捻挫打撲4", ""},
    {"Button6", "Panel2", 336, 88, 81, 25, "捻挫打撲5", ""},
    {"Button7", "Panel2", 8, 112, 65, 25, "骨折A1", ""},
    {"Button8", "Panel2", 88, 112, 65, 25, "骨折A2", ""},
    {"Button9", "Panel2", 168, 112, 65, 25, "骨折A3", ""},
    {"Button10", "Panel2", 248, 112, 65, 25, "骨折A4", ""},
    {"Button11", "Panel2", 336, 112, 65, 25, "骨折A5", ""},
    {"Button12", "Panel2", 8, 136, 65, 25, "骨折B1", ""},
    {"Button13", "Panel2", 88, 136, 65, 25, "骨折B2", ""},
    {"Button14", "Panel2", 168, 136, 65, 25, "骨折B3", ""},
    {"Button15", "Panel2", 248, 136, 65, 25, "骨折B4", ""},
    {"Button16", "Panel2", 336, 136, 65, 25, "骨折B5", ""},
    {"Button17", "Panel2", 8, 160, 75, 25, "不全骨折C1", ""},
    {"Button18", "Panel2", 88, 160, 75, 25, "不全骨折C2", ""},
    {"Button19", "Panel2", 168, 160, 75, 25, "不全骨折C3", ""},
    {"Button20", "Panel2", 248, 160, 75, 25, "不全骨折C4", ""},
    {"Button21", "Panel2", 336, 160, 75, 25, "不全骨折C5", ""},
    {"Button22", "Panel2", 8, 184, 75, 25, "不全骨折D1", ""},
    {"Button23", "Panel2", 88, 184, 75, 25, "不全骨折D2", ""},
    {"Button24", "Panel2", 168, 184, 75, 25, "不全骨折D3", ""},
    {"Button25", "Panel2", 248, 184, 75, 25, "不全骨折D4", ""},
    {"Button26", "Panel2", 336, 184, 75, 25, "不全骨折D5", ""},
    {"Button27", "Panel2", 8, 208, 75, 25, "不全骨折E1", ""},
    {"Button28", "Panel2", 88, 208, 75, 25, "不全骨折E2", ""},
    {"Button29", "Panel2", 168, 208, 75, 25, "不全骨折E3", ""},
    {"Button30", "Panel2", 248, 208, 75, 25, "不全骨折E4", ""},
    {"Button31", "Panel2", 336, 208, 75, 25, "不全骨折E5", ""},
    {"Button32", "Panel2", 8, 232, 75, 25, "不全骨折F1", ""},
    {"Button33", "Panel2", 88, 232, 75, 25, "不全骨折F2", ""},
    {"Button34", "Panel2", 168, 232, 75, 25, "不全骨折F3", ""},
    {"Button35", "Panel2", 248, 232, 75, 25, "不全骨折F4", ""},
    {"Button36", "Panel2", 336, 232, 75, 25, "不全骨折F5", ""},
    {"Button37", "Panel2", 8, 256, 65, 25, "脱臼G1", ""},
    {"Button38", "Panel2", 88, 256, 65, 25, "脱臼G2", ""},
    {"Button39", "Panel2", 168, 256, 65, 25, "脱臼G3", ""},
    {"Button40", "Panel2", 248, 256, 73, 25, "脱臼G4", ""},
    {"Button41", "Panel2", 336, 256, 65, 25, "脱臼G5", ""},
    {"Button42", "Panel2", 8, 280, 65, 25, "脱臼H1", ""},
    {"Button43", "Panel2", 88, 280, 65, 25, "脱臼H2", ""},
    {"Button44", "Panel2", 168, 280, 65, 25, "脱臼H3", ""},
    {"Button45", "Panel2", 248, 280, 73, 25, "脱臼H4", ""},
    {"Button46", "Panel2", 336, 280, 65, 25, "脱臼H5", ""},
    {"Button47", "Panel2", 8, 304, 65, 25, "脱臼J1", ""},
    {"Button48", "Panel2", 88, 304, 65, 25, "脱臼J2", ""},
    {"Button49", "Panel2", 168, 304, 65, 25, "脱臼J3", ""},
    {"Button50", "Panel2", 248, 304, 73, 25, "脱臼J4", ""},
    {"Button51", "Panel2", 336, 304, 65, 25, "脱臼J5", ""},
    {"Button52", "Panel2", 8, 328, 65, 25, "脱臼K1", ""},
    {"Button53", "Panel2", 88, 328, 65, 25, "脱臼K2", ""},
    {"Button54", "Panel2", 168, 328, 65, 25, "脱臼K3", ""},
    {"Button55", "Panel2", 248, 328, 73, 25, "脱臼K4", ""},
    {"Button56", "Panel2", 336, 328, 65, 25, "脱臼K5", ""},
    {"Button105", "Panel2", 8, 352, 65, 25, "リセット1", ""},
    {"Button106", "Panel2", 88, 352, 65, 25, "リセット2", ""},
    {"Button107", "Panel2", 168, 352, 65, 25, "リセット3", ""},
    {"Button108", "Panel2", 248, 352, 73, 25, "リセット4", ""},
    {"Button109", "Panel2", 336, 352, 65, 25, "リセット5", ""},
    {"Button1", "Panel2", 24, 392, 65, 25, "リセット", ""},
    {"Button73", "Panel2", 96, 392, 81, 25, "計算", ""},
    {"Edit6", "Panel2", 184, 392, 121, 20, "", ""},
    {"Label31", "Panel2", 208, 416, 84, 12, "保険外料金入力", ""},
    {"Button74", "Panel2", 320, 392, 75, 25, "保険外料金", ""},
    {"Button78", "Panel2", 416, 168, 113, 25, "捻挫挫傷打撲後1", ""},
    {"Button79", "Panel2", 528, 168, 105, 25, "捻挫挫傷打撲後2", ""},
    {"Button80", "Panel2", 632, 168, 105, 25, "捻挫挫傷打撲後3", ""},
    {"Shape26", "Panel2", 512, 192, 17, 9, "", ""},
    {"Shape27", "Panel2", 616, 192, 17, 9, "", ""},
    {"Shape28", "Panel2", 720, 192, 17, 9, "", ""},
    {"Button81", "Panel2", 416, 192, 75, 25, "骨折後療1", ""},
    {"Button82", "Panel2", 528, 192, 75, 25, "骨折後療2", ""},
    {"Button83", "Panel2", 632, 192, 75, 25, "骨折後療3", ""},
    {"Button84", "Panel2", 416, 216, 97, 25, "骨折拘縮後療1", ""},
    {"Button85", "Panel2", 528, 216, 89, 25, "骨折拘縮後療2", ""},
    {"Button86", "Panel2", 632, 216, 89, 25, "骨折拘縮後療3", ""},
    {"Button87", "Panel2", 416, 240, 97, 25, "不全骨折後療1", ""},
    {"Button88", "Panel2", 528, 240, 97, 25, "不全骨折後療2", ""},
    {"Button89", "Panel2", 632, 240, 89, 25, "不全骨折後療3", ""},
    {"Button90", "Panel2", 416, 264, 97, 25, "不全骨折拘縮1", ""},
    {"Button91", "Panel2", 528, 264, 97, 25, "不全骨折拘縮2", ""},
    {"Button92", "Panel2", 632, 264, 89, 25, "不全骨折拘縮3", ""},
    {"Button93", "Panel2", 416, 288, 97, 25, "脱臼後療1", ""},
    {"Button94", "Panel2", 528, 288, 97, 25, "脱臼後療2", ""},
    {"Button95", "Panel2", 632, 288, 89, 25, "脱臼後療3", ""},
    {"Button57", "Panel2", 416, 320, 75, 25, "冷罨法1", ""},
    {"Button58", "Panel2", 496, 320, 75, 25, "冷罨法2", ""},
    {"Button59", "Panel2", 576, 320, 75, 25, "冷罨法3", ""},
    {"Shape1", "Panel2", 416, 344, 73, 9, "", ""},
    {"Shape2", "Panel2", 496, 344, 73, 9, "", ""},
    {"Shape3", "Panel2", 576, 344, 73, 9, "", ""},
    {"Button96", "Panel2", 416, 360, 75, 25, "温罨1+電1", ""},
    {"Button97", "Panel2", 496, 360, 75, 25, "温罨2+電2", ""},
    {"Button98", "Panel2", 576, 360, 75, 25, "温罨3+電3", ""},
    {"Shape4", "Panel2", 416, 384, 73, 9, "", ""},
    {"Shape5", "Panel2", 496, 384, 73, 9, "", ""},
    {"Shape6", "Panel2", 576, 384, 73, 9, "", ""},
    {"Button99", "Panel2", 416, 400, 89, 25, "長期捻挫後療1", ""},
    {"Button100", "Panel2", 512, 400, 89, 25, "長期捻挫後療2", ""},
    {"Button101", "Panel2", 608, 400, 89, 25, "長期捻挫後療3", ""},
    {"Shape7", "Panel2", 416, 424, 89, 9, "", ""},
    {"Shape8", "Panel2", 512, 424, 89, 9, "", ""},
    {"Shape9", "Panel2", 608, 424, 89, 9, "", ""},
    {"Button60", "Panel2", 632, 88, 75, 25, "往料2ｋ迄", ""},
    {"Shape10", "Panel2", 632, 112, 73, 9, "", ""},
    {"Button61", "Panel2", 712, 88, 75, 25, "往療2-4ｋ", ""},
    {"Shape11", "Panel2", 712, 112, 73, 9, "", ""},
    {"Button62", "Panel2", 792, 88, 75, 25, "往療4-6ｋ", ""},
    {"Shape12", "Panel2", 792, 112, 73, 9, "", ""},
    {"Button63", "Panel2", 632, 128, 75, 25, "往療6-8ｋ", ""},
    {"Shape13", "Panel2", 632, 152, 73, 9, "", ""},
    {"Button64", "Panel2", 712, 128, 75, 25, "往療上限", ""},
    {"Shape14", "Panel2", 712, 152, 73, 9, "", ""},
    {"Button71", "Panel2", 792, 128, 113, 25, "往療夜間暴風難路", ""},
    {"Shape22", "Panel2", 792, 152, 113, 9, "", ""},
    {"Button68", "Panel2", 736, 168, 75, 25, "金属副子大", ""},
    {"Shape19", "Panel2", 736, 192, 73, 9, "", ""},
    {"Button69", "Panel2", 816, 168, 75, 25, "金属副子中", ""},
    {"Shape20", "Panel2", 816, 192, 73, 9, "", ""},
    {"Button70", "Panel2", 736, 208, 75, 25, "金属副子小", ""},
    {"Shape21", "Panel2", 736, 232, 73, 9, "", ""},
    {"Button65", "Panel2", 816, 208, 75, 25, "時間外加算", ""},
    {"Shape15", "Panel2", 816, 232, 73, 9, "", ""},
    {"Button67", "Panel2", 736, 248, 75, 25, "休日加算", ""},
    {"Shape17", "Panel2", 736, 272, 73, 9, "", ""},
    {"Button66", "Panel2", 816, 248, 75, 25, "深夜加算", ""},
    {"Shape16", "Panel2", 816, 272, 73, 9, "", ""},
    {"Button72", "Panel2", 728, 280, 105, 25, "施術情報提供料", ""},
    {"Shape18", "Panel2", 728, 304, 105, 9, "", ""},
    {"Button102", "Panel2", 704, 400, 57, 25, "初検料", ""},
    {"Shape23", "Panel2", 704, 424, 57, 9, "", ""},
    {"Button103", "Panel2", 768, 400, 75, 25, "初検料+相談", ""},
    {"Shape24", "Panel2", 768, 424, 73, 9, "", ""},
    {"Button104", "Panel2", 848, 400, 57, 25, "再検料", ""},
    {"Shape25", "Panel2", 848, 424, 57, 9, "", ""},
    {"Label25", "Panel2", 656, 320, 0, 12, "保険料金合計", ""},
    {"DBEdit26", "Panel2", 656, 336, 73, 20, "保険料金合計", "DataSource1"},
    {"Label23", "Panel2", 736, 320, 0, 12, "保険外料金", ""},
    {"DBEdit27", "Panel2", 736, 336, 73, 20, "保険外料金", "DataSource1"},
    {"Label24", "Panel2", 816, 320, 0, 12, "窓口料金", ""},
    {"DBEdit28", "Panel2", 816, 336, 73, 20, "窓口料金", "DataSource1"},
    {"Label20", "Panel2", 656, 360, 0, 12, "その他の保険加算料金", ""},
    {"DBEdit23", "Panel2", 656, 376, 73, 20, "その他の保険加算料金", "DataSource1"},
    {"Label43", "Panel2", 784, 360, 0, 12, "一部負担金", ""},
    {"DBEdit40", "Panel2", 776, 376, 81, 20, "一部負担金", "DataSource1"},
};

const char* const keyboardOrder[] = {
    "Button75",
    "Button76",
    "Button77",
    "Button110",
    "DBEdit1",
    "DBEdit2",
    "DBEdit3",
    "DBEdit17",
    "DBEdit22",
    "DBEdit4",
    "DBEdit5",
    "DBEdit6",
    "Edit1",
    "Edit2",
    "Edit3",
    "Edit4",
    "Edit5",
    "DBEdit10",
    "DBEdit11",
    "DBEdit12",
    "DBEdit13",
    "DBEdit14",
    "DBEdit15",
    "DBEdit16",
    "DBEdit18",
    "DBEdit23",
    "DBEdit24",
    "DBEdit25",
    "DBEdit26",
    "DBEdit27",
    "DBEdit28",
    "Button1",
    "Button2",
    "Button3",
    "Button4",
    "Button5",
    "Button6",
    "Button7",
    "Button8",
    "Button9",
    "Button10",
    "Button11",
    "Button12",
    "Button13",
    "Button14",
    "Button15",
    "Button16",
    "Button17",
    "Button18",
    "Button19",
    "Button20",
    "Button21",
    "Button22",
    "Button23",
    "Button24",
    "Button25",
    "Button26",
    "Button27",
    "Button28",
    "Button29",
    "Button30",
    "Button31",
    "Button32",
    "Button33",
    "Button34",
    "Button35",
    "Button36",
    "Button37",
    "Button38",
    "Button39",
    "Button40",
    "Button41",
    "Button42",
    "Button43",
    "Button44",
    "Button45",
    "Button46",
    "Button47",
    "Button48",
    "Button49",
    "Button50",
    "Button51",
    "Button52",
    "Button53",
    "Button54",
    "Button55",
    "Button56",
    "Button57",
    "Button58",
    "Button59",
    "Button60",
    "Button61",
    "Button62",
    "Button63",
    "Button64",
    "Button65",
    "Button66",
    "Button67",
    "Button68",
    "Button69",
    "Button70",
    "Button72",
    "Button73",
    "Edit6",
    "Button74",
    "DBEdit29",
    "DBEdit30",
    "DBEdit31",
    "DBEdit32",
    "DBEdit33",
    "DBEdit34",
    "DBEdit35",
    "DBEdit36",
    "DBEdit37",
    "Button78",
    "Button79",
    "Button80",
    "Button81",
    "Button82",
    "Button83",
    "Button84",
    "Button85",
    "Button86",
    "Button87",
    "Button88",
    "Button89",
    "Button90",
    "Button91",
    "Button92",
    "Button93",
    "Button94",
    "Button95",
    "Button96",
    "Button97",
    "Button98",
    "Button99",
    "Button100",
    "Button101",
    "Button71",
    "DBEdit38",
    "Button102",
    "Button103",
    "Button104",
    "Button105",
    "Button106",
    "Button107",
    "Button108",
    "Button109",
    "DBEdit40",
};

class Unit1LayoutTest : public testing::Test {
protected:
    Unit1LayoutTest()
    {
        qtApp();
        platform::installFonts();
        previousSink = platform::setErrorSink([this](QWidget*, const QString& m) { errors << m; });
    }
    ~Unit1LayoutTest() override { platform::setErrorSink(previousSink); }

    std::unique_ptr<TForm1> open(std::optional<char> mode = std::nullopt)
    {
        auto form = std::make_unique<TForm1>(db.folder(), mode);
        form->show();
        return form;
    }

    TempDatabase db;
    QStringList errors;
    platform::ErrorSink previousSink;
};

TEST_F(Unit1LayoutTest, EveryControlSitsWhereItWasDesignedWithItsCaptionOrField)
{
    auto form = open();
    for (const Designed& d : designed) {
        SCOPED_TRACE(d.name);
        QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(d.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(d.panel));
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->x(), d.left);
        EXPECT_EQ(w->y(), d.top);
        EXPECT_EQ(w->height(), d.height);
        if (d.width)
            EXPECT_EQ(w->width(), d.width);
        else
            EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(u(d.text))) << "caption clipped";

        const QString name = QString::fromLatin1(d.name);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(name.startsWith(QLatin1String("Label")));
            EXPECT_EQ(label->text(), u(d.text));
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_TRUE(name.startsWith(QLatin1String("Button")));
            EXPECT_EQ(button->text(), u(d.text));
        } else if (auto* box = qobject_cast<widgets::DBEdit*>(w)) {
            EXPECT_TRUE(name.startsWith(QLatin1String("DBEdit")));
            EXPECT_EQ(box->dataField(), u(d.text));
            EXPECT_EQ(box->dataSourceName(), QLatin1String(d.dataSource));
            EXPECT_FALSE(box->isReadOnly());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            EXPECT_TRUE(name.startsWith(QLatin1String("Edit")));
            EXPECT_EQ(edit->text(), QString());
        } else {
            ASSERT_NE(qobject_cast<widgets::Shape*>(w), nullptr);
            EXPECT_TRUE(name.startsWith(QLatin1String("Shape")));
            EXPECT_EQ(qobject_cast<widgets::Shape*>(w)->brushColor(), widgets::clWhite);
        }
    }
}

TEST_F(Unit1LayoutTest, TheWindowHoldsNoControlBeyondTheDesign)
{
    auto form = open();
    std::set<QString> names;
    for (const Designed& d : designed)
        names.insert(QString::fromLatin1(d.name));
    for (QWidget* panel : {form->findChild<QWidget*>(QStringLiteral("Panel1")), form->findChild<QWidget*>(QStringLiteral("Panel2"))})
        for (QWidget* w : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(names.count(w->objectName())) << w->objectName().toStdString();
    EXPECT_EQ(form->findChildren<QPushButton*>().size(), 110);
    EXPECT_EQ(form->findChildren<widgets::Shape*>().size(), 28);
}

TEST_F(Unit1LayoutTest, WindowCaptionFontPanelsAndPlacement)
{
    auto form = open();
    EXPECT_EQ(form->objectName(), QLatin1String("TForm1"));
    EXPECT_EQ(form->windowTitle(), u("多部位入力(体感サンプルソフト・負担率はランダムに強制設定)"));
    EXPECT_EQ(form->size(), QSize(911, 494));
    EXPECT_EQ(form->font().family(), u("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form->font().pixelSize(), 12);
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Label31"))->font(), form->font());

    auto* panel1 = form->findChild<QFrame*>(QStringLiteral("Panel1"));
    auto* panel2 = form->findChild<QFrame*>(QStringLiteral("Panel2"));
    EXPECT_EQ(panel1->geometry(), QRect(0, 0, 911, 41));
    EXPECT_EQ(panel2->geometry(), QRect(0, 41, 911, 453));
    EXPECT_TRUE(panel2->autoFillBackground());
    EXPECT_EQ(panel2->palette().color(QPalette::Window), widgets::clSkyBlue);
    EXPECT_EQ(widgets::clSkyBlue, QColor(0xA6, 0xCA, 0xF0));
    EXPECT_FALSE(panel1->autoFillBackground());

    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE((form->geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(Unit1LayoutTest, ResizingStretchesThePanelsAndMovesNothingElse)
{
    auto form = open();
    for (QSize size : {QSize(1200, 700), QSize(600, 300)}) {
        SCOPED_TRACE(size.width());
        form->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("Panel1"))->geometry(), QRect(0, 0, size.width(), 41));
        EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("Panel2"))->geometry(),
                  QRect(0, 41, size.width(), size.height() - 41));
        for (const Designed& d : designed) {
            const QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(d.name));
            EXPECT_EQ(w->pos(), QPoint(d.left, d.top)) << d.name;
        }
    }
}

TEST_F(Unit1LayoutTest, TabWalksTheControlsInTheDesignedOrder)
{
    auto form = open();
    QStringList walked;
    QWidget* w = form.get();
    do {
        w = w->nextInFocusChain();
        if (w != form.get() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible())
            walked << w->objectName();
    } while (w != form.get());
    QStringList expected;
    for (const char* name : keyboardOrder)
        expected << QString::fromLatin1(name);
    EXPECT_EQ(walked, expected);
}

// The reduced layouts hide whole site columns (or the calculation) and nothing
// else; labels, indicators and the site resets always stay.
struct ModeCase {
    char mode;
    std::vector<const char*> hidden;
};

TEST_F(Unit1LayoutTest, DisplayModesHideTheirControlsOnly)
{
    const ModeCase cases[] = {
        {'a', {}},
        {'b', {"Edit3", "Edit4", "Edit5", "DBEdit12", "DBEdit31", "DBEdit34", "DBEdit37",
               "Button4", "Button5", "Button6", "Button9", "Button10", "Button11", "Button14", "Button15", "Button16",
               "Button19", "Button20", "Button21", "Button24", "Button25", "Button26", "Button29", "Button30",
               "Button31", "Button34", "Button35", "Button36", "Button39", "Button40", "Button41", "Button44",
               "Button45", "Button46", "Button49", "Button50", "Button51", "Button54", "Button55", "Button56",
               "Button80", "Button83", "Button86", "Button89", "Button92", "Button95", "Button59", "Button98",
               "Button101"}},
        {'c', {"Button73", "Edit3", "Edit4", "Edit5", "DBEdit31", "Button4", "Button5", "Button6", "Button80",
               "Button83"}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        auto form = open(c.mode);
        std::set<std::string> hidden(c.hidden.begin(), c.hidden.end());
        for (const Designed& d : designed)
            EXPECT_EQ(form->findChild<QWidget*>(QString::fromLatin1(d.name))->isVisible(), !hidden.count(d.name))
                << d.name;
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

} // namespace
