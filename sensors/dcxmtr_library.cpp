#include "sensors/dcxmtr_library.h"

#include "sensors/sensor_kinds.h"

bool dcxmtr_library::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorSpyderX)), {
        library_symbol(Startup, "DCX_Startup"),
        library_symbol(GetXYZ, "DCX_GetXYZ"),
        library_symbol(Shutdown, "DCX_Shutdown"),
        library_symbol(GetDetailedError, "DCX_GetDetailedError"),
        library_symbol(ReadAmbientLightLevel, "DCX_ReadAmbientLightLevel"),
        library_symbol(UseCalibration, "DCX_UseCalibration"),
    });
    if (!loaded)
        static_cast<dcxmtr_entry_points &>(*this) = dcxmtr_entry_points();
    return loaded;
}
