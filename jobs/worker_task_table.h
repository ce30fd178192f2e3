#pragma once

#include <QString>
#include <QtGlobal>

class CPDLANConnectionObject;

// The display worker's dispatch table: which operation carries out each task
// number of a job's task list.
//
// A task operation runs on the job's thread with the worker of the job and
// returns 0 to go on with the next task, or a negative program error code,
// which ends the list and becomes the job's result. It reaches the display,
// the job and the progress reports only through the worker's task interface
// (the public section of CPDLANConnectionObject headed "Task interface").
//
// The tasks of this library are installed from the start; the libraries
// above it that hold other tasks (the calibration) install theirs at
// start-up, before any job runs. JOB_TASK_RESERVED, negative
// numbers and numbers above JOB_TASK_LAST are passed over; a task between
// them without an operation ends its job with JOB_RESULT_TASK_NOT_AVAILABLE.
using worker_task_operation = int (*)(CPDLANConnectionObject &worker);

// Installs (or, with null, removes) the operation of |task|; false for a
// number that is passed over.
bool install_worker_task(qint32 task, worker_task_operation operation);
// The operation of |task|, or null.
worker_task_operation worker_task(qint32 task);
// Whether the worker passes over |task| without running anything.
bool is_passed_over_task(qint32 task);
// The task's name for the operator's messages.
QString worker_task_name(qint32 task);
