#include "simulator/instrument/spyder/spyder_library_state.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using sim_instrument::call_role;

namespace sim_spyder {
namespace {

constexpr size_t kInfoSize = 12;
constexpr size_t kSerialOffset = 8;
constexpr int32_t kAmbientOn = 3;
constexpr double kLongestSeconds = 60.0;

QMutex g_mutex;
int32_t g_lastError = kNoError;
int32_t g_ambientControl = 0;

void set_ambient_control(int32_t value)
{
    QMutexLocker lock(&g_mutex);
    g_ambientControl = value;
}

int32_t ambient_control()
{
    QMutexLocker lock(&g_mutex);
    return g_ambientControl;
}

// The block as the instrument writes it: no terminator where a text fills
// its bytes.
void fill_block(uint8_t *info, const sim_instrument::instrument_config &config)
{
    std::memset(info, 0, kInfoSize);
    const QByteArray firmware = config.firmware.toLatin1().left(int(kSerialOffset));
    const QByteArray serial = config.serial.toLatin1().left(int(kInfoSize - kSerialOffset));
    std::memcpy(info, firmware.constData(), size_t(firmware.size()));
    std::memcpy(info + kSerialOffset, serial.constData(), size_t(serial.size()));
}

int32_t thousandths(double value)
{
    const double scaled = std::round(value * 1000.0);
    if (!(scaled == scaled))
        return 0;
    return int32_t(std::clamp(scaled, double(std::numeric_limits<int32_t>::min()),
                              double(std::numeric_limits<int32_t>::max())));
}

} // namespace

void set_last_error(int32_t error)
{
    QMutexLocker lock(&g_mutex);
    g_lastError = error;
}

int32_t startup(const char *name, uint8_t *info, int32_t code, int32_t acceptedCode)
{
    return entry(name, call_role::open, {code}, false, [=](QJsonArray &out) {
        sim_instrument::simulated_instrument &instrument = family_instrument();
        if (!info)
            return int32_t(kBadArgument);
        if (instrument.device_count() <= 0)
            return int32_t(kNoDevice);
        if (code != acceptedCode)
            return int32_t(kWrongModel);
        const sim_instrument::instrument_config config = instrument.config();
        const bool refused = instrument.initialised()
                             || config.family.value(QLatin1String("refuse_startup")).toBool();
        instrument.initialise();
        instrument.set_device_open(true);
        if (refused)
            return int32_t(kAlreadyStarted);
        fill_block(info, config);
        out.append(QString::fromLatin1(reinterpret_cast<const char *>(info + kSerialOffset),
                                       int(qstrnlen(reinterpret_cast<const char *>(info + kSerialOffset),
                                                    uint(kInfoSize - kSerialOffset)))));
        return int32_t(kNoError);
    });
}

int32_t shutdown(const char *name)
{
    return entry(name, call_role::session, {}, false, [](QJsonArray &) {
        family_instrument().shut_down();
        set_ambient_control(0);
        return int32_t(kNoError);
    });
}

int32_t detailed_error(const char *name, int32_t *lowLevel)
{
    int32_t error = kNoError;
    {
        QMutexLocker lock(&g_mutex);
        error = g_lastError;
    }
    sim_instrument::logged_call call(name, call_role::library);
    if (lowLevel)
        *lowLevel = 0;
    return call.finish(error, {error});
}

int32_t measure_xyz(const char *name, const QJsonArray &args, double seconds, int32_t *X, int32_t *Y, int32_t *Z)
{
    return entry(name, call_role::measure, args, true, [=](QJsonArray &out) {
        if (!X || !Y || !Z || seconds < 0.0 || seconds > kLongestSeconds)
            return int32_t(kBadArgument);
        if (seconds > 0.0)
            family_instrument().set_integration_seconds(seconds);
        const sim_instrument::tristimulus reading = family_instrument().measure_emission();
        *X = thousandths(reading.X);
        *Y = thousandths(reading.Y);
        *Z = thousandths(reading.Z);
        out = QJsonArray{*X, *Y, *Z};
        return int32_t(kNoError);
    });
}

int32_t read_ambient(const char *name, bool needsAmbientOn, uint16_t *level)
{
    return entry(name, call_role::measure, {}, true, [=](QJsonArray &out) {
        if (!level)
            return int32_t(kBadArgument);
        if (needsAmbientOn && ambient_control() != kAmbientOn)
            return int32_t(kAmbientOff);
        const double lux = std::round(family_instrument().measure_ambient_lux());
        *level = uint16_t(std::clamp(lux == lux ? lux : 0.0, 0.0, 65535.0));
        out.append(int(*level));
        return int32_t(kNoError);
    });
}

int32_t write_ambient_control(const char *name, int32_t value)
{
    return entry(name, call_role::device, {value}, true, [=](QJsonArray &) {
        set_ambient_control(value);
        return int32_t(kNoError);
    });
}

int32_t use_calibration(const char *name, int32_t entryNumber)
{
    return entry(name, call_role::calibrate, {entryNumber}, true, [=](QJsonArray &) {
        for (const sim_instrument::calibration_entry &calibration : family_instrument().config().calibrations) {
            if (calibration.key == entryNumber)
                return int32_t(kNoError);
        }
        return int32_t(kNoCalibration);
    });
}

} // namespace sim_spyder
