// The clock page: the display's real-time clock, set to the operator's or
// the computer's date and time.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/core/control_targets.h"
#include "control_panel/core/page_jobs.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"

#include <QDateEdit>
#include <QTimeEdit>

void kq_monitor_control_panel_dialog::read_clock()
{
    QDateTime clock;
    quint8 daylight_saving = 0;
    const int status = monitor().get_date_time(clock, daylight_saving);
    // The edits stay disabled for several targets, whose clocks only the
    // computer's time is written to.
    const bool editable = status == 0 && !control_targets::several(target_display_indices.size());
    form.timeEdit_time->setEnabled(editable);
    form.dateEdit->setEnabled(editable);
    setErrorMessage(status);
    if (status == 0) {
        form.timeEdit_time->setTime(clock.time());
        form.dateEdit->setDate(clock.date());
    }
}

void kq_monitor_control_panel_dialog::on_set_to_custom_date_pushButton_clicked()
{
    set_clock(false);
}

void kq_monitor_control_panel_dialog::on_set_to_system_date_pushButton_clicked()
{
    if (control_targets::several(target_display_indices.size()))
        run_jobs(page_jobs::system_clock_job());
    else
        set_clock(true);
}

void kq_monitor_control_panel_dialog::set_clock(bool to_system_time)
{
    if (target_display_indices.isEmpty() || !open_port_for_display(target_display_indices.first()))
        return;
    QDateTime written;
    int status = 0;
    {
        const wait_cursor cursor;
        QDateTime clock;
        quint8 daylight_saving = 0;
        status = monitor().get_date_time(clock, daylight_saving);
        if (status == 0) {
            written = to_system_time ? QDateTime::currentDateTime()
                                     : QDateTime(form.dateEdit->date(), form.timeEdit_time->time(), Qt::LocalTime);
            status = monitor().set_date_time(written, daylight_saving);
        }
    }
    setErrorMessage(status);
    if (status == 0) {
        form.timeEdit_time->setTime(written.time());
        form.dateEdit->setDate(written.date());
    }
    close_port_for_display();
}
