#pragma once

#include "dialogs/sensor_setup_state.h"

class QLabel;
class QPushButton;

// Shows a step of the sensor set-up in a dialog's text and picture labels
// and its OK button.
void show_sensor_setup_view(const sensor_setup_state::view &shown, const guarded_sensor &sensor, QLabel *text,
                            QLabel *picture, QPushButton *ok);
