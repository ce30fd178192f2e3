#include "sensors/CEyeOneSensor.h"

#include "sensors/sensor_status.h"

namespace {

constexpr quint32 kOptionBufferSize = 256;
// The trigger starts the reading; the values are ready a moment later.
constexpr qint64 kReadingPauseMs = 50;
constexpr quint16 kVendorId = 0x0971;
constexpr quint16 kProductId = 0x2000;

const char kEmissionMode[] = "EmissionSpot";
const char kAmbientMode[] = "AmbientLightSpot";

// What the instrument is set to once opened; refused settings would leave
// it measuring in the wrong mode or colour space.
const std::vector<CXRiteOptionSensor::option_setting> kOpenSettings = {
    {"MeasurementMode", kEmissionMode, sensor_status::kFailed},
    {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kFailed},
    {"Colorimetric.Observer", "TwoDegree", sensor_status::kFailed},
    {"AdaptiveMeasurement", "1", sensor_status::kFailed},
};

const std::vector<CXRiteOptionSensor::mode_options> kModes = {
    {1,
     {{"MeasurementMode", kEmissionMode, sensor_status::kWrongMode},
      {"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
      {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode}}},
    {2,
     {{"MeasurementMode", kAmbientMode, sensor_status::kWrongMode},
      {"Colorimetric.Illumination", "Emission", sensor_status::kWrongMode},
      {"ColorSpaceDescription.Type", "CIEXYZ", sensor_status::kWrongMode}}},
};

// Read after every failed call, so the last error can be looked at in a
// debugger or a core file.
const char *const kErrorOptions[] = {"LastErrorText", "LastErrorNumber", "SDKVersion", "HWRevision"};

struct placement
{
    const char *displayPicture;
    const char *ambientPicture;
    const char *calibrationPicture;
    const char *iconPicture;
    const char *ambientMessage;
    const char *calibrationMessage;
};

const placement kI1Pro2Placement = {
    "i1pro2 on display.png",
    "i1pro2 ambient.png",
    "i1pro2 on desktop.png",
    "sensor icon_ionepro2.png",
    QT_TRANSLATE_NOOP("CEyeOneSensor", "Attach the Ambient Light Measuring Head and remove the cap. Direct the "
                                       "sensor away from the display.<br>Remember to remove the head once ambient "
                                       "measurements are complete."),
    QT_TRANSLATE_NOOP("CEyeOneSensor",
                      "Place the color sensor on the base holder as shown <u>with the white tile exposed</u>."),
};

const char kI1ProAmbientMessage[] =
    QT_TRANSLATE_NOOP("CEyeOneSensor", "Remove the cap and direct the sensor away from the display.");

// The first i1Pro is calibrated on its base for display measurements and
// with its diffuser and cap for ambient ones.
const placement kI1ProEmissionPlacement = {
    "ione pro measure.png",
    "ione pro ambient measure.png",
    "ione pro zerocal on base.png",
    "sensor icon_ionepro1.png",
    kI1ProAmbientMessage,
    QT_TRANSLATE_NOOP("CEyeOneSensor", "Place the color sensor on the base holder as shown."),
};

const placement kI1ProAmbientPlacement = {
    "ione pro measure.png",
    "ione pro ambient measure.png",
    "ione pro ambient cover.png",
    "sensor icon_ionepro1.png",
    kI1ProAmbientMessage,
    QT_TRANSLATE_NOOP("CEyeOneSensor", "Attach the ambient light diffuser and cap to the sensor as shown."),
};

} // namespace

CEyeOneSensor::CEyeOneSensor(QObject *parent)
    : CXRiteOptionSensor(parent), m_optionBuffer(int(kOptionBufferSize), '\0'), m_optionBufferSize(kOptionBufferSize)
{
    m_measurementMode = 0;
    if (!m_library.load())
        return;
    m_open = Open() == sensor_status::kOk;
}

CEyeOneSensor::~CEyeOneSensor()
{
    if (m_library.isLoaded())
        closeDevice();
}

int CEyeOneSensor::Open()
{
    closeDevice();
    const i1pro_handle *devices = nullptr;
    int32_t count = 0;
    if (m_library.GetDevices(&devices, &count) != XRITE_SUCCESS) {
        LogLastError();
        return sensor_status::kNotOpen;
    }
    if (count <= 0 || !devices || !devices[0])
        return sensor_status::kNotOpen;
    if (m_library.OpenDevice(devices[0]) != XRITE_SUCCESS) {
        LogLastError();
        return sensor_status::kNotOpen;
    }
    m_handle = devices[0];
    QString modes;
    if (!readOption("AvailableMeasurementModes", &modes)) {
        closeDevice();
        return sensor_status::kNotOpen;
    }
    m_ambientCapable = modes.contains(QLatin1String(kAmbientMode));
    if (!modes.contains(QLatin1String(kEmissionMode))) {
        closeDevice();
        if (m_library.SetGlobalOption("Reset", "All") != XRITE_SUCCESS)
            LogLastError();
        return sensor_status::kNotOpen;
    }
    QString revision;
    // Revisions after D are the i1Pro2.
    m_i1Pro2 = readOption("HWRevision", &revision) && !revision.isEmpty() && revision.at(0) > QLatin1Char('D');
    const int status = configureInstrument();
    if (status != sensor_status::kOk)
        closeDevice();
    return status;
}

int CEyeOneSensor::configureInstrument()
{
    const int status = applyOptions(kOpenSettings);
    if (status == sensor_status::kOk)
        m_measurementMode = kModeEmission;
    return status;
}

void CEyeOneSensor::closeDevice()
{
    if (!m_handle)
        return;
    if (m_library.CloseDevice(m_handle) != XRITE_SUCCESS)
        LogLastError();
    m_handle = nullptr;
}

template <typename Read> int CEyeOneSensor::readIntoBuffer(Read read, QString *text)
{
    m_optionBuffer.fill('\0', int(kOptionBufferSize));
    m_optionBufferSize = kOptionBufferSize;
    const int result = read(m_optionBuffer.data(), &m_optionBufferSize);
    if (result == XRITE_SUCCESS && text)
        *text = QString::fromLatin1(m_optionBuffer.constData(), int(qstrnlen(m_optionBuffer.constData(), kOptionBufferSize)));
    return result;
}

bool CEyeOneSensor::readOption(const char *name, QString *text)
{
    const int result = readIntoBuffer(
        [&](char *buffer, quint32 *size) { return m_library.GetOption(m_handle, name, buffer, size); }, text);
    if (result == XRITE_SUCCESS)
        return true;
    LogLastError();
    return false;
}

bool CEyeOneSensor::readGlobalOption(const char *name)
{
    return readIntoBuffer([&](char *buffer, quint32 *size) { return m_library.GetGlobalOption(name, buffer, size); },
                          nullptr)
           == XRITE_SUCCESS;
}

void CEyeOneSensor::LogLastError()
{
    for (const char *name : kErrorOptions)
        readGlobalOption(name);
}

QString CEyeOneSensor::GetOptionBuffer() const
{
    return QString::fromLatin1(m_optionBuffer.constData(), int(qstrnlen(m_optionBuffer.constData(), kOptionBufferSize)));
}

int CEyeOneSensor::setLibraryOption(const char *name, const char *value)
{
    const int result = m_library.SetOption(m_handle, name, value);
    if (result != XRITE_SUCCESS)
        LogLastError();
    return result;
}

int CEyeOneSensor::triggerLibraryMeasurement()
{
    const int result = m_library.TriggerMeasurement(m_handle);
    if (result != XRITE_SUCCESS)
        LogLastError();
    return result;
}

int CEyeOneSensor::readLibraryTriStimulus(float xyz[3])
{
    const int result = m_library.GetTriStimulus(m_handle, xyz, 0);
    if (result != XRITE_SUCCESS)
        LogLastError();
    return result;
}

bool CEyeOneSensor::IsCalibrated()
{
    QString seconds;
    if (!m_handle || !readOption("TimeUntilCalibrationExpire", &seconds))
        return false;
    bool converted = false;
    const int left = seconds.trimmed().toInt(&converted, 10);
    return converted && left > 0;
}

QString CEyeOneSensor::GetName()
{
    return QLatin1String(m_i1Pro2 ? "X-Rite i1Pro2" : "X-Rite EyeOne");
}

QString CEyeOneSensor::GetSerialNumber()
{
    QString serial;
    if (!m_open || !readOption("SerialNumber", &serial))
        return QString();
    return serial;
}

int CEyeOneSensor::SetMeasurementMode(int mode)
{
    return changeMode(mode, m_handle != nullptr, kModes);
}

int CEyeOneSensor::Calibrate()
{
    m_calibrated = false;
    if (!m_open)
        return sensor_status::kNotOpen;
    QString savedMode;
    if (!readOption("MeasurementMode", &savedMode))
        return sensor_status::kCalibrationFailed;
    QList<const char *> modes{kEmissionMode};
    if (m_ambientCapable)
        modes.append(kAmbientMode);
    bool calibrated = true;
    for (const char *mode : modes) {
        calibrated = setLibraryOption("MeasurementMode", mode) == XRITE_SUCCESS;
        if (calibrated && m_library.Calibrate(m_handle) != XRITE_SUCCESS) {
            LogLastError();
            calibrated = false;
        }
        if (!calibrated)
            break;
    }
    // Restored after a failure too: the library must measure in the mode
    // the driver believes it set.
    const bool restored = setLibraryOption("MeasurementMode", savedMode.toLatin1().constData()) == XRITE_SUCCESS;
    if (!calibrated || !restored)
        return sensor_status::kCalibrationFailed;
    m_calibrated = true;
    return sensor_status::kOk;
}

int CEyeOneSensor::MeasureXYZ(unsigned)
{
    return measureEmission(1, kReadingPauseMs);
}

bool CEyeOneSensor::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    vendorId = kVendorId;
    productId = kProductId;
    return true;
}

int CEyeOneSensor::GetPlacementInfo(SensorPlacementInfo &info)
{
    const placement &record = m_i1Pro2 ? kI1Pro2Placement
                              : m_measurementMode == kModeEmission ? kI1ProEmissionPlacement
                                                                   : kI1ProAmbientPlacement;
    info.displayPicture = kSensorPictures + QLatin1String(record.displayPicture);
    info.ambientPicture = kSensorPictures + QLatin1String(record.ambientPicture);
    info.calibrationPicture = kSensorPictures + QLatin1String(record.calibrationPicture);
    info.iconPicture = kSensorPictures + QLatin1String(record.iconPicture);
    info.ambientMessage = tr(record.ambientMessage);
    info.calibrationMessage = tr(record.calibrationMessage);
    return 0;
}
