#include "sensors/sensor_drivers.h"

#include "sensors/CColorvisionSpyder.h"
#include "sensors/CDataColorSpyderXSensor.h"
#include "sensors/CEyeOneDisplay3Sensor.h"
#include "sensors/CEyeOneDisplaySensor.h"
#include "sensors/CEyeOneSensor.h"
#include "sensors/CTL_PLxxxSensor.h"
#include "sensors/CXRiteHubble.h"
#include "sensors/CXRitei1Studio.h"

namespace {

template <typename Driver> sensor_driver_creator creator()
{
    return [] { return static_cast<CSensor *>(new Driver()); };
}

} // namespace

sensor_driver_table default_sensor_drivers()
{
    sensor_driver_table table;
    table[1] = creator<CEyeOneDisplaySensor>();
    table[2] = creator<CEyeOneSensor>();
    table[3] = creator<CEyeOneDisplay3Sensor>();
    table[4] = creator<CXRitei1Studio>();
    table[5] = creator<CColorvisionSpyder>();
    table[6] = creator<CDataColorSpyderXSensor>();
    table[7] = creator<CXRiteHubble>();
    table[8] = creator<CTL_PLxxxSensor>();
    return table;
}
