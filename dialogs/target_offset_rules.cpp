#include "dialogs/target_offset_rules.h"

#include "app/controller/calibration_record_reset.h"
#include "colour/CColorTemperature.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "dialogs/edit_target_rules.h"

namespace target_offset_rules {

namespace {

bool has_luminance(const target_point &target)
{
    return target.luminance > 0.0;
}

// The visual trim only an engine calibration leaves, and its luminance only
// when the engine holds it in cd/m².
visual_trim trim_of(const CAdjustValue &record)
{
    visual_trim trim;
    if (record.engine_calibrated_word == 0)
        return trim;
    const qint16 flags = record.visual_trim_flags;
    trim.has_x = (flags & CAdjustValue::kTrimEngineWhiteX) != 0;
    trim.has_y = (flags & CAdjustValue::kTrimEngineWhiteY) != 0;
    trim.has_luminance = (flags & CAdjustValue::kTrimBacklight) != 0 && record.engine_luminance_flag != 0;
    trim.x = trim.has_x ? record.engine_white_x_visual_trim : 0;
    trim.y = trim.has_y ? record.engine_white_y_visual_trim : 0;
    trim.luminance = trim.has_luminance ? record.backlight_visual_trim : 0.0;
    return trim;
}

// Moves the trim taken over into the offset out of the record's active
// trim; a trim the offset could not take stays.
void fold_trim(CAdjustValue &record)
{
    const visual_trim trim = trim_of(record);
    if (trim.has_x) {
        record.visual_trim_flags &= ~CAdjustValue::kTrimEngineWhiteX;
        record.engine_white_x_visual_trim = 0;
    }
    if (trim.has_y) {
        record.visual_trim_flags &= ~CAdjustValue::kTrimEngineWhiteY;
        record.engine_white_y_visual_trim = 0;
    }
    if (trim.has_luminance) {
        record.visual_trim_flags &= ~CAdjustValue::kTrimBacklight;
        record.backlight_visual_trim = 0;
    }
}

bool offset_differs(const stored_offset &offset, const CAdjustValue &record)
{
    if (offset.enabled != (record.target_offset_enabled != 0))
        return true;
    return offset.enabled
           && (offset.factor != record.target_intensity_offset || offset.dy != record.target_offset_dy
               || offset.dx != record.target_offset_dx);
}

} // namespace

target_point target_point_of(const CTargetValue &target)
{
    target_point point;
    const CColorTemperature white = target.GetWhitePoint();
    point.x = white.GetX();
    point.y = white.GetY();
    point.has_white = !white.IsNative() && point.x > 0.0 && point.y > 0.0;
    const int mode = target.GetIntensityMode();
    if (mode == CTargetValue::kIntensityMaximumMatching || mode == CTargetValue::kIntensitySpecified)
        point.luminance = target.GetIntensity();
    return point;
}

offset_range x_offset_range(const target_point &target)
{
    if (!target.has_white)
        return {-kNoWhiteOffsetLimit, kNoWhiteOffsetLimit};
    return {kMinimumX - target.x, kMaximumX - target.x};
}

offset_range y_offset_range(const target_point &target)
{
    if (!target.has_white)
        return {-kNoWhiteOffsetLimit, kNoWhiteOffsetLimit};
    return {kMinimumY - target.y, kMaximumY - target.y};
}

record_offer offer_of(const CAdjustValue *record)
{
    record_offer offer;
    if (!record)
        return offer;
    offer.offset.enabled = record->target_offset_enabled != 0;
    offer.offset.dx = record->target_offset_dx / 1000.0;
    offer.offset.dy = record->target_offset_dy / 1000.0;
    offer.offset.percent = record->target_intensity_offset * 100.0;
    offer.calibrated = !record->GetCalibrationDateTime().isNull();
    // The calibrated white exists only for a lookup-table calibration.
    if (offer.calibrated && record->calibration_mode == CAdjustValue::kModeLookupTable) {
        offer.shows_calibrated_white = true;
        offer.trim = trim_of(*record);
    }
    return offer;
}

QString black_body_text(double x, double y)
{
    const CColorTemperature white(CIExy{x, y});
    if (white.GetKelvin() == 0)
        return QStringLiteral("-");
    return edit_target_rules::color_temperature_text(white);
}

QString modified_luminance_text(double percent, const target_point &target)
{
    if (!has_luminance(target))
        return QStringLiteral("-");
    return to_display_luminance_text(percent / 100.0 * target.luminance, 1, true);
}

offset_values offset_from_measurement(const CCIEXYZ &measured, const target_point &target,
                                      const offset_values &current)
{
    offset_values values = current;
    const CIExy xy = measured.ToCIExy();
    values.dx = xy.x - target.x;
    values.dy = xy.y - target.y;
    if (has_luminance(target))
        values.percent = (measured.Y - target.luminance) * 100.0 / target.luminance + 100.0;
    return values;
}

offset_values offset_from_visual_trim(const visual_trim &trim, const target_point &target)
{
    offset_values values;
    values.enabled = true;
    values.dx = trim.has_x ? trim.x / 1000.0 - target.x : 0.0;
    values.dy = trim.has_y ? trim.y / 1000.0 - target.y : 0.0;
    values.percent = trim.has_luminance && has_luminance(target) ? trim.luminance * 100.0 / target.luminance : 100.0;
    return values;
}

stored_offset stored_offset_of(const offset_values &values)
{
    stored_offset offset;
    offset.dx = static_cast<qint16>(values.dx * 1000.0);
    offset.dy = static_cast<qint16>(values.dy * 1000.0);
    offset.factor = values.percent / 100.0;
    offset.enabled = values.enabled && (offset.dx != 0 || offset.dy != 0 || offset.factor != 1.0);
    return offset;
}

ok_plan plan_ok(const CAdjustValue &stored, const offset_values &values, bool from_visual_trim)
{
    ok_plan plan;
    plan.record = stored;
    const stored_offset offset = stored_offset_of(values);
    if (!offset_differs(offset, stored))
        return plan;
    if (from_visual_trim) {
        fold_trim(plan.record);
        plan.decision = ok_decision::store;
    } else if (!stored.GetCalibrationDateTime().isNull()) {
        reset_calibration_results(plan.record, kRecordReset);
        plan.decision = ok_decision::ask;
    } else {
        plan.decision = ok_decision::store;
    }
    plan.record.SetTargetOffsetEnabled(offset.enabled);
    plan.record.target_offset_dx = offset.dx;
    plan.record.target_offset_dy = offset.dy;
    plan.record.target_intensity_offset = offset.factor;
    return plan;
}

} // namespace target_offset_rules
