#pragma once

#include "simulator/instrument/family_instrument.h"

#include <QJsonArray>

#include <cstdint>

// What the Spyder3/4/5 and SpyderX stand-ins share. Their entry points
// answer 1 for success and 0 for failure, and leave an error number that
// the detailed-error call hands out: an injected fault's code, or one of
// the numbers below. Each library keeps its own state; this file is built
// into both.
namespace sim_spyder {

enum error_number : int32_t {
    kNoError = 0,
    kNoDevice = 0x10001,     // no instrument attached
    kWrongModel = 0x10002,   // the instrument attached is another model
    kNotStarted = 0x10003,   // the call needs a started session
    kBadArgument = 0x10004,  // a null pointer or a value out of range
    kAmbientOff = 0x10005,   // the ambient sensor was not switched on
    kNoCalibration = 0x10006, // the instrument has no such calibration entry
    kAlreadyStarted = 0x20001, // refused start-up, the instrument runs nonetheless
};

constexpr int32_t kSuccess = 1;
constexpr int32_t kFailure = 0;

// Runs one entry point. |body| answers kNoError or an error number; the
// entry point then answers kSuccess or kFailure and keeps the number.
// |needsSession|: the call fails with kNotStarted before a start-up.
template <typename Body>
int32_t entry(const char *name, sim_instrument::call_role role, const QJsonArray &args, bool needsSession,
              Body body);

// Start-up with |code|; only |acceptedCode| starts the attached model. The
// information block gets the firmware text in bytes 0..7 and up to four
// characters of the serial number in bytes 8..11. A second start-up, or
// every start-up when the family setting "refuse_startup" is true, is
// refused with kAlreadyStarted and leaves the block alone; the session
// runs either way.
int32_t startup(const char *name, uint8_t *info, int32_t code, int32_t acceptedCode);
int32_t shutdown(const char *name);
int32_t detailed_error(const char *name, int32_t *lowLevel);
// X, Y and Z in thousandths; |seconds| the integration time (0: the
// configured one).
int32_t measure_xyz(const char *name, const QJsonArray &args, double seconds, int32_t *X, int32_t *Y, int32_t *Z);
// The ambient level in lux, 0..65535; |needsAmbientOn|: only after the
// control register was set to 3.
int32_t read_ambient(const char *name, bool needsAmbientOn, uint16_t *level);
int32_t write_ambient_control(const char *name, int32_t value);
int32_t use_calibration(const char *name, int32_t entry);

// The number kept for the detailed-error call.
void set_last_error(int32_t error);

} // namespace sim_spyder

template <typename Body>
int32_t sim_spyder::entry(const char *name, sim_instrument::call_role role, const QJsonArray &args, bool needsSession,
                          Body body)
{
    sim_instrument::logged_call call(name, role, args);
    int32_t error = call.fault();
    QJsonArray out;
    if (error == kNoError && needsSession && !family_instrument().initialised())
        error = kNotStarted;
    if (error == kNoError)
        error = body(out);
    set_last_error(error);
    return call.finish(error == kNoError ? kSuccess : kFailure, out);
}
