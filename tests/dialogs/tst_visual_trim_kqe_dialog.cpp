// The engine trim dialog with its corner page on a simulated display: the
// display's white, luminance, level and corners follow the trim; OK and
// Cancel while a write is pending; what OK stores and Cancel writes back;
// the texts and the corner rules.
#include "dialogs/engine_trim_texts.h"
#include "dialogs/kq_visual_trim_kqe_dialog.h"
#include "display_protocol/control_codes.h"
#include "resources/tessaline_resources.h"
#include "tests/dialogs/adjustment_wall.h"
#include "views/widgets/KQ_corner_uniformity_diagram_widget.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

using namespace control_code;

constexpr int kSpan = 64;

CornerUniformityEntry corner(int first, int second, int level = 0, int span = kSpan)
{
    return CornerUniformityEntry{first, second, span, span, level};
}

CAdjustValue engine_record()
{
    CAdjustValue record;
    record.engine_capability_word = 1;
    record.engine_calibrated_word = 1;
    record.capability_flags = 1;
    record.corner_uniformity_flag = 1;
    record.engine_luminance_flag = 1;
    record.backlight_setting = 300;
    record.backlight_minimum = 50;
    record.backlight_maximum = 500;
    record.engine_white_x = 313;
    record.engine_white_y = 329;
    record.uniformity_level = 2;
    for (int c = 0; c < 4; ++c)
        record.SetChannelEntry(c, corner(kSpan / 2, kSpan / 2));
    record.SetCalibrationDateTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4)));
    return record;
}

template <typename Widget>
Widget *child(QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

void click(QWidget &dialog, const char *name)
{
    child<QPushButton>(dialog, name)->click();
}

struct engine_wall : adjustment_wall
{
    explicit engine_wall(const CAdjustValue &record) : adjustment_wall(1, "VW-5540QE")
    {
        if (!ok)
            return;
        store(0, record);
        on_display(0, [](sim_display &d) { d.controls.set(kEngineSwitch, 2, 2); });
        changes = std::make_unique<QSignalSpy>(&records(), &CMonitorTracker::data_changed);
    }
    std::unique_ptr<QSignalSpy> changes;
};

void wait_idle(kq_visual_trim_kqe_dialog &dialog)
{
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.write_pending(), 30000);
}

} // namespace

