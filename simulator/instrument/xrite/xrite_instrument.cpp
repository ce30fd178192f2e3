#include "simulator/instrument/xrite/xrite_instrument.h"

#include <QJsonArray>
#include <QMutexLocker>

#include <utility>

namespace sim_xrite {
namespace {

const char kMeasurementMode[] = "MeasurementMode";
const char kExpiry[] = "TimeUntilCalibrationExpire";
constexpr int kCalibrationSeconds = 10800;

struct error_text_row
{
    int result;
    const char *text;
};

const error_text_row kErrorTexts[] = {
    {XRITE_SUCCESS, "No error"},
    {XRITE_ERR_FAILED, "Operation failed"},
    {XRITE_ERR_NO_DEVICE, "No device connected"},
    {XRITE_ERR_UNKNOWN_OPTION, "Unknown option"},
    {XRITE_ERR_BAD_VALUE, "Invalid option value"},
    {XRITE_ERR_READ_ONLY, "Option is read-only"},
    {XRITE_ERR_BUFFER_TOO_SMALL, "Buffer too small"},
    {XRITE_ERR_NOT_CALIBRATED, "Device not calibrated"},
    {XRITE_ERR_NO_MEASUREMENT, "No measurement available"},
};

// Ambient light seen as XYZ from its illuminance and chromaticity.
void ambient_tristimulus(double lux, double x, double y, float xyz[3])
{
    if (!(y > 0.0)) {
        xyz[0] = xyz[1] = xyz[2] = 0.0f;
        return;
    }
    xyz[0] = float(x * lux / y);
    xyz[1] = float(lux);
    xyz[2] = float((1.0 - x - y) * lux / y);
}

// Makes |options| follow the instrument: a reset of the instrument resets
// them too, then the family's listener is told of every change.
void follow_instrument(option_instrument &options)
{
    family_instrument().set_change_listener([&options](bool reset) {
        if (reset)
            options.reset();
        if (kFamilyChangeListener)
            kFamilyChangeListener(reset);
    });
}

} // namespace

option_instrument::option_instrument(family_rules rules) : m_rules(std::move(rules))
{
    reset();
}

void option_instrument::reset()
{
    QMutexLocker lock(&m_mutex);
    m_values.clear();
    for (const option_rule &option : m_rules.options)
        m_values.insert(QLatin1String(option.name), QLatin1String(option.initial));
    m_calibratedModes.clear();
    m_hasReading = false;
    m_lastError = XRITE_SUCCESS;
}

const option_rule *option_instrument::rule(const QString &name) const
{
    for (const option_rule &option : m_rules.options) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

QStringList option_instrument::measurementModes() const
{
    const QString modes = family_instrument().config().family.value(QLatin1String("AvailableMeasurementModes")).toString();
    return modes.split(QLatin1Char(';'), Qt::SkipEmptyParts) + m_rules.extraModeValues;
}

const mode_rule *option_instrument::currentMode() const
{
    const QString current = m_values.value(QLatin1String(kMeasurementMode));
    for (const mode_rule &mode : m_rules.modes) {
        if (current == QLatin1String(mode.name))
            return &mode;
    }
    return nullptr;
}

int option_instrument::set_option(const QString &name, const QString &value)
{
    if (name == QLatin1String("Reset")) {
        if (value != QLatin1String("All"))
            return XRITE_ERR_BAD_VALUE;
        reset();
        return XRITE_SUCCESS;
    }
    QString identity;
    QMutexLocker lock(&m_mutex);
    const option_rule *option = rule(name);
    if (!option) {
        lock.unlock();
        return get_option(name, &identity) == XRITE_SUCCESS ? XRITE_ERR_READ_ONLY : XRITE_ERR_UNKNOWN_OPTION;
    }
    const QStringList allowed = name == QLatin1String(kMeasurementMode) ? measurementModes() : option->allowed;
    if (!allowed.isEmpty() && !allowed.contains(value))
        return XRITE_ERR_BAD_VALUE;
    const QJsonArray refused = family_instrument().config().family.value(QLatin1String("refused_options")).toArray();
    if (refused.contains(QJsonValue(name)))
        return XRITE_ERR_BAD_VALUE;
    m_values.insert(name, value);
    return XRITE_SUCCESS;
}

int option_instrument::get_option(const QString &name, QString *value) const
{
    const sim_instrument::instrument_config config = family_instrument().config();
    QMutexLocker lock(&m_mutex);
    if (m_values.contains(name)) {
        *value = m_values.value(name);
        return XRITE_SUCCESS;
    }
    if (name == QLatin1String("SerialNumber")) {
        *value = config.serial;
        return XRITE_SUCCESS;
    }
    const QJsonValue identity = config.family.value(name);
    if (identity.isString()) {
        *value = identity.toString();
        return XRITE_SUCCESS;
    }
    if (name == QLatin1String(kExpiry)) {
        const bool calibrated = m_calibratedModes.contains(m_values.value(QLatin1String(kMeasurementMode)));
        const int seconds = config.family.value(QLatin1String("calibration_seconds")).toInt(kCalibrationSeconds);
        *value = QString::number(calibrated ? seconds : 0);
        return XRITE_SUCCESS;
    }
    return XRITE_ERR_UNKNOWN_OPTION;
}

int option_instrument::calibrate()
{
    QMutexLocker lock(&m_mutex);
    if (!currentMode())
        return XRITE_ERR_FAILED;
    m_calibratedModes.insert(m_values.value(QLatin1String(kMeasurementMode)));
    return XRITE_SUCCESS;
}

int option_instrument::trigger()
{
    mode_rule mode{nullptr, measure_kind::none, false};
    {
        QMutexLocker lock(&m_mutex);
        m_hasReading = false;
        const mode_rule *current = currentMode();
        if (!current || current->kind == measure_kind::none)
            return XRITE_ERR_FAILED;
        if (current->needsCalibration && !m_calibratedModes.contains(QLatin1String(current->name)))
            return XRITE_ERR_NOT_CALIBRATED;
        mode = *current;
    }
    float xyz[3] = {0.0f, 0.0f, 0.0f};
    sim_instrument::simulated_instrument &instrument = family_instrument();
    if (mode.kind == measure_kind::emission) {
        const sim_instrument::tristimulus light = instrument.measure_emission();
        xyz[0] = float(light.X);
        xyz[1] = float(light.Y);
        xyz[2] = float(light.Z);
    } else {
        const double lux = instrument.measure_ambient_lux();
        const sim_instrument::instrument_config config = instrument.config();
        ambient_tristimulus(lux, config.ambientX, config.ambientY, xyz);
    }
    QMutexLocker lock(&m_mutex);
    std::copy(xyz, xyz + 3, m_reading);
    m_hasReading = true;
    return XRITE_SUCCESS;
}

int option_instrument::read(float xyz[XRITE_TRISTIMULUS_COUNT], int index, QJsonArray *out) const
{
    if (!xyz || index != 0)
        return XRITE_ERR_BAD_VALUE;
    QMutexLocker lock(&m_mutex);
    if (!m_hasReading)
        return XRITE_ERR_NO_MEASUREMENT;
    std::copy(m_reading, m_reading + 3, xyz);
    *out = QJsonArray{double(xyz[0]), double(xyz[1]), double(xyz[2])};
    return XRITE_SUCCESS;
}

void option_instrument::note_result(int result)
{
    if (result >= 0)
        return;
    QMutexLocker lock(&m_mutex);
    m_lastError = result;
}

int option_instrument::last_error() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastError;
}

QString option_instrument::error_text(int result)
{
    for (const error_text_row &row : kErrorTexts) {
        if (row.result == result)
            return QLatin1String(row.text);
    }
    return QStringLiteral("Error %1").arg(result);
}

int attached()
{
    return family_instrument().device_count() > 0 ? XRITE_SUCCESS : XRITE_ERR_NO_DEVICE;
}

option_instrument &family_options()
{
    static option_instrument options(kFamilyRules);
    static const bool following = (follow_instrument(options), true);
    Q_UNUSED(following);
    return options;
}

} // namespace sim_xrite
