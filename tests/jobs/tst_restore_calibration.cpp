#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/display_task_fixture.h"

#include <QtTest>

// Restoring a display's stored calibration, run through the job pool
// against a simulated display: the lists on the wire and what they leave.

namespace {

const QByteArray kEngineModel = "VW-5540QE";
const QByteArray kPlainModel = "VW-5520L";

using list = QStringList;

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

CAdjustValue calibrated_record()
{
    CAdjustValue record;
    record.SetCalibrationDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    record.SetCalibrated(true);
    return record;
}

// A record the engine calibrated: white 300/310, luminance 220, black 3,
// uniformity 2, its own primaries, corners 0 and 1 read.
CAdjustValue engine_record()
{
    CAdjustValue record = calibrated_record();
    record.SetCalibrationFlagA(true);
    record.engine_white_x = 300;
    record.engine_white_y = 310;
    record.backlight_setting = 220;
    record.black_level_value = 3;
    record.uniformity_level = 2;
    record.native_gamut = {645, 331, 296, 612, 151, 56};
    record.native_gamut_valid = 1;
    CornerUniformityEntry corner;
    corner.first_offset = 0x20;
    corner.second_offset = 0x22;
    corner.first_span = 0x40;
    corner.second_span = 0x40;
    corner.size_level = 1;
    record.SetChannelEntry(0, corner);
    corner.first_offset = 0x1E;
    corner.size_level = 2;
    record.SetChannelEntry(1, corner);
    return record;
}

// A record calibrated with the sensor, in gains or a lookup table.
CAdjustValue sensor_record(qint16 mode)
{
    CAdjustValue record = calibrated_record();
    record.SetCalibrationMode(mode);
    record.backlight_setting = 70;
    record.gain = {0.8, 0.9, 1.0};
    return record;
}

} // namespace

