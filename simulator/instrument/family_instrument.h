#pragma once

#include "simulator/instrument/simulated_instrument.h"

#include <QJsonArray>

// An entry point of a family's library: the maker's declarations give it C
// linkage; the library's export map publishes it.
#define SIM_EXPORT extern "C"

// What a family's simulated library provides to the shared parts: the
// configuration (JSON) its one instrument starts from.
extern const char kFamilyDefaults[];

// The library's one instrument, built with the family's defaults on first
// use. The control API (sim_control.h) and the call helper below work on it.
sim_instrument::simulated_instrument &family_instrument();

namespace sim_instrument {

// One entry point's visit to the instrument: checks the injected faults on
// entry and logs the call with its arguments, result and outputs.
class logged_call
{
public:
    logged_call(const char *name, call_role role, const QJsonArray &args = QJsonArray())
        : m_name(QLatin1String(name)), m_args(args), m_fault(family_instrument().begin_call(m_name, role))
    {
    }
    logged_call(const logged_call &) = delete;
    logged_call &operator=(const logged_call &) = delete;

    // Non-zero: the entry point answers this code at once.
    int fault() const { return m_fault; }
    int finish(int result, const QJsonArray &out = QJsonArray())
    {
        family_instrument().log_call(m_name, m_args, result, out);
        return result;
    }

private:
    QString m_name;
    QJsonArray m_args;
    int m_fault;
};

} // namespace sim_instrument
