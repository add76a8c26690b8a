// Boxes emptied or refreshed by the window keep no undo history: with it,
// every keystroke of every visit would stay in memory for the life of the
// window, growing visit after visit.
#include "Unit1Fixture.h"

namespace {

class Boxes : public Unit1Fixture {};

TEST_F(Boxes, TypingLeavesNoHistoryOnceEmptiedOrStored)
{
    start();
    press("Button76"); // 強制編集
    type("DBEdit3", "山田");
    type("Edit1", "1000");
    type("Edit6", "300");
    press("Button77"); // 編集終了: the typed name goes into the record
    EXPECT_FALSE(box("DBEdit3")->isUndoAvailable()) << "handed over, the box still held its keystrokes";

    press("Button1");  // リセット empties the site boxes
    press("Button74"); // 保険外料金 empties Edit6
    for (const char* name : {"DBEdit3", "Edit1", "Edit6"}) {
        EXPECT_FALSE(box(name)->isUndoAvailable()) << name;
        EXPECT_FALSE(box(name)->isRedoAvailable()) << name;
    }
    EXPECT_EQ(box("DBEdit3")->text(), u8("山田"));
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace
