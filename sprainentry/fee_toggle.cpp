#include "sakusei.h"

#include "widgets/Shape.h"

#include <QtGlobal>

// Looked up by name only once: the onset checks ask for several per press.
widgets::Shape* TForm6::indicator(int number) const
{
    widgets::Shape* shape = m_indicatorByNumber.at(number);
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
