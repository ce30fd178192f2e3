#include "sensors/CEyeOneDisplay3Sensor.h"

#include "sensors/sensor_status.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cmath>
#include <cstring>

namespace {

constexpr int kMinimumCalibrations = 3;
// Far above any real instrument's list; a larger count is not believed.
constexpr int kMaximumCalibrations = 4096;
constexpr int kMeasureTries = 3;
constexpr int kLibraryEmissionMode = 1;
constexpr double kDefaultSeconds = 1.0;
constexpr quint16 kVendorId = 0x0765;
constexpr quint16 kProductId = 0x5020;

// The calibration entry, timing and library mode for each kind of display.
struct calibration_choice
{
    int displayType; // 0 for the row chosen by flag 0
    quint16 key;
    double seconds;
    int mode;
};

const calibration_choice kFlagZeroChoice = {0, 1, 1.0, 1};
const calibration_choice kDisplayTypeChoices[] = {
    {1, 6, 1.0, 1},
    {2, 12, 3.0, 7},
    {3, 9, 3.0, 7},
    {4, 64, 3.0, 1},
};
const calibration_choice kOtherTypeChoice = {-1, 3, 1.0, 1};

const calibration_choice &choice_for(int flag, int displayType)
{
    if (flag == 0)
        return kFlagZeroChoice;
    for (const calibration_choice &choice : kDisplayTypeChoices) {
        if (choice.displayType == displayType)
            return choice;
    }
    return kOtherTypeChoice;
}

bool is_lost(int result)
{
    return result == I1D3_ERR_USB_DEVICE_LOST || result == I1D3_ERR_DEVICE_NOT_CONNECTED;
}

// Firmware texts read "v2.4.0": later than 2.3 is the newer firmware. A
// missing part counts as 0.
bool is_newer_firmware(const QString &versionText)
{
    const QStringList parts = versionText.mid(1).split(QLatin1Char('.'));
    const int major = parts.value(0).toInt();
    const int minor = parts.value(1).toInt();
    return major > 2 || (major == 2 && minor > 3);
}

// A text from a fixed array of the library, which may lack its terminator.
QString library_text(const char *text, int size)
{
    return QString::fromLatin1(text, int(qstrnlen(text, uint(size))));
}

bool all_finite(double a, double b, double c)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

struct names
{
    const char *name;
    const char *shortName;
};

const names kStandardNames = {"X-Rite i1Display Pro", "i1DisplayPro"};
const names kNewerBrandedNames = {"Varkel LYRASENSOR3", "LYRASENSOR3"};
const names kBrandedNames = {"Varkel Halvex Pro", "Halvex..Pro"};

const names &names_for(bool makerBranded, bool newerFirmware)
{
    if (!makerBranded)
        return kStandardNames;
    return newerFirmware ? kNewerBrandedNames : kBrandedNames;
}

} // namespace

CEyeOneDisplay3Sensor::CEyeOneDisplay3Sensor(QObject *parent) : CSensor(parent)
{
    if (!m_library.load())
        return;
    m_open = m_library.Initialize() == I1D3_SUCCESS && Open() == sensor_status::kOk;
}

CEyeOneDisplay3Sensor::~CEyeOneDisplay3Sensor()
{
    if (!m_library.isLoaded())
        return;
    closeDevice();
    m_library.Destroy();
}

template <typename Call> int CEyeOneDisplay3Sensor::callDevice(Call call)
{
    int result = call();
    if (is_lost(result) && !m_reopening && Reopen())
        result = call();
    m_lastResult = result;
    return result;
}

template <typename Call> int CEyeOneDisplay3Sensor::callWithRetries(Call call)
{
    int result = I1D3_ERR_FAILED;
    for (int attempt = 0; attempt < kMeasureTries && m_open; ++attempt) {
        result = callDevice(call);
        if (result == I1D3_SUCCESS)
            return result;
    }
    return result;
}

