#pragma once

class QObject;
class QWidget;

namespace widgets {

// Wires every push button named "ButtonN" below `parent` to the slot
// "ButtonNClick()" of `form`, found by name, and runs each click under
// platform::guarded with `parent` as the error box's parent: a handler that
// throws stops there and the window shows the error. A button without its
// slot is a fault of the form (an assertion; a critical log line in release).
void connectHandlers(QObject* form, QWidget* parent);

} // namespace widgets
