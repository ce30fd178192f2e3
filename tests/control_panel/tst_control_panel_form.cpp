// The control panel's Designer form built into a plain dialog: the pages in
// stack order, every widget's name and class on its page, the form's own
// captions, icons, tooltips, shortcuts, ranges and states, and its tab chain.
// Items, the page tree and the six-axis styles come from the dialog, so here
// they are checked empty.
#include "control_panel/kq_monitor_control_panel_form.h"
#include "resources/tessaline_resources.h"

#include <QDialog>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

#include <algorithm>

namespace {

const char* const kArrowIcon = ":/images/Resources/small arrow left.png";

struct Form
{
    QDialog dialog;
    Ui::kq_monitor_control_panel_dialogClass ui;

    Form() { ui.setupUi(&dialog); }

    template <class T = QWidget>
    T* find(const QString& name)
    {
        return dialog.findChild<T*>(name);
    }
};

// The framework names some helpers of its own: "qt_..." and a tab bar's scroll buttons.
bool framework_helper(const QString& name)
{
    return name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == QLatin1String("ScrollLeftButton")
           || name == QLatin1String("ScrollRightButton");
}

// Widgets the form names itself.
QList<QWidget*> named_widgets(QWidget* root)
{
    QList<QWidget*> result;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (!framework_helper(w->objectName()))
            result << w;
    return result;
}

QStringList names_of(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (QWidget* w : widgets)
        names << w->objectName();
    return names;
}

// "" when both hold the same names, otherwise what differs.
QString difference(const QStringList& actual, const QStringList& expected)
{
    const QSet<QString> a(actual.begin(), actual.end());
    const QSet<QString> e(expected.begin(), expected.end());
    if (a == e && actual.size() == expected.size())
        return QString();
    QStringList missing = (e - a).values(), unexpected = (a - e).values();
    missing.sort();
    unexpected.sort();
    return "missing: " + missing.join(' ') + "; unexpected: " + unexpected.join(' ');
}

QString with_pattern(const QString& pattern, const QString& word)
{
    return QString(pattern).replace(QLatin1String("%"), word);
}

QStringList expand(const QStringList& patterns, const QStringList& words)
{
    QStringList names;
    for (const QString& word : words)
        for (const QString& pattern : patterns)
            names << with_pattern(pattern, word);
    return names;
}

// A slider row: caption label, slider, spin box and Update button.
QStringList slider_rows(const QStringList& stems)
{
    return expand({"%_label", "%_horizontalSlider", "%_spinBox", "update_%_pushButton"}, stems);
}

const QStringList kColours = {"red", "yellow", "green", "cyan", "blue", "magenta"};
const QStringList kDays = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
const QStringList kLetters = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};

const QStringList kIrKeys = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "hyphen", "0", "ent",
    "display", "uparrow", "menu", "minus", "set", "plus", "auto_setup", "downarrow", "exit",
    "power", "standby", "poweron", "volplus", "chplus", "guide", "volminus", "chminus", "mute",
    "dvi", "displayport", "vga", "ypbpr", "hdmi", "dvdhd", "video", "rgbhv", "svideo", "option",
    "dvi1", "dvi2", "hdmi1", "hdmi2", "hdmi3", "hdmi4", "media_player", "compute_module",
    "picturemode", "sound", "audio_input", "option_menu", "wait1s", "imageflip", "aspect",
    "active_picture", "preset1", "preset2", "preset3",
    "multipicture_onoff", "multipicture_mode", "multipicture_change", "multipicture_pictureaspect",
    "multipicture_rotate", "multipicture_rotateall"};

QStringList ir_keys(int from, int count)
{
    return expand({"ir_remote_%_pushButton"}, kIrKeys.mid(from, count));
}

const QStringList kStatusStems = {
    "model_name", "serial_number", "DOM", "operating_hours", "total_operating_hours",
    "firmware_version", "firmware2_version", "firmware3_version", "firmware4_version",
    "fan1", "fan2", "fan3", "temp_sensor1", "temp_sensor2", "temp_sensor3", "diagnostics",
    "h_freq", "v_freq", "sync_status", "lan_mac_address"};

struct Page
{
    const char* name;
    QStringList widgets;
};

