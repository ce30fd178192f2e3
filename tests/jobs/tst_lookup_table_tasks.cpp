#include "app/controller/color_calc_utils.h"
#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/display_task_fixture.h"
#include "tests/support/table_calibration.h"

#include <QtTest>

#include <cmath>

// The lookup-table tasks run through the job pool against a simulated
// display: the table the display shows afterwards, what was saved and
// stored, and what was left alone.

namespace {

const QByteArray kEngineModel = "VW-5540QE";
const QByteArray kPlainModel = "VW-5520L";      // no internal engine, long tables up to 4095

using list = QStringList;

using table_calibration::kCurvePoints;

CTargetValue target(int gamma_type, double gamma = 2.2)
{
    CTargetValue t;
    t.SetWhitePoint(CColorTemperature(CIExy {0.313, 0.329}));
    t.SetIntensityMode(CTargetValue::kIntensitySpecified);
    t.SetSpecifiedLuminance(200.0);
    t.SetGammaType(gamma_type);
    t.SetGamma(gamma);
    return t;
}

// A target whose tone is a drawn curve: x squared.
CTargetValue curve_target()
{
    CTargetValue t = target(CTargetValue::kGammaCurve);
    t.SetCurveSelection(CTargetValue::kCurveCustom);
    CSpline curve;
    curve.Init(CSpline::kCatmullRom, kCurvePoints, 0.0, 1.0);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double x = double(i) / (kCurvePoints - 1);
        curve.SetPoint(i, x, x * x);
    }
    curve.SetValid(true);
    t.SetCurve(curve);
    return t;
}

CAdjustValue engine_record()
{
    CAdjustValue record = table_calibration::linear_response_record(CAdjustValue::kModeLookupTable);
    record.SetCalibrationFlagA(true);
    return record;
}

// The largest difference between two tables of equal size; -1 when the
// sizes differ.
int largest_difference(const QVector<int> &a, const QVector<int> &b)
{
    if (a.size() != b.size())
        return -1;
    int most = 0;
    for (int i = 0; i < a.size(); ++i)
        most = qMax(most, qAbs(a.at(i) - b.at(i)));
    return most;
}

// The long table a sensor record gives for |wanted| on a display whose
// table reaches |max|: each channel's correction scaled to its gain.
QVector<int> expected_sensor_table(CAdjustValue record, const CTargetValue &wanted, int entries, int max)
{
    CColorValue &m = record.measurements;
    color_calc_utils::make_target_curve(m, wanted, m.target_curve);
    m.BuildCorrectionCurves(wanted);
    QVector<int> table;
    for (int c = 0; c < 3; ++c) {
        const int channel_max = int(std::floor(max * record.gain[std::size_t(c)] + 0.5));
        for (int i = 0; i < entries; ++i) {
            const double x = double(i) / (entries - 1);
            table << int(std::floor(channel_max * m.correction_curves[std::size_t(c)].Evaluate(x) + 0.5));
        }
    }
    return table;
}

} // namespace

