#include "jobs/listed_engine_models.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace {

// The program's table: model families the capability check passes at once.
listed_engine_model_table program_table()
{
    listed_engine_model_table table;
    table.prefixes = QStringList {QStringLiteral("KX-"), QStringLiteral("KM-"), QStringLiteral("LS-")};
    table.letter = QStringLiteral("T");
    table.excluded_prefixes = QStringList {QStringLiteral("TW-"), QStringLiteral("TQ-"), QStringLiteral("TV-")};
    return table;
}

struct table_slot
{
    QMutex mutex;
    listed_engine_model_table table = program_table();
};

table_slot &slot()
{
    static table_slot instance;
    return instance;
}

bool begins_with_any(const QString &name, const QStringList &prefixes)
{
    return std::any_of(prefixes.cbegin(), prefixes.cend(), [&name](const QString &prefix) {
        return !prefix.isEmpty() && name.startsWith(prefix, Qt::CaseInsensitive);
    });
}

} // namespace

listed_engine_model_table listed_engine_models()
{
    QMutexLocker lock(&slot().mutex);
    return slot().table;
}

listed_engine_model_table replace_listed_engine_models(const listed_engine_model_table &table)
{
    QMutexLocker lock(&slot().mutex);
    listed_engine_model_table previous = slot().table;
    slot().table = table;
    return previous;
}

bool is_listed_engine_model(const QString &model_name)
{
    const listed_engine_model_table table = listed_engine_models();
    if (begins_with_any(model_name, table.prefixes))
        return true;
    return !table.letter.isEmpty() && model_name.startsWith(table.letter, Qt::CaseInsensitive)
           && !begins_with_any(model_name, table.excluded_prefixes);
}
