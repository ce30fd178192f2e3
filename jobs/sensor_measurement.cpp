#include "jobs/sensor_measurement.h"

#include "sensors/CSensor.h"

int measure_once(CSensor &sensor, CCIEXYZ &reading)
{
    if (const int status = sensor.MeasureXYZ(1))
        return status;
    return sensor.GetXYZ(reading);
}