class tst_visual_trim_kqe_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        tessaline_init_resources();
    }

    void texts_data()
    {
        QTest::addColumn<bool>("candela");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("candela") << true << 300 << QString("300 ") + QStringLiteral("cd/m\u00B2");
        QTest::newRow("per cent of the range") << false << 275 << "50.0%";
    }
    void texts()
    {
        QFETCH(bool, candela);
        QFETCH(int, value);
        QFETCH(QString, text);
        luminance_scale scale{50, 500, candela};
        QCOMPARE(scale.text(value), text);
        QVERIFY((luminance_scale{0, 0, candela}.text(value).isEmpty()));
        QVERIFY((luminance_scale{50, 50, candela}.text(value).isEmpty()));
    }

    void warnings_data()
    {
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("luminance");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("text");
        QTest::newRow("cannot reach the luminance") << 290 << 300 << 0 << "290 cd/m\u00B2 maximum";
        QTest::newRow("within five") << 296 << 300 << 0 << "";
        QTest::newRow("reduced uniformity") << 300 << 300 << 250 << "Reduced Uniformity correction";
        QTest::newRow("limit above") << 300 << 300 << 400 << "";
    }
    void warnings()
    {
        QFETCH(int, held);
        QFETCH(int, luminance);
        QFETCH(int, limit);
        QFETCH(QString, text);
        const warning_text warning = luminance_warning(luminance_scale{50, 500, true}, held, luminance, limit);
        if (text.isEmpty()) {
            QVERIFY(warning.text.isEmpty());
            QVERIFY(warning.tooltip.isEmpty());
            return;
        }
        QVERIFY2(warning.text.startsWith("<img src=\":/images/Resources/alerts_yellow_icon_20.png\">&nbsp;"),
                 qPrintable(warning.text));
        QVERIFY2(warning.text.endsWith(text), qPrintable(warning.text));
        QVERIFY(warning.tooltip.startsWith("<html>"));
    }

    void corner_texts()
    {
        QCOMPARE(corner_offset_text(corner(0, 0, 0, 0)), QStringLiteral("-"));
        QCOMPARE(corner_offset_text(corner(32, 32)), QStringLiteral("Offset: None"));
        QCOMPARE(corner_offset_text(corner(35, 30)), QStringLiteral("Offset: x=+3 y=-2"));
        QCOMPARE(corner_names(false).at(0), QStringLiteral("Top-Left"));
        QCOMPARE(corner_names(true).at(0), QStringLiteral("Top-Right"));
        QCOMPARE(corner_names(true).at(3), QStringLiteral("Bottom-Left"));
        QCOMPARE(uniformity_level_text(0), QStringLiteral("Off"));
    }

    void load_puts_the_trim_on_the_display()
    {
        CAdjustValue record = engine_record();
        record.visual_trim_flags = CAdjustValue::kTrimEngineWhiteX | CAdjustValue::kTrimBacklight;
        record.engine_white_x_visual_trim = 320;
        record.backlight_visual_trim = 280;
        record.SetChannelEntry(2, corner(40, 30, 1));
        engine_wall wall(record);
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        QCOMPARE(wall.control(0, kEngineWhiteX), 320);
        QCOMPARE(wall.control(0, kEngineWhiteY), 329);
        QCOMPARE(wall.control(0, kEngineLuminance), 280);
        QCOMPARE(wall.control(0, kUniformityLevel), 2);
        QCOMPARE(wall.control(0, kEnginePatchGenerator), 2);
        QCOMPARE(child<QDoubleSpinBox>(dialog, "custom_white_point_x_doubleSpinBox")->value(), 0.320);
        QCOMPARE(child<QLabel>(dialog, "backlight_brightness_label")->text(), QStringLiteral("280 cd/m\u00B2"));
        QCOMPARE(child<QLabel>(dialog, "uniformity_correction_level_label")->text(), QStringLiteral("2"));
        // Only the corner that differs was written, the level after it.
        QCOMPARE(wall.writes(0, kCornerArea), QList<int>{40 * 256 + 30});
        QCOMPARE(wall.writes(0, kCornerSize), QList<int>{1});
        QVERIFY(!wall.link_released());
        QVERIFY(child<QGroupBox>(dialog, "corner_uniformity_groupBox")->isEnabled());
        QCOMPARE(dialog.corner_block().show_levels, quint8(1));
        QVERIFY(child<QPushButton>(dialog, "reset_visual_trim_pushButton")->isEnabled());
    }

    void the_white_follows_and_ok_completes_by_itself()
    {
        engine_wall wall(engine_record());
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        wall.clear_log();
        click(dialog, "too_blue_pushButton");
        click(dialog, "too_dark_pushButton");
        QVERIFY(dialog.write_pending());
        dialog.onaccept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), 30000);
        QCOMPARE(wall.writes(0, kEngineWhiteX), QList<int>{314});
        QCOMPARE(wall.writes(0, kEngineWhiteY), QList<int>{330});
        QCOMPARE(wall.writes(0, kEngineLuminance), QList<int>{301});
        QVERIFY(wall.link_released());
        const CAdjustValue stored = wall.record(0);
        QCOMPARE(int(stored.visual_trim_flags), CAdjustValue::kTrimBacklight | CAdjustValue::kTrimEngineWhiteX
                                                    | CAdjustValue::kTrimEngineWhiteY);
        QCOMPARE(int(stored.engine_white_x_visual_trim), 314);
        QCOMPARE(int(stored.backlight_visual_trim), 301);
        QCOMPARE(int(stored.uniformity_level_visual_trim), 0);
    }

    void ok_without_a_change_stores_nothing()
    {
        engine_wall wall(engine_record());
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        wall.changes->clear();
        dialog.onaccept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(wall.changes->count(), 0);
    }

    void cancel_writes_back_only_what_changed()
    {
        engine_wall wall(engine_record());
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        click(dialog, "too_cyan_pushButton");
        wait_idle(dialog);
        QCOMPARE(wall.control(0, kEngineWhiteX), 314);
        wall.clear_log();
        click(dialog, "too_red_pushButton");
        click(dialog, "too_red_pushButton");
        // Cancel while pending: the write goes first, then the write-back.
        dialog.reject();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QTRY_VERIFY_WITH_TIMEOUT(wall.link_released(), 30000);
        QCOMPARE(wall.writes(0, kEngineWhiteX), (QList<int>{312, 313}));
        QVERIFY(wall.writes(0, kEngineWhiteY).isEmpty());
        QVERIFY(wall.writes(0, kEngineLuminance).isEmpty());
        QCOMPARE(wall.changes->count(), 0);
    }

    void the_white_point_spin_boxes_keep_their_limits()
    {
        CAdjustValue record = engine_record();
        record.engine_white_x = 480;
        record.engine_white_y = 290;
        engine_wall wall(record);
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        QVERIFY(!child<QPushButton>(dialog, "too_cyan_pushButton")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "too_blue_pushButton")->isEnabled());
        QVERIFY(child<QPushButton>(dialog, "too_red_pushButton")->isEnabled());
        // 0.290 is written as 290, not truncated to 289.
        click(dialog, "too_magenta_pushButton");
        click(dialog, "too_green_pushButton");
        wait_idle(dialog);
        QCOMPARE(wall.control(0, kEngineWhiteY), 290);
        QCOMPARE(wall.control(0, kEngineWhiteX), 480);
    }

    void corners_clamp_and_a_pending_write_goes_first()
    {
        CAdjustValue record = engine_record();
        record.SetChannelEntry(0, corner(kSpan - 1, 1));
        engine_wall wall(record);
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        wall.clear_log();
        // Corner 0 is selected: step it past its limits.
        for (int i = 0; i < 3; ++i)
            dialog.on_corner_uniformity_too_cyan_pushButton_clicked();
        for (int i = 0; i < 3; ++i)
            dialog.on_corner_uniformity_too_green_pushButton_clicked();
        const CornerUniformityEntry moved = dialog.model().current_corners()[0];
        QCOMPARE(moved.first_offset, kSpan);
        QCOMPARE(moved.second_offset, 0);
        QVERIFY(!child<QPushButton>(dialog, "corner_uniformity_too_cyan_pushButton")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "corner_uniformity_too_green_pushButton")->isEnabled());
        QCOMPARE(child<QLabel>(dialog, "corner_uniformity_test_label")->text(), QStringLiteral("Offset: x=+32 y=-32"));
        QVERIFY(dialog.write_pending());
        // Picking another corner in the diagram writes the old one at once.
        emit child<KQ_corner_uniformity_diagram_widget>(dialog, "corner_uniformity_diagram_widget")
            ->selected_corner_position_changed(0, 3);
        QVERIFY(!dialog.write_pending());
        QCOMPARE(wall.writes(0, kCornerSelect), QList<int>{0});
        QCOMPARE(wall.writes(0, kCornerArea), QList<int>{kSpan * 256});
        QCOMPARE(dialog.model().selected_corner(), 3);
        QCOMPARE(child<QComboBox>(dialog, "corner_uniformity_select_corner_comboBox")->currentData().toInt(), 3);
    }

    void resets_write_only_corners_off_centre()
    {
        CAdjustValue record = engine_record();
        record.SetChannelEntry(1, corner(40, 30));
        engine_wall wall(record);
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        QVERIFY(child<QPushButton>(dialog, "corner_uniformity_reset_all_corners_pushButton")->isEnabled());
        // Corner 0 is at its centre: nothing is written, not even the level.
        wall.clear_log();
        dialog.on_corner_uniformity_reset_pushButton_clicked();
        QVERIFY(wall.writes(0, kCornerSelect).isEmpty());
        QVERIFY(wall.writes(0, kUniformityLevel).isEmpty());
        dialog.on_corner_uniformity_reset_all_corners_pushButton_clicked();
        QCOMPARE(wall.writes(0, kCornerSelect), QList<int>{1});
        QCOMPARE(wall.writes(0, kUniformityLevel), QList<int>{2});
        QVERIFY(!child<QPushButton>(dialog, "corner_uniformity_reset_all_corners_pushButton")->isEnabled());
        dialog.onaccept();
        QCOMPARE(int(wall.record(0).visual_trim_flags & CAdjustValue::kTrimCorners), 0);
    }

    void level_off_disables_corner_editing()
    {
        engine_wall wall(engine_record());
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
        QVERIFY(child<QGroupBox>(dialog, "corner_uniformity_color_cast_buttons_groupBox")->isEnabled());
        child<QSlider>(dialog, "uniformity_correction_level_horizontalSlider")->setValue(0);
        QCOMPARE(child<QLabel>(dialog, "uniformity_correction_level_label")->text(), QStringLiteral("Off"));
        wait_idle(dialog);
        QCOMPARE(wall.control(0, kUniformityLevel), 0);
        QVERIFY(!child<QGroupBox>(dialog, "corner_uniformity_color_cast_buttons_groupBox")->isEnabled());
        QVERIFY(!child<QGroupBox>(dialog, "corner_uniformity_apply_to_groupBox")->isEnabled());
        QCOMPARE(dialog.corner_block().supported, 0);
        QVERIFY(child<QPushButton>(dialog, "uniformity_correction_reset_pushButton")->isEnabled());
        click(dialog, "uniformity_correction_reset_pushButton");
        wait_idle(dialog);
        QCOMPARE(wall.control(0, kUniformityLevel), 2);
    }

    void a_refused_display_releases_the_link()
    {
        engine_wall wall(engine_record());
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        wall.on_display(0, [](sim_display &d) { d.controls.set(kPowerMode, 4, 4); });
        {
            kq_visual_trim_kqe_dialog dialog;
            QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), -1036);
            QVERIFY(wall.link_released());
        }
        wall.on_display(0, [](sim_display &d) {
            d.controls.set(kPowerMode, 1, 4);
            d.controls.set_unsupported(kEngineWhiteY);
        });
        kq_visual_trim_kqe_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), -1022);
        QVERIFY(wall.link_released());
    }
};

QTEST_MAIN(tst_visual_trim_kqe_dialog)
#include "tst_visual_trim_kqe_dialog.moc"
