#pragma once

#include "jobs/job_list_item.h"

#include <QList>

class CMonitorTracker;
struct display_layout_item;

// The job templates of the control panel's operations of several steps;
// the progress dialog expands each into one job per target display.
namespace page_jobs {

enum lut_kind : int { kNormalLut = 0, kBlackLut = 1, kWhiteLut = 2 };

job_list_item single_task_job(int task);
// Loads the black, white or plain normal lookup table.
job_list_item lut_job(int kind);
// Back to normal video: a calibrated display gets its calibration settings
// restored, any other the plain normal table.
job_list_item normal_lut_job(bool calibrated);
// Whether the display of |item| has a calibration on record: a selected
// display whose record carries a calibration date-time.
bool is_calibrated(const display_layout_item &item, const CMonitorTracker &records);
// Sets each display's clock to the computer's at the moment its job runs.
job_list_item system_clock_job();
job_list_item schedule_job(const QList<schedule_job_entry> &entries, int task);
job_list_item holiday_job(const QList<holiday_job_entry> &entries);
job_list_item weekend_job(quint8 mask);

} // namespace page_jobs
