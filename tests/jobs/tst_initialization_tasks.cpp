#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/display_task_fixture.h"

#include <QtTest>

// Initialising a display and restoring its calibration, run through the job
// pool against a simulated display: the control lists as they reach the
// display (controls, values, order) and the record they leave.

namespace {

const QByteArray kEngineModel = "VW-5540QE";
const QByteArray kPlainModel = "VW-5520L";      // no internal engine

using list = QStringList;

// The design panel's own white and primaries, as the display reads them.
const list kPanelWhite {"1052=295", "1053=308"};
const list kPanelGamut {"1055=640", "1056=330", "1057=295", "1058=615", "1059=150", "105a=55"};

list gamut_writes(const QList<int> &values)
{
    list out;
    for (int i = 0; i < values.size(); ++i)
        out << QStringLiteral("%1=%2").arg(0x1055 + i, 0, 16).arg(values.at(i));
    return out;
}

const list kSixAxisToMiddle {"9b=50", "9c=50", "9d=50", "9e=50", "9f=50", "a0=50"};

// Controls the simulated model holds at values the lists change, so that
// every row that reads first shows on the wire.
void move_engine_controls_away(display_task_fixture &f)
{
    f.display([](sim_display &d) {
        d.controls.set(0x11B0, 0, 1);
        for (int code = 0x9B; code <= 0xA0; ++code)
            d.controls.set(static_cast<quint16>(code), 10, 100);
    });
}

void move_picture_controls_away(display_task_fixture &f)
{
    f.display([](sim_display &d) {
        d.controls.set(0x21A, 1, 4);
        d.controls.set(0x22D, 1, 1);
        d.controls.set(0x10C8, 0, 1);
        d.controls.set(0x1075, 0, 1);
        d.controls.set(0x14, 2, 11);
        d.controls.set(0x10, 40, 100);
        d.controls.set(0x12, 20, 100);
        d.controls.set(0x92, 20, 100);
        d.controls.set(0x10D3, 1, 2);
        d.controls.set(0x268, 9, 14);
        for (quint16 gain : {0x16, 0x18, 0x1A})
            d.controls.set(gain, 100, 255);
    });
}

CTargetValue target(int gamma_type, double gamma = 2.2)
{
    CTargetValue t;
    t.SetWhitePoint(CColorTemperature(CIExy {0.313, 0.329}));
    t.SetIntensityMode(CTargetValue::kIntensitySpecified);
    t.SetSpecifiedLuminance(250.0);
    t.SetGammaType(gamma_type);
    t.SetGamma(gamma);
    return t;
}

} // namespace

