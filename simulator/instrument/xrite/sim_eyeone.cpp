// The simulated i1Display 2 library: the entry points of eyeone_api.h over
// the shared option instrument. The library serves one instrument and
// has no session: options can be set without one, everything else needs
// it attached.

#include "sensors/eyeone_api.h"
#include "simulator/instrument/xrite/xrite_instrument.h"

#include <type_traits>

using sim_instrument::call_role;
using sim_xrite::family_options;
using sim_xrite::status_entry;
using sim_xrite::text_entry;
using sim_xrite::text_of;

// An i1Display 2 (it lists the ambient mode; its serial number is in none
// of the maker-branded ranges); no instrument attached until a test
// attaches one, so that a folder of every simulated library shows one
// instrument by default.
const char kFamilyDefaults[] = R"({
    "device_count": 0,
    "serial": "700123",
    "family": {
        "AvailableMeasurementModes": "SingleEmission;SingleAmbientLight"
    }
})";

const sim_xrite::family_rules sim_xrite::kFamilyRules = {
    {
        {"DeviceType", "", {"EyeOneDisplay"}},
        {"MeasurementMode", "SingleEmission", {}},
        {"AdaptiveMode", "0", {"0", "1"}},
        {"Colorimetric.Illumination", "D50", {"Emission", "D50", "D65"}},
        {"ColorSpaceDescription.Type", "CIELab", {"CIEXYZ", "CIELab", "CIExyY"}},
        {"ScreenType", "LCD", {"LCD", "CRT"}},
        {"DisplayMeasureType", "DisplayMeasureStandard", {"DisplayMeasureStandard", "DisplayMeasureTimeVarying"}},
    },
    {
        {"SingleEmission", sim_xrite::measure_kind::emission, false},
        {"SingleAmbientLight", sim_xrite::measure_kind::ambient, false},
    },
    // Ends the library's work with the instrument.
    {"Cleanup"},
};

const sim_instrument::simulated_instrument::change_listener sim_xrite::kFamilyChangeListener;

SIM_EXPORT const char *I1_GetOption(const char *name)
{
    return text_entry("I1_GetOption", call_role::library, {text_of(name)}, [=](QString *value) {
        const int status = sim_xrite::attached();
        return status == XRITE_SUCCESS ? family_options().get_option(text_of(name), value) : status;
    });
}

SIM_EXPORT xrite_result I1_SetOption(const char *name, const char *value)
{
    return status_entry("I1_SetOption", call_role::library, {text_of(name), text_of(value)}, [=](QJsonArray &) {
        return family_options().set_option(text_of(name), text_of(value));
    });
}

SIM_EXPORT xrite_result I1_IsConnected(void)
{
    return status_entry("I1_IsConnected", call_role::enumerate, {}, [](QJsonArray &) { return sim_xrite::attached(); });
}

SIM_EXPORT xrite_result I1_Calibrate(void)
{
    return status_entry("I1_Calibrate", call_role::calibrate, {}, [](QJsonArray &) {
        int status = sim_xrite::attached();
        // A dark calibration: no light may reach the sensor.
        if (status == XRITE_SUCCESS && !family_instrument().config().covered)
            status = XRITE_ERR_FAILED;
        return status == XRITE_SUCCESS ? family_options().calibrate() : status;
    });
}

SIM_EXPORT xrite_result I1_TriggerMeasurement(void)
{
    return status_entry("I1_TriggerMeasurement", call_role::measure, {}, [](QJsonArray &) {
        const int status = sim_xrite::attached();
        return status == XRITE_SUCCESS ? family_options().trigger() : status;
    });
}

SIM_EXPORT xrite_result I1_GetTriStimulus(float xyz[XRITE_TRISTIMULUS_COUNT], int32_t index)
{
    return status_entry("I1_GetTriStimulus", call_role::device, {index}, [=](QJsonArray &out) {
        const int status = sim_xrite::attached();
        return status == XRITE_SUCCESS ? family_options().read(xyz, index, &out) : status;
    });
}

// Each entry point has the type the driver binds it as.
static_assert(std::is_same<decltype(&I1_GetOption), eyeone_get_option_fn *>::value, "I1_GetOption");
static_assert(std::is_same<decltype(&I1_SetOption), eyeone_set_option_fn *>::value, "I1_SetOption");
static_assert(std::is_same<decltype(&I1_IsConnected), eyeone_is_connected_fn *>::value, "I1_IsConnected");
static_assert(std::is_same<decltype(&I1_Calibrate), eyeone_calibrate_fn *>::value, "I1_Calibrate");
static_assert(std::is_same<decltype(&I1_TriggerMeasurement), eyeone_trigger_measurement_fn *>::value,
              "I1_TriggerMeasurement");
static_assert(std::is_same<decltype(&I1_GetTriStimulus), eyeone_get_tristimulus_fn *>::value, "I1_GetTriStimulus");
