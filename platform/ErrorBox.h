#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace platform {

// The standard error box: a modal critical message box with the message,
// titled with the application's display name.
void showError(QWidget* parent, const QString& message);

// Where showError sends its messages. Tests install a recorder; an empty
// sink restores the real box. Returns the previous sink.
using ErrorSink = std::function<void(QWidget*, const QString&)>;
ErrorSink setErrorSink(ErrorSink sink);

// Runs fn and reports anything it throws through showError: a table error
// with its own message, another standard exception with what(), anything
// else with a general message. This is the one place a window catches, so a
// failing handler stops at the failing step and the window carries on.
// Returns true when fn ran to its end.
bool guarded(QWidget* parent, const std::function<void()>& fn);

} // namespace platform
