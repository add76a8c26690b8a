#include "QtApp.h"

#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using widgets::Shape;

namespace {

QColor pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST(Shape, PaintsABlackOnePixelBorderFilledWithItsBrushColour)
{
    qtApp();
    const struct {
        const char* name;
        QColor colour;
    } cases[] = {
        {"default", widgets::clWhite},
        {"clLime", widgets::clLime},
        {"clSkyBlue", widgets::clSkyBlue},
    };
    Shape shape;
    shape.resize(73, 9);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.colour != widgets::clWhite) {
            ASSERT_TRUE(shape.setProperty("brushColor", c.colour)) << "settable from a form file";
        }
        EXPECT_EQ(shape.brushColor(), c.colour);
        const QImage image = shape.grab().toImage();
        ASSERT_EQ(image.size(), QSize(73, 9));
        for (const QPoint corner : {QPoint(0, 0), QPoint(72, 0), QPoint(0, 8), QPoint(72, 8)})
            EXPECT_EQ(pixel(image, corner.x(), corner.y()), QColor(Qt::black));
        for (const QPoint inside : {QPoint(1, 1), QPoint(36, 4), QPoint(71, 7)})
            EXPECT_EQ(pixel(image, inside.x(), inside.y()), c.colour);
    }
}

// A colour change repaints only the inside; what the window shows afterwards
// must still be what painting it afresh gives, with a push button lying over
// the indicator's border row as in the designed forms, and with a colour that
// lets the background through.
TEST(Shape, TheScreenShowsEveryColourChangeAsAFreshPaintingWould)
{
    qtApp();
    QWidget window;
    window.resize(120, 40);
    Shape shape(&window);
    shape.setGeometry(10, 20, 73, 9);
    QPushButton button(QStringLiteral("押"), &window);
    button.setGeometry(10, 0, 75, 21); // its last row covers the indicator's top border
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QColor colours[] = {widgets::clLime, widgets::clWhite, QColor(255, 0, 0, 128), widgets::clSkyBlue,
                              QColor(0, 0, 255, 60), widgets::clWhite};
    for (const QColor& colour : colours) {
        SCOPED_TRACE(colour.name(QColor::HexArgb).toStdString());
        shape.setBrushColor(colour);
        QApplication::processEvents();
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), fresh.size());
        EXPECT_TRUE(shown == fresh);
    }
}

} // namespace
