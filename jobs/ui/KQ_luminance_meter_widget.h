#pragma once

#include "jobs/ui/luminance_meter_geometry.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

// A narrow vertical bar meter of a luminance, with a mark when the value runs
// past the top and two arrows at a target level.
class KQ_luminance_meter_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_luminance_meter_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // What the meter shows now: scale, value and target.
    const luminance_meter_state &state() const { return m_state; }

public slots:
    void show_target_level(bool show);
    // A level above the scale raises the maximum to it.
    void set_target_level(double level);
    void set_value_min_max(double min, double max);
    // A negative value (or one that is not a number) shows as 0.
    void set_value(double value);
    void set_bar_graident_color(QColor inner_color, QColor outer_color);
    void set_bar_background_fill_color(QColor in_color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_arrowLeft;
    QPixmap m_arrowRight;
    QPixmap m_arrowLeft2x;
    QPixmap m_arrowRight2x;
    luminance_meter_state m_state;
    QColor m_innerColor{128, 128, 128};
    QColor m_outerColor{64, 64, 64};
    QColor m_backgroundFill{100, 100, 100};
    int m_margin = 0;
};
