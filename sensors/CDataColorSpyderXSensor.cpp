#include "sensors/CDataColorSpyderXSensor.h"

#include "display_protocol/wait_service.h"
#include "sensors/sensor_status.h"

namespace {

constexpr quint16 kVendorId = 0x085C;
constexpr quint16 kProductId = 0x0A00;
constexpr qint64 kAmbientSettleMs = 1000;

struct calibration_row
{
    int displayType;
    int32_t entry;
};

const calibration_row kCalibrations[] = {{1, 0}, {2, 2}, {4, 3}};
// Display type 3 and every type not listed.
constexpr int32_t kGeneralCalibration = 1;

} // namespace

CDataColorSpyderXSensor::CDataColorSpyderXSensor(QObject *parent) : CSensor(parent)
{
    if (m_library.load())
        m_open = Open() == sensor_status::kOk;
}

CDataColorSpyderXSensor::~CDataColorSpyderXSensor()
{
    if (m_library.isLoaded() && m_model == kSpyderX)
        m_library.Shutdown();
}

int CDataColorSpyderXSensor::Open()
{
    m_model = kNoModel;
    m_info.fill(0);
    if (!m_library.isLoaded())
        return sensor_status::kWrongMode;
    if (!datacolor_spyder::started(m_library.Startup(m_info.data(), DCX_MODEL_SPYDERX), [this] { return detailedError(); }))
        return sensor_status::kWrongMode;
    m_model = kSpyderX;
    AfterOpen();
    return sensor_status::kOk;
}

void CDataColorSpyderXSensor::restart()
{
    m_open = Open() == sensor_status::kOk;
}

int32_t CDataColorSpyderXSensor::detailedError()
{
    int32_t lowLevel = 0;
    return m_library.GetDetailedError(&lowLevel);
}

QString CDataColorSpyderXSensor::GetName()
{
    return m_model == kSpyderX ? QStringLiteral("Datacolor SpyderX") : QStringLiteral("None");
}

QString CDataColorSpyderXSensor::GetShortName()
{
    return m_model == kSpyderX ? QStringLiteral("SpyderX") : QStringLiteral("None");
}

QString CDataColorSpyderXSensor::GetSerialNumber()
{
    return m_model == kSpyderX ? datacolor_spyder::serial_number(m_info) : QString();
}

int CDataColorSpyderXSensor::Calibrate()
{
    m_calibrated = true;
    return sensor_status::kOk;
}

int CDataColorSpyderXSensor::MeasureXYZ(unsigned)
{
    if (!m_open)
        return sensor_status::kNotOpen;
    ClearReading();
    m_repeatCount = 1;
    int32_t X = 0, Y = 0, Z = 0;
    if (m_library.GetXYZ(&X, &Y, &Z) != DCX_SUCCESS) {
        detailedError();
        return sensor_status::kFailed;
    }
    StoreReading(datacolor_spyder::without_negatives(datacolor_spyder::from_thousandths(X, Y, Z)));
    return sensor_status::kOk;
}

int CDataColorSpyderXSensor::MeasureAmbient()
{
    if (m_model == kNoModel)
        return sensor_status::kWrongMode;
    if (!m_open)
        return sensor_status::kNotOpen;
    ClearReading();
    // The first level wakes the ambient sensor; the second, after it
    // settled, is the reading.
    uint16_t level = 0;
    if (m_library.ReadAmbientLightLevel(&level) != DCX_SUCCESS)
        return sensor_status::kFailed;
    wait_service::sleep_ms(kAmbientSettleMs);
    if (m_library.ReadAmbientLightLevel(&level) != DCX_SUCCESS)
        return sensor_status::kFailed;
    StoreReading(CCIEXYZ(0.0, level, 0.0));
    return sensor_status::kOk;
}

bool CDataColorSpyderXSensor::useCalibration(int displayType)
{
    int32_t entry = kGeneralCalibration;
    for (const calibration_row &row : kCalibrations) {
        if (row.displayType == displayType)
            entry = row.entry;
    }
    return m_library.UseCalibration(entry) == DCX_SUCCESS;
}

int CDataColorSpyderXSensor::SetDisplayType(int flag, int displayType)
{
    m_displayFlag = flag;
    if (m_model == kNoModel)
        restart();
    if (m_model == kNoModel)
        return sensor_status::kFailed;
    if (useCalibration(displayType))
        return sensor_status::kOk;
    detailedError();
    restart();
    if (m_model == kNoModel)
        return sensor_status::kFailed;
    return useCalibration(displayType) ? sensor_status::kOk : sensor_status::kFailed;
}

bool CDataColorSpyderXSensor::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    const bool known = m_model == kSpyderX;
    vendorId = known ? kVendorId : 0;
    productId = known ? kProductId : 0;
    return known;
}

int CDataColorSpyderXSensor::GetPlacementInfo(SensorPlacementInfo &info)
{
    datacolor_spyder::fill_placement(info, QStringLiteral("spyderX"));
    return sensor_status::kOk;
}
