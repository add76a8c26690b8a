#include "QtApp.h"

#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QImage>
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

} // namespace
