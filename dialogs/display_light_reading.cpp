#include "dialogs/display_light_reading.h"

namespace {

// What a sensor answers once it has gone.
constexpr int kSensorGone = -1000;

} // namespace

int read_display_light(const guarded_sensor &sensor, int backlightType, CCIEXYZ &reading)
{
    sensor.with<int>([backlightType](CSensor &s) { return s.SetDisplayType(1, backlightType); }, kSensorGone);
    int status = sensor.with<int>([](CSensor &s) { return s.MeasureXYZ(1); }, kSensorGone);
    if (status != 0)
        return status;
    CCIEXYZ read;
    status = sensor.with<int>([&read](CSensor &s) { return s.GetXYZ(read); }, kSensorGone);
    if (status != 0)
        return status;
    reading = read.Y < 0.0 ? CCIEXYZ() : read;
    return 0;
}
