#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

// Pointer input for widgets under test, with the button state spelled out
// (a move while dragging carries the held button).
namespace widget_input {

inline void mouse(QWidget &widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

inline void press(QWidget &widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, QEvent::MouseButtonPress, pos, button, button);
}

inline void move(QWidget &widget, QPoint pos, Qt::MouseButtons held = Qt::NoButton)
{
    mouse(widget, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void release(QWidget &widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

// Press at |from|, move to |to| with the left button held, release there.
inline void drag(QWidget &widget, QPoint from, QPoint to)
{
    press(widget, from);
    move(widget, to, Qt::LeftButton);
    release(widget, to);
}

inline void click(QWidget &widget, QPoint pos)
{
    press(widget, pos);
    release(widget, pos);
}

inline void wheel(QWidget &widget, QPoint angleDelta)
{
    const QPointF pos(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent event(pos, QPointF(widget.mapToGlobal(pos.toPoint())), QPoint(), angleDelta, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace widget_input