int CEyeOneDisplay3Sensor::Open()
{
    m_handle = nullptr;
    m_deviceOpen = false;
    m_makerBranded = false;
    m_newerFirmware = false;
    if (m_library.GetNumberOfDevices() <= 0)
        return sensor_status::kNotOpen;
    m_lastResult = m_library.GetDeviceHandle(0, &m_handle);
    if (m_lastResult != I1D3_SUCCESS || !m_handle) {
        m_handle = nullptr;
        return sensor_status::kFailed;
    }
    int result = openDevice();
    if (result == sensor_status::kOk)
        result = configureSession();
    if (result != sensor_status::kOk) {
        closeDevice();
        m_handle = nullptr;
    }
    return result;
}

int CEyeOneDisplay3Sensor::openDevice()
{
    int32_t makerBranded = 0;
    m_lastResult = m_library.DeviceOpen(m_handle, &makerBranded);
    if (m_lastResult != I1D3_SUCCESS)
        return sensor_status::kFailed;
    // The session is the instrument's from here on, even when the rest of
    // the opening fails: it must be closed again.
    m_deviceOpen = true;
    m_makerBranded = makerBranded != 0;
    if (!m_makerBranded)
        return sensor_status::kOk;
    i1d3DeviceInfo info;
    std::memset(&info, 0, sizeof info);
    m_lastResult = m_library.GetDeviceInfo(m_handle, &info);
    if (m_lastResult != I1D3_SUCCESS)
        return sensor_status::kFailed;
    m_newerFirmware = is_newer_firmware(library_text(info.firmwareVersion, I1D3_TEXT_SIZE));
    return sensor_status::kOk;
}

int CEyeOneDisplay3Sensor::configureSession()
{
    const QByteArray supportPath = QFile::encodeName(QDir::toNativeSeparators(program_folder()));
    m_lastResult = m_library.SetSupportFilePath(supportPath.constData());
    if (m_lastResult != I1D3_SUCCESS)
        return sensor_status::kNoCalibrationEntry;
    int32_t count = 0;
    const i1d3CalibrationEntry *entries = nullptr;
    m_lastResult = m_library.GetCalibrationList(m_handle, &count, &entries);
    if (m_lastResult != I1D3_SUCCESS || count < kMinimumCalibrations || count > kMaximumCalibrations || !entries)
        return sensor_status::kNoCalibrationEntry;
    m_lastResult = m_library.SetMeasurementMode(m_handle, kLibraryEmissionMode);
    if (m_lastResult != I1D3_SUCCESS)
        return sensor_status::kFailed;
    m_lastResult = m_library.SetIntegrationTime(m_handle, kDefaultSeconds);
    if (m_lastResult == I1D3_SUCCESS)
        m_lastResult = m_library.SetTargetLCDTime(m_handle, kDefaultSeconds);
    if (m_lastResult != I1D3_SUCCESS)
        return sensor_status::kFailed;
    led_settings standby;
    standby.offSeconds = 0.2;
    standby.onSeconds = 1.0;
    standby.count = 1;
    sendLed(standby);
    return sensor_status::kOk;
}

void CEyeOneDisplay3Sensor::closeDevice()
{
    if (m_deviceOpen)
        m_library.DeviceClose(m_handle);
    m_deviceOpen = false;
}

bool CEyeOneDisplay3Sensor::Reopen()
{
    m_reopening = true;
    closeDevice();
    m_library.Destroy();
    m_open = false;
    m_handle = nullptr;
    m_open = m_library.Initialize() == I1D3_SUCCESS && Open() == sensor_status::kOk;
    // A fresh session measures with the default calibration: the display's
    // own must be chosen again, or every later reading would be off.
    if (m_open && m_displayTypeChosen)
        m_open = SetDisplayType(m_displayFlag, m_displayType) == sensor_status::kOk;
    m_reopening = false;
    return m_open;
}

int CEyeOneDisplay3Sensor::sendLed(const led_settings &settings)
{
    m_led = settings;
    m_lastResult = m_library.SetLEDControl(m_handle, settings.mode, settings.offSeconds, settings.onSeconds,
                                           settings.count);
    return m_lastResult;
}

int CEyeOneDisplay3Sensor::GetMeasurementSelectorPosition()
{
    if (!m_open)
        return sensor_status::kNotOpen;
    uint8_t position = 0;
    if (callDevice([&] { return m_library.ReadDiffuserPosition(m_handle, &position); }) != I1D3_SUCCESS)
        return sensor_status::kFailed;
    return position != 0 ? kSelectorAmbient : kSelectorDisplay;
}

