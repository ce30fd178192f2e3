#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "calibration/main_controller_state.h"
#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "tests/support/headless_controller.h"

#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

QString green(int id) { return string_resource(2201) + QLatin1Char(' ') + string_resource(id); }
QString red(int id) { return string_resource(2200) + QLatin1Char(' ') + string_resource(id); }

QStringList lines_of(const dock_state &state, dock_control which)
{
    return state.control(which).tooltip.split(QStringLiteral("<br>"));
}

// A wall of five verified, enabled displays, all measured and calibrated
// with lookup tables, the first selected, a sensor connected.
dock_inputs ready_wall()
{
    dock_inputs in;
    in.selected_enabled = true;
    in.selected_verified = true;
    in.selected_calibrated = true;
    in.enabled = in.verified = in.calibrated = in.measured = in.table_calibrated = 5;
    in.sensor_connected = true;
    in.intensity_mode = CTargetValue::kIntensitySpecified;
    in.all_measured = true;
    return in;
}

dock_inputs engine_wall()
{
    dock_inputs in = ready_wall();
    in.engine_count = 5;
    in.selected_engine = true;
    in.use_engine = true;
    in.without_sensor = true;
    return in;
}

const dock_control kStepButtons[] = {
    dock_control::verify_all,     dock_control::verify_selected,  dock_control::initialize_all,
    dock_control::initialize_selected, dock_control::measure_selected, dock_control::measure_all,
    dock_control::calibrate_selected,  dock_control::calibrate_all,    dock_control::visual_trim,
    dock_control::update_uniformity,
};

} // namespace

class tst_main_controller_state : public QObject
{
    Q_OBJECT

private slots:
    void a_ready_wall_enables_every_step()
    {
        dock_inputs in = ready_wall();
        in.uniformity = true;
        const dock_state state = evaluate_dock_state(in);
        for (dock_control control : kStepButtons)
            QVERIFY2(state.control(control).enabled, qPrintable(state.control(control).tooltip));
        QVERIFY(state.control(dock_control::evaluate_calibration).enabled);
        QCOMPARE(state.verify_status, QStringLiteral("Complete"));
        QCOMPARE(state.measure_all_text, QStringLiteral("All"));
        QCOMPARE(lines_of(state, dock_control::calibrate_selected),
                 QStringList({green(350), green(352), green(356), green(362), green(364)}));
    }

    void a_conflict_disables_every_step_and_leads_each_tooltip()
    {
        dock_inputs in = ready_wall();
        in.no_conflict = false;
        const dock_state state = evaluate_dock_state(in);
        for (dock_control control : kStepButtons) {
            QVERIFY(!state.control(control).enabled);
            QCOMPARE(lines_of(state, control).first(), red(351));
        }
        QVERIFY(!state.control(dock_control::evaluate_calibration).enabled);

        // Without a sensor the conflict shows on Evaluate Calibration but
        // does not hold it back.
        dock_inputs engine = engine_wall();
        engine.no_conflict = false;
        const dock_state without = evaluate_dock_state(engine);
        QVERIFY(without.control(dock_control::evaluate_calibration).enabled);
        QCOMPARE(lines_of(without, dock_control::evaluate_calibration).first(), red(351));
    }

    void duplicates_add_a_red_line_where_they_gate()
    {
        dock_inputs in = ready_wall();
        in.no_duplicate = false;
        const dock_state state = evaluate_dock_state(in);
        QVERIFY(state.control(dock_control::verify_all).enabled);
        QVERIFY(!lines_of(state, dock_control::verify_all).contains(red(369)));
        for (dock_control control : {dock_control::initialize_all, dock_control::measure_selected,
                                     dock_control::calibrate_all, dock_control::visual_trim,
                                     dock_control::evaluate_calibration, dock_control::update_uniformity}) {
            QVERIFY(!state.control(control).enabled);
            QCOMPARE(lines_of(state, control).at(1), red(369));
        }
        // Without duplicates the line is not shown at all.
        QVERIFY(!evaluate_dock_state(ready_wall()).control(dock_control::initialize_all).tooltip.contains(
            string_resource(369)));
    }

