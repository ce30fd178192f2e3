#include "app/controller/MasterControl.h"
#include "app/services/preferences.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/job_task_type.h"
#include "jobs/listed_engine_models.h"
#include "jobs/task_result_codes.h"
#include "sensors/CTargetSensor.h"
#include "simulator/sim_panel.h"
#include "tests/jobs/wall_task_fixture.h"

#include <QtTest>

namespace {

constexpr qint64 kAnsweringDisplayFloorMs = 30000;

// What the capability check found, as a row of the test table.
// How a measurement of primaries ends.
enum measurement_outcome { kMeasured, kStopped, kRejected };

enum display_setup { kPlain, kListed, kNoPatterns, kNoPatternsOff, kOldFirmware, kIdentityUnreadable };

QString dashed(const QByteArray &hex)
{
    QString text;
    for (int i = 0; i < hex.size(); i += 2) {
        if (i > 0)
            text += QLatin1Char('-');
        text += QString::fromLatin1(hex.mid(i, 2));
    }
    return text;
}

monitor_tracker_item stored_record(CMonitorTracker &store, const job_list_item &job, bool *found = nullptr)
{
    monitor_tracker_item item(job.job_parameters.model_name, job.job_parameters.serial_number);
    const int index = store.GetAdjustValue(item);
    if (found)
        *found = index >= 0;
    return item;
}

// The light of one full patch of |panel| (no channel, one, or all three)
// at full backlight: the sum the simulated panel emits.
CCIEXYZ patch_light(const sim_panel &panel, bool red, bool green, bool blue)
{
    const sim_xyz black = panel.black_xyz();
    const std::array<sim_xyz, 3> primaries = panel.primaries_xyz();
    CCIEXYZ light(black[0], black[1], black[2]);
    const bool on[] = {red, green, blue};
    for (size_t c = 0; c < 3; ++c) {
        if (!on[c])
            continue;
        light.X += primaries[c][0];
        light.Y += primaries[c][1];
        light.Z += primaries[c][2];
    }
    return light;
}

bool near(const CCIEXYZ &a, const CCIEXYZ &b)
{
    // The instrument adds no noise here; what is left is rounding.
    const auto close = [](double x, double y) { return std::abs(x - y) <= 1e-6 * std::max(1.0, std::abs(y)); };
    return close(a.X, b.X) && close(a.Y, b.Y) && close(a.Z, b.Z);
}

QString text_of(const CCIEXYZ &v)
{
    return QStringLiteral("(%1, %2, %3)").arg(v.X).arg(v.Y).arg(v.Z);
}

} // namespace

