#include "sensors/CXRiteOptionSensor.h"

#include "display_protocol/wait_service.h"
#include "sensors/sensor_status.h"

#include <cmath>

namespace {

// Far longer than any option text; a longer one is not believed.
constexpr uint kMaximumTextLength = 4096;

} // namespace

int CXRiteOptionSensor::applyOptions(const option_settings &settings)
{
    for (const option_setting &setting : settings) {
        if (setLibraryOption(setting.name, setting.value) != 0)
            return setting.failure;
    }
    return sensor_status::kOk;
}

int CXRiteOptionSensor::applyMode(int mode, const std::vector<mode_options> &modes)
{
    for (const mode_options &options : modes) {
        if (options.mode == mode)
            return applyOptions(options.settings);
    }
    return sensor_status::kWrongMode;
}

int CXRiteOptionSensor::changeMode(int mode, bool bound, const std::vector<mode_options> &modes)
{
    if (mode != m_measurementMode) {
        if (!bound)
            return sensor_status::kWrongMode;
        const int status = applyMode(mode, modes);
        if (status != sensor_status::kOk)
            return status;
    }
    m_measurementMode = mode;
    return sensor_status::kOk;
}

int CXRiteOptionSensor::readOnce(CCIEXYZ &reading, qint64 pauseMs)
{
    if (triggerLibraryMeasurement() != 0)
        return sensor_status::kFailed;
    if (pauseMs > 0)
        wait_service::sleep_ms(pauseMs);
    float xyz[3] = {0.0f, 0.0f, 0.0f};
    if (readLibraryTriStimulus(xyz) != 0)
        return sensor_status::kFailed;
    if (!std::isfinite(xyz[0]) || !std::isfinite(xyz[1]) || !std::isfinite(xyz[2]))
        return sensor_status::kFailed;
    reading = CCIEXYZ(xyz[0], xyz[1], xyz[2]);
    return sensor_status::kOk;
}

int CXRiteOptionSensor::measureEmission(unsigned count, qint64 pauseMs)
{
    if (!m_open)
        return sensor_status::kNotOpen;
    ClearReading();
    m_repeatCount = count == 0 ? 1 : count;
    if (m_measurementMode != kModeEmission)
        return sensor_status::kWrongMode;
    return MeasureAveraged(count, [this, pauseMs](CCIEXYZ &reading) { return readOnce(reading, pauseMs); });
}

int CXRiteOptionSensor::MeasureAmbient()
{
    if (!m_open)
        return sensor_status::kNotOpen;
    ClearReading();
    if (m_measurementMode != kModeAmbient)
        return sensor_status::kWrongMode;
    CCIEXYZ reading;
    const int status = readOnce(reading, 0);
    if (status != sensor_status::kOk)
        return status;
    StoreReading(reading);
    return sensor_status::kOk;
}

int CXRiteOptionSensor::SetDisplayType(int flag, int)
{
    m_displayFlag = flag;
    return sensor_status::kOk;
}

QString CXRiteOptionSensor::libraryText(const char *text)
{
    if (!text)
        return QString();
    return QString::fromLatin1(text, int(qstrnlen(text, kMaximumTextLength)));
}
