// The calibration task end to end: the real job through pool and worker, the
// real display link and the simulated instrument library on imperfect
// simulated displays; the follow-up job writes the table; then the display is
// measured through its input signal (black, white, 16 grey levels).
#include "app/services/preferences.h"
#include "calibration/calibration_task.h"
#include "colour/CMonitorTracker.h"
#include "colour/CXYZ2RGBTransform.h"
#include "colour/tone_curves.h"
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/calibration_status_kind.h"
#include "jobs/job_task_type.h"
#include "jobs/lookup_table_tasks.h"
#include "jobs/operation_progress_rules.h"
#include "tests/jobs/installed_task.h"
#include "tests/jobs/wall_task_fixture.h"

#include <QDataStream>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>

namespace {

constexpr quint64 kSeed = 23;
constexpr double kSpread = 1.5;     // a worse batch than a production run
constexpr int kGreySteps = 32;
constexpr int kToneLevels = 16;
constexpr double kD65x = 0.3127, kD65y = 0.3290;
// The loops accept a white within 0.0005 in x and y ...
constexpr double kWhiteTolerance = 0.0005;
// ... or, without the engine, channel ratios within 1 +- 0.004 of the
// target's (plus one level step, 1/1023, by which the last move may land).
constexpr double kRatioTolerance = 0.004 + 1.0 / 1023;
constexpr double kPanelMaximum = 450.0;     // the simulated panel's full white, cd/m²
constexpr int kBrightnessSteps = 100;
// The engine holds luminance within 0.8 cd/m² and black within 0.04 cd/m².
constexpr double kEngineLuminanceTolerance = 0.8;
constexpr double kEngineBlackTolerance = 0.04;
// Tone through the table: the correction is the measured response inverted
// between 32 grey steps (cubic interpolation, steepest near black) and
// written in level steps of 1/1023 of a channel; the light at each level is
// compared as a share of the white above black. 0.003 of the white covers
// the interpolation between steps 1/31 apart where the inverse response is
// steep (about 0.001 here) with room for other panels, and the level rounding
// (under 0.0002).
constexpr double kTableToneTolerance = 0.003;
// Black on the table path: the lifted black is the inverse response read at
// the lift, a few thousandths of the range, between the first grey steps,
// where the panel's light changes tenfold: 10 % of the target black.
constexpr double kTableBlackShare = 0.10;
// Through the engine the curve is realised on the panel's known responses;
// what is left is its 10-bit gains' rounding.
constexpr double kEngineToneTolerance = 0.002;

enum class path { table, gains, engine };

struct setup
{
    QByteArray model;
    path way = path::table;
    int gamma_type = CTargetValue::kGammaPower;
    double luminance = 200.0;  // 0: the most each display gives
    quint32 contrast = 0;
    bool native_white = false;
};

CTargetValue target_for(const setup &s)
{
    CTargetValue target;
    target.SetWhitePoint(s.native_white ? CColorTemperature(quint16(0)) : CColorTemperature(CIExy {kD65x, kD65y}));
    target.SetIntensityMode(s.luminance > 0.0 ? CTargetValue::kIntensitySpecified
                                              : CTargetValue::kIntensityMaximumPossible);
    target.SetSpecifiedLuminance(s.luminance);
    target.SetMaxMatchingLuminance(s.luminance);
    target.SetGammaType(s.gamma_type);
    target.SetGamma(2.2);
    target.SetContrastRatio(s.contrast);
    return target;
}

QByteArray stream_bytes(const CAdjustValue &record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    record.Write(out);
    return bytes;
}

// Whether the white's channel ratios, through the display's measured
// primaries, are those of the target white (the limiting channel's ratio
// taken as 1).
bool ratios_in(const CAdjustValue &record, const CCIEXYZ &white)
{
    const CColorValue::Patches &native = record.measurements.native;
    CXYZ2RGBTransform transform;
    if (transform.SetPrimaries(native.red, native.green, native.blue) != 0)
        return false;
    const RGBTriple rgb = transform.XYZToRGB(white);
    const RGBTriple aim = transform.xyYToRGB(xyYTriple {kD65x, kD65y, 1.0});
    const double r[3] = {rgb.R / aim.R, rgb.G / aim.G, rgb.B / aim.B};
    const double smallest = std::min({r[0], r[1], r[2]});
    for (const double ratio : r) {
        if (std::fabs(ratio / smallest - 1.0) > kRatioTolerance)
            return false;
    }
    return true;
}

// One display of |s.model| on an imperfect panel, the sensor on it, the
// preferences and target of |s|; the calibration and table tasks installed.
struct calibration_wall
{
    explicit calibration_wall(const setup &s, const QJsonObject &instrument = QJsonObject(), bool with_sensor = true)
        : calibrate(JOB_TASK_CALIBRATE, &calibrate_display), luts(JOB_TASK_UPDATE_LUTS, &update_luts)
    {
        if (!f.ready())
            return;
        f.wall().set_imperfections(kSeed, kSpread);
        display = f.add_display(s.model);
        attached = display >= 0 && (!with_sensor || (f.attach_sensor(instrument) && f.place_sensor(display)));
        CPreferences &preferences = *f.controller().controller().getPreferences();
        preferences.SetCalibrationSteps(kGreySteps);
        preferences.SetCalibrationMethod(s.way == path::gains ? 1 : 0);
        preferences.SetUseQuillonEngine(s.way == path::engine);
        target = target_for(s);
        f.controller().controller().setTarget(target);
    }

