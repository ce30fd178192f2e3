#pragma once

#include "jobs/job_list_item.h"
#include "jobs/job_set.h"

#include <QList>

// Runs |set| the one way every dock and dialog runs display jobs: a
// parentless operation progress dialog on this stack, the set added (once,
// or once per display), the jobs started and the dialog run modally. The
// finished jobs come back by job id; nothing runs, and the list is empty,
// when the set holds no display the wall can reach.
QList<job_list_item> run_job_set(const job_set &set);
