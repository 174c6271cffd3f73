#pragma once
// Drags delivered to a widget's own drop handlers, as the platform's drag
// loop delivers them (the offscreen platform runs no drag loop of its own):
// enter, moves, then the drop or the leave.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <memory>

// What the target answered to a drag event.
struct DragAnswer {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

inline DragAnswer sendDragEnter(QWidget* target, const QMimeData* data, QPointF at, Qt::DropActions actions = Qt::MoveAction)
{
    QDragEnterEvent event(at.toPoint(), actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    return { event.isAccepted(), event.isAccepted() ? event.dropAction() : Qt::IgnoreAction };
}

inline DragAnswer sendDragMove(QWidget* target, const QMimeData* data, QPointF at, Qt::DropActions actions = Qt::MoveAction)
{
    QDragMoveEvent event(at.toPoint(), actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    return { event.isAccepted(), event.isAccepted() ? event.dropAction() : Qt::IgnoreAction };
}

inline DragAnswer sendDrop(QWidget* target, const QMimeData* data, QPointF at, Qt::DropActions actions = Qt::MoveAction)
{
    QDropEvent event(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    return { event.isAccepted(), event.isAccepted() ? event.dropAction() : Qt::IgnoreAction };
}

inline void sendDragLeave(QWidget* target)
{
    QDragLeaveEvent event;
    QApplication::sendEvent(target, &event);
}

// Enters, moves to the point and drops there; the drop's answer.
inline DragAnswer dragAndDrop(QWidget* target, const QMimeData* data, QPointF at, Qt::DropActions actions = Qt::MoveAction)
{
    sendDragEnter(target, data, at, actions);
    if (!sendDragMove(target, data, at, actions).accepted) {
        sendDragLeave(target);
        return {};
    }
    return sendDrop(target, data, at, actions);
}

// Drag data as a file manager offers files: their URLs, and the URLs as text.
inline std::unique_ptr<QMimeData> fileManagerData(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    QString text;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
        text += QUrl::fromLocalFile(path).toString() + QLatin1String("\r\n");
    }
    data->setUrls(urls);
    data->setText(text);
    return data;
}

// Drag data carrying element drag text.
inline std::unique_ptr<QMimeData> dragTextData(const QString& text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}
