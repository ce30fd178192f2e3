#include "app/controller/MasterControl.h"
#include "app/services/preferences.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/monitor_tracker_item.h"
#include "dialogs/kq_calibration_offset_dialog.h"
#include "dialogs/target_offset_rules.h"
#include "jobs/job_task_type.h"
#include "modal_answer.h"
#include "simulator/light/light_channel.h"
#include "simulator/loopback_block.h"
#include "tests/jobs/wall_task_fixture.h"
#include "tests/support/form_child.h"
#include "tests/support/headless_controller.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace target_offset_rules;

namespace {

const QString kModel = QStringLiteral("VW-5530Q");
const QString kSerial = QStringLiteral("SN0");
const QDateTime kCalibratedAt(QDate(2025, 3, 4), QTime(9, 30));

enum record_kind { kNoRecord, kNeverCalibrated, kLookupTable, kGains, kEngineTrimmed, kEngineTrimmedBacklight };

CAdjustValue record_of(record_kind kind)
{
    CAdjustValue record;
    if (kind == kNeverCalibrated)
        return record;
    record.SetCalibrationDateTime(kCalibratedAt);
    record.SetCalibrated(true);
    record.gain = {0.9, 0.95, 1.0};
    record.SetCalibrationMode(kind == kGains ? CAdjustValue::kModeGains : CAdjustValue::kModeLookupTable);
    if (kind == kEngineTrimmed || kind == kEngineTrimmedBacklight) {
        record.SetCalibrationFlagA(true);
        record.visual_trim_flags = CAdjustValue::kTrimEngineWhiteX | CAdjustValue::kTrimEngineWhiteY
                                   | CAdjustValue::kTrimBacklight | CAdjustValue::kTrimCorners;
        record.engine_white_x_visual_trim = 318;
        record.engine_white_y_visual_trim = 325;
        record.backlight_visual_trim = 220;
        // The trimmed luminance is a backlight step unless the engine keeps cd/m².
        record.engine_luminance_flag = kind == kEngineTrimmed ? 1 : 0;
    }
    return record;
}

CTargetValue target_of(int intensityMode, double luminance = 200.0)
{
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(CIExy{0.3127, 0.3290}));
    target.SetIntensityMode(intensityMode);
    target.SetSpecifiedLuminance(luminance);
    return target;
}

void press(QDialog &dialog, QDialogButtonBox::StandardButton which)
{
    form_child<QDialogButtonBox>(&dialog, "buttonBox")->button(which)->click();
}

void set_offset(QDialog &dialog, bool enabled, double dx, double dy, double percent)
{
    form_child<QGroupBox>(&dialog, "groupBox")->setChecked(enabled);
    form_child<QDoubleSpinBox>(&dialog, "delta_x_doubleSpinBox")->setValue(dx);
    form_child<QDoubleSpinBox>(&dialog, "delta_y_doubleSpinBox")->setValue(dy);
    form_child<QDoubleSpinBox>(&dialog, "delta_Y_doubleSpinBox")->setValue(percent);
}

double box_value(QDialog &dialog, const char *name)
{
    return form_child<QDoubleSpinBox>(&dialog, name)->value();
}

} // namespace

