#pragma once

class CPreferences;
class QDateTime;

// The main window's rules around an update check, apart from its widgets.

// Days that must pass after a successful check before the start-up check
// runs again.
constexpr int kUpdateCheckIntervalDays = 14;

// Whether the start-up check runs at |now|: automatic checks are on and no
// check ever succeeded, or the last one lies kUpdateCheckIntervalDays or more
// days back.
bool automatic_update_check_due(const CPreferences &preferences, const QDateTime &now);

// Records a finished check of |kind| (update_reply_kind): an answer from the
// update service (kinds 1 and 2) stores |now| as the last check, a failure
// leaves it. Returns whether the message is shown: always for a check the
// operator started, for an automatic one only when a newer build exists.
bool record_update_check(CPreferences &preferences, int kind, bool automatic, const QDateTime &now);
