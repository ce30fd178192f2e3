#include "app/controller/layout_manager.h"
#include "calibration/calibration_step_plans.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "jobs/job_task_type.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(step_scope)
Q_DECLARE_METATYPE(job_set)

namespace {

CTargetValue gamma_target(int type, double gamma)
{
    CTargetValue target;
    target.SetGammaType(type);
    target.SetGamma(gamma);
    return target;
}

CAdjustValue engine_record(double luminance, qint16 scale_switch = 0, double scale = 0.0)
{
    CAdjustValue record;
    record.measurements.corrected.white = CCIEXYZ(luminance, luminance, luminance);
    record.luminance_scale_switch = scale_switch;
    record.luminance_scale_value = scale;
    return record;
}

} // namespace

class tst_calibration_step_plans : public QObject
{
    Q_OBJECT

private slots:
    void templates_carry_the_tasks_and_pattern_data()
    {
        QTest::addColumn<job_set>("set");
        QTest::addColumn<QList<qint32>>("tasks");
        QTest::addColumn<int>("pattern");
        QTest::addColumn<bool>("per_display");
        QTest::addColumn<QString>("text");
        const QList<int> d{0, 2};
        QTest::newRow("verify") << verify_plan(d) << QList<qint32>{0} << 0 << false << QStringLiteral("Verifying displays");
        QTest::newRow("initialize") << initialize_plan(d, false) << QList<qint32>{1} << 0 << true
                                    << QStringLiteral("Initializing displays");
        QTest::newRow("initialize with clock") << initialize_plan(d, true) << QList<qint32>{1, 9} << 0 << true
                                               << QStringLiteral("Initializing displays");
        QTest::newRow("measure") << measure_plan(d) << QList<qint32>{3} << 0 << false << QStringLiteral("");
        QTest::newRow("calibrate") << calibrate_plan(d, false) << QList<qint32>{19} << 0 << false << QStringLiteral("");
        QTest::newRow("calibrate, evaluating") << calibrate_plan(d, true) << QList<qint32>{19, 6} << 3 << false << QStringLiteral("");
        QTest::newRow("engine") << engine_calibrate_plan(d, false) << QList<qint32>{26} << 0 << true
                                << QStringLiteral("Adjusting KQE settings");
        QTest::newRow("engine, evaluating") << engine_calibrate_plan(d, true) << QList<qint32>{26, 6} << 3 << true
                                            << QStringLiteral("Adjusting KQE settings");
        QTest::newRow("matching luminance") << matching_luminance_plan(d) << QList<qint32>{26} << 0 << false
                                            << QStringLiteral("Setting Maximum Matching Luminance");
        QTest::newRow("patterns on") << evaluation_pattern_plan(d, true) << QList<qint32>{6} << 3 << false
                                     << QStringLiteral("Setting Test Patterns");
        QTest::newRow("patterns off") << evaluation_pattern_plan(d, false) << QList<qint32>{6} << 0 << false
                                      << QStringLiteral("Setting Test Patterns");
    }
    void templates_carry_the_tasks_and_pattern()
    {
        QFETCH(job_set, set);
        QFETCH(QList<qint32>, tasks);
        QFETCH(int, pattern);
        QFETCH(bool, per_display);
        QFETCH(QString, text);
        QCOMPARE(set.job_template.task_list, tasks);
        QCOMPARE(set.job_template.test_pattern_mode, pattern);
        QCOMPARE(set.per_display, per_display);
        QCOMPARE(set.text, text);
        QCOMPARE(set.positions, QList<int>({0, 2}));
        QCOMPARE(set.job_template.osd_orientation, -1); // set per display when the set is run
        const bool clock = tasks.contains(JOB_TASK_SET_CLOCK);
        QCOMPARE(int(set.job_template.clock.set), clock ? 1 : 0);
        QCOMPARE(int(set.job_template.clock.read), 0);
    }

    void initialize_asks_only_for_calibrated_displays_data()
    {
        QTest::addColumn<QList<int>>("displays");
        QTest::addColumn<int>("question");
        const QList<int> calibrated{1, 3};
        QTest::newRow("one calibrated") << QList<int>{3} << int(kResetSelectedCalibration);
        QTest::newRow("two, one calibrated") << QList<int>{0, 1} << int(kResetAllCalibrations);
        QTest::newRow("uncalibrated only") << QList<int>{0, 2} << int(kNoQuestion);
        QTest::newRow("none") << QList<int>{} << int(kNoQuestion);
    }
    void initialize_asks_only_for_calibrated_displays()
    {
        QFETCH(QList<int>, displays);
        QFETCH(int, question);
        QCOMPARE(initialize_question(displays, {1, 3}), question);
    }

    void measuring_a_maximum_possible_target_asks_first()
    {
        QCOMPARE(measure_question(CTargetValue::kIntensityMaximumPossible), int(kMeasureNotNeeded));
        QCOMPARE(measure_question(CTargetValue::kIntensityMaximumMatching), int(kNoQuestion));
        QCOMPARE(measure_question(CTargetValue::kIntensitySpecified), int(kNoQuestion));
    }

