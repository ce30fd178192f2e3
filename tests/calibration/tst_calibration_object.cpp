// The calibration run on its own, against one imperfect simulated display and
// a sensor held against it: what the end-to-end runs cannot see (signal
// order, intensity branches, the limiting channel, the cache, the
// configuration list in each brightness mode) and the faults the run guards
// against.
#include "calibration/CCalibrationObject.h"
#include "calibration/calibration_result_codes.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "simulator/loopback_block.h"
#include "tests/calibration/panel_sensor.h"
#include "tests/display_protocol/monitor_fixture.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using namespace calibration_result;

constexpr quint64 kSeed = 11;
constexpr double kSpread = 1.0;
constexpr int kGreySteps = 8;
constexpr int kLevelMaximum = 1023;
// The run accepts a white whose x and y are each within 0.0005 of the target.
constexpr double kWhiteTolerance = 0.0005;
// Or whose channel ratios are within 1 +- 0.004 of the target's (the loop's
// other acceptance rule); a level step of 1/1023 may leave a channel just
// past it when the loop stops on the limit of reversals.
constexpr double kRatioTolerance = 0.004 + 1.0 / kLevelMaximum;
constexpr double kPanelMaximum = 450.0;     // the simulated panel's full white, cd/m²
constexpr int kBrightnessMaximum = 100;

CTargetValue d65_target(int intensity_mode, double luminance)
{
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(CIExy {0.3127, 0.3290}));
    target.SetIntensityMode(intensity_mode);
    target.SetSpecifiedLuminance(luminance);
    target.SetMaxMatchingLuminance(luminance);
    target.SetGammaType(CTargetValue::kGammaPower);
    target.SetGamma(2.2);
    target.SetContrastRatio(0);
    return target;
}

calibration_preferences table_preferences()
{
    calibration_preferences preferences;
    preferences.display.use_engine = false;
    preferences.grey_steps = kGreySteps;
    return preferences;
}

// One run against display "VW-5530Q" with this process's loopback address |host|.
struct run_fixture
{
    run_fixture(int host, const calibration_preferences &preferences, const CTargetValue &target,
                const QByteArray &model = "VW-5530Q")
        : m(loopback_block::address(host), model), sensor(m.fx.wall, m.fx.display), calibration(preferences)
    {
        m.fx.wall.set_imperfections(kSeed, kSpread);
        calibration.SetSensor(&sensor);
        calibration.SetMonitor(&m.monitor);
        calibration.SetTargetValue(target);
        calibration.SetAdjustValue(CAdjustValue());
    }

    bool ready() const { return m.ready(); }
    QString failure() const { return m.failure(); }
    int control(int code)
    {
        int value = -1, maximum = 0;
        m.monitor.get_vcp_with_max(code, value, maximum);
        return value;
    }

    monitor_fixture m;
    panel_sensor sensor;
    CCalibrationObject calibration;
};

// Whether the white meets either of the loop's acceptance rules.
bool white_accepted(const CAdjustValue &record, const CTargetValue &target, QString &why)
{
    const CCIEXYZ white = record.measurements.adjusted_white;
    const CCIEYxy Yxy = white.ToYxy();
    const CIExy wanted = target.GetWhitePoint().GetCIExy();
    why = QStringLiteral("x %1 y %2 Y %3").arg(Yxy.x, 0, 'f', 5).arg(Yxy.y, 0, 'f', 5).arg(Yxy.Y, 0, 'f', 2);
    if (std::fabs(Yxy.x - wanted.x) <= kWhiteTolerance && std::fabs(Yxy.y - wanted.y) <= kWhiteTolerance)
        return true;
    const CColorValue::Patches &native = record.measurements.native;
    CXYZ2RGBTransform transform;
    if (transform.SetPrimaries(native.red, native.green, native.blue) != 0)
        return false;
    const RGBTriple rgb = transform.XYZToRGB(white);
    const RGBTriple aim = transform.xyYToRGB(xyYTriple {wanted.x, wanted.y, 1.0});
    const double r[3] = {rgb.R / aim.R, rgb.G / aim.G, rgb.B / aim.B};
    const double smallest = std::min({r[0], r[1], r[2]});
    for (const double ratio : r) {
        if (std::fabs(ratio / smallest - 1.0) > kRatioTolerance)
            return false;
    }
    return true;
}

} // namespace

