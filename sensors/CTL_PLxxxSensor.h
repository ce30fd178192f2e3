#pragma once

#include "sensors/CSensor.h"

class COMClient;

// The PL-series display colour analysers of Trelane (sensor kind 8),
// reached through the maker's automation server by COMClient. Emission
// only; a zero calibration is needed after every start and again after the
// single-instrument check failed (two instruments, another model), and
// measurement refuses to run without it (-8510). Every operation answers
// -99998 while the driver is not open.
//
// A measurement averages Lv, x and y over the repeat count; the averaged
// reading is handed out once by GetXYZ.
class CTL_PLxxxSensor : public CSensor
{
    Q_OBJECT

public:
    explicit CTL_PLxxxSensor(QObject *parent = nullptr);
    ~CTL_PLxxxSensor() override;

    // Calibrated only while the client's zero calibration holds.
    bool IsCalibrated() override;
    int GetMeasurementSelectorPosition() override;
    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override;
    bool SupportsAmbient() override { return false; }
    int MeasureAmbient() override;
    int SetMeasurementMode(int mode) override;
    int Calibrate() override;
    int MeasureXYZ(unsigned count) override;
    int GetXYZ(CCIEXYZ &reading) override;
    int SetDisplayType(int flag, int displayType) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    bool RequiresCalibration() override { return m_open; }

    virtual bool IsInstrumentReady();
    virtual QString GetManufacturer();
    virtual int GetLastError();
    virtual QString GetLastErrorText();

    COMClient *GetClient() const { return m_client; }

private:
    // The model text once the instrument answers as the single PL
    // instrument, else |fallback|.
    QString modelOr(const char *fallback);

    COMClient *m_client;
};
