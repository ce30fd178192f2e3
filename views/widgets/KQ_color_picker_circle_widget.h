#pragma once

#include "views/widgets/color_picker_circle_geometry.h"
#include "views/widgets/high_dpi_picture.h"

#include <QPixmap>
#include <QWidget>

// A hue and saturation picker: a colour circle with a control ball. The
// pointer only reports what it points at (the owner moves the ball with
// setHueSaturation); the arrow keys and moveControlBall move the ball itself.
class KQ_color_picker_circle_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_color_picker_circle_widget(QWidget *parent = nullptr);

    void setHueSaturation(double hue, double saturation);
    // Moves the ball by a quarter of (dx, dy) pixels and reports the result.
    void moveControlBall(double dx, double dy);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void HueSatChanged(double hue, double sat);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap m_circle;
    QPixmap m_circleDisabled;
    high_dpi_picture m_ball;
    hue_saturation m_value;
    bool m_dragging = false;
};
