#include "sensors/CSensor.h"

#include "sensors/low_light_averaging.h"
#include "sensors/sensor_status.h"

namespace {

// Chromaticity windows of the colour patches (bounds inclusive); the dark
// and bright patches are judged by luminance alone.
struct patch_window
{
    int patch;
    double xMin, xMax, yMin, yMax;
};

constexpr double kAny = 1.0e300;

const patch_window kPatchWindows[] = {
    {kPatchRed, 0.45, kAny, 0.15, 0.45},
    {kPatchGreen, 0.1, 0.45, 0.45, kAny},
    {kPatchBlue, -kAny, 0.3, -kAny, 0.2},
};

constexpr double kDarkMaxY = 15.0;
constexpr double kBrightMinY = 4.0;

} // namespace

CSensor::CSensor(QObject *parent) : QObject(parent) {}

CSensor::~CSensor() = default;

bool CSensor::IsCalibrated()
{
    return m_calibrated;
}

bool CSensor::HasMeasurementSelector()
{
    return false;
}

int CSensor::GetMeasurementSelectorPosition()
{
    return kSelectorDisplay;
}

bool CSensor::PollsMeasurementSelector()
{
    return false;
}

bool CSensor::SignalsMeasurementSelector()
{
    return false;
}

int CSensor::GetDeviceState()
{
    return 0;
}

int CSensor::SetMeasurementMode(int mode)
{
    m_measurementMode = mode;
    return sensor_status::kOk;
}

int CSensor::CheckPatchColor(const CCIEXYZ &reading, int patch)
{
    const CCIEYxy Yxy = reading.ToYxy();
    if (patch == kPatchDark)
        return Yxy.Y <= kDarkMaxY ? 0 : -1;
    if (patch == kPatchBright)
        return Yxy.Y >= kBrightMinY ? 0 : -1;
    for (const patch_window &window : kPatchWindows) {
        if (window.patch != patch)
            continue;
        const bool inside = Yxy.x >= window.xMin && Yxy.x <= window.xMax && Yxy.y >= window.yMin
                            && Yxy.y <= window.yMax;
        return inside ? 0 : -1;
    }
    return -2;
}

bool CSensor::IsModelUnknown()
{
    return false;
}

bool CSensor::RequiresCalibration()
{
    return true;
}

QImage CSensor::GetMeasurementSelectorPixmap(int)
{
    return QImage();
}

bool CSensor::ShowsPlacementHint()
{
    return false;
}

bool CSensor::IsPlacementHintPending()
{
    return m_placementHintPending;
}

void CSensor::SetPlacementHintPending(bool pending)
{
    m_placementHintPending = pending;
}

bool CSensor::GetUsbIds(quint16 &vendorId, quint16 &productId)
{
    vendorId = 0;
    productId = 0;
    return false;
}

bool CSensor::HasLedControl()
{
    return false;
}

bool CSensor::SupportsDisplayTypes()
{
    return false;
}

int CSensor::SetLed(bool)
{
    return -1;
}

int CSensor::MeasureAveraged(unsigned count, const std::function<int(CCIEXYZ &)> &readOnce)
{
    ClearReading();
    m_repeatCount = count == 0 ? 1 : count;
    const bool averagingOn = low_light_averaging::enabled();
    CCIEXYZ sum;
    for (unsigned i = 0; i < m_repeatCount; ++i) {
        CCIEXYZ reading;
        const int status = readOnce(reading);
        if (status != sensor_status::kOk)
            return status;
        sum.X += reading.X;
        sum.Y += reading.Y;
        sum.Z += reading.Z;
        if (i == 0)
            m_repeatCount = low_light_averaging::repeat_count(reading.Y, m_repeatCount, averagingOn);
    }
    StoreReading(CCIEXYZ(sum.X / m_repeatCount, sum.Y / m_repeatCount, sum.Z / m_repeatCount));
    return sensor_status::kOk;
}

void CSensor::StoreReading(const CCIEXYZ &reading)
{
    m_lastReading = reading;
    m_newReading = true;
}

void CSensor::ClearReading()
{
    m_lastReading = CCIEXYZ();
    m_newReading = false;
}

int CSensor::HandOutReading(CCIEXYZ &reading)
{
    if (!m_open || !m_newReading)
        return sensor_status::kFailed;
    reading = m_lastReading;
    m_newReading = false;
    return sensor_status::kOk;
}
