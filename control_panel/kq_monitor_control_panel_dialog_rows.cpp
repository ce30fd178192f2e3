// Reading a page when it is shown and writing changed values: to the one
// target directly (sliders and spin boxes debounced), or to every target
// through jobs. Pages given as rows are wired here from their tables.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "app/services/string_resource.h"
#include "control_panel/control_row_binder.h"
#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_page_rows.h"
#include "control_panel/core/control_row_writer.h"
#include "control_panel/core/control_targets.h"
#include "control_panel/core/cooling_page.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QSlider>
#include <QSpinBox>

#include <memory>

namespace {

constexpr int kDebounceMs = 1500;
constexpr int kUpdatingDisplaySettings = 1001;

} // namespace

int kq_monitor_control_panel_dialog::debounce_interval_ms() const
{
    return wait_service::timer_interval_ms(kDebounceMs);
}

void kq_monitor_control_panel_dialog::tabChanged(int tab)
{
    if (!control_targets::page_is_read(tab, target_display_indices.size()))
        return;
    {
        const wait_cursor cursor;
        if (!open_port_for_display(target_display_indices.first()))
            return;
        setErrorMessage(0);
        read_page_extras(tab, read_row_page(tab));
        read_page_of_its_own(tab);
    }
    close_port_for_display();
}

page_reading kq_monitor_control_panel_dialog::read_row_page(int page)
{
    const QList<control_row> &rows = control_page::rows(page);
    if (rows.isEmpty())
        return {};
    const page_reading reading = page == control_page::kCooling ? cooling_page::read(monitor(), rows)
                                                                : read_control_page(monitor(), rows);
    for (int i = 0; i < rows.size(); ++i)
        control_row_binder::show_reading(this, rows.at(i), reading.rows.at(i));
    if (reading.show_status)
        setErrorMessage(reading.status);
    return reading;
}

void kq_monitor_control_panel_dialog::read_page_extras(int page, const page_reading &reading)
{
    switch (page) {
    case control_page::kPower:
        if (reading.rows.size() == control_page::rows(page).size())
            show_staggered_delay_range(reading.rows.last());
        break;
    case control_page::kCooling:
        form.fan_sensor_temp_groupBox->setEnabled(cooling_page::limits_readable(reading));
        break;
    case control_page::kUniformity:
        update_kqe_uniformity_label();
        break;
    case control_page::kTileMatrix:
        read_tile_matrix_page();
        break;
    default:
        break;
    }
}

void kq_monitor_control_panel_dialog::refresh_page_keeping(int status)
{
    tabChanged(form.stackedWidget->currentIndex());
    // The refresh clears the status line: a failure of the operation before
    // it stays shown unless the refresh has one of its own.
    if (status != 0 && form.status_label->text().isEmpty())
        setErrorMessage(status);
}

void kq_monitor_control_panel_dialog::update_vcp(uint vcp, uint &value)
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    int status = 0;
    {
        const wait_cursor cursor;
        status = write_control(monitor(), static_cast<int>(vcp), value);
    }
    setErrorMessage(status);
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::update_vcp_all_displays(uint vcp, uint value)
{
    run_jobs(control_write_job(static_cast<int>(vcp), static_cast<int>(value)));
}

void kq_monitor_control_panel_dialog::run_jobs(const job_list_item &job, bool close_immediately)
{
    KQ_multithreaded_operation_progress_dialog progress;
    progress.add_job(job, target_display_indices, string_resource(kUpdatingDisplaySettings));
    progress.set_close_immediately(close_immediately);
    // No target, no job: nothing to show a modal dialog for.
    if (progress.start_jobs() == 0)
        progress.exec();
    setErrorMessage(0);
}

template <typename Control>
void kq_monitor_control_panel_dialog::queue_change(QList<pending_change<Control> *> &pending, QTimer &timer,
                                                   Control *control, uint vcp)
{
    timer.stop();
    timer.start(debounce_interval_ms());
    for (const pending_change<Control> *change : pending) {
        if (change->vcp == vcp)
            return;
    }
    pending.append(new pending_change<Control>{control, vcp});
}

void kq_monitor_control_panel_dialog::queue_slider_change(QSlider *slider, uint vcp)
{
    queue_change(pending_slider_changes, slider_timer, slider, vcp);
}

void kq_monitor_control_panel_dialog::queue_spinbox_change(QSpinBox *spinbox, uint vcp)
{
    queue_change(pending_spinbox_changes, spinbox_timer, spinbox, vcp);
}

void kq_monitor_control_panel_dialog::slider_timer_timeout()
{
    while (!pending_slider_changes.isEmpty()) {
        const std::unique_ptr<pending_change<QSlider>> change(pending_slider_changes.takeFirst());
        uint value = static_cast<uint>(change->control->value());
        update_vcp(change->vcp, value);
        if (static_cast<int>(value) != change->control->value())
            emit update_slider_control(change->control, static_cast<int>(value));
    }
}

void kq_monitor_control_panel_dialog::spinbox_timer_timeout()
{
    while (!pending_spinbox_changes.isEmpty()) {
        const std::unique_ptr<pending_change<QSpinBox>> change(pending_spinbox_changes.takeFirst());
        uint value = static_cast<uint>(change->control->value());
        if (change->vcp == basic_monitor::kPowerSaveTime)
            write_power_save_time(value / 5);
        else if (change->vcp == basic_monitor::kStandbyTime)
            write_standby_time(value / 5);
        else
            update_vcp(change->vcp, value);
        if (static_cast<int>(value) != change->control->value())
            emit update_spinbox_control(change->control, static_cast<int>(value));
    }
}

