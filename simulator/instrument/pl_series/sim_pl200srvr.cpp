// The simulated PL-series probe server: the object model of
// pl200srvr_api.h over the shared simulated instrument core. The probe
// reads the light of the display it sits on; a covered probe reads dark.
//
// Each member's visit is logged as "<get|put|call> <object>.<member>", with
// the objects named PL200 (the server object), IPl, Probes, Probe and
// Memory; "create PL200", "advise <object>", "release <object>" and "raise
// IPl" (an exception from the server's own thread) complete the log. An
// injected fault makes the member raise an exception with the fault's code
// as the server code; the core's open, calibration and measurement faults
// hit AutoConnect, CalZero and Measure.

#include "sensors/pl200srvr_api.h"
#include "simulator/instrument/family_instrument.h"
#include "simulator/instrument/pl_series/sim_pl200srvr_control.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <cmath>
#include <cstring>
#include <thread>

using sim_instrument::call_role;
using sim_instrument::logged_call;

enum class object_kind { server, instrument, probes, probe, memory };

struct plsrvObject
{
    explicit plsrvObject(object_kind objectKind) : kind(objectKind) {}

    const object_kind kind;
    // Held while the handler runs, so that advising and releasing wait for it.
    QMutex handlerMutex;
    plsrvExceptionHandler handler = nullptr;
    void *context = nullptr;
};