    void nothing_enabled_empties_the_labels()
    {
        dock_inputs in;
        const dock_state state = evaluate_dock_state(in);
        QVERIFY(state.verify_status.isEmpty());
        QVERIFY(state.measure_status.isEmpty());
        QVERIFY(state.calibrate_status.isEmpty());
        QVERIFY(state.clear_initialize_status);
        for (dock_control control : {dock_control::verify_all, dock_control::initialize_all,
                                     dock_control::measure_all, dock_control::calibrate_all}) {
            QVERIFY(!state.control(control).enabled);
            QVERIFY(lines_of(state, control).contains(red(355)));
        }
    }

    void partly_measured_offers_the_remaining_data()
    {
        QTest::addColumn<int>("measured");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("button");
        QTest::newRow("three of five") << 3 << QStringLiteral("3 of 5 completed") << QStringLiteral("All / Remaining");
        QTest::newRow("all five") << 5 << QStringLiteral("Complete") << QStringLiteral("All");
        QTest::newRow("none") << 0 << QStringLiteral("0 of 5 completed") << QStringLiteral("All");
    }
    void partly_measured_offers_the_remaining()
    {
        QFETCH(int, measured);
        QFETCH(QString, status);
        QFETCH(QString, button);
        dock_inputs in = ready_wall();
        in.measured = measured;
        const dock_state state = evaluate_dock_state(in);
        QCOMPARE(state.measure_status, status);
        QCOMPARE(state.measure_all_text, button);
    }

    void calibrate_all_offers_the_remaining_only_with_a_sensor()
    {
        dock_inputs in = ready_wall();
        in.calibrated = 2;
        QCOMPARE(evaluate_dock_state(in).calibrate_all_text, QStringLiteral("All / Remaining"));
        in.engine_count = 5;
        in.use_engine = true;
        in.without_sensor = true;
        QCOMPARE(evaluate_dock_state(in).calibrate_all_text, QStringLiteral("All"));
    }

    void maximum_matching_needs_every_display_measured()
    {
        dock_inputs in = ready_wall();
        in.intensity_mode = CTargetValue::kIntensityMaximumMatching;
        in.max_matching_luminance = 250.0;
        in.all_measured = false;
        const dock_state state = evaluate_dock_state(in);
        for (dock_control control : {dock_control::calibrate_selected, dock_control::calibrate_all}) {
            QVERIFY(!state.control(control).enabled);
            QCOMPARE(lines_of(state, control).last(), red(365));
        }
        in.all_measured = true;
        QVERIFY(evaluate_dock_state(in).control(dock_control::calibrate_all).enabled);
        in.max_matching_luminance = 0.0;
        QVERIFY(!evaluate_dock_state(in).control(dock_control::calibrate_all).enabled);
    }

