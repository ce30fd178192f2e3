#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <initializer_list>

// Reading the simulated instrument's call log, and writing its fault lists.
namespace call_log {

inline QJsonArray args_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("args")).toArray();
}

inline int result_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("result")).toInt();
}

inline QJsonArray out_of(const QJsonValue &call)
{
    return call.toObject().value(QLatin1String("out")).toArray();
}

// The first argument of each call.
inline QList<int> first_args(const QJsonArray &calls)
{
    QList<int> values;
    for (const QJsonValue &call : calls)
        values.append(args_of(call).at(0).toInt());
    return values;
}

// A fault list making |call| answer |code|, |times| times (-1: always).
inline QJsonArray fail(const char *call, int code, int times = -1)
{
    return QJsonArray{QJsonObject{{QStringLiteral("call"), QLatin1String(call)}, {QStringLiteral("code"), code},
                                  {QStringLiteral("times"), times}}};
}

// A calibration list with these keys.
inline QJsonArray calibrations(std::initializer_list<int> keys)
{
    QJsonArray list;
    for (int key : keys)
        list.append(QJsonObject{{QStringLiteral("key"), key}, {QStringLiteral("name"), QStringLiteral("entry %1").arg(key)}});
    return list;
}

} // namespace call_log
