#include "jobs/ui/KQ_calibration_step_display_widget.h"

#include "jobs/ui/calibration_step_pictures.h"

#include <QPainter>

namespace {

constexpr int kCountdownPointSize = 20;
const QColor kCountdownColour(255, 128, 128);

} // namespace

KQ_calibration_step_display_widget::KQ_calibration_step_display_widget(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

QSize KQ_calibration_step_display_widget::sizeHint() const
{
    return QSize(128, 128);
}

QSize KQ_calibration_step_display_widget::minimumSizeHint() const
{
    return sizeHint();
}

void KQ_calibration_step_display_widget::set_calibration_sub_task(int in_task)
{
    m_subTask = in_task;
    refresh();
}

void KQ_calibration_step_display_widget::set_calibration_task(int in_task)
{
    m_task = in_task;
    refresh();
}

void KQ_calibration_step_display_widget::set_wait_time(int in_time)
{
    m_waitSeconds = in_time;
    refresh();
}

void KQ_calibration_step_display_widget::refresh()
{
    m_waitSeconds = calibration_step_wait_time(m_task, m_waitSeconds);
    const QString picture = calibration_step_picture(m_task);
    if (!picture.isEmpty())
        m_picture.load(picture);
    update();
}

void KQ_calibration_step_display_widget::paintEvent(QPaintEvent *)
{
    const int side = qMin(width(), height());
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, side, side), m_picture);
    if (m_waitSeconds <= 0)
        return;
    QFont countdownFont = font();
    countdownFont.setPointSize(kCountdownPointSize);
    setFont(countdownFont);
    painter.setFont(countdownFont);
    const QString seconds = QStringLiteral("%1").arg(m_waitSeconds);
    const QRect shadow = calibration_step_countdown_rect(side);
    painter.setPen(QColor(0, 0, 0, 255));
    painter.drawText(shadow, Qt::AlignCenter, seconds);
    painter.setPen(kCountdownColour);
    painter.drawText(shadow.translated(-1, -1), Qt::AlignCenter, seconds);
}
