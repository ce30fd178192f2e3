#include "app/update/update_schedule.h"

#include "app/services/preferences.h"
#include "app/update/update_check_result.h"

#include <QDateTime>

bool automatic_update_check_due(const CPreferences &preferences, const QDateTime &now)
{
    if (!preferences.GetAutoCheckForUpdates())
        return false;
    const QDateTime last = preferences.GetLastUpdateCheck();
    return last.isNull() || last.daysTo(now) >= kUpdateCheckIntervalDays;
}

bool record_update_check(CPreferences &preferences, int kind, bool automatic, const QDateTime &now)
{
    if (kind == kUpdateAvailable || kind == kUpdateUpToDate)
        preferences.SetLastUpdateCheck(now);
    return !automatic || kind == kUpdateAvailable;
}