class tst_calibration_object : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        wait_service::set_time_scale(0.0);
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
    }

    void signals_in_declaration_order()
    {
        const QStringList expected {
            "calibration_task_progress", "calibration_sub_task_progress", "StartingDefinedTask",
            "StartingDefinedSubTask", "SetInstructionMessageString", "SetWhitePointMeasuredValue",
            "SetWhitePointTargetxy", "SetWhiteLevelTarget", "ShowWhiteLevelTarget", "SetAdjustingWhitePoint",
            "play_audio_message", "SetWhiteLevelTargetMinMax", "SetBlackLevelTargetMinMax",
            "SetBlackLevelMeasuredValue", "sleepTime", "misc_status"};
        const QMetaObject &meta = CCalibrationObject::staticMetaObject;
        QStringList declared;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() == QMetaMethod::Signal)
                declared << QString::fromLatin1(meta.method(i).name());
        }
        QCOMPARE(declared, expected);
    }

    // One run on the lookup-table path, step by step, and where it ends.
    void one_run_in_order()
    {
        calibration_preferences preferences = table_preferences();
        preferences.measure_after_calibration = true;
        const CTargetValue target = d65_target(CTargetValue::kIntensitySpecified, 200.0);
        run_fixture f(1, preferences, target);
        QVERIFY_FIXTURE(f);
        QStringList steps;
        QList<int> tasks;
        QStringList order;
        connect(&f.calibration, &CCalibrationObject::calibration_task_progress,
                [&](const QString &text) { steps << text; order << "step"; });
        connect(&f.calibration, &CCalibrationObject::StartingDefinedTask, [&](int task) { tasks << task; });
        connect(&f.calibration, &CCalibrationObject::misc_status, [&](int) { order << "misc"; });
        connect(&f.calibration, &CCalibrationObject::SetWhitePointMeasuredValue,
                [&](double, double, double) { order << "white"; });

        QCOMPARE(f.calibration.RunCalibration(), 0);

        QCOMPARE(steps, QStringList({"Configuring settings for calibration", "Configuring settings for calibration",
                                     "Measuring display", "Adjusting", "Gamma Correction",
                                     "Measuring calibrated display"}));
        QCOMPARE(tasks.mid(0, 6), QList<int>({24, 20, 21, 22, 23, 4}));
        const int intensity = tasks.indexOf(9);
        const int second_pass = tasks.indexOf(4, intensity);
        const int greyscale = tasks.indexOf(6);
        QVERIFY(intensity > 5 && second_pass > intensity && greyscale > second_pass);
        QCOMPARE(tasks.last(), 17);
        QCOMPARE(order.last(), QStringLiteral("misc"));

        const CAdjustValue record = f.calibration.GetAdjustValue();
        QVERIFY(record.calibrated);
        QCOMPARE(record.leading_flag, qint8(1));
        QCOMPARE(record.software_build, 210208);
        QCOMPARE(record.sensor_name, QStringLiteral("Panel sensor"));
        QVERIFY(record.GetCalibrationDateTime().isValid());
        QCOMPARE(f.calibration.GetResultFlag(), quint8(1));
        QCOMPARE(record.measurements.uncorrected_greyscale.size(), kGreySteps);
        QCOMPARE(record.measurements.corrected_greyscale.size(), kGreySteps);
        QString why;
        QVERIFY2(white_accepted(record, target, why), qPrintable(why));
        // The primaries of the configured display are kept for the transform.
        QCOMPARE(record.measurements.uncorrected.red.X, record.measurements.native.red.X);
        QCOMPARE(record.measurements.uncorrected.black.Y,
                 record.measurements.uncorrected_greyscale.first().Y);
        // Ratios are the adjusted levels over their maxima, in floating point:
        // the panel is bluish, so red limits and stays full.
        QCOMPARE(record.gain[0], 1.0);
        QVERIFY(record.gain[2] < 1.0);
        QCOMPARE(record.gain[2], f.control(control_code::kPagedLevelBlue) / double(kLevelMaximum));
    }

    void intensity_branches_data()
    {
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("stray");
        QTest::addColumn<int>("brightness");   // -1: reached by the loop
        QTest::addColumn<bool>("settles");
        QTest::addColumn<int>("result");
        QTest::newRow("above the full white: brightness full, no loop")
            << 1000.0 << 0.0 << kBrightnessMaximum << false << 0;
        // Only stray light is left at brightness 0, so the white point that
        // follows cannot come down to the target: the run fails there.
        QTest::newRow("dark white above the target: brightness 0, no loop")
            << 100.0 << 150.0 << 0 << true << int(kWhitePointFailed);
        QTest::newRow("within reach: the loop") << 200.0 << 0.0 << -1 << true << 0;
    }

    void intensity_branches()
    {
        QFETCH(double, target);
        QFETCH(double, stray);
        QFETCH(int, brightness);
        QFETCH(bool, settles);
        QFETCH(int, result);
        calibration_preferences preferences = table_preferences();
        preferences.grey_steps = 2;
        run_fixture f(2, preferences, d65_target(CTargetValue::kIntensitySpecified, target));
        QVERIFY_FIXTURE(f);
        // Stray light of the target's colour on every reading after the patches.
        if (stray > 0.0) {
            const CCIEXYZ extra = CCIEYxy(stray, 0.3127, 0.3290).ToXYZ();
            f.sensor.adjust = [extra](CCIEXYZ &reading, int n) {
                if (n > 6)
                    reading = CCIEXYZ(reading.X + extra.X, reading.Y + extra.Y, reading.Z + extra.Z);
                return 0;
            };
        }
        QList<int> tasks;
        connect(&f.calibration, &CCalibrationObject::StartingDefinedTask, [&](int task) { tasks << task; });

        QCOMPARE(f.calibration.RunCalibration(), result);

        const CAdjustValue record = f.calibration.GetAdjustValue();
        QCOMPARE(tasks.contains(8), settles);
        // A failed run puts the brightness back to its maximum.
        QCOMPARE(f.control(control_code::kBrightness), result == 0 ? f.calibration.brightness() : kBrightnessMaximum);
        if (brightness >= 0) {
            QCOMPARE(f.calibration.brightness(), brightness);
        } else {
            // Within max(T/100, 1) cd/m², plus one brightness step: the
            // control moves the luminance in steps of panel / 100.
            const double tolerance = qMax(target / 100.0, 1.0) + kPanelMaximum / kBrightnessMaximum;
            const double reached = record.measurements.adjusted_white.Y;
            QVERIFY2(std::fabs(reached - target) <= tolerance, qPrintable(QString::number(reached)));
        }
    }

    // The configuration list leaves the brightness alone in mode 2; the values
    // the run takes come from the reads, whatever their position.
    void brightness_mode_2_keeps_brightness()
    {
        calibration_preferences preferences = table_preferences();
        preferences.display.brightness_control_mode = 2;
        preferences.grey_steps = 2;
        run_fixture f(3, preferences, d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        QCOMPARE(f.m.monitor.set_brightness(40), 0);
        QCOMPARE(f.calibration.RunCalibration(), 0);
        const CAdjustValue record = f.calibration.GetAdjustValue();
        QCOMPARE(int(record.backlight_setting), 40);
        QCOMPARE(int(record.backlight_maximum), kBrightnessMaximum);
        QCOMPARE(int(record.contrast), f.control(control_code::kContrast));
        QCOMPARE(f.control(control_code::kBrightness), 40);
    }

    // A reading that repeats at other drive values gives an equal error: the
    // earliest entry is the best.
    void equal_cache_errors_take_the_earliest()
    {
        run_fixture f(4, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        prepare_levels(f);
        const CCIEXYZ fixed = CCIEYxy(300.0, 0.3000, 0.3100).ToXYZ();
        f.sensor.adjust = [fixed](CCIEXYZ &reading, int) {
            reading = fixed;
            return 0;
        };
        const RGBTriple aim = aim_rgb(f);
        QCOMPARE(f.calibration.WhitePointStepLevels(aim.R, aim.G, aim.B, 0.004, 0.3127, 0.3290, -1.0), 1);
        QCOMPARE(f.calibration.WhitePointStepLevels(aim.R, aim.G, aim.B, 0.004, 0.3127, 0.3290, -1.0), 1);
        QCOMPARE(f.calibration.cache().size(), size_t(2));
        QVERIFY(f.calibration.cache()[0].drive != f.calibration.cache()[1].drive);
        QCOMPARE(f.calibration.cache()[0].error, f.calibration.cache()[1].error);
        QCOMPARE(f.calibration.FindBestMeasurement(), 0);
    }

    // The channel at its maximum and furthest below the target limits: it
    // stays, and the others are scaled against it.
    void limiting_channel_stays_full()
    {
        run_fixture f(5, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        prepare_levels(f);
        // A bluish white: red furthest below its share.
        f.sensor.adjust = [](CCIEXYZ &reading, int) {
            reading = CCIEYxy(300.0, 0.2900, 0.3000).ToXYZ();
            return 0;
        };
        const RGBTriple aim = aim_rgb(f);
        QCOMPARE(f.calibration.WhitePointStepLevels(aim.R, aim.G, aim.B, 0.004, 0.3127, 0.3290, -1.0), 1);
        QCOMPARE(f.calibration.limiting_channel(), 1);
        QCOMPARE(f.calibration.channel(0).value, kLevelMaximum);
        QVERIFY(f.calibration.channel(2).value < kLevelMaximum);
        QCOMPARE(f.control(control_code::kPagedLevelBlue), f.calibration.channel(2).value);
    }

    // Ratios that cannot be worked with end the iteration with -1, and the
    // run with -1011, leaving the record uncalibrated.
    void unusable_ratios_end_the_white_point_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("no light") << 0.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    }

    void unusable_ratios_end_the_white_point()
    {
        QFETCH(double, value);
        run_fixture f(6, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        prepare_levels(f);
        f.sensor.adjust = [value](CCIEXYZ &reading, int) {
            reading = CCIEXYZ(value, value, value);
            return 0;
        };
        const RGBTriple aim = aim_rgb(f);
        QCOMPARE(f.calibration.WhitePointStepLevels(aim.R, aim.G, aim.B, 0.004, 0.3127, 0.3290, -1.0),
                 int(kInvalidTarget));

        run_fixture g(7, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(g);
        // The test reading and the five patches pass; the loop's readings do not.
        g.sensor.adjust = [value](CCIEXYZ &reading, int n) {
            if (n > 6)
                reading = CCIEXYZ(value, value, value);
            return 0;
        };
        QCOMPARE(g.calibration.RunCalibration(), int(kWhitePointFailed));
        QVERIFY(!g.calibration.GetAdjustValue().calibrated);
    }

    // Refused level writes: 24 failures end the loop (-1023), reported as -1011.
    void refused_level_writes()
    {
        run_fixture f(8, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        simulated_wall &wall = f.m.fx.wall;
        const int display = f.m.fx.display;
        f.sensor.adjust = [&wall, display](CCIEXYZ &, int n) {
            if (n == 7) {
                for (const int code : {control_code::kPagedLevelRed, control_code::kPagedLevelGreen,
                                       control_code::kPagedLevelBlue})
                    wall.refuse_writes(display, static_cast<quint16>(code));
            }
            return 0;
        };
        QCOMPARE(f.calibration.RunCalibration(), int(kWhitePointFailed));
    }

    // A sensor that cannot measure ends the run before any control changes,
    // with only the patch generator switched off.
    void sensor_that_cannot_measure()
    {
        run_fixture f(9, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        f.sensor.adjust = [](CCIEXYZ &, int) { return int(sensor_status::kFailed); };
        f.m.clear_log();
        QCOMPARE(f.calibration.RunCalibration(), int(sensor_status::kFailed));
        QList<QByteArray> writes;
        for (const sim_log_entry &frame : f.m.frames()) {
            if (frame.type == 'E')
                writes << frame.body.left(4);
        }
        QCOMPARE(writes, QList<QByteArray>({"02C3"}));
        QCOMPARE(f.control(control_code::kPatchGenerator), 1);
    }

    void grey_steps_below_two_use_the_default_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("0") << 0;
        QTest::newRow("1") << 1;
    }

    void grey_steps_below_two_use_the_default()
    {
        QFETCH(int, steps);
        run_fixture f(10, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        f.calibration.SetCalibrationSteps(steps);
        QSignalSpy progress(&f.calibration, &CCalibrationObject::calibration_sub_task_progress);
        QVector<CCIEXYZ> series;
        QCOMPARE(f.calibration.MeasureGreySeries(series, kLevelMaximum, kLevelMaximum, kLevelMaximum, false), 0);
        QCOMPARE(series.size(), 32);
        QCOMPARE(progress.last().at(1).toInt(), 64);
    }

    void gain_mode_builds_no_table()
    {
        calibration_preferences preferences = table_preferences();
        preferences.display.calibration_method = 1;
        run_fixture f(11, preferences, d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        QSignalSpy steps(&f.calibration, &CCalibrationObject::calibration_task_progress);
        QCOMPARE(f.calibration.RunCalibration(), 0);
        QCOMPARE(f.calibration.GetResultFlag(), quint8(0));
        const CAdjustValue record = f.calibration.GetAdjustValue();
        QCOMPARE(record.calibration_mode, qint16(CAdjustValue::kModeGains));
        QVERIFY(record.measurements.uncorrected_greyscale.isEmpty());
        for (const QList<QVariant> &step : steps)
            QVERIFY(step.at(0).toString() != QStringLiteral("Gamma Correction"));
        int value = 0, maximum = 0;
        QCOMPARE(f.m.monitor.get_video_gain_blue(value, maximum), 0);
        QCOMPARE(record.gain[2], double(value) / maximum);
    }

    void native_gamma_measures_no_greyscale()
    {
        CTargetValue target = d65_target(CTargetValue::kIntensitySpecified, 200.0);
        target.SetGammaType(CTargetValue::kGammaNative);
        run_fixture f(12, table_preferences(), target);
        QVERIFY_FIXTURE(f);
        QCOMPARE(f.calibration.RunCalibration(), 0);
        QVERIFY(f.calibration.GetAdjustValue().measurements.uncorrected_greyscale.isEmpty());
        QCOMPARE(f.calibration.GetResultFlag(), quint8(1));
    }

    // Through the engine: white, luminance and black to their tolerances on a
    // panel the engine does not know yet, and the engine's own tone curve.
    void engine_run_reaches_the_target()
    {
        calibration_preferences preferences = table_preferences();
        preferences.measure_after_calibration = true;
        CTargetValue target = d65_target(CTargetValue::kIntensitySpecified, 200.0);
        target.SetContrastRatio(1000);
        run_fixture f(13, preferences, target, "VW-5540QE");
        QVERIFY_FIXTURE(f);
        QCOMPARE(f.m.monitor.set_vcp_1147_and_wait(true), 0);
        f.calibration.SetUseQuillonEngine(true);

        QCOMPARE(f.calibration.RunCalibration(), 0);

        const CAdjustValue record = f.calibration.GetAdjustValue();
        const CCIEYxy white = record.measurements.adjusted_white.ToYxy();
        QVERIFY2(std::fabs(white.x - 0.3127) <= kWhiteTolerance && std::fabs(white.y - 0.3290) <= kWhiteTolerance,
                 qPrintable(QStringLiteral("%1 %2").arg(white.x).arg(white.y)));
        QVERIFY2(std::fabs(white.Y - 200.0) <= 0.8, qPrintable(QString::number(white.Y)));
        // Black within 0.04 cd/m² of white / contrast, or no neighbouring
        // black level nearer.
        const double wanted_black = white.Y / 1000.0;
        const double black = record.measurements.adjusted_black.Y;
        if (std::fabs(black - wanted_black) > 0.04) {
            const int level = record.black_level_value;
            for (const int neighbour : {level - 1, level + 1}) {
                uint value = static_cast<uint>(neighbour);
                QCOMPARE(f.m.monitor.set_vcp(control_code::kEngineBlackLevel, value), 0);
                CCIEXYZ reading;
                QCOMPARE(f.sensor.MeasureXYZ(1), 0);
                QCOMPARE(f.sensor.GetXYZ(reading), 0);
                QVERIFY2(std::fabs(reading.Y - wanted_black) >= std::fabs(black - wanted_black),
                         qPrintable(QStringLiteral("%1 at %2 against %3").arg(reading.Y).arg(neighbour).arg(black)));
            }
        }
        QCOMPARE(f.control(control_code::kColorMode), 9);
        QCOMPARE(f.control(control_code::kVcp2E8), 170);
        QCOMPARE(f.calibration.GetResultFlag(), quint8(0));
        QCOMPARE(record.engine_calibrated_word, qint16(1));
        QCOMPARE(int(record.engine_white_x), f.control(control_code::kEngineWhiteX));
        QCOMPARE(record.measurements.corrected_greyscale.size(), kGreySteps);
    }

    // A patch of the wrong colour: -1004, the generator off and the display
    // put back.
    void wrong_patch_colour()
    {
        run_fixture f(14, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        // Measurement 3 is the red patch (after the test reading and white).
        f.sensor.adjust = [](CCIEXYZ &reading, int n) {
            if (n == 3)
                reading = CCIEYxy(300.0, 0.3127, 0.3290).ToXYZ();
            return 0;
        };
        QCOMPARE(f.calibration.RunCalibration(), int(kPatchColourRejected));
        QCOMPARE(f.control(control_code::kPatchGenerator), 1);
        QCOMPARE(f.control(control_code::kColorMode), 1);
        QVERIFY(!f.calibration.GetAdjustValue().calibrated);
    }

    // Stopped in the middle of the loops, with the display link stopped as
    // the worker stops it: the restore list still reaches the display.
    void stop_restores_the_display()
    {
        run_fixture f(15, table_preferences(), d65_target(CTargetValue::kIntensitySpecified, 200.0));
        QVERIFY_FIXTURE(f);
        QCOMPARE(f.m.monitor.set_vcp_268(4), 0);
        CCalibrationObject &calibration = f.calibration;
        basic_monitor &link = f.m.monitor;
        int stopped_at = 0;
        f.sensor.adjust = [&](CCIEXYZ &, int n) {
            if (n == 9) {
                link.stop_job();
                calibration.stop_job();
                stopped_at = f.m.frames().size();
            }
            return 0;
        };
        QCOMPARE(f.calibration.RunCalibration(), int(kStopped));
        QList<QByteArray> after;
        const QList<sim_log_entry> frames = f.m.frames();
        for (int i = stopped_at; i < frames.size(); ++i) {
            if (frames[i].type == 'E')
                after << frames[i].body.left(4);
        }
        QVERIFY2(after.contains("0268") && after.contains("0014") && after.contains("0010"),
                 qPrintable(QString::fromLatin1(after.join(' '))));
        QCOMPARE(f.control(control_code::kColorMode), 1);
        QCOMPARE(f.control(control_code::kPatchGenerator), 1);
    }

private:
    // The loop's starting state as the phase sets it: levels full, the
    // transform from the display's measured primaries.
    static void prepare_levels(run_fixture &f)
    {
        for (int c = 0; c < 3; ++c) {
            f.calibration.channel(c).maximum = kLevelMaximum;
            f.calibration.channel(c).value = kLevelMaximum;
        }
        f.calibration.ResetAdjustCounters();
        f.calibration.ComputeStepSizes();
        QVERIFY(f.calibration.SetTransform(CCIEYxy(95.0, 0.64, 0.33).ToXYZ(), CCIEYxy(310.0, 0.295, 0.615).ToXYZ(),
                                           CCIEYxy(45.0, 0.15, 0.055).ToXYZ()));
    }

    static RGBTriple aim_rgb(run_fixture &)
    {
        CXYZ2RGBTransform transform;
        transform.SetPrimaries(CCIEYxy(95.0, 0.64, 0.33).ToXYZ(), CCIEYxy(310.0, 0.295, 0.615).ToXYZ(),
                               CCIEYxy(45.0, 0.15, 0.055).ToXYZ());
        return transform.xyYToRGB(xyYTriple {0.3127, 0.3290, 300.0});
    }
};

QTEST_GUILESS_MAIN(tst_calibration_object)
#include "tst_calibration_object.moc"
