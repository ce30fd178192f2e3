#include "calibration/main_controller_state.h"

#include "app/controller/color_calc_utils.h"
#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"

#include <QCoreApplication>
#include <QStringList>

#include <vector>

namespace {

constexpr int kRedMark = 2200;
constexpr int kGreenMark = 2201;
constexpr bool kAllDisplays = false;
constexpr bool kEnabledOnly = true;

enum class condition {
    conflict,
    duplicate,
    selected_enabled,
    any_enabled,
    selected_verified,
    all_verified,
    selected_calibrated,
    sensor,
    target,
    table_calibration,
    uniformity,
    engine_selected,
    engine_any,
    table_method,
    engine_method,
    not_max_matching,
};

// A condition's tooltip texts; a line with |failing_only| shows only when
// the condition fails (it names a fault, never a fact).
struct condition_text
{
    int met;
    int not_met;
    bool failing_only = false;
};

condition_text text_of(condition c, bool without_sensor)
{
    switch (c) {
    case condition::conflict: return {350, 351};
    case condition::duplicate: return {0, 369, true};
    case condition::selected_enabled: return {352, 353};
    case condition::any_enabled: return {354, 355};
    case condition::selected_verified: return {356, 357};
    case condition::all_verified: return {358, 359};
    case condition::selected_calibrated: return {360, 361};
    case condition::sensor: return {362, 363};
    case condition::target: return {364, without_sensor ? 378 : 365};
    case condition::table_calibration: return {366, 367};
    case condition::uniformity: return {370, 371};
    case condition::engine_selected:
    case condition::engine_any: return {372, 373};
    case condition::table_method: return {374, 375};
    case condition::engine_method: return {376, 377};
    case condition::not_max_matching: return {0, 379, true};
    }
    return {0, 0};
}

bool holds(condition c, const dock_inputs &in)
{
    switch (c) {
    case condition::conflict: return in.no_conflict;
    case condition::duplicate: return in.no_duplicate;
    case condition::selected_enabled: return in.selected_enabled;
    case condition::any_enabled: return in.enabled > 0;
    case condition::selected_verified: return in.selected_verified;
    case condition::all_verified: return in.enabled == in.verified;
    case condition::selected_calibrated: return in.selected_calibrated;
    case condition::sensor: return in.sensor_connected;
    case condition::target: return dock_target_valid(in);
    case condition::table_calibration: return in.table_calibrated > 0;
    case condition::uniformity: return in.uniformity;
    case condition::engine_selected: return in.selected_engine;
    case condition::engine_any: return in.engine_count > 0;
    case condition::table_method: return in.calibration_method == 0;
    case condition::engine_method: return in.use_engine;
    case condition::not_max_matching: return in.intensity_mode != CTargetValue::kIntensityMaximumMatching;
    }
    return false;
}

struct line
{
    condition what;
    bool gates = true;
};
using lines = std::vector<line>;

struct control_rule
{
    dock_control control;
    lines normal;
    lines without_sensor;
};

using c = condition;

// Per control, its conditions in tooltip order. Lines marked not gating
// show their mark but leave the control's enabling alone.
const std::vector<control_rule> &rules()
{
    static const std::vector<control_rule> table = [] {
        const lines verify_all{{c::conflict}, {c::any_enabled}};
        const lines verify_selected{{c::conflict}, {c::selected_enabled}};
        const lines initialize_all{{c::conflict}, {c::duplicate}, {c::any_enabled}, {c::all_verified}};
        const lines initialize_selected{{c::conflict}, {c::duplicate}, {c::selected_enabled}, {c::selected_verified}};
        const lines measure_selected{
            {c::conflict}, {c::duplicate}, {c::selected_enabled}, {c::selected_verified}, {c::sensor}};
        const lines measure_all{{c::conflict}, {c::duplicate}, {c::any_enabled}, {c::all_verified}, {c::sensor}};
        const lines uniformity{
            {c::conflict}, {c::duplicate}, {c::selected_enabled}, {c::selected_verified}, {c::uniformity}};
        const lines without_sensor_box{{c::engine_any}, {c::table_method}, {c::engine_method}};
        return std::vector<control_rule>{
            {dock_control::verify_all, verify_all, verify_all},
            {dock_control::verify_selected, verify_selected, verify_selected},
            {dock_control::initialize_all, initialize_all, initialize_all},
            {dock_control::initialize_selected, initialize_selected, initialize_selected},
            {dock_control::measure_selected, measure_selected, measure_selected},
            {dock_control::measure_all, measure_all, measure_all},
            {dock_control::calibrate_selected,
             {{c::conflict}, {c::duplicate}, {c::selected_enabled}, {c::selected_verified}, {c::sensor}, {c::target}},
             {{c::conflict},
              {c::duplicate},
              {c::selected_enabled},
              {c::selected_verified},
              {c::engine_selected},
              {c::not_max_matching},
              {c::target}}},
            {dock_control::calibrate_all,
             {{c::conflict}, {c::duplicate}, {c::any_enabled}, {c::all_verified}, {c::sensor}, {c::target}},
             {{c::conflict}, {c::duplicate}, {c::any_enabled}, {c::all_verified}, {c::engine_any}, {c::target}}},
            {dock_control::visual_trim,
             {{c::conflict}, {c::duplicate}, {c::selected_enabled}, {c::selected_verified}, {c::selected_calibrated}},
             {{c::conflict},
              {c::duplicate},
              {c::selected_enabled},
              {c::selected_verified, false},
              {c::engine_selected},
              {c::selected_calibrated}}},
            {dock_control::evaluate_calibration,
             {{c::conflict}, {c::duplicate}, {c::table_calibration}},
             {{c::conflict, false}, {c::duplicate}, {c::table_calibration}}},
            {dock_control::update_uniformity, uniformity, uniformity},
            {dock_control::without_sensor_box, without_sensor_box, without_sensor_box},
        };
    }();
    return table;
}

QString mark_line(bool met, int text_id)
{
    return QStringLiteral("%1 %2").arg(string_resource(met ? kGreenMark : kRedMark), string_resource(text_id));
}

dock_control_state control_state(const lines &rule, const dock_inputs &in)
{
    dock_control_state state;
    state.enabled = true;
    QStringList shown;
    for (const line &l : rule) {
        const bool met = holds(l.what, in);
        if (l.gates && !met)
            state.enabled = false;
        const condition_text text = text_of(l.what, in.without_sensor);
        if (text.failing_only && met)
            continue;
        shown.append(mark_line(met, met ? text.met : text.not_met));
    }
    state.tooltip = shown.join(QStringLiteral("<br>"));
    return state;
}

QString progress_text(int done, int enabled)
{
    if (done == enabled)
        return QCoreApplication::translate("KQ_main_controller_dock_widget", "Complete");
    return QCoreApplication::translate("KQ_main_controller_dock_widget", "%L1 of %L2 completed").arg(done).arg(enabled);
}

QString all_text(int remaining, int enabled)
{
    return remaining == enabled || remaining < 1
               ? QCoreApplication::translate("KQ_main_controller_dock_widget", "All")
               : QCoreApplication::translate("KQ_main_controller_dock_widget", "All / Remaining");
}

const QString kWithoutSensorHelp = QStringLiteral(
    "<img src=\":/images/Resources/help-tip.png\"><b>Use the display's Quillon Engine to adjust the color without "
    "the need for a color sensor. Some color matching adjustment using the Visual Trim feature may be "
    "necessary.</b><br>");

} // namespace

