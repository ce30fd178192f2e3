#include "sensors/sensor_kinds.h"

#include "sensors/CColorvisionSpyder.h"
#include "sensors/CDataColorSpyderXSensor.h"
#include "sensors/CEyeOneDisplay3Sensor.h"
#include "sensors/CEyeOneDisplaySensor.h"
#include "sensors/CEyeOneSensor.h"
#include "sensors/CTL_PLxxxSensor.h"
#include "sensors/CXRiteHubble.h"
#include "sensors/CXRitei1Studio.h"

#include <QtGlobal>

namespace {

template <typename Driver> CSensor *create()
{
    return new Driver();
}

const std::array<sensor_kind_entry, kSensorKindCount> kKinds = {{
    {kSensorI1Pro, QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Pro / i1Pro2"),
     {"i1Pro.dll", "libi1pro.so"}, create<CEyeOneSensor>},
    {kSensorI1Display, QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Display"),
     {"EyeOne.dll", "libeyeone.so"}, create<CEyeOneDisplaySensor>},
    {kSensorI1Studio, QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Studio / ColorMunki"),
     {"i1Studio.dll", "libi1studio.so"}, create<CXRitei1Studio>},
    {kSensorSpyder, QT_TRANSLATE_NOOP("CTargetSensor", "Datacolor Spyder3/4/5"),
     {"dccmtr.dll", "libdccmtr.so"}, create<CColorvisionSpyder>},
    {kSensorI1DisplayPro, QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite i1Display Pro"),
     {"i1d3SDK.dll", "libi1d3sdk.so"}, create<CEyeOneDisplay3Sensor>},
    {kSensorHubble, QT_TRANSLATE_NOOP("CTargetSensor", "X-Rite Hubble"),
     {"SpotMeterSDK.dll", "libspotmetersdk.so"}, create<CXRiteHubble>},
    // The probe maker's automation server.
    {kSensorPlSeries, QT_TRANSLATE_NOOP("CTargetSensor", "Trelane"),
     {"PL200Srvr.dll", "libpl200srvr.so"}, create<CTL_PLxxxSensor>},
    {kSensorSpyderX, QT_TRANSLATE_NOOP("CTargetSensor", "Datacolor SpyderX"),
     {"dcxmtr.dll", "libdcxmtr.so"}, create<CDataColorSpyderXSensor>},
    {kSensorNone, QT_TRANSLATE_NOOP("CTargetSensor", "None"), {nullptr, nullptr}, nullptr},
}};

} // namespace

const std::array<sensor_kind_entry, kSensorKindCount> &sensor_kinds()
{
    return kKinds;
}

const sensor_kind_entry *sensor_kind_entry_of(int kind)
{
    for (const sensor_kind_entry &entry : kKinds) {
        if (entry.kind == kind)
            return &entry;
    }
    return nullptr;
}

const char *sensor_kind_library(int kind)
{
    const sensor_kind_entry *entry = sensor_kind_entry_of(kind);
    return entry ? entry->library.windowsName : nullptr;
}