    void remaining_all_or_cancel_data()
    {
        QTest::addColumn<QList<int>>("remaining");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<step_scope>("scope");
        QTest::addColumn<QList<int>>("displays");
        const QList<int> all{0, 1, 2, 3};
        QTest::newRow("two left, remaining") << QList<int>{1, 3} << true << step_scope::remaining << QList<int>{1, 3};
        QTest::newRow("two left, all") << QList<int>{1, 3} << true << step_scope::all << all;
        QTest::newRow("two left, cancel") << QList<int>{1, 3} << true << step_scope::cancel << QList<int>{};
        QTest::newRow("none done") << all << false << step_scope::all << all;
        QTest::newRow("all done") << QList<int>{} << false << step_scope::all << all;
    }
    void remaining_all_or_cancel()
    {
        QFETCH(QList<int>, remaining);
        QFETCH(bool, asks);
        QFETCH(step_scope, scope);
        QFETCH(QList<int>, displays);
        const QList<int> all{0, 1, 2, 3};
        QCOMPARE(asks_for_scope(all, remaining), asks);
        QCOMPARE(displays_for_scope(scope, all, remaining), displays);
    }

    void the_first_calibration_is_confirmed_on_the_whole_wall()
    {
        QVERIFY(confirms_first_calibration({0, 1, 2}, {0, 1, 2}, false));
        QVERIFY(!confirms_first_calibration({0, 1, 2}, {0, 1, 2}, true));
        QVERIFY(!confirms_first_calibration({0, 1, 2}, {1, 2}, false));
    }

    void gain_calibration_gamma_limits_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("tables, any curve") << 0 << int(CTargetValue::kGammaDicom) << 0.0 << true;
        QTest::newRow("native") << 1 << int(CTargetValue::kGammaNative) << 1.8 << true;
        QTest::newRow("2.205") << 1 << int(CTargetValue::kGammaPower) << 2.205 << true;
        QTest::newRow("2.195") << 1 << int(CTargetValue::kGammaPower) << 2.195 << true;
        QTest::newRow("2.21") << 1 << int(CTargetValue::kGammaPower) << 2.21 << false;
        QTest::newRow("2.19") << 1 << int(CTargetValue::kGammaPower) << 2.19 << false;
        QTest::newRow("2.395") << 1 << int(CTargetValue::kGammaPower) << 2.395 << true;
        QTest::newRow("2.41") << 1 << int(CTargetValue::kGammaPower) << 2.41 << false;
        QTest::newRow("2.3") << 1 << int(CTargetValue::kGammaPower) << 2.3 << false;
        QTest::newRow("DICOM") << 1 << int(CTargetValue::kGammaDicom) << 2.2 << false;
    }
    void gain_calibration_gamma_limits()
    {
        QFETCH(int, method);
        QFETCH(int, type);
        QFETCH(double, gamma);
        QFETCH(bool, accepted);
        QCOMPARE(gain_calibration_accepts_gamma(method, gamma_target(type, gamma)), accepted);
    }

    void the_matching_luminance_threshold_data()
    {
        QTest::addColumn<int>("lowest");
        QTest::addColumn<bool>("sets");
        QTest::newRow("20") << 20 << false;
        QTest::newRow("21") << 21 << true;
        QTest::newRow("nothing read") << int(kNoLowestLuminance) << false;
    }
    void the_matching_luminance_threshold()
    {
        QFETCH(int, lowest);
        QFETCH(bool, sets);
        QCOMPARE(sets_matching_luminance(lowest), sets);
    }

    void the_lowest_luminance_scales_truncates_and_skips_bad_values()
    {
        headless_controller wall;
        wall.create_wall(6, 1);
        wall.store_record(0, engine_record(250.9));
        wall.store_record(1, engine_record(600.0, 1, 2.5));             // 240
        wall.store_record(2, engine_record(100.0, 1, 0.0));             // scale unusable: 100
        wall.store_record(3, engine_record(std::numeric_limits<double>::quiet_NaN()));
        wall.store_record(4, engine_record(-1e12));                     // below the int range
        // Display 5 has no record.
        QCOMPARE(lowest_engine_luminance(wall.layout(), wall.records(), {0, 1}), 240);
        QCOMPARE(lowest_engine_luminance(wall.layout(), wall.records(), {0, 1, 2}), 100);
        QCOMPARE(lowest_engine_luminance(wall.layout(), wall.records(), {0, 3, 4, 5, 9}), 250);
        QCOMPARE(lowest_engine_luminance(wall.layout(), wall.records(), {3, 4, 5}), int(kNoLowestLuminance));
    }

    void matching_targets_keep_the_lowest_in_both_modes()
    {
        CTargetValue target;
        target.SetIntensityMode(CTargetValue::kIntensityMaximumMatching);
        target.SetMaxMatchingLuminance(400.0);
        const CTargetValue specified = specified_luminance_target(target, 180);
        QCOMPARE(specified.GetIntensityMode(), int(CTargetValue::kIntensitySpecified));
        QCOMPARE(specified.GetIntensity(), 180.0);
        const CTargetValue matching = matching_luminance_target(target, 180);
        QCOMPARE(matching.GetIntensityMode(), int(CTargetValue::kIntensityMaximumMatching));
        QCOMPARE(matching.GetMaxMatchingLuminance(), 180.0);
        CTargetValue back = matching;
        back.SetIntensityMode(CTargetValue::kIntensitySpecified);
        QCOMPARE(back.GetIntensity(), 180.0);
    }
};

QTEST_GUILESS_MAIN(tst_calibration_step_plans)
#include "tst_calibration_step_plans.moc"
