// The simulated Spyder3/4/5 library: the entry points of dccmtr_api.h over
// the shared simulated instrument core.

#include "sensors/dccmtr_api.h"
#include "simulator/instrument/spyder/spyder_library_state.h"

using sim_instrument::call_role;

namespace {

// The start-up code of the model the family setting "model" attaches.
int32_t accepted_code()
{
    switch (family_instrument().config().family.value(QLatin1String("model")).toInt()) {
    case 3:
        return DC_MODEL_SPYDER3;
    case 4:
        return DC_MODEL_SPYDER4;
    case 5:
        return DC_MODEL_SPYDER5;
    default:
        return -1;
    }
}

// A time code asks for its number of hundredths of a second.
double integration_seconds(int32_t timeCode)
{
    return timeCode > 0 ? timeCode / 100.0 : -1.0;
}

} // namespace

// No instrument attached until a test or configuration attaches one, so
// that a folder of every family's library does not find this one first.
// The calibration entries cover every one the driver chooses.
const char kFamilyDefaults[] = R"({
    "device_count": 0,
    "serial": "4217",
    "firmware": "S4 2.07",
    "product": "Spyder4",
    "integration_seconds": 0.9,
    "calibrations": [
        {"key": 2, "name": "General"},
        {"key": 4, "name": "CCFL"},
        {"key": 5, "name": "White LED"},
        {"key": 6, "name": "Wide gamut"}
    ],
    "family": {"model": 4, "refuse_startup": false}
})";

SIM_EXPORT int32_t DC_Startup(uint8_t *info, int32_t modelCode)
{
    return sim_spyder::startup("DC_Startup", info, modelCode, accepted_code());
}

SIM_EXPORT int32_t DC_GetXYZ(int32_t timeCode, int32_t *X, int32_t *Y, int32_t *Z)
{
    return sim_spyder::measure_xyz("DC_GetXYZ", {timeCode}, integration_seconds(timeCode), X, Y, Z);
}

SIM_EXPORT void DC_Shutdown(void)
{
    sim_spyder::shutdown("DC_Shutdown");
}

SIM_EXPORT int32_t DC_GetDetailedError(int32_t *lowLevel)
{
    return sim_spyder::detailed_error("DC_GetDetailedError", lowLevel);
}

SIM_EXPORT int32_t DC_ReadAmbientLightLevel(uint16_t *level)
{
    return sim_spyder::read_ambient("DC_ReadAmbientLightLevel", true, level);
}

SIM_EXPORT int32_t DC_UseCalibration(int32_t entry)
{
    return sim_spyder::use_calibration("DC_UseCalibration", entry);
}

SIM_EXPORT int32_t DC_WriteAmbientLightControlRegVal(int32_t value)
{
    return sim_spyder::write_ambient_control("DC_WriteAmbientLightControlRegVal", value);
}
