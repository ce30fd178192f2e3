#include "simulated_instrument_control.h"

#include "app/services/library_loader.h"

#include <QJsonDocument>

#include <dlfcn.h>

simulated_instrument_control::simulated_instrument_control(const QString &libraryPath)
{
    const bool bound = load_library_functions(&m_handle, libraryPath,
                                              {library_symbol(m_configure, "sim_instrument_configure"),
                                               library_symbol(m_lastError, "sim_instrument_last_error"),
                                               library_symbol(m_reset, "sim_instrument_reset"),
                                               library_symbol(m_callLog, "sim_instrument_call_log"),
                                               library_symbol(m_clearCallLog, "sim_instrument_clear_call_log")});
    if (!bound && m_handle) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

simulated_instrument_control::~simulated_instrument_control()
{
    if (m_handle)
        dlclose(m_handle);
}

bool simulated_instrument_control::configure(const QJsonObject &settings)
{
    return m_handle && m_configure(QJsonDocument(settings).toJson(QJsonDocument::Compact).constData()) == 0;
}

QString simulated_instrument_control::lastError() const
{
    return m_handle ? QString::fromUtf8(m_lastError()) : QStringLiteral("library not loaded");
}

void simulated_instrument_control::reset()
{
    if (m_handle)
        m_reset();
}

QJsonArray simulated_instrument_control::calls() const
{
    return m_handle ? QJsonDocument::fromJson(m_callLog()).array() : QJsonArray();
}

QStringList simulated_instrument_control::callNames() const
{
    QStringList names;
    for (const QJsonValue &call : calls())
        names.append(call.toObject().value(QLatin1String("call")).toString());
    return names;
}

QJsonArray simulated_instrument_control::callsNamed(const QString &name) const
{
    QJsonArray named;
    for (const QJsonValue &call : calls()) {
        if (call.toObject().value(QLatin1String("call")).toString() == name)
            named.append(call);
    }
    return named;
}

void simulated_instrument_control::clearCalls()
{
    if (m_handle)
        m_clearCallLog();
}
