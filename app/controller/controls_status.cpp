#include "app/controller/controls_status.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"

controls_status evaluate_controls_status(layout_manager &layout, const CMonitorTracker &records,
                                         int selected_index)
{
    controls_status status;
    display_layout_item selected;
    status.selected_on_rs232 = layout.get_item(selected_index, selected) == 0
                               && selected.connection_type == display_layout_item::kRs232;
    status.several_displays = layout.item_count() > 1;

    for (int index = 0; index < layout.item_count(); ++index) {
        display_layout_item item;
        if (layout.get_item(index, item) != 0)
            continue;
        status.any_enabled |= item.enabled;
        CAdjustValue record;
        if (!look_up_display_record(records, item, record))
            continue;
        const bool is_selected = index == selected_index;
        const bool calibrated = !record.GetCalibrationDateTime().isNull();
        const bool measured = !record.measurements.measurement_date_time.isNull();
        status.selected_has_record |= is_selected;
        status.any_calibrated |= calibrated;
        status.selected_calibrated |= is_selected && calibrated;
        status.any_measured |= measured;
        status.selected_measured |= is_selected && measured;
    }
    status.any_uniformity_capable = !layout.get_display_indexes_with_record_flag(false, true).isEmpty();
    return status;
}
