// The simulated spot meter library: the entry points of spotmeter_api.h
// over the shared simulated instrument core.

#include "sensors/spotmeter_api.h"
#include "simulator/instrument/family_instrument.h"

#include <QMutex>
#include <QMutexLocker>

#include <cmath>
#include <cstring>
#include <limits>

using sim_instrument::call_role;
using sim_instrument::logged_call;

struct gmbSpotDevice
{
    int unused;
};

namespace {

constexpr int32_t kUnitsFootLambert = 0;
constexpr double kCandelaPerFootLambert = 3.426;

gmbSpotDevice g_device = {0};

QMutex g_mutex;
int32_t g_units = GMB_SPOT_UNITS_CANDELA;

QJsonValue family_setting(const char *key)
{
    return family_instrument().config().family.value(QLatin1String(key));
}

bool device_ready(gmbSpotHandle handle)
{
    return handle == &g_device && family_instrument().initialised() && family_instrument().device_open();
}

template <typename Ready, typename Body>
gmbSpotStatus entry(const char *name, call_role role, const QJsonArray &args, Ready ready, Body body)
{
    logged_call call(name, role, args);
    if (call.fault() != 0)
        return call.finish(call.fault());
    if (!ready())
        return call.finish(GMB_SPOT_ERR_FAILED);
    QJsonArray out;
    const int result = body(out);
    return call.finish(result, out);
}

template <typename Body>
gmbSpotStatus device_entry(const char *name, call_role role, gmbSpotHandle handle, const QJsonArray &args, Body body)
{
    return entry(name, role, args, [handle] { return device_ready(handle); }, body);
}

int32_t calibration_count()
{
    const QJsonValue count = family_setting("calibration_count");
    return count.isDouble() ? count.toInt() : int32_t(family_instrument().config().calibrations.size());
}

double luminance_in_units(double candela)
{
    QMutexLocker lock(&g_mutex);
    return g_units == kUnitsFootLambert ? candela / kCandelaPerFootLambert : candela;
}

} // namespace

// No instrument attached until a test or configuration attaches one, so
// that a folder of every family's library does not find this one first.
// Family settings: "calibration_count" overrides the number of calibrations
// the instrument reports; "next_index" makes the name walk hand back that
// index every time (a library stuck on one name); "dark_limit" is the
// luminance above which a dark-current measurement sees light;
// "value_missing" makes measurements succeed without a value (NaN).
const char kFamilyDefaults[] = R"({
    "device_count": 0,
    "serial": "8011234",
    "product": "Hubble",
    "integration_seconds": 1.0,
    "calibrations": [
        {"key": 0, "name": "Factory"},
        {"key": 1, "name": "White LED"},
        {"key": 2, "name": "CCFL"}
    ],
    "family": {"calibration_count": null, "next_index": null, "dark_limit": 0.01, "value_missing": false}
})";

SIM_EXPORT gmbSpotStatus gmbSpotInitialize(void)
{
    return entry("gmbSpotInitialize", call_role::session, {}, [] { return true; }, [](QJsonArray &) {
        family_instrument().initialise();
        QMutexLocker lock(&g_mutex);
        g_units = GMB_SPOT_UNITS_CANDELA;
        return GMB_SPOT_SUCCESS;
    });
}

SIM_EXPORT int32_t gmbSpotGetNumberOfDevices(void)
{
    return entry("gmbSpotGetNumberOfDevices", call_role::enumerate, {}, [] { return family_instrument().initialised(); },
                 [](QJsonArray &) { return family_instrument().device_count(); });
}

SIM_EXPORT gmbSpotStatus gmbSpotGetDeviceHandle(int32_t index, gmbSpotHandle *handle)
{
    return entry("gmbSpotGetDeviceHandle", call_role::enumerate, {index},
                 [] { return family_instrument().initialised(); }, [=](QJsonArray &) {
                     if (!handle || index < 0 || index >= family_instrument().device_count())
                         return int(GMB_SPOT_ERR_FAILED);
                     *handle = &g_device;
                     return int(GMB_SPOT_SUCCESS);
                 });
}

SIM_EXPORT gmbSpotStatus gmbSpotDeviceOpen(gmbSpotHandle handle)
{
    return entry("gmbSpotDeviceOpen", call_role::open, {},
                 [handle] { return handle == &g_device && family_instrument().initialised(); }, [](QJsonArray &) {
                     family_instrument().set_device_open(true);
                     return GMB_SPOT_SUCCESS;
                 });
}

