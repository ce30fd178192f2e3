// The simulated i1Display Pro library: the entry points of i1d3_api.h over
// the shared simulated instrument core.

#include "sensors/i1d3_api.h"
#include "simulator/instrument/family_instrument.h"

#include <QMutex>
#include <QMutexLocker>

#include <cstring>
#include <vector>

using sim_instrument::call_role;
using sim_instrument::logged_call;

struct i1d3Device
{
    int unused;
};

namespace {

i1d3Device g_device = {0};

QMutex g_listMutex;
std::vector<i1d3CalibrationEntry> g_list;

bool session_ready()
{
    return family_instrument().initialised();
}

bool handle_ready(i1d3Handle handle)
{
    return handle == &g_device && session_ready();
}

bool device_ready(i1d3Handle handle)
{
    return handle_ready(handle) && family_instrument().device_open();
}

template <typename Ready, typename Body>
i1d3Status entry(const char *name, call_role role, const QJsonArray &args, Ready ready, Body body)
{
    logged_call call(name, role, args);
    if (call.fault() != 0)
        return call.finish(call.fault());
    if (!ready())
        return call.finish(I1D3_ERR_FAILED);
    QJsonArray out;
    const int result = body(out);
    return call.finish(result, out);
}

template <typename Body>
i1d3Status device_entry(const char *name, call_role role, i1d3Handle handle, const QJsonArray &args, Body body)
{
    return entry(name, role, args, [handle] { return device_ready(handle); }, body);
}

void copy_text(char *target, int size, const QString &text)
{
    const QByteArray bytes = text.toLatin1().left(size - 1);
    std::memset(target, 0, size_t(size));
    std::memcpy(target, bytes.constData(), size_t(bytes.size()));
}

} // namespace

// Calibration keys cover every entry the driver chooses for display types
// 0 to 4 and the flag-0 case.
const char kFamilyDefaults[] = R"({
    "serial": "9000123",
    "firmware": "v2.1.0",
    "product": "i1Display Pro",
    "maker_branded": false,
    "calibrations": [
        {"key": 1, "name": "CRT"},
        {"key": 3, "name": "LCD generic"},
        {"key": 6, "name": "LCD CCFL"},
        {"key": 9, "name": "LCD white LED"},
        {"key": 12, "name": "LCD RGB LED"},
        {"key": 64, "name": "LCD wide gamut LED"}
    ],
    "family": {"aio": false}
})";

SIM_EXPORT i1d3Status i1d3Initialize(void)
{
    return entry("i1d3Initialize", call_role::session, {}, [] { return true; }, [](QJsonArray &) {
        family_instrument().initialise();
        return I1D3_SUCCESS;
    });
}

SIM_EXPORT i1d3Status i1d3Destroy(void)
{
    return entry("i1d3Destroy", call_role::session, {}, [] { return true; }, [](QJsonArray &) {
        family_instrument().shut_down();
        return I1D3_SUCCESS;
    });
}

SIM_EXPORT int32_t i1d3GetNumberOfDevices(void)
{
    return entry("i1d3GetNumberOfDevices", call_role::enumerate, {}, session_ready,
                 [](QJsonArray &) { return family_instrument().device_count(); });
}