class tst_lookup_table_tasks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer: one starved on a busy machine is waited
        // for, not asked again.
        wait_service::set_io_timeout_floor_ms(2000);
    }

    // --- update_luts -----------------------------------------------------------

    // A sensor calibration in the table: the table shown is the record's
    // correction for the current target, scaled to each channel's gain, in
    // the gamma table the preferences name; the pattern goes off, the
    // settings are saved and the record stored.
    void update_a_sensor_calibration_data()
    {
        QTest::addColumn<CTargetValue>("wanted");
        QTest::addColumn<int>("gamma_table");
        QTest::addColumn<int>("colour_mode");
        QTest::newRow("gamma 2.2") << target(CTargetValue::kGammaPower, 2.2) << 1 << 6;
        QTest::newRow("gamma 2.4, second table") << target(CTargetValue::kGammaPower, 2.4) << 2 << 13;
        QTest::newRow("native tone") << target(CTargetValue::kGammaNative) << 1 << 6;
    }
    void update_a_sensor_calibration()
    {
        QFETCH(CTargetValue, wanted);
        QFETCH(int, gamma_table);
        QFETCH(int, colour_mode);
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(wanted);
        f.preferences().SetProgrammableGammaNumber(static_cast<quint8>(gamma_table));
        const CAdjustValue record = table_calibration::linear_response_record(CAdjustValue::kModeLookupTable);
        f.store_record(record);
        // Showing a further table already: the preferred one is chosen.
        f.display([](sim_display &d) { d.controls.set(0x268, 14, 14); });
        const int saves = f.display([](sim_display &d) { return d.saves; });

        const job_list_item done = f.run({JOB_TASK_UPDATE_LUTS});
        QCOMPARE(done.job_parameters.error_code, 0);
        QCOMPARE(f.control(0x268), colour_mode);
        const QVector<int> shown = f.display([](sim_display &d) { return d.active_lut.table(1024); });
        // One count: the task and this test may round a half differently.
        QVERIFY(largest_difference(shown, expected_sensor_table(record, wanted, 1024, 4095)) <= 1);
        QCOMPARE(f.writes().last(), QStringLiteral("2c3=1"));
        QCOMPARE(f.display([](sim_display &d) { return d.saves; }), saves + 1);
        // The record now holds the correction for this target.
        QVERIFY(f.stored_record().measurements.correction_curves[0].IsValid()
                || wanted.GetGammaType() == CTargetValue::kGammaNative);
        QCOMPARE(f.step_texts(), (list {"Connecting...", "Identifying display", "Updating LUTs", "", "", "Complete",
                                        ""}));
    }

    // An engine calibration: the target's curve goes up as the engine's
    // short table, the engine goes back to work and the settings are saved.
    void update_an_engine_calibration()
    {
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        const CTargetValue wanted = curve_target();
        f.set_target(wanted);
        f.store_record(engine_record());
        f.display([](sim_display &d) { d.controls.set(0x1067, 3, 3); });
        const int saves = f.display([](sim_display &d) { return d.saves; });

        QCOMPARE(f.run({JOB_TASK_UPDATE_LUTS}).job_parameters.error_code, 0);
        QVERIFY(f.display([](sim_display &d) { return d.lut_active && d.active_lut_entries == 256; }));
        const QVector<int> shown = f.display([](sim_display &d) { return d.active_lut.table(256); });
        QVector<int> expected;
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i)
                expected << int(std::floor(wanted.GetCurve().Evaluate(i / 255.0) * 65535 + 0.5));
        }
        QVERIFY(largest_difference(shown, expected) <= 1);
        QCOMPARE(f.writes().last(), QStringLiteral("1067=1"));
        QCOMPARE(f.control(0x1067), 1);
        QCOMPARE(f.display([](sim_display &d) { return d.saves; }), saves + 1);
    }

    // Nothing to write: no record, never calibrated, or a calibration held
    // in the gains (whose settings are still saved and record stored).
    void update_with_nothing_to_write_data()
    {
        QTest::addColumn<int>("record_kind");   // 0 none, 1 never calibrated, 2 gains
        QTest::addColumn<bool>("saves");
        QTest::newRow("no record") << 0 << false;
        QTest::newRow("never calibrated") << 1 << false;
        QTest::newRow("calibration in the gains") << 2 << true;
    }
    void update_with_nothing_to_write()
    {
        QFETCH(int, record_kind);
        QFETCH(bool, saves);
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaPower));
        if (record_kind == 1)
            f.store_record(CAdjustValue());
        else if (record_kind == 2)
            f.store_record(table_calibration::linear_response_record(CAdjustValue::kModeGains));
        const int saved_before = f.display([](sim_display &d) { return d.saves; });

        QCOMPARE(f.run({JOB_TASK_UPDATE_LUTS}).job_parameters.error_code, 0);
        QVERIFY(f.writes().isEmpty());
        QCOMPARE(f.display([](sim_display &d) { return d.lut_commits + d.lut_activations; }), 0);
        QCOMPARE(f.display([](sim_display &d) { return d.saves; }), saved_before + (saves ? 1 : 0));
        QCOMPARE(f.has_record(), record_kind != 0);
    }

    // --- initialize_and_update_luts ------------------------------------------------

    void initialize_and_load_a_test_table_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("kind");
        QTest::newRow("normal") << kPlainModel << 0;
        QTest::newRow("black") << kPlainModel << 1;
        QTest::newRow("white") << kPlainModel << 2;
        QTest::newRow("normal, engine switched off") << kEngineModel << 0;
    }
    void initialize_and_load_a_test_table()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, kind);
        display_task_fixture f(model);
        QVERIFY(f.ready());
        f.display([](sim_display &d) {
            d.controls.set(0x21A, 1, 4);
            d.controls.set(0x14, 2, 11);
            d.controls.set(0x12, 20, 100);
            for (quint16 gain : {0x16, 0x18, 0x1A})
                d.controls.set(gain, 100, 255);
            d.controls.set(0x1147, 2, 2);
        });
        job_list_item job = f.job({JOB_TASK_INITIALIZE_AND_UPDATE_LUTS});
        job.lut_kind = kind;

        QCOMPARE(f.run(job).job_parameters.error_code, 0);
        list expected {"21a=4", "14=11", "12=50", "16=255", "18=255", "1a=255"};
        if (model == kEngineModel)
            expected.prepend("1147=1");
        QCOMPARE(f.writes().mid(0, expected.size()), expected);
        // The engine model takes short tables of 256 entries up to 1023,
        // the other long ones of 1024 up to 4095.
        const int n = model == kEngineModel ? 256 : 1024;
        const int max = model == kEngineModel ? 1023 : 4095;
        QCOMPARE(f.display([](sim_display &d) { return d.active_lut_entries; }), n);
        const QVector<int> shown = f.display([n](sim_display &d) { return d.active_lut.table(n); });
        QCOMPARE(shown.mid(0, n), shown.mid(n, n));
        QCOMPARE(shown.mid(0, n), shown.mid(2 * n, n));
        switch (kind) {
        case 0: QCOMPARE(shown.at(n - 1), max); break;                 // a straight ramp
        case 1: QCOMPARE(shown.mid(0, 3), (QVector<int> {max / 12, max, max})); break;
        case 2: QCOMPARE(shown.mid(n - 3, 3), (QVector<int> {max, max, 0})); break;
        }
        QCOMPARE(f.step_texts(), (list {"Connecting...", "Initializing display", "Initializing display",
                                        "Updating LUTs", "", "Complete", ""}));
    }

    // A display in standby is switched on and given its time first; one
    // that is on starts at once.
    void initialize_switches_the_display_on()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.display([](sim_display &d) { d.controls.set(0xD6, 4, 4); });
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_AND_UPDATE_LUTS}).job_parameters.error_code, 0);
        QVERIFY(f.bodies('A').contains("C203D60001"));
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_AND_UPDATE_LUTS}).job_parameters.error_code, 0);
        QVERIFY(!f.bodies('A').contains("C203D60001"));
    }

    // --- lut_read_test -------------------------------------------------------------

    void read_test()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        job_list_item done = f.run({JOB_TASK_LUT_READ_TEST});
        QCOMPARE(done.job_parameters.error_code, 0);
        QVERIFY(f.step_texts().contains("Testing LUT Read..."));

        // The same read answered with another command's reply.
        QByteArray read;
        for (const QByteArray &body : f.bodies('A')) {
            if (body.startsWith("C204"))
                read = body;
        }
        QVERIFY(!read.isEmpty());
        f.display([&read](sim_display &d) { d.scripted_replies.insert(read, "C3FF00"); });
        done = f.run({JOB_TASK_LUT_READ_TEST});
        QCOMPARE(done.job_parameters.error_code, -1021);
    }
};

QTEST_GUILESS_MAIN(tst_lookup_table_tasks)
#include "tst_lookup_table_tasks.moc"
