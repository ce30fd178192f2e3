#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

// Pointer events delivered straight to a widget, so that offscreen tests do
// not depend on where the platform puts the cursor.
inline void send_enter(QWidget &widget)
{
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&widget, &enter);
}

inline void send_leave(QWidget &widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

inline void send_move(QWidget &widget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget.mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

inline void send_release(QWidget &widget, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent release(QEvent::MouseButtonRelease, pos, widget.mapToGlobal(pos), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

// What the widget paints, on a background no painting uses.
inline QImage painted(QWidget &widget, const QColor &background = QColor(12, 34, 56))
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}
