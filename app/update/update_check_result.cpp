#include "app/update/update_check_result.h"

#include "app/update/update_init_info.h"

update_check_result unreachable_update_result(const update_init_info &info)
{
    return {-1, kUpdateServerUnreachable, info.error_message.arg(QString())};
}

update_check_result best_update_result(const QList<update_check_result> &results,
                                       const update_init_info &info)
{
    if (results.isEmpty())
        return unreachable_update_result(info);
    const update_check_result *best = &results.first();
    for (const update_check_result &result : results) {
        if (result.build > best->build)
            best = &result;
    }
    return *best;
}
