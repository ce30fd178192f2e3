#include "control_panel/core/control_page_rows.h"

#include "control_panel/core/control_page_row_groups.h"
#include "control_panel/core/control_row_builders.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

#include <map>

namespace control_page {
namespace {

using control_row_builders::radio_pair;
using control_row_builders::slider_pair;

QString tr(const char *text)
{
    return control_row_builders::dialog_tr(text);
}

control_row power_time(int code, const QString &spin_box, const QString &group, read_operation read, int maximum,
                       const QString &button)
{
    control_row row;
    row.code = code;
    row.kind = control_kind::spin_box;
    row.widget = spin_box;
    row.group = group;
    row.update_button = button;
    row.read = read;
    row.on_failure = read_policy::go_on();
    row.write = write_sequence::power_setting;
    row.update = update_rule::several_only;
    row.scale = 5;
    row.minimum = 5;
    row.maximum = maximum;
    row.step = 5;
    return row;
}

QList<control_row> power_rows()
{
    control_row state;
    state.kind = control_kind::label;
    state.widget = QStringLiteral("power_state_label");
    state.read = read_operation::power_state;
    state.on_failure = read_policy::shown_and_ends();
    state.write = write_sequence::none;
    state.update = update_rule::none;

    control_row led = radio_pair(control_code::kPowerLed, QStringLiteral("power_led"), 1, 2, read_policy::go_on());
    led.update_button = QStringLiteral("update_power_led_pushButton");

    control_row delay;
    delay.code = control_code::kPowerOnDelay;
    delay.kind = control_kind::slider;
    delay.widget = QStringLiteral("power_on_delay_horizontalSlider");
    delay.update = update_rule::none;   // several displays: a staggered write of its own
    return {state, led, delay};
}

QList<control_row> power_saving_rows()
{
    control_row saving = radio_pair(control_code::kPowerSave, QStringLiteral("power_saving_mode"), 1, 0,
                                    read_policy::end_showing());
    saving.update_button = QStringLiteral("update_power_saving_mode_pushButton");

    control_row mode;
    mode.code = basic_monitor::kPowerSaveMode;
    mode.kind = control_kind::combo_box;
    mode.widget = QStringLiteral("power_save_mode_comboBox");
    mode.update_button = QStringLiteral("update_saving_mode_new_pushButton");
    mode.read = read_operation::power_save_mode;
    mode.on_failure = read_policy::go_on();
    mode.write = write_sequence::power_save_mode;
    mode.update = update_rule::several_only;
    mode.items = {{tr("Auto Power Save"), 0}, {tr("Auto Standby"), 1}, {tr("Power Save Off"), 2}};

    control_row lan = radio_pair(control_code::kLanPower, QStringLiteral("lan_power_mode"), 2, 1,
                                 read_policy::go_on());
    lan.update_button = QStringLiteral("update_lan_power_mode_pushButton");

    return {saving,
            power_time(basic_monitor::kPowerSaveTime, QStringLiteral("power_save_time_spinBox"),
                       QStringLiteral("auto_power_save_groupBox"), read_operation::power_save_time, 600,
                       QStringLiteral("update_power_save_time_pushButton")),
            power_time(basic_monitor::kStandbyTime, QStringLiteral("standby_time_spinBox"),
                       QStringLiteral("power_save_standby_groupBox"), read_operation::standby_time, 1275,
                       QStringLiteral("update_standby_time_pushButton")),
            mode, lan};
}

QList<control_row> picture_rows()
{
    // Only a failure of the first row is shown; -1027 skips a row.
    QList<control_row> rows = {slider_pair(control_code::kBrightness, QStringLiteral("brightness"),
                                           read_policy::end_showing())};
    const std::pair<int, const char *> plain[] = {
        {control_code::kContrast, "contrast"}, {control_code::kSharpness, "sharpness"},
        {control_code::kBlackLevel, "black_level"}, {control_code::kTint, "tint"}, {control_code::kColor, "color"}};
    for (const auto &entry : plain)
        rows << slider_pair(entry.first, QLatin1String(entry.second), read_policy::end_quietly());
    const char *const colours[] = {"red", "yellow", "green", "cyan", "blue", "magenta"};
    const std::pair<int, const char *> families[] = {{control_code::kSixAxisHueFirst, "hue"},
                                                     {control_code::kSixAxisSaturationFirst, "saturation"},
                                                     {control_code::kSixAxisOffsetFirst, "offset"}};
    for (const auto &family : families) {
        for (int i = 0; i < control_code::kSixAxisHueCount; ++i) {
            const QString stem = QStringLiteral("six_axis_%1_%2").arg(QLatin1String(colours[i]),
                                                                     QLatin1String(family.second));
            rows << slider_pair(family.first + i, stem, read_policy::end_quietly());
        }
    }
    return rows;
}

} // namespace

const QList<control_row> &rows(int page)
{
    // Built on first use, after the application's translators are installed.
    static const std::map<int, QList<control_row>> pages = {
        {kPower, power_rows()},
        {kPowerSaving, power_saving_rows()},
        {kCooling, cooling_rows()},
        {kVideoInput, video_input_rows()},
        {kPicture, picture_rows()},
        {kUniformity, uniformity_rows()},
        {kEnginePictureMode, engine_picture_mode_rows()},
        {kSizePosition, size_position_rows()},
        {kTileMatrixAdvanced, tile_matrix_advanced_rows()},
        {kIrRemote, ir_remote_rows()},
        {kOsd, osd_rows()},
    };
    static const QList<control_row> none;
    const auto found = pages.find(page);
    return found == pages.end() ? none : found->second;
}

} // namespace control_page
