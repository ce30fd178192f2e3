#pragma once

#include "sensors/CXRiteOptionSensor.h"
#include "sensors/i1studio_library.h"

// The i1Studio and ColorMunki (sensor kind 4) through i1Studio.dll. The
// instrument has a dial with four positions: display, calibrate, a fourth
// (projector) and ambient; each operation needs the dial at its own
// position. The library reports a turned dial through a callback on a
// thread of its own: the driver passes it on as the selector signal, queued
// to the driver's thread, never from the library's thread.
class CXRitei1Studio : public CXRiteOptionSensor
{
    Q_OBJECT

public:
    enum Model { kModelI1Studio = 1, kModelColorMunki = 2 };

    explicit CXRitei1Studio(QObject *parent = nullptr);
    ~CXRitei1Studio() override;

    bool HasMeasurementSelector() override { return true; }
    // -1000 when not connected; 0 display, 1 calibrate, 2 fourth, 3 ambient,
    // -1 for a position not known.
    int GetMeasurementSelectorPosition() override;
    bool SignalsMeasurementSelector() override { return true; }
    // -1000 when not connected; 1 ready, 0 busy, -1 otherwise.
    int GetDeviceState() override;
    QString GetName() override;
    QString GetShortName() override;
    QString GetSerialNumber() override;
    int MeasureAmbient() override;
    int SetMeasurementMode(int mode) override;
    int Calibrate() override;
    // |count| is ignored: one reading, more under the low-light rule.
    int MeasureXYZ(unsigned count) override;
    int GetPlacementInfo(SensorPlacementInfo &info) override;
    // The current dial with the mark of |position| and, when the dial is
    // elsewhere, the arrow that turns it there.
    QImage GetMeasurementSelectorPixmap(int position) override;
    bool GetUsbIds(quint16 &vendorId, quint16 &productId) override;

    // 0, or -1000 (not connected, or the emission mode refused).
    int Open();
    int GetModel() const { return m_model; }

protected:
    int setLibraryOption(const char *name, const char *value) override;
    int triggerLibraryMeasurement() override;
    int readLibraryTriStimulus(float xyz[3]) override;

private:
    // Called by the library on its own thread.
    static void OnDeviceEvent(void *context, int32_t event, int32_t value);
    // On the driver's thread: emits the raw dial code 2000..2003.
    void EmitSelectorPosition(int dialCode);
    // The dial code, or a negative number when it cannot be read.
    int dialCode();
    bool connected();

    i1studio_library m_library;
    int m_model = kModelColorMunki;
    bool m_callbackRegistered = false;
};
