#pragma once

#include "colour/CAdjustValue.h"
#include "colour/colour_values.h"

#include <QString>

class CTargetValue;

// The calibration target offset dialog without its widgets: the target it
// starts from, what a display's record offers, the texts of the modified
// target, the offsets a measurement or the visual trim gives, and what OK
// does with the record.
namespace target_offset_rules {

// The modified white point stays within these bounds.
constexpr double kMinimumX = 0.25;
constexpr double kMaximumX = 0.48;
constexpr double kMinimumY = 0.25;
constexpr double kMaximumY = 0.43;

// The common target as the dialog offsets it; |luminance| is -1 when the
// target names no luminance (maximum possible intensity). Without a white
// chromaticity (the native white) the offset keeps its own bounds.
struct target_point
{
    double x = 0.0;
    double y = 0.0;
    double luminance = -1.0;
    bool has_white = true;
};
constexpr double kNoWhiteOffsetLimit = 0.05;
target_point target_point_of(const CTargetValue &target);

struct offset_range
{
    double minimum = 0.0;
    double maximum = 0.0;
};
offset_range x_offset_range(const target_point &target);
offset_range y_offset_range(const target_point &target);

// The offset as the dialog's boxes hold it.
struct offset_values
{
    bool enabled = false;
    double dx = 0.0;        // CIE x
    double dy = 0.0;        // CIE y
    double percent = 100.0; // of the target luminance
};

// The visual trim an engine calibration left in the record, as far as it can
// become an offset: the trimmed white (thousandths) and luminance (cd/m²).
struct visual_trim
{
    bool has_x = false;
    bool has_y = false;
    bool has_luminance = false;
    int x = 0;
    int y = 0;
    double luminance = 0.0;

    bool any() const { return has_x || has_y || has_luminance; }
};

// What a display's record offers the dialog when it opens.
struct record_offer
{
    offset_values offset;
    bool calibrated = false;
    bool shows_calibrated_white = false; // the test pattern can be shown
    visual_trim trim;
};
// |record| null: the display has none.
record_offer offer_of(const CAdjustValue *record);

// "%L1 K (%L2 Δ uv)" of the white at (x, y); "-" without a colour
// temperature.
QString black_body_text(double x, double y);
// The luminance |percent| of |target| gives; "-" without a target luminance.
QString modified_luminance_text(double percent, const target_point &target);

// The offset that brings the target to the measured light; the percentage
// only with a target luminance, else kept from |current|.
offset_values offset_from_measurement(const CCIEXYZ &measured, const target_point &target,
                                      const offset_values &current);
// The offset that puts the visual trim into the target; enabled.
offset_values offset_from_visual_trim(const visual_trim &trim, const target_point &target);

// The offset as the record keeps it: thousandths and a factor. An enabled
// offset that changes nothing is kept disabled.
struct stored_offset
{
    bool enabled = false;
    qint16 dx = 0;
    qint16 dy = 0;
    double factor = 1.0;
};
stored_offset stored_offset_of(const offset_values &values);

enum class ok_decision {
    unchanged, // nothing is written
    store,     // |record| is written
    ask,       // |record| is written only when the operator accepts recalibrating
};
struct ok_plan
{
    ok_decision decision = ok_decision::unchanged;
    CAdjustValue record; // with the offset, the folded trim or the reset
};
// What OK does with the display's |stored| record. An offset taken from the
// visual trim folds that trim into it; a changed offset on a calibrated
// display resets its calibration, so the operator is asked.
ok_plan plan_ok(const CAdjustValue &stored, const offset_values &values, bool from_visual_trim);

} // namespace target_offset_rules
