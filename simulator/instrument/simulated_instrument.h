#pragma once

#include "simulator/instrument/instrument_config.h"
#include "simulator/instrument/reading_model.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QMutex>
#include <QString>

#include <functional>

// The core every simulated instrument family is built on: the instrument's
// configuration (identity, calibrations, light, noise, faults), its session
// state, its measurements of the simulated displays' light, and a log of
// every call made to the family's library. A family's shared library turns
// its entry points into calls here (see family_instrument.h).
//
// Thread-safe: the application may call from the detection thread while a
// test reads the log. Measurements wait their integration time on the wait
// service's time scale, outside the lock.
namespace sim_instrument {

// What an entry point does, for the faults. Session calls (initialise, shut
// down) bring a lost instrument back when it is found again; they, library
// settings and the device count work while it is lost. Every other role
// needs the device.
enum class call_role { session, library, enumerate, open, close, device, calibrate, measure };

class simulated_instrument
{
public:
    // |familyDefaults|: the family's configuration before any test changes
    // it (identity, calibrations, family settings).
    explicit simulated_instrument(const QJsonObject &familyDefaults);

    // Merges a JSON object into the configuration; false with |error| set
    // when it is refused (nothing changes then).
    bool configure(const QByteArray &json, QString *error);
    // Back to the family defaults (and $TESSALINE_SIM_INSTRUMENT_CONFIG),
    // a closed session and an empty log.
    void reset();
    // A JSON array of {"call", "args", "result"[, "out"]} objects, oldest first.
    QByteArray call_log_json() const;
    void clear_call_log();

    // Told after every accepted configuration (|reset| false) and every
    // reset (|reset| true), on the caller's thread and outside the lock: a
    // family that keeps state of its own (option values, an event thread)
    // follows the instrument here.
    using change_listener = std::function<void(bool reset)>;
    void set_change_listener(change_listener listener);

    // Start of an entry point: 0, or the code it must fail with (an injected
    // failure, or the lost instrument's code).
    int begin_call(const QString &name, call_role role);
    void log_call(const QString &name, const QJsonArray &args, int result, const QJsonArray &out = QJsonArray());

    // Session state.
    void initialise();
    void shut_down();
    bool initialised() const;
    int device_count() const;
    void set_device_open(bool open);
    bool device_open() const;

    instrument_config config() const;
    int selector() const;
    void set_integration_seconds(double seconds);
    double integration_seconds() const;

    // What the instrument reads on its display, and of the room's light.
    tristimulus measure_emission();
    double measure_ambient_lux();

private:
    bool applyConfig(const QJsonObject &json, QString *error);
    void applyEnvironmentConfig();
    void waitIntegrationTime() const;
    void notifyChange(bool reset);

    mutable QMutex m_mutex;
    QJsonObject m_defaults;
    instrument_config m_config;
    reading_model m_model;
    QJsonArray m_log;
    bool m_initialised = false;
    bool m_deviceOpen = false;
    bool m_lost = false;
    int m_lostCode = 0;
    bool m_foundAgain = true;
    double m_integrationSeconds = 1.0;
    change_listener m_changeListener;
};

} // namespace sim_instrument
