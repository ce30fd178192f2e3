#include "display_protocol/basic_monitor_models.h"

#include <initializer_list>
#include <utility>

namespace basic_monitor_models {
namespace {

struct table_row
{
    translation table;
    int fallback;
    std::initializer_list<std::pair<int, int>> pairs;
};

const table_row kTables[] = {
    {kAppToOlderInput, 0, {{1, 1}, {2, 2}, {3, 3}, {5, 5}, {7, 7}, {10, 10}, {12, 12}, {13, 13}, {17, 4}}},
    {kOlderInputToApp, 0, {{1, 1}, {2, 2}, {3, 3}, {4, 17}, {5, 5}, {7, 7}, {9, 10}, {10, 10}, {12, 12}, {13, 13}}},
    {kOlderScheduleInputToApp, 0, {{0, 3}, {1, 1}, {2, 2}, {3, 17}, {4, 12}, {5, 5}, {6, 7}, {7, 10}, {8, 10}}},
    {kAppToOlderScheduleInput, 9, {{1, 1}, {2, 2}, {3, 0}, {5, 5}, {7, 6}, {10, 8}, {12, 4}, {17, 3}}},
    {kAppToExtendedScheduleInput, 15,
     {{1, 2}, {2, 3}, {3, 0}, {5, 8}, {6, 9}, {7, 10}, {10, 11}, {12, 5}, {14, 6}, {15, 1}, {17, 4}}},
    {kExtendedScheduleInputToApp, 0,
     {{0, 3}, {1, 15}, {2, 1}, {3, 2}, {4, 17}, {5, 12}, {6, 14}, {8, 5}, {9, 6}, {10, 7}, {11, 10}}},
    {kAppToExtendedMode, 8, {{1, 2}, {3, 0}, {4, 1}, {5, 3}, {6, 4}, {7, 5}, {11, 6}, {12, 7}}},
    {kExtendedModeToApp, 0, {{0, 3}, {1, 4}, {2, 1}, {3, 5}, {4, 6}, {5, 7}, {6, 11}, {7, 12}}},
};

} // namespace

int translate(translation table, int value)
{
    for (const table_row &row : kTables) {
        if (row.table != table)
            continue;
        for (const auto &pair : row.pairs) {
            if (pair.first == value)
                return pair.second;
        }
        return row.fallback;
    }
    return 0;
}

const QStringList &fixed_list_models()
{
    static const QStringList names {
        QStringLiteral("VW-4010C"),  QStringLiteral("VW-4210C"),  QStringLiteral("VW-4600C"),
        QStringLiteral("VW-4610C"),  QStringLiteral("VW-4610CB"), QStringLiteral("VW-4615C"),
        QStringLiteral("VW-5500C"),  QStringLiteral("VW-5510C"),  QStringLiteral("VW-5510CB"),
        QStringLiteral("VW-5515C"),  QStringLiteral("VW-6010C"),  QStringLiteral("VW-6510C"),
    };
    return names;
}

bool is_fixed_list_name(const QString &model)
{
    return fixed_list_models().contains(model, Qt::CaseSensitive);
}

} // namespace basic_monitor_models
