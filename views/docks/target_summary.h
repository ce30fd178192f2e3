#pragma once

#include <QString>

class CTargetValue;

// The four lines of the Calibration Target dock. The contrast ratio is not
// adjusted when displays are calibrated by RGB gains, so its row is greyed
// out then; its text still follows the target.
struct target_summary
{
    QString white_point;
    QString gamma;
    QString intensity;
    QString contrast_ratio;
    bool contrast_row_enabled = true;
};

// |calibration_method| is the preferences' method: 0 lookup tables, 1 RGB gains.
target_summary summarize_target(const CTargetValue &target, int calibration_method);
