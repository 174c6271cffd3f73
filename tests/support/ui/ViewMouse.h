#pragma once

// The mouse and keyboard as a user works a view: presses, drags, double
// clicks and a pointer moving with no button down, sent as real events.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

inline void press(QWidget& view, QPointF at)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, at.toPoint());
}

// A move with the left button down.
inline void moveTo(QWidget& view, QPointF to)
{
    QMouseEvent move(QEvent::MouseMove, to, view.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

inline void release(QWidget& view, QPointF at)
{
    QTest::mouseRelease(&view, Qt::LeftButton, {}, at.toPoint());
}

// Press, two moves and the release.
inline void drag(QWidget& view, QPointF from, QPointF to)
{
    press(view, from);
    moveTo(view, (from + to) / 2);
    moveTo(view, to);
    release(view, to);
}

// A click: press and release at one point.
inline void click(QWidget& view, QPointF at)
{
    press(view, at);
    release(view, at);
}

// The pointer moving over the view with no button down.
inline void hover(QWidget& view, QPointF at)
{
    QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

// A double click: a click, then the second press as a double click, then its release.
inline void doubleClick(QWidget& view, QPointF at)
{
    click(view, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, view.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &second);
    release(view, at);
}
