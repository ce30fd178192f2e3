#pragma once

#include "sensors/CSensor.h"
#include "sensors/sensor_status.h"
#include "simulator/simulated_wall.h"

#include <functional>

// A colour sensor held against one simulated display: each measurement is
// the display's light at that moment. |adjust| may change a reading (stray
// light, a wrong patch) or fail it; it sees the reading and the number of the
// measurement (from 1).
class panel_sensor : public CSensor
{
public:
    panel_sensor(simulated_wall &wall, int display) : m_wall(wall), m_display(display) { m_open = true; }

    QString GetName() override { return QStringLiteral("Panel sensor"); }
    QString GetShortName() override { return QStringLiteral("panel"); }
    QString GetSerialNumber() override { return QStringLiteral("PS-1"); }
    bool SupportsAmbient() override { return false; }
    int MeasureAmbient() override { return sensor_status::kWrongMode; }
    int Calibrate() override { return 0; }
    int SetDisplayType(int flag, int) override
    {
        m_displayFlag = flag;
        return 0;
    }
    int GetPlacementInfo(SensorPlacementInfo &) override { return 0; }
    int MeasureXYZ(unsigned) override
    {
        ++measurements;
        const light_channel::light_reading light = m_wall.light(m_display);
        CCIEXYZ reading(light.X, light.Y, light.Z);
        if (adjust) {
            if (const int status = adjust(reading, measurements))
                return status;
        }
        StoreReading(reading);
        return 0;
    }

    std::function<int(CCIEXYZ &, int)> adjust;
    int measurements = 0;

private:
    simulated_wall &m_wall;
    int m_display;
};
