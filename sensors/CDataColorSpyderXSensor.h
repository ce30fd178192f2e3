#pragma once

#include "sensors/CSensor.h"
#include "sensors/datacolor_spyder.h"
#include "sensors/dcxmtr_library.h"

// The Datacolor SpyderX (sensor kind 6) through dcxmtr.dll. One reading per
// measurement, without averaging; no instrument calibration; the measurement
// mode is kept without being checked.
class CDataColorSpyderXSensor : public CSensor
{
    Q_OBJECT

public:
    enum Model { kNoModel = 0, kSpyderX = 6 };

    explicit CDataColorSpyderXSensor(QObject *parent = nullptr);
    ~CDataColorSpyderXSensor() override;

    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override;
    bool SupportsAmbient() override { return m_model == kSpyderX; }
    int MeasureAmbient() override;
    int Calibrate() override;
    // The count is not used: always one reading.
    int MeasureXYZ(unsigned count) override;
    int SetDisplayType(int flag, int displayType) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    bool IsModelUnknown() override { return m_model != kSpyderX; }
    bool RequiresCalibration() override { return false; }
    bool GetUsbIds(quint16 &vendorId, quint16 &productId) override;
    bool SupportsDisplayTypes() override { return m_model == kSpyderX; }

    // Starts the instrument: 0, or -1 when it does not start.
    int Open();
    int GetModel() const { return m_model; }

private:
    // Starts again; the open field follows.
    void restart();
    bool useCalibration(int displayType);
    int32_t detailedError();

    dcxmtr_library m_library;
    datacolor_spyder::information_block m_info{};
    int m_model = kNoModel;
};
