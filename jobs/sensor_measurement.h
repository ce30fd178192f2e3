#pragma once

#include "colour/colour_values.h"

class CSensor;

// What the display tasks that measure with the colour sensor share.

// Colours that CSensor::CheckPatchColor tells apart.
enum patch_colour : int { kPatchRed = 1, kPatchGreen = 2, kPatchBlue = 3, kPatchDark = 4, kPatchBright = 5 };

// Step pictures announced with StartingDefinedTask while the display shows
// a patch or the display settles.
enum defined_task : int {
    kDefinedTaskSettling = 8,
    kDefinedTaskPlacementGreen = 13,
    kDefinedTaskPlacementRed = 14,
    kDefinedTaskRed = 20,
    kDefinedTaskGreen = 21,
    kDefinedTaskBlue = 22,
    kDefinedTaskBlack = 23,
    kDefinedTaskWhite = 24,
};

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