SIM_EXPORT i1d3Status i1d3GetDeviceHandle(int32_t index, i1d3Handle *handle)
{
    return entry("i1d3GetDeviceHandle", call_role::enumerate, {index}, session_ready, [=](QJsonArray &) {
        if (!handle || index < 0 || index >= family_instrument().device_count())
            return int(I1D3_ERR_FAILED);
        *handle = &g_device;
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3DeviceOpen(i1d3Handle handle, int32_t *makerBranded)
{
    return entry("i1d3DeviceOpen", call_role::open, {}, [handle] { return handle_ready(handle); },
                 [=](QJsonArray &out) {
                     if (!makerBranded)
                         return int(I1D3_ERR_FAILED);
                     family_instrument().set_device_open(true);
                     *makerBranded = family_instrument().config().makerBranded ? 1 : 0;
                     out.append(*makerBranded);
                     return int(I1D3_SUCCESS);
                 });
}

SIM_EXPORT i1d3Status i1d3DeviceClose(i1d3Handle handle)
{
    return device_entry("i1d3DeviceClose", call_role::close, handle, {}, [](QJsonArray &) {
        family_instrument().set_device_open(false);
        return I1D3_SUCCESS;
    });
}

SIM_EXPORT i1d3Status i1d3GetDeviceInfo(i1d3Handle handle, i1d3DeviceInfo *info)
{
    return device_entry("i1d3GetDeviceInfo", call_role::device, handle, {}, [=](QJsonArray &out) {
        if (!info)
            return int(I1D3_ERR_FAILED);
        const sim_instrument::instrument_config config = family_instrument().config();
        copy_text(info->productName, I1D3_TEXT_SIZE, config.product);
        copy_text(info->firmwareVersion, I1D3_TEXT_SIZE, config.firmware);
        out.append(config.firmware);
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3SetSupportFilePath(const char *path)
{
    const QString text = path ? QString::fromLocal8Bit(path) : QString();
    return entry("i1d3SetSupportFilePath", call_role::library, {text}, session_ready,
                 [=](QJsonArray &) { return path ? int(I1D3_SUCCESS) : int(I1D3_ERR_FAILED); });
}

SIM_EXPORT i1d3Status i1d3GetCalibrationList(i1d3Handle handle, int32_t *count, const i1d3CalibrationEntry **entries)
{
    return device_entry("i1d3GetCalibrationList", call_role::device, handle, {}, [=](QJsonArray &out) {
        if (!count || !entries)
            return int(I1D3_ERR_FAILED);
        QMutexLocker lock(&g_listMutex);
        g_list.clear();
        for (const sim_instrument::calibration_entry &calibration : family_instrument().config().calibrations) {
            i1d3CalibrationEntry entry;
            entry.key = uint16_t(calibration.key);
            copy_text(entry.name, I1D3_TEXT_SIZE, calibration.name);
            g_list.push_back(entry);
            out.append(calibration.key);
        }
        *count = int32_t(g_list.size());
        *entries = g_list.empty() ? nullptr : g_list.data();
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3SetCalibration(i1d3Handle handle, const i1d3CalibrationEntry *entry)
{
    const QJsonArray args = entry ? QJsonArray{int(entry->key), QString::fromLatin1(entry->name, int(qstrnlen(entry->name, I1D3_TEXT_SIZE)))}
                                  : QJsonArray();
    return device_entry("i1d3SetCalibration", call_role::calibrate, handle, args, [=](QJsonArray &) {
        if (!entry)
            return int(I1D3_ERR_FAILED);
        for (const sim_instrument::calibration_entry &calibration : family_instrument().config().calibrations) {
            if (calibration.key == entry->key)
                return int(I1D3_SUCCESS);
        }
        return int(I1D3_ERR_FAILED);
    });
}

SIM_EXPORT i1d3Status i1d3SetMeasurementMode(i1d3Handle handle, int32_t mode)
{
    return device_entry("i1d3SetMeasurementMode", call_role::device, handle, {mode},
                        [](QJsonArray &) { return I1D3_SUCCESS; });
}

SIM_EXPORT i1d3Status i1d3SetIntegrationTime(i1d3Handle handle, double seconds)
{
    return device_entry("i1d3SetIntegrationTime", call_role::device, handle, {seconds}, [=](QJsonArray &) {
        if (!(seconds > 0.0 && seconds <= 60.0))
            return int(I1D3_ERR_FAILED);
        family_instrument().set_integration_seconds(seconds);
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3SetTargetLCDTime(i1d3Handle handle, double seconds)
{
    return device_entry("i1d3SetTargetLCDTime", call_role::device, handle, {seconds}, [=](QJsonArray &) {
        return seconds > 0.0 && seconds <= 60.0 ? int(I1D3_SUCCESS) : int(I1D3_ERR_FAILED);
    });
}

SIM_EXPORT int32_t i1d3SupportsAIOMode(i1d3Handle handle)
{
    return device_entry("i1d3SupportsAIOMode", call_role::device, handle, {}, [](QJsonArray &) {
        return family_instrument().config().family.value(QLatin1String("aio")).toBool() ? int(I1D3_AIO_MODE) : 0;
    });
}

SIM_EXPORT i1d3Status i1d3MeasureXYZ(i1d3Handle handle, double *X, double *Y, double *Z)
{
    return device_entry("i1d3MeasureXYZ", call_role::measure, handle, {}, [=](QJsonArray &out) {
        if (!X || !Y || !Z)
            return int(I1D3_ERR_FAILED);
        const sim_instrument::tristimulus reading = family_instrument().measure_emission();
        *X = reading.X;
        *Y = reading.Y;
        *Z = reading.Z;
        out = QJsonArray{reading.X, reading.Y, reading.Z};
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3MeasureAmbient(i1d3Handle handle, double *Y, double *x, double *y)
{
    return device_entry("i1d3MeasureAmbient", call_role::measure, handle, {}, [=](QJsonArray &out) {
        if (!Y || !x || !y)
            return int(I1D3_ERR_FAILED);
        const sim_instrument::instrument_config config = family_instrument().config();
        *Y = family_instrument().measure_ambient_lux();
        *x = config.ambientX;
        *y = config.ambientY;
        out = QJsonArray{*Y, *x, *y};
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3ReadDiffuserPosition(i1d3Handle handle, uint8_t *position)
{
    return device_entry("i1d3ReadDiffuserPosition", call_role::device, handle, {}, [=](QJsonArray &out) {
        if (!position)
            return int(I1D3_ERR_FAILED);
        const int ambient = sim_instrument::selector_position(QStringLiteral("ambient"));
        *position = family_instrument().selector() == ambient ? 1 : 0;
        out.append(int(*position));
        return int(I1D3_SUCCESS);
    });
}

SIM_EXPORT i1d3Status i1d3SetLEDControl(i1d3Handle handle, int32_t mode, double offSeconds, double onSeconds,
                                        uint8_t count)
{
    return device_entry("i1d3SetLEDControl", call_role::device, handle, {mode, offSeconds, onSeconds, int(count)},
                        [](QJsonArray &) { return I1D3_SUCCESS; });
}

SIM_EXPORT i1d3Status i1d3GetSerialNumber(i1d3Handle handle, char *text, int32_t size)
{
    return device_entry("i1d3GetSerialNumber", call_role::device, handle, {size}, [=](QJsonArray &out) {
        if (!text || size <= 0)
            return int(I1D3_ERR_FAILED);
        const QString serial = family_instrument().config().serial;
        copy_text(text, size, serial);
        out.append(serial);
        return int(I1D3_SUCCESS);
    });
}
