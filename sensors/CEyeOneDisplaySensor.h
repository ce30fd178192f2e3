#pragma once

#include "sensors/CXRiteOptionSensor.h"
#include "sensors/eyeone_library.h"

// The i1Display 2 family (sensor kind 1) through EyeOne.dll, loaded when the
// driver is made: the first-generation i1Display, the i1Display 2, and three
// maker-branded variants told apart by serial number. Only the
// first-generation model needs a dark calibration; models 2 to 5 measure
// ambient light. The display type chooses the screen type (CRT or LCD).
class CEyeOneDisplaySensor : public CXRiteOptionSensor
{
    Q_OBJECT

public:
    enum Model {
        kModelFirstGeneration = 1,
        kModelI1Display2 = 2,
        kModelBranded = 3,
        kModelBrandedWideGamut = 4,
        kModelLyraSensor = 5
    };

    explicit CEyeOneDisplaySensor(QObject *parent = nullptr);
    ~CEyeOneDisplaySensor() override;

    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override;
    int SetMeasurementMode(int mode) override;
    int Calibrate() override;
    // A count of 0 counts as 1.
    int MeasureXYZ(unsigned count) override;
    // Chooses the screen type: CRT for flag 0 (type 1 on models 4 and 5),
    // else LCD.
    int SetDisplayType(int flag, int displayType) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    bool RequiresCalibration() override { return m_model == kModelFirstGeneration; }
    bool ShowsPlacementHint() override { return true; }
    bool GetUsbIds(quint16 &vendorId, quint16 &productId) override;

    // Binds the shared library (device type "EyeOneDisplay", mode 0, model
    // 1); false when it is missing or lacks an entry point.
    bool BindLibrary();
    // 0, or -1000 (not connected), -1003 or -1 (a setting refused).
    int Open();
    int GetModel() const { return m_model; }
    bool IsLibraryBound() const { return m_library != nullptr; }

protected:
    int setLibraryOption(const char *name, const char *value) override;
    int triggerLibraryMeasurement() override;
    int readLibraryTriStimulus(float xyz[3]) override;

private:
    QString option(const char *name) const;
    void chooseModelBySerialNumber();

    const eyeone_entry_points *m_library = nullptr;
    QByteArray m_deviceType;
    int m_model = kModelFirstGeneration;
};
