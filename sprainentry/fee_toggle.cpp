#include "sakusei.h"

#include "widgets/Shape.h"

#include <QtGlobal>

widgets::Shape* TForm6::indicator(int number) const
{
    auto* shape = findChild<widgets::Shape*>(QStringLiteral("Shape%1").arg(number));
    Q_ASSERT(shape);
    return shape;
}

void TForm6::toggleFee(int indicatorNumber, const std::function<void()>& apply, const std::function<void()>& withdraw)
{
    switch (widgets::pressOn(indicator(indicatorNumber))) {
    case widgets::Press::Apply: apply(); break;
    case widgets::Press::Withdraw: withdraw(); break;
    case widgets::Press::Ignore: break;
    }
}
