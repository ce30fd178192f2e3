#pragma once

#include "control_panel/core/control_row.h"
#include "jobs/job_list_item.h"

#include <QList>

class basic_monitor;

// Writes |value| to control |code| on the open link, reads back what the
// display kept into |value| and saves the display's settings: the first
// failing step's code, else 0. |value| is unchanged when the write fails.
// |slow_link| gives the write itself the long reply waits.
int write_control(basic_monitor &monitor, int code, uint &value, bool slow_link = false);

// Writes a row's shown |value| to one display on the open link by the row's
// sequence; |value| takes the shown value the display reports back (rows
// whose sequence reads nothing back keep it).
int write_control_row(basic_monitor &monitor, const control_row &row, int &value);

// The job template that writes |list| to each target display (task 13).
job_list_item control_list_job(const QList<vcp_list_item> &list);
// The template that writes one control (a pseudo code's value in its wire
// unit).
job_list_item control_write_job(int code, int value);
