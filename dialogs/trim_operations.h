#pragma once

#include "jobs/job_list_item.h"

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// The Actions dock's operations on the display selected in the wall view
// that run through a dialog of their own.

// Runs display jobs and returns when they have ended.
using display_jobs_runner = std::function<void(const job_list_item &, const QList<int> &, const QString &)>;

// The visual trim of the display at |position|: the engine trim dialog for
// a display calibrated through its engine, else the gain trim dialog; after
// an accepted gain trim of a lookup-table calibration that changed the
// trim, the display's tables are written again as a display job.
void run_visual_trim(QWidget *dock, int position, bool evaluate_calibration, const display_jobs_runner &run_jobs);
// The uniformity correction update of the display at |position|.
void run_uniformity_update(QWidget *dock, int position);