class tst_target_offset_dialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<headless_controller> m_wall;

    monitor_tracker_item stored(int index = 0)
    {
        display_layout_item item;
        m_wall->layout().get_item(index, item);
        monitor_tracker_item record(item.model_name, item.serial_number);
        m_wall->records().GetAdjustValue(record);
        return record;
    }

    void wall_with(record_kind kind, int intensityMode = CTargetValue::kIntensitySpecified)
    {
        m_wall->create_wall(2, 1);
        if (kind != kNoRecord)
            m_wall->store_record(0, record_of(kind), kModel, kSerial);
        m_wall->controller().setTarget(target_of(intensityMode));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init() { m_wall = std::make_unique<headless_controller>(); }
    void cleanup()
    {
        cancel_pending_modal_answers();
        m_wall.reset();
    }

    // --- rules without a window ---

    void what_a_record_offers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("calibrated");
        QTest::addColumn<bool>("pattern");
        QTest::addColumn<bool>("trim_white");
        QTest::addColumn<bool>("trim_luminance");
        QTest::newRow("none") << int(kNoRecord) << false << false << false << false;
        QTest::newRow("never calibrated") << int(kNeverCalibrated) << false << false << false << false;
        QTest::newRow("lookup table") << int(kLookupTable) << true << true << false << false;
        QTest::newRow("gains: no calibrated white") << int(kGains) << true << false << false << false;
        QTest::newRow("engine, cd/m²") << int(kEngineTrimmed) << true << true << true << true;
        QTest::newRow("engine, backlight steps") << int(kEngineTrimmedBacklight) << true << true << true << false;
    }
    void what_a_record_offers()
    {
        QFETCH(int, kind);
        const CAdjustValue record = record_of(record_kind(kind));
        const record_offer offer = offer_of(kind == kNoRecord ? nullptr : &record);
        QTEST(offer.calibrated, "calibrated");
        QTEST(offer.shows_calibrated_white, "pattern");
        QTEST(offer.trim.has_x && offer.trim.has_y, "trim_white");
        QTEST(offer.trim.has_luminance, "trim_luminance");
    }

    void a_trim_without_an_engine_calibration_is_not_offered()
    {
        CAdjustValue record = record_of(kEngineTrimmed);
        record.SetCalibrationFlagA(false);
        QVERIFY(!offer_of(&record).trim.any());
    }

    void offset_as_stored_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::addColumn<double>("percent");
        QTest::addColumn<bool>("stored_enabled");
        QTest::addColumn<int>("stored_dx");
        QTest::addColumn<int>("stored_dy");
        QTest::addColumn<double>("factor");
        QTest::newRow("nothing offset") << true << 0.0 << 0.0 << 100.0 << false << 0 << 0 << 1.0;
        QTest::newRow("below a thousandth") << true << 0.0004 << -0.0009 << 100.0 << false << 0 << 0 << 1.0;
        QTest::newRow("white") << true << 0.004 << -0.012 << 100.0 << true << 4 << -12 << 1.0;
        QTest::newRow("intensity") << true << 0.0 << 0.0 << 96.5 << true << 0 << 0 << 0.965;
        QTest::newRow("switched off") << false << 0.01 << 0.0 << 110.0 << false << 10 << 0 << 1.1;
    }
    void offset_as_stored()
    {
        QFETCH(bool, enabled);
        QFETCH(double, dx);
        QFETCH(double, dy);
        QFETCH(double, percent);
        const target_offset_rules::stored_offset offset = stored_offset_of({enabled, dx, dy, percent});
        QTEST(offset.enabled, "stored_enabled");
        QTEST(int(offset.dx), "stored_dx");
        QTEST(int(offset.dy), "stored_dy");
        QTEST(offset.factor, "factor");
    }

    void what_ok_does_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("from_trim");
        QTest::addColumn<int>("decision");
        QTest::newRow("unchanged, calibrated") << int(kLookupTable) << false << false << int(ok_decision::unchanged);
        QTest::newRow("unchanged from the trim") << int(kEngineTrimmed) << false << true << int(ok_decision::unchanged);
        QTest::newRow("changed, never calibrated") << int(kNeverCalibrated) << true << false << int(ok_decision::store);
        QTest::newRow("changed, calibrated") << int(kLookupTable) << true << false << int(ok_decision::ask);
        QTest::newRow("changed, gains") << int(kGains) << true << false << int(ok_decision::ask);
        QTest::newRow("from the trim") << int(kEngineTrimmed) << true << true << int(ok_decision::store);
    }
    void what_ok_does()
    {
        QFETCH(int, kind);
        QFETCH(bool, change);
        QFETCH(bool, from_trim);
        QFETCH(int, decision);
        CAdjustValue record = record_of(record_kind(kind));
        record.SetTargetOffsetEnabled(true);
        record.target_offset_dx = 5;
        record.target_intensity_offset = 0.9;
        const offset_values values{true, change ? 0.006 : 0.005, 0.0, 90.0};
        const ok_plan plan = plan_ok(record, values, from_trim);
        QCOMPARE(int(plan.decision), decision);
        if (plan.decision == ok_decision::unchanged)
            return;
        QCOMPARE(plan.record.target_offset_enabled, qint16(1));
        QCOMPARE(plan.record.target_offset_dx, qint16(6));
        QCOMPARE(plan.record.target_intensity_offset, 0.9);
        // Asking means the answer resets the calibration: the record to write says so.
        QCOMPARE(plan.record.GetCalibrationDateTime().isNull(), plan.decision == ok_decision::ask || kind == kNeverCalibrated);
    }

    void switching_an_offset_off_is_a_change()
    {
        CAdjustValue record = record_of(kNeverCalibrated);
        record.SetTargetOffsetEnabled(true);
        record.target_offset_dx = 5;
        const ok_plan plan = plan_ok(record, {false, 0.005, 0.0, 100.0}, false);
        QCOMPARE(int(plan.decision), int(ok_decision::store));
        QCOMPARE(plan.record.target_offset_enabled, qint16(0));
    }

    void folding_the_trim_takes_only_what_became_the_offset_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("flags_after");
        QTest::addColumn<int>("backlight_after");
        QTest::newRow("white and luminance") << int(kEngineTrimmed) << int(CAdjustValue::kTrimCorners) << 0;
        // A luminance trim in backlight steps cannot become a percentage: it stays.
        QTest::newRow("white only") << int(kEngineTrimmedBacklight)
                                    << int(CAdjustValue::kTrimCorners | CAdjustValue::kTrimBacklight) << 220;
    }
    void folding_the_trim_takes_only_what_became_the_offset()
    {
        QFETCH(int, kind);
        const CAdjustValue record = record_of(record_kind(kind));
        const target_point target{0.3127, 0.3290, 200.0};
        const offset_values values = offset_from_visual_trim(offer_of(&record).trim, target);
        const ok_plan plan = plan_ok(record, values, true);
        QCOMPARE(int(plan.decision), int(ok_decision::store));
        QTEST(int(plan.record.visual_trim_flags), "flags_after");
        QTEST(int(plan.record.backlight_visual_trim), "backlight_after");
        QCOMPARE(plan.record.engine_white_x_visual_trim, quint16(0));
        QCOMPARE(plan.record.engine_white_y_visual_trim, quint16(0));
        QCOMPARE(plan.record.target_offset_dx, qint16(5));  // 0.318 - 0.3127
        QCOMPARE(plan.record.target_offset_dy, qint16(-4)); // 0.325 - 0.329
        QCOMPARE(plan.record.GetCalibrationDateTime(), kCalibratedAt);
    }

    void visual_trim_offsets_data()
    {
        QTest::addColumn<double>("luminance");
        QTest::addColumn<bool>("has_luminance");
        QTest::addColumn<double>("percent");
        QTest::newRow("trimmed luminance") << 200.0 << true << 110.0;
        QTest::newRow("no target luminance") << -1.0 << true << 100.0;
        QTest::newRow("no luminance trim") << 200.0 << false << 100.0;
    }
    void visual_trim_offsets()
    {
        QFETCH(double, luminance);
        QFETCH(bool, has_luminance);
        visual_trim trim;
        trim.has_x = true;
        trim.x = 300;
        trim.has_luminance = has_luminance;
        trim.luminance = 220.0;
        const offset_values values = offset_from_visual_trim(trim, {0.3127, 0.3290, luminance});
        QVERIFY(values.enabled);
        QCOMPARE(qRound(values.dx * 10000), -127);
        QCOMPARE(values.dy, 0.0);
        QTEST(values.percent, "percent");
    }

    void measured_offsets()
    {
        const target_point target{0.3127, 0.3290, 200.0};
        const CCIEXYZ light(CCIEYxy(180.0, 0.3200, 0.3300).ToXYZ());
        const offset_values values = offset_from_measurement(light, target, {true, 0.0, 0.0, 100.0});
        QVERIFY(qAbs(values.dx - 0.0073) < 1e-9);
        QVERIFY(qAbs(values.dy - 0.0010) < 1e-9);
        QVERIFY(qAbs(values.percent - 90.0) < 1e-9);
        // Without a target luminance the percentage stays as it was.
        QCOMPARE(offset_from_measurement(light, {0.3127, 0.3290, -1.0}, {true, 0.0, 0.0, 104.0}).percent, 104.0);
    }

    void modified_target_texts()
    {
        QCOMPARE(black_body_text(0.15, 0.06), QStringLiteral("-"));
        QVERIFY(black_body_text(0.3127, 0.3290).startsWith(QStringLiteral("650")));
        QVERIFY(black_body_text(0.3127, 0.3290).endsWith(QStringLiteral(" \u0394 uv)")));
        QCOMPARE(modified_luminance_text(110.0, {0.3127, 0.3290, 200.0}), QStringLiteral("220.0 cd/m\u00b2"));
        QCOMPARE(modified_luminance_text(110.0, {0.3127, 0.3290, -1.0}), QStringLiteral("-"));
    }

    // --- the dialog on a wall without instruments ---

    void opens_without_a_record()
    {
        wall_with(kNoRecord);
        kq_calibration_offset_dialog dialog(1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Calibration Target Offset for display # 2"));
        QVERIFY(!form_child<QGroupBox>(&dialog, "groupBox")->isChecked());
        QCOMPARE(box_value(dialog, "delta_x_doubleSpinBox"), 0.0);
        QCOMPARE(box_value(dialog, "delta_y_doubleSpinBox"), 0.0);
        QCOMPARE(box_value(dialog, "delta_Y_doubleSpinBox"), 100.0);
        QVERIFY(!form_child<QCheckBox>(&dialog, "show_calibrated_white_test_pattern_checkBox")->isEnabled());
        QVERIFY(!form_child<QPushButton>(&dialog, "create_from_visual_trim_pushButton")->isEnabled());
        QVERIFY(!form_child<QPushButton>(&dialog, "measure_pushButton")->isEnabled()); // no sensor
        QCOMPARE(form_child<QLabel>(&dialog, "original_x_label")->text(), QStringLiteral("0.313"));
        QCOMPARE(form_child<QLabel>(&dialog, "modified_Y_label")->text(), QStringLiteral("200.0 cd/m\u00b2"));
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void offsets_keep_the_white_within_bounds()
    {
        wall_with(kNoRecord);
        kq_calibration_offset_dialog dialog(0);
        auto *x = form_child<QDoubleSpinBox>(&dialog, "delta_x_doubleSpinBox");
        auto *y = form_child<QDoubleSpinBox>(&dialog, "delta_y_doubleSpinBox");
        QCOMPARE(x->minimum(), -0.063); // 0.25 - 0.3127 at three decimals
        QCOMPARE(x->maximum(), 0.167);  // 0.48 - 0.3127
        QCOMPARE(y->minimum(), -0.079);
        QCOMPARE(y->maximum(), 0.101);
        x->setValue(0.01);
        QCOMPARE(form_child<QLabel>(&dialog, "modified_x_label")->text(), QStringLiteral("0.323"));
    }

    void maximum_possible_intensity_has_no_percentage()
    {
        wall_with(kLookupTable, CTargetValue::kIntensityMaximumPossible);
        kq_calibration_offset_dialog dialog(0);
        QVERIFY(!form_child<QDoubleSpinBox>(&dialog, "delta_Y_doubleSpinBox")->isEnabled());
        QCOMPARE(form_child<QLabel>(&dialog, "modified_Y_label")->text(), QStringLiteral("-"));
    }

    // A native white has no chromaticity to bound the offset by: the stored
    // offset must come back as it is, not pushed to 0.25 minus nothing.
    void shows_and_keeps_the_stored_offset_data()
    {
        QTest::addColumn<bool>("native_white");
        QTest::newRow("D65") << false;
        QTest::newRow("native white") << true;
    }
    void shows_and_keeps_the_stored_offset()
    {
        QFETCH(bool, native_white);
        CAdjustValue record = record_of(kNeverCalibrated);
        record.SetTargetOffsetEnabled(true);
        record.target_offset_dx = -7;
        record.target_offset_dy = 3;
        record.target_intensity_offset = 0.955;
        m_wall->create_wall(1, 1);
        m_wall->store_record(0, record, kModel, kSerial);
        CTargetValue target = target_of(CTargetValue::kIntensitySpecified);
        if (native_white)
            target.SetWhitePoint(CColorTemperature(quint16(0)));
        m_wall->controller().setTarget(target);
        kq_calibration_offset_dialog dialog(0);
        QVERIFY(form_child<QGroupBox>(&dialog, "groupBox")->isChecked());
        QCOMPARE(box_value(dialog, "delta_x_doubleSpinBox"), -0.007);
        QCOMPARE(box_value(dialog, "delta_y_doubleSpinBox"), 0.003);
        QCOMPARE(box_value(dialog, "delta_Y_doubleSpinBox"), 95.5);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const monitor_tracker_item after = stored();
        QCOMPARE(after.target_offset_dx, qint16(-7));
        QCOMPARE(after.target_offset_dy, qint16(3));
        QCOMPARE(after.target_intensity_offset, 0.955);
    }

    void an_offset_that_changes_nothing_is_stored_disabled()
    {
        CAdjustValue record = record_of(kNeverCalibrated);
        record.SetTargetOffsetEnabled(true);
        record.target_offset_dx = 5;
        m_wall->create_wall(1, 1);
        m_wall->store_record(0, record, kModel, kSerial);
        m_wall->controller().setTarget(target_of(CTargetValue::kIntensitySpecified));
        kq_calibration_offset_dialog dialog(0);
        set_offset(dialog, true, 0.0, 0.0, 100.0);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(stored().target_offset_enabled, qint16(0));
    }

    void recalibration_question_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no") << int(QMessageBox::No);
        QTest::newRow("yes") << int(QMessageBox::Yes);
    }
    void recalibration_question()
    {
        QFETCH(int, answer);
        wall_with(kLookupTable);
        kq_calibration_offset_dialog dialog(0);
        dialog.show();
        set_offset(dialog, true, 0.004, 0.0, 100.0);
        QString question;
        answer_message_box(QMessageBox::StandardButton(answer), &question);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(question, QStringLiteral("Changing the Calibration Target Offset will require the display to be "
                                          "recalibrated. Continue?"));
        const monitor_tracker_item after = stored();
        if (answer == QMessageBox::No) {
            QVERIFY(dialog.isVisible()); // still open, nothing stored
            QCOMPARE(after.target_offset_enabled, qint16(0));
            QCOMPARE(after.GetCalibrationDateTime(), kCalibratedAt);
        } else {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(after.target_offset_enabled, qint16(1));
            QCOMPARE(after.target_offset_dx, qint16(4));
            QVERIFY(after.GetCalibrationDateTime().isNull());
            QVERIFY(!after.calibrated);
        }
    }

    void an_unchanged_offset_asks_nothing()
    {
        wall_with(kLookupTable);
        kq_calibration_offset_dialog dialog(0);
        bool asked = false;
        when_modal_shows<QMessageBox>([&asked](QMessageBox *box) {
            asked = true;
            box->button(QMessageBox::No)->click();
        }, 50);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTest::qWait(150); // the answer's patience: no box came
        QVERIFY(!asked);
        QCOMPARE(stored().GetCalibrationDateTime(), kCalibratedAt);
    }

    void the_visual_trim_folds_into_the_offset()
    {
        wall_with(kEngineTrimmed);
        kq_calibration_offset_dialog dialog(0);
        QVERIFY(form_child<QPushButton>(&dialog, "create_from_visual_trim_pushButton")->isEnabled());
        form_child<QPushButton>(&dialog, "create_from_visual_trim_pushButton")->click();
        QVERIFY(form_child<QGroupBox>(&dialog, "groupBox")->isChecked());
        QCOMPARE(box_value(dialog, "delta_x_doubleSpinBox"), 0.005);
        QCOMPARE(box_value(dialog, "delta_Y_doubleSpinBox"), 110.0);
        press(dialog, QDialogButtonBox::Ok); // no question: the calibration stays
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const monitor_tracker_item after = stored();
        QCOMPARE(after.target_offset_dx, qint16(5));
        QCOMPARE(after.target_intensity_offset, 1.1);
        QCOMPARE(int(after.visual_trim_flags), int(CAdjustValue::kTrimCorners));
        QCOMPARE(after.GetCalibrationDateTime(), kCalibratedAt);
    }

    // --- the simulated wall and instrument ---

    void measuring_the_calibrated_white()
    {
        m_wall.reset();
        wall_task_fixture f;
        QVERIFY2(f.ready(), qPrintable(f.error()));
        const int display = f.add_display(kModel.toLatin1());
        QVERIFY2(display >= 0, qPrintable(f.error()));
        f.wall().with_display(display, [](sim_display &d) { d.serial_number = kSerial.toLatin1(); });
        headless_controller &wall = f.controller();
        wall.create_wall(1, 1, loopback_block::address(1));
        wall.store_record(0, record_of(kLookupTable), kModel, kSerial);
        QVERIFY2(f.attach_sensor({{QStringLiteral("selector"), QStringLiteral("display")}}), qPrintable(f.error()));
        QVERIFY(f.place_sensor(display));
        wall.controller().getPreferences()->SuppressMessage(1); // no placement hint to answer

        // The light of the calibrated white, to set a target near it.
        job_list_item pattern = f.job(display, {JOB_TASK_TEST_PATTERNS});
        pattern.test_pattern_mode = 3;
        QCOMPARE(f.run(pattern)->error_code(), 0);
        light_channel::light_reading light;
        QVERIFY(light_channel::read_light(f.wall().light_key(display), &light));
        QVERIFY(light.Y > 0.0);
        wall.controller().setTarget(target_of(CTargetValue::kIntensitySpecified, light.Y / 1.1));
        f.wall().clear_log();

        kq_calibration_offset_dialog dialog(0);
        dialog.show();
        QVERIFY(form_child<QPushButton>(&dialog, "measure_pushButton")->isEnabled());
        form_child<QCheckBox>(&dialog, "show_calibrated_white_test_pattern_checkBox")->setChecked(true);
        QVERIFY(f.frames(display).contains("E02C30002")); // the pattern is on
        form_child<QPushButton>(&dialog, "measure_pushButton")->click();

        const CIExy xy = CCIEXYZ(light.X, light.Y, light.Z).ToCIExy();
        // The instrument's noise stays well below the boxes' last digit.
        QVERIFY2(qAbs(box_value(dialog, "delta_x_doubleSpinBox") - (xy.x - 0.3127)) < 0.0015,
                 qPrintable(QString::number(box_value(dialog, "delta_x_doubleSpinBox"))));
        QVERIFY(qAbs(box_value(dialog, "delta_y_doubleSpinBox") - (xy.y - 0.3290)) < 0.0015);
        QVERIFY2(qAbs(box_value(dialog, "delta_Y_doubleSpinBox") - 110.0) < 1.0,
                 qPrintable(QString::number(box_value(dialog, "delta_Y_doubleSpinBox"))));
        QCOMPARE(form_child<QLabel>(&dialog, "colorimeter_status_label")->text(),
                 QStringLiteral("<font COLOR=\"#ff0000\"> </font>"));

        f.wall().clear_log();
        press(dialog, QDialogButtonBox::Cancel);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.writes(display, 0x2C3), QList<int>{1}); // the pattern is off again
        QCOMPARE(stored_in(wall).target_offset_enabled, qint16(0));
    }

private:
    static monitor_tracker_item stored_in(headless_controller &wall)
    {
        monitor_tracker_item record(kModel, kSerial);
        wall.records().GetAdjustValue(record);
        return record;
    }
};

QTEST_MAIN(tst_target_offset_dialog)
#include "tst_target_offset_dialog.moc"
