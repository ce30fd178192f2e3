#pragma once

#include "colour/colour_values.h"

#include <functional>

class QWidget;

// Measuring a display's light with the active sensor, as every dialog and
// dock does it: the sensor set-up step (the set-up dialog when the sensor
// needs it), the placement hint, |measuring| (the caller shows that a
// measurement is under way), one pass of the event loop, then one reading,
// |measured| with its status, and a failed reading's error message.
//
// The sensor's driver mutex is only tried, never waited for: while a display
// job or a detection holds it nothing is measured, as without a sensor, and
// the window stays responsive. It is held for the reading alone.
//
// 0 with |reading|; kMeasurementCancelled without an active sensor, with the
// driver busy or when the operator cancelled the set-up; else the status.
constexpr int kMeasurementCancelled = -1;

int measure_with_active_sensor(QWidget *parent, int backlightType, const std::function<void()> &measuring,
                               CCIEXYZ &reading, const std::function<void(int status)> &measured = {});
