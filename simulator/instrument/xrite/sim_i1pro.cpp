// The simulated i1Pro library: the entry points of i1pro_api.h over the
// shared option instrument.

#include "sensors/i1pro_api.h"
#include "simulator/instrument/xrite/xrite_instrument.h"

#include <cstring>
#include <type_traits>

using sim_instrument::call_role;
using sim_xrite::family_options;
using sim_xrite::status_entry;
using sim_xrite::text_of;

struct i1pro_device
{
    int index;
};

namespace {

// Handles of the instruments the library can list.
constexpr int kMaximumDevices = 4;
i1pro_device g_devices[kMaximumDevices] = {{0}, {1}, {2}, {3}};
const i1pro_handle g_handles[kMaximumDevices] = {&g_devices[0], &g_devices[1], &g_devices[2], &g_devices[3]};

int listed_devices()
{
    return qBound(0, family_instrument().device_count(), kMaximumDevices);
}

bool listed(i1pro_handle device)
{
    for (int i = 0; i < listed_devices(); ++i) {
        if (device == g_handles[i])
            return true;
    }
    return false;
}

// Instrument calls need the first instrument, opened.
int open_device(i1pro_handle device)
{
    return listed(device) && device == g_handles[0] && family_instrument().device_open() ? XRITE_SUCCESS
                                                                                           : XRITE_ERR_NO_DEVICE;
}

int copy_text(const QString &value, char *text, uint32_t *size)
{
    if (!text || !size)
        return XRITE_ERR_BAD_VALUE;
    const QByteArray bytes = value.toLatin1();
    const uint32_t needed = uint32_t(bytes.size()) + 1;
    if (needed > *size) {
        *size = needed;
        return XRITE_ERR_BUFFER_TOO_SMALL;
    }
    std::memcpy(text, bytes.constData(), needed);
    *size = uint32_t(bytes.size());
    return XRITE_SUCCESS;
}

// The library's own options, beside the instruments'.
int global_option(const QString &name, QString *value)
{
    const sim_xrite::option_instrument &options = family_options();
    if (name == QLatin1String("LastErrorNumber")) {
        *value = QString::number(options.last_error());
        return XRITE_SUCCESS;
    }
    if (name == QLatin1String("LastErrorText")) {
        *value = sim_xrite::option_instrument::error_text(options.last_error());
        return XRITE_SUCCESS;
    }
    const QJsonValue identity = family_instrument().config().family.value(name);
    if ((name == QLatin1String("SDKVersion") || name == QLatin1String("HWRevision")) && identity.isString()) {
        *value = identity.toString();
        return XRITE_SUCCESS;
    }
    return XRITE_ERR_UNKNOWN_OPTION;
}

} // namespace

// An i1Pro2 (hardware revision after D) with the ambient head; no
// instrument attached until a test attaches one, so that a folder of every
// simulated library shows one instrument by default.
const char kFamilyDefaults[] = R"({
    "device_count": 0,
    "serial": "1012345",
    "family": {
        "AvailableMeasurementModes": "ReflectanceSpot;ReflectanceScan;EmissionSpot;AmbientLightSpot",
        "HWRevision": "E",
        "SDKVersion": "4.2.3",
        "calibration_seconds": 10800
    }
})";

const sim_xrite::family_rules sim_xrite::kFamilyRules = {
    {
        {"MeasurementMode", "ReflectanceSpot", {}},
        {"ColorSpaceDescription.Type", "CIELab", {"CIEXYZ", "CIELab", "CIExyY", "RGB"}},
        {"Colorimetric.Illumination", "D50", {"Emission", "D50", "D65", "A"}},
        {"Colorimetric.Observer", "TwoDegree", {"TwoDegree", "TenDegree"}},
        {"AdaptiveMeasurement", "0", {"0", "1"}},
    },
    {
        {"EmissionSpot", sim_xrite::measure_kind::emission, true},
        {"AmbientLightSpot", sim_xrite::measure_kind::ambient, true},
        {"ReflectanceSpot", sim_xrite::measure_kind::none, true},
        {"ReflectanceScan", sim_xrite::measure_kind::none, true},
    },
    {},
};

const sim_instrument::simulated_instrument::change_listener sim_xrite::kFamilyChangeListener;

SIM_EXPORT xrite_result I1_GetDevices(const i1pro_handle **devices, int32_t *count)
{
    return status_entry("I1_GetDevices", call_role::enumerate, {}, [=](QJsonArray &out) {
        if (!devices || !count)
            return int(XRITE_ERR_BAD_VALUE);
        *count = listed_devices();
        *devices = g_handles;
        out.append(*count);
        return int(XRITE_SUCCESS);
    });
}

SIM_EXPORT xrite_result I1_OpenDevice(i1pro_handle device)
{
    return status_entry("I1_OpenDevice", call_role::open, {}, [=](QJsonArray &) {
        if (!listed(device))
            return int(XRITE_ERR_NO_DEVICE);
        if (device == g_handles[0])
            family_instrument().set_device_open(true);
        return int(XRITE_SUCCESS);
    });
}

