#pragma once

#include <QPixmap>
#include <QPointF>
#include <QWidget>

// How far a measured white point lies from the target in CIE 1931 xy: the
// target at the centre in red, the measured point as a black crosshair, one
// pixel per 0.001.
class KQ_color_xy_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_color_xy_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QPointF target_xy() const { return {m_targetX, m_targetY}; }
    QPointF measured_xy() const { return {m_measuredX, m_measuredY}; }

public slots:
    void SetMeasured_xy(double in_x, double in_y);
    void SetTarget_xy(double in_x, double in_y);
    void SetFinalMeasurement(bool in_final);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_background;
    double m_targetX = 0.0;
    double m_targetY = 0.0;
    double m_measuredX = 0.0;
    double m_measuredY = 0.0;
    bool m_finalMeasurement = false;
};
