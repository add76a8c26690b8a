#pragma once
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPushButton;
class QWidget;

namespace bench {

// Buttons of one window that run one handler routine. The family's n-th
// press, counted over the whole run, presses buttons[n % size], so a long
// enough workload presses every button of it.
struct Family {
    const char* name;
    std::vector<QString> buttons;
};

// One step of a visit: `presses` presses of a family, or, with no family,
// text typed into a box over what it held (%1 becomes the visit number).
struct Step {
    const char* family;
    int presses = 1;
    const char* box = nullptr;
    const char* text = nullptr;
};

// What the front desk does with one window, one patient after another.
struct Script {
    const char* program;
    std::vector<Family> families;
    std::vector<Step> visit;
};

const std::vector<Script>& scripts(); // multisite, then sprainentry

// Installs the seams a scripted run needs: no error box (messages are
// collected), no help program, a fixed date and a seeded rate draw.
void installSeams();
// Error messages shown so far.
const std::vector<QString>& errorsShown();

// A window of one program on the database in `folder`, driven by its script.
class Driver {
public:
    Driver(const Script& script, const QString& folder);
    ~Driver();

    const Script& script() const { return m_script; }
    QWidget* window() const { return m_window.get(); }

    // Runs visit number `visit`: types what the script types and hands every
    // button to `press`, which must click it. A window a press closed is
    // shown again before the next step.
    using Press = std::function<void(int family, QPushButton* button)>;
    void runVisit(int visit, const Press& press);

private:
    const Script& m_script;
    std::unique_ptr<QWidget> m_window;
    std::vector<std::vector<QPushButton*>> m_buttons; // by family, as in the script
    std::vector<int> m_next;                          // the next press of each family
    std::vector<int> m_stepFamily;                    // by step of the visit; -1 for typing
};

} // namespace bench
