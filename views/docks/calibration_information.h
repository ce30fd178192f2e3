#pragma once

#include "colour/colour_values.h"

#include <QString>

class CAdjustValue;
class CTargetValue;

// What the Display Measurements dock shows of one display against the
// target, worked out from its record without a widget.
struct calibration_information
{
    bool has_record = false;
    bool calibrated_available = false;   // the record has a calibration date
    bool uncalibrated_available = false; // the record has a measurement date

    // The intensity meter.
    double meter_minimum = 0.0;
    double meter_maximum = 0.0;
    double target_level = 0.0;
    bool show_target_level = false;
    bool level_uses_offset = false;

    // The white point target.
    double target_x = 0.0;
    double target_y = 0.0;
    bool xy_uses_offset = false;

    CCIEXYZ white_before_calibration;
    CCIEXYZ white_after_calibration;
};

// |record| is null when the display has none.
calibration_information calibration_information_for(const CAdjustValue *record, const CTargetValue &target);

// The tooltips of the meter and the xy picture: empty unless there is a target
// to show; the offset picture first when the display's target is offset.
QString target_level_tooltip(double level, bool show, bool uses_offset);
QString target_xy_tooltip(double x, double y, bool uses_offset);

// The labels over the meter and the xy picture; both empty without light.
struct measured_white_labels
{
    QString luminance;
    QString xy;
};
measured_white_labels measured_white_labels_for(double x, double y, double Y);

// Radio ids of the dock's two choices.
enum calibration_information_choice { kShowUncalibrated = 0, kShowCalibrated = 1 };

// Which choice to click so that the one shown is available: the only
// available one when the other is not; -1 to leave the choice.
int corrected_choice(bool calibrated_enabled, bool calibrated_checked, bool uncalibrated_enabled,
                     bool uncalibrated_checked);
