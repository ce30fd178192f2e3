#pragma once

#include "sensors/CXRiteOptionSensor.h"
#include "sensors/i1pro_library.h"

#include <QByteArray>

// The i1Pro and i1Pro2 (sensor kind 2) through i1Pro.dll. The instrument
// must be calibrated on its base (white tile) before it measures; the
// library keeps the calibration and says how long it holds. Ambient light
// is measured when the instrument lists the ambient mode.
//
// The measurement mode field doubles as the mode last set in the library
// (0 before the first setting). After every failed library call the
// library's error texts are fetched (LogLastError); nothing is shown.
class CEyeOneSensor : public CXRiteOptionSensor
{
    Q_OBJECT

public:
    explicit CEyeOneSensor(QObject *parent = nullptr);
    ~CEyeOneSensor() override;

    bool IsCalibrated() override;
    QString GetName() override;
    QString GetShortName() override { return GetName(); }
    QString GetSerialNumber() override;
    int SetMeasurementMode(int mode) override;
    int Calibrate() override;
    // |count| is ignored: one reading, more under the low-light rule.
    int MeasureXYZ(unsigned count) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    bool GetUsbIds(quint16 &vendorId, quint16 &productId) override;

    // 0, or -1000 (no device, the device refused, no emission mode), -1003
    // (the instrument refused its measurement settings).
    int Open();
    bool IsI1Pro2() const { return m_i1Pro2; }
    // Reads the library's last error texts into the option buffer.
    void LogLastError();
    // The option buffer: the last option text read.
    QString GetOptionBuffer() const;

protected:
    int setLibraryOption(const char *name, const char *value) override;
    int triggerLibraryMeasurement() override;
    int readLibraryTriStimulus(float xyz[3]) override;

private:
    // Reads option |name| of the instrument into the option buffer; false
    // (logged) when the library refuses.
    bool readOption(const char *name, QString *text);
    bool readGlobalOption(const char *name);
    // Reads an option with |read| into the buffer; the text up to its end.
    template <typename Read> int readIntoBuffer(Read read, QString *text);
    int configureInstrument();
    void closeDevice();

    i1pro_library m_library;
    i1pro_handle m_handle = nullptr;
    QByteArray m_optionBuffer;
    quint32 m_optionBufferSize;
    bool m_i1Pro2 = false;
};
