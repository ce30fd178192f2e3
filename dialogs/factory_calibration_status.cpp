#include "dialogs/factory_calibration_status.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "dialogs/calibration_history_scan.h"
#include "dialogs/display_availability.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("KQ_update_factory_color_calibration_dialog", text);
}

void set_state_from_history(factory_status_row &row, const CAdjustValue &record)
{
    const history_scan_result scan = scan_calibration_history(
        record.GetCalibrationHistory(),
        {calibration_history_item::kUserCalibration, calibration_history_item::kUserCalibrationAlt},
        {calibration_history_item::kFactoryCalibration});
    switch (scan.found) {
    case history_scan_result::kUser:
        row.status = tr("User Calibration");
        row.code = factory_status_row::kUserOrUnknown;
        row.has_entry = true;
        row.entry = scan.entry;
        break;
    case history_scan_result::kFactory:
        row.status = tr("Factory Calibration");
        row.code = factory_status_row::kFactoryInForce;
        break;
    case history_scan_result::kUndetermined:
        row.status = tr("Unknown");
        row.code = factory_status_row::kUserOrUnknown;
        row.undetermined = true;
        break;
    }
}

} // namespace

factory_status_row factory_status_row_for(int index, const layout_manager &layout, const CMonitorTracker &records)
{
    factory_status_row row;
    row.index = index;
    display_layout_item item;
    if (layout.get_item(index, item) != 0)
        return row;
    row.status = display_unavailable_text(item);
    if (!row.status.isEmpty())
        return row;
    CAdjustValue record;
    if (!look_up_display_record(records, item, record))
        return row;
    if (record.capability_flags == 0) {
        row.status = tr("Not supported");
        return row;
    }
    set_state_from_history(row, record);
    return row;
}

QList<factory_status_row> factory_status_rows(const layout_manager &layout, const CMonitorTracker &records)
{
    QList<factory_status_row> rows;
    for (int index = 0; index < layout.item_count(); ++index)
        rows << factory_status_row_for(index, layout, records);
    return rows;
}
