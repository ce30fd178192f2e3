// The visual trim dialog on a simulated display: what loading writes, the
// delayed writes, OK's record, Cancel's write-back, the link on every way
// out, and the trim rules without a display.
#include "dialogs/kq_visual_trim_dialog.h"
#include "dialogs/visual_trim_model.h"
#include "display_protocol/control_codes.h"
#include "jobs/job_task_type.h"
#include "resources/tessaline_resources.h"
#include "tests/dialogs/adjustment_wall.h"
#include "views/widgets/KQ_color_picker_circle_widget.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSlider>

namespace {

using namespace control_code;

constexpr int kGainModel = 1;
constexpr int kLevelModel = 0;
constexpr int kLevelMax = 1023;
constexpr int kGainMax = 255;

CAdjustValue trim_record(bool gain_mode, bool calibrated = true)
{
    CAdjustValue record;
    record.calibration_mode = gain_mode ? kGainModel : kLevelModel;
    record.gain = {{0.8, 0.9, 1.0}};
    record.backlight_setting = 60;
    record.backlight_maximum = 100;
    record.backlight_minimum = 10;
    if (calibrated)
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

// One display of the model with gains and paged levels, in the colour mode
// of |gain_mode|'s calibration, holding |record|.
struct trim_wall : adjustment_wall
{
    explicit trim_wall(bool gain_mode, const CAdjustValue &record) : adjustment_wall(1, "VW-5530Q")
    {
        if (!ok)
            return;
        store(0, record);
        on_display(0, [gain_mode](sim_display &d) { d.controls.set(kColorMode, gain_mode ? 1 : 6, 14); });
        clear_log();
    }
    bool gain_mode() { return record(0).calibration_mode != 0; }
};

void wait_for_writes(kq_visual_trim_dialog &dialog)
{
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.write_pending(), 30000);
}

// Shown, so that the colour circle has a size for its ball to move in.
void show(QDialog &dialog)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

void click(QWidget &dialog, const char *button)
{
    child<QPushButton>(dialog, button)->click();
}

QList<int> gain_codes()
{
    return {kVideoGainRed, kVideoGainGreen, kVideoGainBlue};
}
QList<int> level_codes()
{
    return {kPagedLevelRed, kPagedLevelGreen, kPagedLevelBlue};
}

} // namespace

class tst_visual_trim_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        tessaline_init_resources();
    }

    void loading_writes_only_for_a_calibrated_record_data();
    void loading_writes_only_for_a_calibrated_record();
    void a_trimmed_record_reopens_trimmed();
    void quick_changes_give_one_write_per_timer();
    void level_mode_writes_one_channel_alone_and_more_as_a_block();
    void ok_records_multipliers_and_flags_data();
    void ok_records_multipliers_and_flags();
    void cancel_puts_the_display_back();
    void a_refused_display_releases_the_link_data();
    void a_refused_display_releases_the_link();
    void remove_all_writes_colour_and_backlight_together();
    void each_spin_box_steps_by_its_own_channel();
    void brightness_steps_choose_backlight_or_level();
};

void tst_visual_trim_dialog::loading_writes_only_for_a_calibrated_record_data()
{
    QTest::addColumn<bool>("gain_mode");
    QTest::addColumn<bool>("calibrated");
    QTest::newRow("gains, calibrated") << true << true;
    QTest::newRow("gains, never calibrated") << true << false;
    QTest::newRow("levels, calibrated") << false << true;
    QTest::newRow("levels, never calibrated") << false << false;
}

void tst_visual_trim_dialog::loading_writes_only_for_a_calibrated_record()
{
    QFETCH(bool, gain_mode);
    QFETCH(bool, calibrated);
    trim_wall wall(gain_mode, trim_record(gain_mode, calibrated));
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    const QList<int> codes = gain_mode ? gain_codes() : level_codes();
    const int max = gain_mode ? kGainMax : kLevelMax;
    const QList<int> expected = {visual_trim_model::rnd(max * 0.8), visual_trim_model::rnd(max * 0.9), max};
    for (int c = 0; c < 3; ++c)
        QCOMPARE(wall.writes(0, codes.at(c)), calibrated ? QList<int>{expected.at(c)} : QList<int>{});
    QCOMPARE(wall.writes(0, kPatchGenerator), !gain_mode && calibrated ? QList<int>{2} : QList<int>{});
    QVERIFY(!wall.link_released());
    QCOMPARE(child<QSlider>(dialog, "backlight_brightness_verticalSlider")->value(), 60);
    QCOMPARE(child<QSlider>(dialog, "backlight_brightness_verticalSlider")->minimum(), 10);
    QVERIFY(!dialog.write_pending());
    QVERIFY(!child<QPushButton>(dialog, "undo_current_adjustment_pushButton")->isEnabled());
}