QString CEyeOneDisplay3Sensor::GetName()
{
    if (!m_handle)
        return QString();
    return QLatin1String(names_for(m_makerBranded, m_newerFirmware).name);
}

QString CEyeOneDisplay3Sensor::GetShortName()
{
    if (!m_handle)
        return QString();
    return QLatin1String(names_for(m_makerBranded, m_newerFirmware).shortName);
}

QString CEyeOneDisplay3Sensor::GetSerialNumber()
{
    if (!m_open || !m_handle)
        return QString();
    char text[I1D3_TEXT_SIZE] = {};
    if (callDevice([&] { return m_library.GetSerialNumber(m_handle, text, I1D3_TEXT_SIZE); }) != I1D3_SUCCESS)
        return QString();
    return library_text(text, I1D3_TEXT_SIZE);
}

int CEyeOneDisplay3Sensor::Calibrate()
{
    m_calibrated = true;
    return sensor_status::kOk;
}

int CEyeOneDisplay3Sensor::readCalibrationList(int *count, const i1d3CalibrationEntry **entries)
{
    int32_t listCount = 0;
    const i1d3CalibrationEntry *list = nullptr;
    if (callDevice([&] { return m_library.GetCalibrationList(m_handle, &listCount, &list); }) != I1D3_SUCCESS)
        return sensor_status::kFailed;
    if (listCount < 0 || listCount > kMaximumCalibrations || (listCount > 0 && !list))
        return sensor_status::kFailed;
    *count = listCount;
    *entries = list;
    return sensor_status::kOk;
}

int CEyeOneDisplay3Sensor::SetDisplayType(int flag, int displayType)
{
    const int status = applyDisplayType(flag, displayType);
    m_displayTypeChosen = status == sensor_status::kOk;
    m_displayType = displayType;
    return status;
}

int CEyeOneDisplay3Sensor::applyDisplayType(int flag, int displayType)
{
    m_displayFlag = flag;
    if (!m_open)
        return sensor_status::kNotOpen;
    int count = 0;
    const i1d3CalibrationEntry *entries = nullptr;
    if (readCalibrationList(&count, &entries) != sensor_status::kOk)
        return sensor_status::kFailed;
    const calibration_choice &choice = choice_for(flag, displayType);
    const i1d3CalibrationEntry *chosen = nullptr;
    for (int i = 0; i < count; ++i) {
        if (entries[i].key == choice.key)
            chosen = &entries[i];
    }
    if (!chosen)
        return sensor_status::kNoCalibrationEntry;
    const i1d3CalibrationEntry entry = *chosen;
    if (callDevice([&] { return m_library.SetCalibration(m_handle, &entry); }) != I1D3_SUCCESS)
        return sensor_status::kFailed;
    if (callDevice([&] { return m_library.SetTargetLCDTime(m_handle, choice.seconds); }) != I1D3_SUCCESS
        || callDevice([&] { return m_library.SetIntegrationTime(m_handle, choice.seconds); }) != I1D3_SUCCESS)
        return sensor_status::kFailed;
    int result = I1D3_SUCCESS;
    if (m_library.SupportsAIOMode(m_handle) == I1D3_AIO_MODE) {
        result = callDevice([&] { return m_library.SetMeasurementMode(m_handle, I1D3_AIO_MODE); });
        if (result == I1D3_SUCCESS)
            result = callDevice([&] { return m_library.SetTargetLCDTime(m_handle, kDefaultSeconds); });
    } else {
        result = callDevice([&] { return m_library.SetMeasurementMode(m_handle, choice.mode); });
    }
    return result == I1D3_SUCCESS ? sensor_status::kOk : sensor_status::kFailed;
}