void kq_monitor_control_panel_dialog::update_silder_control_value(QSlider *control, int value)
{
    control->setSliderPosition(value);
}

void kq_monitor_control_panel_dialog::update_spinbox_control_value(QSpinBox *control, int value)
{
    control->setValue(value);
}

void kq_monitor_control_panel_dialog::write_power_save_time(uint units)
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    int acknowledged = 0;
    {
        const wait_cursor cursor;
        setErrorMessage(monitor().set_power_setting_ca0b_3(static_cast<int>(units), acknowledged));
    }
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::write_standby_time(uint units)
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    int acknowledged = 0;
    {
        const wait_cursor cursor;
        setErrorMessage(monitor().set_power_setting_ca0b_5(static_cast<int>(units), acknowledged));
    }
    close_port_for_display();
}

// --- pages as rows --------------------------------------------------------

void kq_monitor_control_panel_dialog::connect_rows()
{
    for (int page = 0; page < control_page::kCount; ++page)
        for (const control_row &row : control_page::rows(page))
            connect_row(row);
}

void kq_monitor_control_panel_dialog::connect_row(const control_row &row)
{
    const uint code = static_cast<uint>(row.code);
    switch (row.kind) {
    case control_kind::slider_pair:
    case control_kind::slider:
        if (auto *slider = findChild<QSlider *>(row.widget))
            connect(slider, &QSlider::valueChanged, this, [this, slider, code] { queue_slider_change(slider, code); });
        break;
    case control_kind::spin_box:
        if (auto *spin_box = findChild<QSpinBox *>(row.widget))
            connect(spin_box, QOverload<int>::of(&QSpinBox::valueChanged), this, [this, spin_box, row, code](int value) {
                if (!one_target())
                    return;
                // The power-saving times wait for the last step; the others
                // write every step.
                if (row.write == write_sequence::power_setting)
                    queue_spinbox_change(spin_box, code);
                else
                    write_row_now(row, value);
            });
        break;
    case control_kind::combo_box:
        if (auto *combo = row.write == write_sequence::none ? nullptr : findChild<QComboBox *>(row.widget))
            connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, row, combo](int index) {
                if (one_target() && index >= 0)
                    write_row_now(row, combo->itemData(index).toInt());
            });
        break;
    case control_kind::check_box:
        connect_check_box(row);
        break;
    case control_kind::double_spin_box:   // written by its page's timer
        break;
    case control_kind::radio_pair:
        for (const QString &name : {row.widget, row.partner}) {
            auto *button = findChild<QAbstractButton *>(name);
            if (!button)
                continue;
            const int value = name == row.widget ? row.on_value : row.off_value;
            connect(button, &QAbstractButton::toggled, this, [this, code, value](bool checked) {
                if (!checked || !one_target())
                    return;
                uint written = static_cast<uint>(value);
                update_vcp(code, written);
            });
        }
        break;
    case control_kind::label:
        break;
    }
    if (auto *button = findChild<QAbstractButton *>(row.update_button))
        connect(button, &QAbstractButton::clicked, this, [this, row] { update_row(row); });
}

void kq_monitor_control_panel_dialog::connect_check_box(const control_row &row)
{
    if (row.write == write_sequence::none)
        return;
    const auto write = [this, row](bool checked) {
        const int value = checked ? row.on_value : row.off_value;
        if (one_target())
            write_row_now(row, value);
        else if (row.job_when_not_one)
            update_vcp_all_displays(static_cast<uint>(row.code), static_cast<uint>(value));
    };
    if (auto *button = findChild<QAbstractButton *>(row.widget))
        connect(button, &QAbstractButton::toggled, this, write);
    else if (auto *group = findChild<QGroupBox *>(row.widget))
        connect(group, &QGroupBox::toggled, this, write);
}

void kq_monitor_control_panel_dialog::write_row_now(const control_row &row, int value)
{
    if (!open_port_for_display(target_display_indices.first()))
        return;
    int status = 0;
    {
        const wait_cursor cursor;
        status = write_control_row(monitor(), row, value);
        setErrorMessage(status);
        control_row_binder::select_item(this, row, value);
        if (row.then == after_write::page_read)
            read_page_extras(form.stackedWidget->currentIndex(), read_row_page(form.stackedWidget->currentIndex()));
    }
    close_port_for_display();
    // What the display took is read with the whole page.
    if (row.then == after_write::page_refresh)
        refresh_page_keeping(status);
}

void kq_monitor_control_panel_dialog::update_row(const control_row &row)
{
    const bool writes = row.update == update_rule::always
                        || (row.update == update_rule::several_only
                            && control_targets::several(target_display_indices.size()));
    if (!writes)
        return;
    const int value = row.wire_value(control_row_binder::shown_value(this, row));
    update_vcp_all_displays(static_cast<uint>(row.code), static_cast<uint>(value));
    if (row.refresh_after_update)
        tabChanged(form.stackedWidget->currentIndex());
}
