#pragma once

#include <QList>
#include <QString>

struct update_init_info;

// The kinds of message an update check ends with.
enum update_reply_kind : qint32 {
    kUpdateAvailable = 1,
    kUpdateUpToDate = 2,
    kUpdateServerUnreachable = 3,
};

// What one address answered.
struct update_check_result
{
    qint32 build = -1;
    qint32 kind = kUpdateServerUnreachable;
    QString message;
};

// The result of an address that could not be asked or did not answer
// properly: build -1, so that any answering address wins over it.
update_check_result unreachable_update_result(const update_init_info &info);

// The result a whole batch ends with: the highest build (the first on a tie);
// the unreachable result when no address gave one.
update_check_result best_update_result(const QList<update_check_result> &results,
                                       const update_init_info &info);
