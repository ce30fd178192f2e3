#pragma once

#include "jobs/control_list.h"

// The control lists the display tasks send, as tables (control_list.h).
// Rows write their value without reading first unless a table says
// otherwise; where a row's value comes from an earlier list, the list that
// reads it is named.
namespace display_control_lists {

// --- preparing a display for its engine ---------------------------------------

// The engine's picture mode from the preferences, and its companion.
const control_list_rows &engine_picture_mode();
// Sets the engine up for a calibration with the colour sensor: fixed
// picture settings, full luminance, neutral six-axis hue, the job's OSD
// preset.
const control_list_rows &engine_for_sensor_calibration();
// Reads the panel's own white and primaries and the uniformity level.
const control_list_rows &panel_reads();
// After panel_reads: the engine's white and primaries from the panel (or the
// preferred gamut), the uniformity rule, the engine back to work.
const control_list_rows &engine_to_panel_white();

// --- the engine to the target, without a sensor --------------------------------

// Picture settings, black level, tone curve and luminance for the target.
const control_list_rows &engine_to_target();
// After panel_reads: the target white (the panel's own for a native white),
// the primaries, the uniformity rule, the engine back to work, then a pause
// while it settles.
const control_list_rows &engine_to_target_white();
// Reads what the engine made of it: its luminance, the luminance's lower
// limit and the white luminance it holds.
const control_list_rows &engine_result_reads();

// --- preparing a display for a calibration with the colour sensor --------------

// Read-first: picture settings, brightness, contrast and black level, and in
// gain mode the colour mode and full video gains.
const control_list_rows &sensor_calibration_start();

// --- restoring a stored calibration --------------------------------------------

// Everything an engine calibration keeps in the record, back into the engine.
const control_list_rows &engine_from_record();
// Read-first: picture settings, the stored brightness and, for a calibration
// held in gains, the colour mode and reads of the video gains.
const control_list_rows &sensor_settings_from_record();
// After sensor_settings_from_record: the stored gains, from the maxima read.
const control_list_rows &gains_from_record();
// The engine back to work, then a pause reporting the time left.
const control_list_rows &engine_back_to_work();
// The job's OSD preset, when it has one.
const control_list_rows &osd_preset();

// --- lookup tables -------------------------------------------------------------------

// Read-first: the picture controls a test table is shown through.
const control_list_rows &picture_for_test_table();

// --- power management while picture settings are copied -------------------------

const control_list_rows &power_management_reads();
// After power_management_reads: each control off where it is not.
const control_list_rows &power_management_off();
// Each control that power_management_off wrote, back to the value read.
const control_list_rows &power_management_restore();

} // namespace display_control_lists