class tst_restore_calibration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The displays always answer: one starved on a busy machine is waited
        // for, not asked again.
        wait_service::set_io_timeout_floor_ms(2000);
    }

    void engine_calibration_back_into_the_engine_data()
    {
        QTest::addColumn<int>("gamut");
        QTest::addColumn<bool>("native_white");
        QTest::addColumn<int>("trims");
        QTest::addColumn<int>("preset");
        QTest::addColumn<list>("gamut_rows");
        QTest::addColumn<list>("white_rows");
        QTest::addColumn<list>("kept_rows");
        QTest::addColumn<list>("last");

        const list own {"1055=645", "1056=331", "1057=296", "1058=612", "1059=151", "105a=56"};
        const list adobe {"1055=640", "1056=330", "1057=210", "1058=710", "1059=150", "105a=60"};
        const list white {"1052=300", "1053=310", "14=11"};
        const list kept {"2b3=220", "1054=3"};
        QTest::newRow("own primaries") << 0 << false << 0 << -1 << own << white << kept << list {"2ee=2"};
        QTest::newRow("preferred gamut") << 2 << false << 0 << -1 << adobe << white << kept << list {"2ee=2"};
        QTest::newRow("native white keeps the panel's") << 0 << true << 0 << -1 << own << list {"14=2"} << kept
                                                        << list {"2ee=2"};
        QTest::newRow("trimmed luminance, white and uniformity")
            << 0 << false << int(CAdjustValue::kTrimBacklight | CAdjustValue::kTrimEngineWhiteX
                                 | CAdjustValue::kTrimEngineWhiteY | CAdjustValue::kTrimUniformityLevel)
            << -1 << own << list {"1052=305", "1053=307", "14=11"} << list {"2b3=200", "1054=3"} << list {"2ee=3"};
        QTest::newRow("trimmed x only") << 0 << false << int(CAdjustValue::kTrimEngineWhiteX) << -1 << own
                                        << list {"1052=305", "1053=310", "14=11"} << kept << list {"2ee=2"};
        QTest::newRow("with the job's OSD preset") << 0 << false << 0 << 3 << own << white << kept
                                                   << list {"2ee=2"};
    }
    void engine_calibration_back_into_the_engine()
    {
        QFETCH(int, gamut);
        QFETCH(bool, native_white);
        QFETCH(int, trims);
        QFETCH(int, preset);
        QFETCH(list, gamut_rows);
        QFETCH(list, white_rows);
        QFETCH(list, kept_rows);
        QFETCH(list, last);
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.preferences().SetQuillonColorGamut(static_cast<quint8>(gamut));
        CTargetValue wanted = target(CTargetValue::kGammaPower, 2.4);
        if (native_white)
            wanted.SetWhitePoint(CColorTemperature(quint16(0)));
        f.set_target(wanted);
        CAdjustValue record = engine_record();
        record.visual_trim_flags = static_cast<qint16>(trims);
        record.backlight_visual_trim = 200;
        record.engine_white_x_visual_trim = 305;
        record.engine_white_y_visual_trim = 307;
        record.uniformity_level_visual_trim = 3;
        f.store_record(record);
        f.display([](sim_display &d) { d.controls.set(0x11B0, 0, 1); });
        job_list_item job = f.job({JOB_TASK_RESTORE_CALIBRATION_SETTINGS});
        job.osd_orientation = preset;
        const int saves = f.display([](sim_display &d) { return d.saves; });

        QCOMPARE(f.run(job).job_parameters.error_code, 0);
        list expected = list {"1147=2", "11b0=1", "1050=1", "1051=8", "1067=3", "14=9", "106b=3", "1069=1", "66=1",
                              "105c=1", "233=1", "105d=31", "254=0", "1062=1"}
                        + gamut_rows + white_rows + kept_rows
                        + list {"11c7=0", "11c9=8226", "11c8=1", "11c7=1", "11c9=7714", "11c8=2"} + last
                        + list {"268=9", "2e8=190"};
        if (preset >= 0)
            expected << QStringLiteral("241=%1").arg(preset);
        expected << "1067=1";
        QCOMPARE(f.writes(), expected);
        QCOMPARE(f.display([](sim_display &d) { return d.saves; }), saves + 1);
        QCOMPARE(f.step_texts(), (list {"Connecting...", "Identifying display", "Restoring calibration settings", "",
                                        "Complete", ""}));
    }

    // An engine record whose target asks for a curve gets it as the
    // engine's table.
    void engine_calibration_with_a_curve_uploads_it()
    {
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaBt1886));
        f.store_record(engine_record());
        QCOMPARE(f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS}).job_parameters.error_code, 0);
        QVERIFY(f.writes().contains("268=6"));
        QVERIFY(f.display([](sim_display &d) { return d.lut_active && d.active_lut_entries == 256; }));
    }

    void sensor_calibration_back_into_the_display_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("trims");
        QTest::addColumn<list>("expected");

        const list settings {"21a=4", "14=11", "10=70", "12=50", "92=50"};
        QTest::newRow("gains") << kPlainModel << int(CAdjustValue::kModeGains) << 0
                               << settings + list {"268=4", "16=204", "18=230", "1a=255", "2c3=1"};
        QTest::newRow("gains with the visual trim")
            << kPlainModel << int(CAdjustValue::kModeGains)
            << int(CAdjustValue::kTrimGains | CAdjustValue::kTrimBacklight)
            << list {"21a=4", "14=11", "10=60", "12=50", "92=50", "268=4", "16=224", "18=207", "1a=255", "2c3=1"};
        QTest::newRow("gains on a display with an engine")
            << kEngineModel << int(CAdjustValue::kModeGains) << 0
            << list{"1147=1"} + settings + list{"268=4", "16=204", "18=230", "1a=255", "2c3=1"};
    }
    void sensor_calibration_back_into_the_display()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, mode);
        QFETCH(int, trims);
        QFETCH(list, expected);
        display_task_fixture f(model);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaPower, 2.2));
        CAdjustValue record = sensor_record(static_cast<qint16>(mode));
        record.visual_trim_flags = static_cast<qint16>(trims);
        record.visual_trim_multiplier = {1.1, 0.9, 1.0};
        record.backlight_visual_trim = 60;
        f.store_record(record);
        f.display([](sim_display &d) {
            d.controls.set(0x21A, 1, 4);
            d.controls.set(0x14, 2, 11);
            d.controls.set(0x12, 20, 100);
            d.controls.set(0x92, 20, 100);
            d.controls.set(0x1147, 2, 2);
        });

        QCOMPARE(f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS}).job_parameters.error_code, 0);
        QCOMPARE(f.writes(), expected);
        const QList<int> gains {f.control(0x16), f.control(0x18), f.control(0x1A)};

        // Gains come from the maxima, never from the values found: a second
        // restore writes nothing new, a third after a change puts them back.
        QCOMPARE(f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS}).job_parameters.error_code, 0);
        QCOMPARE((QList<int> {f.control(0x16), f.control(0x18), f.control(0x1A)}), gains);
        f.display([](sim_display &d) { d.controls.set(0x16, 10, 255); });
        QCOMPARE(f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS}).job_parameters.error_code, 0);
        QCOMPARE((QList<int> {f.control(0x16), f.control(0x18), f.control(0x1A)}), gains);
        // No table for a calibration held in the gains.
        QCOMPARE(f.display([](sim_display &d) { return d.lut_commits + d.lut_activations; }), 0);
    }

    // A calibration held in the lookup table: the table is rebuilt for the
    // current target and shown, the pattern switched off, the record stored.
    void sensor_calibration_in_a_table()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaNative));
        f.store_record(sensor_record(CAdjustValue::kModeLookupTable));
        const job_list_item done = f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS});
        QCOMPARE(done.job_parameters.error_code, 0);
        QVERIFY(f.writes().contains("268=6"));
        QCOMPARE(f.writes().last(), QStringLiteral("2c3=1"));
        // Native tone, gains 0.8, 0.9, 1.0 of the 4095 the model takes.
        const QVector<int> shown = f.display([](sim_display &d) { return d.active_lut.table(1024); });
        QCOMPARE(shown.size(), 3 * 1024);
        QCOMPARE(shown.at(1023), 3276);
        QCOMPARE(shown.at(1024 + 1023), 3686);
        QCOMPARE(shown.at(2 * 1024 + 1023), 4095);
    }

    // What the engine set-up without a sensor keeps in the record is what a
    // restore gives back: the engine ends as the set-up left it.
    void engine_set_up_then_restore_data()
    {
        QTest::addColumn<int>("gamut");
        QTest::addColumn<bool>("native_white");
        QTest::newRow("preferred gamut") << 1 << false;
        QTest::newRow("own primaries, native white") << 0 << true;
    }
    void engine_set_up_then_restore()
    {
        QFETCH(int, gamut);
        QFETCH(bool, native_white);
        display_task_fixture f(kEngineModel);
        QVERIFY(f.ready());
        f.preferences().SetQuillonColorGamut(static_cast<quint8>(gamut));
        CTargetValue wanted = target(CTargetValue::kGammaPower, 2.4);
        wanted.SetContrastRatio(1000);
        if (native_white)
            wanted.SetWhitePoint(CColorTemperature(quint16(0)));
        f.set_target(wanted);
        f.display([](sim_display &d) { d.controls.set(0x2EE, 0, 5); });
        QCOMPARE(f.run({JOB_TASK_INITIALIZE_DISPLAY_ENGINE}).job_parameters.error_code, 0);

        // A native white is restored as the preset that shows the panel's
        // own (checked below), not as a white point.
        QList<quint16> engine_controls {0x1055, 0x1056, 0x1057, 0x1058, 0x1059, 0x105A, 0x2B3,
                                        0x1054, 0x2EE,  0x268,  0x2E8,  0x1067};
        if (!native_white)
            engine_controls << 0x1052 << 0x1053;
        QList<int> set_up;
        for (quint16 code : engine_controls)
            set_up << f.control(code);
        f.display([&engine_controls](sim_display &d) {
            for (quint16 code : engine_controls) {
                if (sim_control *c = d.controls.find(code))
                    c->current = static_cast<quint16>(c->max > 1 ? c->max - 1 : 0);
            }
        });

        QCOMPARE(f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS}).job_parameters.error_code, 0);
        QList<int> restored;
        for (quint16 code : engine_controls)
            restored << f.control(code);
        QCOMPARE(restored, set_up);
        QCOMPARE(f.control(0x14), native_white ? 2 : 11);
    }

    void restore_without_a_record_adds_one()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.set_target(target(CTargetValue::kGammaNative));
        QCOMPARE(f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS}).job_parameters.error_code, 0);
        QVERIFY(f.has_record());
    }

    void a_refused_write_ends_the_restore()
    {
        display_task_fixture f(kPlainModel);
        QVERIFY(f.ready());
        f.store_record(sensor_record(CAdjustValue::kModeGains));
        f.display([](sim_display &d) { d.controls.set(0x10, 40, 100); });
        f.wall.refuse_writes(f.handle, 0x10);
        const job_list_item done = f.run({JOB_TASK_RESTORE_CALIBRATION_SETTINGS});
        QVERIFY(done.job_parameters.error_code < 0);
        QVERIFY(!f.writes().contains("12=50"));
        QCOMPARE(f.control(0x16), 255);
    }
};

QTEST_GUILESS_MAIN(tst_restore_calibration)
#include "tst_restore_calibration.moc"