namespace {

const char kClassId[] = "{006b0650-af9a-4ee1-b18f-b5740004d7ce}";
const char kSource[] = "PL200Srvr";
const char *const kKindNames[] = {"PL200", "IPl", "Probes", "Probe", "Memory"};
constexpr double kNoValue = -1.0;
// No member takes more; a longer list is logged in part.
constexpr int32_t kLoggedArguments = 16;

QMutex g_objectsMutex;
QSet<plsrvObject *> g_objects;

// The first probe's values after the last measurement.
struct probe_values
{
    double Lv = kNoValue;
    double sx = kNoValue;
    double sy = kNoValue;
    double T = kNoValue;
    double duv = kNoValue;
};

QMutex g_valuesMutex;
probe_values g_values;

QString kind_name(const plsrvObject *object)
{
    return object ? QLatin1String(kKindNames[int(object->kind)]) : QStringLiteral("?");
}

plsrvObject *new_object(object_kind kind)
{
    auto *object = new plsrvObject(kind);
    QMutexLocker lock(&g_objectsMutex);
    g_objects.insert(object);
    return object;
}

bool is_live(plsrvObject *object)
{
    QMutexLocker lock(&g_objectsMutex);
    return g_objects.contains(object);
}

// Calls the object's handler, if any; true when there was one.
bool raise(plsrvObject *object, uint32_t code)
{
    const QByteArray description = QStringLiteral("PL200Srvr error 0x%1").arg(code, 8, 16, QLatin1Char('0')).toUtf8();
    QMutexLocker lock(&object->handlerMutex);
    if (!object->handler)
        return false;
    object->handler(object->context, code, kSource, description.constData(), "");
    return true;
}

void clear(plsrvValue *value)
{
    std::memset(value, 0, sizeof *value);
}

void set_integer(plsrvValue *value, int integer)
{
    value->type = PLSRV_INTEGER;
    value->integer = integer;
}

void set_real(plsrvValue *value, double real)
{
    value->type = PLSRV_REAL;
    value->real = real;
}

void set_text(plsrvValue *value, const QString &text)
{
    const QByteArray bytes = text.toUtf8().left(PLSRV_TEXT_SIZE - 1);
    value->type = PLSRV_TEXT;
    std::memcpy(value->text, bytes.constData(), size_t(bytes.size()));
    value->text[bytes.size()] = '\0';
}

void set_object(plsrvValue *value, object_kind kind)
{
    value->type = PLSRV_OBJECT;
    value->object = new_object(kind);
}

bool is_number(const plsrvValue &value)
{
    return value.type == PLSRV_INTEGER || value.type == PLSRV_REAL;
}

double number_of(const plsrvValue &value)
{
    return value.type == PLSRV_INTEGER ? value.integer : value.real;
}

QJsonValue to_json(const plsrvValue &value)
{
    switch (value.type) {
    case PLSRV_INTEGER:
        return value.integer;
    case PLSRV_REAL:
        return value.real;
    case PLSRV_TEXT:
        return QString::fromUtf8(value.text, int(qstrnlen(value.text, PLSRV_TEXT_SIZE)));
    case PLSRV_OBJECT:
        return QStringLiteral("<%1>").arg(kind_name(value.object));
    default:
        return QJsonValue();
    }
}

// Correlated colour temperature (McCamy) and the distance from the Planckian
// locus in CIE 1960 uv (Ohno's polynomial): close enough for a simulation.
double colour_temperature(double x, double y)
{
    const double n = (x - 0.3320) / (0.1858 - y);
    return ((449.0 * n + 3525.0) * n + 6823.3) * n + 5520.33;
}

double distance_from_locus(double x, double y)
{
    const double denominator = -2.0 * x + 12.0 * y + 3.0;
    const double u = 4.0 * x / denominator;
    const double v = 6.0 * y / denominator;
    const double length = std::hypot(u - 0.292, v - 0.24);
    const double a = std::acos((u - 0.292) / length);
    const double k[] = {-0.471106, 1.925865, -2.4243787, 1.5317403, -0.5179722, 0.0893944, -0.00616793};
    double locus = 0.0;
    for (int i = 6; i >= 0; --i)
        locus = locus * a + k[i];
    return length - locus;
}

probe_values values_of(const sim_instrument::tristimulus &light)
{
    probe_values values;
    // A probe reports no negative luminance.
    values.Lv = std::max(light.Y, 0.0);
    const double sum = light.X + light.Y + light.Z;
    if (!(sum > 0.0) || light.Y <= 0.0)
        return values;
    values.sx = light.X / sum;
    values.sy = light.Y / sum;
    const double T = colour_temperature(values.sx, values.sy);
    const double duv = distance_from_locus(values.sx, values.sy);
    values.T = std::isfinite(T) ? T : kNoValue;
    values.duv = std::isfinite(duv) ? duv : kNoValue;
    return values;
}

probe_values current_values()
{
    QMutexLocker lock(&g_valuesMutex);
    return g_values;
}

void store_values(const probe_values &values)
{
    QMutexLocker lock(&g_valuesMutex);
    g_values = values;
}

// What each member does; |args| holds the member's argument count.
using member_body = int32_t (*)(const plsrvValue *args, plsrvValue *result);

enum class verb { get, put, call };
const char *const kVerbNames[] = {"get", "put", "call"};

struct member
{
    object_kind owner;
    verb how;
    const char *name;
    call_role role;
    int argCount;
    member_body body;
};

int32_t integer_setting(const plsrvValue *args, plsrvValue *)
{
    return args[0].type == PLSRV_INTEGER ? PLSRV_OK : PLSRV_E_ARGUMENTS;
}

int32_t real_value(double probe_values::*field, plsrvValue *result)
{
    set_real(result, current_values().*field);
    return PLSRV_OK;
}

const member kMembers[] = {
    {object_kind::server, verb::call, "AutoConnect", call_role::open, 0,
     [](const plsrvValue *, plsrvValue *) {
         family_instrument().initialise();
         store_values(probe_values());
         return int32_t(PLSRV_OK);
     }},
    {object_kind::server, verb::get, "SinglePl", call_role::enumerate, 0,
     [](const plsrvValue *, plsrvValue *result) {
         if (family_instrument().initialised() && family_instrument().device_count() > 0)
             set_object(result, object_kind::instrument);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::instrument, verb::get, "Number", call_role::enumerate, 0,
     [](const plsrvValue *, plsrvValue *result) {
         set_integer(result, family_instrument().initialised() ? family_instrument().device_count() : 0);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::instrument, verb::get, "PLType", call_role::device, 0,
     [](const plsrvValue *, plsrvValue *result) {
         set_text(result, family_instrument().config().product);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::instrument, verb::get, "OutputProbes", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) {
         set_object(result, object_kind::probes);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::instrument, verb::get, "Memory", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) {
         set_object(result, object_kind::memory);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::instrument, verb::put, "AveragingMode", call_role::device, 1, integer_setting},
    {object_kind::instrument, verb::put, "SyncMode", call_role::device, 1, integer_setting},
    {object_kind::instrument, verb::put, "DisplayMode", call_role::device, 1, integer_setting},
    {object_kind::instrument, verb::put, "DisplayDigits", call_role::device, 1, integer_setting},
    {object_kind::instrument, verb::put, "RemoteMode", call_role::device, 1, integer_setting},
    {object_kind::instrument, verb::call, "SetAnalogRange", call_role::device, 2,
     [](const plsrvValue *args, plsrvValue *) {
         return is_number(args[0]) && is_number(args[1]) && number_of(args[0]) > 0.0 && number_of(args[1]) > 0.0
                    ? int32_t(PLSRV_OK)
                    : int32_t(PLSRV_E_ARGUMENTS);
     }},
    {object_kind::instrument, verb::call, "CalZero", call_role::calibrate, 0,
     [](const plsrvValue *, plsrvValue *) { return int32_t(PLSRV_OK); }},
    {object_kind::instrument, verb::call, "Measure", call_role::measure, 1,
     [](const plsrvValue *args, plsrvValue *) {
         if (args[0].type != PLSRV_INTEGER)
             return int32_t(PLSRV_E_ARGUMENTS);
         const sim_instrument::tristimulus light = family_instrument().measure_emission();
         const bool noValue = family_instrument().config().family.value(QLatin1String("no_value")).toBool();
         store_values(noValue ? probe_values() : values_of(light));
         return int32_t(PLSRV_OK);
     }},
    {object_kind::probes, verb::call, "Item", call_role::library, 1,
     [](const plsrvValue *args, plsrvValue *result) {
         if (args[0].type != PLSRV_TEXT || qstrnlen(args[0].text, PLSRV_TEXT_SIZE) >= PLSRV_TEXT_SIZE)
             return int32_t(PLSRV_E_ARGUMENTS);
         const QString name = QString::fromUtf8(args[0].text);
         const QJsonArray probes = family_instrument().config().family.value(QLatin1String("probes")).toArray();
         if (probes.toVariantList().contains(QVariant(name)))
             set_object(result, object_kind::probe);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::probe, verb::get, "SerialNO", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) {
         set_text(result, family_instrument().config().serial);
         return int32_t(PLSRV_OK);
     }},
    {object_kind::probe, verb::get, "Lv", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) { return real_value(&probe_values::Lv, result); }},
    {object_kind::probe, verb::get, "sx", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) { return real_value(&probe_values::sx, result); }},
    {object_kind::probe, verb::get, "sy", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) { return real_value(&probe_values::sy, result); }},
    {object_kind::probe, verb::get, "T", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) { return real_value(&probe_values::T, result); }},
    {object_kind::probe, verb::get, "duv", call_role::library, 0,
     [](const plsrvValue *, plsrvValue *result) { return real_value(&probe_values::duv, result); }},
    {object_kind::memory, verb::put, "ChannelNO", call_role::device, 1, integer_setting},
};

