#include "sensors/CXRiteHubble.h"

#include "sensors/low_light_averaging.h"
#include "sensors/sensor_status.h"

#include <cmath>

namespace {

constexpr double kIntegrationSeconds = 0.5;
// Far above any real instrument's list: a walk of the names that has not
// ended by then never will.
constexpr int32_t kMaximumCalibrations = 1024;
constexpr int32_t kFirstName = -1;

const QString kName = QStringLiteral("X-Rite Hubble");

} // namespace

CXRiteHubble::CXRiteHubble(QObject *parent) : CSensor(parent)
{
    if (m_library.load())
        m_open = Open() == sensor_status::kOk;
}

CXRiteHubble::~CXRiteHubble() = default;

int CXRiteHubble::Open()
{
    if (!m_library.isLoaded() || !openDevice())
        return sensor_status::kNotOpen;
    // Readings are taken in cd/m²; in any other unit they would be wrong.
    if (m_library.SetLuminanceUnits(m_handle, GMB_SPOT_UNITS_CANDELA) != GMB_SPOT_SUCCESS)
        return sensor_status::kFailed;
    if (!readCalibrationNames())
        return sensor_status::kNotOpen;
    if (m_library.SetIntegrationTime(m_handle, kIntegrationSeconds) != GMB_SPOT_SUCCESS)
        return sensor_status::kFailed;
    return sensor_status::kOk;
}

bool CXRiteHubble::openDevice()
{
    m_handle = nullptr;
    m_serialNumber.clear();
    if (m_library.Initialize() != GMB_SPOT_SUCCESS || m_library.GetNumberOfDevices() <= 0)
        return false;
    gmbSpotHandle handle = nullptr;
    uint32_t serial = 0;
    if (m_library.GetDeviceHandle(0, &handle) != GMB_SPOT_SUCCESS || !handle
        || m_library.DeviceOpen(handle) != GMB_SPOT_SUCCESS
        || m_library.GetSerialNumber(handle, &serial) != GMB_SPOT_SUCCESS)
        return false;
    m_handle = handle;
    m_serialNumber = QString::number(serial);
    return true;
}

// The names are only walked, as the library expects before measuring. Each
// call must move on to a later name: a library that hands back the same
// index (or one from before) would otherwise keep the walk going forever.
bool CXRiteHubble::readCalibrationNames()
{
    int32_t count = 0;
    if (m_library.GetNumberOfCalibrations(m_handle, &count) != GMB_SPOT_SUCCESS)
        return false;
    if (count < 0)
        return true;
    const int32_t names = qMin(count, kMaximumCalibrations);
    int32_t index = kFirstName;
    for (int32_t call = 0; call <= names; ++call) {
        char name[GMB_SPOT_NAME_SIZE + 1] = {};
        const int32_t asked = index;
        if (m_library.GetCalibrationName(m_handle, &index, name, GMB_SPOT_NAME_SIZE) != GMB_SPOT_SUCCESS)
            return false;
        if (index == kFirstName || index >= count || index <= asked)
            break;
    }
    return true;
}

QString CXRiteHubble::GetName()
{
    return kName;
}

QString CXRiteHubble::GetShortName()
{
    return kName;
}

int CXRiteHubble::MeasureAmbient()
{
    ClearReading();
    return sensor_status::kOk;
}

int CXRiteHubble::Calibrate()
{
    m_calibrated = false;
    if (!ready())
        return sensor_status::kNotOpen;
    if (m_library.MeasureDarkCurrent(m_handle) != GMB_SPOT_SUCCESS)
        return sensor_status::kCalibrationFailed;
    m_calibrated = true;
    return sensor_status::kOk;
}

int CXRiteHubble::MeasureXYZ(unsigned)
{
    if (!ready())
        return sensor_status::kNotOpen;
    ClearReading();
    // Averaging only steadies dim readings: a refusal leaves the reading valid.
    m_library.SetLowLightAveraging(m_handle, low_light_averaging::enabled() ? 1 : 0);
    double Y = 0.0, x = 0.0, y = 0.0;
    if (m_library.MeasureYxy(m_handle, &Y, &x, &y) != GMB_SPOT_SUCCESS)
        return sensor_status::kFailed;
    // A reading without a usable value is no reading.
    if (!std::isfinite(Y) || !std::isfinite(x) || !std::isfinite(y))
        return sensor_status::kFailed;
    StoreReading(CCIEYxy(Y, x, y).ToXYZ());
    return sensor_status::kOk;
}

int CXRiteHubble::SetDisplayType(int flag, int)
{
    m_displayFlag = flag;
    return sensor_status::kOk;
}

int CXRiteHubble::GetPlacementInfo(SensorPlacementInfo &info)
{
    info.calibrationMessage = tr("Place the lens cap on the device so no light strikes the sensor.");
    return sensor_status::kOk;
}
