// The simulated i1Studio library: the entry points of i1studio_api.h over
// the shared option instrument, with the dial of the instrument
// (the configuration's "selector") and an event thread that reports a
// turned dial, or the instrument coming and going, to the registered
// callback.

#include "sensors/i1studio_api.h"
#include "simulator/instrument/xrite/i1studio_events.h"
#include "simulator/instrument/xrite/xrite_instrument.h"

#include <QMutex>
#include <QMutexLocker>

using sim_instrument::call_role;
using sim_xrite::family_options;
using sim_xrite::status_entry;
using sim_xrite::text_entry;
using sim_xrite::text_of;

namespace {

int dial_code()
{
    return I1STUDIO_DIAL_DISPLAY + family_instrument().selector();
}

// What the event thread last reported.
struct watched_state
{
    int dial = 0;
    bool attached = false;
};

QMutex g_watchMutex;
watched_state g_watched;

i1studio_events &events()
{
    static i1studio_events thread;
    return thread;
}

watched_state current_state()
{
    return watched_state{dial_code(), sim_xrite::attached() == XRITE_SUCCESS};
}

// After a change of configuration: tells the callback what moved.
void report_changes()
{
    const watched_state now = current_state();
    QMutexLocker lock(&g_watchMutex);
    if (now.attached != g_watched.attached)
        events().post(I1STUDIO_EVENT_DEVICE, now.attached ? 1 : 0);
    if (now.dial != g_watched.dial)
        events().post(I1STUDIO_EVENT_DIAL, now.dial);
    g_watched = now;
}

void follow_change(bool reset)
{
    if (reset)
        events().stop();
    else
        report_changes();
}

// The dial must stand where the measurement mode measures.
int dial_matches_mode()
{
    QString mode;
    family_options().get_option(QStringLiteral("MeasurementMode"), &mode);
    const int wanted = mode == QLatin1String("SingleAmbientLight") ? I1STUDIO_DIAL_AMBIENT : I1STUDIO_DIAL_DISPLAY;
    return dial_code() == wanted ? XRITE_SUCCESS : XRITE_ERR_FAILED;
}

} // namespace

// An i1Studio ("VersionString" without "i1Studio" makes it a ColorMunki),
// ready; no instrument attached until a test attaches one, so that a folder
// of every simulated library shows one instrument by default.
const char kFamilyDefaults[] = R"({
    "device_count": 0,
    "serial": "2001234",
    "family": {
        "AvailableMeasurementModes": "SingleEmission;SingleAmbientLight;SingleReflectance",
        "VersionString": "i1Studio 1.1.0",
        "device_state": 1000
    }
})";

const sim_xrite::family_rules sim_xrite::kFamilyRules = {
    {
        {"MeasurementMode", "SingleReflectance", {}},
        {"Colorimetric.Illumination", "D50", {"Emission", "D50", "D65"}},
        {"Colorimetric.Observer", "TwoDegree", {"TwoDegree", "TenDegree"}},
        {"ColorSpaceDescription.Type", "CIELab", {"CIEXYZ", "CIELab", "CIExyY"}},
    },
    {
        {"SingleEmission", sim_xrite::measure_kind::emission, true},
        {"SingleAmbientLight", sim_xrite::measure_kind::ambient, false},
        {"SingleReflectance", sim_xrite::measure_kind::none, true},
    },
    {},
};

const sim_instrument::simulated_instrument::change_listener sim_xrite::kFamilyChangeListener = follow_change;

SIM_EXPORT xrite_result i1studio_Calibrate(void)
{
    return status_entry("i1studio_Calibrate", call_role::calibrate, {}, [](QJsonArray &) {
        int status = sim_xrite::attached();
        if (status == XRITE_SUCCESS && dial_code() != I1STUDIO_DIAL_CALIBRATE)
            status = XRITE_ERR_FAILED;
        return status == XRITE_SUCCESS ? family_options().calibrate() : status;
    });
}

SIM_EXPORT const char *i1studio_GetOption(const char *name)
{
    return text_entry("i1studio_GetOption", call_role::library, {text_of(name)}, [=](QString *value) {
        const int status = sim_xrite::attached();
        return status == XRITE_SUCCESS ? family_options().get_option(text_of(name), value) : status;
    });
}

SIM_EXPORT int32_t i1studio_GetDialPosition(void)
{
    return status_entry("i1studio_GetDialPosition", call_role::device, {}, [](QJsonArray &) {
        const int status = sim_xrite::attached();
        return status == XRITE_SUCCESS ? dial_code() : status;
    });
}

SIM_EXPORT xrite_result i1studio_GetTriStimulus(float xyz[XRITE_TRISTIMULUS_COUNT], int32_t index)
{
    return status_entry("i1studio_GetTriStimulus", call_role::device, {index}, [=](QJsonArray &out) {
        const int status = sim_xrite::attached();
        return status == XRITE_SUCCESS ? family_options().read(xyz, index, &out) : status;
    });
}

SIM_EXPORT int32_t i1studio_CheckConnection(void)
{
    return status_entry("i1studio_CheckConnection", call_role::enumerate, {},
                        [](QJsonArray &) { return sim_xrite::attached() == XRITE_SUCCESS ? 0 : 1; });
}

SIM_EXPORT int32_t i1studio_GetDeviceState(void)
{
    return status_entry("i1studio_GetDeviceState", call_role::device, {}, [](QJsonArray &) {
        const int status = sim_xrite::attached();
        if (status != XRITE_SUCCESS)
            return status;
        return family_instrument().config().family.value(QLatin1String("device_state")).toInt(I1STUDIO_STATE_READY);
    });
}

SIM_EXPORT xrite_result i1studio_SetOption(const char *name, const char *value)
{
    return status_entry("i1studio_SetOption", call_role::library, {text_of(name), text_of(value)},
                        [=](QJsonArray &) { return family_options().set_option(text_of(name), text_of(value)); });
}

SIM_EXPORT xrite_result i1studio_TriggerMeasurement(void)
{
    return status_entry("i1studio_TriggerMeasurement", call_role::measure, {}, [](QJsonArray &) {
        int status = sim_xrite::attached();
        if (status == XRITE_SUCCESS)
            status = dial_matches_mode();
        return status == XRITE_SUCCESS ? family_options().trigger() : status;
    });
}

SIM_EXPORT xrite_result i1studio_RegisterEventCallback(i1studio_event_callback callback, void *context)
{
    return status_entry("i1studio_RegisterEventCallback", call_role::library, {}, [=](QJsonArray &) {
        if (!callback)
            return int(XRITE_ERR_BAD_VALUE);
        family_options();
        {
            QMutexLocker lock(&g_watchMutex);
            g_watched = current_state();
        }
        events().start(callback, context);
        return int(XRITE_SUCCESS);
    });
}

SIM_EXPORT xrite_result i1studio_UnregisterEventCallback(void)
{
    return status_entry("i1studio_UnregisterEventCallback", call_role::library, {}, [](QJsonArray &) {
        events().stop();
        return int(XRITE_SUCCESS);
    });
}
