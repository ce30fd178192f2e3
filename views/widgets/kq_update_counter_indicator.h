#pragma once

#include <QTimer>
#include <QWidget>

// A small white disc with a count that pops up and settles each time the
// count is incremented.
class kq_update_counter_indicator : public QWidget
{
    Q_OBJECT

public:
    explicit kq_update_counter_indicator(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // Shows |value| without animating; 0 hides the disc.
    void set_value(int value);
    void increment_value();
    void reset();
    void animate_timer_timeout();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_count = 0;
    int m_phase = 0;
    QTimer m_timer;
};
