#pragma once

#include "display_protocol/holiday_program_record.h"
#include "display_protocol/schedule_program_record.h"
#include "jobs/holiday_job_entry.h"
#include "jobs/schedule_job_entry.h"

class CPDLANConnectionObject;

// The display's own timetable as jobs: schedule programs, holidays and
// weekend days. The list tasks write each entry that asks for it and read
// it back, or only read it, into the job's result list; they go on after a
// failing entry and end with the first error met. A stop ends them
// (JOB_RESULT_STOPPED) before the next entry.

// JOB_TASK_SCHEDULE: the basic programs.
int schedule_read_write(CPDLANConnectionObject &worker);
// JOB_TASK_SCHEDULE_BANK_12: the extended programs.
int schedule_read_write_bank_12(CPDLANConnectionObject &worker);
// JOB_TASK_HOLIDAYS.
int process_holidays(CPDLANConnectionObject &worker);
// JOB_TASK_GET_SET_VALUE: reads or writes the weekend days as the job's
// weekend request asks; -1027 when the display refuses.
int get_set_value(CPDLANConnectionObject &worker);

// Between the display's records and the job's entries. The entry keeps its
// program number and its write and clear flags.
holiday_program_record holiday_to_record(const holiday_job_entry &entry);
void holiday_to_entry(const holiday_program_record &record, holiday_job_entry &entry);
schedule_program_record schedule_to_record(const schedule_job_entry &entry);
void schedule_to_entry(const schedule_program_record &record, schedule_job_entry &entry);
