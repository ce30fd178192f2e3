#include "simulator/instrument/instrument_config.h"

#include <QJsonArray>

#include <functional>

namespace sim_instrument {
namespace {

using setter = std::function<bool(instrument_config &, const QJsonValue &)>;

struct config_key
{
    const char *name;
    setter apply;
};

bool to_double(const QJsonValue &value, double *out)
{
    if (!value.isDouble())
        return false;
    *out = value.toDouble();
    return true;
}

bool to_int(const QJsonValue &value, int *out)
{
    double number = 0.0;
    if (!to_double(value, &number) || number != double(int(number)))
        return false;
    *out = int(number);
    return true;
}

setter string_field(QString instrument_config::*field)
{
    return [field](instrument_config &config, const QJsonValue &value) {
        if (!value.isString())
            return false;
        config.*field = value.toString();
        return true;
    };
}

setter double_field(double instrument_config::*field)
{
    return [field](instrument_config &config, const QJsonValue &value) {
        return to_double(value, &(config.*field));
    };
}

setter int_field(int instrument_config::*field)
{
    return [field](instrument_config &config, const QJsonValue &value) { return to_int(value, &(config.*field)); };
}

setter bool_field(bool instrument_config::*field)
{
    return [field](instrument_config &config, const QJsonValue &value) {
        if (!value.isBool())
            return false;
        config.*field = value.toBool();
        return true;
    };
}

bool set_calibrations(instrument_config &config, const QJsonValue &value)
{
    if (!value.isArray())
        return false;
    QList<calibration_entry> entries;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject object = item.toObject();
        calibration_entry entry;
        if (!item.isObject() || !to_int(object.value(QLatin1String("key")), &entry.key) || entry.key < 0
            || entry.key > 0xFFFF)
            return false;
        entry.name = object.value(QLatin1String("name")).toString();
        entries.append(entry);
    }
    config.calibrations = entries;
    return true;
}

bool set_tristimulus(tristimulus &light, const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    tristimulus parsed;
    if (!value.isObject() || !to_double(object.value(QLatin1String("X")), &parsed.X)
        || !to_double(object.value(QLatin1String("Y")), &parsed.Y)
        || !to_double(object.value(QLatin1String("Z")), &parsed.Z))
        return false;
    light = parsed;
    return true;
}

bool set_call_failures(instrument_config &config, const QJsonValue &value)
{
    if (!value.isArray())
        return false;
    QList<call_failure> failures;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject object = item.toObject();
        call_failure failure;
        failure.call = object.value(QLatin1String("call")).toString();
        if (!item.isObject() || failure.call.isEmpty() || !to_int(object.value(QLatin1String("code")), &failure.code))
            return false;
        if (object.contains(QLatin1String("times")) && !to_int(object.value(QLatin1String("times")), &failure.times))
            return false;
        failures.append(failure);
    }
    config.callFailures = failures;
    return true;
}

bool set_loss(instrument_config &config, const QJsonValue &value)
{
    if (value.isNull()) {
        config.loss = device_loss();
        return true;
    }
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    device_loss loss;
    loss.armed = true;
    loss.call = object.value(QLatin1String("call")).toString();
    const QJsonValue after = object.value(QLatin1String("after"));
    const QJsonValue code = object.value(QLatin1String("code"));
    const QJsonValue foundAgain = object.value(QLatin1String("found_again"));
    if ((!after.isUndefined() && !to_int(after, &loss.after)) || (!code.isUndefined() && !to_int(code, &loss.code))
        || (!foundAgain.isUndefined() && !foundAgain.isBool()))
        return false;
    loss.foundAgain = foundAgain.toBool(true);
    config.loss = loss;
    return true;
}

bool set_family(instrument_config &config, const QJsonValue &value)
{
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        config.family.insert(it.key(), it.value());
    return true;
}

bool set_selector(instrument_config &config, const QJsonValue &value)
{
    if (!value.isString() || selector_position(value.toString()) < 0)
        return false;
    config.selector = value.toString();
    return true;
}

bool set_placements(instrument_config &config, const QJsonValue &value)
{
    if (!value.isArray())
        return false;
    QStringList keys;
    for (const QJsonValue &key : value.toArray()) {
        if (!key.isString())
            return false;
        keys << key.toString();
    }
    config.placements = keys;
    return true;
}

bool set_seed(instrument_config &config, const QJsonValue &value)
{
    int seed = 0;
    if (!to_int(value, &seed) || seed < 0)
        return false;
    config.noiseSeed = quint64(seed);
    return true;
}

const config_key kKeys[] = {
    {"display", string_field(&instrument_config::display)},
    {"placements", set_placements},
    {"light_folder", string_field(&instrument_config::lightFolder)},
    {"time_scale", double_field(&instrument_config::timeScale)},
    {"device_count", int_field(&instrument_config::deviceCount)},
    {"serial", string_field(&instrument_config::serial)},
    {"firmware", string_field(&instrument_config::firmware)},
    {"product", string_field(&instrument_config::product)},
    {"maker_branded", bool_field(&instrument_config::makerBranded)},
    {"calibrations", set_calibrations},
    {"selector", set_selector},
    {"covered", bool_field(&instrument_config::covered)},
    {"stray_light", [](instrument_config &c, const QJsonValue &v) { return set_tristimulus(c.strayLight, v); }},
    {"ambient_lux", double_field(&instrument_config::ambientLux)},
    {"ambient_x", double_field(&instrument_config::ambientX)},
    {"ambient_y", double_field(&instrument_config::ambientY)},
    {"noise_seed", set_seed},
    {"noise_relative", double_field(&instrument_config::noiseRelative)},
    {"noise_absolute", double_field(&instrument_config::noiseAbsolute)},
    {"low_light_floor", double_field(&instrument_config::lowLightFloor)},
    {"resolution", double_field(&instrument_config::resolution)},
    {"integration_seconds", double_field(&instrument_config::integrationSeconds)},
    {"open_fails", bool_field(&instrument_config::openFails)},
    {"calibration_fails", bool_field(&instrument_config::calibrationFails)},
    {"measure_failures", int_field(&instrument_config::measureFailures)},
    {"failure_code", int_field(&instrument_config::failureCode)},
    {"fail_calls", set_call_failures},
    {"lose_device", set_loss},
    {"family", set_family},
};

const char *const kSelectorNames[] = {"display", "calibration", "fourth", "ambient"};

} // namespace

bool merge_config(instrument_config &config, const QJsonObject &json, QString *error)
{
    instrument_config merged = config;
    for (auto it = json.begin(); it != json.end(); ++it) {
        const config_key *found = nullptr;
        for (const config_key &key : kKeys) {
            if (it.key() == QLatin1String(key.name))
                found = &key;
        }
        if (!found) {
            *error = QStringLiteral("unknown key \"%1\"").arg(it.key());
            return false;
        }
        if (!found->apply(merged, it.value())) {
            *error = QStringLiteral("bad value for \"%1\"").arg(it.key());
            return false;
        }
    }
    config = merged;
    return true;
}

int selector_position(const QString &name)
{
    for (int i = 0; i < int(sizeof kSelectorNames / sizeof kSelectorNames[0]); ++i) {
        if (name == QLatin1String(kSelectorNames[i]))
            return i;
    }
    return -1;
}

} // namespace sim_instrument