class tst_capability_and_primaries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer; a reply held for a test is waited for.
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        m_fixture = std::make_unique<wall_task_fixture>();
        QVERIFY2(m_fixture->ready(), qPrintable(m_fixture->error()));
        m_display = m_fixture->add_display("VW-5530Q");
        m_engine_display = m_fixture->add_display("VW-5540QE");
        m_older = m_fixture->add_display("VW-4610C");
        m_elsewhere = m_fixture->add_display("VW-5530Q");
        m_dark = m_fixture->add_display("VW-5530Q");
        QVERIFY2(m_dark >= 0, qPrintable(m_fixture->error()));
        m_fixture->wall().with_display(m_dark, [](sim_display &d) {
            d.controls.set(control_code::kPowerMode, 4, 4);
            d.publish_video();
        });
        QVERIFY(m_fixture->attach_sensor());
    }
    void cleanupTestCase() { m_fixture.reset(); }
    void init()
    {
        m_fixture->wall().clear_log();
        m_fixture->controller().records().Clear();
        CPreferences &preferences = *m_fixture->controller().controller().getPreferences();
        preferences.SetUseQuillonEngine(false);
        preferences.SetCalibrationMethod(0);
        preferences.SetBrightnessControlMode(0);
    }

    void capability_check_verdicts_data()
    {
        QTest::addColumn<int>("setup");
        QTest::addColumn<bool>("engine");
        QTest::addColumn<int>("verify_status");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("firmware_word");
        QTest::newRow("usable display") << int(kPlain) << false << 1 << 0 << 1;
        QTest::newRow("usable engine display") << int(kPlain) << true << 1 << 0 << 1;
        QTest::newRow("listed engine model") << int(kListed) << true << 3 << 0 << 0;
        QTest::newRow("no pattern control, switched on") << int(kNoPatterns) << false << 3 << 0 << 0;
        QTest::newRow("no pattern control, switched off") << int(kNoPatternsOff) << false << 5 << -1028 << 0;
        QTest::newRow("firmware older than the minimum") << int(kOldFirmware) << false << 4 << 0 << 2;
        QTest::newRow("identity texts unreadable") << int(kIdentityUnreadable) << false << 2 << -5008 << 0;
    }
    // Every verdict stores the record, with what the check could read.
    void capability_check_verdicts()
    {
        QFETCH(int, setup);
        QFETCH(bool, engine);
        QFETCH(int, verify_status);
        QFETCH(int, result);
        QFETCH(int, firmware_word);
        wall_task_fixture &f = *m_fixture;
        const int display = f.add_display(engine ? "VW-5540QE" : "VW-5530Q");
        QVERIFY2(display >= 0, qPrintable(f.error()));
        f.wall().with_display(display, [setup](sim_display &d) {
            if (setup == kNoPatterns || setup == kNoPatternsOff)
                d.controls.set_unsupported(control_code::kPatchGenerator);
            if (setup == kNoPatternsOff)
                d.controls.set(control_code::kPowerMode, 4, 4);
            if (setup == kOldFirmware)
                d.identity_texts[0] = "1.1.9.9";    // the model needs 1.2.0.0
            if (setup == kIdentityUnreadable)
                d.scripted_replies.insert("CA0200", "CB020100");
        });
        listed_engine_model_table listed;
        listed.prefixes = QStringList{QStringLiteral("vw-554")};
        const listed_engine_model_table program_rules =
            setup == kListed ? replace_listed_engine_models(listed) : listed_engine_models();
        const auto run = f.run(f.job(display, {JOB_TASK_CHECK_CAPABILITIES}));
        replace_listed_engine_models(program_rules);

        QVERIFY(run->finished());
        QCOMPARE(run->result().job_parameters.verify_status, verify_status);
        QCOMPARE(run->error_code(), result);
        QVERIFY(run->step_texts().contains(QStringLiteral("Checking capabilities...")));
        bool found = false;
        const monitor_tracker_item record = stored_record(f.controller().records(), run->result(), &found);
        QVERIFY2(found, "the record is stored on every path");
        QCOMPARE(record.engine_capability_word, qint16(engine ? 1 : 0));
        QCOMPARE(record.capability_word, qint16(firmware_word));
        const bool read_on = setup == kPlain || setup == kOldFirmware || setup == kIdentityUnreadable;
        QCOMPARE(record.capability_flags, qint16(read_on || setup == kNoPatterns || setup == kNoPatternsOff ? 1 : 0));
        const QByteArray mac = f.wall().with_display(display, [](sim_display &d) { return d.mac_address; });
        QCOMPARE(record.GetMacAddress(), read_on ? dashed(mac) : QString());
        if (setup == kPlain) {
            QCOMPARE(record.firmware_version, QString::fromLatin1(
                f.wall().with_display(display, [](sim_display &d) { return d.identity_texts[0]; })));
            CornerUniformityEntry corner;
            record.GetChannelEntry(2, corner);
            QCOMPARE(corner.first_span, 0x40);
            QCOMPARE(corner.first_offset, 0x20);
            QCOMPARE(record.visual_trim_flags & CAdjustValue::kTrimCorners, 0);
        }
        if (setup == kListed) {
            for (const QByteArray &frame : f.frames(display))
                QVERIFY2(frame != "C02EE" && frame != "C02C3", frame.constData());
        }
    }

    // A corner whose offsets are not the middle of its spans was trimmed.
    void a_trimmed_corner_marks_the_record()
    {
        wall_task_fixture &f = *m_fixture;
        f.wall().with_display(m_display, [](sim_display &d) { d.corners[1].area = 0x2421; });
        const auto run = f.run(f.job(m_display, {JOB_TASK_CHECK_CAPABILITIES}));
        f.wall().with_display(m_display, [](sim_display &d) { d.corners[1].area = 0x2020; });
        QCOMPARE(run->error_code(), 0);
        const monitor_tracker_item record = stored_record(f.controller().records(), run->result());
        QCOMPARE(record.visual_trim_flags & CAdjustValue::kTrimCorners, int(CAdjustValue::kTrimCorners));
        CornerUniformityEntry corner;
        record.GetChannelEntry(1, corner);
        QCOMPARE(corner.first_offset, 0x24);
        QCOMPARE(corner.second_offset, 0x21);
    }

    void the_mac_address_falls_back_to_the_lan_text_data()
    {
        QTest::addColumn<QByteArray>("lan_reply_selector");
        QTest::addColumn<bool>("kept");
        QTest::newRow("LAN text") << QByteArray() << true;
        QTest::newRow("LAN text of selector 255") << QByteArray("FF") << false;
    }
    // The older displays refuse the MAC address command.
    void the_mac_address_falls_back_to_the_lan_text()
    {
        QFETCH(QByteArray, lan_reply_selector);
        QFETCH(bool, kept);
        wall_task_fixture &f = *m_fixture;
        const QByteArray mac = f.wall().with_display(m_older, [&](sim_display &d) {
            d.scripted_replies.remove("C22A02");
            if (!lan_reply_selector.isEmpty())
                d.scripted_replies.insert("C22A02", "C32A020100" + lan_reply_selector + d.mac_address);
            return d.mac_address;
        });
        const auto run = f.run(f.job(m_older, {JOB_TASK_CHECK_CAPABILITIES}));
        f.wall().with_display(m_older, [](sim_display &d) { d.scripted_replies.remove("C22A02"); });
        QCOMPARE(run->error_code(), 0);
        QCOMPARE(run->result().job_parameters.verify_status, 1);
        const monitor_tracker_item record = stored_record(f.controller().records(), run->result());
        QCOMPARE(record.GetMacAddress(), kept ? dashed(mac) : QString());
        QVERIFY(f.frames(m_older).contains("AC22000"));
        QVERIFY(f.frames(m_older).contains("AC22A02"));
    }

    // The identity texts are read once, unless the full check asks again.
    void the_extended_reads_run_when_needed()
    {
        wall_task_fixture &f = *m_fixture;
        const auto identity_reads = [&f, this] {
            int reads = 0;
            for (const QByteArray &frame : f.frames(m_display))
                reads += frame.startsWith("ACA02") ? 1 : 0;
            return reads;
        };
        QCOMPARE(f.run(f.job(m_display, {JOB_TASK_CHECK_CAPABILITIES}))->error_code(), 0);
        QVERIFY(identity_reads() > 0);
        f.wall().clear_log();
        const auto quick = f.run(f.job(m_display, {JOB_TASK_CHECK_CAPABILITIES}));
        QCOMPARE(quick->error_code(), 0);
        QCOMPARE(identity_reads(), 0);
        // The check's own sub-steps follow its step (identification has its own).
        const auto check_steps = [](const job_recording &r) {
            QList<job_event> steps;
            bool checking = false;
            for (const job_event &event : r.events()) {
                if (event.kind == job_event::kStep)
                    checking = event.text == QLatin1String("Checking capabilities...");
                else if (checking && event.kind == job_event::kSubStep)
                    steps << event;
            }
            return steps;
        };
        QCOMPARE(check_steps(*quick).first().total, 1);
        const auto full = f.run(f.job(m_display, {JOB_TASK_CHECK_CAPABILITIES_FULL}));
        QCOMPARE(full->error_code(), 0);
        QVERIFY(identity_reads() > 0);
        QCOMPARE(check_steps(*full).last().step, 2);
        QCOMPARE(check_steps(*full).last().total, 2);
    }

    // Five readings of the display's own light go into the record's native
    // measurements; the display is left as it was found.
    void measures_the_primaries()
    {
        wall_task_fixture &f = *m_fixture;
        QVERIFY(f.place_sensor(m_display));
        f.wall().with_display(m_display, [](sim_display &d) {
            d.controls.set(control_code::kBrightness, 60, 100);
            d.controls.set(control_code::kPatchGenerator, 1, 2);
        });
        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE_PRIMARIES}));
        QCOMPARE(run->error_code(), 0);
        const monitor_tracker_item record = stored_record(f.controller().records(), run->result());
        const sim_panel panel = f.wall().panel(m_display);
        const CColorValue::Patches &native = record.measurements.native;
        QVERIFY2(near(native.white, patch_light(panel, true, true, true)), qPrintable(text_of(native.white)));
        QVERIFY2(near(native.red, patch_light(panel, true, false, false)), qPrintable(text_of(native.red)));
        QVERIFY2(near(native.green, patch_light(panel, false, true, false)), qPrintable(text_of(native.green)));
        QVERIFY2(near(native.blue, patch_light(panel, false, false, true)), qPrintable(text_of(native.blue)));
        QVERIFY2(near(native.black, patch_light(panel, false, false, false)), qPrintable(text_of(native.black)));
        QVERIFY(record.measurements.measurement_date_time.isValid());
        QVERIFY(record.operating_hours_measured > 0.0);

        QCOMPARE(f.control(m_display, control_code::kBrightness), 60);
        QCOMPARE(f.control(m_display, control_code::kPatchGenerator), 1);
        QStringList measured;
        for (const job_event &step : run->sub_steps())
            if (step.total == 13)
                measured << step.text;
        QCOMPARE(measured, (QStringList{"", "White", "Red", "Green", "Blue", "Black", ""}));
        QCOMPARE(run->status(CAL_STATUS_MISC).size(), 1);
        QCOMPARE(run->status(CAL_STATUS_MISC).first().value, 1);
        QStringList tasks;
        for (const calibration_job_status_info_item &item : run->status(CAL_STATUS_TASK))
            tasks << QString::number(item.value);
        QCOMPARE(tasks.mid(tasks.size() - 7), (QStringList{"8", "8", "24", "20", "21", "22", "23"}));
    }

    void a_rejected_patch_leaves_the_display_as_found_data()
    {
        QTest::addColumn<int>("rejected");     // index of the patch seen elsewhere
        QTest::addColumn<int>("result");
        QTest::newRow("white") << 0 << -1041;
        QTest::newRow("red") << 1 << -1004;
        QTest::newRow("green") << 2 << -1004;
        QTest::newRow("blue") << 3 << -1004;
        QTest::newRow("black") << 4 << -1041;
    }
    void a_rejected_patch_leaves_the_display_as_found()
    {
        QFETCH(int, rejected);
        QFETCH(int, result);
        wall_task_fixture &f = *m_fixture;
        // Four readings for the placement check, then the patches; the
        // rejected one is read where it cannot pass (white, red and green
        // where no display shines, blue and black on one showing its white
        // input).
        QList<int> placements{m_display, m_display, m_display, m_display};
        for (int i = 0; i < rejected; ++i)
            placements << m_display;
        placements << (rejected >= 3 ? m_elsewhere : wall_task_fixture::kNowhere);
        QVERIFY(f.place_sensor(m_display, placements));
        f.wall().with_display(m_display, [](sim_display &d) {
            d.controls.set(control_code::kBrightness, 55, 100);
            d.controls.set(control_code::kPatchGenerator, 1, 2);
        });
        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE_PRIMARIES}));
        QCOMPARE(run->error_code(), result);
        QCOMPARE(f.control(m_display, control_code::kBrightness), 55);
        QCOMPARE(f.control(m_display, control_code::kPatchGenerator), 1);
        bool found = false;
        const monitor_tracker_item record = stored_record(f.controller().records(), run->result(), &found);
        QVERIFY(!record.measurements.measurement_date_time.isValid());
        QVERIFY(run->status(CAL_STATUS_MISC).isEmpty());
    }

    // With the engine the luminance target goes to its maximum and the
    // colour preset to 2, and both come back, also after a stop.
    void the_engine_settings_come_back_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("result");
        QTest::newRow("measured") << int(kMeasured) << 0;
        QTest::newRow("stopped while measuring") << int(kStopped) << int(JOB_RESULT_STOPPED);
        QTest::newRow("white patch rejected") << int(kRejected) << -1041;
    }
    void the_engine_settings_come_back()
    {
        QFETCH(int, outcome);
        QFETCH(int, result);
        wall_task_fixture &f = *m_fixture;
        CPreferences &preferences = *f.controller().controller().getPreferences();
        preferences.SetUseQuillonEngine(true);
        // Four readings for the placement check, then the white patch.
        const QList<int> placements{m_engine_display, m_engine_display, m_engine_display, m_engine_display,
                                    wall_task_fixture::kNowhere};
        QVERIFY(f.place_sensor(m_engine_display, outcome == kRejected ? placements : QList<int>()));
        f.wall().with_display(m_engine_display, [](sim_display &d) {
            d.controls.set(control_code::kEngineLuminance, 200, 500);
            d.controls.set(control_code::kColorPreset, 5, 11);
            d.controls.set(control_code::kEngineSwitch, 1, 2);
        });
        const job_list_item job = f.job(m_engine_display, {JOB_TASK_MEASURE_PRIMARIES});
        // The stop comes while the job waits for the display to take the
        // blue patch, a step of the measurement alone.
        const auto blue = [](const sim_display &d) {
            const std::array<double, 3> &level = d.video.patch_level;
            return d.video.patch_on && level[0] == 0.0 && level[1] == 0.0 && level[2] > 0.0;
        };
        const auto run = outcome == kStopped ? f.stop_at_held_reply(job, m_engine_display, blue) : f.run(job);
        QCOMPARE(run->error_code(), result);
        QCOMPARE(f.control(m_engine_display, control_code::kEngineLuminance), 200);
        QCOMPARE(f.control(m_engine_display, control_code::kColorPreset), 5);
        QCOMPARE(f.control(m_engine_display, control_code::kEnginePatchGenerator), 1);
        QCOMPARE(f.control(m_engine_display, control_code::kPatchGenerator), 1);
        QCOMPARE(f.control(m_engine_display, control_code::kEngineSwitch), 2);
        QCOMPARE(f.writes(m_engine_display, control_code::kEngineLuminance), (QList<int>{500, 200}));
        QCOMPARE(f.writes(m_engine_display, control_code::kColorPreset), (QList<int>{2, 5}));
    }

    void no_sensor_no_measurement()
    {
        wall_task_fixture &f = *m_fixture;
        f.controller().controller().getTargetSensor()->SetSensorType(0);
        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE_PRIMARIES}));
        QVERIFY(f.attach_sensor());
        QCOMPARE(run->error_code(), -1000);
        for (const QByteArray &frame : f.frames(m_display))
            QVERIFY2(!frame.startsWith('E'), frame.constData());
    }

    // The placement check through the measurement of primaries: red and
    // green readings by where the sensor sits for each (A this display, B
    // another), the patch control switched off when it fails.
    void the_sensor_must_sit_on_the_display_data()
    {
        QTest::addColumn<QString>("placements");   // one letter per reading: red, green, red, ...
        QTest::addColumn<int>("readings");
        QTest::addColumn<QList<int>>("counts");    // the counter after each reading
        QTest::newRow("on the display from the start") << "AAAA" << 4 << QList<int>{1, 2, 3, 4};
        QTest::newRow("red bad, green good, red good, green good") << "BAAA" << 4 << QList<int>{0, 1, 2, 3};
        QTest::newRow("three good ending on red wait for the green") << "ABAAAA" << 6
                                                                   << QList<int>{1, 0, 1, 2, 3, 4};
        QTest::newRow("moved on after a good start") << "AABAAA" << 6 << QList<int>{1, 2, 0, 1, 2, 3};
    }
    void the_sensor_must_sit_on_the_display()
    {
        QFETCH(QString, placements);
        QFETCH(int, readings);
        QFETCH(QList<int>, counts);
        wall_task_fixture &f = *m_fixture;
        QList<int> handles;
        for (const QChar c : placements)
            handles << (c == QLatin1Char('A') ? m_display : m_elsewhere);
        QVERIFY(f.place_sensor(m_display, handles));
        const auto run = f.run(f.job(m_display, {JOB_TASK_MEASURE_PRIMARIES}));
        QCOMPARE(run->error_code(), 0);
        QList<int> seen;
        QList<int> tasks;
        for (const calibration_job_status_info_item &item : run->status(CAL_STATUS_TASK))
            if (item.value == 13 || item.value == 14)
                tasks << item.value;
        for (const job_event &step : run->sub_steps())
            if (step.total == 4 && seen.size() < readings + 1)
                seen << step.step;
        QCOMPARE(seen.mid(1), counts);
        QCOMPARE(tasks.size(), readings);
        QCOMPARE(tasks.first(), 14);
        QCOMPARE(tasks.last(), 13);
        QCOMPARE(run->step_texts().at(2), QStringLiteral("Detecting color sensor on display # %1").arg(m_display + 1));
    }

    // A sensor that sees the red patch but never the green one (it sits on
    // another display after the first reading) never passes; a stop ends it.
    void a_sensor_elsewhere_never_passes_data()
    {
        QTest::addColumn<QString>("placements");
        QTest::newRow("on another display") << "";
        QTest::newRow("sees the red patch only") << "ABABABAB";
    }
    void a_sensor_elsewhere_never_passes()
    {
        QFETCH(QString, placements);
        wall_task_fixture &f = *m_fixture;
        QList<int> handles;
        for (const QChar c : placements)
            handles << (c == QLatin1Char('A') ? m_display : m_elsewhere);
        QVERIFY(f.place_sensor(m_elsewhere, handles));
        f.wall().with_display(m_display, [](sim_display &d) { d.controls.set(control_code::kBrightness, 70, 100); });
        const auto run = f.run_and_stop(f.job(m_display, {JOB_TASK_MEASURE_PRIMARIES}),
                                         [](const job_recording &r) { return r.sub_steps().size() >= 12; });
        QCOMPARE(run->error_code(), int(JOB_RESULT_STOPPED));
        for (const job_event &step : run->sub_steps())
            QVERIFY2(step.total != 4 || step.step <= 1, qPrintable(QString::number(step.step)));
        QCOMPARE(f.control(m_display, control_code::kPatchGenerator), 1);
        QCOMPARE(f.control(m_display, control_code::kBrightness), 70);
    }

    void a_display_in_standby_is_not_measured()
    {
        wall_task_fixture &f = *m_fixture;
        QVERIFY(f.place_sensor(m_dark));
        const auto run = f.run(f.job(m_dark, {JOB_TASK_MEASURE_PRIMARIES}));
        QCOMPARE(run->error_code(), -1036);
        for (const QByteArray &frame : f.frames(m_dark))
            QVERIFY2(!frame.startsWith('E'), frame.constData());
    }

private:
    std::unique_ptr<wall_task_fixture> m_fixture;
    int m_display = -1;
    int m_engine_display = -1;
    int m_older = -1;
    int m_elsewhere = -1;
    int m_dark = -1;
};

QTEST_GUILESS_MAIN(tst_capability_and_primaries)
#include "tst_capability_and_primaries.moc"
