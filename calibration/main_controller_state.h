#pragma once

#include <QString>

#include <array>

class CPreferences;
class CTargetValue;
class layout_manager;
class CMonitorTracker;

// The Actions dock's whole state, decided without a widget: which step
// buttons may run, their tooltips (one line per condition), the status
// labels, button texts and group titles. One table lists each control's
// conditions in tooltip order, normally and without a colour sensor, each
// marked whether it gates the control.

// Everything the dock's state depends on, read from the wall at one moment.
struct dock_inputs
{
    bool without_sensor = false;    // the dock's calibrate-without-sensor switch
    bool no_conflict = true;
    bool no_duplicate = true;
    bool selected_enabled = false;
    bool selected_verified = false; // whatever its enabled flag
    bool selected_calibrated = false;
    bool selected_engine = false;   // the selected display is an engine display
    int engine_count = 0;
    bool uniformity = false;        // the selected display can update its uniformity
    int calibration_method = 0;     // of the preferences: 0 lookup tables, 1 gains
    bool use_engine = false;        // the preference to use the displays' engine
    int enabled = 0;                // the counts are over enabled displays
    int verified = 0;
    int calibrated = 0;
    int measured = 0;
    int table_calibrated = 0;
    bool sensor_connected = false;
    int intensity_mode = 0;         // of the target
    bool all_measured = false;      // every enabled display has native measurements
    double max_matching_luminance = 0.0;
};

enum class dock_control {
    verify_all,
    verify_selected,
    initialize_all,
    initialize_selected,
    measure_selected,
    measure_all,
    calibrate_selected,
    calibrate_all,
    visual_trim,
    evaluate_calibration,
    update_uniformity,
    without_sensor_box,
    count
};
constexpr int kDockControlCount = int(dock_control::count);

struct dock_control_state
{
    bool enabled = false;
    QString tooltip;
};

struct dock_state
{
    bool steps_2_3_visible = true;     // Initialize and Measure; hidden without a sensor
    bool without_sensor_allowed = false;
    QString verify_status;
    QString measure_status;
    QString calibrate_status;
    bool clear_initialize_status = false;
    QString measure_all_text;
    QString calibrate_all_text;
    QString measure_title;
    std::array<dock_control_state, kDockControlCount> controls;

    const dock_control_state &control(dock_control which) const { return controls[std::size_t(which)]; }
};

// True when the target's intensity can be calibrated to: a Maximum
// Matching target with a sensor needs every display measured and a
// computed luminance.
bool dock_target_valid(const dock_inputs &in);

dock_state evaluate_dock_state(const dock_inputs &in);

// Reads the facts for the display at |current_position| and the wall.
// |sensor_connected| comes from the caller, which must not block on the
// sensor's driver.
dock_inputs read_dock_inputs(layout_manager &layout, const CMonitorTracker &records, const CPreferences &preferences,
                             const CTargetValue &target, int current_position, bool without_sensor,
                             bool sensor_connected);
