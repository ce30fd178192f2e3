// The simulated SpyderX library: the entry points of dcxmtr_api.h over the
// shared simulated instrument core.

#include "sensors/dcxmtr_api.h"
#include "simulator/instrument/spyder/spyder_library_state.h"

// No instrument attached until a test or configuration attaches one, so
// that a folder of every family's library does not find this one first.
// The calibration entries cover every one the driver chooses.
const char kFamilyDefaults[] = R"({
    "device_count": 0,
    "serial": "X815",
    "firmware": "SX 1.4",
    "product": "SpyderX",
    "integration_seconds": 0.5,
    "calibrations": [
        {"key": 0, "name": "CCFL"},
        {"key": 1, "name": "General"},
        {"key": 2, "name": "White LED"},
        {"key": 3, "name": "Wide gamut"}
    ],
    "family": {"refuse_startup": false}
})";

SIM_EXPORT int32_t DCX_Startup(uint8_t *info, int32_t modelCode)
{
    return sim_spyder::startup("DCX_Startup", info, modelCode, DCX_MODEL_SPYDERX);
}

SIM_EXPORT int32_t DCX_GetXYZ(int32_t *X, int32_t *Y, int32_t *Z)
{
    return sim_spyder::measure_xyz("DCX_GetXYZ", {}, 0.0, X, Y, Z);
}

SIM_EXPORT void DCX_Shutdown(void)
{
    sim_spyder::shutdown("DCX_Shutdown");
}

SIM_EXPORT int32_t DCX_GetDetailedError(int32_t *lowLevel)
{
    return sim_spyder::detailed_error("DCX_GetDetailedError", lowLevel);
}

SIM_EXPORT int32_t DCX_ReadAmbientLightLevel(uint16_t *level)
{
    return sim_spyder::read_ambient("DCX_ReadAmbientLightLevel", false, level);
}

SIM_EXPORT int32_t DCX_UseCalibration(int32_t entry)
{
    return sim_spyder::use_calibration("DCX_UseCalibration", entry);
}
