// The Power and Cooling pages' own behaviour: switching the displays on and
// off through jobs, the power-on delay for one display or staggered over
// several, and the Cooling page's joint Update.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/services/string_resource.h"
#include "control_panel/core/control_row_writer.h"
#include "control_panel/core/control_targets.h"
#include "control_panel/core/power_page_rules.h"
#include "control_panel/core/power_state_text.h"
#include "display_protocol/control_codes.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

namespace {

constexpr int kUpdatingDisplaySettings = 1001;

} // namespace

void kq_monitor_control_panel_dialog::init_power_page()
{
    connect(form.power_on_delay_horizontalSlider, &QSlider::valueChanged, this,
            &kq_monitor_control_panel_dialog::update_power_on_delay_ui);
}

void kq_monitor_control_panel_dialog::on_power_on_pushButton_clicked()
{
    set_displays_power_state(job_power_request::kOn);
}

void kq_monitor_control_panel_dialog::on_power_off_pushButton_clicked()
{
    set_displays_power_state(job_power_request::kOff);
}

void kq_monitor_control_panel_dialog::set_displays_power_state(int mode)
{
    if (target_display_indices.isEmpty())
        return;
    QList<job_list_item> results;
    {
        // Only the first display reads its state back; the page shows it.
        KQ_multithreaded_operation_progress_dialog progress;
        progress.add_job(power_page_rules::power_job(mode, true), {target_display_indices.first()},
                         string_resource(kUpdatingDisplaySettings));
        if (target_display_indices.size() > 1)
            progress.add_job(power_page_rules::power_job(mode, false), target_display_indices.mid(1), QString());
        if (progress.start_jobs() == 0)
            progress.exec();
        results = progress.get_job_results();
    }
    form.power_state_label->clear();
    setErrorMessage(0);
    const power_page_rules::power_outcome outcome = power_page_rules::first_job_outcome(results);
    if (outcome.status != 0)
        setErrorMessage(outcome.status);
    else if (!results.isEmpty())
        update_power_state_ui(outcome.mode);
}

void kq_monitor_control_panel_dialog::update_power_state_ui(int mode)
{
    form.power_state_label->setText(power_state_text(mode));
}

void kq_monitor_control_panel_dialog::update_power_on_delay_ui(int value)
{
    form.power_on_delay_label->setText(power_page_rules::delay_text(value, target_display_indices.size()));
}

void kq_monitor_control_panel_dialog::show_staggered_delay_range(const row_reading &delay)
{
    if (!delay.usable())
        return;
    QSlider *slider = form.power_on_delay_horizontalSlider;
    const int targets = target_display_indices.size();
    if (control_targets::several(targets)) {
        const QSignalBlocker blocker(slider);
        slider->setMaximum(power_page_rules::slider_maximum(delay.maximum, targets));
        slider->setValue(0);
    }
    update_power_on_delay_ui(slider->value());
}

void kq_monitor_control_panel_dialog::on_update_power_saving_delay_pushButton_clicked()
{
    if (!control_targets::several(target_display_indices.size()))
        return;
    const int value = form.power_on_delay_horizontalSlider->value();
    {
        KQ_multithreaded_operation_progress_dialog progress;
        for (int i = 0; i < target_display_indices.size(); ++i) {
            progress.add_job(control_write_job(control_code::kPowerOnDelay, power_page_rules::staggered_delay(value, i)),
                             {target_display_indices.at(i)}, string_resource(kUpdatingDisplaySettings));
        }
        if (progress.start_jobs() == 0)
            progress.exec();
    }
    setErrorMessage(0);
}

void kq_monitor_control_panel_dialog::on_update_cooling_fan_pushButton_clicked()
{
    if (!control_targets::several(target_display_indices.size()))
        return;
    run_jobs(control_list_job(
        {vcp_list_item::write(control_code::kFanSensor, form.cooling_fan_sensor_comboBox->currentData().toInt()),
         vcp_list_item::write(control_code::kFanMode, form.cooling_fan_mode_comboBox->currentData().toInt())}));
}
