#include "views/docks/target_summary.h"

#include "colour/CTargetValue.h"

namespace {

constexpr int kCalibrationByGains = 1;

} // namespace

target_summary summarize_target(const CTargetValue &target, int calibration_method)
{
    target_summary summary;
    summary.white_point = target.GetWhitePointText();
    summary.gamma = target.GetGammaText(false);
    summary.intensity = target.GetIntensityText(true);
    summary.contrast_ratio = target.GetContrastRatioText();
    summary.contrast_row_enabled = calibration_method != kCalibrationByGains;
    return summary;
}