// Member names compare without regard to case, as an automation server's do.
const member *find_member(object_kind owner, verb how, const char *name)
{
    for (const member &candidate : kMembers) {
        if (candidate.owner == owner && candidate.how == how && qstricmp(candidate.name, name) == 0)
            return &candidate;
    }
    return nullptr;
}

int32_t dispatch(verb how, plsrvObject *object, const char *name, const plsrvValue *args, int32_t count,
                 plsrvValue *result)
{
    plsrvValue local;
    plsrvValue *out = result ? result : &local;
    clear(out);
    const bool live = is_live(object);
    const QByteArray callName = QStringLiteral("%1 %2.%3")
                                    .arg(QLatin1String(kVerbNames[int(how)]), live ? kind_name(object) : QStringLiteral("?"),
                                         QString::fromUtf8(name ? name : ""))
                                    .toUtf8();
    QJsonArray jsonArgs;
    for (int32_t i = 0; args && i < count && i < kLoggedArguments; ++i)
        jsonArgs.append(to_json(args[i]));
    const member *found = live && name ? find_member(object->kind, how, name) : nullptr;
    logged_call call(callName.constData(), found ? found->role : call_role::library, jsonArgs);
    if (!found)
        return call.finish(live ? PLSRV_E_UNKNOWN_NAME : PLSRV_E_ARGUMENTS);
    if (count != found->argCount || (count > 0 && !args))
        return call.finish(PLSRV_E_ARGUMENTS);
    if (call.fault() != 0) {
        raise(object, uint32_t(call.fault()));
        return call.finish(PLSRV_E_EXCEPTION);
    }
    const int32_t status = found->body(args, out);
    const QJsonValue outValue = to_json(*out);
    if (!result && local.type == PLSRV_OBJECT)
        plsrvRelease(local.object);
    return call.finish(status, outValue.isNull() ? QJsonArray() : QJsonArray{outValue});
}

} // namespace