    void without_sensor_by_intensity_mode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("selected_enabled");
        QTest::addColumn<bool>("matching_line");
        QTest::newRow("maximum matching") << int(CTargetValue::kIntensityMaximumMatching) << false << true;
        QTest::newRow("specified") << int(CTargetValue::kIntensitySpecified) << true << false;
    }
    void without_sensor_by_intensity_mode()
    {
        QFETCH(int, mode);
        QFETCH(bool, selected_enabled);
        QFETCH(bool, matching_line);
        dock_inputs in = engine_wall();
        in.intensity_mode = mode;
        in.sensor_connected = false;
        in.all_measured = false; // no sensor needs no measurements
        const dock_state state = evaluate_dock_state(in);
        QVERIFY(!state.steps_2_3_visible);
        QCOMPARE(state.control(dock_control::calibrate_selected).enabled, selected_enabled);
        QVERIFY(state.control(dock_control::calibrate_all).enabled);
        const QStringList lines = lines_of(state, dock_control::calibrate_selected);
        QCOMPARE(lines.contains(red(379)), matching_line);
        QCOMPARE(lines.at(3), green(372)); // no duplicate line before it
        QCOMPARE(lines.last(), green(364));
        QVERIFY(!lines.contains(red(363)));
    }

    void without_sensor_visual_trim_shows_verification_without_gating()
    {
        dock_inputs in = engine_wall();
        in.selected_verified = false;
        const dock_state state = evaluate_dock_state(in);
        QVERIFY(state.control(dock_control::visual_trim).enabled);
        QVERIFY(lines_of(state, dock_control::visual_trim).contains(red(357)));
        in.without_sensor = false;
        QVERIFY(!evaluate_dock_state(in).control(dock_control::visual_trim).enabled);
    }

    void the_without_sensor_box_needs_lookup_tables_and_the_engine_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("use_engine");
        QTest::addColumn<int>("engines");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("method_line");
        QTest::newRow("allowed") << 0 << true << 2 << true << green(374);
        QTest::newRow("rgb gains") << 1 << true << 2 << false << red(375);
        QTest::newRow("engine not chosen") << 0 << false << 2 << false << green(374);
        QTest::newRow("no engine display") << 0 << true << 0 << false << green(374);
    }
    void the_without_sensor_box_needs_lookup_tables_and_the_engine()
    {
        QFETCH(int, method);
        QFETCH(bool, use_engine);
        QFETCH(int, engines);
        QFETCH(bool, allowed);
        QFETCH(QString, method_line);
        dock_inputs in = ready_wall();
        in.calibration_method = method;
        in.use_engine = use_engine;
        in.engine_count = engines;
        const dock_state state = evaluate_dock_state(in);
        QCOMPARE(state.without_sensor_allowed, allowed);
        QCOMPARE(state.control(dock_control::without_sensor_box).enabled, allowed);
        const QString tip = state.control(dock_control::without_sensor_box).tooltip;
        QVERIFY(tip.startsWith(QStringLiteral("<img src=\":/images/Resources/help-tip.png\"><b>Use the display's")));
        QVERIFY(tip.contains(method_line));
    }

    void measure_is_optional_for_maximum_possible()
    {
        dock_inputs in = ready_wall();
        in.intensity_mode = CTargetValue::kIntensityMaximumPossible;
        QCOMPARE(evaluate_dock_state(in).measure_title, QStringLiteral("Step 3 - Measure (Optional)"));
        in.intensity_mode = CTargetValue::kIntensityMaximumMatching;
        QCOMPARE(evaluate_dock_state(in).measure_title, QStringLiteral("Step 3 - Measure"));
    }

    void facts_are_read_from_the_wall()
    {
        headless_controller wall;
        wall.create_wall(3, 1);
        CAdjustValue calibrated;
        calibrated.SetCalibrationDateTime(kWhen);
        calibrated.SetCapabilityWordA(1);
        calibrated.measurements.measurement_date_time = kWhen;
        wall.store_record(0, calibrated);
        wall.store_record(1, CAdjustValue());
        // Display 2 is disabled: it counts nowhere.
        display_layout_item off;
        wall.layout().get_item(2, off);
        off.enabled = false;
        wall.layout().set_item(2, off, true);

        const dock_inputs in = read_dock_inputs(wall.layout(), wall.records(), *wall.controller().getPreferences(),
                                                wall.controller().getTarget(), 0, false, true);
        QVERIFY(in.no_conflict);
        QCOMPARE(in.enabled, 2);
        QCOMPARE(in.verified, 2);
        QCOMPARE(in.calibrated, 1);
        QCOMPARE(in.measured, 1);
        QCOMPARE(in.table_calibrated, 1);
        QCOMPARE(in.engine_count, 1);
        QVERIFY(in.selected_calibrated);
        QVERIFY(in.selected_engine);

        const dock_inputs second = read_dock_inputs(wall.layout(), wall.records(),
                                                    *wall.controller().getPreferences(),
                                                    wall.controller().getTarget(), 2, false, true);
        QVERIFY(!second.selected_enabled);
        QVERIFY(!second.selected_verified); // never verified
        QVERIFY(!second.selected_calibrated);
    }

    void the_same_id_on_one_address_is_a_conflict()
    {
        headless_controller wall;
        wall.create_wall(2, 1);
        display_layout_item second;
        wall.layout().get_item(1, second);
        display_layout_item first;
        wall.layout().get_item(0, first);
        second.connection_address = first.connection_address;
        second.monitor_id = first.monitor_id;
        wall.layout().set_item(1, second, true);
        const dock_inputs in = read_dock_inputs(wall.layout(), wall.records(), *wall.controller().getPreferences(),
                                                wall.controller().getTarget(), 0, false, true);
        QVERIFY(!in.no_conflict);
        QVERIFY(!evaluate_dock_state(in).control(dock_control::verify_all).enabled);
    }
};

QTEST_GUILESS_MAIN(tst_main_controller_state)
#include "tst_main_controller_state.moc"
