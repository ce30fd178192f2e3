#include "dialogs/preference_rows.h"

#include "app/services/preferences.h"

#include <QCoreApplication>

namespace {

template <quint8 (CPreferences::*Get)() const, void (CPreferences::*Set)(quint8)>
preference_row byte_row(const char *control, preference_row::control_kind kind)
{
    return {control, kind, [](const CPreferences &p) { return int((p.*Get)()); },
            [](CPreferences &p, int value) { (p.*Set)(static_cast<quint8>(value)); }};
}

template <bool (CPreferences::*Get)() const, void (CPreferences::*Set)(bool)>
preference_row flag_row(const char *control, preference_row::control_kind kind = preference_row::check_box)
{
    return {control, kind, [](const CPreferences &p) { return (p.*Get)() ? 1 : 0; },
            [](CPreferences &p, int value) { (p.*Set)(value != 0); }};
}

} // namespace

const QVector<preference_row> &preference_rows()
{
    using P = CPreferences;
    using R = preference_row;
    static const QVector<preference_row> rows = {
        byte_row<&P::GetCalibrationSteps, &P::SetCalibrationSteps>("preferences_CalibrationSteps_comboBox", R::combo_data),
        byte_row<&P::GetQuillonPictureModeNumber, &P::SetQuillonPictureModeNumber>(
            "preferences_KQEPictureModeNumber_comboBox", R::combo_data),
        byte_row<&P::GetQuillonColorGamut, &P::SetQuillonColorGamut>("preferences_KQE_color_gamut_comboBox",
                                                                      R::combo_data),
        byte_row<&P::GetQuillonUniformity, &P::SetQuillonUniformity>("preferences_KQE_uniformity_comboBox",
                                                                      R::combo_data),
        byte_row<&P::GetProgrammableGammaNumber, &P::SetProgrammableGammaNumber>(
            "preferences_ProgrammableGammaNumber_comboBox", R::combo_data),
        byte_row<&P::GetLuminanceUnits, &P::SetLuminanceUnits>(preference_groups::kLuminanceUnits, R::button_group),
        byte_row<&P::GetBrightnessControlMode, &P::SetBrightnessControlMode>(preference_groups::kBrightnessControl,
                                                                              R::button_group),
        byte_row<&P::GetBacklightType, &P::SetBacklightType>(preference_groups::kBacklight, R::button_group),
        flag_row<&P::GetExtendedLuminanceStabilizationTime, &P::SetExtendedLuminanceStabilizationTime>(
            "preferences_ExtendedLuminanceStabilizationTime_checkBox"),
        byte_row<&P::GetCalibrationMethod, &P::SetCalibrationMethod>(preference_groups::kCalibrationMethod,
                                                                      R::button_group),
        flag_row<&P::GetAutoCheckForUpdates, &P::SetAutoCheckForUpdates>("preferences_AutoCheckForUpdates_checkBox"),
        flag_row<&P::GetPlayVoicePromptAudio, &P::SetPlayVoicePromptAudio>("preferences_PlayVoicePromptAudio_checkBox"),
        flag_row<&P::GetMeasureDisplaysAfterCalibration, &P::SetMeasureDisplaysAfterCalibration>(
            "preferences_MeasureDisplaysAfterCalibration_checkBox"),
        flag_row<&P::GetUseQuillonEngine, &P::SetUseQuillonEngine>("preferences_use_quillon_engine_checkBox"),
        flag_row<&P::GetAutoSetRealTimeClock, &P::SetAutoSetRealTimeClock>("preferences_auto_set_rtc_checkBox"),
        flag_row<&P::GetUseTextToSpeechEngine, &P::SetUseTextToSpeechEngine>(
            "preferences_text_to_speech_engine_use_groupBox", R::group_box_check),
    };
    return rows;
}

void load_preference_rows(const CPreferences &preferences,
                          const std::function<void(const preference_row &, int)> &show)
{
    for (const preference_row &row : preference_rows())
        show(row, row.get(preferences));
}

void store_preference_rows(CPreferences &preferences,
                           const std::function<std::optional<int>(const preference_row &)> &read)
{
    for (const preference_row &row : preference_rows()) {
        if (const std::optional<int> value = read(row))
            row.set(preferences, *value);
    }
}

preferences_enabled preferences_enable_rules(int method, bool useEngine, bool speechUsable, bool playVoicePrompts)
{
    preferences_enabled enabled;
    enabled.lookup_table_controls = method == 0;
    enabled.engine_pages = method == 0 && useEngine;
    enabled.speech_group = speechUsable && playVoicePrompts;
    return enabled;
}

QVector<page_tree_node> build_page_tree(const QStringList &paths)
{
    QVector<page_tree_node> nodes;
    for (int page = 0; page < paths.size(); ++page) {
        const QStringList parts = paths[page].split(QLatin1Char('/'));
        int parent = -1;
        for (int level = 0; level < parts.size(); ++level) {
            int found = -1;
            for (int i = 0; i < nodes.size() && found < 0; ++i) {
                if (nodes[i].parent == parent && nodes[i].text == parts[level])
                    found = i;
            }
            if (found < 0) {
                nodes.append({parts[level], parent, -1});
                found = nodes.size() - 1;
            }
            if (level == parts.size() - 1)
                nodes[found].page = page;
            parent = found;
        }
    }
    return nodes;
}

const QStringList &preference_page_paths()
{
    static const QStringList paths = {
        QStringLiteral("Color Sensor"),
        QStringLiteral("Color Sensor/Backlight compensation"),
        QStringLiteral("Calibration Method"),
        QStringLiteral("Calibration Method/non-Quillon Engine"),
        QStringLiteral("Calibration Method/non-Quillon Engine/Gamma Correction LUT"),
        QStringLiteral("Calibration Method/non-Quillon Engine/Intensity Adjustment"),
        QStringLiteral("Calibration Method/Quillon Engine"),
        QStringLiteral("Calibration Method/Quillon Engine/Uniformity"),
        QStringLiteral("Calibration Method/Quillon Engine/Color Gamut"),
        QStringLiteral("Advanced"),
        QStringLiteral("Updates"),
        QStringLiteral("Interface"),
        QStringLiteral("Interface/Voice Prompts"),
    };
    return paths;
}
