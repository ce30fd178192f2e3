#include "views/docks/calibration_information.h"

#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"

#include <QCoreApplication>

namespace {

constexpr double kMaximumPossibleScale = 3000.0;
constexpr double kScaleHeadroom = 1.3;
constexpr double kOffsetUnit = 1000.0; // offsets are counted in thousandths of x and y

const char kOffsetPicture[] = "<img src=\":/images/Resources/offset_target_16\">";

QString tr(const char *text)
{
    return QCoreApplication::translate("KQ_calibration_information_dock_widget", text);
}

QString offset_prefix(bool uses_offset)
{
    return uses_offset ? QString::fromLatin1(kOffsetPicture) : QString();
}

void set_meter(calibration_information &shown, const CAdjustValue &record, const CTargetValue &target)
{
    const int mode = target.GetIntensityMode();
    if (mode == CTargetValue::kIntensityMaximumPossible) {
        shown.meter_maximum = kMaximumPossibleScale;
        shown.target_level = kMaximumPossibleScale;
        shown.show_target_level = false;
        return;
    }
    const double reference = mode == CTargetValue::kIntensitySpecified ? target.GetSpecifiedLuminance()
                                                                         : target.GetMaxMatchingLuminance();
    shown.meter_maximum = kScaleHeadroom * reference;
    const double intensity = target.GetIntensity();
    shown.level_uses_offset = record.target_offset_enabled != 0 && record.target_intensity_offset != 1.0;
    shown.target_level = shown.level_uses_offset ? record.target_intensity_offset * intensity : intensity;
    shown.show_target_level = true;
}

void set_white_target(calibration_information &shown, const CAdjustValue &record, const CTargetValue &target)
{
    // A native white has no point to aim at, nor to move by an offset.
    if (target.GetWhitePoint().IsNative())
        return;
    const CIExy white = target.GetWhitePoint().GetCIExy();
    shown.xy_uses_offset =
        record.target_offset_enabled != 0 && (record.target_offset_dx != 0 || record.target_offset_dy != 0);
    shown.target_x = white.x;
    shown.target_y = white.y;
    if (shown.xy_uses_offset) {
        shown.target_x += record.target_offset_dx / kOffsetUnit;
        shown.target_y += record.target_offset_dy / kOffsetUnit;
    }
}

} // namespace

calibration_information calibration_information_for(const CAdjustValue *record, const CTargetValue &target)
{
    calibration_information shown;
    if (!record)
        return shown;
    shown.has_record = true;
    set_meter(shown, *record, target);
    set_white_target(shown, *record, target);
    shown.calibrated_available = !record->GetCalibrationDateTime().isNull();
    shown.uncalibrated_available = !record->measurements.measurement_date_time.isNull();
    shown.white_before_calibration = record->measurements.native.white;
    shown.white_after_calibration = record->measurements.corrected.white;
    return shown;
}

QString target_level_tooltip(double level, bool show, bool uses_offset)
{
    if (!show || !(level > 0.0))
        return QString();
    return offset_prefix(uses_offset)
           + tr("Target: %1").arg(to_display_luminance_text(level, 1, true));
}

QString target_xy_tooltip(double x, double y, bool uses_offset)
{
    if (!(x > 0.0 && y > 0.0))
        return QString();
    return offset_prefix(uses_offset)
           + tr("Target: (%1,%2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
}

measured_white_labels measured_white_labels_for(double x, double y, double Y)
{
    measured_white_labels labels;
    if (!(Y > 0.0))
        return labels;
    labels.luminance = to_display_luminance_text(Y, 1, true);
    labels.xy = QStringLiteral("(%L1 , %L2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
    return labels;
}

int corrected_choice(bool calibrated_enabled, bool calibrated_checked, bool uncalibrated_enabled,
                     bool uncalibrated_checked)
{
    if (calibrated_enabled && !uncalibrated_enabled && !calibrated_checked)
        return kShowCalibrated;
    if (!calibrated_enabled && uncalibrated_enabled && !uncalibrated_checked)
        return kShowUncalibrated;
    return -1;
}
