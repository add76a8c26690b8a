#include "widgets/Shape.h"

#include <QPainter>

namespace widgets {

Shape::Shape(QWidget* parent) : QWidget(parent) {}

void Shape::setBrushColor(const QColor& color)
{
    if (color == m_brushColor)
        return;
    m_brushColor = color;
    update();
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
