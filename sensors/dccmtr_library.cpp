#include "sensors/dccmtr_library.h"

#include "sensors/sensor_kinds.h"

bool dccmtr_library::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorSpyder)), {
        library_symbol(Startup, "DC_Startup"),
        library_symbol(GetXYZ, "DC_GetXYZ"),
        library_symbol(Shutdown, "DC_Shutdown"),
        library_symbol(GetDetailedError, "DC_GetDetailedError"),
        library_symbol(ReadAmbientLightLevel, "DC_ReadAmbientLightLevel"),
        library_symbol(UseCalibration, "DC_UseCalibration"),
        library_symbol(WriteAmbientLightControlRegVal, "DC_WriteAmbientLightControlRegVal"),
    });
    if (!loaded)
        unload();
    return loaded;
}

void dccmtr_library::unload()
{
    m_library.unload();
    static_cast<dccmtr_entry_points &>(*this) = dccmtr_entry_points();
}
