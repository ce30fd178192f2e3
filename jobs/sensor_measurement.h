#pragma once

#include "colour/colour_values.h"

class CSensor;

// What the display tasks that measure with the colour sensor share.

// Texts of the string-resource table shown or spoken to the operator.
namespace sensor_text {
enum : int {
    kPositionSensor = 1100,         // instruction: put the sensor on display #%1
    kRemoveSensor = 1101,           // instruction: take the sensor off
    kPositionSensorSpoken = 1104,   // "Position color sensor on display number %1."
    kRemoveSensorSpoken = 1105,
    kProceeding = 1107,             // spoken when the measurement starts
    kMoveToPosition = 1108,         // instruction: move to position %1 of %2
    kNextPosition = 1109,
    kPositionSensorFlashing = 1110, // spoken: put the sensor on display number %1, which flashes
    kCompleted = 1111,
};
} // namespace sensor_text

// The recorded prompt that goes with every spoken sentence of these tasks.
constexpr int kSpokenPrompt = 1;

// One emission measurement: MeasureXYZ, then the reading. 0 or the
// sensor's error.
int measure_once(CSensor &sensor, CCIEXYZ &reading);
