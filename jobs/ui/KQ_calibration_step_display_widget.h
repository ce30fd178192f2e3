#pragma once

#include <QPixmap>
#include <QWidget>

// A square picture of what the current display's calibration is doing, with
// the seconds left while the luminance settles.
class KQ_calibration_step_display_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_calibration_step_display_widget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    // The sub-task is kept but does not change the picture.
    void set_calibration_sub_task(int in_task);
    void set_calibration_task(int in_task);
    void set_wait_time(int in_time);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    QPixmap m_picture;
    int m_task = 0;
    int m_subTask = 0;
    int m_waitSeconds = 0;
};
