#include "jobs/display_control_lists.h"

#include "display_protocol/control_codes.h"
#include "jobs/display_setting_rules.h"

namespace display_control_lists {
namespace {

using namespace control_code;
using inputs = control_list_inputs;
using value = std::optional<qint32>;

constexpr qint32 kEngineModeAdjusting = 3;
constexpr qint32 kEngineModeRunning = 1;
constexpr int kEngineSettleMs = 5000;
constexpr int kEngineTakeOverMs = 4000;
constexpr qint32 kPresetEngineNative = 2;
constexpr qint32 kPresetEngineGamut = 9;
constexpr qint32 kPresetUser = 11;
constexpr qint32 kPictureModeCompanionOffset = 7;
constexpr int kBrightnessLeftAlone = 2;
constexpr int kCalibrationInGains = 1;

control_list_row write_max(qint32 code, control_list_row::condition when = nullptr)
{
    return control_list_row::act(vcp_list_item::kWriteMax, code, when);
}

control_list_row write_half(qint32 code, control_list_row::condition when = nullptr)
{
    return control_list_row::act(vcp_list_item::kWriteHalfMax, code, when);
}

control_list_rows six_axis_hue_to_middle()
{
    control_list_rows rows;
    for (int i = 0; i < kSixAxisHueCount; ++i)
        rows.push_back(write_half(kSixAxisHueFirst + i));
    return rows;
}

// --- values --------------------------------------------------------------------

value picture_mode(const inputs &in)
{
    return in.preferences.engine_picture_mode;
}
value picture_mode_companion(const inputs &in)
{
    return in.preferences.engine_picture_mode + kPictureModeCompanionOffset;
}
value preset(const inputs &in)
{
    return in.osd_preset >= 0 ? value(in.osd_preset) : std::nullopt;
}

template <int Code>
value read_earlier(const inputs &in)
{
    return in.read_value(Code);
}

// The preferred gamut's primary |I|, or the panel's own as read.
template <int I>
value gamut_or_panel(const inputs &in)
{
    if (!is_engine_gamut_table_setting(in.preferences.engine_gamut))
        return in.read_value(kNativeGamutFirst + I);
    return engine_gamut_primaries(in.preferences.engine_gamut, {})[I];
}

// The preferred gamut's primary |I|, or the one the record keeps.
template <int I>
value gamut_or_record(const inputs &in)
{
    if (!is_engine_gamut_table_setting(in.preferences.engine_gamut) && !in.record.native_gamut_valid)
        return std::nullopt;
    engine_primaries own {};
    for (std::size_t i = 0; i < own.size(); ++i)
        own[i] = static_cast<quint16>(in.record.native_gamut[i]);
    return engine_gamut_primaries(in.preferences.engine_gamut, own)[I];
}

value uniformity(const inputs &in)
{
    const value current = in.read_value(kUniformityLevel);
    return current ? uniformity_level_to_write(in.preferences.engine_uniformity, *current) : std::nullopt;
}

value black_level(const inputs &in) { return engine_black_level(in.target); }
value tone_color_mode(const inputs &in) { return engine_tone_for_target(in.target).color_mode; }
value tone_gamma(const inputs &in) { return engine_tone_for_target(in.target).gamma; }
value gain_color_mode(const inputs &in) { return gain_mode_color_mode(in.target); }
value specified_luminance(const inputs &in) { return static_cast<qint32>(in.target.GetIntensity()); }

// The target white in thousandths; a native white is the panel's own.
template <int NativeCode>
value target_white(const inputs &in)
{
    if (in.target.GetWhitePoint().IsNative())
        return in.read_value(NativeCode);
    const CIExy white = in.target.GetWhitePoint().GetCIExy();
    return thousandths(NativeCode == kNativeWhiteX ? white.x : white.y);
}

template <trimmed_setting Setting>
value from_record(const inputs &in)
{
    return trimmed_or_stored(in.record, Setting);
}

value record_black_level(const inputs &in) { return in.record.black_level_value; }

template <int Corner>
value corner_number(const inputs &) { return Corner; }

template <int Corner>
value corner_area(const inputs &in)
{
    CornerUniformityEntry entry;
    in.record.GetChannelEntry(Corner, entry);
    return entry.PackedArea();
}

template <int Corner>
value corner_size(const inputs &in)
{
    CornerUniformityEntry entry;
    in.record.GetChannelEntry(Corner, entry);
    return entry.size_level;
}

template <int Channel>
value gain_from_record(const inputs &in)
{
    const int code = kVideoGainRed + 2 * Channel;
    const value maximum = in.read_maximum(code);
    return maximum ? value(channel_level_from_record(in.record, Channel, *maximum, true)) : std::nullopt;
}

// Power management off: |Off| where the display holds another value.
template <int Code, int Off>
value switched_off(const inputs &in)
{
    const value current = in.read_value(Code);
    return current && *current != Off ? value(Off) : std::nullopt;
}

template <int Code>
value as_found(const inputs &in)
{
    return in.wrote(Code) ? in.read_value(Code) : std::nullopt;
}

// --- conditions --------------------------------------------------------------------

bool brightness_adjusted(const inputs &in) { return in.preferences.brightness_control_mode != kBrightnessLeftAlone; }
bool calibrating_in_gains(const inputs &in) { return in.preferences.calibration_method == kCalibrationInGains; }
bool record_in_gains(const inputs &in) { return in.record.calibration_mode == kCalibrationInGains; }
bool white_native(const inputs &in) { return in.target.GetWhitePoint().IsNative(); }
bool white_not_native(const inputs &in) { return !white_native(in); }
bool luminance_specified(const inputs &in)
{
    return in.target.GetIntensityMode() == CTargetValue::kIntensitySpecified;
}
bool luminance_not_specified(const inputs &in) { return !luminance_specified(in); }

template <int Corner>
bool corner_held(const inputs &in)
{
    CornerUniformityEntry entry;
    in.record.GetChannelEntry(Corner, entry);
    return entry.IsRead();
}

// --- shared pieces ------------------------------------------------------------------

control_list_rows gamut_rows(control_list_row::value_source first, control_list_row::value_source second,
                        control_list_row::value_source third, control_list_row::value_source fourth,
                        control_list_row::value_source fifth, control_list_row::value_source sixth)
{
    const control_list_row::value_source sources[] = {first, second, third, fourth, fifth, sixth};
    control_list_rows rows;
    for (int i = 0; i < kNativeGamutCount; ++i)
        rows.push_back(control_list_row::write(kEngineGamutFirst + i, sources[i]));
    return rows;
}

control_list_rows gamut_from_panel()
{
    return gamut_rows(&gamut_or_panel<0>, &gamut_or_panel<1>, &gamut_or_panel<2>, &gamut_or_panel<3>,
                      &gamut_or_panel<4>, &gamut_or_panel<5>);
}

template <int Corner>
control_list_rows corner_rows()
{
    return {
        control_list_row::write(kCornerSelect, &corner_number<Corner>, &corner_held<Corner>),
        control_list_row::write(kCornerArea, &corner_area<Corner>, &corner_held<Corner>),
        control_list_row::write(kCornerSize, &corner_size<Corner>, &corner_held<Corner>),
    };
}

control_list_row pausing(control_list_row row, int ms, bool reports_status)
{
    row.pause_after_ms = ms;
    row.pause_reports_status = reports_status;
    return row;
}

} // namespace

const control_list_rows &engine_picture_mode()
{
    static const control_list_rows rows {
        control_list_row::write(kEnginePictureMode, &picture_mode),
        control_list_row::write(kVcp1051, &picture_mode_companion),
    };
    return rows;
}

const control_list_rows &osd_preset()
{
    static const control_list_rows rows {control_list_row::write(kOsdOrientation, &preset)};
    return rows;
}

const control_list_rows &engine_for_sensor_calibration()
{
    static const control_list_rows rows = joined({
        osd_preset(),
        {write_max(kVcp11B0)},
        engine_picture_mode(),
        {
            control_list_row::write(kEngineMode, kEngineModeAdjusting),
            control_list_row::write(kColorPreset, kPresetEngineNative),
            control_list_row::write(kVcp105B, 1),
            control_list_row::write(kVcp1069, 1),
            control_list_row::write(kVcp066, 1),
            control_list_row::write(kNativeGamutEnable, 1),
            control_list_row::write(kEngineBlackLevel, 0),
            control_list_row::write(kColorMode, engine_standard_tone().color_mode),
            control_list_row::write(kVcp2E8, *engine_standard_tone().gamma),
            write_max(kEngineLuminance),
        },
        six_axis_hue_to_middle(),
    });
    return rows;
}

const control_list_rows &panel_reads()
{
    static const control_list_rows rows = [] {
        control_list_rows reads {control_list_row::read(kNativeWhiteX), control_list_row::read(kNativeWhiteY)};
        for (int i = 0; i < kNativeGamutCount; ++i)
            reads.push_back(control_list_row::read(kNativeGamutFirst + i));
        reads.push_back(control_list_row::read(kUniformityLevel));
        return reads;
    }();
    return rows;
}

const control_list_rows &engine_to_panel_white()
{
    static const control_list_rows rows = joined({
        {
            control_list_row::write(kEngineWhiteX, &read_earlier<kNativeWhiteX>),
            control_list_row::write(kEngineWhiteY, &read_earlier<kNativeWhiteY>),
        },
        gamut_from_panel(),
        {
            control_list_row::write(kUniformityLevel, &uniformity),
            control_list_row::write(kEngineMode, kEngineModeRunning),
        },
    });
    return rows;
}

const control_list_rows &engine_to_target()
{
    static const control_list_rows rows = joined({
        {write_max(kVcp11B0)},
        engine_picture_mode(),
        {
            control_list_row::write(kEngineMode, kEngineModeAdjusting),
            control_list_row::write(kColorPreset, kPresetUser),
            control_list_row::write(kVcp105B, 1),
            control_list_row::write(kVcp1069, 1),
            control_list_row::write(kVcp066, 1),
            control_list_row::write(kNativeGamutEnable, 1),
            control_list_row::write(kEngineBlackLevel, &black_level),
            control_list_row::write(kColorMode, &tone_color_mode),
            control_list_row::write(kVcp2E8, &tone_gamma),
            control_list_row::write(kEngineLuminance, &specified_luminance, &luminance_specified),
            write_max(kEngineLuminance, &luminance_not_specified),
        },
        six_axis_hue_to_middle(),
        osd_preset(),
    });
    return rows;
}

const control_list_rows &engine_to_target_white()
{
    static const control_list_rows rows = joined({
        {
            control_list_row::write(kEngineWhiteX, &target_white<kNativeWhiteX>),
            control_list_row::write(kEngineWhiteY, &target_white<kNativeWhiteY>),
        },
        gamut_from_panel(),
        {
            control_list_row::write(kUniformityLevel, &uniformity),
            pausing(control_list_row::write(kEngineMode, kEngineModeRunning), kEngineSettleMs, false),
        },
    });
    return rows;
}

const control_list_rows &engine_result_reads()
{
    static const control_list_rows rows {
        control_list_row::read(kEngineLuminance),
        control_list_row::read(kEngineLuminanceMinimum),
        control_list_row::read(kEngineHeldLuminance),
    };
    return rows;
}

const control_list_rows &sensor_calibration_start()
{
    static const control_list_rows rows = reading_first(joined({
        osd_preset(),
        {
            control_list_row::write(kVcp21A, 4),
            control_list_row::write(kVcp22D, 0),
            control_list_row::write(kVcp10C8, 1),
            control_list_row::write(kVcp1075, 1),
            control_list_row::write(kColorPreset, kPresetUser),
            write_max(kBrightness, &brightness_adjusted),
            write_half(kContrast),
            write_half(kBlackLevel),
            control_list_row::write(kLanPower, 2),
            control_list_row::write(kColorMode, &gain_color_mode, &calibrating_in_gains),
            write_max(kVideoGainRed, &calibrating_in_gains),
            write_max(kVideoGainGreen, &calibrating_in_gains),
            write_max(kVideoGainBlue, &calibrating_in_gains),
        },
    }));
    return rows;
}

const control_list_rows &engine_from_record()
{
    static const control_list_rows rows = joined({
        {write_max(kVcp11B0)},
        engine_picture_mode(),
        {
            control_list_row::write(kEngineMode, kEngineModeAdjusting),
            control_list_row::write(kColorPreset, kPresetEngineGamut),
            control_list_row::write(kVcp106B, 3),
            control_list_row::write(kVcp1069, 1),
            control_list_row::write(kVcp066, 1),
            control_list_row::write(kNativeGamutEnable, 1),
            control_list_row::write(kVcp233, 1),
            control_list_row::write(kVcp105D, 31),
            control_list_row::write(kVcp254, 0),
            control_list_row::write(kVcp1062, 1),
        },
        gamut_rows(&gamut_or_record<0>, &gamut_or_record<1>, &gamut_or_record<2>, &gamut_or_record<3>,
                   &gamut_or_record<4>, &gamut_or_record<5>),
        {
            control_list_row::write(kEngineWhiteX, &from_record<trimmed_setting::engine_white_x>, &white_not_native),
            control_list_row::write(kEngineWhiteY, &from_record<trimmed_setting::engine_white_y>, &white_not_native),
            control_list_row::write(kColorPreset, kPresetUser, &white_not_native),
            control_list_row::write(kColorPreset, kPresetEngineNative, &white_native),
            control_list_row::write(kEngineLuminance, &from_record<trimmed_setting::backlight>),
            control_list_row::write(kEngineBlackLevel, &record_black_level),
        },
        corner_rows<0>(),
        corner_rows<1>(),
        corner_rows<2>(),
        corner_rows<3>(),
        {
            control_list_row::write(kUniformityLevel, &from_record<trimmed_setting::uniformity_level>),
            control_list_row::write(kColorMode, &tone_color_mode),
            control_list_row::write(kVcp2E8, &tone_gamma),
        },
        osd_preset(),
    });
    return rows;
}

const control_list_rows &sensor_settings_from_record()
{
    static const control_list_rows rows = reading_first({
        control_list_row::write(kVcp21A, 4),
        control_list_row::write(kColorPreset, kPresetUser),
        control_list_row::write(kBrightness, &from_record<trimmed_setting::backlight>),
        write_half(kContrast),
        write_half(kBlackLevel),
        control_list_row::write(kColorMode, &gain_color_mode, &record_in_gains),
        control_list_row::read(kVideoGainRed, &record_in_gains),
        control_list_row::read(kVideoGainGreen, &record_in_gains),
        control_list_row::read(kVideoGainBlue, &record_in_gains),
    });
    return rows;
}

const control_list_rows &gains_from_record()
{
    static const control_list_rows rows {
        control_list_row::write(kVideoGainRed, &gain_from_record<0>, &record_in_gains),
        control_list_row::write(kVideoGainGreen, &gain_from_record<1>, &record_in_gains),
        control_list_row::write(kVideoGainBlue, &gain_from_record<2>, &record_in_gains),
    };
    return rows;
}

const control_list_rows &engine_back_to_work()
{
    static const control_list_rows rows {
        pausing(control_list_row::write(kEngineMode, kEngineModeRunning), kEngineTakeOverMs, true),
    };
    return rows;
}

const control_list_rows &picture_for_test_table()
{
    static const control_list_rows rows = reading_first({
        control_list_row::write(kVcp21A, 4),
        control_list_row::write(kColorPreset, kPresetUser),
        write_half(kContrast),
        write_max(kVideoGainRed),
        write_max(kVideoGainGreen),
        write_max(kVideoGainBlue),
    });
    return rows;
}

const control_list_rows &power_management_reads()
{
    static const control_list_rows rows {
        control_list_row::read(kPowerSave),
        control_list_row::read(kVcp2D6),
        control_list_row::read(kVcp240),
    };
    return rows;
}

const control_list_rows &power_management_off()
{
    static const control_list_rows rows {
        control_list_row::write(kPowerSave, &switched_off<kPowerSave, 0>),
        control_list_row::write(kVcp2D6, &switched_off<kVcp2D6, 1>),
        control_list_row::write(kVcp240, &switched_off<kVcp240, 2>),
    };
    return rows;
}

const control_list_rows &power_management_restore()
{
    static const control_list_rows rows {
        control_list_row::write(kPowerSave, &as_found<kPowerSave>),
        control_list_row::write(kVcp2D6, &as_found<kVcp2D6>),
        control_list_row::write(kVcp240, &as_found<kVcp240>),
    };
    return rows;
}

} // namespace display_control_lists
