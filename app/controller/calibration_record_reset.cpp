#include "app/controller/calibration_record_reset.h"

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"

namespace {

constexpr qint16 kTrimBitsSurvivingInitialize = CAdjustValue::kTrimUniformityLevel | CAdjustValue::kTrimCorners;

void forget_calibration(CAdjustValue &record)
{
    record.SetCalibrationDateTime(QDateTime());
    record.calibrated = false;
    record.operating_hours_calibrated = 0.0;
    record.sensor_name.clear();
    record.sensor_serial_number.clear();
    record.calibration_duration = 0;
    record.video_input = 0;
    record.software_build = 0;
    record.measurements.uncorrected = CColorValue::Patches();
    record.measurements.corrected = CColorValue::Patches();
    record.measurements.uncorrected_greyscale.clear();
    record.measurements.corrected_greyscale.clear();
}

void forget_measurements(CAdjustValue &record)
{
    record.measurements.native = CColorValue::Patches();
    record.measurements.measurement_date_time = QDateTime();
}

} // namespace

void reset_calibration_results(CAdjustValue &record, const calibration_reset &variant)
{
    if (variant.forget_calibration)
        forget_calibration(record);
    if (variant.forget_measurements)
        forget_measurements(record);
    if (variant.trim == calibration_reset::mask_trim_word)
        record.visual_trim_flags &= kTrimBitsSurvivingInitialize;
    if (variant.zero_gains)
        record.gain = {{0.0, 0.0, 0.0}};
}

void reset_calibration_records(const layout_manager &layout, CMonitorTracker &records, const QList<int> &indexes,
                               const calibration_reset &variant)
{
    for (int index : indexes) {
        display_layout_item item;
        if (layout.get_item(index, item) != 0)
            continue;
        monitor_tracker_item record(item.model_name, item.serial_number);
        if (records.GetAdjustValue(record) < 0)
            continue;
        reset_calibration_results(record, variant);
        records.SetAdjustValue(record);
    }
}
