#pragma once

#include "colour/calibration_history_item.h"

#include <QList>

// What a display's own calibration history says is in force, for one kind
// of reference (colour calibration, uniformity): the history is walked from
// its newest entry to the first entry of one of |user_kinds| (an update by
// the user) or |factory_kinds|. Any other event ("another event", 99) passed
// on the way shows the display's factory reference still stands; with
// neither the state cannot be told.
struct history_scan_result
{
    enum state { kUndetermined, kUser, kFactory };

    state found = kUndetermined;
    calibration_history_item entry; // the entry that decided (kUser, or kFactory by its entry)
};

history_scan_result scan_calibration_history(const QList<calibration_history_item> &history,
                                             const QList<quint8> &user_kinds, const QList<quint8> &factory_kinds);
