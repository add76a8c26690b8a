#include "platform/ErrorBox.h"

#include "tables/Error.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <exception>
#include <utility>

namespace platform {

namespace {
ErrorSink& currentSink()
{
    static ErrorSink sink;
    return sink;
}
} // namespace

void showError(QWidget* parent, const QString& message)
{
    if (const ErrorSink& sink = currentSink())
        sink(parent, message);
    else
        QMessageBox::critical(parent, QGuiApplication::applicationDisplayName(), message);
}

ErrorSink setErrorSink(ErrorSink sink)
{
    return std::exchange(currentSink(), std::move(sink));
}

bool guarded(QWidget* parent, const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (const tables::Error& e) {
        showError(parent, e.message());
    } catch (const std::exception& e) {
        showError(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        showError(parent, QStringLiteral("予期しないエラーが発生しました。処理を中止しました。"));
    }
    return false;
}

} // namespace platform
