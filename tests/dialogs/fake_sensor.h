#pragma once

#include "sensors/CSensor.h"

#include <QList>

// A sensor whose answers the test sets, and which records what it was asked.
class fake_sensor : public CSensor
{
public:
    bool requires = true;
    bool hasSelector = false;
    bool polls = false;
    bool hint = false;
    int position = 0;
    QList<int> calibrateResults; // taken in turn; 0 once empty
    int calibrations = 0;
    QList<bool> leds;
    int measureResult = 0;
    CCIEXYZ light{95.0, 100.0, 108.0};
    QList<int> displayTypes;
    SensorPlacementInfo info;

    fake_sensor()
    {
        m_open = true;
        info.calibrationPicture = QStringLiteral(":/images/Resources/varkel icon.png");
        info.calibrationMessage = QStringLiteral("Cover the sensor.");
        info.selectorMessage = QStringLiteral("Turn to display.");
        info.beforeAmbientMessage = QStringLiteral("Turn to ambient.");
        info.beforeDisplayMessage = QStringLiteral("Place the sensor on the display.");
    }

    void setCalibrated(bool calibrated) { m_calibrated = calibrated; }

    QString GetName() override { return QStringLiteral("Fake"); }
    QString GetShortName() override { return QStringLiteral("Fake"); }
    QString GetSerialNumber() override { return QStringLiteral("1"); }
    bool SupportsAmbient() override { return false; }
    int MeasureAmbient() override { return -1; }
    int Calibrate() override
    {
        ++calibrations;
        const int result = calibrateResults.isEmpty() ? 0 : calibrateResults.takeFirst();
        m_calibrated = result == 0;
        return result;
    }
    int MeasureXYZ(unsigned) override
    {
        if (measureResult == 0)
            StoreReading(light);
        return measureResult;
    }
    int SetDisplayType(int flag, int type) override
    {
        displayTypes << flag * 100 + type;
        return 0;
    }
    int GetPlacementInfo(SensorPlacementInfo &out) override
    {
        out = info;
        return 0;
    }
    bool RequiresCalibration() override { return requires; }
    bool HasMeasurementSelector() override { return hasSelector; }
    int GetMeasurementSelectorPosition() override { return position; }
    bool PollsMeasurementSelector() override { return polls; }
    bool SignalsMeasurementSelector() override { return hasSelector && !polls; }
    bool ShowsPlacementHint() override { return hint; }
    int SetLed(bool on) override
    {
        leds << on;
        return 0;
    }
};
