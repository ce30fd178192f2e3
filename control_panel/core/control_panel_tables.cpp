#include "control_panel/core/control_panel_tables.h"

namespace control_panel_tables {

const QVector<tree_entry> &page_tree()
{
    static const QVector<tree_entry> entries = {
        {"Power", 0},
        {"Power/Saving", 1},
        {"Cooling", 2},
        {"Video", 3},
        {"Video/Picture", 4},
        {"Video/Uniformity", 5},
        {"Video/Quillon Engine", 6},
        {"Video/Calibration", 7},
        {"Video/Size & Position", 8},
        {"Tile Matrix", 9},
        {"Tile Matrix/Advanced", 10},
        {"IR Remote", 11},
        {"OSD", 12},
        {"Group ID", 13},
        {"Status", 14},
        {"Analog Video", 15},
        {"Analog Video/Advanced", 16},
        {"Clock", 17},
        {"Schedule (Basic)", 18},
        {"Schedule (Advanced)", 19},
        {"Schedule (Advanced)/Holiday", 20},
        {"Schedule (Advanced)/Weekend", 21},
    };
    return entries;
}

const QStringList &slider_spin_box_ties()
{
    static const QStringList stems = [] {
        QStringList list = {
            // size and position
            "h_position", "v_position", "clock", "clock_phase", "h_resolution", "v_resolution", "h_expansion",
            "v_expansion", "zoom_h_position", "zoom_v_position", "zoom",
            // picture
            "brightness", "contrast", "sharpness", "black_level", "tint", "color",
            // analog advanced
            "offset_red", "offset_green", "offset_blue", "gain_red", "gain_green", "gain_blue",
            // cooling
            "fan_sensor1_temp", "fan_sensor2_temp", "fan_sensor3_temp"};
        for (const char *family : {"saturation", "hue", "offset"})
            for (const char *colour : {"red", "yellow", "green", "cyan", "blue", "magenta"})
                list << QStringLiteral("six_axis_%1_%2").arg(QLatin1String(colour), QLatin1String(family));
        return list;
    }();
    return stems;
}

const QVector<slider_colours> &six_axis_sliders()
{
    static const QVector<slider_colours> sliders = {
        {"six_axis_red_hue_horizontalSlider", "#ffff00", "#ff0000", "#ff00ff"},
        {"six_axis_yellow_hue_horizontalSlider", "#00ff00", "#ffff00", "#ff0000"},
        {"six_axis_green_hue_horizontalSlider", "#00ffff", "#00ff00", "#ffff00"},
        {"six_axis_cyan_hue_horizontalSlider", "#0000ff", "#00ffff", "#00ff00"},
        {"six_axis_blue_hue_horizontalSlider", "#ff00ff", "#0000ff", "#00ffff"},
        {"six_axis_magenta_hue_horizontalSlider", "#ff0000", "#ff00ff", "#0000ff"},
        {"six_axis_red_saturation_horizontalSlider", "#ff8080", "#ff4040", "#ff0000"},
        {"six_axis_yellow_saturation_horizontalSlider", "#ffff80", "#ffff40", "#ffff00"},
        {"six_axis_green_saturation_horizontalSlider", "#80ff80", "#40ff40", "#00ff00"},
        {"six_axis_cyan_saturation_horizontalSlider", "#80ffff", "#40ffff", "#00ffff"},
        {"six_axis_blue_saturation_horizontalSlider", "#8080ff", "#4040ff", "#0000ff"},
        {"six_axis_magenta_saturation_horizontalSlider", "#ff80ff", "#ff40ff", "#ff00ff"},
        {"six_axis_red_offset_horizontalSlider", "#800000", "#c00000", "#ff0000"},
        {"six_axis_yellow_offset_horizontalSlider", "#808000", "#c0c000", "#ffff00"},
        {"six_axis_green_offset_horizontalSlider", "#008000", "#00c000", "#00ff00"},
        {"six_axis_cyan_offset_horizontalSlider", "#008080", "#00c0c0", "#00ffff"},
        {"six_axis_blue_offset_horizontalSlider", "#000080", "#0000c0", "#0000ff"},
        {"six_axis_magenta_offset_horizontalSlider", "#800080", "#c000c0", "#ff00ff"},
    };
    return sliders;
}

QString six_axis_slider_style(const slider_colours &colours)
{
    return QStringLiteral(
               "QSlider { height: 16px; }\n"
               "QSlider::groove:horizontal { border: 1px solid #bbb; border-radius: 4px; height: 10px; "
               "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 %1, stop:0.5 %2, stop:1 %3); }\n"
               "QSlider::handle:horizontal { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, "
               "stop:0 #eee, stop:1 #ccc); border: 1px solid #777; width: 13px; height: 10px; "
               "margin-top: -3px; margin-bottom: -3px; border-radius: 4px; }")
        .arg(QLatin1String(colours.first), QLatin1String(colours.second), QLatin1String(colours.third));
}

QString tree_style(bool dark)
{
    const QString prefix = QStringLiteral(":/images/Resources/");
    return QStringLiteral(
               "QTreeView { background: %1; padding: 5px; }\n"
               "QTreeView { outline: none; }\n"
               "QTreeView::item:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
               "stop:0 #e7effd, stop:1 #cbdaf1); }\n"
               "QTreeView::item:selected { border: 1px solid #567dbc; color: %2; }\n"
               "QTreeView::item:selected:active { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
               "stop:0 #6ea1f1, stop:1 #567dbc); }\n"
               "QTreeView::item:selected:!active { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
               "stop:0 #6b9be8, stop:1 #577fbf); }\n"
               "QTreeView::branch { background: palette(base); }\n"
               "QTreeView::branch:has-siblings:!adjoins-item { border-image: url(%3tv-vertline.png) 0; }\n"
               "QTreeView::branch:has-siblings:adjoins-item { border-image: url(%3tv-vlinebr.png) 0; }\n"
               "QTreeView::branch:!has-children:!has-siblings:adjoins-item "
               "{ border-image: url(%3tv-vlinebrlast.png) 0; }\n"
               "QTreeView::branch:has-children:!has-siblings:closed "
               "{ border-image: url(%3tv-vlinebrlastclosed.png) 0; }\n"
               "QTreeView::branch:closed:has-children:has-siblings "
               "{ border-image: url(%3tv-vlinebrclosed.png) 0; }\n"
               "QTreeView::branch:open:has-children:!has-siblings "
               "{ border-image: url(%3tv-vlinebrlastopen.png) 0; }\n"
               "QTreeView::branch:open:has-children:has-siblings "
               "{ border-image: url(%3tv-vlinebropen.png) 0; }")
        .arg(dark ? QStringLiteral("black") : QStringLiteral("white"),
             dark ? QStringLiteral("black") : QStringLiteral("white"), prefix);
}

const QStringList &several_display_buttons()
{
    static const QStringList buttons = {
        "video_input_update_pushButton", "ir_control_update_pushButton", "update_input_resolution_pushButton",
        "update_base_zoom_pushButton", "update_aspect_pushButton", "update_zoom_pushButton",
        "update_h_position_pushButton", "update_v_position_pushButton", "update_clock_pushButton",
        "update_clock_phase_pushButton", "update_h_resolution_pushButton", "update_v_resolution_pushButton",
        "update_h_expansion_pushButton", "update_v_expansion_pushButton", "update_zoom_h_position_pushButton",
        "update_zoom_v_position_pushButton", "update_power_saving_mode_pushButton",
        "update_power_saving_delay_pushButton", "update_power_led_pushButton", "update_lan_power_mode_pushButton",
        "update_cooling_fan_pushButton", "update_cooling_fan_speed_pushButton", "update_fan_sensor1_temp_pushButton",
        "update_fan_sensor2_temp_pushButton", "update_fan_sensor3_temp_pushButton", "update_brightness_pushButton",
        "update_contrast_pushButton", "update_sharpness_pushButton", "update_black_level_pushButton",
        "update_tint_pushButton", "update_color_pushButton", "update_six_axis_red_saturation_pushButton",
        "update_six_axis_yellow_saturation_pushButton", "update_six_axis_green_saturation_pushButton",
        "update_six_axis_cyan_saturation_pushButton", "update_six_axis_blue_saturation_pushButton",
        "update_six_axis_magenta_saturation_pushButton", "update_six_axis_red_offset_pushButton",
        "update_six_axis_yellow_offset_pushButton", "update_six_axis_green_offset_pushButton",
        "update_six_axis_cyan_offset_pushButton", "update_six_axis_blue_offset_pushButton",
        "update_six_axis_magenta_offset_pushButton", "update_six_axis_red_hue_pushButton",
        "update_six_axis_yellow_hue_pushButton", "update_six_axis_green_hue_pushButton",
        "update_six_axis_cyan_hue_pushButton", "update_six_axis_blue_hue_pushButton",
        "update_six_axis_magenta_hue_pushButton", "update_edge_comp_brightness_pushButton",
        "update_edge_comp_type_pushButton", "kqe_uniformity_pushButton", "update_saving_mode_new_pushButton",
        "update_power_save_time_pushButton", "update_standby_time_pushButton",
        "update_video_level_expansion_pushButton", "update_video_overscan_pushButton",
        "update_osd_rotation_pushButton", "kqe_picture_mode_update_pushButton",
        // tile matrix and group ID
        "tile_matrix_update_pushButton", "tile_matrix_enable_update_pushButton", "use_tile_comp_update_pushButton",
        "frame_comp_mode_update_pushButton", "v_scan_reverse_mode_update_pushButton",
        "v_scan_reverse_manual_update_pushButton", "tile_matrix_memory_update_pushButton",
        "frame_comp_auto_value_update_pushButton", "frame_comp_manual_value_update_pushButton",
        "group_ID_update_pushButton"};
    return buttons;
}

const QStringList &single_display_widgets()
{
    static const QStringList widgets = {"power_state_label", "power_state_sub_label", "set_to_custom_date_pushButton",
                                        "timeEdit_time", "dateEdit"};
    return widgets;
}

const QStringList &several_cleared_labels()
{
    static const QStringList labels = {
        "status_operating_hours_label", "status_total_operating_hours_label", "status_firmware_version_label",
        "status_firmware2_version_label", "status_firmware3_version_label", "status_firmware4_version_label",
        "status_model_name_label", "status_serial_number_label", "status_DOM_label", "status_temp_sensor1_label",
        "status_temp_sensor2_label", "status_temp_sensor3_label", "status_fan1_label", "status_fan2_label",
        "status_fan3_label", "status_diagnostics_label", "status_h_freq_label", "status_v_freq_label",
        "status_sync_status_label", "status_lan_mac_address_label"};
    return labels;
}

const QStringList &several_enabled_widgets()
{
    static const QStringList widgets = {"auto_setup_pushButton", "auto_gain_bias_pushButton"};
    return widgets;
}

const QStringList &several_disabled_widgets()
{
    static const QStringList widgets = {"black_lut_pushButton", "white_lut_pushButton", "normal_lut_pushButton",
                                        "mode_expert_pushButton", "mode_normal_pushButton", "analog_bias_groupBox",
                                        "analog_gain_groupBox"};
    return widgets;
}

} // namespace control_panel_tables
