#include "simulator/instrument/sim_control.h"

#include "simulator/instrument/family_instrument.h"

#include <QByteArray>

// The declarations give these C linkage; the export map publishes them.
#define SIM_EXPORT extern "C"

namespace {

thread_local QByteArray t_lastError;
thread_local QByteArray t_callLog;

} // namespace

SIM_EXPORT int sim_instrument_configure(const char *json)
{
    QString error;
    if (!json) {
        t_lastError = "no configuration";
        return -1;
    }
    if (!family_instrument().configure(QByteArray(json), &error)) {
        t_lastError = error.toUtf8();
        return -1;
    }
    t_lastError.clear();
    return 0;
}

SIM_EXPORT const char *sim_instrument_last_error(void)
{
    return t_lastError.constData();
}

SIM_EXPORT void sim_instrument_reset(void)
{
    family_instrument().reset();
}

SIM_EXPORT const char *sim_instrument_call_log(void)
{
    t_callLog = family_instrument().call_log_json();
    return t_callLog.constData();
}

SIM_EXPORT void sim_instrument_clear_call_log(void)
{
    family_instrument().clear_call_log();
}
