#include "sensors/i1pro_library.h"

#include "sensors/sensor_kinds.h"

bool i1pro_library::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorI1Pro)), {
        library_symbol(GetDevices, "I1_GetDevices"),
        library_symbol(OpenDevice, "I1_OpenDevice"),
        library_symbol(CloseDevice, "I1_CloseDevice"),
        library_symbol(GetOption, "I1_GetOption"),
        library_symbol(SetOption, "I1_SetOption"),
        library_symbol(GetGlobalOption, "I1_GetGlobalOption"),
        library_symbol(SetGlobalOption, "I1_SetGlobalOption"),
        library_symbol(Calibrate, "I1_Calibrate"),
        library_symbol(TriggerMeasurement, "I1_TriggerMeasurement"),
        library_symbol(GetTriStimulus, "I1_GetTriStimulus"),
    });
    if (!loaded)
        static_cast<i1pro_entry_points &>(*this) = i1pro_entry_points();
    return loaded;
}
