#include "QtApp.h"

#include "platform/ErrorBox.h"
#include "tables/Error.h"

#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class ErrorBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = platform::setErrorSink([this](QWidget*, const QString& m) { shown << m; });
    }
    void TearDown() override { platform::setErrorSink(previous); }

    QApplication& app = qtApp();
    QStringList shown;
    platform::ErrorSink previous;
};

TEST_F(ErrorBoxTest, TheGuardShowsWhatWasThrownAndStopsThere)
{
    const QString generic = QStringLiteral("予期しないエラーが発生しました。処理を中止しました。");
    const struct {
        const char* what;
        std::function<void()> fail;
        QString message;
    } cases[] = {
        {"conversion", [] { throw tables::ConversionError(QStringLiteral("「1x」は金額として正しくありません。")); },
         QStringLiteral("「1x」は金額として正しくありません。")},
        {"database", [] { throw tables::DatabaseError(QStringLiteral("テーブル「料金」がありません。")); },
         QStringLiteral("テーブル「料金」がありません。")},
        {"standard", [] { throw std::runtime_error("disk full"); }, QStringLiteral("disk full")},
        {"anything", [] { throw 42; }, generic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        bool after = false;
        EXPECT_FALSE(platform::guarded(nullptr, [&] {
            c.fail();
            after = true;
        }));
        EXPECT_FALSE(after);
        EXPECT_EQ(shown, QStringList{c.message});
    }
}

TEST_F(ErrorBoxTest, TheGuardIsSilentWhenNothingFails)
{
    bool ran = false;
    EXPECT_TRUE(platform::guarded(nullptr, [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(ErrorBoxTest, WithoutASinkTheMessageIsACriticalBoxTitledWithTheApplication)
{
    platform::setErrorSink({});
    QApplication::setApplicationDisplayName(QStringLiteral("多部位入力"));
    QWidget window;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        modal = box->isModal() && box->parentWidget() == &window;
        box->accept();
    });
    platform::showError(&window, QStringLiteral("テーブル「料金」がありません。"));
    EXPECT_EQ(title, QStringLiteral("多部位入力"));
    EXPECT_EQ(text, QStringLiteral("テーブル「料金」がありません。"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(modal);
}

} // namespace
