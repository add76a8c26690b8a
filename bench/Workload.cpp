#include "Workload.h"

#include "Unit1.h"
#include "sakusei.h"

#include "platform/Clock.h"
#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "platform/RateDraw.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

std::vector<QString> buttons(std::initializer_list<int> numbers)
{
    std::vector<QString> out;
    for (int n : numbers)
        out.push_back(QStringLiteral("Button%1").arg(n));
    return out;
}

std::vector<QString> buttonRange(int first, int last)
{
    std::vector<QString> out;
    for (int n = first; n <= last; ++n)
        out.push_back(QStringLiteral("Button%1").arg(n));
    return out;
}

std::vector<QString> joined(std::initializer_list<std::vector<QString>> parts)
{
    std::vector<QString> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Script multisite()
{
    return {
        "multisite",
        {
            {"force edit", buttons({76})},
            {"end edit", buttons({77})},
            {"visit fees", buttons({102, 103, 104})},
            {"injury grid", buttonRange(2, 56)},
            {"aftercare toggles", joined({buttonRange(78, 95), buttonRange(57, 59), buttonRange(96, 101)})},
            {"travel", joined({buttonRange(60, 64), buttons({71})})},
            {"surcharges", buttons({65, 66, 67, 72})},
            {"splints", buttons({68, 69, 70})},
            {"calculation", buttons({73})},
            {"outside-insurance reset", buttons({74})},
            {"site resets", buttonRange(105, 109)},
            {"help", buttons({110})},
            {"full reset", buttons({1})},
            {"close", buttons({75})},
        },
        {
            {"force edit"},
            {nullptr, 1, "DBEdit1", "%1"},
            {nullptr, 1, "DBEdit2", "ヤマダ"},
            {nullptr, 1, "DBEdit3", "山田 花子"},
            {"end edit"},
            {"visit fees"},
            {"injury grid", 3},
            {"aftercare toggles", 3},
            {"travel"},
            {"surcharges"},
            {"splints"},
            {nullptr, 1, "Edit6", "1500"},
            {"calculation"},
            {"outside-insurance reset"},
            {"site resets"},
            {"help"},
            {"full reset"},
            {"close"},
        },
    };
}

Script sprainentry()
{
    return {
        "sprainentry",
        {
            {"force edit", buttons({31})},
            {"end edit", buttons({37})},
            {"visit fees", buttons({1, 2, 3})},
            {"treatment fees", buttonRange(4, 15)},
            {"long-term aftercare", buttonRange(25, 27)},
            {"travel", joined({buttonRange(16, 20), buttons({28})})},
            {"surcharges", buttonRange(21, 24)},
            {"splints", buttons({29, 33, 34})},
            {"calculation", buttons({32})},
            {"outside-insurance reset", buttons({40})},
            {"help", buttons({38})},
            {"full reset", buttons({30})},
            {"close", buttons({35})},
        },
        {
            {"force edit"},
            {nullptr, 1, "Editdd", "%1"},
            {nullptr, 1, "EditJi", "ヤマダ"},
            {nullptr, 1, "EditDBEdit", "山田 花子"},
            {"end edit"},
            {"visit fees"},
            {"treatment fees", 2},
            {"long-term aftercare"},
            {"travel"},
            {"surcharges"},
            {"splints"},
            {nullptr, 1, "Edit1", "1500"},
            {"calculation"},
            {"outside-insurance reset"},
            {"help"},
            {"full reset"},
            {"close"},
        },
    };
}

std::vector<QString> errors;

[[noreturn]] void scriptError(QWidget* window, const QString& what)
{
    std::fprintf(stderr, "%s: %s\n", window->metaObject()->className(), qPrintable(what));
    std::exit(1);
}

template <class T>
T* control(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        scriptError(window, QStringLiteral("no control ") + name);
    return found;
}

} // namespace

const std::vector<Script>& scripts()
{
    static const std::vector<Script> all{multisite(), sprainentry()};
    return all;
}

void installSeams()
{
    platform::setErrorSink([](QWidget*, const QString& message) { errors.push_back(message); });
    platform::setHelpLauncher([](const QString&) {});
    platform::setClock([] { return QDate(2024, 6, 3); });
    platform::seedDraw(20240603);
}

const std::vector<QString>& errorsShown()
{
    return errors;
}

Driver::Driver(const Script& script, const QString& folder) : m_script(script)
{
    if (QByteArray(script.program) == "multisite")
        m_window = std::make_unique<TForm1>(folder);
    else
        m_window = std::make_unique<TForm6>(folder);
    for (const Family& family : script.families) {
        m_buttons.emplace_back();
        for (const QString& name : family.buttons)
            m_buttons.back().push_back(control<QPushButton>(m_window.get(), name));
    }
    // A button the script does not know would go unmeasured: say so.
    QStringList unpressed;
    for (const QPushButton* button : m_window->findChildren<QPushButton*>()) {
        bool known = false;
        for (const auto& row : m_buttons)
            known = known || std::find(row.begin(), row.end(), button) != row.end();
        if (!known)
            unpressed << button->objectName();
    }
    if (!unpressed.isEmpty())
        std::fprintf(stderr, "%s: no family presses %s\n", script.program, qPrintable(unpressed.join(u' ')));
    m_next.assign(script.families.size(), 0);
    for (const Step& step : script.visit) {
        int family = step.family ? 0 : -1;
        while (family >= 0 && QByteArray(script.families[family].name) != step.family)
            if (++family == int(script.families.size()))
                scriptError(m_window.get(), QStringLiteral("no family ") + QString::fromUtf8(step.family));
        m_stepFamily.push_back(family);
    }
    m_window->show();
    QApplication::processEvents();
}

Driver::~Driver() = default;

namespace {
// A key pressed and released on a box. Sent directly rather than through
// Qt's test library, which the memory child would otherwise carry and the
// programs do not.
void typeKey(QWidget* box, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(box, &release);
}
} // namespace

void Driver::runVisit(int visit, const Press& press)
{
    for (std::size_t s = 0; s < m_script.visit.size(); ++s) {
        const Step& step = m_script.visit[s];
        const int family = m_stepFamily[s];
        if (family < 0) {
            auto* box = control<QLineEdit>(m_window.get(), QString::fromLatin1(step.box));
            typeKey(box, Qt::Key_A, Qt::ControlModifier); // typing replaces what the box held
            const QString text = QString::fromUtf8(step.text).replace(QLatin1String("%1"), QString::number(visit));
            for (const QChar c : text)
                typeKey(box, Qt::Key_unknown, Qt::NoModifier, QString(c));
            // Typed text is on the screen before the operator reaches for the
            // next button: its repaint belongs to the typing, not to that press.
            QApplication::processEvents();
            continue;
        }
        for (int i = 0; i < step.presses; ++i) {
            const auto& row = m_buttons[family];
            press(family, row[m_next[family]++ % row.size()]);
            if (!m_window->isVisible()) {
                m_window->show();
                QApplication::processEvents();
            }
        }
    }
}

} // namespace bench
