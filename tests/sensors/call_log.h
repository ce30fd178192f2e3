#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

// Reading a simulated instrument's call log, and writing its fault lists.
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

// The first argument of each call, in order, as a number.
inline QList<int> first_numbers(const QJsonArray &calls)
{
    QList<int> values;
    for (const QJsonValue &call : calls)
        values.append(args_of(call).at(0).toInt());
    return values;
}

// The first argument of each call, in order, as a text (option names, for
// example).
inline QStringList first_texts(const QJsonArray &calls)
{
    QStringList texts;
    for (const QJsonValue &call : calls)
        texts << args_of(call).at(0).toVariant().toString();
    return texts;
}

// A fault list making |call| answer |code|, |times| times (-1: always).
inline QJsonArray fail(const char *call, int code, int times = -1)
{
    return QJsonArray{QJsonObject{{QStringLiteral("call"), QLatin1String(call)}, {QStringLiteral("code"), code},
                                  {QStringLiteral("times"), times}}};
}

// A calibration list with these keys, named by their place in the list
// ("entry 0", ...) so that entries sharing a key can be told apart.
inline QJsonArray calibrations(std::initializer_list<int> keys)
{
    QJsonArray list;
    int index = 0;
    for (int key : keys)
        list.append(QJsonObject{{QStringLiteral("key"), key}, {QStringLiteral("name"), QStringLiteral("entry %1").arg(index++)}});
    return list;
}

} // namespace call_log