class tst_initialization_tasks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer: one starved on a busy machine is waited
        // for, not asked again.
        wait_service::set_io_timeout_floor_ms(2000);
    }

    // --- initialize_display through the engine ---------------------------------

    void initialize_through_the_engine_data()
    {
        QTest::addColumn<int>("gamut");
        QTest::addColumn<int>("uniformity");
        QTest::addColumn<int>("display_uniformity");
        QTest::addColumn<int>("preset");
        QTest::addColumn<list>("gamut_and_uniformity");
        QTest::addColumn<list>("first");

        QTest::newRow("gamut 0 keeps the panel's own primaries")
            << 0 << 11 << 0 << -1 << kPanelGamut + list {"2ee=1"} << list {};
        const QList<QList<int>> table {
            {640, 330, 300, 600, 150, 60}, {640, 330, 210, 710, 150, 60}, {630, 340, 310, 595, 155, 70},
            {680, 320, 265, 690, 150, 60}, {640, 330, 290, 600, 150, 60}, {708, 292, 170, 797, 131, 46},
        };
        for (int gamut = 1; gamut <= 6; ++gamut) {
            QTest::addRow("gamut %d", gamut)
                << gamut << 11 << 0 << -1 << gamut_writes(table.at(gamut - 1)) + list {"2ee=1"} << list {};
        }
        QTest::newRow("gamut 7 keeps the panel's own primaries")
            << 7 << 11 << 0 << -1 << kPanelGamut + list {"2ee=1"} << list {};
        const list sRgb = gamut_writes(table.at(0));
        QTest::newRow("uniformity 12 leaves a display at 3 alone") << 1 << 12 << 3 << -1 << sRgb << list {};
        QTest::newRow("uniformity 12 raises a display at 1 to 2") << 1 << 12 << 1 << -1 << sRgb + list {"2ee=2"}
                                                                  << list {};
        QTest::newRow("uniformity 3 sets a display at 5 to 3") << 1 << 3 << 5 << -1 << sRgb + list {"2ee=3"}
                                                               << list {};
        QTest::newRow("uniformity 3 leaves a display at 3 alone") << 1 << 3 << 3 << -1 << sRgb << list {};
        QTest::newRow("uniformity 0 switches it off") << 1 << 0 << 2 << -1 << sRgb + list {"2ee=0"} << list {};
        QTest::newRow("uniformity 8 writes nothing") << 1 << 8 << 1 << -1 << sRgb << list {};
        QTest::newRow("with the job's OSD preset") << 1 << 8 << 1 << 1 << sRgb << list {"241=1"};
    }
    void initialize_through_the_engine()
    {
        QFETCH(int, gamut);
        QFETCH(int, uniformity);
        QFETCH(int, display_uniformity);
        QFETCH(int, preset);
        QFETCH(list, gamut_and_uniformity);
        QFETCH(list, first);
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.preferences().SetQuillonColorGamut(static_cast<quint8>(gamut));
        f.preferences().SetQuillonUniformity(static_cast<quint8>(uniformity));
        f.preferences().SetQuillonPictureModeNumber(3);
        move_engine_controls_away(f);
        f.display([&](sim_display &d) { d.controls.set(0x2EE, static_cast<quint16>(display_uniformity), 5); });
        job_list_item job = f.job({JOB_TASK_INITIALIZE_DISPLAY});
        job.osd_orientation = preset;
        const int saves = f.display([](sim_display &d) { return d.saves; });

        const job_list_item done = f.run(job);
        QCOMPARE(done.job_parameters.error_code, 0);
        const list expected = list {"1147=2"} + first
                              + list {"11b0=1", "1050=3", "1051=10", "1067=3", "14=2", "105b=1", "1069=1", "66=1",
                                      "105c=1", "1054=0", "268=9", "2e8=170", "2b3=500"}
                              + kSixAxisToMiddle + kPanelWhite + gamut_and_uniformity + list {"1067=1"};
        QCOMPARE(f.writes(), expected);
        QCOMPARE(f.display([](sim_display &d) { return d.saves; }), saves + 1);
    }

    void initialize_reports_its_steps()
    {
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_DISPLAY}).job_parameters.error_code, 0);
        QCOMPARE(f.step_texts(), (list {"Connecting...", "Initializing display", "", "", " ", "Complete", ""}));
        f.preferences().SetUseQuillonEngine(false);
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_DISPLAY}).job_parameters.error_code, 0);
        QCOMPARE(f.step_texts(), (list {"Connecting...", "Initializing display", "", "", " ", "Complete", ""}));
    }

    // A display that is off is switched on and given its time; one that is
    // on is not switched.
    void initialize_switches_the_display_on_first()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.display([](sim_display &d) { d.controls.set(0xD6, 4, 4); });
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_DISPLAY}).job_parameters.error_code, 0);
        QCOMPARE(f.control(0xD6), 1);
        QVERIFY(f.bodies('A').contains("C203D60001"));
        f.run({JOB_TASK_INITIALIZE_DISPLAY});
        QVERIFY(!f.bodies('A').contains("C203D60001"));
    }

    // --- initialize_display for the colour sensor --------------------------------

    void initialize_for_the_sensor_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<bool>("engine_preferred");
        QTest::addColumn<int>("brightness_mode");
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("gamma_type");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("preset");
        QTest::addColumn<list>("expected");

        const list start {"21a=4", "22d=0", "10c8=1", "1075=1", "14=11"};
        const list contrast_on {"12=50", "92=50", "10d3=2"};
        const list gains {"16=255", "18=255", "1a=255"};
        QTest::newRow("lookup tables") << kPlainModel << true << 0 << 0 << 2 << 2.2 << -1
                                       << start + list {"10=100"} + contrast_on;
        QTest::newRow("brightness left alone") << kPlainModel << true << 2 << 0 << 2 << 2.2 << -1
                                               << start + contrast_on;
        QTest::newRow("gains, native curve") << kPlainModel << true << 0 << 1 << 1 << 0.0 << -1
                                             << start + list {"10=100"} + contrast_on + list {"268=1"} + gains;
        QTest::newRow("gains, gamma 2.2") << kPlainModel << true << 0 << 1 << 2 << 2.2 << -1
                                          << start + list {"10=100"} + contrast_on + list {"268=4"} + gains;
        QTest::newRow("gains, gamma 2.4") << kPlainModel << true << 0 << 1 << 2 << 2.4 << -1
                                          << start + list {"10=100"} + contrast_on + list {"268=8"} + gains;
        QTest::newRow("gains, DICOM") << kPlainModel << true << 0 << 1 << 3 << 0.0 << -1
                                      << start + list {"10=100"} + contrast_on + list {"268=4"} + gains;
        QTest::newRow("engine display, engine not preferred")
            << kEngineModel << false << 0 << 0 << 2 << 2.2 << 2 << list {"241=2"} + start + list {"10=100"}
                                                                    + contrast_on;
        QTest::newRow("engine display calibrated in gains")
            << kEngineModel << true << 2 << 1 << 2 << 2.4 << -1 << start + contrast_on + list {"268=8"} + gains;
    }
    void initialize_for_the_sensor()
    {
        QFETCH(QByteArray, model);
        QFETCH(bool, engine_preferred);
        QFETCH(int, brightness_mode);
        QFETCH(int, method);
        QFETCH(int, gamma_type);
        QFETCH(double, gamma);
        QFETCH(int, preset);
        QFETCH(list, expected);
        display_task_fixture f(model);
        QVERIFY(f.ready());
        f.preferences().SetUseQuillonEngine(engine_preferred);
        f.preferences().SetBrightnessControlMode(static_cast<quint8>(brightness_mode));
        f.preferences().SetCalibrationMethod(static_cast<quint8>(method));
        f.set_target(target(gamma_type, gamma));
        move_picture_controls_away(f);
        job_list_item job = f.job({JOB_TASK_INITIALIZE_DISPLAY});
        job.osd_orientation = preset;

        QCOMPARE(f.run(job).job_parameters.error_code, 0);
        QCOMPARE(f.writes(), expected);
        QCOMPARE(f.control(0x1147), model == kEngineModel ? 1 : -1);

        // Every row reads first: a second run finds nothing to change.
        QCOMPARE(f.run(job).job_parameters.error_code, 0);
        QCOMPARE(f.writes(), list {});
    }

    // --- initialize_display_engine -----------------------------------------------

    void set_the_engine_to_the_target_data()
    {
        QTest::addColumn<CTargetValue>("wanted");
        QTest::addColumn<bool>("offset");
        QTest::addColumn<list>("target_settings");   // 0x1054 to 0x2B3 of the first list
        QTest::addColumn<list>("white");
        QTest::addColumn<int>("luminance");          // 0x2B3 written again
        QTest::addColumn<bool>("uploads");

        const list gamma22 {"268=9", "2e8=170"};
        QTest::newRow("gamma 2.2") << target(CTargetValue::kGammaPower, 2.2) << false
                                   << list {"1054=0"} + gamma22 + list {"2b3=250"} << list {"1052=313", "1053=329"}
                                   << 250 << false;
        QTest::newRow("gamma 2.4") << target(CTargetValue::kGammaPower, 2.4) << false
                                   << list {"1054=0", "268=9", "2e8=190", "2b3=250"} << list {"1052=313", "1053=329"}
                                   << 250 << false;
        QTest::newRow("native curve") << target(CTargetValue::kGammaNative) << false
                                      << list {"1054=0"} + gamma22 + list {"2b3=250"}
                                      << list {"1052=313", "1053=329"} << 250 << false;
        QTest::newRow("DICOM") << target(CTargetValue::kGammaDicom) << false << list {"1054=0", "268=5", "2b3=250"}
                               << list {"1052=313", "1053=329"} << 250 << false;
        CTargetValue srgb = target(CTargetValue::kGammaCurve);
        srgb.SetCurveSelection(CTargetValue::kCurveSrgb);
        QTest::newRow("sRGB curve") << srgb << false << list {"1054=0", "268=11", "2b3=250"}
                                    << list {"1052=313", "1053=329"} << 250 << false;
        CTargetValue lstar = target(CTargetValue::kGammaCurve);
        lstar.SetCurveSelection(CTargetValue::kCurveLstar);
        QTest::newRow("L* curve") << lstar << false << list {"1054=0", "268=12", "2b3=250"}
                                  << list {"1052=313", "1053=329"} << 250 << false;
        CTargetValue custom = target(CTargetValue::kGammaCurve);
        custom.SetCurveSelection(CTargetValue::kCurveCustom);
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 256, 0.0, 1.0);
        curve.SetGamma(2.0);
        custom.SetCurve(curve);
        QTest::newRow("custom curve, uploaded") << custom << false << list {"1054=0", "268=6", "2b3=250"}
                                                << list {"1052=313", "1053=329"} << 250 << true;
        QTest::newRow("BT.1886, uploaded") << target(CTargetValue::kGammaBt1886) << false
                                           << list {"1054=0", "268=6", "2b3=250"} << list {"1052=313", "1053=329"}
                                           << 250 << true;
        CTargetValue contrast = target(CTargetValue::kGammaPower, 2.2);
        contrast.SetContrastRatio(1000);
        QTest::newRow("contrast ratio sets the black") << contrast << false
                                                       << list {"1054=3"} + gamma22 + list {"2b3=250"}
                                                       << list {"1052=313", "1053=329"} << 250 << false;
        CTargetValue most = contrast;
        most.SetIntensityMode(CTargetValue::kIntensityMaximumPossible);
        QTest::newRow("most possible: full luminance, no black")
            << most << false << list {"1054=0"} + gamma22 + list {"2b3=500"} << list {"1052=313", "1053=329"} << 500
            << false;
        QTest::newRow("target offset scales a specified intensity")
            << target(CTargetValue::kGammaPower, 2.2) << true << list {"1054=0"} + gamma22 + list {"2b3=200"}
            << list {"1052=323", "1053=324"} << 200 << false;
        CTargetValue matching = target(CTargetValue::kGammaPower, 2.2);
        matching.SetIntensityMode(CTargetValue::kIntensityMaximumMatching);
        matching.SetMaxMatchingLuminance(300.0);
        QTest::newRow("target offset leaves a matching intensity")
            << matching << true << list {"1054=0"} + gamma22 + list {"2b3=500"} << list {"1052=323", "1053=324"}
            << 500 << false;
        CTargetValue native_white = target(CTargetValue::kGammaPower, 2.2);
        native_white.SetWhitePoint(CColorTemperature(quint16(0)));
        QTest::newRow("native white is the panel's own") << native_white << false
                                                         << list {"1054=0"} + gamma22 + list {"2b3=250"} << kPanelWhite
                                                         << 250 << false;
    }
    void set_the_engine_to_the_target()
    {
        QFETCH(CTargetValue, wanted);
        QFETCH(bool, offset);
        QFETCH(list, target_settings);
        QFETCH(list, white);
        QFETCH(int, luminance);
        QFETCH(bool, uploads);
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.set_target(wanted);
        if (offset) {
            CAdjustValue record;
            record.SetTargetOffsetEnabled(true);
            record.target_offset_dx = 10;
            record.target_offset_dy = -5;
            record.target_intensity_offset = 0.8;
            f.store_record(record);
        }
        move_engine_controls_away(f);

        const job_list_item done = f.run({JOB_TASK_INITIALIZE_DISPLAY_ENGINE});
        QCOMPARE(done.job_parameters.error_code, 0);
        list expected = list {"1147=2", "11b0=1", "1050=1", "1051=8", "1067=3", "14=11", "105b=1", "1069=1", "66=1",
                              "105c=1"}
                        + target_settings + kSixAxisToMiddle + white
                        + gamut_writes({640, 330, 300, 600, 150, 60})
                        + list {"2ee=1", "1067=1", QStringLiteral("2b3=%1").arg(luminance)};
        if (uploads)
            expected << "2f9=1";
        QCOMPARE(f.writes(), expected);
        QCOMPARE(f.display([](sim_display &d) { return d.lut_active && d.active_lut_entries == 256; }), uploads);

        // The record holds the engine's calibration.
        const monitor_tracker_item record = f.stored_record();
        QCOMPARE(record.sensor_name, QStringLiteral("KQE"));
        QVERIFY(record.sensor_serial_number.isEmpty());
        QCOMPARE(record.engine_calibrated_word, qint16(1));
        QCOMPARE(record.engine_no_sensor_flag, qint8(1));
        QVERIFY(record.calibrated);
        QVERIFY(record.GetCalibrationDateTime().isValid());
        QCOMPARE(record.software_build, 210208);
        QCOMPARE(record.calibration_mode, qint16(CAdjustValue::kModeLookupTable));
        QCOMPARE(record.video_input, qint16(17));        // the model's first input
        QCOMPARE(record.backlight_setting, quint16(luminance));
        QCOMPARE(record.backlight_minimum, qint16(20));  // the model's lower limit
        QCOMPARE(QStringLiteral("1052=%1").arg(record.engine_white_x), white.at(0));
        QCOMPARE(QStringLiteral("1053=%1").arg(record.engine_white_y), white.at(1));
        QVERIFY(record.native_gamut_valid);
        QCOMPARE(record.native_gamut[0], qint16(640));
        // The white the engine holds, at the target's (or panel's) white:
        // luminance exact, chromaticity within the thousandths written.
        const CCIEYxy held = record.measurements.corrected.white.ToYxy();
        if (luminance < 450)
            QCOMPARE(held.Y, double(luminance));
        else
            QVERIFY(held.Y > 0.0 && held.Y <= luminance);   // the panel's most
        QVERIFY(qAbs(held.x - white.at(0).section('=', 1).toInt() / 1000.0) < 0.0015);
        QVERIFY(qAbs(held.y - white.at(1).section('=', 1).toInt() / 1000.0) < 0.0015);
        QCOMPARE(f.step_texts(), (list {"Connecting...", "Identifying display", "Initializing display", "", "", "",
                                        " ", "Complete", ""}));
    }

    // A stop while a display in standby is given its time to come on ends
    // the task there: nothing of its lists reaches the display.
    void a_stop_while_the_display_comes_on_data()
    {
        QTest::addColumn<int>("task");
        QTest::newRow("initialise") << int(JOB_TASK_INITIALIZE_DISPLAY);
        QTest::newRow("engine set-up") << int(JOB_TASK_INITIALIZE_DISPLAY_ENGINE);
        QTest::newRow("restore") << int(JOB_TASK_RESTORE_CALIBRATION_SETTINGS);
        QTest::newRow("test table") << int(JOB_TASK_INITIALIZE_AND_UPDATE_LUTS);
    }
    void a_stop_while_the_display_comes_on()
    {
        QFETCH(int, task);
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.display([](sim_display &d) { d.controls.set(0xD6, 4, 4); });
        // Ten seconds of waiting become one: time enough for the stop to
        // arrive on a busy machine, each second of it 100 ms.
        const double scale = wait_service::time_scale();
        wait_service::set_time_scale(0.1);
        const job_list_item job = f.job({task});
        QObject::connect(&f.pool, &QueryThreadPool::update_calibration_job_status_info, &f.pool,
                         [&f, &job](int, calibration_job_status_info_item) { f.pool.stop_job_by_id(job.job_id); });
        const job_list_item done = f.run(job);
        wait_service::set_time_scale(scale);
        QCOMPARE(done.effective_result(), int(JOB_RESULT_STOPPED));
        QCOMPARE(f.writes(), list {});
        QCOMPARE(f.control(0xD6), 1);
    }

    void engine_set_up_needs_an_engine()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_DISPLAY_ENGINE}).job_parameters.error_code, -1022);
        QVERIFY(f.writes().isEmpty());
        QVERIFY(!f.has_record() || !f.stored_record().calibrated);
    }

    // Without the held luminance (0x2B4) the engine's luminance is not
    // written again, and the record has no held white.
    void no_held_luminance_no_second_luminance_write()
    {
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaPower, 2.2));
        f.display([](sim_display &d) { d.controls.set_unsupported(0x2B4); });
        const job_list_item done = f.run({JOB_TASK_INITIALIZE_DISPLAY_ENGINE});
        QCOMPARE(done.job_parameters.error_code, 0);
        const list writes = f.writes();
        QCOMPARE(writes.filter(QStringLiteral("2b3=")).size(), 1);
        QCOMPARE(writes.last(), QStringLiteral("1067=1"));
        const monitor_tracker_item record = f.stored_record();
        QVERIFY(record.calibrated);
        QCOMPARE(record.backlight_setting, quint16(250));
        QCOMPARE(record.measurements.corrected.white.Y, 0.0);
    }

    // A list the display refuses ends the task; the record is not marked
    // calibrated.
    void a_refused_write_ends_the_engine_set_up()
    {
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaPower, 2.2));
        f.wall.refuse_writes(f.handle, 0x1052);
        const job_list_item done = f.run({JOB_TASK_INITIALIZE_DISPLAY_ENGINE});
        QVERIFY(done.job_parameters.error_code < 0);
        QVERIFY(!f.writes().contains("1067=1"));
        QVERIFY(!f.stored_record().calibrated);
    }
};

QTEST_GUILESS_MAIN(tst_initialization_tasks)
#include "tst_initialization_tasks.moc"
