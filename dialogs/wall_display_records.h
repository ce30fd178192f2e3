#pragma once

#include "app/controller/display_layout_item.h"
#include "colour/CAdjustValue.h"

#include <QList>

class CMonitorTracker;
class layout_manager;

// One display of the wall as the information dialog, its report and the
// diagnostics file see it: its layout item (when the index could be read)
// and a copy of its calibration record (when the store holds one).
struct wall_display
{
    bool readable = false;
    display_layout_item item;
    bool has_record = false;
    CAdjustValue record; // the store's default record when has_record is false
};

// Every index of |layout| in order, each with its record copied out of |records|.
QList<wall_display> read_wall_displays(const layout_manager &layout, const CMonitorTracker &records);

// What a record says of its display.
bool is_calibrated(const CAdjustValue &record);
bool is_measured(const CAdjustValue &record);