SIM_EXPORT xrite_result I1_CloseDevice(i1pro_handle device)
{
    return status_entry("I1_CloseDevice", call_role::close, {}, [=](QJsonArray &) {
        const int status = open_device(device);
        if (status == XRITE_SUCCESS)
            family_instrument().set_device_open(false);
        return status;
    });
}

SIM_EXPORT xrite_result I1_GetOption(i1pro_handle device, const char *name, char *text, uint32_t *size)
{
    return status_entry("I1_GetOption", call_role::device, {text_of(name)}, [=](QJsonArray &out) {
        QString value;
        int status = open_device(device);
        if (status == XRITE_SUCCESS)
            status = family_options().get_option(text_of(name), &value);
        if (status == XRITE_SUCCESS)
            status = copy_text(value, text, size);
        if (status == XRITE_SUCCESS)
            out.append(value);
        return status;
    });
}

SIM_EXPORT xrite_result I1_SetOption(i1pro_handle device, const char *name, const char *value)
{
    return status_entry("I1_SetOption", call_role::device, {text_of(name), text_of(value)}, [=](QJsonArray &) {
        const int status = open_device(device);
        return status == XRITE_SUCCESS ? family_options().set_option(text_of(name), text_of(value)) : status;
    });
}

SIM_EXPORT xrite_result I1_GetGlobalOption(const char *name, char *text, uint32_t *size)
{
    return status_entry("I1_GetGlobalOption", call_role::library, {text_of(name)}, [=](QJsonArray &out) {
        QString value;
        int status = global_option(text_of(name), &value);
        if (status == XRITE_SUCCESS)
            status = copy_text(value, text, size);
        if (status == XRITE_SUCCESS)
            out.append(value);
        return status;
    });
}

SIM_EXPORT xrite_result I1_SetGlobalOption(const char *name, const char *value)
{
    return status_entry("I1_SetGlobalOption", call_role::library, {text_of(name), text_of(value)},
                        [=](QJsonArray &) {
                            if (text_of(name) != QLatin1String("Reset"))
                                return int(XRITE_ERR_UNKNOWN_OPTION);
                            return family_options().set_option(text_of(name), text_of(value));
                        });
}

SIM_EXPORT xrite_result I1_Calibrate(i1pro_handle device)
{
    return status_entry("I1_Calibrate", call_role::calibrate, {}, [=](QJsonArray &) {
        const int status = open_device(device);
        return status == XRITE_SUCCESS ? family_options().calibrate() : status;
    });
}

SIM_EXPORT xrite_result I1_TriggerMeasurement(i1pro_handle device)
{
    return status_entry("I1_TriggerMeasurement", call_role::measure, {}, [=](QJsonArray &) {
        const int status = open_device(device);
        return status == XRITE_SUCCESS ? family_options().trigger() : status;
    });
}

SIM_EXPORT xrite_result I1_GetTriStimulus(i1pro_handle device, float xyz[XRITE_TRISTIMULUS_COUNT], int32_t index)
{
    return status_entry("I1_GetTriStimulus", call_role::device, {index}, [=](QJsonArray &out) {
        const int status = open_device(device);
        return status == XRITE_SUCCESS ? family_options().read(xyz, index, &out) : status;
    });
}

// Each entry point has the type the driver binds it as.
static_assert(std::is_same<decltype(&I1_GetDevices), i1pro_get_devices_fn *>::value, "I1_GetDevices");
static_assert(std::is_same<decltype(&I1_OpenDevice), i1pro_open_device_fn *>::value, "I1_OpenDevice");
static_assert(std::is_same<decltype(&I1_CloseDevice), i1pro_close_device_fn *>::value, "I1_CloseDevice");
static_assert(std::is_same<decltype(&I1_GetOption), i1pro_get_option_fn *>::value, "I1_GetOption");
static_assert(std::is_same<decltype(&I1_SetOption), i1pro_set_option_fn *>::value, "I1_SetOption");
static_assert(std::is_same<decltype(&I1_GetGlobalOption), i1pro_get_global_option_fn *>::value, "I1_GetGlobalOption");
static_assert(std::is_same<decltype(&I1_SetGlobalOption), i1pro_set_global_option_fn *>::value, "I1_SetGlobalOption");
static_assert(std::is_same<decltype(&I1_Calibrate), i1pro_calibrate_fn *>::value, "I1_Calibrate");
static_assert(std::is_same<decltype(&I1_TriggerMeasurement), i1pro_trigger_measurement_fn *>::value,
              "I1_TriggerMeasurement");
static_assert(std::is_same<decltype(&I1_GetTriStimulus), i1pro_get_tristimulus_fn *>::value, "I1_GetTriStimulus");
