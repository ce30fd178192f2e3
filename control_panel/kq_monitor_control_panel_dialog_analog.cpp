// The analog video pages: the displays' own analog set-up, expert OSD mode,
// the special lookup tables and the analog offsets and gains.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "control_panel/control_row_binder.h"
#include "control_panel/core/analog_levels.h"
#include "control_panel/core/page_jobs.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/job_task_type.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

constexpr int kAskAutoSetup = 712;
constexpr int kAskAutoBiasGain = 713;
constexpr int kAskBlackLut = 715;
constexpr int kAskWhiteLut = 716;
constexpr quint8 kExpertMode = 2;
constexpr quint8 kNormalMode = 0;

} // namespace

void kq_monitor_control_panel_dialog::read_analog_page()
{
    form.auto_setup_pushButton->setEnabled(false);
    form.auto_gain_bias_pushButton->setEnabled(false);
    uint probe = 0;
    const bool available = monitor().get_vcp(control_code::kAnalogAutoSetup, probe) == 0;
    form.auto_setup_pushButton->setEnabled(available);
    form.auto_gain_bias_pushButton->setEnabled(available);
}

void kq_monitor_control_panel_dialog::read_analog_advanced_page()
{
    form.mode_expert_pushButton->setEnabled(true);
    form.mode_normal_pushButton->setEnabled(true);
    const analog_levels::reading reading = analog_levels::read(monitor());
    analog_offset_alternate_codes = reading.alternate_offsets;
    for (QPushButton *button : {form.black_lut_pushButton, form.white_lut_pushButton, form.normal_lut_pushButton})
        button->setEnabled(reading.available);
    bool offsets = false, gains = false;
    for (int channel = 0; channel < analog_levels::kChannelCount; ++channel) {
        const row_reading &row = reading.rows.at(channel);
        control_row_binder::show_reading(this, analog_levels::row(channel, analog_offset_alternate_codes), row);
        (analog_levels::is_offset(channel) ? offsets : gains) |= row.usable();
    }
    form.analog_bias_groupBox->setEnabled(offsets);
    form.analog_gain_groupBox->setEnabled(gains);
    if (reading.show_status)
        setErrorMessage(reading.status);
}

void kq_monitor_control_panel_dialog::on_auto_setup_pushButton_clicked()
{
    if (!target_display_indices.isEmpty() && confirm(kAskAutoSetup))
        run_jobs(page_jobs::single_task_job(JOB_TASK_ANALOG_AUTO_SETUP));
}

void kq_monitor_control_panel_dialog::on_auto_gain_bias_pushButton_clicked()
{
    if (!target_display_indices.isEmpty() && confirm(kAskAutoBiasGain))
        run_jobs(page_jobs::single_task_job(JOB_TASK_ANALOG_AUTO_GAIN));
}

void kq_monitor_control_panel_dialog::on_mode_expert_pushButton_clicked()
{
    set_expert_mode(kExpertMode);
}

void kq_monitor_control_panel_dialog::on_mode_normal_pushButton_clicked()
{
    set_expert_mode(kNormalMode);
}

void kq_monitor_control_panel_dialog::set_expert_mode(quint8 mode)
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    int status = 0;
    {
        const wait_cursor cursor;
        status = monitor().set_mode_c011(mode);
    }
    setErrorMessage(status);
    close_port_for_display();
    // The page shows what the display offers in its new mode.
    refresh_page_keeping(status);
}

void kq_monitor_control_panel_dialog::on_black_lut_pushButton_clicked()
{
    run_lut_job(kAskBlackLut, page_jobs::kBlackLut);
}

void kq_monitor_control_panel_dialog::on_white_lut_pushButton_clicked()
{
    run_lut_job(kAskWhiteLut, page_jobs::kWhiteLut);
}

void kq_monitor_control_panel_dialog::run_lut_job(int text_id, int kind)
{
    if (one_target() && confirm(text_id))
        run_jobs(page_jobs::lut_job(kind));
}

void kq_monitor_control_panel_dialog::on_normal_lut_pushButton_clicked()
{
    if (!one_target())
        return;
    display_layout_item item;
    const bool calibrated = layout().get_item(target_display_indices.first(), item) == 0
                            && page_jobs::is_calibrated(item, *g_master->getMonitorTracker());
    run_jobs(page_jobs::normal_lut_job(calibrated));
}
