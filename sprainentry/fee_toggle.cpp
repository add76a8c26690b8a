#include "sakusei.h"

#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QtGlobal>

widgets::Shape* TForm6::indicator(int number) const
{
    auto* shape = findChild<widgets::Shape*>(QStringLiteral("Shape%1").arg(number));
    Q_ASSERT(shape);
    return shape;
}

// White applies and lime withdraws. The buttons never paint any other colour,
// so an indicator in one means the window no longer knows whether the fee is
// applied: the press then leaves the fee and the record alone.
void TForm6::toggleFee(int indicatorNumber, const std::function<void()>& apply, const std::function<void()>& withdraw)
{
    const QColor colour = indicator(indicatorNumber)->brushColor();
    if (colour == widgets::clWhite)
        apply();
    else if (colour == widgets::clLime)
        withdraw();
}