SIM_EXPORT gmbSpotStatus gmbSpotGetSerialNumber(gmbSpotHandle handle, uint32_t *serial)
{
    return device_entry("gmbSpotGetSerialNumber", call_role::device, handle, {}, [=](QJsonArray &out) {
        bool numeric = false;
        const uint number = family_instrument().config().serial.toUInt(&numeric);
        if (!serial || !numeric)
            return int(GMB_SPOT_ERR_FAILED);
        *serial = number;
        out.append(qint64(number));
        return int(GMB_SPOT_SUCCESS);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotSetLuminanceUnits(gmbSpotHandle handle, int32_t units)
{
    return device_entry("gmbSpotSetLuminanceUnits", call_role::device, handle, {units}, [=](QJsonArray &) {
        if (units != GMB_SPOT_UNITS_CANDELA && units != kUnitsFootLambert)
            return int(GMB_SPOT_ERR_FAILED);
        QMutexLocker lock(&g_mutex);
        g_units = units;
        return int(GMB_SPOT_SUCCESS);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotGetNumberOfCalibrations(gmbSpotHandle handle, int32_t *count)
{
    return device_entry("gmbSpotGetNumberOfCalibrations", call_role::device, handle, {}, [=](QJsonArray &out) {
        if (!count)
            return int(GMB_SPOT_ERR_FAILED);
        *count = calibration_count();
        out.append(*count);
        return int(GMB_SPOT_SUCCESS);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotGetCalibrationName(gmbSpotHandle handle, int32_t *index, char *name, int32_t size)
{
    const QJsonArray args = index ? QJsonArray{*index, size} : QJsonArray{size};
    return device_entry("gmbSpotGetCalibrationName", call_role::device, handle, args, [=](QJsonArray &out) {
        if (!index || !name || size < 0)
            return int(GMB_SPOT_ERR_FAILED);
        const int32_t count = calibration_count();
        const int32_t wanted = *index < 0 ? 0 : *index;
        if (wanted >= count && count > 0)
            return int(GMB_SPOT_ERR_FAILED);
        const QList<sim_instrument::calibration_entry> calibrations = family_instrument().config().calibrations;
        const QByteArray text = calibrations.value(wanted).name.toLatin1().left(size);
        std::memcpy(name, text.constData(), size_t(text.size()));
        name[text.size()] = '\0';
        const QJsonValue stuck = family_setting("next_index");
        *index = stuck.isDouble() ? stuck.toInt() : (wanted + 1 < count ? wanted + 1 : -1);
        out = QJsonArray{QString::fromLatin1(text), *index};
        return int(GMB_SPOT_SUCCESS);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotSetIntegrationTime(gmbSpotHandle handle, double seconds)
{
    return device_entry("gmbSpotSetIntegrationTime", call_role::device, handle, {seconds}, [=](QJsonArray &) {
        if (!(seconds > 0.0 && seconds <= 60.0))
            return int(GMB_SPOT_ERR_FAILED);
        family_instrument().set_integration_seconds(seconds);
        return int(GMB_SPOT_SUCCESS);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotSetLowLightAveraging(gmbSpotHandle handle, int32_t on)
{
    return device_entry("gmbSpotSetLowLightAveraging", call_role::device, handle, {on}, [=](QJsonArray &) {
        return on == 0 || on == 1 ? int(GMB_SPOT_SUCCESS) : int(GMB_SPOT_ERR_FAILED);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotMeasureYxy(gmbSpotHandle handle, double *Y, double *x, double *y)
{
    return device_entry("gmbSpotMeasureYxy", call_role::measure, handle, {}, [=](QJsonArray &out) {
        if (!Y || !x || !y)
            return int(GMB_SPOT_ERR_FAILED);
        if (family_setting("value_missing").toBool()) {
            *Y = *x = *y = std::numeric_limits<double>::quiet_NaN();
            return int(GMB_SPOT_SUCCESS);
        }
        const sim_instrument::tristimulus reading = family_instrument().measure_emission();
        const double sum = reading.X + reading.Y + reading.Z;
        if (!(reading.Y > 0.0) || !(sum > 0.0))
            return int(GMB_SPOT_ERR_NO_VALUE);
        *Y = luminance_in_units(reading.Y);
        *x = reading.X / sum;
        *y = reading.Y / sum;
        out = QJsonArray{*Y, *x, *y};
        return int(GMB_SPOT_SUCCESS);
    });
}

SIM_EXPORT gmbSpotStatus gmbSpotMeasureDarkCurrent(gmbSpotHandle handle)
{
    return device_entry("gmbSpotMeasureDarkCurrent", call_role::calibrate, handle, {}, [](QJsonArray &out) {
        if (family_instrument().config().covered)
            return int(GMB_SPOT_SUCCESS);
        const double seen = family_instrument().measure_emission().Y;
        out.append(seen);
        return seen > family_setting("dark_limit").toDouble() ? int(GMB_SPOT_ERR_TOO_BRIGHT) : int(GMB_SPOT_SUCCESS);
    });
}
