#pragma once

#include "colour/colour_values.h"
#include "sensors/SensorPlacementInfo.h"

#include <QObject>
#include <QImage>
#include <QString>

#include <functional>

// Patches that CSensor::CheckPatchColor tells apart.
enum patch_colour : int { kPatchRed = 1, kPatchGreen = 2, kPatchBlue = 3, kPatchDark = 4, kPatchBright = 5 };

// The one interface through which the program uses a colour instrument.
// Every operation answers an integer status (sensor_status.h) and never
// throws. A driver's constructor opens the instrument; the factory
// (CTargetSensor) owns the one active driver.
//
// Calling order: SetDisplayType and SetMeasurementMode before a run;
// Calibrate when RequiresCalibration() and not IsCalibrated(); then each
// measurement is MeasureXYZ (mode 1) or MeasureAmbient (mode 2) followed by
// GetXYZ, which hands the reading out once.
class CSensor : public QObject
{
    Q_OBJECT

public:
    enum SelectorPosition { kSelectorDisplay = 0, kSelectorCalibration = 1, kSelectorFourth = 2, kSelectorAmbient = 3 };
    enum MeasurementMode { kModeEmission = 1, kModeAmbient = 2 };

    explicit CSensor(QObject *parent = nullptr);
    ~CSensor() override;

    bool IsOpen() const { return m_open; }
    unsigned GetRepeatCount() const { return m_repeatCount; }
    CCIEXYZ GetLastReading() const { return m_lastReading; }
    int GetDisplayFlag() const { return m_displayFlag; }
    int GetMeasurementMode() const { return m_measurementMode; }

    virtual bool IsCalibrated();
    virtual bool HasMeasurementSelector();
    // 0 display, 1 calibration, 2 fourth dial position, 3 ambient; -1 not
    // recognised; a negative status on failure.
    virtual int GetMeasurementSelectorPosition();
    // The set-up dialog must poll the position (every 1000 ms).
    virtual bool PollsMeasurementSelector();
    // The driver emits SensorMeasurementSelectorPositionChanged itself.
    virtual bool SignalsMeasurementSelector();
    virtual int GetDeviceState();
    virtual QString GetName() = 0;
    virtual QString GetShortName() = 0;
    // Empty when not known.
    virtual QString GetSerialNumber() = 0;
    // Nothing to do after opening unless a driver says otherwise.
    virtual int AfterOpen() { return 0; }
    virtual bool SupportsAmbient() = 0;
    virtual int MeasureAmbient() = 0;
    virtual int SetMeasurementMode(int mode);
    virtual int Calibrate() = 0;
    // A count of 0 counts as 1.
    virtual int MeasureXYZ(unsigned count) = 0;
    // -1003 when not open or no new reading is waiting; the reading, once.
    virtual int GetXYZ(CCIEXYZ &reading) { return HandOutReading(reading); }
    // 0 when |reading| matches |patch| (a patch_colour), -1 when not, -2 for
    // any other patch kind.
    virtual int CheckPatchColor(const CCIEXYZ &reading, int patch);
    // |flag| 0 or 1 and the caller's display type (0..4); each driver maps
    // them to its own calibration.
    virtual int SetDisplayType(int flag, int displayType) = 0;
    virtual int GetPlacementInfo(SensorPlacementInfo &info) = 0;
    virtual bool IsModelUnknown();
    virtual bool RequiresCalibration();
    // The picture of the selector set to |position|: an image, so that a
    // driver may draw it on any thread; the views turn it into a pixmap.
    virtual QImage GetMeasurementSelectorPixmap(int position);
    virtual bool ShowsPlacementHint();
    virtual bool IsPlacementHintPending();
    virtual void SetPlacementHintPending(bool pending);
    virtual bool GetUsbIds(quint16 &vendorId, quint16 &productId);
    virtual bool HasLedControl();
    virtual bool SupportsDisplayTypes();
    virtual int SetLed(bool on);

signals:
    void SensorMeasurementSelectorPositionChanged(int position);

protected:
    // Takes readings through |readOnce| and averages them. The first reading
    // decides the final count under the low-light rule; the count used ends
    // in the repeat count field. Stops at the first failing reading and
    // answers its status; the last reading is left cleared then.
    int MeasureAveraged(unsigned count, const std::function<int(CCIEXYZ &)> &readOnce);
    // Stores a reading for GetXYZ to hand out.
    void StoreReading(const CCIEXYZ &reading);
    void ClearReading();
    // GetXYZ's answer: -1003 when not open or nothing new, else the
    // reading, once.
    int HandOutReading(CCIEXYZ &reading);

    bool m_open = false;
    bool m_calibrated = false;
    bool m_placementHintPending = true;
    unsigned m_repeatCount = 1;
    CCIEXYZ m_lastReading;
    int m_displayFlag = -1;
    int m_measurementMode = kModeEmission;
    bool m_newReading = false;
};
