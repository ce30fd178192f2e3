#pragma once

#include "sensors/CSensor.h"
#include "sensors/datacolor_spyder.h"
#include "sensors/dccmtr_library.h"

// The Datacolor Spyder3, Spyder4 and Spyder5 (sensor kind 5) through
// dccmtr.dll, which the driver loads itself: at construction, and again
// whenever it starts the instrument anew. The model is found by trying each
// model's start-up code. No instrument calibration; the measurement mode is
// kept without being checked.
//
// Readings take a first short probe whose luminance chooses how long the
// instrument integrates: dim displays need longer.
class CColorvisionSpyder : public CSensor
{
    Q_OBJECT

public:
    enum Model { kNoModel = 0, kSpyder3 = 3, kSpyder4 = 4, kSpyder5 = 5 };

    explicit CColorvisionSpyder(QObject *parent = nullptr);
    ~CColorvisionSpyder() override;

    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override;
    bool SupportsAmbient() override { return isKnownModel(); }
    int MeasureAmbient() override;
    int Calibrate() override;
    // The count is not used: one reading, two in low light.
    int MeasureXYZ(unsigned count) override;
    int SetDisplayType(int flag, int displayType) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    bool IsModelUnknown() override { return !isKnownModel(); }
    bool RequiresCalibration() override { return false; }
    bool GetUsbIds(quint16 &vendorId, quint16 &productId) override;
    bool SupportsDisplayTypes() override { return m_model == kSpyder4 || m_model == kSpyder5; }

    // Loads the library afresh and starts the instrument: 0, or -1 when the
    // library is missing or no model starts.
    int Open();
    int GetModel() const { return m_model; }

private:
    bool isKnownModel() const;
    // Opens again; the open field follows.
    void reopen();
    int readXYZ(int timeCode, CCIEXYZ &reading);
    bool useCalibration(int displayType);
    int32_t detailedError();

    dccmtr_library m_library;
    datacolor_spyder::information_block m_info{};
    int m_model = kNoModel;
};
