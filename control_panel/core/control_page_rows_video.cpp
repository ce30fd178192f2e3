// The rows of the Video, Uniformity and Quillon Engine pages; the Picture
// page's are in control_page_rows.cpp.
#include "control_panel/core/control_page_row_groups.h"

#include "control_panel/core/control_row_builders.h"
#include "control_panel/core/video_inputs.h"
#include "display_protocol/control_codes.h"

namespace control_page {
namespace {

using control_row_builders::combo_box;
using control_row_builders::dialog_tr;

// A choice written to one display at once, then the page read afresh; with
// several displays its Update button writes.
control_row choice(int code, const QString &combo, const QString &button, QList<control_item> items)
{
    control_row row = combo_box(code, combo, button, std::move(items));
    row.write = write_sequence::set_save;
    row.then = after_write::page_refresh;
    row.update = update_rule::several_only;
    return row;
}

// A spin box written at once on every change (one display).
control_row immediate_spin_box(int code, const QString &stem)
{
    control_row row;
    row.code = code;
    row.kind = control_kind::spin_box;
    row.widget = stem + QStringLiteral("_spinBox");
    row.update_button = QStringLiteral("update_%1_pushButton").arg(stem);
    row.write = write_sequence::set_save;
    return row;
}

} // namespace

QList<control_row> video_input_rows()
{
    // The input's own writes are a task of their own; a failed read shows
    // and, unless the display lacks the control, leaves the rest unread.
    control_row input = combo_box(control_code::kInputSource, QStringLiteral("video_input_comboBox"), QString());
    input.read = read_operation::input_source;
    input.on_failure = {true, false, false, true};
    input.write = write_sequence::none;
    input.update = update_rule::none;
    input.always_enabled = true;
    for (int code : video_inputs::codes())
        input.items << control_item{video_inputs::name(code), code};

    return {input,
            choice(control_code::kHdmiVideoLevel, QStringLiteral("video_level_expansion_comboBox"),
                   QStringLiteral("update_video_level_expansion_pushButton"),
                   {{dialog_tr("Expand"), 1}, {dialog_tr("Raw"), 2}, {dialog_tr("Auto"), 3}}),
            choice(control_code::kOverscan, QStringLiteral("video_overscan_comboBox"),
                   QStringLiteral("update_video_overscan_pushButton"),
                   {{dialog_tr("Off"), 1}, {dialog_tr("On"), 2}, {dialog_tr("Auto"), 3}})};
}

QList<control_row> uniformity_rows()
{
    control_row level;
    level.code = control_code::kUniformityLevel;
    level.kind = control_kind::slider;
    level.widget = QStringLiteral("kqe_uniformity_horizontalSlider");
    level.update_button = QStringLiteral("kqe_uniformity_pushButton");
    level.on_failure = read_policy::end_showing();

    // Checked for 1; a change always writes, through a job unless one
    // display is targeted.
    control_row edge;
    edge.code = control_code::kEdgeCompensation;
    edge.kind = control_kind::check_box;
    edge.widget = QStringLiteral("edge_comp_on_groupBox");
    edge.on_failure = read_policy::end_showing();
    edge.write = write_sequence::set_save;
    edge.update = update_rule::none;
    edge.job_when_not_one = true;
    edge.on_value = 1;
    edge.off_value = 2;
    edge.on_exactly = true;

    return {level, edge,
            immediate_spin_box(control_code::kEdgeCompensationType, QStringLiteral("edge_comp_type")),
            immediate_spin_box(control_code::kEdgeCompensationBrightness, QStringLiteral("edge_comp_brightness"))};
}

QList<control_row> engine_picture_mode_rows()
{
    QList<control_item> modes;
    for (int mode = 5; mode >= 1; --mode)
        modes << control_item{dialog_tr(QStringLiteral("KQE-%1").arg(mode).toLatin1().constData(), "picture mode"),
                              mode};
    control_row mode = choice(control_code::kEnginePictureMode, QStringLiteral("kqe_picture_mode_comboBox"),
                              QStringLiteral("kqe_picture_mode_update_pushButton"), modes);
    mode.group = QStringLiteral("kqe_picture_mode_groupBox");
    mode.on_failure = read_policy::end_showing();
    mode.update = update_rule::always;
    return {mode};
}

} // namespace control_page
