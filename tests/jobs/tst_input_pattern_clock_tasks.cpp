#include "app/services/string_resource.h"
#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/display_task_fixture.h"

#include <QtTest>

#include <algorithm>

// Inputs, the calibrated settings copied to further inputs, test patterns
// and the clock, run through the job pool against a simulated display.

namespace {

const QByteArray kEngineModel = "VW-5540QE";
const QByteArray kPlainModel = "VW-5520L";      // inputs 17, 18, 130, 3, 15

using list = QStringList;

constexpr qint32 kHdmi = 17;
constexpr qint32 kHdmi2 = 18;
constexpr qint32 kMissing = 16;                 // a DisplayPort this model lacks

QString input_name(qint32 input)
{
    return string_resource(1200 + input);
}

QString unsupported(qint32 input)
{
    return QStringLiteral("Input \"%1\" not supported. ").arg(input_name(input));
}

CAdjustValue calibrated_record(qint16 mode)
{
    CAdjustValue record;
    record.SetCalibrationDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    record.SetCalibrated(true);
    record.SetCalibrationMode(mode);
    record.backlight_setting = 70;
    record.gain = {0.8, 0.9, 1.0};
    record.visual_trim_multiplier = {1.3, 0.9, 1.0};
    return record;
}

CTargetValue power_target()
{
    CTargetValue t;
    t.SetGammaType(CTargetValue::kGammaPower);
    t.SetGamma(2.2);
    return t;
}

} // namespace