// Every named widget of each page, in stack order.
QList<Page> pages()
{
    return {
        {"page_power",
         {"power_state_groupBox", "power_on_pushButton", "power_off_pushButton", "power_state_sub_label",
          "power_state_label", "groupBox_2", "power_on_delay_horizontalSlider",
          "update_power_saving_delay_pushButton", "power_on_delay_label", "power_led_groupBox",
          "power_led_enable_radioButton", "power_led_disable_radioButton", "update_power_led_pushButton"}},
        {"page_powersave",
         {"power_saving_mode_new_groupBox", "label_81", "power_save_mode_comboBox",
          "update_saving_mode_new_pushButton", "auto_power_save_groupBox", "label_64",
          "power_save_time_spinBox", "power_save_time_label", "update_power_save_time_pushButton",
          "power_save_standby_groupBox", "label_65", "standby_time_spinBox", "standby_time_label",
          "update_standby_time_pushButton", "power_saving_mode_groupBox",
          "power_saving_mode_enable_radioButton", "power_saving_mode_disable_radioButton",
          "update_power_saving_mode_pushButton", "lan_power_mode_groupBox", "lan_power_mode_enable_radioButton",
          "lan_power_mode_disable_radioButton", "update_lan_power_mode_pushButton"}},
        {"page_coolingfan",
         QStringList{"groupBox_3", "label_13", "cooling_fan_sensor_comboBox", "label_14",
                     "cooling_fan_mode_comboBox", "update_cooling_fan_pushButton", "label_15",
                     "cooling_fan_speed_comboBox", "update_cooling_fan_speed_pushButton",
                     "fan_sensor_temp_groupBox", "label_33", "label_78", "label_79"}
             + expand({"fan_sensor%_temp_horizontalSlider", "fan_sensor%_temp_spinBox",
                       "update_fan_sensor%_temp_pushButton"},
                      {"1", "2", "3"})},
        {"page_videoinput",
         {"video_input_groupBox", "video_input_comboBox", "video_input_update_pushButton",
          "video_level_expansion_groupBox", "video_level_expansion_comboBox",
          "update_video_level_expansion_pushButton", "video_overscan_groupBox", "video_overscan_comboBox",
          "update_video_overscan_pushButton"}},
        {"page_videosettings",
         QStringList{"label_41", "six_axis_color_groupBox", "tabWidget_2", "tab_3", "tab_4", "tab_5",
                     "color_reset_pushButton"}
             + slider_rows({"brightness", "contrast", "sharpness", "black_level", "tint", "color"})
             + expand({"six_axis_%_label", "six_axis_%_hue_horizontalSlider", "six_axis_%_hue_spinBox",
                       "update_six_axis_%_hue_pushButton", "six_axis_%_label_2",
                       "six_axis_%_saturation_horizontalSlider", "six_axis_%_saturation_spinBox",
                       "update_six_axis_%_saturation_pushButton", "six_axis_%_label_3",
                       "six_axis_%_offset_horizontalSlider", "six_axis_%_offset_spinBox",
                       "update_six_axis_%_offset_pushButton"},
                      kColours)},
        {"page_videouniformity",
         {"edge_comp_on_groupBox", "label_23", "edge_comp_brightness_spinBox",
          "update_edge_comp_brightness_pushButton", "label_24", "edge_comp_type_spinBox",
          "update_edge_comp_type_pushButton", "groupBox", "label_32", "kqe_uniformity_horizontalSlider",
          "kqe_uniformity_horizontalSlider_label", "kqe_uniformity_pushButton"}},
        {"page_5", {"kqe_picture_mode_groupBox", "kqe_picture_mode_comboBox", "kqe_picture_mode_update_pushButton"}},
        {"page_videoapplyinputs", {"label_2", "input_listWidget", "calibration_apply_pushButton"}},
        {"page_sizepos",
         QStringList{"label_10", "input_resolution_comboBox", "update_input_resolution_pushButton", "label_11",
                     "base_zoom_comboBox", "update_base_zoom_pushButton", "label_12", "aspect_comboBox",
                     "update_aspect_pushButton", "size_reset_pushButton"}
             + slider_rows({"h_position", "clock", "h_resolution", "v_position", "clock_phase", "v_resolution",
                            "zoom", "h_expansion", "zoom_h_position", "v_expansion", "zoom_v_position"})},
        {"page_tilematrix",
         {"enable_tile_matrix_groupBox", "tile_matrix_enable_update_pushButton", "label_5",
          "horizontal_monitors_spinBox", "label_8", "vertical_monitors_spinBox", "label_9",
          "tile_matrix_update_pushButton", "display_array_size_diagram_widget"}},
        {"page_tilematrix_advanced",
         {"tile_comp_groupBox", "use_tile_comp_checkBox", "use_tile_comp_update_pushButton",
          "tile_matrix_memory_groupBox", "label_85", "tile_matrix_memory_comboBox",
          "tile_matrix_memory_update_pushButton", "frame_comp_groupBox", "label_82", "frame_comp_mode_comboBox",
          "frame_comp_mode_update_pushButton", "label_66", "frame_comp_auto_value_doubleSpinBox",
          "frame_comp_auto_value_update_pushButton", "label_67", "frame_comp_manual_value_doubleSpinBox",
          "frame_comp_manual_value_update_pushButton", "v_scan_reverse_groupBox", "label_83",
          "v_scan_reverse_mode_comboBox", "v_scan_reverse_mode_update_pushButton", "label_84",
          "v_scan_reverse_manual_comboBox", "v_scan_reverse_manual_update_pushButton", "label_28"}},
        {"page_ir",
         QStringList{"tabWidget", "tab", "tab_2", "label_107", "line_12", "label_105", "line_10", "label_102",
                     "line_7", "label_103", "line_8", "label_104", "line_9", "label_106", "line_11", "label_30",
                     "ir_remote_code_lineEdit", "ir_remote_sendsequence_pushButton",
                     "ir_remote_send_immediately_checkBox", "ir_remote_clear_pushButton", "line_2", "label_31",
                     "ir_control_comboBox", "ir_control_update_pushButton"}
             + ir_keys(0, kIrKeys.size())},
        {"page_osd",
         {"groupBox_5", "osd_show_display_id_pushButton", "osd_rotation_groupBox", "osd_rotation_comboBox",
          "update_osd_rotation_pushButton"}},
        {"page",
         QStringList{"group_ID_groupBox", "group_ID_update_pushButton"}
             + expand({"group_ID_%_label", "group_ID_%_checkBox"}, kLetters)},
        {"page_status",
         QStringList{"copy_status_pushButton", "label"}
             + expand({"status_%_sub_label", "status_%_label"}, kStatusStems)},
        {"page_analog", {"auto_setup_pushButton", "label_3", "auto_gain_bias_pushButton", "label_4"}},
        {"page_analog_advanced",
         QStringList{"label_25", "mode_expert_pushButton", "label_45", "mode_normal_pushButton", "label_27",
                     "black_lut_pushButton", "label_42", "white_lut_pushButton", "label_44",
                     "normal_lut_pushButton", "label_43", "label_26", "analog_bias_groupBox",
                     "analog_gain_groupBox", "brightness_label_2", "contrast_label_2", "sharpness_label_2",
                     "brightness_label_3", "contrast_label_3", "sharpness_label_3"}
             + expand({"offset_%_horizontalSlider", "offset_%_spinBox", "gain_%_horizontalSlider",
                       "gain_%_spinBox"},
                      {"red", "green", "blue"})},
        {"page_clock",
         {"groupBox_4", "label_6", "label_7", "timeEdit_time", "dateEdit", "set_to_system_date_pushButton",
          "set_to_custom_date_pushButton"}},
        {"page_schedule",
         QStringList{"schedule_groupBox", "label_16", "schedule_number_comboBox", "schedule_enable_groupBox",
                     "label_17", "schedule_on_time_enable_checkBox", "schedule_on_time_timeEdit", "label_18",
                     "schedule_off_time_enable_checkBox", "schedule_off_time_timeEdit", "label_19",
                     "schedule_input_comboBox", "label_20", "schedule_picture_mode_comboBox",
                     "schedule_every_day_checkBox", "schedule_every_week_checkBox", "schedule_update_pushButton",
                     "label_39"}
             + expand({"schedule_%_checkBox"}, kDays)},
        {"page_2",
         QStringList{"advanced_schedule_groupBox", "label_143", "advanced_schedule_number_comboBox",
                     "advanced_schedule_enable_groupBox", "label_148", "advanced_schedule_on_off_type_comboBox",
                     "label_144", "advanced_schedule_timeEdit", "label_146", "advanced_schedule_input_comboBox",
                     "label_147", "advanced_schedule_picture_mode_comboBox", "line_3",
                     "advanced_schedule_date_radioButton", "label_154", "label_153",
                     "advanced_schedule_date_year_comboBox", "label_152", "advanced_schedule_date_month_comboBox",
                     "label_150", "advanced_schedule_date_day_comboBox", "advanced_schedule_every_day_radioButton",
                     "advanced_schedule_every_week_radioButton", "label_149",
                     "advanced_schedule_weekday_radioButton", "advanced_schedule_weekend_radioButton",
                     "advanced_schedule_holiday_radioButton", "advanced_schedule_update_pushButton",
                     "advanced_schedule_clear_all_pushButton"}
             + expand({"advanced_schedule_%_checkBox"}, kDays)},
        {"page_3",
         {"holiday_groupBox", "label_137", "holiday_program_comboBox", "label_138", "holiday_year_comboBox",
          "label_140", "holiday_month_comboBox", "holiday_day_radioButton", "holiday_day_comboBox",
          "holiday_week_radioButton", "holiday_week_nth_comboBox", "holiday_week_weekday_comboBox",
          "holiday_end_day_checkBox", "holiday_end_day_month_comboBox", "holiday_end_day_day_comboBox",
          "label_139", "holiday_description_label", "holiday_update_pushButton", "holiday_clear_all_pushButton"}},
        {"page_4",
         QStringList{"weekend_groupBox", "advanced_schedule_weekend_update_pushButton"}
             + expand({"weekend_%_checkBox"}, kDays)},
        {"advancedschedule", {}},
    };
}