// Family settings: "no_value", every measurement ends without a value (all
// -1), as when the light is out of the probe's range; "probes", the names of
// the probes attached to the instrument.
const char kFamilyDefaults[] = R"({
    "serial": "21012345",
    "product": "PL-210",
    "firmware": "1.00",
    "family": {"no_value": false, "probes": ["P1"]}
})";

SIM_EXPORT plsrvObject *plsrvCreateObject(const char *classId)
{
    logged_call call("create PL200", call_role::session, {QString::fromUtf8(classId ? classId : "")});
    if (call.fault() != 0 || !classId || qstricmp(classId, kClassId) != 0) {
        call.finish(PLSRV_E_FAILED);
        return nullptr;
    }
    call.finish(PLSRV_OK);
    return new_object(object_kind::server);
}

SIM_EXPORT void plsrvRelease(plsrvObject *object)
{
    const bool live = is_live(object);
    logged_call call(qPrintable(QStringLiteral("release ") + (live ? kind_name(object) : QStringLiteral("?"))),
                     call_role::library);
    {
        QMutexLocker lock(&g_objectsMutex);
        if (!g_objects.remove(object)) {
            call.finish(PLSRV_E_ARGUMENTS);
            return;
        }
    }
    {
        // A handler call still running ends first.
        QMutexLocker wait(&object->handlerMutex);
    }
    if (object->kind == object_kind::server)
        family_instrument().shut_down();
    delete object;
    call.finish(PLSRV_OK);
}

SIM_EXPORT int32_t plsrvAdvise(plsrvObject *object, plsrvExceptionHandler handler, void *context)
{
    const bool live = is_live(object);
    logged_call call(qPrintable(QStringLiteral("advise ") + (live ? kind_name(object) : QStringLiteral("?"))),
                     call_role::library, {handler != nullptr});
    if (!live)
        return call.finish(PLSRV_E_ARGUMENTS);
    if (call.fault() != 0)
        return call.finish(PLSRV_E_FAILED);
    QMutexLocker lock(&object->handlerMutex);
    object->handler = handler;
    object->context = handler ? context : nullptr;
    return call.finish(PLSRV_OK);
}

SIM_EXPORT int32_t plsrvGetProperty(plsrvObject *object, const char *name, plsrvValue *value)
{
    if (!value)
        return PLSRV_E_ARGUMENTS;
    return dispatch(verb::get, object, name, nullptr, 0, value);
}

SIM_EXPORT int32_t plsrvPutProperty(plsrvObject *object, const char *name, const plsrvValue *value)
{
    return dispatch(verb::put, object, name, value, value ? 1 : 0, nullptr);
}

SIM_EXPORT int32_t plsrvInvoke(plsrvObject *object, const char *method, const plsrvValue *args, int32_t argCount,
                               plsrvValue *result)
{
    return dispatch(verb::call, object, method, args, argCount, result);
}

SIM_EXPORT int32_t plsrvSimRaiseException(uint32_t code)
{
    int32_t reached = 0;
    std::thread server([code, &reached] {
        logged_call call("raise IPl", call_role::library, {qint64(code)});
        QMutexLocker lock(&g_objectsMutex);
        for (plsrvObject *object : qAsConst(g_objects)) {
            if (object->kind == object_kind::instrument && raise(object, code))
                ++reached;
        }
        call.finish(reached);
    });
    server.join();
    return reached;
}