void tst_visual_trim_dialog::a_trimmed_record_reopens_trimmed()
{
    CAdjustValue record = trim_record(true);
    record.visual_trim_flags = CAdjustValue::kTrimGains | CAdjustValue::kTrimBacklight;
    record.visual_trim_multiplier = {{1.1, 1.0, 0.5}};
    record.backlight_visual_trim = 70;
    trim_wall wall(true, record);
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    QCOMPARE(wall.writes(0, kVideoGainRed), QList<int>{visual_trim_model::rnd(255 * 0.8 * 1.1)});
    QCOMPARE(wall.writes(0, kVideoGainBlue), QList<int>{visual_trim_model::rnd(255 * 0.5)});
    QCOMPARE(dialog.model().values_at_open(), dialog.model().current_values());
    QCOMPARE(child<QSlider>(dialog, "backlight_brightness_verticalSlider")->value(), 70);
    QVERIFY(qAbs(dialog.model().colour().redF() - 0.88) < 0.001);
    // Remove All is possible at once: the display holds a trim.
    QVERIFY(child<QPushButton>(dialog, "reset_visual_trim_pushButton")->isEnabled());
}

void tst_visual_trim_dialog::quick_changes_give_one_write_per_timer()
{
    trim_wall wall(true, trim_record(true));
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    wall.clear_log();
    // At scale 1 the operator stays within the 1.5 s of the first change.
    wait_service::set_time_scale(1.0);
    auto *backlight = child<QSlider>(dialog, "backlight_brightness_verticalSlider");
    for (int step : {1, 2, 3})
        backlight->setValue(60 - step);
    auto *red = child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Red_doubleSpinBox");
    red->setValue(70);
    red->setValue(60);
    wait_service::set_time_scale(0.0);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.write_pending(), 30000);
    QCOMPARE(wall.writes(0, kBrightness), QList<int>{57});
    QCOMPARE(wall.writes(0, kVideoGainRed), QList<int>{visual_trim_model::rnd(255 * 0.6)});
    QVERIFY(wall.writes(0, kVideoGainGreen).isEmpty());
    QVERIFY(child<QPushButton>(dialog, "undo_current_adjustment_pushButton")->isEnabled());
}

void tst_visual_trim_dialog::level_mode_writes_one_channel_alone_and_more_as_a_block()
{
    trim_wall wall(false, trim_record(false));
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    wall.clear_log();
    child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Green_doubleSpinBox")->setValue(50);
    wait_for_writes(dialog);
    QCOMPARE(wall.writes(0, kPagedLevelGreen), QList<int>{visual_trim_model::rnd(1023 * 0.5)});
    QVERIFY(wall.writes(0, kPagedLevelRed).isEmpty());
    QVERIFY(wall.writes(0, kPagedLevelBlue).isEmpty());

    wall.clear_log();
    child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Red_doubleSpinBox")->setValue(40);
    child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Green_doubleSpinBox")->setValue(45);
    wait_for_writes(dialog);
    for (int code : level_codes())
        QCOMPARE(wall.writes(0, code).size(), 1);
    QCOMPARE(dialog.model().current_values()[1], wall.control(0, kPagedLevelGreen));
}

void tst_visual_trim_dialog::ok_records_multipliers_and_flags_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("flags");
    QTest::newRow("no change") << 0 << 0;
    QTest::newRow("backlight") << 1 << int(CAdjustValue::kTrimBacklight);
    QTest::newRow("red from an untrimmed 0") << 2 << int(CAdjustValue::kTrimGains);
}

void tst_visual_trim_dialog::ok_records_multipliers_and_flags()
{
    QFETCH(int, change);
    QFETCH(int, flags);
    CAdjustValue record = trim_record(true);
    if (change == 2)
        record.gain = {{0.0, 0.9, 1.0}};
    trim_wall wall(true, record);
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    if (change == 1)
        child<QSlider>(dialog, "backlight_brightness_verticalSlider")->setValue(75);
    if (change == 2)
        child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Red_doubleSpinBox")->setValue(20);
    // OK waits for the pending write.
    dialog.onaccept();
    QCOMPARE(dialog.result() == QDialog::Accepted, change == 0);
    if (change != 0) {
        wait_for_writes(dialog);
        dialog.onaccept();
    }
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(wall.link_released());

    const CAdjustValue stored = wall.record(0);
    QCOMPARE(int(stored.visual_trim_flags), flags);
    QCOMPARE(int(stored.backlight_visual_trim), change == 1 ? 75 : 60);
    QCOMPARE(stored.visual_trim_multiplier[0], change == 2 ? 9999.0 : 1.0);
    QCOMPARE(stored.visual_trim_multiplier[1], 1.0);
    QCOMPARE(stored.visual_trim_multiplier[2], 1.0);
}

