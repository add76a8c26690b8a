#include "widgets/Handlers.h"

#include "platform/ErrorBox.h"

#include <QMetaMethod>
#include <QPushButton>
#include <algorithm>

namespace widgets {

namespace {
// "Button" and a number: the buttons that have a handler of their name.
bool isHandledButton(const QString& name)
{
    const QStringView prefix = u"Button";
    return name.size() > prefix.size() && name.startsWith(prefix)
        && std::all_of(name.begin() + prefix.size(), name.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

void connectHandlers(QObject* form, QWidget* parent)
{
    const QMetaObject* meta = form->metaObject();
    for (QPushButton* button : parent->findChildren<QPushButton*>()) {
        if (!isHandledButton(button->objectName()))
            continue;
        const QByteArray slot = button->objectName().toLatin1() + "Click()";
        const int index = meta->indexOfSlot(slot.constData());
        Q_ASSERT_X(index >= 0, "connectHandlers", slot.constData());
        if (index < 0) {
            qCritical("%s has no slot %s", meta->className(), slot.constData());
            continue;
        }
        const QMetaMethod handler = meta->method(index);
        QObject::connect(button, &QPushButton::clicked, form, [form, parent, handler] {
            platform::guarded(parent, [&] { handler.invoke(form, Qt::DirectConnection); });
        });
    }
}

} // namespace widgets
