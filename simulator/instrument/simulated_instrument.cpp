#include "simulator/instrument/simulated_instrument.h"

#include "display_protocol/wait_service.h"
#include "simulator/light/light_channel.h"

#include <QFile>
#include <QJsonDocument>
#include <QMutexLocker>

#include <cmath>

namespace sim_instrument {
namespace {

const char kConfigVariable[] = "TESSALINE_SIM_INSTRUMENT_CONFIG";
// A long manual run keeps only the newest calls.
constexpr int kMaximumLogEntries = 100000;

bool needs_device(call_role role)
{
    return role != call_role::session && role != call_role::library && role != call_role::enumerate;
}

} // namespace

simulated_instrument::simulated_instrument(const QJsonObject &familyDefaults) : m_defaults(familyDefaults)
{
    reset();
}

bool simulated_instrument::configure(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("not a JSON object");
        return false;
    }
    {
        QMutexLocker lock(&m_mutex);
        if (!applyConfig(document.object(), error))
            return false;
    }
    notifyChange(false);
    return true;
}

bool simulated_instrument::applyConfig(const QJsonObject &json, QString *error)
{
    if (!merge_config(m_config, json, error))
        return false;
    if (json.contains(QLatin1String("noise_seed")))
        m_model.reseed(m_config.noiseSeed);
    if (json.contains(QLatin1String("integration_seconds")))
        m_integrationSeconds = m_config.integrationSeconds;
    if (json.contains(QLatin1String("light_folder")) && !m_config.lightFolder.isEmpty())
        light_channel::set_channel_folder(m_config.lightFolder);
    if (json.contains(QLatin1String("time_scale")) && m_config.timeScale >= 0.0)
        wait_service::set_time_scale(m_config.timeScale);
    return true;
}

void simulated_instrument::applyEnvironmentConfig()
{
    const QByteArray path = qgetenv(kConfigVariable);
    if (path.isEmpty())
        return;
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(1 << 20));
    QString error;
    if (document.isObject())
        applyConfig(document.object(), &error);
}

void simulated_instrument::reset()
{
    QMutexLocker lock(&m_mutex);
    m_config = instrument_config();
    QString error;
    applyConfig(m_defaults, &error);
    m_model.reseed(m_config.noiseSeed);
    m_integrationSeconds = m_config.integrationSeconds;
    applyEnvironmentConfig();
    m_log = QJsonArray();
    m_initialised = false;
    m_deviceOpen = false;
    m_lost = false;
    m_lostCode = 0;
    m_foundAgain = true;
    lock.unlock();
    notifyChange(true);
}

void simulated_instrument::set_change_listener(change_listener listener)
{
    QMutexLocker lock(&m_mutex);
    m_changeListener = std::move(listener);
}

void simulated_instrument::notifyChange(bool reset)
{
    change_listener listener;
    {
        QMutexLocker lock(&m_mutex);
        listener = m_changeListener;
    }
    if (listener)
        listener(reset);
}

QByteArray simulated_instrument::call_log_json() const
{
    QMutexLocker lock(&m_mutex);
    return QJsonDocument(m_log).toJson(QJsonDocument::Compact);
}

void simulated_instrument::clear_call_log()
{
    QMutexLocker lock(&m_mutex);
    m_log = QJsonArray();
}

int simulated_instrument::begin_call(const QString &name, call_role role)
{
    QMutexLocker lock(&m_mutex);
    if (m_lost) {
        if (needs_device(role))
            return m_lostCode;
        if (role == call_role::session && m_foundAgain)
            m_lost = false;
    }
    for (call_failure &failure : m_config.callFailures) {
        if (failure.call != name || failure.times == 0)
            continue;
        if (failure.times > 0)
            --failure.times;
        return failure.code;
    }
    if ((role == call_role::open && m_config.openFails) || (role == call_role::calibrate && m_config.calibrationFails))
        return m_config.failureCode;
    if (role == call_role::measure && m_config.measureFailures > 0) {
        --m_config.measureFailures;
        return m_config.failureCode;
    }
    device_loss &loss = m_config.loss;
    if (loss.armed && needs_device(role) && (loss.call.isEmpty() || loss.call == name)) {
        if (loss.after > 0) {
            --loss.after;
            return 0;
        }
        loss.armed = false;
        m_lost = true;
        m_lostCode = loss.code;
        m_foundAgain = loss.foundAgain;
        m_deviceOpen = false;
        return m_lostCode;
    }
    return 0;
}

void simulated_instrument::log_call(const QString &name, const QJsonArray &args, int result, const QJsonArray &out)
{
    QJsonObject entry{{QStringLiteral("call"), name}, {QStringLiteral("args"), args}, {QStringLiteral("result"), result}};
    if (!out.isEmpty())
        entry.insert(QStringLiteral("out"), out);
    QMutexLocker lock(&m_mutex);
    if (m_log.size() >= kMaximumLogEntries)
        m_log.removeFirst();
    m_log.append(entry);
}

void simulated_instrument::initialise()
{
    QMutexLocker lock(&m_mutex);
    m_initialised = true;
}

void simulated_instrument::shut_down()
{
    QMutexLocker lock(&m_mutex);
    m_initialised = false;
    m_deviceOpen = false;
}

bool simulated_instrument::initialised() const
{
    QMutexLocker lock(&m_mutex);
    return m_initialised;
}

int simulated_instrument::device_count() const
{
    QMutexLocker lock(&m_mutex);
    return m_lost ? 0 : m_config.deviceCount;
}

void simulated_instrument::set_device_open(bool open)
{
    QMutexLocker lock(&m_mutex);
    m_deviceOpen = open;
}

bool simulated_instrument::device_open() const
{
    QMutexLocker lock(&m_mutex);
    return m_deviceOpen;
}

instrument_config simulated_instrument::config() const
{
    QMutexLocker lock(&m_mutex);
    return m_config;
}

int simulated_instrument::selector() const
{
    QMutexLocker lock(&m_mutex);
    return selector_position(m_config.selector);
}

void simulated_instrument::set_integration_seconds(double seconds)
{
    QMutexLocker lock(&m_mutex);
    m_integrationSeconds = seconds;
}

double simulated_instrument::integration_seconds() const
{
    QMutexLocker lock(&m_mutex);
    return m_integrationSeconds;
}

void simulated_instrument::waitIntegrationTime() const
{
    const double seconds = integration_seconds();
    if (std::isfinite(seconds) && seconds > 0.0 && seconds < 3600.0)
        wait_service::sleep_ms(qint64(std::llround(seconds * 1000.0)));
}

tristimulus simulated_instrument::measure_emission()
{
    waitIntegrationTime();
    instrument_config current;
    QString placed;
    {
        QMutexLocker lock(&m_mutex);
        current = m_config;
        placed = m_config.placements.isEmpty() ? m_config.display : m_config.placements.takeFirst();
    }
    tristimulus light;
    if (!current.covered) {
        const QString display = placed.isEmpty() ? light_channel::active_display() : placed;
        light_channel::light_reading published;
        if (!display.isEmpty() && light_channel::read_light(display, &published))
            light = tristimulus{published.X, published.Y, published.Z};
        light.X += current.strayLight.X;
        light.Y += current.strayLight.Y;
        light.Z += current.strayLight.Z;
    }
    QMutexLocker lock(&m_mutex);
    return m_model.emission(light, m_config);
}

double simulated_instrument::measure_ambient_lux()
{
    waitIntegrationTime();
    QMutexLocker lock(&m_mutex);
    return m_model.ambient_lux(m_config.covered ? 0.0 : m_config.ambientLux, m_config);
}

} // namespace sim_instrument