void tst_visual_trim_dialog::cancel_puts_the_display_back()
{
    trim_wall wall(true, trim_record(true));
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    const int red_at_open = wall.control(0, kVideoGainRed);
    show(dialog);
    click(dialog, "too_green_pushButton");
    child<QSlider>(dialog, "backlight_brightness_verticalSlider")->setValue(40);
    // Esc while the writes are pending does nothing.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.write_pending());
    wait_for_writes(dialog);
    QCOMPARE(wall.control(0, kBrightness), 40);
    QVERIFY(wall.control(0, kVideoGainRed) != red_at_open || !wall.writes(0, kVideoGainBlue).isEmpty());
    wall.clear_log();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(wall.control(0, kVideoGainRed), red_at_open);
    QCOMPARE(wall.control(0, kBrightness), 60);
    // The gains were written back: the display stores its settings after them.
    const QList<QByteArray> frames = wall.frames(0);
    QVERIFY(!frames.isEmpty());
    QVERIFY2(frames.last().startsWith("A0C"), frames.last().constData());
    QVERIFY(wall.link_released());
    QVERIFY(wall.record(0).visual_trim_flags == 0);
}

void tst_visual_trim_dialog::a_refused_display_releases_the_link_data()
{
    QTest::addColumn<int>("power");
    QTest::addColumn<int>("colour_mode");
    QTest::addColumn<int>("code");
    QTest::newRow("standby") << 4 << 1 << -1036;
    QTest::newRow("wrong colour mode") << 1 << 6 << -1022;
}

// A link left held would fail every later job on that chain.
void tst_visual_trim_dialog::a_refused_display_releases_the_link()
{
    QFETCH(int, power);
    QFETCH(int, colour_mode);
    QFETCH(int, code);
    trim_wall wall(true, trim_record(true));
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    wall.on_display(0, [&](sim_display &d) {
        d.controls.set(kPowerMode, quint16(power), 4);
        d.controls.set(kColorMode, quint16(colour_mode), 14);
    });
    {
        kq_visual_trim_dialog dialog;
        QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), code);
        QVERIFY(wall.link_released());
    }
    const auto run = wall.f.run(wall.f.job(wall.displays.at(0), {JOB_TASK_CHECK_CAPABILITIES}));
    QCOMPARE(run->error_code(), 0);
}

// Remove All starts both writes at once: whichever timer fires while the
// other's command runs finds the link busy and must still reach the display.
void tst_visual_trim_dialog::remove_all_writes_colour_and_backlight_together()
{
    CAdjustValue record = trim_record(true);
    record.visual_trim_flags = CAdjustValue::kTrimGains | CAdjustValue::kTrimBacklight;
    record.visual_trim_multiplier = {{0.5, 0.5, 0.5}};
    record.backlight_visual_trim = 30;
    trim_wall wall(true, record);
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    wall.f.wall().set_delays(wall.displays.at(0), 5, 0);
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    wall.clear_log();
    click(dialog, "reset_visual_trim_pushButton");
    wait_for_writes(dialog);
    QCOMPARE(wall.control(0, kBrightness), 60);
    QCOMPARE(wall.control(0, kVideoGainRed), visual_trim_model::rnd(255 * 0.8));
    QCOMPARE(wall.control(0, kVideoGainGreen), visual_trim_model::rnd(255 * 0.9));
    QCOMPARE(wall.control(0, kVideoGainBlue), 255);
    QVERIFY(!child<QPushButton>(dialog, "reset_visual_trim_pushButton")->isEnabled());
}

void tst_visual_trim_dialog::each_spin_box_steps_by_its_own_channel()
{
    trim_wall wall(false, trim_record(false));
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    wall.on_display(0, [](sim_display &d) {
        d.controls.set(kPagedLevelGreen, 0, 0);
        d.controls.set(kPagedLevelBlue, 500, 500);
    });
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    QCOMPARE(child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Red_doubleSpinBox")->singleStep(), 100.0 / 1023);
    QCOMPARE(child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Green_doubleSpinBox")->singleStep(), 0.5);
    QCOMPARE(child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Blue_doubleSpinBox")->singleStep(), 100.0 / 500);
}

void tst_visual_trim_dialog::brightness_steps_choose_backlight_or_level()
{
    CAdjustValue record = trim_record(true);
    record.backlight_setting = 10; // at the minimum
    record.gain = {{0.5, 0.5, 0.5}};
    trim_wall wall(true, record);
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    kq_visual_trim_dialog dialog;
    QCOMPARE(dialog.setCurrent_layoutArrayPosition(0), 0);
    const double level = dialog.model().level();
    click(dialog, "too_bright_pushButton");
    QCOMPARE(child<QSlider>(dialog, "backlight_brightness_verticalSlider")->value(), 10);
    QVERIFY(dialog.model().level() < level);
    // In gain mode Too Dark opens the colour up before the backlight.
    click(dialog, "too_dark_pushButton");
    click(dialog, "too_dark_pushButton");
    QCOMPARE(child<QSlider>(dialog, "backlight_brightness_verticalSlider")->value(), 10);
    QVERIFY(dialog.model().level() > level);
    wait_for_writes(dialog);
    QVERIFY(wall.writes(0, kBrightness).isEmpty());
}

QTEST_MAIN(tst_visual_trim_dialog)
#include "tst_visual_trim_dialog.moc"
