// The basic and advanced schedule pages: one program of the first target
// read into the page, the page written to every target by a schedule job.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/check_box_bits.h"
#include "control_panel/control_row_binder.h"
#include "control_panel/core/page_jobs.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/job_task_type.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

constexpr int kClearSchedules = 729;

// The advanced page's repetitions in the order a record's flags apply them.
QList<std::pair<int, QRadioButton *>> repeat_buttons(const Ui::kq_monitor_control_panel_dialogClass &form)
{
    using namespace schedule_programs;
    return {{kEveryDay, form.advanced_schedule_every_day_radioButton},
            {kEveryWeek, form.advanced_schedule_every_week_radioButton},
            {kWeekday, form.advanced_schedule_weekday_radioButton},
            {kWeekend, form.advanced_schedule_weekend_radioButton},
            {kHoliday, form.advanced_schedule_holiday_radioButton},
            {kDate, form.advanced_schedule_date_radioButton}};
}

} // namespace

// --- basic schedule ---------------------------------------------------------

int kq_monitor_control_panel_dialog::read_schedule()
{
    return read_basic_schedule(true);
}

void kq_monitor_control_panel_dialog::on_schedule_number_comboBox_currentIndexChanged(int)
{
    read_schedule();
}

int kq_monitor_control_panel_dialog::read_basic_schedule(bool open_link)
{
    return read_one_target(open_link, [this] {
        schedule_program_record record;
        const int status = monitor().get_schedule(form.schedule_number_comboBox->currentData().toInt(), record, 0);
        form.schedule_groupBox->setEnabled(status == 0);
        if (status == 0)
            show_schedule(record);
        return status;
    });
}

void kq_monitor_control_panel_dialog::show_schedule(schedule_program_record record)
{
    const schedule_programs::basic_program program = schedule_programs::basic_from_record(record);
    {
        const QSignalBlocker every_day(form.schedule_every_day_checkBox);
        const QSignalBlocker on_time(form.schedule_on_time_enable_checkBox);
        const QSignalBlocker off_time(form.schedule_off_time_enable_checkBox);
        // Set to the inverse first and to the value last: the group's toggle
        // then recomputes its children's enabled state over their new values.
        form.schedule_enable_groupBox->setChecked(!program.enabled);
        form.schedule_every_day_checkBox->setChecked(program.every_day);
        form.schedule_every_week_checkBox->setChecked(program.every_week);
        const QList<QCheckBox *> days = check_box_row("schedule");
        check_bits(days, program.day_mask);
        control_row_binder::select_data(form.schedule_input_comboBox, program.input);
        control_row_binder::select_data(form.schedule_picture_mode_comboBox, program.picture_mode);
        form.schedule_every_week_checkBox->setEnabled(!program.every_day);
        for (QCheckBox *day : days)
            day->setEnabled(!program.every_day);
        form.schedule_off_time_enable_checkBox->setChecked(program.off_present);
        form.schedule_off_time_timeEdit->setTime(program.off_time);
        form.schedule_off_time_timeEdit->setEnabled(program.off_present);
        form.schedule_on_time_enable_checkBox->setChecked(program.on_present);
        form.schedule_on_time_timeEdit->setTime(program.on_time);
        form.schedule_on_time_timeEdit->setEnabled(program.on_present);
    }
    form.schedule_enable_groupBox->setChecked(program.enabled);
}

void kq_monitor_control_panel_dialog::on_schedule_every_day_checkBox_stateChanged(int state)
{
    form.schedule_every_week_checkBox->setEnabled(state == 0);
    for (QCheckBox *day : check_box_row("schedule"))
        day->setEnabled(state == 0);
}

void kq_monitor_control_panel_dialog::on_schedule_on_time_enable_checkBox_stateChanged(int state)
{
    form.schedule_on_time_timeEdit->setEnabled(state != 0);
}

void kq_monitor_control_panel_dialog::on_schedule_off_time_enable_checkBox_stateChanged(int state)
{
    form.schedule_off_time_timeEdit->setEnabled(state != 0);
}

schedule_programs::basic_program kq_monitor_control_panel_dialog::basic_program_on_page() const
{
    schedule_programs::basic_program program;
    program.program = form.schedule_number_comboBox->currentData().toInt();
    program.enabled = form.schedule_enable_groupBox->isChecked();
    program.on_present = form.schedule_on_time_enable_checkBox->isChecked();
    program.on_time = form.schedule_on_time_timeEdit->time();
    program.off_present = form.schedule_off_time_enable_checkBox->isChecked();
    program.off_time = form.schedule_off_time_timeEdit->time();
    // No current item gives 0: "Last Input", "Last Setting".
    program.input = form.schedule_input_comboBox->currentData().toInt();
    program.picture_mode = form.schedule_picture_mode_comboBox->currentData().toInt();
    program.every_day = form.schedule_every_day_checkBox->isChecked();
    program.every_week = form.schedule_every_week_checkBox->isChecked();
    program.day_mask = checked_bits(check_box_row("schedule"));
    return program;
}

void kq_monitor_control_panel_dialog::on_schedule_update_pushButton_clicked()
{
    run_jobs(page_jobs::schedule_job({schedule_programs::basic_entry(basic_program_on_page())}, JOB_TASK_SCHEDULE));
}

