#pragma once

#include "sensors/CSensor.h"
#include "sensors/spotmeter_library.h"

// The X-Rite Hubble spot meter (sensor kind 7) through SpotMeterSDK.dll. It
// reads luminance and chromaticity of a spot, converted here to XYZ; it
// measures emission only and needs a dark-current calibration with its lens
// capped. It has no USB ids of its own.
class CXRiteHubble : public CSensor
{
    Q_OBJECT

public:
    explicit CXRiteHubble(QObject *parent = nullptr);
    ~CXRiteHubble() override;

    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override { return m_serialNumber; }
    bool SupportsAmbient() override { return false; }
    // Takes no reading: the next GetXYZ finds nothing new.
    int MeasureAmbient() override;
    // The dark current.
    int Calibrate() override;
    // The count is not used: the instrument averages dim readings itself
    // when low-light averaging is on.
    int MeasureXYZ(unsigned count) override;
    int SetDisplayType(int flag, int displayType) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;

    // 0, or -1000 (no device, or the instrument's identity or calibrations
    // not read), -1003 (a setting refused).
    int Open();

private:
    bool openDevice();
    bool readCalibrationNames();
    bool ready() const { return m_open && m_handle; }

    spotmeter_library m_library;
    gmbSpotHandle m_handle = nullptr;
    QString m_serialNumber;
};
