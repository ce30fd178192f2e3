#include "sensors/pl_automation_object.h"

#include "sensors/pl_automation_server.h"

#include <QMetaObject>

#include <cstring>
#include <vector>

namespace {

// How many server calls the current thread is inside: an exception that
// arrives while one runs belongs to that call.
thread_local int t_serverCallDepth = 0;

class server_call
{
public:
    server_call() { ++t_serverCallDepth; }
    ~server_call() { --t_serverCallDepth; }
    server_call(const server_call &) = delete;
    server_call &operator=(const server_call &) = delete;
};

// Far more than any member takes.
constexpr int kMaximumArguments = 16;

bool to_value(const QVariant &variant, plsrvValue *value)
{
    std::memset(value, 0, sizeof *value);
    switch (variant.userType()) {
    case QMetaType::Bool:
    case QMetaType::Int:
        value->type = PLSRV_INTEGER;
        value->integer = variant.toInt();
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        value->type = PLSRV_REAL;
        value->real = variant.toDouble();
        return true;
    case QMetaType::QString: {
        const QByteArray text = variant.toString().toUtf8();
        if (text.size() >= PLSRV_TEXT_SIZE)
            return false;
        value->type = PLSRV_TEXT;
        std::memcpy(value->text, text.constData(), size_t(text.size()));
        return true;
    }
    default:
        return false;
    }
}

QVariant to_variant(const plsrvValue &value)
{
    switch (value.type) {
    case PLSRV_INTEGER:
        return value.integer;
    case PLSRV_REAL:
        return value.real;
    case PLSRV_TEXT:
        return QString::fromUtf8(value.text, int(qstrnlen(value.text, PLSRV_TEXT_SIZE)));
    default:
        return QVariant();
    }
}

QString server_text(const char *text)
{
    return text ? QString::fromUtf8(text, int(qstrnlen(text, PLSRV_TEXT_SIZE))) : QString();
}

} // namespace

pl_automation_object::pl_automation_object(pl_automation_server &server, plsrvObject *object, QObject *parent)
    : m_server(server), m_object(object)
{
    // Objects are made on whichever thread uses the driver; they live, and
    // take queued exceptions, on their owner's thread, and move with it.
    if (!parent)
        return;
    if (parent->thread() != thread())
        moveToThread(parent->thread());
    setParent(parent);
}

pl_automation_object *pl_automation_object::create(pl_automation_server &server, const QString &classId,
                                                   QObject *parent)
{
    if (!server.isLoaded())
        return nullptr;
    plsrvObject *object = server.CreateObject(classId.toUtf8().constData());
    return object ? new pl_automation_object(server, object, parent) : nullptr;
}

pl_automation_object::~pl_automation_object()
{
    // Stops the deliveries first: once Advise returns, no handler call that
    // could still reach this object is running.
    m_server.Advise(m_object, nullptr, nullptr);
    m_server.Release(m_object);
}

void pl_automation_object::deliverException(void *context, uint32_t code, const char *source,
                                            const char *description, const char *help)
{
    auto *self = static_cast<pl_automation_object *>(context);
    const int signedCode = int(code);
    const QString sourceText = server_text(source);
    const QString descriptionText = server_text(description);
    const QString helpText = server_text(help);
    if (t_serverCallDepth > 0) {
        emit self->exception(signedCode, sourceText, descriptionText, helpText);
        return;
    }
    QMetaObject::invokeMethod(
        self, [=] { emit self->exception(signedCode, sourceText, descriptionText, helpText); },
        Qt::QueuedConnection);
}

bool pl_automation_object::connectExceptions()
{
    return m_server.Advise(m_object, &pl_automation_object::deliverException, this) == PLSRV_OK;
}

int32_t pl_automation_object::get(const char *name, plsrvValue *value)
{
    std::memset(value, 0, sizeof *value);
    server_call call;
    return m_server.GetProperty(m_object, name, value);
}

int32_t pl_automation_object::invoke(const char *method, const QVariantList &args, plsrvValue *result)
{
    std::memset(result, 0, sizeof *result);
    if (args.size() > kMaximumArguments)
        return PLSRV_E_ARGUMENTS;
    std::vector<plsrvValue> values(size_t(args.size()));
    for (int i = 0; i < args.size(); ++i) {
        if (!to_value(args[i], &values[size_t(i)]))
            return PLSRV_E_ARGUMENTS;
    }
    server_call call;
    return m_server.Invoke(m_object, method, values.data(), int32_t(values.size()), result);
}

void pl_automation_object::dropObject(plsrvValue &value)
{
    if (value.type == PLSRV_OBJECT && value.object)
        m_server.Release(value.object);
    value.object = nullptr;
}

QVariant pl_automation_object::readProperty(const char *name)
{
    plsrvValue value;
    const int32_t result = get(name, &value);
    if (value.type == PLSRV_OBJECT) {
        dropObject(value);
        return QVariant();
    }
    return result == PLSRV_OK ? to_variant(value) : QVariant();
}

bool pl_automation_object::writeProperty(const char *name, const QVariant &value)
{
    plsrvValue converted;
    if (!to_value(value, &converted))
        return false;
    server_call call;
    return m_server.PutProperty(m_object, name, &converted) == PLSRV_OK;
}

bool pl_automation_object::call(const char *method, const QVariantList &args)
{
    plsrvValue result;
    const int32_t status = invoke(method, args, &result);
    dropObject(result);
    return status == PLSRV_OK;
}

pl_automation_object *pl_automation_object::querySubObject(const char *member, const QVariantList &args,
                                                           QObject *parent)
{
    plsrvValue value;
    const int32_t result = args.isEmpty() ? get(member, &value) : invoke(member, args, &value);
    if (result != PLSRV_OK || value.type != PLSRV_OBJECT || !value.object) {
        dropObject(value);
        return nullptr;
    }
    return new pl_automation_object(m_server, value.object, parent);
}
