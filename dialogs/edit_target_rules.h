#pragma once

#include "colour/CColorTemperature.h"

#include <QString>
#include <QVector>

class CSpline;
class CTargetValue;

// What the edit target dialog shows and accepts, without its widgets.
namespace edit_target_rules {

enum IntensityMode { kMaximumPerDisplay = 1, kMaximumMatching = 2, kSpecificLevel = 3 };
enum GammaType { kNativeGamma = 1, kGammaValue = 2, kDicom = 3, kCustomCurve = 4 };
// A gamut kind that fixes gamma and contrast: acceptance leaves them alone.
constexpr int kFixedGamutKind = 1;
// A measured white brighter than this is offered as the target intensity.
constexpr double kMinimumOfferedLuminance = 40.0;
constexpr double kMinimumSpecificLuminance = 40.0;
constexpr double kMaximumSpecificLuminance = 3000.0;

// The white point combo box: the eleven standard whites and, when the
// target's white is none of them, one "Custom" entry holding it.
struct white_point_list
{
    QVector<CColorTemperature> entries;
    bool has_custom = false;
    int selected = -1;
};
white_point_list make_white_point_list(const CColorTemperature &target);
// The combo item text of |entry| of |list|: the white's own name, or "Custom".
QString white_point_item_text(const white_point_list &list, int entry);

// The contrast ratios offered, "Default" (0) first.
struct contrast_item
{
    const char *text;
    int ratio;
};
const QVector<contrast_item> &contrast_items();
// The item of |ratio|; "Default" for a ratio not offered.
int contrast_index(quint32 ratio);

// "Black Level: ..." for the Specific Level mode with a ratio; else empty.
// |specificLevel| is in the operator's unit.
QString black_level_text(int intensityMode, int contrastRatio, double specificLevel);

// The Specific Level box in the operator's unit.
struct level_range
{
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
    double step = 0.0;
};
level_range specific_level_range(bool footLamberts);

// The colour temperature and CIE xy labels ("-" for a native white).
QString color_temperature_text(const CColorTemperature &white);
QString cie_xy_text(const CColorTemperature &white);

// What OK stores: |gammaType| is the checked gamma button's id, -1 when
// none is checked (a gamma type without a button is then kept).
struct accepted_controls
{
    int intensity_mode = kMaximumPerDisplay;
    double specific_level = 0.0; // the operator's unit
    int gamma_type = -1;
    double gamma_value = 2.2;
    int contrast_ratio = 0;
};
void accept_into(CTargetValue &target, const accepted_controls &controls);

// The custom curve dialog's result replaces the target's curve only when the
// curve itself differs; a changed selection alone is not taken.
bool takes_curve(const CSpline &dialogCurve, const CSpline &targetCurve);

bool offers_measured_luminance(double luminance);

} // namespace edit_target_rules