    bool ready() const { return f.ready() && attached; }
    monitor_tracker_item record()
    {
        monitor_tracker_item item(model_name, serial);
        f.controller().records().GetAdjustValue(item);
        return item;
    }
    std::unique_ptr<job_recording> calibrate_job()
    {
        auto run = f.run(f.job(display, {JOB_TASK_CALIBRATE}));
        model_name = run->result().job_parameters.model_name;
        serial = run->result().job_parameters.serial_number;
        return run;
    }
    // A display link of the test's own to the display.
    bool open(basic_monitor &link)
    {
        if (link.open_link(f.job(display, {}).connection_key, PDCommProtocol::kLinkLan) != 0)
            return false;
        link.set_monitor_id('A');
        return true;
    }
    light_channel::light_reading at(double level)
    {
        f.wall().set_input_level(display, {level, level, level});
        return f.wall().light(display);
    }

    wall_task_fixture f;
    installed_task calibrate;
    installed_task luts;
    int display = -1;
    bool attached = false;
    CTargetValue target;
    QString model_name;
    QString serial;
};

} // namespace

Q_DECLARE_METATYPE(setup)

class tst_calibrate_display : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(2000); }

    void calibrated_display_meets_the_target_data()
    {
        QTest::addColumn<setup>("s");
        QTest::newRow("table, short form") << setup {"VW-5530Q", path::table, CTargetValue::kGammaPower, 200.0, 300};
        QTest::newRow("table, long form") << setup {"VW-5520L", path::table, CTargetValue::kGammaPower, 250.0, 0};
        QTest::newRow("gains") << setup {"VW-5520L", path::gains, CTargetValue::kGammaPower, 200.0, 0};
        QTest::newRow("engine") << setup {"VW-5540QE", path::engine, CTargetValue::kGammaPower, 200.0, 1000};
        QTest::newRow("engine, custom curve")
            << setup {"VW-6540QE", path::engine, CTargetValue::kGammaBt1886, 180.0, 800};
        // The display's own white: no white-point loop, intensity and tone as usual.
        QTest::newRow("native white, table, DICOM")
            << setup {"VW-5530Q", path::table, CTargetValue::kGammaDicom, 0.0, 0, true};
        QTest::newRow("native white, table, gamma 2.2, 200 cd/m2")
            << setup {"VW-5520L", path::table, CTargetValue::kGammaPower, 200.0, 0, true};
        QTest::newRow("native white, gains, DICOM")
            << setup {"VW-5520L", path::gains, CTargetValue::kGammaDicom, 0.0, 0, true};
        QTest::newRow("native white, gains, gamma 2.2")
            << setup {"VW-5530Q", path::gains, CTargetValue::kGammaPower, 0.0, 0, true};
    }

    void calibrated_display_meets_the_target()
    {
        QFETCH(setup, s);
        calibration_wall w(s);
        QVERIFY2(w.ready(), qPrintable(w.f.error()));

        const auto run = w.calibrate_job();
        QCOMPARE(run->error_code(), 0);
        const qint32 flag = run->result().job_parameters.follow_up_lut_update;
        const bool custom = s.gamma_type == CTargetValue::kGammaBt1886;
        QCOMPARE(flag != 0, s.way == path::table || (s.way == path::engine && custom));
        job_list_item follow_up;
        QCOMPARE(make_follow_up_lut_job(run->result(), 1000, follow_up), flag != 0);
        if (flag)
            QCOMPARE(w.f.run(follow_up)->error_code(), 0);

        const monitor_tracker_item record = w.record();
        QVERIFY(record.calibrated);
        QCOMPARE(record.engine_calibrated_word != 0, s.way == path::engine);
        QCOMPARE(record.calibration_mode, qint16(s.way == path::gains ? 1 : 0));
        // What the views, the report and the profile show as the calibrated white.
        const CCIEXYZ &calibrated = record.measurements.corrected.white;
        QVERIFY(calibrated.Y > 0.0);
        QCOMPARE(calibrated.ToCIExy().x, record.measurements.adjusted_white.ToCIExy().x);
        QCOMPARE(calibrated.Y, record.measurements.adjusted_white.Y);
        if (s.way == path::table)
            check_shown_table(w, record);

        // Measured through the input signal.
        const CCIEXYZ white = as_xyz(w.at(1.0));
        const CCIEXYZ black = as_xyz(w.at(0.0));
        const CCIEYxy Yxy = white.ToYxy();
        const QString seen = QStringLiteral("white x %1 y %2 Y %3, black %4")
                                 .arg(Yxy.x, 0, 'f', 5)
                                 .arg(Yxy.y, 0, 'f', 5)
                                 .arg(Yxy.Y, 0, 'f', 2)
                                 .arg(black.Y, 0, 'f', 4);
        const CIExy aim = s.native_white ? record.measurements.native.white.ToCIExy() : CIExy {kD65x, kD65y};
        const bool white_in = std::fabs(Yxy.x - aim.x) <= kWhiteTolerance && std::fabs(Yxy.y - aim.y) <= kWhiteTolerance;
        if (s.native_white) {
            QVERIFY(run->status(CAL_STATUS_WHITE_POINT_TARGET).isEmpty());
            QVERIFY2(white_in, qPrintable(seen));
        }
        if (s.way == path::engine) {
            QVERIFY2(white_in, qPrintable(seen));
            QVERIFY2(std::fabs(Yxy.Y - s.luminance) <= kEngineLuminanceTolerance, qPrintable(seen));
            check_engine_black(w, record, white.Y, black.Y, s.contrast);
        } else {
            QVERIFY2(white_in || ratios_in(record, white), qPrintable(seen));
            // max(T/100, 1) cd/m², plus one brightness step (the brightness
            // moves the luminance in steps of panel / 100).
            const double wanted = s.luminance > 0.0 ? s.luminance : record.measurements.native.white.Y;
            const double tolerance = qMax(wanted / 100.0, 1.0) + kPanelMaximum / kBrightnessSteps;
            QVERIFY2(std::fabs(Yxy.Y - wanted) <= tolerance, qPrintable(seen));
        }
        if (s.way == path::table && s.contrast != 0) {
            const double wanted = white.Y / s.contrast;
            QVERIFY2(std::fabs(black.Y - wanted) <= kTableBlackShare * wanted,
                     qPrintable(seen + QStringLiteral(" against %1").arg(wanted)));
        }
        if (s.way != path::gains)
            check_tone(w, record, white.Y, black.Y, s.way == path::engine ? kEngineToneTolerance : kTableToneTolerance);
    }

    // A target brighter than the display: the run ends well at full
    // brightness, and the record shows what the display reached.
    void unreachable_luminance_is_recorded()
    {
        calibration_wall w(setup {"VW-5530Q", path::table, CTargetValue::kGammaPower, 1000.0, 0});
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        QCOMPARE(w.calibrate_job()->error_code(), 0);
        const monitor_tracker_item record = w.record();
        QCOMPARE(int(record.backlight_setting), int(record.backlight_maximum));
        QCOMPARE(w.f.control(w.display, control_code::kBrightness), int(record.backlight_maximum));
        const double reached = record.measurements.adjusted_white.Y;
        QVERIFY(reached > 0.5 * kPanelMaximum && reached < 1000.0);
    }

    // Failures end with the run's code and leave the stored record as it was.
    void failure_leaves_the_record_data()
    {
        QTest::addColumn<setup>("s");
        QTest::addColumn<QJsonObject>("instrument");
        QTest::addColumn<double>("white_x");
        QTest::addColumn<QList<int>>("codes");   // empty: the sensor's own
        // The instrument is lost at its sixth reading, the white patch's: a
        // counted step, which a slow machine cannot pass by.
        const QJsonObject lost {
            {"lose_device", QJsonObject {{"call", "i1d3MeasureXYZ"}, {"after", 5}, {"found_again", false}}}};
        const setup table {"VW-5530Q", path::table, CTargetValue::kGammaPower, 200.0, 0};
        const setup engine {"VW-5540QE", path::engine, CTargetValue::kGammaPower, 200.0, 0};
        QTest::newRow("instrument lost") << table << lost << kD65x << QList<int>();
        QTest::newRow("white outside the gamut") << table << QJsonObject() << 0.20 << QList<int> {-1011};
        QTest::newRow("engine white outside the gamut")
            << engine << QJsonObject() << 0.20 << QList<int> {-1011, -1035};
    }

    void failure_leaves_the_record()
    {
        QFETCH(setup, s);
        QFETCH(QJsonObject, instrument);
        QFETCH(double, white_x);
        QFETCH(QList<int>, codes);
        calibration_wall w(s);
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        CTargetValue target = w.target;
        target.SetWhitePoint(CColorTemperature(CIExy {white_x, 0.70 - (white_x - 0.20)}));
        if (white_x != kD65x)
            w.f.controller().controller().setTarget(target);
        // A record from an earlier calibration.
        const auto first = w.f.run(w.f.job(w.display, {JOB_TASK_CHECK_CAPABILITIES}));
        w.model_name = first->result().job_parameters.model_name;
        w.serial = first->result().job_parameters.serial_number;
        monitor_tracker_item earlier(w.model_name, w.serial);
        earlier.backlight_setting = 42;
        earlier.SetCalibrated(true);
        w.f.controller().records().SetAdjustValue(earlier);
        const QByteArray before = stream_bytes(w.record());

        QVERIFY(instrument.isEmpty() || w.f.instrument().configure(instrument));
        const auto run = w.f.run(w.f.job(w.display, {JOB_TASK_CALIBRATE}));
        const int code = run->error_code();
        QVERIFY(code < 0);
        if (!instrument.isEmpty()) {
            // Lost with the white patch up, before the red one.
            QStringList patches;
            for (const calibration_job_status_info_item &task : run->status(CAL_STATUS_TASK))
                patches << QString::number(task.value);
            QVERIFY2(patches.contains(QStringLiteral("24")) && !patches.contains(QStringLiteral("20")),
                     qPrintable(patches.join(QLatin1Char(' '))));
        }
        if (!codes.isEmpty())
            QVERIFY2(codes.contains(code), qPrintable(QString::number(code)));
        QCOMPARE(stream_bytes(w.record()), before);
        QCOMPARE(w.f.control(w.display, control_code::kPatchGenerator), 1);
    }

    // A sensor on another display never passes the placement check; a cancel
    // there ends the job with -9000 and the pattern off.
    void sensor_elsewhere_then_cancel()
    {
        calibration_wall w(setup {"VW-5530Q"});
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        const int other = w.f.add_display("VW-5530Q");
        QVERIFY(other >= 0);
        QVERIFY(w.f.place_sensor(other));
        const auto run = w.f.run_and_stop(w.f.job(w.display, {JOB_TASK_CALIBRATE}),
                                          [](const job_recording &r) { return r.sub_steps().size() >= 12; });
        QCOMPARE(run->error_code(), -9000);
        QCOMPARE(w.f.control(w.display, control_code::kPatchGenerator), 1);
        QVERIFY(!w.record().calibrated);
    }

    // A cancel in a wait of the run: the job ends at the next step of the
    // countdown with the display put back.
    void cancel_in_a_wait_restores_the_display()
    {
        calibration_wall w(setup {"VW-5530Q"});
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        wait_service::set_time_scale(0.02);
        int waits_at_stop = -1;
        const auto run = w.f.run_and_stop(w.f.job(w.display, {JOB_TASK_CALIBRATE}), [&](const job_recording &r) {
            const int waits = r.status(CAL_STATUS_WAIT).size();
            if (waits > 0 && waits_at_stop < 0)
                waits_at_stop = waits;
            return waits > 0;
        });
        wait_service::set_time_scale(0.0);
        QCOMPARE(run->error_code(), -9000);
        // The countdown reports once a second: at most one more report came.
        QVERIFY(run->status(CAL_STATUS_WAIT).size() <= waits_at_stop + 1);
        const QList<int> modes = w.f.writes(w.display, control_code::kColorMode);
        QVERIFY(!modes.isEmpty() && modes.last() == 1);
        QCOMPARE(w.f.control(w.display, control_code::kColorPreset), 11);
        QCOMPARE(w.f.control(w.display, control_code::kPatchGenerator), 1);
    }

    void no_sensor()
    {
        calibration_wall w(setup {"VW-5530Q"}, QJsonObject(), false);
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        QCOMPARE(w.calibrate_job()->error_code(), -1000);
    }

    // The engine is switched only where the display has one: on when the
    // preferences ask for it with a table calibration, else off.
    void engine_choice_data()
    {
        QTest::addColumn<setup>("s");
        QTest::addColumn<QList<int>>("switch_writes");
        QTest::newRow("no engine") << setup {"VW-5530Q", path::table} << QList<int>();
        QTest::newRow("engine in gain mode") << setup {"VW-5540QE", path::gains} << QList<int> {1};
        QTest::newRow("engine") << setup {"VW-5540QE", path::engine} << QList<int> {2};
    }

    void engine_choice()
    {
        QFETCH(setup, s);
        QFETCH(QList<int>, switch_writes);
        calibration_wall w(s);
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        // The engine on from an earlier use: a gain calibration switches it off.
        if (s.way == path::gains) {
            basic_monitor link;
            QVERIFY(w.open(link));
            QCOMPARE(link.set_vcp_1147_and_wait(true), 0);
            w.f.wall().clear_log();
        }
        QCOMPARE(w.calibrate_job()->error_code(), 0);
        QCOMPARE(w.f.writes(w.display, control_code::kEngineSwitch), switch_writes);
    }

    // The record's target offset moves the white the run aims at and scales
    // its luminance.
    void target_offset()
    {
        calibration_wall w(setup {"VW-5530Q"});
        QVERIFY2(w.ready(), qPrintable(w.f.error()));
        const auto first = w.f.run(w.f.job(w.display, {JOB_TASK_CHECK_CAPABILITIES}));
        monitor_tracker_item offset(first->result().job_parameters.model_name,
                                    first->result().job_parameters.serial_number);
        offset.SetTargetOffsetEnabled(true);
        offset.target_offset_dx = 5;
        offset.target_offset_dy = -3;
        offset.target_intensity_offset = 0.9;
        w.f.controller().records().SetAdjustValue(offset);
        const auto run = w.calibrate_job();
        QCOMPARE(run->error_code(), 0);
        const QList<calibration_job_status_info_item> aims = run->status(CAL_STATUS_WHITE_POINT_TARGET);
        QVERIFY(!aims.isEmpty());
        QVERIFY(std::fabs(aims.first().d1 - (kD65x + 0.005)) < 1e-9);
        QVERIFY(std::fabs(aims.first().d2 - (kD65y - 0.003)) < 1e-9);
        const QList<calibration_job_status_info_item> levels = run->status(CAL_STATUS_WHITE_LEVEL_TARGET);
        QVERIFY(!levels.isEmpty());
        QVERIFY(std::fabs(levels.first().d1 - 180.0) < 1e-9);
        const monitor_tracker_item record = w.record();
        QVERIFY(record.target_offset_enabled);
        QCOMPARE(record.target_offset_dx, qint16(5));
    }

