#include "jobs/display_setting_rules.h"

#include "app/controller/color_calc_utils.h"

#include <cmath>

namespace {

// The standard gamuts the engine can work to, in thousandths (sRGB, Adobe
// RGB, SMPTE-C, DCI-P3, EBU/ITU, BT.2020). Kept as integers: 0.595 × 1000
// would truncate to 594 in floating point.
constexpr engine_primaries kGamutTable[] = {
    {640, 330, 300, 600, 150, 60},
    {640, 330, 210, 710, 150, 60},
    {630, 340, 310, 595, 155, 70},
    {680, 320, 265, 690, 150, 60},
    {640, 330, 290, 600, 150, 60},
    {708, 292, 170, 797, 131, 46},
};
constexpr int kFirstGamutSetting = 1;
constexpr int kLastGamutSetting = 6;

constexpr int kLastAbsoluteUniformity = 5;
constexpr int kFirstRaisingUniformity = 10;
constexpr int kLastRaisingUniformity = 15;

constexpr qint32 kColorModeNative = 1;
constexpr qint32 kColorModeSteepGamma = 8;
constexpr qint32 kColorModeGamma = 4;
constexpr double kSteepGamma = 2.3;

constexpr qint32 kEngineColorModeGamma = 9;
constexpr qint32 kEngineColorModeDicom = 5;
constexpr qint32 kEngineColorModeTable = 6;
constexpr qint32 kEngineColorModeSrgb = 11;
constexpr qint32 kEngineColorModeLstar = 12;
constexpr qint32 kEngineStandardGamma = 170; // 2.2, as the engine counts it

qint32 rounded(double value)
{
    return static_cast<qint32>(std::floor(value + 0.5));
}

} // namespace

bool is_engine_gamut_table_setting(int setting)
{
    return setting >= kFirstGamutSetting && setting <= kLastGamutSetting;
}

engine_primaries engine_gamut_primaries(int setting, const engine_primaries &own)
{
    return is_engine_gamut_table_setting(setting) ? kGamutTable[setting - kFirstGamutSetting] : own;
}

std::optional<qint32> uniformity_level_to_write(int preference, qint32 current)
{
    if (preference >= 0 && preference <= kLastAbsoluteUniformity)
        return preference != current ? std::optional<qint32>(preference) : std::nullopt;
    if (preference >= kFirstRaisingUniformity && preference <= kLastRaisingUniformity) {
        const qint32 level = preference - kFirstRaisingUniformity;
        return current < level ? std::optional<qint32>(level) : std::nullopt;
    }
    return std::nullopt;
}

qint32 gain_mode_color_mode(const CTargetValue &target)
{
    switch (target.GetGammaType()) {
    case CTargetValue::kGammaNative: return kColorModeNative;
    case CTargetValue::kGammaPower: return target.GetGamma() >= kSteepGamma ? kColorModeSteepGamma : kColorModeGamma;
    default: return kColorModeGamma;
    }
}

engine_tone_setting engine_standard_tone()
{
    engine_tone_setting setting;
    setting.color_mode = kEngineColorModeGamma;
    setting.gamma = kEngineStandardGamma;
    return setting;
}

engine_tone_setting engine_tone_for_target(const CTargetValue &target)
{
    engine_tone_setting setting;
    switch (target.GetGammaType()) {
    case CTargetValue::kGammaNative:
        return engine_standard_tone();
    case CTargetValue::kGammaPower:
        // The engine takes the exponent less 0.5, in tenths, times ten.
        setting.color_mode = kEngineColorModeGamma;
        setting.gamma = 10 * static_cast<qint32>((target.GetGamma() - 0.5) * 10.0 + 0.5);
        break;
    case CTargetValue::kGammaDicom:
        setting.color_mode = kEngineColorModeDicom;
        break;
    case CTargetValue::kGammaCurve:
        if (target.GetCurveSelection() == CTargetValue::kCurveSrgb) {
            setting.color_mode = kEngineColorModeSrgb;
        } else if (target.GetCurveSelection() == CTargetValue::kCurveLstar) {
            setting.color_mode = kEngineColorModeLstar;
        } else {
            setting.color_mode = kEngineColorModeTable;
            setting.uploads_curve = true;
        }
        break;
    default:
        setting.color_mode = kEngineColorModeTable;
        setting.uploads_curve = true;
        break;
    }
    return setting;
}

