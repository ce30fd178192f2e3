#include "sensors/CTL_PLxxxSensor.h"

#include "sensors/COMClient.h"
#include "sensors/sensor_status.h"

namespace {

const char kName[] = "Trelane PL-xxx";
const char kShortName[] = "TL PL-xxx";
const char kManufacturer[] = "Trelane";
const char kCalibrationPicture[] = ":/images/Resources/trelane pl-210 sensor zero cal sm.png";

CCIEXYZ to_xyz(const pl_probe_reading &reading)
{
    const double Y = reading.Lv;
    // A chromaticity y of 0, or none (-1), gives no X and Z.
    if (reading.y <= 0.0f)
        return CCIEXYZ(0.0, Y, 0.0);
    const double x = reading.x;
    const double y = reading.y;
    return CCIEXYZ(x / y * Y, Y, (1.0 - x - y) / y * Y);
}

} // namespace

CTL_PLxxxSensor::CTL_PLxxxSensor(QObject *parent) : CSensor(parent), m_client(new COMClient(this))
{
    m_open = m_client->Initialize();
}

CTL_PLxxxSensor::~CTL_PLxxxSensor()
{
    m_client->Release();
}

bool CTL_PLxxxSensor::IsCalibrated()
{
    return m_calibrated && m_client->IsZeroCalibrated();
}

int CTL_PLxxxSensor::GetMeasurementSelectorPosition()
{
    return m_open ? sensor_status::kWrongMode : sensor_status::kProbeNotOpen;
}

QString CTL_PLxxxSensor::modelOr(const char *fallback)
{
    if (m_client->IsReady() && !m_client->GetModel().isEmpty())
        return m_client->GetModel();
    return QLatin1String(fallback);
}

QString CTL_PLxxxSensor::GetName()
{
    return m_open ? modelOr(kName) : QString();
}

QString CTL_PLxxxSensor::GetShortName()
{
    return m_open ? modelOr(kShortName) : QString();
}

QString CTL_PLxxxSensor::GetManufacturer()
{
    return m_open ? QLatin1String(kManufacturer) : QString();
}

QString CTL_PLxxxSensor::GetSerialNumber()
{
    return m_open && m_client->ReadSerialNumber() ? m_client->GetSerialNumber() : QString();
}

bool CTL_PLxxxSensor::IsInstrumentReady()
{
    return m_open && m_client->CheckSingleInstrument();
}

int CTL_PLxxxSensor::GetLastError()
{
    return m_client->GetLastError();
}

QString CTL_PLxxxSensor::GetLastErrorText()
{
    return m_client->GetLastErrorText();
}

int CTL_PLxxxSensor::MeasureAmbient()
{
    return m_open ? sensor_status::kWrongMode : sensor_status::kProbeNotOpen;
}

int CTL_PLxxxSensor::SetMeasurementMode(int mode)
{
    if (!m_open)
        return sensor_status::kProbeNotOpen;
    if (mode != kModeEmission)
        return sensor_status::kWrongMode;
    if (!m_client->SelectFirstProbe())
        return m_client->GetLastError();
    m_measurementMode = kModeEmission;
    return sensor_status::kOk;
}

int CTL_PLxxxSensor::SetDisplayType(int flag, int)
{
    if (!m_open)
        return sensor_status::kProbeNotOpen;
    m_displayFlag = flag;
    return sensor_status::kOk;
}

int CTL_PLxxxSensor::Calibrate()
{
    if (!m_open)
        return sensor_status::kProbeNotOpen;
    m_calibrated = false;
    if (!m_client->ZeroCalibrate())
        return m_client->GetLastError();
    m_calibrated = true;
    return sensor_status::kOk;
}

int CTL_PLxxxSensor::MeasureXYZ(unsigned count)
{
    if (!m_open)
        return sensor_status::kProbeNotOpen;
    ClearReading();
    m_repeatCount = count == 0 ? 1 : count;
    if (!m_client->CheckSingleInstrument())
        return m_client->GetLastError();
    double Lv = 0.0, x = 0.0, y = 0.0;
    for (unsigned i = 0; i < m_repeatCount; ++i) {
        // Any failed reading fails the measurement, whatever code it left.
        if (!m_client->Measure()) {
            m_client->ResetReading();
            return m_client->GetLastError();
        }
        const pl_probe_reading reading = m_client->GetReading();
        Lv += reading.Lv;
        x += reading.x;
        y += reading.y;
    }
    pl_probe_reading average;
    average.Lv = float(Lv / m_repeatCount);
    average.x = float(x / m_repeatCount);
    average.y = float(y / m_repeatCount);
    average.T = 0.0f;
    average.duv = 0.0f;
    m_client->SetReading(average);
    StoreReading(to_xyz(average));
    return sensor_status::kOk;
}

int CTL_PLxxxSensor::GetXYZ(CCIEXYZ &reading)
{
    if (!m_open)
        return sensor_status::kProbeNotOpen;
    const int status = HandOutReading(reading);
    if (status == sensor_status::kOk)
        m_client->ResetReading();
    return status;
}

int CTL_PLxxxSensor::GetPlacementInfo(SensorPlacementInfo &info)
{
    info.calibrationPicture = QLatin1String(kCalibrationPicture);
    info.calibrationMessage =
        tr("Cover the sensor so light cannot reach it or move the ring to the 0-CAL position.");
    return 0;
}
