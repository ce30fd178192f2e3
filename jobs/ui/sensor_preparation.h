#pragma once

#include <functional>

class QWidget;

// Getting the active colour sensor ready before a step measures with it.
// The set-up dialog lives above this layer; the application installs how
// it is run (0 when the operator completed it, -1 when cancelled).
using color_sensor_setup_dialog_runner = std::function<int(bool at_calibration_position, bool force, QWidget *parent)>;
void set_color_sensor_setup_dialog_runner(color_sensor_setup_dialog_runner runner);

// 0 when the active sensor is ready or was made ready; -1 without an active
// sensor, when the operator cancelled, or when the set-up is needed and no
// runner is installed. The driver is held only for the sensor's queries,
// never while the dialog runs.
int run_color_sensor_setup_dialog(bool at_calibration_position, bool force, QWidget *parent);

// Shows the active sensor's placement hint once, unless the operator has
// turned it off.
void show_sensor_placement_hint(QWidget *parent);