bool dock_target_valid(const dock_inputs &in)
{
    if (in.intensity_mode != CTargetValue::kIntensityMaximumMatching || in.without_sensor)
        return true;
    return in.all_measured && in.max_matching_luminance > 0.0;
}

dock_state evaluate_dock_state(const dock_inputs &in)
{
    dock_state state;
    state.steps_2_3_visible = !in.without_sensor;
    state.without_sensor_allowed =
        in.engine_count > 0 && in.calibration_method == 0 && in.use_engine;
    if (in.enabled > 0) {
        state.verify_status = progress_text(in.verified, in.enabled);
        state.measure_status = progress_text(in.measured, in.enabled);
        state.calibrate_status = progress_text(in.calibrated, in.enabled);
    } else {
        state.clear_initialize_status = true;
    }
    state.measure_all_text = all_text(in.enabled - in.measured, in.enabled);
    // Without a sensor every engine display is adjusted again: no remaining.
    state.calibrate_all_text = all_text(in.without_sensor ? in.enabled : in.enabled - in.calibrated, in.enabled);
    state.measure_title = in.intensity_mode == CTargetValue::kIntensityMaximumPossible
                              ? QCoreApplication::translate("KQ_main_controller_dock_widget",
                                                            "Step 3 - Measure (Optional)")
                              : QCoreApplication::translate("KQ_main_controller_dock_widget", "Step 3 - Measure");
    for (const control_rule &rule : rules())
        state.controls[std::size_t(rule.control)] =
            control_state(in.without_sensor ? rule.without_sensor : rule.normal, in);
    dock_control_state &box = state.controls[std::size_t(dock_control::without_sensor_box)];
    box.tooltip.prepend(kWithoutSensorHelp);
    return state;
}

dock_inputs read_dock_inputs(layout_manager &layout, const CMonitorTracker &records, const CPreferences &preferences,
                             const CTargetValue &target, int current_position, bool without_sensor,
                             bool sensor_connected)
{
    dock_inputs in;
    in.without_sensor = without_sensor;
    in.sensor_connected = sensor_connected;
    in.calibration_method = preferences.GetCalibrationMethod();
    in.use_engine = preferences.GetUseQuillonEngine();
    in.intensity_mode = target.GetIntensityMode();
    in.max_matching_luminance = target.GetMaxMatchingLuminance();

    for (int i = 0; i < layout.item_count(); ++i) {
        display_layout_item item;
        if (layout.get_item(i, item) != 0)
            continue;
        in.no_conflict = in.no_conflict && !item.id_conflict;
        in.no_duplicate = in.no_duplicate && !item.duplicate_display;
        CAdjustValue record;
        const bool usable = item.enabled && !item.id_conflict;
        const bool has_record = usable && look_up_display_record(records, item, record);
        const bool verified = item.verify_status == display_layout_item::kVerified;
        const bool engine = has_record && verified && record.engine_capability_word != 0;
        in.engine_count += engine ? 1 : 0;
        if (i != current_position)
            continue;
        in.selected_enabled = item.enabled;
        in.selected_verified = verified;
        in.selected_calibrated = has_record && !record.GetCalibrationDateTime().isNull();
        in.selected_engine = engine;
        in.uniformity = has_record && verified && record.capability_flags != 0;
    }

    in.enabled = layout.get_display_indexes(kAllDisplays, kEnabledOnly).size();
    in.verified = layout.get_connected_display_indexes(kAllDisplays, kEnabledOnly).size();
    in.calibrated = layout.get_calibrated_display_indexes(kAllDisplays, kEnabledOnly).size();
    in.measured = layout.count_measured_displays(kAllDisplays, kEnabledOnly);
    in.table_calibrated =
        layout.get_calibrated_display_indexes_by_mode(CAdjustValue::kModeLookupTable, kAllDisplays, kEnabledOnly).size();
    in.all_measured = color_calc_utils().all_displays_measured();
    return in;
}
