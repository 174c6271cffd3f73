#include "ui/widgets/GuiApplication.h"

#include "platform/ExceptionFrame.h"

GuiApplication::GuiApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool GuiApplication::notify(QObject* receiver, QEvent* event)
{
    return deliverSafely(receiver, event, [&] { return QApplication::notify(receiver, event); });
}

bool GuiApplication::deliverSafely(QObject* receiver, QEvent* event, const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (...) {
        const QString where = QStringLiteral("[") + (receiver ? QString::fromLatin1(receiver->metaObject()->className()) : QStringLiteral("?"))
            + QStringLiteral(" event ") + QString::number(event ? int(event->type()) : 0) + QStringLiteral("]");
        lq::detail::logStoppedFailure(where);
        return true;
    }
}
