#pragma once

#include "control_panel/core/control_row.h"

#include <QList>
#include <QVector>

class basic_monitor;

// What one row read from the display.
struct row_reading
{
    bool reached = false;   // false: the refresh ended before this row
    int status = 0;         // the read's result; meaningful when reached
    int value = 0;          // shown value (scaled); meaningful when status is 0
    int maximum = 0;        // shown maximum: the row's own, else the display's (scaled)
    int minimum = 0;
    bool empty_range = false;   // read, but the display leaves no room to edit it
    bool range_unknown = false; // read, but its range is not: usable, keeping what it shows

    bool usable() const { return reached && status == 0 && !empty_range; }
};

// A page refresh: one reading per row, the status the status line shows
// (when |show_status|) and the row at which the refresh ended (-1: it ran
// to the end).
struct page_reading
{
    QVector<row_reading> rows;
    bool show_status = false;
    int status = 0;
    int ended_at = -1;
};

// Reads |rows| from the display behind |monitor| in order, following each
// row's failure policy. A value the display garbles is kept in range: a
// value above the maximum is clamped to it; a maximum of 0 leaves the row
// unusable without ending the refresh.
page_reading read_control_page(basic_monitor &monitor, const QList<control_row> &rows);

// Reads one row; |reading.status| is the read's result.
row_reading read_control_row(basic_monitor &monitor, const control_row &row);
