#include "sensors/CColorvisionSpyder.h"

#include "display_protocol/wait_service.h"
#include "sensors/low_light_averaging.h"
#include "sensors/sensor_status.h"

#include <limits>

namespace {

constexpr double kForever = std::numeric_limits<double>::infinity();
constexpr quint16 kVendorId = 0x085C;
constexpr int kProbeTimeCode = 6;
constexpr qint64 kAmbientSettleMs = 1000;

struct model_row
{
    int model;
    int32_t startCode;
    const char *name;
    const char *shortName;
    quint16 productId;
    const char *pictureStem;
};

// In the order the start-up tries them.
const model_row kModels[] = {
    {CColorvisionSpyder::kSpyder4, DC_MODEL_SPYDER4, "Datacolor Spyder4", "Spyder4", 0x0400, "spyder3"},
    {CColorvisionSpyder::kSpyder3, DC_MODEL_SPYDER3, "Datacolor Spyder3", "Spyder3", 0x0300, "spyder3"},
    {CColorvisionSpyder::kSpyder5, DC_MODEL_SPYDER5, "Datacolor Spyder5", "Spyder5", 0x0500, "spyder5"},
};

const model_row *row_for(int model)
{
    for (const model_row &row : kModels) {
        if (row.model == model)
            return &row;
    }
    return nullptr;
}

// A time code for luminance below |belowY|.
struct time_code_row
{
    double belowY;
    int timeCode;
};

// Chosen by the probe reading.
const time_code_row kTimeCodes[] = {{5.0, 300}, {20.0, 150}, {kForever, 90}};
// Chosen by the first reading when low-light averaging is on; brighter
// readings keep their time code and are not repeated.
const time_code_row kLowLightTimeCodes[] = {{3.0, 600}, {10.0, 300}};
constexpr unsigned kLowLightRepeatCount = 2;

template <size_t N> const time_code_row *time_code_for(const time_code_row (&rows)[N], double Y)
{
    for (const time_code_row &row : rows) {
        if (Y < row.belowY)
            return &row;
    }
    return nullptr;
}

// Calibration entries of the Spyder4 and Spyder5 by display type; the
// Spyder3 and any other type use the general entry.
struct calibration_row
{
    int displayType;
    int32_t entry;
};

const calibration_row kCalibrations[] = {{1, 4}, {2, 6}, {3, 5}, {4, 6}};
constexpr int32_t kGeneralCalibration = 2;

const QString kNone = QStringLiteral("None");

} // namespace

CColorvisionSpyder::CColorvisionSpyder(QObject *parent) : CSensor(parent)
{
    m_open = Open() == sensor_status::kOk;
}

CColorvisionSpyder::~CColorvisionSpyder()
{
    if (m_library.isLoaded() && isKnownModel())
        m_library.Shutdown();
    m_library.unload();
}

bool CColorvisionSpyder::isKnownModel() const
{
    return row_for(m_model) != nullptr;
}

int CColorvisionSpyder::Open()
{
    m_model = kNoModel;
    m_info.fill(0);
    if (m_library.isLoaded()) {
        m_library.Shutdown();
        m_library.unload();
    }
    if (!m_library.load())
        return sensor_status::kWrongMode;
    for (const model_row &row : kModels) {
        m_info.fill(0);
        if (datacolor_spyder::started(m_library.Startup(m_info.data(), row.startCode), [this] { return detailedError(); })) {
            m_model = row.model;
            break;
        }
    }
    if (m_model == kNoModel)
        return sensor_status::kWrongMode;
    AfterOpen();
    return sensor_status::kOk;
}

void CColorvisionSpyder::reopen()
{
    m_open = Open() == sensor_status::kOk;
}

int32_t CColorvisionSpyder::detailedError()
{
    int32_t lowLevel = 0;
    return m_library.GetDetailedError(&lowLevel);
}

QString CColorvisionSpyder::GetName()
{
    const model_row *row = row_for(m_model);
    return row ? QLatin1String(row->name) : kNone;
}

QString CColorvisionSpyder::GetShortName()
{
    const model_row *row = row_for(m_model);
    return row ? QLatin1String(row->shortName) : kNone;
}

QString CColorvisionSpyder::GetSerialNumber()
{
    return isKnownModel() ? datacolor_spyder::serial_number(m_info) : QString();
}