private:
    static CCIEXYZ as_xyz(const light_channel::light_reading &r) { return CCIEXYZ(r.X, r.Y, r.Z); }

    // The table the display shows is the one built from the stored record.
    static void check_shown_table(calibration_wall &w, const CAdjustValue &record)
    {
        basic_monitor link;
        QVERIFY(w.open(link));
        QVector<int> expected;
        QCOMPARE(link.build_lut_from_calibration(record, w.target, expected), 0);
        const QVector<int> shown =
            w.f.wall().with_display(w.display, [&](sim_display &d) { return d.lut.table(expected.size() / 3); });
        QCOMPARE(shown.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(shown[i] == expected[i], qPrintable(QStringLiteral("entry %1: %2 shown, %3 built")
                                                              .arg(i).arg(shown[i]).arg(expected[i])));
    }

    // Black within 0.04 cd/m² of white / contrast, or no neighbouring black
    // level nearer.
    static void check_engine_black(calibration_wall &w, const CAdjustValue &record, double white, double black,
                                   quint32 contrast)
    {
        const double wanted = white / contrast;
        if (std::fabs(black - wanted) <= kEngineBlackTolerance)
            return;
        basic_monitor link;
        QVERIFY(w.open(link));
        const int level = record.black_level_value;
        for (const int neighbour : {level - 1, level + 1}) {
            uint value = static_cast<uint>(neighbour);
            QCOMPARE(link.set_vcp(control_code::kEngineBlackLevel, value), 0);
            const double there = as_xyz(w.at(0.0)).Y;
            QVERIFY2(std::fabs(there - wanted) >= std::fabs(black - wanted),
                     qPrintable(QStringLiteral("black %1 at %2, %3 at %4, wanted %5")
                                    .arg(black).arg(level).arg(there).arg(neighbour).arg(wanted)));
        }
    }

    // The light at 16 grey levels against the target curve between black and
    // white (with the target's black lift for a contrast ratio).
    static void check_tone(calibration_wall &w, const CAdjustValue &record, double white, double black,
                           double tolerance)
    {
        CSpline curve;
        QCOMPARE(make_target_curve(record.measurements, w.target, curve), 0);
        double worst = 0.0;
        int worst_level = 0;
        for (int i = 0; i < kToneLevels; ++i) {
            const double level = double(i) / (kToneLevels - 1);
            const double share = (as_xyz(w.at(level)).Y - black) / (white - black);
            const double error = std::fabs(share - curve.Evaluate(level));
            if (error > worst) {
                worst = error;
                worst_level = i;
            }
        }
        QVERIFY2(worst <= tolerance,
                 qPrintable(QStringLiteral("worst tone error %1 at level %2 of %3")
                                .arg(worst).arg(worst_level).arg(kToneLevels - 1)));
    }
};

QTEST_GUILESS_MAIN(tst_calibrate_display)
#include "tst_calibrate_display.moc"