class tst_input_pattern_clock_tasks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer: one starved on a busy machine is waited
        // for, not asked again.
        wait_service::set_io_timeout_floor_ms(2000);
    }

    // --- select_input -----------------------------------------------------------

    void select_input_data()
    {
        QTest::addColumn<QList<qint32>>("inputs");
        QTest::addColumn<int>("shown");
        QTest::addColumn<list>("writes");
        QTest::addColumn<QString>("error_text");
        QTest::newRow("one input") << QList<qint32> {kHdmi2} << int(kHdmi2) << list {"60=18"} << QString();
        QTest::newRow("an input the display lacks")
            << QList<qint32> {kMissing} << int(kHdmi) << list {"60=16"} << unsupported(kMissing);
        QTest::newRow("two inputs: nothing") << QList<qint32> {kHdmi, kHdmi2} << int(kHdmi) << list {} << QString();
        QTest::newRow("no input: nothing") << QList<qint32> {} << int(kHdmi) << list {} << QString();
    }
    void select_input()
    {
        QFETCH(QList<qint32>, inputs);
        QFETCH(int, shown);
        QFETCH(list, writes);
        QFETCH(QString, error_text);
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.display([](sim_display &d) { d.controls.set(0x60, kHdmi, 255); });
        job_list_item job = f.job({JOB_TASK_SELECT_INPUT});
        job.input_list = inputs;
        const job_list_item done = f.run(job);
        // An input the display lacks is no error of the job.
        QCOMPARE(done.job_parameters.error_code, 0);
        QCOMPARE(done.job_parameters.error_text, error_text);
        QCOMPARE(f.writes(), writes);
        QCOMPARE(f.control(0x60), shown);
    }

    // --- set_input_picture_settings ------------------------------------------------

    // Gains copied to each input; the input the display lacks only adds its
    // sentence; power management is switched off where it was on and put
    // back as found; the first input is shown again at the end.
    void copy_gain_settings_to_inputs()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(power_target());
        f.store_record(calibrated_record(CAdjustValue::kModeGains));
        f.display([](sim_display &d) {
            d.controls.set(0x60, kHdmi, 255);
            d.controls.set(0xE1, 1, 1);
            d.controls.set(0x2D6, 2, 2);
            d.controls.set(0x240, 2, 2);       // already as the task wants it
            d.controls.set(0x14, 2, 11);
            for (quint16 gain : {0x16, 0x18, 0x1A})
                d.controls.set(gain, 100, 255);
        });
        const int saves = f.display([](sim_display &d) { return d.saves; });
        job_list_item job = f.job({JOB_TASK_INPUT_PICTURE_SETTINGS});
        job.input_list = {kHdmi2, kMissing, 130};

        const job_list_item done = f.run(job);
        QCOMPARE(done.job_parameters.error_code, 0);
        QCOMPARE(done.job_parameters.error_text, unsupported(kMissing));
        const list gains{"16=204", "18=230", "1a=255"};
        const list expected = list{"e1=0", "2d6=1", "60=18", "14=11", "10=70", "268=4"} + gains
                              + list{"60=16", "60=130"} + gains + list{"60=17", "e1=1", "2d6=2"};
        QCOMPARE(f.writes(), expected);
        QCOMPARE(f.control(0x60), int(kHdmi));
        QCOMPARE(f.control(0xE1), 1);
        QCOMPARE(f.control(0x240), 2);
        // One save per input set up and one at the end.
        QCOMPARE(f.display([](sim_display &d) { return d.saves; }), saves + 3);
        QCOMPARE(f.step_texts().mid(2, 4),
                 (list {"Disabling Power Management", QStringLiteral("Selecting Input \"%1\"").arg(input_name(kHdmi2)),
                        QStringLiteral("Applying settings for Input \"%1\"").arg(input_name(kHdmi2)), ""}));
        QVERIFY(f.step_texts().contains("Restoring Power Management"));
    }

    // An engine calibration copies the picture mode; a table calibration
    // keeps the display on the preferred table.
    void copy_engine_and_table_settings_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<bool>("engine");
        QTest::addColumn<list>("writes");
        QTest::newRow("engine") << kEngineModel << true << list{"e1=0",   "2d6=1", "240=2", "60=18", "1050=1",
                                                                "1051=8", "60=17", "e1=1",  "2d6=2", "240=1"};
        QTest::newRow("table on a further table")
            << kPlainModel << false
            << list{"e1=0", "2d6=1", "240=2", "60=18", "14=11", "10=70", "268=13", "60=17", "e1=1", "2d6=2", "240=1"};
    }
    void copy_engine_and_table_settings()
    {
        QFETCH(QByteArray, model);
        QFETCH(bool, engine);
        QFETCH(list, writes);
        display_task_fixture f(model);
        QVERIFY(f.ready());
        f.set_target(power_target());
        f.preferences().SetProgrammableGammaNumber(2);
        CAdjustValue record = calibrated_record(CAdjustValue::kModeLookupTable);
        record.SetCalibrationFlagA(engine);
        f.store_record(record);
        f.display([](sim_display &d) {
            d.controls.set(0x60, kHdmi, 255);
            d.controls.set(0xE1, 1, 1);
            d.controls.set(0x2D6, 2, 2);
            d.controls.set(0x240, 1, 2);
            d.controls.set(0x14, 2, 11);
            d.controls.set(0x1050, 0, 8);
            d.controls.set(0x1051, 0, 15);
            d.controls.set(0x268, 14, 14);
        });
        job_list_item job = f.job({JOB_TASK_INPUT_PICTURE_SETTINGS});
        job.input_list = {kHdmi2};
        QCOMPARE(f.run(job).job_parameters.error_code, 0);
        QCOMPARE(f.writes(), writes);
    }

    // Nothing to copy: the display is not touched at all.
    void copy_without_a_calibration_data()
    {
        QTest::addColumn<int>("record_kind");   // 0 none, 1 never calibrated, 2 first ratio 0
        QTest::newRow("no record") << 0;
        QTest::newRow("never calibrated") << 1;
        QTest::newRow("no ratios") << 2;
    }
    void copy_without_a_calibration()
    {
        QFETCH(int, record_kind);
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        if (record_kind == 1) {
            f.store_record(CAdjustValue());
        } else if (record_kind == 2) {
            CAdjustValue record = calibrated_record(CAdjustValue::kModeGains);
            record.gain = {0.0, 0.9, 1.0};
            f.store_record(record);
        }
        job_list_item job = f.job({JOB_TASK_INPUT_PICTURE_SETTINGS});
        job.input_list = {kHdmi2};
        QCOMPARE(f.run(job).job_parameters.error_code, 0);
        QVERIFY(f.writes().isEmpty());
    }

    // A refused write ends the loop; power management is still put back.
    void a_refused_write_still_restores_power_management()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(power_target());
        f.store_record(calibrated_record(CAdjustValue::kModeGains));
        f.display([](sim_display &d) {
            d.controls.set(0x60, kHdmi, 255);
            d.controls.set(0xE1, 1, 1);
            d.controls.set(0x14, 2, 11);
        });
        f.wall.refuse_writes(f.handle, 0x14);
        job_list_item job = f.job({JOB_TASK_INPUT_PICTURE_SETTINGS});
        job.input_list = {kHdmi2, 130};
        const job_list_item done = f.run(job);
        QVERIFY(done.job_parameters.error_code < 0);
        QVERIFY(!f.writes().contains("60=130"));
        QCOMPARE(f.control(0x60), int(kHdmi));
        QCOMPARE(f.control(0xE1), 1);
    }

    // A stop while the first input settles ends the loop; the input and
    // power management are still put back.
    void a_stop_still_restores_power_management()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(power_target());
        f.store_record(calibrated_record(CAdjustValue::kModeGains));
        f.display([](sim_display &d) {
            d.controls.set(0x60, kHdmi, 255);
            d.controls.set(0xE1, 1, 1);
            d.controls.set(0x2D6, 2, 2);
        });
        job_list_item job = f.job({JOB_TASK_INPUT_PICTURE_SETTINGS});
        job.input_list = {kHdmi2, 130};
        // Five seconds of settling become half a second: time enough for
        // the stop to arrive on a busy machine.
        const double scale = wait_service::time_scale();
        wait_service::set_time_scale(0.1);
        QObject::connect(&f.pool, &QueryThreadPool::update_calibration_job_status_info, &f.pool,
                         [&f, &job](int, calibration_job_status_info_item) { f.pool.stop_job_by_id(job.job_id); });
        const job_list_item done = f.run(job);
        wait_service::set_time_scale(scale);
        QCOMPARE(done.effective_result(), int(JOB_RESULT_STOPPED));
        QCOMPARE(f.writes(), (list {"e1=0", "2d6=1", "240=2", "60=18", "60=17", "e1=1", "2d6=2", "240=1"}));
    }

    // --- set_test_patterns ------------------------------------------------------------

    void test_patterns_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("record_mode");   // -1: no record; 100: engine record
        QTest::addColumn<int>("trims");
        QTest::addColumn<list>("writes");

        const int table = CAdjustValue::kModeLookupTable;
        QTest::newRow("off") << kPlainModel << 0 << -1 << 0 << list {"2c3=1"};
        QTest::newRow("full white") << kPlainModel << 1 << -1 << 0
                                    << list {"2c3=2", "103a=1023", "103b=1023", "103c=1023"};
        QTest::newRow("calibrated white") << kPlainModel << 2 << table << 0
                                          << list {"2c3=2", "103a=818", "103b=921", "103c=1023"};
        QTest::newRow("calibrated white ignores the trim")
            << kPlainModel << 2 << table << int(CAdjustValue::kTrimGains)
            << list {"2c3=2", "103a=818", "103b=921", "103c=1023"};
        // Red: 0.8 x 1.3 of 1023 would be 1064: capped at the maximum.
        QTest::newRow("trimmed white, capped") << kPlainModel << 3 << table << int(CAdjustValue::kTrimGains)
                                               << list {"2c3=2", "103a=1023", "103b=829", "103c=1023"};
        QTest::newRow("trimmed white without the trim switch")
            << kPlainModel << 3 << table << 0 << list {"2c3=2", "103a=818", "103b=921", "103c=1023"};
        QTest::newRow("engine record: the engine's maxima")
            << kEngineModel << 2 << 100 << 0 << list {"2c8=2", "1192=1023", "1193=1023", "1194=1023"};
        QTest::newRow("calibration in the gains: nothing") << kPlainModel << 2 << int(CAdjustValue::kModeGains) << 0
                                                           << list {};
        QTest::newRow("no record: nothing") << kPlainModel << 3 << -1 << 0 << list {};
    }
    void test_patterns()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, mode);
        QFETCH(int, record_mode);
        QFETCH(int, trims);
        QFETCH(list, writes);
        display_task_fixture f(model);
        QVERIFY(f.ready());
        if (record_mode >= 0) {
            const bool engine = record_mode == 100;
            CAdjustValue record =
                calibrated_record(engine ? qint16(CAdjustValue::kModeLookupTable) : qint16(record_mode));
            record.SetCalibrationFlagA(engine);
            record.visual_trim_flags = static_cast<qint16>(trims);
            f.store_record(record);
        }
        f.display([](sim_display &d) {
            for (quint16 level : {0x103A, 0x103B, 0x103C, 0x1192, 0x1193, 0x1194})
                d.controls.set(level, 5, 1023);
        });
        job_list_item job = f.job({JOB_TASK_TEST_PATTERNS});
        job.test_pattern_mode = mode;
        const job_list_item done = f.run(job);
        QCOMPARE(done.job_parameters.error_code, 0);
        QCOMPARE(f.writes(), writes);
        if (mode >= 2)
            QCOMPARE(done.job_parameters.verify_status, 1);
    }

    // --- set_display_clock ----------------------------------------------------------------

    void clock_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("read");
        QTest::addColumn<QDateTime>("requested");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("done");
        const QDateTime given(QDate(2025, 3, 14), QTime(9, 26));
        QTest::newRow("set to a time") << 1 << 0 << given << true << true;
        QTest::newRow("set, invalid time: now") << 1 << 0 << QDateTime() << true << true;
        QTest::newRow("read") << 0 << 1 << QDateTime() << false << true;
        QTest::newRow("neither") << 0 << 0 << QDateTime() << false << false;
    }
    void clock()
    {
        QFETCH(int, set);
        QFETCH(int, read);
        QFETCH(QDateTime, requested);
        QFETCH(bool, writes);
        QFETCH(bool, done);
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.display([](sim_display &d) {
            d.clock = sim_display::clock_state {24, 6, 30, 0, 23, 59, 1};
        });
        job_list_item job = f.job({JOB_TASK_SET_CLOCK});
        job.clock.set = static_cast<quint8>(set);
        job.clock.read = static_cast<quint8>(read);
        job.clock.date_time = requested;
        const QDateTime before = QDateTime::currentDateTime();
        const job_list_item result = f.run(job);
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(result.job_parameters.error_code, 0);

        const job_clock_result &clock = result.job_parameters.clock;
        QCOMPARE(clock.done, quint8(done ? 1 : 0));
        const QList<QByteArray> commands = f.bodies('A');
        const auto clock_writes = std::count_if(commands.cbegin(), commands.cend(),
                                                [](const QByteArray &body) { return body.startsWith("C212"); });
        QCOMPARE(int(clock_writes), writes ? 1 : 0);
        if (!done)
            return;
        // The daylight-saving byte read is kept.
        QCOMPARE(f.display([](sim_display &d) { return d.clock.daylight_saving; }), quint8(1));
        QCOMPARE(clock.daylight_saving, quint8(1));
        if (!writes) {
            QCOMPARE(clock.date_time, QDateTime(QDate(2024, 6, 30), QTime(23, 59)));
        } else if (requested.isValid()) {
            QCOMPARE(clock.date_time, requested);
        } else {
            // The display keeps minutes: now, within the minute the job ran in.
            QVERIFY(clock.date_time >= before.addSecs(-60) && clock.date_time <= after);
        }
    }
};

QTEST_GUILESS_MAIN(tst_input_pattern_clock_tasks)
#include "tst_input_pattern_clock_tasks.moc"
