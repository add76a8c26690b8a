#include "widgets/Handlers.h"

#include "platform/ErrorBox.h"

#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>

namespace widgets {

void connectHandlers(QObject* form, QWidget* parent)
{
    static const QRegularExpression buttonName(QStringLiteral("^Button[0-9]+$"));
    const QMetaObject* meta = form->metaObject();
    for (QPushButton* button : parent->findChildren<QPushButton*>(buttonName)) {
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