// The class a name stands for by the form's naming conventions.
QString class_by_name(const QString& name)
{
    static const QHash<QString, QString> exceptions = {
        {"enable_tile_matrix_groupBox", "QCheckBox"},
        {"display_array_size_diagram_widget", "KQ_display_array_size_diagram_widget"},
        {"timeEdit_time", "QTimeEdit"},
        {"dateEdit", "QDateEdit"},
    };
    static const QList<QPair<QRegularExpression, QString>> rules = {
        {QRegularExpression("(^label|_label)(_\\d+)?$"), "QLabel"},
        {QRegularExpression("_pushButton$"), "QPushButton"},
        {QRegularExpression("_comboBox$"), "QComboBox"},
        {QRegularExpression("_horizontalSlider$"), "QSlider"},
        {QRegularExpression("_doubleSpinBox$"), "QDoubleSpinBox"},
        {QRegularExpression("_spinBox$"), "QSpinBox"},
        {QRegularExpression("_radioButton$"), "QRadioButton"},
        {QRegularExpression("_checkBox$"), "QCheckBox"},
        {QRegularExpression("(^groupBox|_groupBox)(_\\d+)?$"), "QGroupBox"},
        {QRegularExpression("_lineEdit$"), "QLineEdit"},
        {QRegularExpression("_listWidget$"), "QListWidget"},
        {QRegularExpression("_timeEdit$"), "QTimeEdit"},
        {QRegularExpression("^line_\\d+$"), "QFrame"},
        {QRegularExpression("^tabWidget(_\\d+)?$"), "QTabWidget"},
        {QRegularExpression("^tab(_\\d+)?$"), "QWidget"},
    };
    if (exceptions.contains(name))
        return exceptions.value(name);
    for (const auto& rule : rules)
        if (rule.first.match(name).hasMatch())
            return rule.second;
    return QString();
}

// The grid layout below |w|'s parent that holds |w|, with its cell.
bool grid_cell(QWidget* w, int* row, int* column)
{
    QList<QLayout*> layouts{w->parentWidget()->layout()};
    while (!layouts.isEmpty()) {
        QLayout* layout = layouts.takeFirst();
        if (!layout)
            continue;
        const int index = layout->indexOf(w);
        auto* grid = qobject_cast<QGridLayout*>(layout);
        if (grid && index >= 0) {
            int rows, columns;
            grid->getItemPosition(index, row, column, &rows, &columns);
            return true;
        }
        for (int i = 0; i < layout->count(); ++i)
            layouts << layout->itemAt(i)->layout();
    }
    return false;
}

QImage picture_of(const QIcon& icon)
{
    return icon.pixmap(QSize(64, 64)).toImage();
}

class RecordingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        contexts.insert(QString::fromUtf8(context));
        sources.insert(QString::fromUtf8(source));
        return QString();
    }
    mutable QSet<QString> contexts;
    mutable QSet<QString> sources;
};

// The tab chain as the focus moves with Tab, from |start| round to it again.
QStringList focus_chain(QWidget* start)
{
    QStringList chain{start->objectName()};
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (!framework_helper(w->objectName()) && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName();
    }
    return chain;
}

} // namespace

