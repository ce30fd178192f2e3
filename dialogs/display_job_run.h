#pragma once

#include "jobs/job_list_item.h"

#include <QList>
#include <QString>

// Runs |job| on the displays at |positions| in the modal operation progress
// dialog and returns when it has closed; nothing for an empty list.
void run_display_jobs(const job_list_item &job, const QList<int> &positions, const QString &title);
