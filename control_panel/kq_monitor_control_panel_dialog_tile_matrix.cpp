// The Tile Matrix pages' own behaviour: the matrix size (written after the
// last change), the display's position clicked on the diagram, switching the
// matrix on and off, and the frame compensation values (written after the
// last change, in hundredths of a frame).
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/core/control_row_writer.h"
#include "control_panel/core/control_targets.h"
#include "control_panel/core/tile_matrix_rules.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "layout_setup/KQ_display_array_size_diagram_widget.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <utility>

namespace {

constexpr int kRepaintMs = 1000;

// A count the spin boxes can show: within 1 … the display's maximum.
bool count_usable(int status, int value, int maximum)
{
    return status == 0 && maximum >= 1 && value >= 1 && value <= maximum;
}

void show_count(QSpinBox *spin_box, int value, int maximum)
{
    const QSignalBlocker blocker(spin_box);
    spin_box->setMaximum(maximum);
    spin_box->setValue(value);
}

} // namespace

void kq_monitor_control_panel_dialog::init_tile_matrix_pages()
{
    KQ_display_array_size_diagram_widget *diagram = form.display_array_size_diagram_widget;
    connect(diagram, &KQ_display_array_size_diagram_widget::clicked, this,
            &kq_monitor_control_panel_dialog::tile_matrix_selection_changed);
    connect(this, &kq_monitor_control_panel_dialog::update_tile_matrix_selection, diagram,
            &KQ_display_array_size_diagram_widget::setCurrentlySelectedDisplay);
    diagram->showHover(true);
}

void kq_monitor_control_panel_dialog::show_tile_cell(int position, int columns, int rows)
{
    int column = -1, row = -1;
    if (!tile_matrix_rules::cell(position, columns, rows, column, row))
        column = row = -1;   // no cell of the diagram
    form.display_array_size_diagram_widget->setCurrentlySelectedDisplay(column, row);
}

void kq_monitor_control_panel_dialog::read_tile_matrix_page()
{
    KQ_display_array_size_diagram_widget *diagram = form.display_array_size_diagram_widget;
    int columns = 0, rows = 0, maximum = 0;
    int status = monitor().get_vcp_with_max(control_code::kTileColumns, columns, maximum);
    const bool columns_usable = count_usable(status, columns, maximum);
    form.horizontal_monitors_spinBox->setEnabled(columns_usable);
    if (columns_usable) {
        show_count(form.horizontal_monitors_spinBox, columns, maximum);
        diagram->setColumns(tile_matrix_rules::diagram_count(columns));
    } else {
        columns = 0;
    }
    if (status != 0 && status != basic_monitor::kNotSupported) {
        form.vertical_monitors_spinBox->setEnabled(false);
        diagram->setEnabled(false);
        setErrorMessage(status);
        return;
    }
    status = monitor().get_vcp_with_max(control_code::kTileRows, rows, maximum);
    const bool rows_usable = count_usable(status, rows, maximum);
    form.vertical_monitors_spinBox->setEnabled(rows_usable);
    diagram->setEnabled(rows_usable);
    if (rows_usable) {
        show_count(form.vertical_monitors_spinBox, rows, maximum);
        diagram->setRows(tile_matrix_rules::diagram_count(rows));
    } else {
        rows = 0;
    }
    int position = 0;
    if (monitor().get_vcp_with_max(control_code::kTilePosition, position, maximum) == 0 && columns != 0)
        show_tile_cell(position, columns, rows);
}

void kq_monitor_control_panel_dialog::on_enable_tile_matrix_groupBox_toggled(bool checked)
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    {
        const wait_cursor cursor;
        int current = 0, maximum = 0;
        int status = monitor().get_vcp_with_max(control_code::kTileMatrix, current, maximum);
        if (status == 0) {
            uint value = static_cast<uint>(checked ? 2 : tile_matrix_rules::off_value(maximum));
            status = monitor().set_vcp(control_code::kTileMatrix, value);
            if (status == 0)
                status = monitor().save_current_settings();
        }
        setErrorMessage(status);
    }
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::on_horizontal_monitors_spinBox_valueChanged(int value)
{
    if (!one_target()) {
        form.display_array_size_diagram_widget->setColumns(tile_matrix_rules::diagram_count(value));
        return;
    }
    tile_columns_changed = true;
    tile_matrix_spinbox_timer.stop();
    tile_matrix_spinbox_timer.start(debounce_interval_ms());
}

void kq_monitor_control_panel_dialog::on_vertical_monitors_spinBox_valueChanged(int value)
{
    if (!one_target()) {
        form.display_array_size_diagram_widget->setRows(tile_matrix_rules::diagram_count(value));
        return;
    }
    tile_rows_changed = true;
    tile_matrix_spinbox_timer.stop();
    tile_matrix_spinbox_timer.start(debounce_interval_ms());
}

