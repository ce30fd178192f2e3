#pragma once

#include <QString>
#include <QStringList>

// What differs between display generations: the model names of the older
// generation, which speak the older input-source and schedule codes, and the
// code translations between the application's codes and each generation's.
namespace basic_monitor_models {

enum translation : int {
    kAppToOlderInput = 0,           // A
    kOlderInputToApp,               // B
    kOlderScheduleInputToApp,       // C
    kAppToOlderScheduleInput,       // D
    kAppToExtendedScheduleInput,    // E
    kExtendedScheduleInputToApp,    // F
    kAppToExtendedMode,             // G
    kExtendedModeToApp,             // H
};

// |value| through the table; a value the table does not list gives the
// table's default.
int translate(translation table, int value);

// The model names of the older generation (compared case-sensitively and whole).
const QStringList &fixed_list_models();
bool is_fixed_list_name(const QString &model);

} // namespace basic_monitor_models
