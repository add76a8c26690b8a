#include "QtApp.h"

#include "platform/ErrorBox.h"
#include "tables/Error.h"
#include "widgets/Handlers.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A form as the windows write them: handlers named after their buttons,
// buttons nested in panels, and a button that is not a ButtonN.
class Form : public QWidget {
    Q_OBJECT
public:
    Form()
    {
        auto* panel = new QWidget(this);
        for (const char* name : {"Button1", "Button2", "Button12"})
            (new QPushButton(panel))->setObjectName(QString::fromLatin1(name));
        (new QPushButton(this))->setObjectName(QStringLiteral("Closer"));
    }
    QPushButton* button(const char* name) { return findChild<QPushButton*>(QString::fromLatin1(name)); }

    QStringList ran;

public slots:
    void Button1Click() { ran << "Button1"; }
    void Button2Click()
    {
        ran << "Button2 started";
        throw tables::DatabaseError(QStringLiteral("テーブル「料金」を開けません。"));
    }
    void Button12Click() { ran << "Button12"; }
    void CloserClick() { ran << "Closer"; }
};

class HandlersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = platform::setErrorSink([this](QWidget* parent, const QString& m) {
            errors << m;
            parents << parent;
        });
        widgets::connectHandlers(&form, &form);
    }
    void TearDown() override { platform::setErrorSink(previous); }

    QApplication& app = qtApp();
    Form form;
    QStringList errors;
    QList<QWidget*> parents;
    platform::ErrorSink previous;
};

TEST_F(HandlersTest, EachButtonRunsTheHandlerOfItsName)
{
    form.button("Button12")->click();
    form.button("Button1")->click();
    EXPECT_EQ(form.ran, (QStringList{"Button12", "Button1"}));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(HandlersTest, OnlyButtonNIsWired)
{
    form.button("Closer")->click();
    EXPECT_TRUE(form.ran.isEmpty());
}

TEST_F(HandlersTest, AFailingHandlerStopsThereAndTheWindowShowsTheError)
{
    form.button("Button2")->click();
    form.button("Button1")->click();
    EXPECT_EQ(form.ran, (QStringList{"Button2 started", "Button1"}));
    EXPECT_EQ(errors, QStringList{QStringLiteral("テーブル「料金」を開けません。")});
    EXPECT_EQ(parents, QList<QWidget*>{&form});
}

} // namespace

#include "test_Handlers.moc"
