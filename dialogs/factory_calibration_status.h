#pragma once

#include "colour/calibration_history_item.h"

#include <QList>
#include <QString>

class CMonitorTracker;
class layout_manager;

// One row of the factory colour calibration table: the display's state of
// its internal colour reference and whether it may be updated or reset.
struct factory_status_row
{
    enum eligibility : int { kNotEligible = 0, kFactoryInForce = 1, kUserOrUnknown = 3 };

    int index = 0;           // layout index
    QString status;
    int code = kNotEligible;
    bool undetermined = false;
    bool has_entry = false;  // the user calibration's date and sensor are shown
    calibration_history_item entry;
};

factory_status_row factory_status_row_for(int index, const layout_manager &layout, const CMonitorTracker &records);
QList<factory_status_row> factory_status_rows(const layout_manager &layout, const CMonitorTracker &records);