void kq_monitor_control_panel_dialog::tile_matrix_spinbox_timer_timeout()
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    KQ_display_array_size_diagram_widget *diagram = form.display_array_size_diagram_widget;
    int status = 0;
    {
        const wait_cursor cursor;
        // The first failing write counts: a later success must not hide it.
        const auto write = [this, &status](int code, int value) {
            uint written = static_cast<uint>(value);
            const int result = monitor().set_vcp(code, written);
            if (status == 0)
                status = result;
        };
        if (tile_columns_changed) {
            write(control_code::kTileColumns, form.horizontal_monitors_spinBox->value());
            tile_columns_changed = false;
        }
        if (tile_rows_changed) {
            write(control_code::kTileRows, form.vertical_monitors_spinBox->value());
            tile_rows_changed = false;
        }
        int columns = 0, rows = 0, maximum = 0;
        if (status == 0)
            status = monitor().get_vcp_with_max(control_code::kTileColumns, columns, maximum);
        if (status == 0)
            status = monitor().get_vcp_with_max(control_code::kTileRows, rows, maximum);
        if (status == 0) {
            diagram->setRows(tile_matrix_rules::diagram_count(rows));
            diagram->setColumns(tile_matrix_rules::diagram_count(columns));
        }
        int position = 0;
        if (status == 0 && columns > 0 && rows > 0)
            status = monitor().get_vcp_with_max(control_code::kTilePosition, position, maximum);
        if (status == 0 && columns > 0 && rows > 0) {
            for (const auto &count : {std::make_pair(form.horizontal_monitors_spinBox, columns),
                                      std::make_pair(form.vertical_monitors_spinBox, rows)}) {
                const QSignalBlocker blocker(count.first);
                count.first->setValue(count.second);
            }
            show_tile_cell(position, columns, rows);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kRepaintMs);
            status = monitor().save_current_settings();
        }
        setErrorMessage(status);
    }
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::tile_matrix_selection_changed(int column, int row)
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    int status = 0;
    {
        const wait_cursor cursor;
        int columns = 0, maximum = 0;
        status = monitor().get_vcp_with_max(control_code::kTileColumns, columns, maximum);
        if (status == 0) {
            uint position = static_cast<uint>(tile_matrix_rules::position(column, row, columns));
            status = monitor().set_vcp(control_code::kTilePosition, position);
        }
        if (status == 0) {
            // The selection moves only once the display has taken the position.
            emit update_tile_matrix_selection(column, row);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kRepaintMs);
            status = monitor().save_current_settings();
        }
    }
    setErrorMessage(status);
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::on_tile_matrix_update_pushButton_clicked()
{
    if (!control_targets::several(target_display_indices.size()))
        return;
    // Each display keeps its own position.
    run_jobs(control_list_job(
        {vcp_list_item::write(control_code::kTileColumns, form.horizontal_monitors_spinBox->value()),
         vcp_list_item::write(control_code::kTileRows, form.vertical_monitors_spinBox->value()),
         vcp_list_item::write(control_code::kTileMatrix, form.enable_tile_matrix_groupBox->isChecked() ? 2 : 3)}));
}

void kq_monitor_control_panel_dialog::on_frame_comp_auto_value_doubleSpinBox_valueChanged(double)
{
    if (!one_target())
        return;
    frame_comp_auto_changed = true;
    frame_comp_spinbox_timer.stop();
    frame_comp_spinbox_timer.start(debounce_interval_ms());
}

void kq_monitor_control_panel_dialog::on_frame_comp_manual_value_doubleSpinBox_valueChanged(double)
{
    if (!one_target())
        return;
    frame_comp_manual_changed = true;
    frame_comp_spinbox_timer.stop();
    frame_comp_spinbox_timer.start(debounce_interval_ms());
}

void kq_monitor_control_panel_dialog::frame_comp_spinbox_timer_timeout()
{
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    {
        const wait_cursor cursor;
        int status = 0;
        const auto write = [this, &status](int code, double frames) {
            uint hundredths = static_cast<uint>(std::max(0, tile_matrix_rules::hundredths(frames)));
            const int result = monitor().set_vcp(code, hundredths);
            if (status == 0)
                status = result;
        };
        if (frame_comp_manual_changed) {
            write(control_code::kFrameCompensationManual, form.frame_comp_manual_value_doubleSpinBox->value());
            frame_comp_manual_changed = false;
        }
        if (frame_comp_auto_changed) {
            write(control_code::kFrameCompensationAuto, form.frame_comp_auto_value_doubleSpinBox->value());
            frame_comp_auto_changed = false;
        }
        if (status == 0)
            status = monitor().save_current_settings();
        setErrorMessage(status);
    }
    close_port_for_display();
    tabChanged(form.stackedWidget->currentIndex());
}
