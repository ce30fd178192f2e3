#include "jobs/listed_engine_models.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

namespace {

listed_engine_model_rules program_rules()
{
    listed_engine_model_rules rules;
    rules.prefixes = QStringList{QStringLiteral("QLX-"), QStringLiteral("QMX-"), QStringLiteral("QSE-")};
    rules.letter = QLatin1Char('K');
    rules.excluded_prefixes = QStringList{QStringLiteral("KV-"), QStringLiteral("KW-"), QStringLiteral("KX-")};
    return rules;
}

struct rule_table
{
    QMutex mutex;
    listed_engine_model_rules rules = program_rules();
};

rule_table &table()
{
    static rule_table instance;
    return instance;
}

bool begins_with_any(const QString &name, const QStringList &prefixes)
{
    return std::any_of(prefixes.cbegin(), prefixes.cend(), [&name](const QString &prefix) {
        return name.startsWith(prefix, Qt::CaseInsensitive);
    });
}

} // namespace

listed_engine_model_rules listed_engine_models()
{
    QMutexLocker lock(&table().mutex);
    return table().rules;
}

listed_engine_model_rules set_listed_engine_models(const listed_engine_model_rules &rules)
{
    QMutexLocker lock(&table().mutex);
    listed_engine_model_rules previous = table().rules;
    table().rules = rules;
    return previous;
}

bool is_listed_engine_model(const QString &model_name)
{
    const listed_engine_model_rules rules = listed_engine_models();
    if (begins_with_any(model_name, rules.prefixes))
        return true;
    return !rules.letter.isNull() && model_name.startsWith(rules.letter, Qt::CaseInsensitive)
           && !begins_with_any(model_name, rules.excluded_prefixes);
}
