#pragma once

#include "sensors/CSensor.h"
#include "sensors/i1d3_library.h"

// The i1Display Pro family (sensor kind 3), including two maker-branded
// variants, through i1d3SDK.dll. Its measurement selector is a rotating
// diffuser that the set-up dialog polls: away from the lens is the display
// position (0), over the lens the ambient position (3). It needs no
// instrument calibration and is the only driver with an indicator light.
//
// An instrument that reports itself lost (-523 or -101) is reopened inside
// the operation that noticed it, and the failing call is repeated once.
class CEyeOneDisplay3Sensor : public CSensor
{
    Q_OBJECT

public:
    explicit CEyeOneDisplay3Sensor(QObject *parent = nullptr);
    ~CEyeOneDisplay3Sensor() override;

    bool HasMeasurementSelector() override { return true; }
    int GetMeasurementSelectorPosition() override;
    bool PollsMeasurementSelector() override { return true; }
    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override;
    bool SupportsAmbient() override { return true; }
    int MeasureAmbient() override;
    // The library's mode follows the display type; nothing to store.
    int SetMeasurementMode(int) override { return 0; }
    int Calibrate() override;
    int MeasureXYZ(unsigned count) override;
    int SetDisplayType(int flag, int displayType) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    bool RequiresCalibration() override { return false; }
    QImage GetMeasurementSelectorPixmap(int position) override;
    bool GetUsbIds(quint16 &vendorId, quint16 &productId) override;
    bool HasLedControl() override { return true; }
    bool SupportsDisplayTypes() override { return true; }
    int SetLed(bool on) override;

    // 0, or -1000 (no device), -1003 (a library call failed), -1020 (support
    // files refused, or fewer than three calibrations).
    int Open();
    // Tears the session down and opens it again, with the display type
    // chosen before; the new open state.
    bool Reopen();

    int GetLastLibraryResult() const { return m_lastResult; }
    CCIEYxy GetAmbientReading() const { return CCIEYxy(m_ambientY, m_ambientX, m_ambientSmallY); }
    bool IsMakerBranded() const { return m_makerBranded; }
    bool HasNewerFirmware() const { return m_newerFirmware; }

private:
    struct led_settings
    {
        int mode = 1;
        double offSeconds = 0.0;
        double onSeconds = 0.0;
        quint8 count = 0;
    };

    // A device call, run again once after a successful reopen when it
    // reported the instrument lost; the result is kept as the last one.
    template <typename Call> int callDevice(Call call);
    // Up to three tries of a measuring call.
    template <typename Call> int callWithRetries(Call call);
    int readCalibrationList(int *count, const i1d3CalibrationEntry **entries);
    int applyDisplayType(int flag, int displayType);
    int openDevice();
    int configureSession();
    // Sends the light pattern and keeps it; the result never decides an
    // operation's outcome except SetLed's.
    int sendLed(const led_settings &settings);
    void closeDevice();

    i1d3_library m_library;
    i1d3Handle m_handle = nullptr;
    int m_lastResult = 0;
    double m_ambientY = 0.0;
    double m_ambientX = 0.0;
    double m_ambientSmallY = 0.0;
    bool m_deviceOpen = false;
    bool m_makerBranded = false;
    bool m_newerFirmware = false;
    led_settings m_led;
    // The last display type chosen successfully, for a reopened session.
    bool m_displayTypeChosen = false;
    int m_displayType = 0;
    // Inside a reopen, a lost instrument is not reopened again.
    bool m_reopening = false;
};
