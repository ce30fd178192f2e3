#pragma once

#include "sensors/dccmtr_api.h"
#include "sensors/instrument_library.h"

// The Spyder3/4/5 library's entry points, all null until bound.
struct dccmtr_entry_points
{
    decltype(&::DC_Startup) Startup = nullptr;
    decltype(&::DC_GetXYZ) GetXYZ = nullptr;
    decltype(&::DC_Shutdown) Shutdown = nullptr;
    decltype(&::DC_GetDetailedError) GetDetailedError = nullptr;
    decltype(&::DC_ReadAmbientLightLevel) ReadAmbientLightLevel = nullptr;
    decltype(&::DC_UseCalibration) UseCalibration = nullptr;
    decltype(&::DC_WriteAmbientLightControlRegVal) WriteAmbientLightControlRegVal = nullptr;
};

// dccmtr.dll, loaded by name at run time. Either every entry point is bound
// or none, and the library is freed when one is missing.
class dccmtr_library : public dccmtr_entry_points
{
public:
    bool load();
    void unload();
    bool isLoaded() const { return m_library.isLoaded(); }

private:
    instrument_library m_library;
};