class tst_control_panel_form : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }

    void stack_holds_the_pages_in_order()
    {
        Form form;
        QStackedWidget* stack = form.ui.stackedWidget;
        const QList<Page> expected = pages();
        QCOMPARE(stack->count(), 23);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(stack->widget(i)->objectName(), QString(expected[i].name));
        QCOMPARE(stack->currentIndex(), 4);
        QCOMPARE(form.ui.tabWidget->currentIndex(), 0);
        QCOMPARE(form.ui.tabWidget_2->currentIndex(), 0);
        // The last page is empty and no tree entry leads to it.
        QWidget* last = stack->widget(22);
        QVERIFY(!last->layout());
        QVERIFY(last->children().isEmpty());
    }

    void page_widgets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("names");
        const QList<Page> all = pages();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all[i].name) << i << all[i].widgets;
    }

    void page_widgets()
    {
        QFETCH(int, index);
        QFETCH(QStringList, names);
        Form form;
        QWidget* page = form.ui.stackedWidget->widget(index);
        for (const QString& name : names) {
            auto* w = page->findChild<QWidget*>(name);
            QVERIFY2(w, qPrintable(name + " is not on the page"));
            QCOMPARE(QString(w->metaObject()->className()), class_by_name(name));
        }
        const QString differs = difference(names_of(named_widgets(page)), names);
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }

    void frame()
    {
        Form form;
        QCOMPARE(form.dialog.objectName(), QString("kq_monitor_control_panel_dialogClass"));
        QCOMPARE(form.dialog.size(), QSize(580, 666));
        QCOMPARE(form.dialog.windowTitle(), QString("Display Settings"));
        QCOMPARE(picture_of(form.dialog.windowIcon()), picture_of(QIcon(":/images/Resources/varkel icon.png")));
        QCOMPARE(form.ui.label_29->text(), QString("Apply to:"));
        QCOMPARE(form.ui.ok_pushButton->text(), QString("OK"));
        QVERIFY(form.ui.status_label->text().isEmpty());
        for (QComboBox* box : {form.ui.apply_to_select_type_comboBox, form.ui.apply_to_display_list_comboBox})
            QCOMPARE(box->sizeAdjustPolicy(), QComboBox::AdjustToContents);

        // The frame's own widgets sit outside the pages.
        QStringList outside;
        QWidget* stack = form.ui.stackedWidget;
        for (QWidget* w : named_widgets(&form.dialog))
            if (w == stack || !stack->isAncestorOf(w))
                outside << w->objectName();
        outside.sort();
        QCOMPARE(outside, QStringList({"apply_to_display_list_comboBox", "apply_to_select_type_comboBox", "label_29",
                                       "ok_pushButton", "stackedWidget", "status_label", "treeWidget"}));
        QCOMPARE(form.ui.verticalLayout_6->contentsMargins(), QMargins(11, 11, 11, 11));
        QCOMPARE(form.ui.verticalLayout_6->spacing(), 6);
    }

    // The dialog builds the tree (22 entries) and fills the items; the form
    // leaves them empty, with the tree's header "1" hidden.
    void items_come_from_the_dialog()
    {
        Form form;
        QTreeWidget* tree = form.ui.treeWidget;
        QCOMPARE(tree->columnCount(), 1);
        QCOMPARE(tree->headerItem()->text(0), QString("1"));
        QVERIFY(tree->isHeaderHidden());
        QCOMPARE(tree->topLevelItemCount(), 0);
        for (QComboBox* box : form.dialog.findChildren<QComboBox*>())
            QVERIFY2(box->count() == 0, qPrintable(box->objectName()));
        QCOMPARE(form.ui.input_listWidget->count(), 0);
        for (QSlider* slider : form.dialog.findChildren<QSlider*>())
            QVERIFY2(slider->styleSheet().isEmpty(), qPrintable(slider->objectName()));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        for (const QString& stem : kStatusStems)
            QTest::newRow(qPrintable("status_" + stem)) << "status_" + stem + "_label" << "-";
        const QList<QPair<QString, QString>> rows = {
            {"power_state_label", "-"},
            {"power_on_delay_label", ""},
            {"kqe_uniformity_horizontalSlider_label", "-"},
            {"power_save_time_label", "seconds"},
            {"status_DOM_sub_label", "Date of Manufacture:"},
            {"set_to_system_date_pushButton", "Set to system date && time"},
            {"set_to_custom_date_pushButton", "Set to custom date && time"},
            {"enable_tile_matrix_groupBox", "Enable Tile Matrix"},
            {"label_5", "Matrix size is"},
            {"ir_remote_hyphen_pushButton", "-"},
            {"ir_remote_wait1s_pushButton", "Wait 1s"},
            {"ir_remote_multipicture_pictureaspect_pushButton", "Aspect"},
            {"calibration_apply_pushButton", "Apply"},
            {"color_reset_pushButton", "Reset Picture Settings"},
            {"advanced_schedule_clear_all_pushButton", "Clear all Schedules"},
            {"six_axis_magenta_label_3", "Magenta:"},
            {"sharpness_label_3", "Blue"},
            {"group_ID_j_label", "J"},
            {"group_ID_a_checkBox", ""},
            {"schedule_on_time_enable_checkBox", ""},
            {"label_154", ""},
            {"holiday_description_label", ""},
            {"label_26", "<b>Note:</b> The following software controls are not available on all models.  On some "
                         "models it will be necessary to adjust via the On Screen Display. Adjusting via the OSD has "
                         "a faster response than via software."},
            {"label_25",
             "<html><u><b>ADVANCED ANALOG ADJUSTMENT INSTRUCTIONS</b></u> <br /><br /><b>Note:</b> Please see the "
             "User's Guide for detailed instructions on the correct usage of this feature. <br /><br />These "
             "controls are intended to assist with manual adjustment of the analog video levels in cases where "
             "automatic adjustment is not accurate enough. Use this only if the displays <span style=\" "
             "text-decoration: underline;\">do not</span> match when an analog signal is selected, but <u>do</u> "
             "match when \"Calibrated White\" test patterns are shown. </p></body></html>"},
        };
        for (const auto& row : rows)
            QTest::newRow(qPrintable(row.first)) << row.first << row.second;
    }

    void texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        Form form;
        QWidget* w = form.find(name);
        QVERIFY(w);
        QCOMPARE(w->property("text").toString(), text);
    }

    void titles()
    {
        Form form;
        QCOMPARE(form.ui.tabWidget->tabText(0), QString("Numerical / Navigation / Select"));
        QCOMPARE(form.ui.tabWidget->tabText(1), QString("Inputs / Multi Picture / Misc."));
        QCOMPARE(form.ui.tabWidget_2->tabText(0), QString("Hue"));
        QCOMPARE(form.ui.tabWidget_2->tabText(1), QString("Saturation"));
        QCOMPARE(form.ui.tabWidget_2->tabText(2), QString("Offset"));
        QCOMPARE(form.ui.lan_power_mode_groupBox->title(), QString("LAN Power (when in Power Saving Mode)"));
        QCOMPARE(form.ui.fan_sensor_temp_groupBox->title(),
                 QString("Cooling Fan Control Sensor Temperatures Limit"));
        QCOMPARE(form.ui.analog_bias_groupBox->title(), QString("Analog Offset Base (Bias)"));
        QCOMPARE(form.ui.advanced_schedule_timeEdit->displayFormat(), QString("h:mm AP"));
    }

    // Twelve Update buttons carry a caption, the others the arrow alone; the
    // power buttons their own icons; no other button an icon.
    void buttons_and_icons()
    {
        Form form;
        const QSet<QString> captioned = {
            "video_input_update_pushButton", "update_video_level_expansion_pushButton",
            "update_video_overscan_pushButton", "kqe_picture_mode_update_pushButton",
            "tile_matrix_enable_update_pushButton", "tile_matrix_update_pushButton", "ir_control_update_pushButton",
            "group_ID_update_pushButton", "schedule_update_pushButton", "advanced_schedule_update_pushButton",
            "holiday_update_pushButton", "advanced_schedule_weekend_update_pushButton"};
        const QImage arrow = picture_of(QIcon(kArrowIcon));
        QVERIFY(!arrow.isNull());
        int updates = 0;
        for (QPushButton* button : form.dialog.findChildren<QPushButton*>()) {
            const QString name = button->objectName();
            const bool update = name.startsWith("update_") || name.endsWith("_update_pushButton")
                                || name == "kqe_uniformity_pushButton";
            if (update) {
                ++updates;
                QVERIFY2(picture_of(button->icon()) == arrow, qPrintable(name));
                QCOMPARE(button->text(), captioned.contains(name) ? QString("Update") : QString());
            } else if (name == "power_on_pushButton" || name == "power_off_pushButton") {
                const QString path = name == "power_on_pushButton" ? ":/images/Resources/power-on16.png"
                                                                    : ":/images/Resources/power-off16.png";
                QCOMPARE(picture_of(button->icon()), picture_of(QIcon(path)));
                QVERIFY(!button->icon().isNull());
            } else {
                QVERIFY2(button->icon().isNull(), qPrintable(name));
            }
        }
        QCOMPARE(updates, 73);
    }

    void tooltips()
    {
        Form form;
        QMap<QString, QString> tips;
        for (QWidget* w : named_widgets(&form.dialog))
            if (!w->toolTip().isEmpty())
                tips.insert(w->objectName(), w->toolTip());
        QCOMPARE(tips.keys(), QStringList({"frame_comp_groupBox", "groupBox_5", "ir_control_comboBox",
                                           "tile_comp_groupBox", "tile_matrix_memory_groupBox",
                                           "v_scan_reverse_groupBox"}));
        QCOMPARE(tips["groupBox_5"], QString("Temporarily shows the current Monitor ID on the screen."));
        QCOMPARE(tips["ir_control_comboBox"],
                 QString("<b>Note:</b> On some models IR Control must be set to <b>Normal</b> when updating the "
                         "firmware."));
        QVERIFY(tips["tile_comp_groupBox"].contains("Tile Comp (bezel width compensation)<"));
        QVERIFY(tips["tile_matrix_memory_groupBox"].contains(
            "Apply the Tile Matrix settings to all video inputs (Common) or to the current input only (Input)."));
        for (const char* group : {"frame_comp_groupBox", "v_scan_reverse_groupBox"}) {
            QVERIFY(Qt::mightBeRichText(tips[group]));
            QVERIFY(tips[group].contains("<img src=\":/images/Resources/frame gap.png\""));
        }
        QVERIFY(tips["frame_comp_groupBox"].contains("<img src=\":/images/Resources/frame comp on.png\""));
        QVERIFY(tips["v_scan_reverse_groupBox"].contains("<img src=\":/images/Resources/panel scan reverse.png\""));
        QVERIFY(tips["v_scan_reverse_groupBox"].contains(
            "Normally panels are scanned top to bottom. Reversing direction on alternate rows of tiled displays can "
            "reduce frame gaps between rows when showing moving images."));
    }

    void shortcuts()
    {
        Form form;
        QMap<QString, QString> keys;
        for (QAbstractButton* button : form.dialog.findChildren<QAbstractButton*>())
            if (!button->shortcut().isEmpty())
                keys.insert(button->objectName(), button->shortcut().toString());
        QMap<QString, QString> expected;
        for (const char* digit : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"})
            expected.insert(QString("ir_remote_%1_pushButton").arg(digit), digit);
        expected.insert("ir_remote_hyphen_pushButton", ".");
        expected.insert("ir_remote_ent_pushButton", "Enter");
        expected.insert("ir_remote_minus_pushButton", "-");
        expected.insert("ir_remote_plus_pushButton", "+");
        QCOMPARE(keys, expected);
    }

    void enabled_and_checked()
    {
        Form form;
        // Disabled by the form itself, not through an unchecked group box.
        QStringList disabled;
        for (QWidget* w : named_widgets(&form.dialog))
            if (w->testAttribute(Qt::WA_ForceDisabled))
                disabled << w->objectName();
        QStringList expected_disabled = QStringList{"calibration_apply_pushButton",
                                                    "ir_remote_sendsequence_pushButton", "holiday_end_day_checkBox",
                                                    "holiday_end_day_month_comboBox", "holiday_end_day_day_comboBox"}
                                        + expand({"advanced_schedule_%_checkBox"}, kDays);
        const QString differs = difference(disabled, expected_disabled);
        QVERIFY2(differs.isEmpty(), qPrintable(differs));

        QStringList checked;
        for (QAbstractButton* button : form.dialog.findChildren<QAbstractButton*>())
            if (button->isChecked())
                checked << button->objectName();
        checked.sort();
        QCOMPARE(checked, QStringList({"advanced_schedule_holiday_radioButton", "holiday_week_radioButton",
                                       "ir_remote_send_immediately_checkBox"}));

        QMap<QString, bool> checkable_groups;
        for (QGroupBox* group : form.dialog.findChildren<QGroupBox*>())
            if (group->isCheckable())
                checkable_groups.insert(group->objectName(), group->isChecked());
        QMap<QString, bool> expected_groups{{"edge_comp_on_groupBox", false},
                                            {"schedule_enable_groupBox", true},
                                            {"advanced_schedule_enable_groupBox", true}};
        QCOMPARE(checkable_groups, expected_groups);
        // The unchecked edge compensation group holds its controls disabled.
        for (QWidget* w : named_widgets(form.ui.edge_comp_on_groupBox))
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    }

    // The form ranges a few numeric controls; the rest keep 0 to 99 until a
    // page is read from a display.
    void numeric_ranges()
    {
        Form form;
        const QMap<QString, QPair<int, int>> ranged = {
            {"power_save_time_spinBox", {0, 200}}, {"standby_time_spinBox", {0, 200}},
            {"horizontal_monitors_spinBox", {1, 10}}, {"vertical_monitors_spinBox", {1, 10}},
            {"zoom_horizontalSlider", {1, 99}}, {"zoom_spinBox", {1, 99}},
            {"h_expansion_horizontalSlider", {1, 99}}, {"h_expansion_spinBox", {1, 99}},
            {"v_expansion_horizontalSlider", {1, 99}}, {"v_expansion_spinBox", {1, 99}}};
        int sliders = 0;
        for (QSlider* slider : form.dialog.findChildren<QSlider*>()) {
            const auto range = ranged.value(slider->objectName(), {0, 99});
            QCOMPARE(qMakePair(slider->minimum(), slider->maximum()), range);
            QCOMPARE(slider->singleStep(), 1);
            QCOMPARE(slider->orientation(), Qt::Horizontal);
            ++sliders;
        }
        int spin_boxes = 0;
        for (QSpinBox* box : form.dialog.findChildren<QSpinBox*>()) {
            const auto range = ranged.value(box->objectName(), {0, 99});
            QCOMPARE(qMakePair(box->minimum(), box->maximum()), range);
            QCOMPARE(box->singleStep(), 1);
            QCOMPARE(box->suffix(), box->objectName().startsWith("fan_sensor") ? QString(" °C") : QString());
            ++spin_boxes;
        }
        QCOMPARE(sliders, 46);
        QCOMPARE(spin_boxes, 50);
        QCOMPARE(form.ui.kqe_uniformity_horizontalSlider->tickPosition(), QSlider::TicksBelow);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(form.find(QString("fan_sensor%1_temp_horizontalSlider").arg(i))->toolTip().isEmpty());
    }

    void frame_compensation_spin_boxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("step");
        QTest::newRow("auto") << "frame_comp_auto_value_doubleSpinBox" << 0.5 << 0.5;
        QTest::newRow("manual") << "frame_comp_manual_value_doubleSpinBox" << 0.25 << 0.25;
    }

    void frame_compensation_spin_boxes()
    {
        QFETCH(QString, name);
        QFETCH(double, minimum);
        QFETCH(double, step);
        Form form;
        auto* box = form.find<QDoubleSpinBox>(name);
        QVERIFY(box);
        // Quarters and halves are exact in binary, so the comparisons are exact.
        QCOMPARE(box->minimum(), minimum);
        QCOMPARE(box->maximum(), 2.0);
        QCOMPARE(box->singleStep(), step);
        QCOMPARE(box->decimals(), 2);
        QCOMPARE(box->suffix(), QString(" frames"));
    }

    void clock_date_range()
    {
        Form form;
        QDateEdit* edit = form.ui.dateEdit;
        QCOMPARE(edit->minimumDate(), QDate(2000, 12, 31));
        QCOMPARE(edit->maximumDate(), QDate(2099, 12, 31));
        edit->setDate(QDate(2000, 12, 30));
        QCOMPARE(edit->date(), QDate(2000, 12, 31));
        edit->setDate(QDate(2100, 1, 1));
        QCOMPARE(edit->date(), QDate(2099, 12, 31));
    }

    void size_policies_and_list()
    {
        Form form;
        const QSizePolicy diagram = form.ui.display_array_size_diagram_widget->sizePolicy();
        QCOMPARE(diagram.horizontalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(diagram.verticalPolicy(), QSizePolicy::Expanding);
        const QSizePolicy memory = form.ui.tile_matrix_memory_comboBox->sizePolicy();
        QCOMPARE(memory.horizontalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(memory.verticalPolicy(), QSizePolicy::Fixed);
        QCOMPARE(form.ui.tile_matrix_memory_comboBox->sizeAdjustPolicy(), QComboBox::AdjustToContents);
        QCOMPARE(form.ui.cooling_fan_mode_comboBox->sizeAdjustPolicy(), QComboBox::AdjustToContents);
        QCOMPARE(form.ui.input_listWidget->selectionMode(), QAbstractItemView::NoSelection);
        QCOMPARE(form.ui.input_listWidget->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(form.ui.input_listWidget->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(form.ui.kqe_uniformity_horizontalSlider_label->minimumWidth(), 25);
        QCOMPARE(form.ui.power_state_label->sizePolicy().horizontalStretch(), 1);
        QCOMPARE(form.ui.line_2->frameShape(), QFrame::HLine);
        QCOMPARE(form.ui.line_2->frameShadow(), QFrame::Sunken);
        QCOMPARE(form.ui.status_model_name_sub_label->alignment(),
                 Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
        QCOMPARE(form.ui.group_ID_c_label->alignment(), Qt::Alignment(Qt::AlignCenter));
    }

    void grid_cells_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("status caption") << "status_model_name_sub_label" << 0 << 0;
        QTest::newRow("status value") << "status_model_name_label" << 0 << 2;
        QTest::newRow("last status value") << "status_lan_mac_address_label" << 19 << 2;
        QTest::newRow("advanced Sunday below an empty row") << "advanced_schedule_sunday_checkBox" << 4 << 1;
        QTest::newRow("advanced indent") << "label_149" << 1 << 0;
        QTest::newRow("weekend Sunday") << "weekend_sunday_checkBox" << 6 << 0;
        QTest::newRow("weekend Thursday") << "weekend_thursday_checkBox" << 2 << 1;
        QTest::newRow("holiday end day") << "holiday_end_day_day_comboBox" << 4 << 2;
        QTest::newRow("key hyphen") << "ir_remote_hyphen_pushButton" << 3 << 0;
        QTest::newRow("key Ent") << "ir_remote_ent_pushButton" << 3 << 2;
        QTest::newRow("key compute module") << "ir_remote_compute_module_pushButton" << 4 << 1;
        QTest::newRow("key preset 3") << "ir_remote_preset3_pushButton" << 2 << 2;
        QTest::newRow("key rotate all") << "ir_remote_multipicture_rotateall_pushButton" << 1 << 2;
        QTest::newRow("group J box") << "group_ID_j_checkBox" << 1 << 9;
        QTest::newRow("group A letter") << "group_ID_a_label" << 0 << 0;
        QTest::newRow("group update") << "group_ID_update_pushButton" << 0 << 1;
        QTest::newRow("clock time") << "timeEdit_time" << 1 << 0;
        QTest::newRow("clock custom") << "set_to_custom_date_pushButton" << 1 << 1;
        QTest::newRow("analog normal LUT") << "normal_lut_pushButton" << 5 << 0;
        QTest::newRow("analog blue gain") << "gain_blue_spinBox" << 2 << 2;
        QTest::newRow("picture colour row") << "update_color_pushButton" << 5 << 3;
        QTest::newRow("six-axis group") << "six_axis_color_groupBox" << 6 << 0;
        QTest::newRow("fan sensor 3") << "fan_sensor3_temp_spinBox" << 2 << 2;
        QTest::newRow("edge comp type") << "edge_comp_type_spinBox" << 0 << 5;
    }

    void grid_cells()
    {
        QFETCH(QString, name);
        QFETCH(int, row);
        QFETCH(int, column);
        Form form;
        QWidget* w = form.find(name);
        QVERIFY(w);
        int actual_row = -1, actual_column = -1;
        QVERIFY(grid_cell(w, &actual_row, &actual_column));
        QCOMPARE(actual_row, row);
        QCOMPARE(actual_column, column);
    }

    void status_values_leave_column_one_empty()
    {
        Form form;
        QGridLayout* grid = form.ui.gridLayout_81;
        QCOMPARE(grid->count(), 40);
        for (int i = 0; i < grid->count(); ++i) {
            int row, column, rows, columns;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            QVERIFY(column != 1);
        }
    }

    // Every caption and tooltip passes through translation in the form's context.
    void translation_context()
    {
        Form form;
        RecordingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        form.ui.retranslateUi(&form.dialog);
        QCoreApplication::removeTranslator(&translator);
        // The framework translates its own words (key names, date formats) in its classes' contexts.
        QStringList contexts = translator.contexts.values();
        contexts.erase(std::remove_if(contexts.begin(), contexts.end(),
                                      [](const QString& c) { return c.startsWith('Q'); }),
                       contexts.end());
        QCOMPARE(contexts, QStringList({"kq_monitor_control_panel_dialogClass"}));
        for (const char* source : {"Display Settings", "Apply to:", "OK", "Power State", "Ent", "Hue", "Clock",
                                   "Set to system date && time", "h:mm AP", " \u00b0C", " frames",
                                   "Temporarily shows the current Monitor ID on the screen."})
            QVERIFY2(translator.sources.contains(QString::fromUtf8(source)), source);
    }

    void tab_chain_data()
    {
        QTest::addColumn<QStringList>("run");
        QTest::newRow("start") << QStringList{"apply_to_select_type_comboBox", "apply_to_display_list_comboBox",
                                              "ok_pushButton", "power_on_pushButton"};
        QStringList size_position;
        for (const char* stem : {"h_position", "clock", "h_resolution"})
            size_position << expand({"%_horizontalSlider", "%_spinBox", "update_%_pushButton"}, {stem});
        size_position << "input_resolution_comboBox" << "update_input_resolution_pushButton" << "base_zoom_comboBox"
                      << "update_base_zoom_pushButton";
        for (const char* stem : {"h_expansion", "zoom_h_position"})
            size_position << expand({"%_horizontalSlider", "%_spinBox", "update_%_pushButton"}, {stem});
        size_position << "aspect_comboBox" << "update_aspect_pushButton" << "size_reset_pushButton";
        for (const char* stem : {"v_position", "clock_phase", "v_resolution", "zoom", "v_expansion", "zoom_v_position"})
            size_position << expand({"%_horizontalSlider", "%_spinBox", "update_%_pushButton"}, {stem});
        size_position << "enable_tile_matrix_groupBox" << "tile_matrix_enable_update_pushButton"
                      << "horizontal_monitors_spinBox" << "vertical_monitors_spinBox"
                      << "tile_matrix_update_pushButton";
        QTest::newRow("size and position, tile matrix") << size_position;
        QTest::newRow("tile matrix advanced")
            << QStringList{"use_tile_comp_checkBox", "use_tile_comp_update_pushButton", "frame_comp_mode_comboBox",
                           "frame_comp_mode_update_pushButton", "frame_comp_auto_value_doubleSpinBox",
                           "frame_comp_auto_value_update_pushButton", "frame_comp_manual_value_doubleSpinBox",
                           "frame_comp_manual_value_update_pushButton", "tile_matrix_memory_comboBox",
                           "tile_matrix_memory_update_pushButton", "v_scan_reverse_mode_comboBox",
                           "v_scan_reverse_mode_update_pushButton", "v_scan_reverse_manual_comboBox",
                           "v_scan_reverse_manual_update_pushButton", "tabWidget"};
        QTest::newRow("IR remote") << QStringList{"tabWidget"} + ir_keys(0, 30)
                                          + QStringList{"ir_remote_code_lineEdit", "ir_remote_sendsequence_pushButton",
                                                        "ir_remote_send_immediately_checkBox",
                                                        "ir_remote_clear_pushButton"}
                                          + ir_keys(30, 35) + QStringList{"osd_show_display_id_pushButton"};
        QTest::newRow("analog")
            << QStringList{"auto_setup_pushButton", "auto_gain_bias_pushButton", "mode_expert_pushButton",
                           "mode_normal_pushButton", "black_lut_pushButton", "white_lut_pushButton",
                           "normal_lut_pushButton"}
                   + expand({"offset_%_horizontalSlider", "offset_%_spinBox"}, {"red", "green", "blue"})
                   + expand({"gain_%_horizontalSlider", "gain_%_spinBox"}, {"red", "green", "blue"});
        QTest::newRow("schedules")
            << QStringList{"set_to_custom_date_pushButton", "schedule_number_comboBox", "schedule_enable_groupBox",
                           "schedule_on_time_enable_checkBox", "schedule_on_time_timeEdit",
                           "schedule_off_time_enable_checkBox", "schedule_off_time_timeEdit", "schedule_input_comboBox",
                           "schedule_picture_mode_comboBox", "schedule_every_day_checkBox",
                           "schedule_every_week_checkBox"}
                   + expand({"schedule_%_checkBox"}, kDays)
                   + QStringList{"schedule_update_pushButton", "advanced_schedule_number_comboBox",
                                 "advanced_schedule_enable_groupBox", "advanced_schedule_on_off_type_comboBox",
                                 "advanced_schedule_timeEdit", "advanced_schedule_input_comboBox",
                                 "advanced_schedule_picture_mode_comboBox", "advanced_schedule_date_radioButton",
                                 "advanced_schedule_date_year_comboBox", "advanced_schedule_date_month_comboBox",
                                 "advanced_schedule_date_day_comboBox", "advanced_schedule_every_day_radioButton",
                                 "advanced_schedule_every_week_radioButton"}
                   + expand({"advanced_schedule_%_checkBox"}, kDays)
                   + QStringList{"advanced_schedule_weekday_radioButton", "advanced_schedule_weekend_radioButton",
                                 "advanced_schedule_holiday_radioButton", "advanced_schedule_update_pushButton",
                                 "holiday_program_comboBox", "holiday_year_comboBox", "holiday_month_comboBox",
                                 "holiday_day_radioButton", "holiday_day_comboBox", "holiday_week_radioButton",
                                 "holiday_week_nth_comboBox", "holiday_week_weekday_comboBox",
                                 "holiday_end_day_checkBox", "holiday_end_day_month_comboBox",
                                 "holiday_end_day_day_comboBox", "holiday_update_pushButton",
                                 "holiday_clear_all_pushButton"}
                   + expand({"weekend_%_checkBox"}, kDays)
                   + QStringList{"advanced_schedule_weekend_update_pushButton", "group_ID_a_checkBox"};
        QTest::newRow("late clear all and IR control")
            << QStringList{"group_ID_i_checkBox", "advanced_schedule_clear_all_pushButton", "ir_control_comboBox",
                           "ir_control_update_pushButton"};
    }

    void tab_chain()
    {
        QFETCH(QStringList, run);
        Form form;
        const QStringList chain = focus_chain(form.ui.apply_to_select_type_comboBox);
        const int at = chain.indexOf(run.first());
        QVERIFY(at >= 0);
        QCOMPARE(chain.mid(at, run.size()).join(' '), run.join(' '));
    }

    // The page tree stands late in the chain, among the group ID boxes.
    void tree_among_group_boxes()
    {
        Form form;
        const QStringList chain = focus_chain(form.ui.apply_to_select_type_comboBox);
        const int tree = chain.indexOf("treeWidget");
        QVERIFY(tree > chain.indexOf("advanced_schedule_weekend_update_pushButton"));
        QVERIFY(chain.at(tree - 1).startsWith("group_ID_"));
        QVERIFY(chain.at(tree + 1).startsWith("group_ID_"));
        QCOMPARE(QSet<QString>(chain.begin(), chain.end()).size(), chain.size());
    }
};

QTEST_MAIN(tst_control_panel_form)
#include "tst_control_panel_form.moc"
