#include "dialogs/wall_display_records.h"

#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "colour/monitor_tracker_item.h"

QList<wall_display> read_wall_displays(const layout_manager &layout, const CMonitorTracker &records)
{
    QList<wall_display> displays;
    const int count = layout.item_count();
    for (int index = 0; index < count; ++index) {
        wall_display display;
        display.readable = layout.get_item(index, display.item) == 0;
        if (display.readable) {
            monitor_tracker_item key(display.item.model_name, display.item.serial_number);
            display.has_record = records.GetAdjustValue(key) >= 0;
            display.record = key;
        }
        displays.append(display);
    }
    return displays;
}

bool is_calibrated(const CAdjustValue &record)
{
    return !record.GetCalibrationDateTime().isNull();
}

bool is_measured(const CAdjustValue &record)
{
    return !record.measurements.measurement_date_time.isNull();
}