int CEyeOneDisplay3Sensor::MeasureXYZ(unsigned count)
{
    if (!m_open)
        return sensor_status::kNotOpen;
    const int position = GetMeasurementSelectorPosition();
    if (position < 0)
        return position;
    if (position != kSelectorDisplay)
        return sensor_status::kSelectorPosition;
    const int status = MeasureAveraged(count, [this](CCIEXYZ &reading) {
        double X = 0.0, Y = 0.0, Z = 0.0;
        const int result = callWithRetries([&] {
            const int measured = m_library.MeasureXYZ(m_handle, &X, &Y, &Z);
            return measured == I1D3_SUCCESS && !all_finite(X, Y, Z) ? I1D3_ERR_FAILED : measured;
        });
        if (result != I1D3_SUCCESS)
            return int(sensor_status::kFailed);
        reading = CCIEXYZ(X, Y, Z);
        return int(sensor_status::kOk);
    });
    if (status != sensor_status::kOk)
        return status;
    led_settings blink;
    blink.offSeconds = 0.2;
    blink.onSeconds = 0.2;
    blink.count = quint8(qMin(m_repeatCount, 255u));
    sendLed(blink);
    return sensor_status::kOk;
}

int CEyeOneDisplay3Sensor::MeasureAmbient()
{
    if (!m_open)
        return sensor_status::kNotOpen;
    const int position = GetMeasurementSelectorPosition();
    if (position < 0)
        return sensor_status::kFailed;
    if (position != kSelectorAmbient)
        return sensor_status::kSelectorPosition;
    ClearReading();
    double Y = 0.0, x = 0.0, y = 0.0;
    const int result = callWithRetries([&] {
        const int measured = m_library.MeasureAmbient(m_handle, &Y, &x, &y);
        return measured == I1D3_SUCCESS && !all_finite(Y, x, y) ? I1D3_ERR_FAILED : measured;
    });
    if (result != I1D3_SUCCESS)
        return sensor_status::kFailed;
    led_settings done;
    done.offSeconds = 0.2;
    done.onSeconds = 1.0;
    done.count = 1;
    sendLed(done);
    if (Y <= 0.0)
        x = y = 0.0;
    m_ambientY = Y;
    m_ambientX = qMax(x, 0.0);
    m_ambientSmallY = qMax(y, 0.0);
    StoreReading(CCIEYxy(m_ambientY, m_ambientX, m_ambientSmallY).ToXYZ());
    return sensor_status::kOk;
}

int CEyeOneDisplay3Sensor::SetLed(bool on)
{
    if (!m_open)
        return sensor_status::kNotOpen;
    led_settings settings;
    if (on) {
        settings.offSeconds = 0.25;
        settings.onSeconds = 0.25;
        settings.count = 255;
    }
    return callDevice([&] { return sendLed(settings); }) == I1D3_SUCCESS ? sensor_status::kOk
                                                                         : sensor_status::kFailed;
}

QImage CEyeOneDisplay3Sensor::GetMeasurementSelectorPixmap(int position)
{
    SensorPlacementInfo info;
    GetPlacementInfo(info);
    return QImage(position == kSelectorAmbient ? info.selectorToAmbientPicture : info.selectorToDisplayPicture);
}

bool CEyeOneDisplay3Sensor::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    vendorId = kVendorId;
    productId = kProductId;
    return true;
}

int CEyeOneDisplay3Sensor::GetPlacementInfo(SensorPlacementInfo &info)
{
    info.displayPicture = kSensorPictures + QStringLiteral("i1d3 on display.png");
    info.calibrationPicture = kSensorPictures + QStringLiteral("i1d3 placement ambient.png");
    info.ambientPicture = info.calibrationPicture;
    info.selectorToAmbientPicture = kSensorPictures + QStringLiteral("i1d3 rotate to ambient.png");
    info.selectorToDisplayPicture = kSensorPictures + QStringLiteral("i1d3 rotate to emissive.png");
    info.iconPicture = kSensorPictures + QStringLiteral("sensor icon_i1d3.png");
    info.ambientMessage = tr("Place the color sensor in the center of the display screen with the white "
                             "diffuser is pointing away from the display.");
    info.calibrationMessage.clear();
    info.selectorMessage = tr("Turn the sensor in the housing as shown so the lens is exposed.");
    info.beforeDisplayMessage = tr("<html>Turn the sensor housing as shown so the lens is exposed.<br><br>"
                                   "<center><img src=\":/images/Resources/i1d3 rotate to emissive.png\">"
                                   "</center></html>");
    info.beforeAmbientMessage =
        tr("<html>Turn the sensor housing as shown so the diffuser covers the lens.<br><br></html>");
    return 0;
}
