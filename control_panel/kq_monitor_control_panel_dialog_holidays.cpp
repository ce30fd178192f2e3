// The holiday and weekend pages: one holiday program, or the weekend days,
// of the first target read into the page; the page written to every target.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/check_box_bits.h"
#include "control_panel/control_row_binder.h"
#include "control_panel/core/page_jobs.h"
#include "display_protocol/basic_monitor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

constexpr int kClearHolidays = 730;

// A combo box without a current item holds no value.
int combo_value(const QComboBox *combo)
{
    return combo->currentIndex() < 0 ? holiday_programs::kUnset : combo->currentData().toInt();
}

} // namespace

void kq_monitor_control_panel_dialog::on_holiday_program_comboBox_currentIndexChanged(int)
{
    read_holiday(true);
}

int kq_monitor_control_panel_dialog::read_holiday(bool open_link)
{
    return read_one_target(open_link, [this] {
        form.holiday_end_day_month_comboBox->setCurrentIndex(0);
        form.holiday_end_day_day_comboBox->setCurrentIndex(0);
        holiday_program_record record;
        const int status =
            monitor().get_holiday_schedule(form.holiday_program_comboBox->currentData().toInt(), record);
        form.holiday_groupBox->setEnabled(status == 0);
        form.holiday_clear_all_pushButton->setEnabled(status == 0);
        if (status == 0)
            show_holiday(holiday_programs::from_record(record));
        return status;
    });
}

void kq_monitor_control_panel_dialog::show_holiday(const holiday_programs::shown &holiday)
{
    form.holiday_end_day_checkBox->setChecked(holiday.end_day_checked);
    form.holiday_day_radioButton->setChecked(holiday.day_checked);
    form.holiday_week_radioButton->setChecked(holiday.week_checked);
    const holiday_programs::fields &values = holiday.values;
    control_row_binder::select_data(form.holiday_year_comboBox, values.year);
    control_row_binder::select_data(form.holiday_month_comboBox, values.month);
    if (holiday.day_checked)
        control_row_binder::select_data(form.holiday_day_comboBox, values.day);
    if (holiday.week_checked) {
        control_row_binder::select_data(form.holiday_week_weekday_comboBox, values.weekday);
        control_row_binder::select_data(form.holiday_week_nth_comboBox, values.nth);
    }
    if (holiday.end_day_checked) {
        control_row_binder::select_data(form.holiday_end_day_month_comboBox, values.end_month);
        control_row_binder::select_data(form.holiday_end_day_day_comboBox, values.end_day);
    }
    // Buttons left as they were still need the description of the values.
    update_holiday_description();
}

void kq_monitor_control_panel_dialog::on_holiday_day_radioButton_toggled(bool checked)
{
    form.holiday_end_day_checkBox->setEnabled(checked);
    form.holiday_day_comboBox->setEnabled(checked);
    const bool end_day = checked && form.holiday_end_day_checkBox->isChecked();
    form.holiday_end_day_month_comboBox->setEnabled(end_day);
    form.holiday_end_day_day_comboBox->setEnabled(end_day);
    update_holiday_description();
}

void kq_monitor_control_panel_dialog::on_holiday_end_day_checkBox_toggled(bool checked)
{
    const bool end_day = checked && form.holiday_end_day_checkBox->isEnabledTo(form.holiday_groupBox);
    form.holiday_end_day_month_comboBox->setEnabled(end_day);
    form.holiday_end_day_day_comboBox->setEnabled(end_day);
    update_holiday_description();
}

void kq_monitor_control_panel_dialog::on_holiday_week_radioButton_toggled(bool checked)
{
    form.holiday_week_nth_comboBox->setEnabled(checked);
    form.holiday_week_weekday_comboBox->setEnabled(checked);
    update_holiday_description();
}

holiday_programs::fields kq_monitor_control_panel_dialog::collect_holiday() const
{
    holiday_programs::fields holiday;
    const bool day = form.holiday_day_radioButton->isChecked();
    holiday.kind = holiday_programs::kind_of(day, form.holiday_end_day_checkBox->isChecked(),
                                             form.holiday_week_radioButton->isChecked());
    holiday.year = combo_value(form.holiday_year_comboBox);
    holiday.month = combo_value(form.holiday_month_comboBox);
    holiday.day = day ? combo_value(form.holiday_day_comboBox) : 0;
    holiday.nth = combo_value(form.holiday_week_nth_comboBox);
    holiday.weekday = combo_value(form.holiday_week_weekday_comboBox);
    holiday.end_month = combo_value(form.holiday_end_day_month_comboBox);
    holiday.end_day = combo_value(form.holiday_end_day_day_comboBox);
    return holiday;
}

void kq_monitor_control_panel_dialog::update_holiday_description()
{
    const holiday_programs::fields holiday = collect_holiday();
    const QString text = holiday_programs::description(holiday);
    const bool disabled = holiday_programs::is_disabled(holiday);
    form.holiday_update_pushButton->setEnabled(form.holiday_groupBox->isEnabled()
                                               && (!text.isEmpty() || disabled));
    if (disabled)
        form.holiday_description_label->setText(tr("Disabled", "disabled holiday"));
    else if (!text.isEmpty())
        form.holiday_description_label->setText(text);
    else
        form.holiday_description_label->setText(tr("Invalid", "invalid holiday"));
}

void kq_monitor_control_panel_dialog::on_holiday_update_pushButton_clicked()
{
    const int program = form.holiday_program_comboBox->currentData().toInt();
    if (target_display_indices.isEmpty())
        return;
    run_jobs(page_jobs::holiday_job({holiday_programs::entry(collect_holiday(), program)}));
}

void kq_monitor_control_panel_dialog::on_holiday_clear_all_pushButton_clicked()
{
    if (target_display_indices.isEmpty() || !confirm_clearing(kClearHolidays))
        return;
    run_jobs(page_jobs::holiday_job(holiday_programs::cleared_holidays()));
    read_holiday(true);
}

int kq_monitor_control_panel_dialog::read_weekend()
{
    // On the page refresh's link.
    return read_one_target(false, [this] {
        quint8 mask = 0;
        const int status = monitor().get_weekend_schedule(mask);
        form.weekend_groupBox->setEnabled(status == 0);
        if (status == 0)
            check_bits(check_box_row("weekend"), mask);
        return status;
    });
}

void kq_monitor_control_panel_dialog::on_advanced_schedule_weekend_update_pushButton_clicked()
{
    if (!target_display_indices.isEmpty())
        run_jobs(page_jobs::weekend_job(static_cast<quint8>(checked_bits(check_box_row("weekend")))));
}