CSpline engine_tone_curve(const CTargetValue &target, const CAdjustValue &record)
{
    if (target.GetGammaType() != CTargetValue::kGammaBt1886)
        return target.GetCurve();
    CSpline curve;
    color_calc_utils::make_target_curve(record.measurements, target, curve);
    return curve;
}

qint32 engine_black_level(const CTargetValue &target)
{
    const quint32 contrast = target.GetContrastRatio();
    if (contrast == 0 || target.GetIntensityMode() == CTargetValue::kIntensityMaximumPossible)
        return 0;
    return rounded(target.GetIntensity() * 10.0 / contrast);
}

qint32 thousandths(double coordinate)
{
    return rounded(coordinate * 1000.0);
}

CTargetValue target_with_offset(const CTargetValue &target, const CAdjustValue &record, offset_intensity_modes modes)
{
    CTargetValue moved = target;
    if (!record.target_offset_enabled)
        return moved;
    // A native white has no chromaticity to move: moving its zero point
    // would aim at a colour no display has.
    if (!target.GetWhitePoint().IsNative()) {
        const CIExy white = target.GetWhitePoint().GetCIExy();
        moved.SetWhitePoint(CColorTemperature(
            CIExy {white.x + record.target_offset_dx / 1000.0, white.y + record.target_offset_dy / 1000.0}));
    }
    const int mode = target.GetIntensityMode();
    const bool scaled = mode == CTargetValue::kIntensitySpecified
                        || (mode == CTargetValue::kIntensityMaximumMatching
                            && modes == offset_intensity_modes::matching_and_specified);
    if (scaled)
        moved.SetIntensity(target.GetIntensity() * record.target_intensity_offset);
    return moved;
}

qint32 trimmed_or_stored(const CAdjustValue &record, trimmed_setting setting)
{
    const auto trimmed = [&record](int bit) { return (record.visual_trim_flags & bit) != 0; };
    switch (setting) {
    case trimmed_setting::backlight:
        return trimmed(CAdjustValue::kTrimBacklight) ? record.backlight_visual_trim : record.backlight_setting;
    case trimmed_setting::engine_white_x:
        return trimmed(CAdjustValue::kTrimEngineWhiteX) ? record.engine_white_x_visual_trim : record.engine_white_x;
    case trimmed_setting::engine_white_y:
        return trimmed(CAdjustValue::kTrimEngineWhiteY) ? record.engine_white_y_visual_trim : record.engine_white_y;
    case trimmed_setting::uniformity_level:
        return trimmed(CAdjustValue::kTrimUniformityLevel) ? record.uniformity_level_visual_trim
                                                           : record.uniformity_level;
    }
    return 0;
}

qint32 channel_level_from_record(const CAdjustValue &record, int channel, qint32 maximum, bool with_trim)
{
    if (channel < 0 || channel >= 3 || maximum <= 0)
        return 0;
    const std::size_t c = static_cast<std::size_t>(channel);
    const bool trimmed = with_trim && (record.visual_trim_flags & CAdjustValue::kTrimGains);
    const double level =
        std::floor(maximum * record.gain[c] * (trimmed ? record.visual_trim_multiplier[c] : 1.0) + 0.5);
    // A trim factor of 9999 (calibrated value 0) or a damaged ratio must not
    // reach the display as a level it cannot take.
    if (!std::isfinite(level) || level <= 0.0)
        return 0;
    return level >= maximum ? maximum : static_cast<qint32>(level);
}
