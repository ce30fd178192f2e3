#include "dialogs/edit_target_rules.h"

#include "colour/CSpline.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"

#include <QCoreApplication>

#include <cmath>

namespace edit_target_rules {

namespace {

const QVector<CColorTemperature> &standard_white_points()
{
    static const QVector<CColorTemperature> whites = {
        CColorTemperature(CIExy{0.3457, 0.3585}), CColorTemperature(CIExy{0.3324, 0.3474}),
        CColorTemperature(CIExy{0.3127, 0.3290}), CColorTemperature(CIExy{0.2990, 0.3149}),
        CColorTemperature(quint16(4500)),         CColorTemperature(quint16(5000)),
        CColorTemperature(quint16(5500)),         CColorTemperature(quint16(6500)),
        CColorTemperature(quint16(7500)),         CColorTemperature(quint16(9300)),
        CColorTemperature(quint16(10000)),
    };
    return whites;
}

const QChar kDelta(0x0394);

} // namespace

white_point_list make_white_point_list(const CColorTemperature &target)
{
    white_point_list list;
    list.entries = standard_white_points();
    for (int i = 0; i < list.entries.size() && list.selected < 0; ++i) {
        if (list.entries[i] == target)
            list.selected = i;
    }
    if (list.selected < 0) {
        list.entries.append(target);
        list.has_custom = true;
        list.selected = list.entries.size() - 1;
    }
    return list;
}

QString white_point_item_text(const white_point_list &list, int entry)
{
    if (list.has_custom && entry == list.entries.size() - 1)
        return QCoreApplication::translate("KQ_edit_target_dialog", "Custom");
    return list.entries.value(entry).ToString();
}

const QVector<contrast_item> &contrast_items()
{
    static const QVector<contrast_item> items = {
        {"Default", 0},   {"500:1", 500}, {"450:1", 450}, {"400:1", 400}, {"350:1", 350}, {"300:1", 300},
        {"250:1", 250},   {"200:1", 200}, {"150:1", 150}, {"100:1", 100}, {"75:1", 75},   {"50:1", 50},
    };
    return items;
}

int contrast_index(quint32 ratio)
{
    const QVector<contrast_item> &items = contrast_items();
    for (int i = 0; i < items.size(); ++i) {
        if (quint32(items[i].ratio) == ratio)
            return i;
    }
    return 0;
}

QString black_level_text(int intensityMode, int contrastRatio, double specificLevel)
{
    if (intensityMode != kSpecificLevel || contrastRatio <= 0)
        return QString();
    const double black = display_units_to_cd_m2(specificLevel) / contrastRatio;
    return QCoreApplication::translate("KQ_edit_target_dialog", "Black Level: ")
        + to_display_luminance_text(black, 2, true);
}

level_range specific_level_range(bool footLamberts)
{
    level_range range;
    range.minimum = cd_m2_to_display_units(kMinimumSpecificLuminance);
    range.maximum = cd_m2_to_display_units(kMaximumSpecificLuminance);
    range.decimals = footLamberts ? 1 : 0;
    range.step = footLamberts ? 1.0 : 5.0;
    return range;
}

QString color_temperature_text(const CColorTemperature &white)
{
    if (white.IsNative())
        return QStringLiteral("-");
    return QStringLiteral("%L1 K (%L2 %3 uv)")
        .arg(white.GetKelvin())
        .arg(std::fabs(white.GetDeviation()), 0, 'f', 4)
        .arg(kDelta);
}

QString cie_xy_text(const CColorTemperature &white)
{
    if (white.IsNative())
        return QStringLiteral("-");
    return QStringLiteral("x=%L1 y=%L2").arg(white.GetX(), 0, 'f', 4).arg(white.GetY(), 0, 'f', 4);
}

void accept_into(CTargetValue &target, const accepted_controls &controls)
{
    if (target.GetGamutKind() != kFixedGamutKind) {
        if (controls.gamma_type > 0)
            target.SetGammaType(controls.gamma_type);
        target.SetGamma(controls.gamma_value);
        target.SetContrastRatio(quint32(controls.contrast_ratio));
    }
    target.SetSpecifiedLuminance(display_units_to_cd_m2(controls.specific_level));
    target.SetIntensityMode(controls.intensity_mode);
}

bool takes_curve(const CSpline &dialogCurve, const CSpline &targetCurve)
{
    return dialogCurve != targetCurve;
}

bool offers_measured_luminance(double luminance)
{
    return luminance > kMinimumOfferedLuminance;
}

} // namespace edit_target_rules
