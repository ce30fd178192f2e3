#include "sensors/i1studio_library.h"

#include "sensors/sensor_kinds.h"

bool i1studio_library::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorI1Studio)), {
        library_symbol(Calibrate, "i1studio_Calibrate"),
        library_symbol(GetOption, "i1studio_GetOption"),
        library_symbol(GetDialPosition, "i1studio_GetDialPosition"),
        library_symbol(GetTriStimulus, "i1studio_GetTriStimulus"),
        library_symbol(CheckConnection, "i1studio_CheckConnection"),
        library_symbol(GetDeviceState, "i1studio_GetDeviceState"),
        library_symbol(SetOption, "i1studio_SetOption"),
        library_symbol(TriggerMeasurement, "i1studio_TriggerMeasurement"),
        library_symbol(RegisterEventCallback, "i1studio_RegisterEventCallback"),
        library_symbol(UnregisterEventCallback, "i1studio_UnregisterEventCallback"),
    });
    if (!loaded)
        static_cast<i1studio_entry_points &>(*this) = i1studio_entry_points();
    return loaded;
}
