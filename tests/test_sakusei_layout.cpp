#include "test_sakusei_fixture.h"

#include "platform/Fonts.h"

#include <QFontInfo>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

namespace {

struct Designed {
    const char* parent;
    const char* name;
    QRect geometry; // width and height -1: a label, sized by its caption
    const char* caption;
};

// The designed places at 96 dpi, relative to the top bar or the scroll box.
const Designed designed[] = {
    {"Panel1", "Label42", {8, 8, 95, 19}, "領収証作成"},
    {"Panel1", "Button31", {328, 8, 75, 25}, "強制編集"},
    {"Panel1", "Button37", {416, 8, 75, 25}, "編集終了"},
    {"Panel1", "Label45", {504, 8, 144, 16}, "捻挫・挫傷・打撲入力"},
    {"Panel1", "Button35", {736, 8, 57, 25}, "戻る"},
    {"ScrollBoxContents", "Editdd", {6, 20, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditJi", {77, 20, 124, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit", {216, 20, 129, 20}, nullptr},
    {"ScrollBoxContents", "EditS2", {351, 20, 35, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit3", {6, 56, 65, 20}, nullptr},
    {"ScrollBoxContents", "Editkx", {92, 56, 45, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit4", {202, 56, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditN2", {280, 56, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit19", {350, 56, 55, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit5", {6, 96, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit6", {86, 96, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit7", {165, 96, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit8", {246, 96, 45, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit9", {312, 96, 46, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit10", {378, 96, 47, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit11", {9, 140, 48, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit12", {70, 140, 51, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit13", {133, 140, 52, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit14", {198, 140, 51, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit15", {267, 140, 54, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit16", {338, 140, 55, 20}, nullptr},
    {"ScrollBoxContents", "Editd", {9, 184, 48, 20}, nullptr},
    {"ScrollBoxContents", "Editd2", {70, 184, 43, 20}, nullptr},
    {"ScrollBoxContents", "Editd3", {125, 184, 44, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit17", {182, 184, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditOZ", {251, 184, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditZ", {330, 184, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditxZ", {9, 230, 65, 20}, nullptr},
    {"ScrollBoxContents", "Editp", {88, 230, 65, 20}, nullptr},
    {"ScrollBoxContents", "DBEdit2", {176, 230, 81, 20}, nullptr},
    {"ScrollBoxContents", "EditZ2", {270, 230, 65, 20}, nullptr},
    {"ScrollBoxContents", "DBEdit1", {440, 312, 73, 20}, nullptr},
    {"ScrollBoxContents", "Editv", {520, 312, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditS", {592, 312, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditO", {672, 312, 65, 20}, nullptr},
    {"ScrollBoxContents", "EditDBEdit18", {744, 312, 65, 20}, nullptr},
    {"ScrollBoxContents", "Label1", {6, 6, -1, -1}, "個人id"},
    {"ScrollBoxContents", "Label2", {77, 6, -1, -1}, "カナ氏名"},
    {"ScrollBoxContents", "Label3", {216, 6, -1, -1}, "氏名"},
    {"ScrollBoxContents", "Label34", {351, 6, -1, -1}, "負担率"},
    {"ScrollBoxContents", "Label5", {5, 42, -1, -1}, "初検料"},
    {"ScrollBoxContents", "Label6", {92, 42, -1, -1}, "初検時相談支援料"},
    {"ScrollBoxContents", "Label7", {202, 42, -1, -1}, "再検料"},
    {"ScrollBoxContents", "Label38", {280, 42, -1, -1}, "年月日"},
    {"ScrollBoxContents", "Label33", {350, 41, -1, -1}, "負傷部位数"},
    {"ScrollBoxContents", "Label8", {6, 84, -1, -1}, "施療料1"},
    {"ScrollBoxContents", "Label9", {89, 84, -1, -1}, "施療料2"},
    {"ScrollBoxContents", "Label10", {168, 84, -1, -1}, "施療料3"},
    {"ScrollBoxContents", "Label11", {246, 84, -1, -1}, "冷罨法料1"},
    {"ScrollBoxContents", "Label12", {312, 84, -1, -1}, "冷罨法料2"},
    {"ScrollBoxContents", "Label13", {378, 84, -1, -1}, "冷罨法料3"},
    {"ScrollBoxContents", "Label14", {9, 126, -1, -1}, "後療料1"},
    {"ScrollBoxContents", "Label15", {70, 126, -1, -1}, "後療料2"},
    {"ScrollBoxContents", "Label16", {133, 126, -1, -1}, "後療料3"},
    {"ScrollBoxContents", "Label17", {198, 126, -1, -1}, "温罨法料1"},
    {"ScrollBoxContents", "Label18", {267, 126, -1, -1}, "温罨法料2"},
    {"ScrollBoxContents", "Label19", {338, 126, -1, -1}, "温罨法料3"},
    {"ScrollBoxContents", "Label20", {9, 170, -1, -1}, "電療料1"},
    {"ScrollBoxContents", "Label21", {70, 170, -1, -1}, "電療料2"},
    {"ScrollBoxContents", "Label22", {125, 170, -1, -1}, "電療料3"},
    {"ScrollBoxContents", "Label23", {182, 170, -1, -1}, "往療料"},
    {"ScrollBoxContents", "Label24", {251, 170, -1, -1}, "時間外加算"},
    {"ScrollBoxContents", "Label25", {330, 170, -1, -1}, "深夜加算"},
    {"ScrollBoxContents", "Label26", {9, 214, -1, -1}, "休日加算"},
    {"ScrollBoxContents", "Label27", {86, 214, -1, -1}, "施術情報提供料"},
    {"ScrollBoxContents", "Label44", {179, 214, -1, -1}, "金属副子"},
    {"ScrollBoxContents", "Label28", {270, 214, -1, -1}, "その他の保険加算料金"},
    {"ScrollBoxContents", "Label43", {439, 297, -1, -1}, "夜間暴風難路"},
    {"ScrollBoxContents", "Label29", {517, 298, -1, -1}, "保険料金合計"},
    {"ScrollBoxContents", "Label30", {595, 298, -1, -1}, "一部負担金"},
    {"ScrollBoxContents", "Label31", {674, 298, -1, -1}, "保険外料金"},
    {"ScrollBoxContents", "Label32", {744, 298, -1, -1}, "窓口料金"},
    {"ScrollBoxContents", "Button1", {440, 0, 75, 25}, "初検料"},
    {"ScrollBoxContents", "Shape1", {440, 24, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button2", {528, 0, 75, 25}, "初検+相談料"},
    {"ScrollBoxContents", "Shape2", {528, 24, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button3", {616, 0, 75, 25}, "再検料"},
    {"ScrollBoxContents", "Shape3", {616, 24, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button4", {448, 32, 57, 25}, "施療料1"},
    {"ScrollBoxContents", "Shape4", {448, 56, 57, 9}, nullptr},
    {"ScrollBoxContents", "Button5", {536, 32, 57, 25}, "施療料2"},
    {"ScrollBoxContents", "Shape5", {536, 56, 57, 9}, nullptr},
    {"ScrollBoxContents", "Button6", {624, 32, 57, 25}, "施療料3"},
    {"ScrollBoxContents", "Shape6", {624, 56, 57, 9}, nullptr},
    {"ScrollBoxContents", "Button7", {440, 64, 81, 25}, "施療料1+冷1"},
    {"ScrollBoxContents", "Shape7", {440, 88, 81, 9}, nullptr},
    {"ScrollBoxContents", "Button8", {528, 64, 81, 25}, "施療料2+冷2"},
    {"ScrollBoxContents", "Shape8", {528, 88, 81, 9}, nullptr},
    {"ScrollBoxContents", "Button9", {616, 64, 81, 25}, "施療料3＋冷3"},
    {"ScrollBoxContents", "Shape9", {616, 88, 81, 9}, nullptr},
    {"ScrollBoxContents", "Button10", {448, 96, 57, 25}, "後療料1"},
    {"ScrollBoxContents", "Shape10", {448, 120, 57, 9}, nullptr},
    {"ScrollBoxContents", "Button11", {536, 96, 57, 25}, "後療料2"},
    {"ScrollBoxContents", "Shape11", {536, 120, 57, 9}, nullptr},
    {"ScrollBoxContents", "Button12", {624, 96, 57, 25}, "後療料3"},
    {"ScrollBoxContents", "Shape12", {624, 120, 57, 9}, nullptr},
    {"ScrollBoxContents", "Button13", {440, 128, 75, 25}, "後1+温1+電1"},
    {"ScrollBoxContents", "Shape13", {440, 152, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button14", {528, 128, 75, 25}, "後2+温2+電2"},
    {"ScrollBoxContents", "Shape14", {528, 152, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button15", {616, 128, 75, 25}, "後3+温3+電3"},
    {"ScrollBoxContents", "Shape15", {616, 152, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button25", {424, 160, 97, 25}, "長期後1・温1・電1"},
    {"ScrollBoxContents", "Shape25", {424, 184, 97, 9}, nullptr},
    {"ScrollBoxContents", "Button26", {536, 160, 105, 25}, "長期後2・温2・電2"},
    {"ScrollBoxContents", "Shape26", {536, 184, 105, 9}, nullptr},
    {"ScrollBoxContents", "Button27", {648, 160, 97, 25}, "長期後3・温3・電3"},
    {"ScrollBoxContents", "Shape27", {648, 184, 97, 9}, nullptr},
    {"ScrollBoxContents", "Button21", {456, 192, 75, 25}, "時間外加算"},
    {"ScrollBoxContents", "Shape21", {456, 216, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button22", {544, 192, 75, 25}, "深夜加算"},
    {"ScrollBoxContents", "Shape22", {544, 216, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button23", {632, 192, 75, 25}, "休日加算"},
    {"ScrollBoxContents", "Shape23", {632, 216, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button24", {720, 192, 75, 25}, "施術情報提供"},
    {"ScrollBoxContents", "Shape24", {720, 216, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button16", {432, 224, 65, 25}, "往療2ｋ迄"},
    {"ScrollBoxContents", "Shape16", {432, 248, 65, 9}, nullptr},
    {"ScrollBoxContents", "Button17", {504, 224, 75, 25}, "往療料2-4ｋ"},
    {"ScrollBoxContents", "Shape17", {504, 248, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button18", {584, 224, 75, 25}, "往療料4-6ｋ"},
    {"ScrollBoxContents", "Shape18", {584, 248, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button19", {664, 224, 75, 25}, "往療料6-8ｋ"},
    {"ScrollBoxContents", "Shape19", {664, 248, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button20", {744, 224, 75, 25}, "往療料上限"},
    {"ScrollBoxContents", "Shape20", {744, 248, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button28", {432, 256, 145, 25}, "往療夜間・暴風・難路加算"},
    {"ScrollBoxContents", "Shape28", {432, 280, 145, 9}, nullptr},
    {"ScrollBoxContents", "Button29", {584, 256, 73, 25}, "金属副子大"},
    {"ScrollBoxContents", "Shape31", {584, 280, 73, 9}, nullptr},
    {"ScrollBoxContents", "Button33", {664, 256, 75, 25}, "金属副子中"},
    {"ScrollBoxContents", "Shape32", {664, 280, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button34", {744, 256, 75, 25}, "金属副子小"},
    {"ScrollBoxContents", "Shape33", {744, 280, 75, 9}, nullptr},
    {"ScrollBoxContents", "Button30", {704, 8, 75, 25}, "リセット"},
    {"ScrollBoxContents", "Button32", {704, 56, 75, 25}, "計算"},
    {"ScrollBoxContents", "Button40", {696, 128, 113, 25}, "保険外料金リセット"},
    {"ScrollBoxContents", "Button38", {344, 232, 75, 25}, "ヘルプ"},
    {"ScrollBoxContents", "Memo1", {8, 256, 425, 89}, nullptr},
    {"ScrollBoxContents", "Label46", {704, 88, 85, 16}, "保険外料金"},
    {"ScrollBoxContents", "Edit1", {696, 104, 113, 20}, nullptr},
};

struct Bound {
    const char* box;
    const char* field;
    const char* source;
    const char* ime;
    const char* label; // the label that gives the box its focus, if any
};

const Bound bound[] = {
    {"Editdd", "個人id", "DataSource1", "", "Label1"},
    {"EditJi", "カナ氏名", "DataSource1", "katakana", "Label2"},
    {"EditDBEdit", "氏名", "DataSource1", "kanji", "Label3"},
    {"EditS2", "負担率", "DataSource1", "", "Label34"},
    {"EditDBEdit3", "初検料", "DataSource1", "off", "Label5"},
    {"Editkx", "初検時相談支援料", "DataSource1", "off", "Label6"},
    {"EditDBEdit4", "再検料", "DataSource1", "off", "Label7"},
    {"EditN2", "年月日", "DataSource1", "", "Label38"},
    {"EditDBEdit19", "負傷部位数", "DataSource1", "", "Label33"},
    {"EditDBEdit5", "施療料1", "DataSource1", "off", "Label8"},
    {"EditDBEdit6", "施療料2", "DataSource1", "off", "Label9"},
    {"EditDBEdit7", "施療料3", "DataSource1", "off", "Label10"},
    {"EditDBEdit8", "冷罨法料1", "DataSource1", "off", "Label11"},
    {"EditDBEdit9", "冷罨法料2", "DataSource1", "", "Label12"},
    {"EditDBEdit10", "冷罨法料3", "DataSource1", "", "Label13"},
    {"EditDBEdit11", "後療料1", "DataSource1", "", "Label14"},
    {"EditDBEdit12", "後療料2", "DataSource1", "", "Label15"},
    {"EditDBEdit13", "後療料3", "DataSource1", "", "Label16"},
    {"EditDBEdit14", "温罨法料1", "DataSource1", "", "Label17"},
    {"EditDBEdit15", "温罨法料2", "DataSource1", "", "Label18"},
    {"EditDBEdit16", "温罨法料3", "DataSource1", "", "Label19"},
    {"Editd", "電療料1", "DataSource1", "", "Label20"},
    {"Editd2", "電療料2", "DataSource1", "", "Label21"},
    {"Editd3", "電療料3", "DataSource1", "", "Label22"},
    {"EditDBEdit17", "往療料", "DataSource1", "", "Label23"},
    {"EditOZ", "時間外加算", "DataSource1", "", "Label24"},
    {"EditZ", "深夜加算", "DataSource1", "", "Label25"},
    {"EditxZ", "休日加算", "DataSource1", "", "Label26"},
    {"Editp", "施術情報提供料", "DataSource1", "", "Label27"},
    {"DBEdit2", "金属副子", "DataSource3", "", nullptr},
    {"EditZ2", "その他の保険加算料金", "DataSource1", "", "Label28"},
    {"DBEdit1", "夜間暴風難路", "DataSource3", "", nullptr},
    {"Editv", "保険料金合計", "DataSource1", "", "Label29"},
    {"EditS", "一部負担金", "DataSource1", "", "Label30"},
    {"EditO", "保険外料金", "DataSource1", "", "Label31"},
    {"EditDBEdit18", "窓口料金", "DataSource1", "", "Label32"},
};

// Keyboard order: the top bar, then the scroll box by its designed numbers.
const char* const tabOrder =
    "Button31 Button35 Button37 Editdd EditJi EditDBEdit EditDBEdit3 Editkx EditDBEdit4 EditDBEdit5 "
    "EditDBEdit6 EditDBEdit7 EditDBEdit8 EditDBEdit9 EditDBEdit10 EditDBEdit11 EditDBEdit12 EditDBEdit13 "
    "EditDBEdit14 EditDBEdit15 EditDBEdit16 Editd Editd2 Editd3 EditDBEdit17 EditOZ EditZ EditxZ Editp "
    "EditZ2 Editv EditS EditO EditDBEdit18 EditDBEdit19 EditS2 EditN2 Button1 Button2 Button3 Button4 "
    "Button5 Button6 Button7 Button8 Button9 Button10 Button11 Button12 Button13 Button14 Button15 "
    "Button16 Button17 Button18 Button19 Button20 Button21 Button22 Button23 Button24 Button25 Button26 "
    "Button27 Button28 Button29 Button30 Memo1 Button32 DBEdit1 DBEdit2 Button33 Button34 Edit1 Button40 "
    "Button38";

class SakuseiLayoutTest : public SakuseiTest {
protected:
    void SetUp() override
    {
        SakuseiTest::SetUp();
        platform::installFonts();
        open().show();
        QApplication::processEvents(); // the pending layout requests
        ASSERT_TRUE(errors.isEmpty());
    }
};

void expectEveryControlWithinTheScrollRange(QScrollArea* scrollBox)
{
    const QWidget* contents = scrollBox->widget();
    EXPECT_EQ(scrollBox->horizontalScrollBar()->maximum(),
              std::max(0, contents->width() - scrollBox->viewport()->width()));
    EXPECT_EQ(scrollBox->verticalScrollBar()->maximum(),
              std::max(0, contents->height() - scrollBox->viewport()->height()));
    for (const QWidget* w : contents->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(contents->rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(SakuseiLayoutTest, EveryControlSitsAtItsDesignedPlaceWithItsCaption)
{
    for (const Designed& d : designed) {
        QWidget* w = control(u8(d.name));
        ASSERT_NE(w, nullptr) << d.name;
        EXPECT_EQ(w->parentWidget()->objectName(), u8(d.parent)) << d.name;
        const QRect expected = d.geometry.width() < 0 ? QRect(d.geometry.topLeft(), w->size()) : d.geometry;
        EXPECT_EQ(w->geometry(), expected) << d.name;
        if (!d.caption)
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            EXPECT_EQ(label->text(), u8(d.caption)) << d.name;
        else
            EXPECT_EQ(qobject_cast<QPushButton*>(w)->text(), u8(d.caption)) << d.name;
    }
    EXPECT_EQ(window->findChildren<widgets::Shape*>().size(), 31);
    EXPECT_EQ(window->findChildren<widgets::DBEdit*>().size(), qsizetype(std::size(bound)));
    EXPECT_EQ(window->findChildren<QPushButton*>().size(), 38);
}

TEST_F(SakuseiLayoutTest, WindowPanelsAndScrollBoxFillTheDesignedClientArea)
{
    EXPECT_EQ(window->windowTitle(), u8("捻挫・打撲・挫傷入力（体感プログラム・負担率はランダム自動設定）"));
    EXPECT_EQ(window->size(), QSize(829, 392));
    EXPECT_EQ(control(QStringLiteral("Panel1"))->geometry(), QRect(0, 0, 829, 33));
    EXPECT_EQ(control(QStringLiteral("Panel2"))->geometry(), QRect(0, 33, 829, 359));
    auto* scrollBox = control<QScrollArea>(QStringLiteral("ScrollBox"));
    EXPECT_EQ(scrollBox->geometry(), QRect(4, 4, 821, 351));
    EXPECT_FALSE(scrollBox->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scrollBox->verticalScrollBar()->isVisible());
    expectEveryControlWithinTheScrollRange(scrollBox);

    // Made smaller, the window scrolls to every control.
    window->resize(600, 300);
    QApplication::processEvents();
    EXPECT_TRUE(scrollBox->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scrollBox->verticalScrollBar()->isVisible());
    expectEveryControlWithinTheScrollRange(scrollBox);
}

TEST_F(SakuseiLayoutTest, FontsAndColours)
{
    struct Font {
        const char* name;
        const char* family;
        int pixels;
        bool bold;
        bool italic;
    };
    const Font fonts[] = {
        {"TForm6", "ＭＳ Ｐゴシック", 12, false, false},   {"Label42", "ＭＳ Ｐゴシック", 19, false, false},
        {"Label45", "ＭＳ Ｐ明朝", 16, false, true},       {"Button35", "ＭＳ Ｐゴシック", 13, true, false},
        {"Memo1", "ＭＳ Ｐゴシック", 16, false, false},    {"Label46", "ＭＳ Ｐゴシック", 16, true, false},
        {"Button4", "ＭＳ Ｐゴシック", 12, false, false},  {"Button1", "ＭＳ Ｐゴシック", 12, false, false},
    };
    for (const Font& f : fonts) {
        QWidget* w = f.name == std::string_view("TForm6") ? window.get() : control(u8(f.name));
        const QFont font = w->font();
        EXPECT_EQ(font.family(), u8(f.family)) << f.name;
        EXPECT_EQ(QFontInfo(font).pixelSize(), f.pixels) << f.name;
        EXPECT_EQ(font.bold(), f.bold) << f.name;
        EXPECT_EQ(font.italic(), f.italic) << f.name;
    }
    struct Colour {
        const char* name;
        QPalette::ColorRole role;
        QColor colour;
    };
    const Colour colours[] = {
        {"Label42", QPalette::WindowText, widgets::clTeal},
        {"Label45", QPalette::WindowText, widgets::clGreen},
        {"Memo1", QPalette::Text, widgets::clGreen},
        {"ScrollBoxContents", QPalette::Window, widgets::clMoneyGreen},
    };
    for (const Colour& c : colours)
        EXPECT_EQ(control(u8(c.name))->palette().color(c.role), c.colour) << c.name;
    EXPECT_TRUE(control(QStringLiteral("ScrollBoxContents"))->autoFillBackground());
    EXPECT_NE(control(QStringLiteral("Panel1"))->palette().color(QPalette::Window), widgets::clMoneyGreen);
    EXPECT_NE(control(QStringLiteral("Label46"))->palette().color(QPalette::WindowText), widgets::clGreen);
}

TEST_F(SakuseiLayoutTest, DataAwareBoxesAreBoundAndLabelled)
{
    for (const Bound& b : bound) {
        auto* box = control<widgets::DBEdit>(u8(b.box));
        ASSERT_NE(box, nullptr) << b.box;
        EXPECT_EQ(box->dataSourceName(), u8(b.source)) << b.box;
        EXPECT_EQ(box->dataField(), u8(b.field)) << b.box;
        EXPECT_EQ(box->imeName(), u8(b.ime)) << b.box;
        EXPECT_EQ(box->height(), 20) << b.box;
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const auto it = std::find_if(std::begin(bound), std::end(bound), [label](const Bound& b) {
            return b.label && label->objectName() == u8(b.label);
        });
        QWidget* expected = it == std::end(bound) ? nullptr : control(u8(it->box));
        EXPECT_EQ(label->buddy(), expected) << label->objectName().toStdString();
    }
}

TEST_F(SakuseiLayoutTest, MemoAndPlainBox)
{
    auto* memo = control<QPlainTextEdit>(QStringLiteral("Memo1"));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(edit1()->text(), QString());
}

TEST_F(SakuseiLayoutTest, TabGoesThroughTheDesignedKeyboardOrderFromNoBoxAtAll)
{
    // Shown, the window has the top bar active: no box or button has the focus.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), control(QStringLiteral("Panel1")));

    QStringList order;
    QWidget* w = control(QStringLiteral("Button31"));
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != control(QStringLiteral("Button31")));
    EXPECT_EQ(order.join(u' '), QString::fromLatin1(tabOrder));
}

} // namespace
