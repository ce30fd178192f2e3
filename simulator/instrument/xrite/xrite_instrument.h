#pragma once

#include "sensors/xrite_option_api.h"
#include "simulator/instrument/family_instrument.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// What the simulated X-Rite option-interface libraries (i1Pro, i1Display 2,
// i1Studio) share: an instrument configured by named text options that a
// trigger measures in its current measurement mode and a tristimulus read
// hands out. Each family's library describes its options and modes and
// turns its entry points into calls here.
//
// Options answered, in order: the options the driver sets (their values
// this session), "SerialNumber" (the configured serial), then any string
// of the configuration's "family" object under the option's own name
// ("AvailableMeasurementModes", "HWRevision", "VersionString" …), then
// "TimeUntilCalibrationExpire" (the family's "calibration_seconds" while
// the current mode is calibrated, else 0). The measurement modes a
// "MeasurementMode" setting accepts are those "AvailableMeasurementModes"
// lists, separated by ';', plus the family's extra values. The family's
// "refused_options" (an array of option names) are refused whatever the
// value, for tests of a driver's failure paths.
namespace sim_xrite {

enum class measure_kind { none, emission, ambient };

struct mode_rule
{
    const char *name;
    measure_kind kind;
    bool needsCalibration;
};

// An option the driver may set: its value when a session starts, and the
// values it takes (empty: any).
struct option_rule
{
    const char *name;
    const char *initial;
    QStringList allowed;
};

struct family_rules
{
    std::vector<option_rule> options;
    std::vector<mode_rule> modes;
    // Values "MeasurementMode" takes beside the instrument's own modes.
    QStringList extraModeValues;
};

class option_instrument
{
public:
    explicit option_instrument(family_rules rules);

    // Option values back to their start, calibrations and reading forgotten.
    void reset();
    // XRITE_SUCCESS or XRITE_ERR_…; "Reset" "All" resets.
    int set_option(const QString &name, const QString &value);
    int get_option(const QString &name, QString *value) const;
    // Calibrates the current measurement mode.
    int calibrate();
    // Measures in the current measurement mode.
    int trigger();
    int read(float xyz[XRITE_TRISTIMULUS_COUNT], int index, QJsonArray *out) const;

    // The last failing (negative) result of any entry point, for the error
    // options.
    void note_result(int result);
    int last_error() const;
    static QString error_text(int result);

private:
    QStringList measurementModes() const;
    const mode_rule *currentMode() const;
    const option_rule *rule(const QString &name) const;

    mutable QMutex m_mutex;
    family_rules m_rules;
    QHash<QString, QString> m_values;
    QSet<QString> m_calibratedModes;
    bool m_hasReading = false;
    float m_reading[XRITE_TRISTIMULUS_COUNT] = {0.0f, 0.0f, 0.0f};
    int m_lastError = XRITE_SUCCESS;
};

// What each family's library defines: its option rules, and what it adds
// when the instrument changes (empty: nothing).
extern const family_rules kFamilyRules;
extern const sim_instrument::simulated_instrument::change_listener kFamilyChangeListener;

// The family's option instrument, built from its rules on first use; a
// reset of the instrument resets it too, then the family's listener is told
// of every change.
option_instrument &family_options();

// One entry point answering a status: injected faults first, then |body|,
// which fills the logged outputs; the call is logged and a failure kept as
// the last error.
template <typename Body>
int status_entry(const char *name, sim_instrument::call_role role, const QJsonArray &args, Body body)
{
    sim_instrument::logged_call call(name, role, args);
    int result = call.fault();
    QJsonArray out;
    if (result == 0)
        result = body(out);
    family_options().note_result(result);
    return call.finish(result, out);
}

// One entry point answering a text: like status_entry, but the text (null
// on a failure) stays valid until the next such call on the same thread.
template <typename Body>
const char *text_entry(const char *name, sim_instrument::call_role role, const QJsonArray &args, Body body)
{
    thread_local QByteArray t_text;
    QString text;
    const int result = status_entry(name, role, args, [&](QJsonArray &out) {
        const int status = body(&text);
        if (status == XRITE_SUCCESS)
            out.append(text);
        return status;
    });
    if (result != XRITE_SUCCESS)
        return nullptr;
    t_text = text.toLatin1();
    return t_text.constData();
}

// A text the program passes in (empty for null).
inline QString text_of(const char *text)
{
    return text ? QString::fromLatin1(text) : QString();
}

// XRITE_SUCCESS when an instrument is attached, else XRITE_ERR_NO_DEVICE.
int attached();

} // namespace sim_xrite
