#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QLatin1String>
#include <QString>

// Reading a simulated instrument's call log, and describing its faults.
namespace call_log {

inline QJsonArray args_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("args")).toArray();
}

inline QJsonArray out_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("out")).toArray();
}

inline int result_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("result")).toInt();
}

// The first argument of each call, in order (option names, for example).
inline QStringList first_args(const QJsonArray &calls)
{
    QStringList firsts;
    for (const QJsonValue &call : calls)
        firsts << args_of(call).at(0).toVariant().toString();
    return firsts;
}

// A "fail_calls" value: |call| answers |code|, |times| times (-1 always).
inline QJsonArray fail(const char *call, int code, int times = -1)
{
    return QJsonArray{QJsonObject{{QStringLiteral("call"), QLatin1String(call)},
                                  {QStringLiteral("code"), code},
                                  {QStringLiteral("times"), times}}};
}

} // namespace call_log