int CColorvisionSpyder::Calibrate()
{
    m_calibrated = true;
    return sensor_status::kOk;
}

int CColorvisionSpyder::readXYZ(int timeCode, CCIEXYZ &reading)
{
    int32_t X = 0, Y = 0, Z = 0;
    if (m_library.GetXYZ(timeCode, &X, &Y, &Z) != DC_SUCCESS)
        return sensor_status::kFailed;
    reading = datacolor_spyder::from_thousandths(X, Y, Z);
    return sensor_status::kOk;
}

int CColorvisionSpyder::MeasureXYZ(unsigned)
{
    if (!m_open)
        return sensor_status::kNotOpen;
    ClearReading();
    m_repeatCount = 1;
    CCIEXYZ probe;
    if (readXYZ(kProbeTimeCode, probe) != sensor_status::kOk) {
        detailedError();
        return sensor_status::kFailed;
    }
    int timeCode = time_code_for(kTimeCodes, probe.Y)->timeCode;
    const bool lowLightAveraging = low_light_averaging::enabled();
    CCIEXYZ sum;
    for (unsigned i = 0; i < m_repeatCount; ++i) {
        CCIEXYZ reading;
        if (readXYZ(timeCode, reading) != sensor_status::kOk)
            return sensor_status::kFailed;
        sum = CCIEXYZ(sum.X + reading.X, sum.Y + reading.Y, sum.Z + reading.Z);
        const time_code_row *dim = time_code_for(kLowLightTimeCodes, reading.Y);
        if (i == 0 && lowLightAveraging && dim) {
            m_repeatCount = kLowLightRepeatCount;
            timeCode = dim->timeCode;
        }
    }
    const CCIEXYZ average(sum.X / m_repeatCount, sum.Y / m_repeatCount, sum.Z / m_repeatCount);
    StoreReading(datacolor_spyder::without_negatives(average));
    return sensor_status::kOk;
}

int CColorvisionSpyder::MeasureAmbient()
{
    if (!isKnownModel())
        return sensor_status::kWrongMode;
    if (!m_open)
        return sensor_status::kNotOpen;
    ClearReading();
    uint16_t level = 0;
    bool measured = m_library.WriteAmbientLightControlRegVal(DC_AMBIENT_ON) == DC_SUCCESS;
    if (measured) {
        wait_service::sleep_ms(kAmbientSettleMs);
        measured = m_library.ReadAmbientLightLevel(&level) == DC_SUCCESS
                   && m_library.WriteAmbientLightControlRegVal(DC_AMBIENT_OFF) == DC_SUCCESS;
    }
    if (!measured) {
        detailedError();
        return sensor_status::kFailed;
    }
    StoreReading(CCIEXYZ(0.0, level, 0.0));
    return sensor_status::kOk;
}

bool CColorvisionSpyder::useCalibration(int displayType)
{
    int32_t entry = kGeneralCalibration;
    if (m_model != kSpyder3) {
        for (const calibration_row &row : kCalibrations) {
            if (row.displayType == displayType)
                entry = row.entry;
        }
    }
    return m_library.UseCalibration(entry) == DC_SUCCESS;
}

int CColorvisionSpyder::SetDisplayType(int flag, int displayType)
{
    m_displayFlag = flag;
    if (m_model == kNoModel)
        reopen();
    if (m_model == kNoModel)
        return sensor_status::kFailed;
    if (useCalibration(displayType))
        return sensor_status::kOk;
    detailedError();
    // A Spyder4 or Spyder5 may take the calibration once started anew.
    if (m_model == kSpyder3)
        return sensor_status::kFailed;
    reopen();
    if (m_model == kNoModel)
        return sensor_status::kFailed;
    return useCalibration(displayType) ? sensor_status::kOk : sensor_status::kFailed;
}

bool CColorvisionSpyder::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    const model_row *row = row_for(m_model);
    vendorId = row ? kVendorId : 0;
    productId = row ? row->productId : 0;
    return row != nullptr;
}

int CColorvisionSpyder::GetPlacementInfo(SensorPlacementInfo &info)
{
    const model_row *row = row_for(m_model);
    datacolor_spyder::fill_placement(info, QLatin1String(row ? row->pictureStem : "spyder3"));
    return sensor_status::kOk;
}
