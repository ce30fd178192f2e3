#include "sensors/sensor_setup_rule.h"

#include "sensors/CSensor.h"

namespace {

constexpr int kDisplayPosition = 0;
constexpr int kCalibrationPosition = 3;

} // namespace

bool sensor_setup_needed(CSensor &sensor, bool at_calibration_position, bool force)
{
    if (sensor.RequiresCalibration() && (force || !sensor.IsCalibrated()))
        return true;
    const int wanted = at_calibration_position ? kCalibrationPosition : kDisplayPosition;
    return sensor.HasMeasurementSelector() && sensor.GetMeasurementSelectorPosition() != wanted;
}
