#include "widgets/Shape.h"

#include <QPainter>

namespace widgets {

// The indicator paints every pixel of its rectangle, so nothing behind it
// needs painting first; a translucent colour would show what is behind.
Shape::Shape(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Shape::setBrushColor(const QColor& color)
{
    if (color == m_brushColor)
        return;
    m_brushColor = color;
    setAttribute(Qt::WA_OpaquePaintEvent, color.alpha() == 255);
    // Only the inside shows the colour. The designed layout has push buttons
    // overlapping the border row of their indicators, and repainting the
    // border would repaint those buttons with it.
    update(rect().adjusted(1, 1, -1, -1));
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(m_brushColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

Press pressOn(const Shape* indicator)
{
    if (indicator->brushColor() == clWhite)
        return Press::Apply;
    if (indicator->brushColor() == clLime)
        return Press::Withdraw;
    return Press::Ignore;
}

} // namespace widgets
