// The rows of the Size & Position, Tile Matrix Advanced and IR Remote pages.
// The Tile Matrix page itself and the IR keypad have code of their own.
#include "control_panel/core/control_page_row_groups.h"

#include "app/services/string_resource.h"
#include "control_panel/core/control_row_builders.h"
#include "display_protocol/control_codes.h"

namespace control_page {
namespace {

using control_row_builders::combo_box;
using control_row_builders::dialog_tr;

QList<control_item> string_items(int first_id, int count)
{
    QList<control_item> items;
    for (int value = 1; value <= count; ++value)
        items << control_item{string_resource(first_id + value - 1), value};
    return items;
}

// A choice of the Advanced page: one display writes it at once and reads
// the page again; several write it through the Update button.
control_row advanced_choice(int code, const QString &stem, const QString &group, QList<control_item> items)
{
    control_row row = combo_box(code, stem + QStringLiteral("_comboBox"), stem + QStringLiteral("_update_pushButton"),
                                std::move(items));
    row.group = group;
    row.write = write_sequence::set_save;
    row.then = after_write::page_refresh;
    row.update = update_rule::several_only;
    row.refresh_after_update = true;
    return row;
}

control_row frame_value(int code, const QString &stem)
{
    control_row row;
    row.code = code;
    row.kind = control_kind::double_spin_box;
    row.widget = stem + QStringLiteral("_doubleSpinBox");
    row.update_button = stem + QStringLiteral("_update_pushButton");
    row.on_failure = read_policy::go_on();
    row.write = write_sequence::none;   // the page's timer writes both values
    row.update = update_rule::several_only;
    row.refresh_after_update = true;
    return row;
}

control_row on_off(int code, const QString &check_box, const QString &group, int on_value, int off_value)
{
    control_row row;
    row.code = code;
    row.kind = control_kind::check_box;
    row.widget = check_box;
    row.group = group;
    row.on_failure = read_policy::go_on();
    row.update = update_rule::several_only;
    row.on_value = on_value;
    row.off_value = off_value;
    return row;
}

} // namespace

QList<control_row> size_position_rows()
{
    // Only a failure of the first row other than "not supported" is shown,
    // and it leaves the page unread.
    const std::pair<int, const char *> sliders[] = {
        {control_code::kHPosition, "h_position"},         {control_code::kVPosition, "v_position"},
        {control_code::kClock, "clock"},                  {control_code::kClockPhase, "clock_phase"},
        {control_code::kHResolution, "h_resolution"},     {control_code::kVResolution, "v_resolution"},
        {control_code::kZoom, "zoom"},                    {control_code::kZoomHExpansion, "h_expansion"},
        {control_code::kZoomVExpansion, "v_expansion"},   {control_code::kZoomHPosition, "zoom_h_position"},
        {control_code::kZoomVPosition, "zoom_v_position"}};
    QList<control_row> rows;
    for (const auto &slider : sliders) {
        control_row row = control_row_builders::slider_pair(
            slider.first, QLatin1String(slider.second),
            rows.isEmpty() ? read_policy::end_showing() : read_policy::go_on());
        const bool at_least_one = slider.first == control_code::kZoom || slider.first == control_code::kZoomHExpansion
                                  || slider.first == control_code::kZoomVExpansion;
        row.minimum = at_least_one ? 1 : 0;
        rows << row;
    }

    // Each choice is read back, saved, and the page read again; the input
    // resolution keeps the display busy past the normal reply wait.
    control_row resolution = combo_box(control_code::kInputResolution, QStringLiteral("input_resolution_comboBox"),
                                       QStringLiteral("update_input_resolution_pushButton"), string_items(1301, 7));
    resolution.slow_link = true;
    control_row base_zoom = combo_box(control_code::kBaseZoom, QStringLiteral("base_zoom_comboBox"),
                                      QStringLiteral("update_base_zoom_pushButton"), string_items(1401, 5));
    control_row aspect = combo_box(control_code::kAspect, QStringLiteral("aspect_comboBox"),
                                   QStringLiteral("update_aspect_pushButton"), string_items(1501, 4));
    for (control_row *choice : {&resolution, &base_zoom, &aspect}) {
        choice->then = after_write::page_read;
        rows << *choice;
    }
    return rows;
}

QList<control_row> tile_matrix_advanced_rows()
{
    const QList<control_item> modes = {{dialog_tr("None"), 1}, {dialog_tr("Auto"), 2}, {dialog_tr("Manual"), 3}};
    // The first read alone shows its failure and ends the refresh.
    control_row frame_mode = advanced_choice(control_code::kFrameCompensationMode, QStringLiteral("frame_comp_mode"),
                                             QStringLiteral("frame_comp_groupBox"), modes);
    frame_mode.on_failure = read_policy::end_showing();

    control_row scan_mode = advanced_choice(control_code::kVScanReverseMode, QStringLiteral("v_scan_reverse_mode"),
                                            QStringLiteral("v_scan_reverse_groupBox"), modes);
    control_row scan_manual = advanced_choice(control_code::kVScanReverseManual,
                                              QStringLiteral("v_scan_reverse_manual"), QString(),
                                              {{dialog_tr("Non-reverse"), 1}, {dialog_tr("Reverse"), 2}});
    scan_manual.needs_previous = true;
    scan_manual.refresh_after_update = false;

    control_row tile_comp = on_off(control_code::kTileCompensation, QStringLiteral("use_tile_comp_checkBox"),
                                   QStringLiteral("tile_comp_groupBox"), 2, 1);
    tile_comp.update_button = QStringLiteral("use_tile_comp_update_pushButton");
    tile_comp.write = write_sequence::set_save;

    // Switched by code of its own: "off" depends on the display's maximum.
    control_row tile_matrix = on_off(control_code::kTileMatrix, QStringLiteral("enable_tile_matrix_groupBox"),
                                     QString(), 2, 3);
    tile_matrix.update_button = QStringLiteral("tile_matrix_enable_update_pushButton");
    tile_matrix.write = write_sequence::none;
    tile_matrix.on_exactly = true;

    return {frame_mode,
            frame_value(control_code::kFrameCompensationAuto, QStringLiteral("frame_comp_auto_value")),
            frame_value(control_code::kFrameCompensationManual, QStringLiteral("frame_comp_manual_value")),
            scan_mode,
            scan_manual,
            advanced_choice(control_code::kTileMatrixMemory, QStringLiteral("tile_matrix_memory"),
                            QStringLiteral("tile_matrix_memory_groupBox"),
                            {{dialog_tr("Common"), 1}, {dialog_tr("Input"), 2}}),
            tile_comp,
            tile_matrix};
}

QList<control_row> ir_remote_rows()
{
    control_row mode = combo_box(control_code::kIrControl, QStringLiteral("ir_control_comboBox"),
                                 QStringLiteral("ir_control_update_pushButton"), string_items(2101, 4));
    mode.read = read_operation::vcp;
    return {mode};
}

} // namespace control_page
