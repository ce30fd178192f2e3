#pragma once

#include "colour/colour_values.h"

#include <functional>

class QWidget;

// Measuring a display's light with the active sensor, as every dialog and
// dock does it: the sensor set-up step (the set-up dialog when the sensor
// needs it), the placement hint, |measuring| (the caller shows that a
// measurement is under way), then one reading. A failed reading is shown
// with its error message. 0 with |reading|; kMeasurementCancelled without an
// active sensor or when the operator cancelled the set-up; else the status.
constexpr int kMeasurementCancelled = -1;

int measure_with_active_sensor(QWidget *parent, int backlightType, const std::function<void()> &measuring,
                               CCIEXYZ &reading);