// --- advanced schedule ------------------------------------------------------

void kq_monitor_control_panel_dialog::on_advanced_schedule_number_comboBox_currentIndexChanged(int)
{
    read_advanced_schedule(true);
}

int kq_monitor_control_panel_dialog::read_advanced_schedule(bool open_link)
{
    return read_one_target(open_link, [this] {
        schedule_program_record record;
        const int status = monitor().get_schedule_extended(
            form.advanced_schedule_number_comboBox->currentData().toInt(), record);
        for (QWidget *widget : {static_cast<QWidget *>(form.advanced_schedule_enable_groupBox),
                                static_cast<QWidget *>(form.advanced_schedule_update_pushButton),
                                static_cast<QWidget *>(form.advanced_schedule_clear_all_pushButton)})
            widget->setEnabled(status == 0);
        if (status == 0)
            show_advanced_program(schedule_programs::advanced_from_record(record));
        return status;
    });
}

void kq_monitor_control_panel_dialog::show_advanced_program(const schedule_programs::advanced_program &program)
{
    form.advanced_schedule_enable_groupBox->setChecked(program.enabled);
    control_row_binder::select_data(form.advanced_schedule_input_comboBox, program.input);
    control_row_binder::select_data(form.advanced_schedule_picture_mode_comboBox, program.picture_mode);
    control_row_binder::select_data(form.advanced_schedule_on_off_type_comboBox, program.event_type);
    for (const auto &repeat : repeat_buttons(form)) {
        if (repeat.first == program.repeat)
            repeat.second->setChecked(true);
    }
    check_bits(check_box_row("advanced_schedule"), program.day_mask);
    form.advanced_schedule_timeEdit->setTime(program.time);
    if (program.has_date) {
        control_row_binder::select_data(form.advanced_schedule_date_year_comboBox, program.year);
        control_row_binder::select_data(form.advanced_schedule_date_month_comboBox, program.month);
        control_row_binder::select_data(form.advanced_schedule_date_day_comboBox, program.day);
    }
}

void kq_monitor_control_panel_dialog::on_advanced_schedule_date_radioButton_toggled(bool checked)
{
    const bool enabled = checked && form.advanced_schedule_enable_groupBox->isChecked();
    for (QComboBox *combo : {form.advanced_schedule_date_year_comboBox, form.advanced_schedule_date_month_comboBox,
                             form.advanced_schedule_date_day_comboBox})
        combo->setEnabled(enabled);
}

void kq_monitor_control_panel_dialog::on_advanced_schedule_every_week_radioButton_toggled(bool checked)
{
    const bool enabled = checked && form.advanced_schedule_enable_groupBox->isChecked();
    for (QCheckBox *day : check_box_row("advanced_schedule"))
        day->setEnabled(enabled);
}

void kq_monitor_control_panel_dialog::on_advanced_schedule_enable_groupBox_toggled(bool checked)
{
    on_advanced_schedule_date_radioButton_toggled(checked && form.advanced_schedule_date_radioButton->isChecked());
    on_advanced_schedule_every_week_radioButton_toggled(checked
                                                        && form.advanced_schedule_every_week_radioButton->isChecked());
}

schedule_programs::advanced_program kq_monitor_control_panel_dialog::advanced_program_on_page() const
{
    schedule_programs::advanced_program program;
    program.program = form.advanced_schedule_number_comboBox->currentData().toInt();
    program.enabled = form.advanced_schedule_enable_groupBox->isChecked();
    program.event_type = form.advanced_schedule_on_off_type_comboBox->currentData().toInt();
    program.time = form.advanced_schedule_timeEdit->time();
    program.input = form.advanced_schedule_input_comboBox->currentData().toInt();
    program.picture_mode = form.advanced_schedule_picture_mode_comboBox->currentData().toInt();
    program.repeat = schedule_programs::kNoRepeat;
    for (const auto &repeat : repeat_buttons(form)) {
        if (repeat.second->isChecked())
            program.repeat = repeat.first;
    }
    program.day_mask = checked_bits(check_box_row("advanced_schedule"));
    program.year = form.advanced_schedule_date_year_comboBox->currentData().toInt();
    program.month = form.advanced_schedule_date_month_comboBox->currentData().toInt();
    program.day = form.advanced_schedule_date_day_comboBox->currentData().toInt();
    return program;
}

void kq_monitor_control_panel_dialog::on_advanced_schedule_update_pushButton_clicked()
{
    if (target_display_indices.isEmpty())
        return;
    run_jobs(page_jobs::schedule_job({schedule_programs::advanced_entry(advanced_program_on_page())},
                                     JOB_TASK_SCHEDULE_BANK_12));
}

void kq_monitor_control_panel_dialog::on_advanced_schedule_clear_all_pushButton_clicked()
{
    if (target_display_indices.isEmpty() || !confirm_clearing(kClearSchedules))
        return;
    run_jobs(page_jobs::schedule_job(schedule_programs::cleared_advanced_programs(), JOB_TASK_SCHEDULE_BANK_12));
    read_advanced_schedule(true);
}
