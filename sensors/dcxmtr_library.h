#pragma once

#include "sensors/dcxmtr_api.h"
#include "sensors/instrument_library.h"

// The SpyderX library's entry points, all null until bound.
struct dcxmtr_entry_points
{
    decltype(&::DCX_Startup) Startup = nullptr;
    decltype(&::DCX_GetXYZ) GetXYZ = nullptr;
    decltype(&::DCX_Shutdown) Shutdown = nullptr;
    decltype(&::DCX_GetDetailedError) GetDetailedError = nullptr;
    decltype(&::DCX_ReadAmbientLightLevel) ReadAmbientLightLevel = nullptr;
    decltype(&::DCX_UseCalibration) UseCalibration = nullptr;
};

// dcxmtr.dll, bound by name. Either every entry point is bound or none.
class dcxmtr_library : public dcxmtr_entry_points
{
public:
    bool load();
    bool isLoaded() const { return m_library.isLoaded(); }

private:
    instrument_library m_library;
};
