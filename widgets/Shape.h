#pragma once
#include "widgets/Colors.h"

#include <QColor>
#include <QWidget>

namespace widgets {

// An indicator: a rectangle with a one-pixel black border, filled with its
// brush colour. The colour is the window's memory of which fee is applied.
class Shape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)
public:
    explicit Shape(QWidget* parent = nullptr);

    QColor brushColor() const { return m_brushColor; }
    void setBrushColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_brushColor = clWhite;
};

// What a press of a three-way toggle button does, decided by its own
// indicator: white applies, lime withdraws, and any other colour means the
// window no longer knows whether the fee is applied, so the press does nothing.
enum class Press { Apply, Withdraw, Ignore };
Press pressOn(const Shape* indicator);

} // namespace widgets
