#include "app/controller/MasterControl.h"
#include "app/services/string_resource.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/engine_procedure.h"
#include "jobs/job_task_type.h"
#include "sensors/CTargetSensor.h"
#include "tests/jobs/wall_task_fixture.h"

#include <QJsonArray>
#include <QtTest>

namespace {

constexpr int kEngineOn = 2;
constexpr int kPositions = 3;
constexpr qint64 kAnsweringDisplayFloorMs = 30000;

using procedure_setup = std::function<void(sim_display &)>;

QString display_text(int id, int display)
{
    return string_resource(id).arg(display + 1);
}

} // namespace

class tst_engine_procedures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer; a reply held for a test is waited for.
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        m_fixture = std::make_unique<wall_task_fixture>();
        QVERIFY2(m_fixture->ready(), qPrintable(m_fixture->error()));
        m_display = m_fixture->add_display("VW-5540QE");
        QVERIFY2(m_display >= 0, qPrintable(m_fixture->error()));
        QVERIFY(m_fixture->attach_sensor());
        QVERIFY(m_fixture->place_sensor(m_display));
    }
    void cleanupTestCase() { m_fixture.reset(); }
    void init()
    {
        m_fixture->wall().refuse_writes(m_display, control_code::kEngineProcedure, 0);
        m_fixture->wall().with_display(m_display, [](sim_display &d) {
            d.controls.set(control_code::kPowerMode, 1, 4);
            d.controls.set(control_code::kEngineSwitch, kEngineOn, 2);
            d.engine.config = sim_engine::settings();
            d.engine.config.positions = kPositions;
            // Busy long enough that a poll after the start still finds it so.
            d.engine.config.busy_polls = 3;
            d.engine.measurements.clear();
            d.history.clear();
        });
        m_fixture->wall().clear_log();
        m_fixture->instrument().clearCalls();
    }

    // Every measurement the engine asks for is taken with the sensor and
    // handed over; the procedure ends left, with a history entry.
    void measures_at_every_wanted_position_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("history_type");
        QTest::newRow("update calibration") << int(JOB_TASK_UPDATE_CALIBRATION) << 3;
        QTest::newRow("measurement") << int(JOB_TASK_MEASURE) << 4;
    }
    void measures_at_every_wanted_position()
    {
        QFETCH(int, task);
        QFETCH(int, history_type);
        wall_task_fixture &f = *m_fixture;
        const auto run = f.run(f.job(m_display, {task}));
        QCOMPARE(run->error_code(), 0);

        const QJsonArray readings = f.instrument().callsNamed(QStringLiteral("i1d3MeasureXYZ"));
        const auto sent = f.wall().with_display(m_display, [](sim_display &d) { return d.engine.measurements; });
        QCOMPARE(sent.size(), kPositions);
        QCOMPARE(readings.size(), kPositions);
        for (int i = 0; i < kPositions; ++i) {
            const QJsonArray out = readings.at(i).toObject().value(QStringLiteral("out")).toArray();
            const CCIEXYZ reading(out.at(0).toDouble(), out.at(1).toDouble(), out.at(2).toDouble());
            QVERIFY(reading.Y > 1.0);
            // Thousandths of cd/m², rounded: within half a count of the reading.
            QVERIFY(std::abs(sent.at(i)[0] - reading.X * 1000.0) <= 0.5);
            QVERIFY(std::abs(sent.at(i)[1] - reading.Y * 1000.0) <= 0.5);
            QVERIFY(std::abs(sent.at(i)[2] - reading.Z * 1000.0) <= 0.5);
        }
        QCOMPARE(f.control(m_display, control_code::kEngineProcedure), 0);
        const auto history = f.wall().with_display(m_display, [](sim_display &d) { return d.history; });
        QCOMPARE(history.size(), 1);
        QCOMPARE(int(history.first().calibration_type), history_type);
        QCOMPARE(run->sub_step_texts().last(), QStringLiteral("Completed"));
    }

    void reports_instructions_and_prompts_in_order_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<QStringList>("expected");
        const QString place = QStringLiteral("2:0:") + display_text(1100, 0);
        const QString say_place = QStringLiteral("3:1:") + display_text(1104, 0);
        const QString remove = QStringLiteral("2:0:") + string_resource(1101);
        const QString say_remove = QStringLiteral("3:1:") + string_resource(1105);
        const QString move = QStringLiteral("2:0:") + string_resource(1108);
        const QString say_next = QStringLiteral("3:1:") + string_resource(1109);
        QTest::newRow("update calibration") << int(JOB_TASK_UPDATE_CALIBRATION)
                                            << QStringList{place, say_place, remove, say_remove};
        QTest::newRow("measurement") << int(JOB_TASK_MEASURE)
                                     << QStringList{place,
                                                    say_place,
                                                    move.arg(2).arg(kPositions),
                                                    say_next,
                                                    move.arg(3).arg(kPositions),
                                                    say_next,
                                                    remove,
                                                    say_remove,
                                                    QStringLiteral("3:1:") + string_resource(1111)};
    }
    void reports_instructions_and_prompts_in_order()
    {
        QFETCH(int, task);
        QFETCH(QStringList, expected);
        wall_task_fixture &f = *m_fixture;
        const auto run = f.run(f.job(m_display, {task}));
        QCOMPARE(run->error_code(), 0);
        QStringList said;
        for (const QString &line : run->status_lines())
            if (line.startsWith(QLatin1String("2:")) || line.startsWith(QLatin1String("3:")))
                said << line;
        QCOMPARE(said, expected);
        if (task == JOB_TASK_MEASURE) {
            QStringList positions;
            for (const QString &text : run->sub_step_texts())
                if (text.contains(QLatin1String(" of ")))
                    positions << text;
            QCOMPARE(positions, (QStringList{"1 of 3", "2 of 3", "3 of 3"}));
            const QStringList steps = run->step_texts();
            QVERIFY(steps.contains(QStringLiteral("Preparing display...")));
            QVERIFY(steps.indexOf(QStringLiteral("Position Color Sensor"))
                    > steps.indexOf(QStringLiteral("Measurement")));
        } else {
            QCOMPARE(run->step_texts().at(1), QStringLiteral("Updating Calibration"));
            QVERIFY(run->sub_step_texts().contains(QStringLiteral("Calculating")));
            QVERIFY(run->sub_step_texts().contains(QStringLiteral("Saving")));
        }
    }

    // Failures of the procedures, for the two sensor procedures and the
    // reset: the result, and what the display is left with.
    void failures_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("result");
        enum { kStandby, kOldEngine, kRefusedProcedure, kNeverFinishes, kRefusedLeave };
        for (int task : {int(JOB_TASK_UPDATE_CALIBRATION), int(JOB_TASK_MEASURE), int(JOB_TASK_RESET_SETTINGS)}) {
            const QByteArray name = task == JOB_TASK_UPDATE_CALIBRATION ? "update"
                                    : task == JOB_TASK_MEASURE          ? "measurement"
                                                                        : "reset";
            if (task != JOB_TASK_RESET_SETTINGS)
                QTest::newRow(name + ", display in standby") << task << int(kStandby) << -1036;
            QTest::newRow(name + ", procedure refused") << task << int(kRefusedProcedure) << -1039;
            QTest::newRow(name + ", engine never finishes") << task << int(kNeverFinishes) << -1038;
            QTest::newRow(name + ", leaving refused") << task << int(kRefusedLeave) << -5007;
        }
        QTest::newRow("update, engine switched off") << int(JOB_TASK_UPDATE_CALIBRATION) << int(kOldEngine) << -1040;
    }
    void failures()
    {
        QFETCH(int, task);
        QFETCH(int, failure);
        QFETCH(int, result);
        enum { kStandby, kOldEngine, kRefusedProcedure, kNeverFinishes, kRefusedLeave };
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_display, [failure](sim_display &d) {
            if (failure == kStandby)
                d.controls.set(control_code::kPowerMode, 4, 4);
            if (failure == kOldEngine)
                d.controls.set(control_code::kEngineSwitch, 1, 2);
            if (failure == kNeverFinishes)
                d.engine.config.never_finishes = true;
        });
        if (failure == kRefusedProcedure)
            f.wall().refuse_writes(m_display, control_code::kEngineProcedure);
        if (failure == kRefusedLeave)
            f.wall().refuse_writes(m_display, control_code::kEngineProcedure, sim_fault::kForever, 0);
        const auto run = f.run(f.job(m_display, {task}));
        f.wall().refuse_writes(m_display, control_code::kEngineProcedure, 0);
        QCOMPARE(run->error_code(), result);
        if (failure == kStandby || failure == kOldEngine) {
            for (const QByteArray &frame : f.frames(m_display))
                QVERIFY2(!frame.startsWith('E') && !frame.startsWith("AC256"), frame.constData());
            return;
        }
        const QList<int> states = f.writes(m_display, control_code::kEngineState);
        if (failure == kNeverFinishes) {
            QVERIFY(!states.isEmpty());
            QCOMPARE(states.last(), 2);
        }
        if (failure == kRefusedProcedure)
            QVERIFY(states.isEmpty());
    }

    // A stop while the engine is busy tells it to stop and leaves the
    // procedure: the display is not left in it.
    void a_stop_while_busy_leaves_the_procedure_data()
    {
        QTest::addColumn<int>("task");
        QTest::newRow("update calibration") << int(JOB_TASK_UPDATE_CALIBRATION);
        QTest::newRow("measurement") << int(JOB_TASK_MEASURE);
        QTest::newRow("reset settings") << int(JOB_TASK_RESET_SETTINGS);
    }
    void a_stop_while_busy_leaves_the_procedure()
    {
        QFETCH(int, task);
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_display, [](sim_display &d) { d.engine.config.never_finishes = true; });
        // Stopped at the first poll that finds the engine busy, well before
        // the polls run out.
        const auto run = f.stop_at_held_reply(f.job(m_display, {task}), m_display, [](const sim_display &d) {
            return d.engine.state_value() == sim_engine::kBusy && d.engine.running();
        });
        QCOMPARE(run->error_code(), int(JOB_RESULT_STOPPED));
        QCOMPARE(run->result().result, int(JOB_RESULT_STOPPED));
        QCOMPARE(f.control(m_display, control_code::kEngineProcedure), 0);
        QVERIFY(f.writes(m_display, control_code::kEngineState).contains(2));
        QCOMPARE(f.writes(m_display, control_code::kEngineProcedure).last(), 0);
    }

    // The display keeps the last 13 characters of the sensor's names.
    void a_long_sensor_name_is_cut_to_its_end()
    {
        wall_task_fixture &f = *m_fixture;
        QVERIFY(f.attach_sensor({{QStringLiteral("serial"), QStringLiteral("SN-0123456789ABCDEFG")}}));
        QVERIFY(f.place_sensor(m_display));
        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE}));
        QCOMPARE(run->error_code(), 0);
        const auto names = f.wall().with_display(m_display, [](sim_display &d) {
            return QPair<QByteArray, QByteArray>(d.sensor_name, d.sensor_serial);
        });
        QCOMPARE(names.second, QByteArray("456789ABCDEFG"));
        QCOMPARE(names.first, QByteArray("i1DisplayPro"));
        QVERIFY(f.attach_sensor());
        QVERIFY(f.place_sensor(m_display));
    }

    void no_sensor_no_procedure()
    {
        wall_task_fixture &f = *m_fixture;
        f.controller().controller().getTargetSensor()->SetSensorType(0);
        const auto run = f.run(f.job(m_display, {JOB_TASK_UPDATE_CALIBRATION}));
        QVERIFY(f.attach_sensor());
        QVERIFY(f.place_sensor(m_display));
        QCOMPARE(run->error_code(), -1000);
        QVERIFY(f.writes(m_display, control_code::kEngineProcedure).isEmpty());
    }

    // A test pattern on is switched off for the procedure and on again.
    void the_pattern_comes_back_after_the_procedure_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("finished") << false;
        QTest::newRow("failed") << true;
    }
    void the_pattern_comes_back_after_the_procedure()
    {
        QFETCH(bool, fails);
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_display, [fails](sim_display &d) {
            d.controls.set(control_code::kEnginePatchGenerator, 2, 2);
            d.engine.config.never_finishes = fails;
        });
        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE}));
        QCOMPARE(run->error_code(), fails ? -1038 : 0);
        QCOMPARE(f.writes(m_display, control_code::kEnginePatchGenerator), (QList<int>{1, 2}));
        QCOMPARE(f.control(m_display, control_code::kEnginePatchGenerator), 2);
        f.wall().with_display(m_display, [](sim_display &d) { d.controls.set(control_code::kEnginePatchGenerator, 1, 2); });
    }

    // Before the engine measures, the corners go back to the middle of their
    // spans and uniformity is switched on; the record follows.
    void the_measurement_starts_from_neutral_uniformity()
    {
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_display, [](sim_display &d) {
            d.corners[0].area = 0x2A1C;
            d.corners[0].size = 2;
            d.controls.set(control_code::kUniformityLevel, 0, 3);
        });
        monitor_tracker_item stored(QStringLiteral("VW-5540QE"),
                                    f.wall().with_display(m_display, [](sim_display &d) {
                                        return QString::fromLatin1(d.serial_number);
                                    }));
        stored.visual_trim_flags = CAdjustValue::kTrimCorners | CAdjustValue::kTrimUniformityLevel
                                   | CAdjustValue::kTrimGains;
        f.controller().records().SetAdjustValue(stored);
        f.controller().records().SetModified(false);

        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE}));
        QCOMPARE(run->error_code(), 0);
        const auto corner = f.wall().with_display(m_display, [](sim_display &d) { return d.corners[0]; });
        QCOMPARE(int(corner.area), 0x2020);
        QCOMPARE(int(corner.size), 0);
        QCOMPARE(f.control(m_display, control_code::kUniformityLevel), 1);
        monitor_tracker_item record(stored.model_name, stored.serial_number);
        QVERIFY(f.controller().records().GetAdjustValue(record) >= 0);
        QCOMPARE(int(record.visual_trim_flags), int(CAdjustValue::kTrimUniformityLevel));
        QCOMPARE(record.uniformity_level, qint16(1));
        CornerUniformityEntry entry;
        record.GetChannelEntry(0, entry);
        QCOMPARE(entry.first_offset, 0x20);
        QCOMPARE(entry.second_offset, 0x20);
        QVERIFY(f.controller().records().IsModified());
    }

    // The reset's progress is the engine's, and it ends left and recorded.
    void resets_the_settings()
    {
        wall_task_fixture &f = *m_fixture;
        const auto run = f.run(f.job(m_display, {JOB_TASK_RESET_SETTINGS}));
        QCOMPARE(run->error_code(), 0);
        QVERIFY(run->step_texts().contains(QStringLiteral("Resetting Settings...")));
        QCOMPARE(f.control(m_display, control_code::kEngineProcedure), 0);
        QCOMPARE(f.writes(m_display, control_code::kEngineProcedure), (QList<int>{13, 0}));
        QVERIFY(!f.writes(m_display, control_code::kEngineState).contains(2));
        const auto history = f.wall().with_display(m_display, [](sim_display &d) { return d.history; });
        QCOMPARE(history.size(), 1);
        QCOMPARE(int(history.first().calibration_type), 2);
    }

    void the_measurement_counts_of_a_reading_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<quint32>("counts");
        QTest::newRow("rounded") << 123.4565 << quint32(123457);
        QTest::newRow("zero") << 0.0 << quint32(0);
        QTest::newRow("negative") << -2.0 << quint32(0);
        QTest::newRow("beyond the word") << 5e9 << quint32(0xFFFFFFFF);
        QTest::newRow("not a number") << std::nan("") << quint32(0);
    }
    void the_measurement_counts_of_a_reading()
    {
        QFETCH(double, value);
        QFETCH(quint32, counts);
        const std::array<quint32, 3> sent = engine_measurement_counts(CCIEXYZ(value, 1.0, value));
        QCOMPARE(sent[0], counts);
        QCOMPARE(sent[1], quint32(1000));
        QCOMPARE(sent[2], counts);
    }

private:
    std::unique_ptr<wall_task_fixture> m_fixture;
    int m_display = -1;
};

QTEST_GUILESS_MAIN(tst_engine_procedures)
#include "tst_engine_procedures.moc"
