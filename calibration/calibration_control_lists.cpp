#include "calibration/calibration_control_lists.h"

#include "display_protocol/control_codes.h"
#include "jobs/display_setting_rules.h"

namespace calibration_control_lists {
namespace {

using namespace control_code;
using inputs = control_list_inputs;
using value = std::optional<qint32>;

constexpr qint32 kPresetUser = 11;
constexpr qint32 kColorModeStandard = 1;
constexpr qint32 kEngineModeAdjusting = 3;
constexpr qint32 kEngineModeRunning = 1;
constexpr qint32 kPictureModeCompanionOffset = 7;
constexpr int kBrightnessAtMaximum = 2;
constexpr int kCalibrationInGains = 1;

control_list_row write_max(qint32 code, control_list_row::condition when = nullptr)
{
    return control_list_row::act(vcp_list_item::kWriteMax, code, when);
}

control_list_row write_half(qint32 code)
{
    return control_list_row::act(vcp_list_item::kWriteHalfMax, code);
}

bool brightness_written(const inputs &in) { return in.preferences.brightness_control_mode != kBrightnessAtMaximum; }
bool in_gains(const inputs &in) { return in.preferences.calibration_method == kCalibrationInGains; }
bool maximum_luminance(const inputs &in)
{
    return in.target.GetIntensityMode() == CTargetValue::kIntensityMaximumPossible;
}
bool luminance_given(const inputs &in) { return !maximum_luminance(in); }

value gain_color_mode(const inputs &in) { return gain_mode_color_mode(in.target); }
value picture_mode(const inputs &in) { return in.preferences.engine_picture_mode; }
value picture_mode_companion(const inputs &in)
{
    return in.preferences.engine_picture_mode + kPictureModeCompanionOffset;
}
value target_luminance(const inputs &in) { return static_cast<qint32>(in.target.GetIntensity()); }
value black_level(const inputs &in) { return engine_black_level(in.target); }
value white_x(const inputs &in) { return thousandths(in.target.GetWhitePoint().GetX()); }
value white_y(const inputs &in) { return thousandths(in.target.GetWhitePoint().GetY()); }

// The preferred gamut's primary |I|, or the panel's own as the engine gave it.
template <int I>
value primary(const inputs &in)
{
    engine_primaries own {};
    for (std::size_t i = 0; i < own.size(); ++i)
        own[i] = static_cast<quint16>(in.record.native_gamut[i]);
    return engine_gamut_primaries(in.preferences.engine_gamut, own)[I];
}

} // namespace

const control_list_rows &configuration()
{
    static const control_list_rows rows = reading_first({
        control_list_row::write(kColorPreset, kPresetUser),
        write_max(kBrightness, &brightness_written),
        control_list_row::read(kBrightness),
        write_half(kContrast),
        control_list_row::read(kContrast),
        control_list_row::write(kColorMode, &gain_color_mode, &in_gains),
        write_max(kVideoGainRed, &in_gains),
        write_max(kVideoGainGreen, &in_gains),
        write_max(kVideoGainBlue, &in_gains),
        control_list_row::read(kVideoGainRed, &in_gains),
        control_list_row::read(kVideoGainGreen, &in_gains),
        control_list_row::read(kVideoGainBlue, &in_gains),
    });
    return rows;
}

const control_list_rows &engine_configuration()
{
    static const control_list_rows rows = {
        write_max(kVcp11B0),
        control_list_row::write(kEnginePictureMode, &picture_mode),
        control_list_row::write(kVcp1051, &picture_mode_companion),
        control_list_row::write(kEngineMode, kEngineModeAdjusting),
        control_list_row::write(kColorPreset, kPresetUser),
        control_list_row::write(kVcp105B, 1),
        write_max(kEngineLuminance, &maximum_luminance),
        control_list_row::write(kEngineLuminance, &target_luminance, &luminance_given),
        control_list_row::write(kEngineBlackLevel, &black_level),
        control_list_row::write(kEngineWhiteX, &white_x),
        control_list_row::write(kEngineWhiteY, &white_y),
        control_list_row::write(kVcp1069, 1),
        control_list_row::write(kVcp066, 1),
        control_list_row::write(kNativeGamutEnable, 1),
        control_list_row::write(kEngineGamutFirst + 0, &primary<0>),
        control_list_row::write(kEngineGamutFirst + 1, &primary<1>),
        control_list_row::write(kEngineGamutFirst + 2, &primary<2>),
        control_list_row::write(kEngineGamutFirst + 3, &primary<3>),
        control_list_row::write(kEngineGamutFirst + 4, &primary<4>),
        control_list_row::write(kEngineGamutFirst + 5, &primary<5>),
        control_list_row::write(kVcp1062, 1),
        control_list_row::write(kEngineMode, kEngineModeRunning),
        control_list_row::read(kUniformityLevel),
        control_list_row::read(kEngineLuminanceMinimum),
    };
    return rows;
}

const control_list_rows &restore()
{
    static const control_list_rows rows = {
        control_list_row::write(kColorMode, kColorModeStandard),
        control_list_row::write(kColorPreset, kPresetUser),
        write_max(kBrightness),
        write_half(kContrast),
    };
    return rows;
}

const control_list_rows &engine_restore()
{
    static const control_list_rows rows = {
        control_list_row::write(kEngineWhiteX, &white_x),
        control_list_row::write(kEngineWhiteY, &white_y),
        write_max(kEngineLuminance),
    };
    return rows;
}

} // namespace calibration_control_lists
