#pragma once

#include "sensors/AdditionalSensor.h"
#include "sensors/pl_automation_server.h"

#include <QString>
#include <QVariantList>

#include <atomic>

class pl_automation_object;

// One reading of the PL-series probe; -1 in a field: no value.
struct pl_probe_reading
{
    static constexpr float kNoValue = -1.0f;

    float Lv = kNoValue; // luminance, cd/m²
    float x = kNoValue;
    float y = kNoValue;
    float T = kNoValue;  // correlated colour temperature
    float duv = kNoValue;

    bool hasValue() const
    {
        return Lv != kNoValue || x != kNoValue || y != kNoValue || T != kNoValue || duv != kNoValue;
    }
};

// The client of the PL-series probe maker's automation server (PL200Srvr):
// checks that the server is registered and its files are present
// (pl_server_registration), starts it, finds its single instrument and first
// probe, zero-calibrates and measures. It reaches the server only through
// the automation layer (pl_automation_object).
//
// Every failure leaves its text and a non-zero last error code: a mapped
// server exception code (-8501 .. -8508), -8510 zero calibration required,
// -8511 measurement failed, -8512 zero calibration failed, -99998 not
// started, or -1000 for a missing server, instrument or probe.
class COMClient : public AdditionalSensor
{
    Q_OBJECT

public:
    // Each failure's text and code (COMClient.cpp).
    enum class failure;

    static constexpr const char *kClassId = "{006b0650-af9a-4ee1-b18f-b5740004d7ce}";

    explicit COMClient(QObject *parent = nullptr);
    ~COMClient() override;

    bool CheckServerInstalled();
    // Starts the server and sets up its instrument; true when initialised.
    bool Initialize();
    bool CheckUsbRegistration();
    bool CheckSingleInstrument();
    bool SelectFirstProbe();
    bool ReadSerialNumber();
    bool ZeroCalibrate();
    // One reading into the client's reading.
    bool Measure();
    void Release();
    // Initialised and the single-instrument check passes.
    bool IsReady();

    bool IsInitialized() const { return m_initialised; }
    bool IsZeroCalibrated() const { return m_zeroCalibrated; }
    int GetExceptionCode() const { return m_exceptionCode; }
    QString GetModel() const { return m_model; }
    QString GetSerialNumber() const { return m_serialNumber; }
    pl_probe_reading GetReading() const { return m_reading; }
    int GetReadingState() const { return m_readingState; }
    // A reading of the driver's own making (an average), state 0.
    void SetReading(const pl_probe_reading &reading);
    // No reading: every field -1, state -1.
    void ResetReading();

public slots:
    void slot_ComException(int code, const QString &source, const QString &description, const QString &help);

private:
    // Stores the failure's text and, unless a server exception of the
    // running operation has set one already, its code; false.
    bool fail(failure kind);
    bool raised() const { return m_exceptionCode != 0; }
    bool failInstrumentCheck(failure kind);
    bool startServer();
    bool setUpInstrument();
    bool measureOnce();
    void readProbeValues();
    // Delivers the object's exceptions to slot_ComException; false when the
    // server refuses.
    bool connectObject(pl_automation_object *object);
    // The object of |member| of |owner|, its exceptions delivered here.
    pl_automation_object *subObject(pl_automation_object *owner, const char *member,
                                    const QVariantList &args = QVariantList());
    void deleteProbes();

    pl_automation_server m_library;
    pl_automation_object *m_server = nullptr;
    pl_automation_object *m_instrument = nullptr;
    pl_automation_object *m_probes = nullptr;
    pl_automation_object *m_probe = nullptr;
    pl_automation_object *m_memory = nullptr;
    pl_probe_reading m_reading;
    int m_readingState = -1;
    bool m_initialised = false;
    std::atomic<int> m_exceptionCode{0};
    QString m_serialNumber;
    bool m_zeroCalibrated = false;
    bool m_comStarted = false;
    QString m_model;
};
