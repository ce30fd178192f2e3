// The internal calibration engine's white, black and tone curve: the balance
// it computes for a panel, and a simulated display's engine driven through
// its controls, with the history its procedures leave.
#include "simulator/sim_display.h"
#include "simulator/sim_light_model.h"
#include "simulator/sim_white_balance.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

using reading = light_channel::light_reading;

const QByteArray kEngineModel = "VW-5540QE";
// The engine's gains are 10-bit registers: their rounding leaves the white
// of these panels up to about 0.00035 from its target in x and y (found
// over thousands of seeds and spreads up to 3).
constexpr double kWhiteTolerance = 0.0005;
// The backlight is continuous; only the gains' rounding is left between
// the engine's prediction and the light (well under 0.1 %).
constexpr double kLuminanceTolerance = 0.002;

// Targets as the engine's controls hold them, in thousandths.
const sim_chromaticity kD65 {0.313, 0.329};
const sim_chromaticity kD50 {0.346, 0.359};
const sim_chromaticity k9300 {0.283, 0.297};

sim_chromaticity xy_of(const reading &r)
{
    const double sum = r.X + r.Y + r.Z;
    return {r.X / sum, r.Y / sum};
}

double xy_error(const reading &r, const sim_chromaticity &target)
{
    const sim_chromaticity c = xy_of(r);
    return std::max(std::abs(c.x - target.x), std::abs(c.y - target.y));
}

sim_panel varied(quint64 seed, double spread = 1.0)
{
    return sim_panel::with_imperfections(sim_panel::nominal(), seed, spread);
}

// Full white through the engine's balance on |panel|.
reading white_of(const sim_panel &panel, const sim_white_balance &balance)
{
    sim_video_state state;
    state.engine_gain = balance.gain;
    state.backlight = balance.backlight;
    return sim_light_model(QString(), panel).light(state);
}

// Grey |level| through the engine's balance on |panel|.
reading grey_of(const sim_panel &panel, const sim_white_balance &balance, double level)
{
    sim_video_state state;
    state.engine_gain = balance.gain;
    state.backlight = balance.backlight;
    state.engine_black_lift = balance.black_lift;
    state.patch_on = true;
    state.patch_level = {{level, level, level}};
    return sim_light_model(QString(), panel).light(state);
}

QByteArray hex(int value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// A display of the engine model whose light model and engine see |panel|.
struct engine_display
{
    explicit engine_display(const sim_panel &panel) : light(QStringLiteral("test/1"), panel)
    {
        ok = display.apply_model(kEngineModel);
        display.video_observer = &light;
        display.engine.panel = &light.panel();
        display.engine.config.start_polls = 0;
        display.publish_video();
    }

    bool write(int code, int value)
    {
        return display.handle('E', hex(code, 4) + hex(value, 4)).body().startsWith("00");
    }
    int read(int code)
    {
        const QByteArray body = display.handle('C', hex(code, 4)).body();
        // Result, code, type, maximum, then the current value.
        return body.startsWith("00") ? body.mid(12, 4).toInt(nullptr, 16) : -1;
    }
    void set_white_target(const sim_chromaticity &xy, int luminance)
    {
        write(0x1052, qRound(xy.x * 1000));
        write(0x1053, qRound(xy.y * 1000));
        write(0x2B3, luminance);
    }
    // Runs an update calibration; |stop_at| > 0 stops it at that measurement.
    bool update_calibration(int stop_at = 0) { return run_procedure(10, stop_at); }

    // Runs |procedure| (10 update, 12 measurement, 13 reset) to its end, or
    // stops it at measurement |stop_at| > 0.
    bool run_procedure(int procedure, int stop_at = 0)
    {
        if (!write(0x1017, procedure) || !write(0x1018, 1))
            return false;
        for (int poll = 0, measured = 0; poll < 100; ++poll) {
            switch (read(0x1018)) {
            case 6:
                if (++measured == stop_at)
                    return write(0x1018, 2);
                display.handle('A', "C258" + hex(100, 8) + hex(100, 8) + hex(100, 8));
                write(0x1018, 1);
                break;
            case 4:
                write(0x1018, 1);
                break;
            case 7:
                return write(0x1018, 1) && read(0x2AA) == 1 && write(0x1017, 0);
            default:
                break;
            }
        }
        return false;
    }

    // The share of the way from black to white that input level |v| gives,
    // in luminance.
    double input_share(double v)
    {
        const auto luminance = [this](double level) {
            display.video.input_level = {{level, level, level}};
            display.publish_video();
            return light.current_light().Y;
        };
        const double black = luminance(0.0), white = luminance(1.0);
        return (luminance(v) - black) / (white - black);
    }

    // The engine's own patch generator showing grey |level| (of 1023).
    reading engine_patch(int level)
    {
        write(0x1192, level);
        write(0x1193, level);
        write(0x1194, level);
        write(0x2C8, 2);
        return light.current_light();
    }

    sim_light_model light;
    sim_display display;
    bool ok = false;
};

} // namespace

Q_DECLARE_METATYPE(sim_panel)
Q_DECLARE_METATYPE(sim_chromaticity)
Q_DECLARE_METATYPE(sim_channel_response)

class tst_engine_white : public QObject
{
    Q_OBJECT

private slots:
    void response_inverse_data()
    {
        QTest::addColumn<sim_channel_response>("response");
        QTest::newRow("power law") << sim_channel_response {2.2, 0.0, 0.0};
        QTest::newRow("toe and shoulder") << sim_channel_response {2.4, 0.02, 0.1};
        QTest::newRow("steep") << sim_channel_response {3.0, 0.001, 0.0};
        QTest::newRow("linear") << sim_channel_response {1.0, 0.0, 0.0};
    }

    void response_inverse()
    {
        QFETCH(sim_channel_response, response);
        for (int i = 0; i <= 40; ++i) {
            const double drive = i / 40.0;
            // A closed-form inverse: only rounding separates the round trip.
            QVERIFY2(std::abs(response.drive_for(response.light(drive)) - drive) < 1e-9, qPrintable(QString::number(drive)));
        }
        QCOMPARE(response.drive_for(2.0), 1.0);
        QCOMPARE(response.drive_for(-0.5), 0.0);
        QCOMPARE(response.drive_for(std::numeric_limits<double>::quiet_NaN()), 0.0);
    }

    void balance_reaches_the_target_data()
    {
        QTest::addColumn<sim_panel>("panel");
        QTest::addColumn<sim_chromaticity>("target");
        QTest::addColumn<double>("luminance");
        for (const auto &[name, panel] : {std::pair {"design", sim_panel::nominal()}, std::pair {"seed 11", varied(11)},
                                          std::pair {"seed 12, bad batch", varied(12, 3.0)}}) {
            QTest::addRow("%s, D65", name) << panel << kD65 << 200.0;
            QTest::addRow("%s, D50", name) << panel << kD50 << 120.0;
            QTest::addRow("%s, 9300 K", name) << panel << k9300 << 220.0;
            QTest::addRow("%s, native", name) << panel << panel.white << 250.0;
        }
    }

    void balance_reaches_the_target()
    {
        QFETCH(sim_panel, panel);
        QFETCH(sim_chromaticity, target);
        QFETCH(double, luminance);
        const sim_white_balance balance = sim_white_balance::for_target(panel, target, luminance);
        const reading white = white_of(panel, balance);
        // Every row's luminance is within the panel's reach.
        QVERIFY(balance.backlight < 1.0);
        QVERIFY2(xy_error(white, target) < kWhiteTolerance, qPrintable(QString::number(xy_error(white, target))));
        QVERIFY(std::abs(white.Y - luminance) < kLuminanceTolerance * luminance);
        // The brightest such white: one channel is fully open.
        QCOMPARE(*std::max_element(balance.gain.begin(), balance.gain.end()), 1.0);
        for (double g : balance.gain)
            QCOMPARE(std::round(g * sim_white_balance::kGainSteps), g * sim_white_balance::kGainSteps);
    }

    void balance_of_targets_out_of_reach()
    {
        const sim_panel panel = sim_panel::nominal();
        // Brighter than the panel: the backlight stays full.
        const sim_white_balance bright = sim_white_balance::for_target(panel, kD65, 5000.0);
        QCOMPARE(bright.backlight, 1.0);
        QVERIFY(white_of(panel, bright).Y < panel.max_luminance);
        // Outside the primaries: as near as they allow, the drives stay valid.
        const sim_white_balance outside = sim_white_balance::for_target(panel, {0.72, 0.27}, 100.0);
        for (double g : outside.gain)
            QVERIFY(g >= 0.0 && g <= 1.0);
        QVERIFY(xy_of(white_of(panel, outside)).x > 0.6);
        // No chromaticity at all: the native white.
        const sim_white_balance none = sim_white_balance::for_target(panel, {0.3, 0.0}, 100.0);
        QCOMPARE(none.gain, (std::array<double, 3> {{1.0, 1.0, 1.0}}));
        QVERIFY(std::abs(white_of(panel, none).Y - 100.0) < 1e-9);
        const sim_white_balance dark = sim_white_balance::for_target(panel, kD65, 0.0);
        QCOMPARE(dark.backlight, 0.0);
    }

    // Until it has calibrated, the engine balances for the design panel and
    // misses the target by the display's own deviations; a finished update
    // calibration takes the display's panel in and lands on the target.
    void update_calibration_brings_white_to_the_target()
    {
        // A seed whose panel is far enough from the design to see the difference.
        const sim_panel panel = varied(21);
        engine_display d(panel);
        QVERIFY(d.ok);
        QVERIFY(d.write(0x1147, 2));
        d.set_white_target(kD65, 180);
        const reading before = d.light.current_light();
        QVERIFY2(xy_error(before, kD65) > 4 * kWhiteTolerance, qPrintable(QString::number(xy_error(before, kD65))));
        QCOMPARE(d.display.video.engine_gain,
                 sim_white_balance::for_target(sim_panel::nominal(), kD65, 180).gain);

        QVERIFY(d.update_calibration());
        const reading after = d.light.current_light();
        QVERIFY2(xy_error(after, kD65) < kWhiteTolerance, qPrintable(QString::number(xy_error(after, kD65))));
        QVERIFY(std::abs(after.Y - 180.0) < kLuminanceTolerance * 180.0);

        // The test patch passes through the engine's gains too.
        QVERIFY(d.write(0x2C8, 2));
        QVERIFY(xy_error(d.light.current_light(), kD65) < kWhiteTolerance);
        QVERIFY(d.write(0x2C8, 1));

        // New targets are followed at once with what the engine now knows.
        d.set_white_target(kD50, 120);
        QVERIFY(xy_error(d.light.current_light(), kD50) < kWhiteTolerance);
        QVERIFY(std::abs(d.light.current_light().Y - 120.0) < kLuminanceTolerance * 120.0);

        // Engine off: native white, the brightness control sets the backlight.
        QVERIFY(d.write(0x1147, 1));
        QCOMPARE(d.display.video.engine_gain, (std::array<double, 3> {{1.0, 1.0, 1.0}}));
        QCOMPARE(d.display.video.backlight, 0.8);
        QVERIFY(xy_error(d.light.current_light(), panel.white) < 1e-9);
    }

    void black_lift_reaches_the_target_data()
    {
        QTest::addColumn<sim_panel>("panel");
        QTest::addColumn<double>("black");
        for (const auto &[name, panel] : {std::pair {"design", sim_panel::nominal()}, std::pair {"seed 11", varied(11)},
                                          std::pair {"seed 12, bad batch", varied(12, 3.0)}}) {
            QTest::addRow("%s, 0.5 cd/m2", name) << panel << 0.5;
            QTest::addRow("%s, 2 cd/m2", name) << panel << 2.0;
            QTest::addRow("%s, 10 cd/m2", name) << panel << 10.0;
        }
    }

    // The lift raises black to its target with light of the white's mix,
    // and leaves white alone.
    void black_lift_reaches_the_target()
    {
        QFETCH(sim_panel, panel);
        QFETCH(double, black);
        const sim_white_balance plain = sim_white_balance::for_target(panel, kD65, 200.0);
        const sim_white_balance lifted = sim_white_balance::for_target(panel, kD65, 200.0, black);
        const reading own = grey_of(panel, plain, 0.0);
        const reading white = grey_of(panel, plain, 1.0);
        // Every row's target is above the panel's dimmed black.
        QVERIFY(own.Y < black);
        for (double lift : lifted.black_lift)
            QVERIFY(lift > 0.0 && lift < 1.0);
        // Black lies on the straight line from the panel's own black to the
        // white. The response's closed-form inverse leaves only rounding
        // (far below a millionth of a cd/m²).
        const reading dark = grey_of(panel, lifted, 0.0);
        const double k = (black - own.Y) / (white.Y - own.Y);
        QVERIFY2(std::abs(dark.Y - black) < 1e-9, qPrintable(QString::number(dark.Y)));
        QVERIFY(std::abs(dark.X - (own.X + k * (white.X - own.X))) < 1e-9);
        QVERIFY(std::abs(dark.Z - (own.Z + k * (white.Z - own.Z))) < 1e-9);
        // Full level stays where it was; grey only rises.
        QVERIFY(std::abs(grey_of(panel, lifted, 1.0).Y - white.Y) < 1e-9);
        QVERIFY(std::abs(grey_of(panel, lifted, 1.0).X - white.X) < 1e-9);
        QVERIFY(grey_of(panel, lifted, 0.5).Y > grey_of(panel, plain, 0.5).Y);
        QCOMPARE(lifted.gain, plain.gain);
        QCOMPARE(lifted.backlight, plain.backlight);
    }

    void black_lift_out_of_reach()
    {
        const sim_panel panel = sim_panel::nominal();
        const std::array<double, 3> none {{0.0, 0.0, 0.0}};
        // No darker than the panel's own black, no brighter than the white.
        QCOMPARE(sim_white_balance::for_target(panel, kD65, 200.0, 0.0).black_lift, none);
        QCOMPARE(sim_white_balance::for_target(panel, kD65, 200.0, 0.01).black_lift, none);
        QCOMPARE(sim_white_balance::for_target(panel, kD65, 200.0, std::numeric_limits<double>::quiet_NaN()).black_lift,
                 none);
        const sim_white_balance bright = sim_white_balance::for_target(panel, kD65, 200.0, 250.0);
        // The inverse round trip leaves only rounding.
        for (double lift : bright.black_lift)
            QVERIFY(std::abs(lift - 1.0) < 1e-9);
        QVERIFY(std::abs(grey_of(panel, bright, 0.0).Y - 200.0) < kLuminanceTolerance * 200.0);
        // A dark backlight leaves nothing to lift.
        QCOMPARE(sim_white_balance::for_target(panel, kD65, 0.0, 1.0).black_lift, none);
    }

    // The black-level control holds black in tenths of cd/m² while the engine
    // is on, as the engine knows the panel: the design panel until an update
    // calibration, then the display's own.
    void black_level_control_lifts_the_black()
    {
        const sim_panel panel = varied(21);
        engine_display d(panel);
        QVERIFY(d.ok);
        QVERIFY(d.write(0x1147, 2));
        d.set_white_target(kD65, 180);
        const double own_black = d.engine_patch(0).Y;
        QVERIFY(own_black > 0.0 && own_black < 0.2);

        QVERIFY(d.write(0x1054, 20));
        const double trusted = d.engine_patch(0).Y;
        // The design panel's black and white are not this display's: a miss
        // of a few per cent that the controller's measurements must correct.
        QVERIFY2(std::abs(trusted - 2.0) < 0.2, qPrintable(QString::number(trusted)));

        QVERIFY(d.update_calibration());
        // Now on the display's own panel: as exact as the lift's search.
        QVERIFY2(std::abs(d.engine_patch(0).Y - 2.0) < 1e-6, qPrintable(QString::number(d.engine_patch(0).Y)));
        QVERIFY(d.write(0x1054, 100));
        QVERIFY(std::abs(d.engine_patch(0).Y - 10.0) < 1e-6);
        // White keeps its target luminance whatever the black.
        QVERIFY(std::abs(d.engine_patch(1023).Y - 180.0) < kLuminanceTolerance * 180.0);
        // A target below the panel's own black leaves that black.
        QVERIFY(d.write(0x1054, 0));
        QVERIFY(std::abs(d.engine_patch(0).Y - panel.black_luminance * d.display.video.backlight) < 1e-12);

        // The control belongs to the engine: off, the plain patch's black is
        // the panel's own at the brightness's backlight (80 %).
        QVERIFY(d.write(0x1054, 50));
        QVERIFY(d.write(0x2C8, 1));
        QVERIFY(d.write(0x1147, 1));
        for (int code : {0x103A, 0x103B, 0x103C})
            QVERIFY(d.write(code, 0));
        QVERIFY(d.write(0x2C3, 2));
        // Only the floating products' rounding separates the two.
        QVERIFY(std::abs(d.light.current_light().Y - panel.black_luminance * 0.8) < 1e-12);
    }

    // The display reports its own panel's white and primaries as its native gamut.
    void native_gamut_is_the_panel()
    {
        engine_display d(varied(21));
        QVERIFY(d.ok);
        const sim_panel &panel = d.light.panel();
        for (int i = 0; i < 6; ++i) {
            const double primary = (i % 2 ? panel.primaries[i / 2].y : panel.primaries[i / 2].x) * 1000.0;
            // Whole thousandths: within half of one (and a margin for the binary representation).
            QVERIFY2(std::abs(d.read(0x10FA + i) - primary) <= 0.5 + 1e-9, qPrintable(QString::number(i)));
        }
        // And its own white, just before.
        QVERIFY(std::abs(d.read(0x10F8) - panel.white.x * 1000.0) <= 0.5 + 1e-9);
        QVERIFY(std::abs(d.read(0x10F9) - panel.white.y * 1000.0) <= 0.5 + 1e-9);
        // Unlike the design values, so the deviations are seen.
        QVERIFY(d.read(0x10FA) != 640 || d.read(0x10FB) != 330);
        // Read-only, and a display on its own reports the design panel.
        QVERIFY(!d.write(0x10FA, 700));
        sim_display alone;
        QVERIFY(alone.apply_model(kEngineModel));
        QCOMPARE(alone.handle('C', hex(0x10FD, 4)).body().mid(12, 4), hex(615, 4));
    }

    // With the engine on, the colour mode picks the tone curve it realises:
    // light runs from the black it holds to its white along the curve,
    // whatever the panel's own response. References from the curves'
    // published formulas; DICOM from 0.5 to 200 cd/m².
    void tone_curve_follows_the_colour_mode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("gamma");   // 0x2E8
        QTest::addColumn<quint64>("seed");   // 0: the design panel
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("share");
        QTest::newRow("gamma 2.2") << 9 << 170 << quint64(0) << 0.5 << 0.217637641;
        QTest::newRow("gamma 2.4") << 9 << 190 << quint64(0) << 0.25 << 0.035896824;
        QTest::newRow("gamma 2.2, imperfect panel") << 9 << 170 << quint64(31) << 0.75 << 0.531049225;
        QTest::newRow("sRGB") << 11 << 170 << quint64(0) << 0.5 << 0.214041140;
        QTest::newRow("L*") << 12 << 170 << quint64(0) << 0.75 << 0.482781044;
        QTest::newRow("DICOM, low") << 5 << 170 << quint64(0) << 0.25 << 0.028802070;
        QTest::newRow("DICOM, mid") << 5 << 170 << quint64(0) << 0.5 << 0.125350153;
    }

    void tone_curve_follows_the_colour_mode()
    {
        QFETCH(int, mode);
        QFETCH(int, gamma);
        QFETCH(quint64, seed);
        QFETCH(double, level);
        QFETCH(double, share);
        engine_display d(seed ? varied(seed) : sim_panel::nominal());
        QVERIFY(d.ok);
        QVERIFY(d.write(0x1147, 2));
        d.set_white_target(kD65, 200);
        QVERIFY(d.write(0x1054, 5));
        QVERIFY(d.write(0x2E8, gamma));
        QVERIFY(d.write(0x268, mode));
        // The panel's responses are known exactly: only floating rounding is left.
        QVERIFY2(std::abs(d.input_share(level) - share) < 1e-6, qPrintable(QString::number(d.input_share(level))));
        if (seed == 0 && mode == 5) {
            // The black and white the curve runs between, as held.
            QVERIFY(std::abs(d.input_share(1.0) - 1.0) < 1e-12);
            QVERIFY(std::abs(d.light.current_light().Y - 200.0) < 1e-6);
            QCOMPARE(d.read(0x2B4), 200);
        }
    }

    // The engine's patch generator follows the curve too; mode 6 makes the
    // active table the curve; off, or in another mode, the engine leaves the
    // panel's own response alone.
    void tone_curve_of_patch_table_and_other_modes()
    {
        engine_display d(sim_panel::nominal());
        QVERIFY(d.ok);
        QVERIFY(d.write(0x1147, 2));
        d.set_white_target(kD65, 200);
        QVERIFY(d.write(0x2E8, 170));
        QVERIFY(d.write(0x268, 9));
        const double black = d.engine_patch(0).Y, white = d.engine_patch(1023).Y;
        const double patch_share = (d.engine_patch(512).Y - black) / (white - black);
        QVERIFY(std::abs(patch_share - std::pow(512.0 / 1023.0, 2.2)) < 1e-6);
        QVERIFY(d.write(0x2C8, 1));

        // A short table of v³ in 16-bit entries; read with straight lines
        // between entries 1/255 apart, which leaves under 1e-4 at level 0.5.
        QVERIFY(d.write(0x2F9, 1));
        for (int channel = 0; channel < 3; ++channel) {
            for (int block = 0; block < 256; block += 16) {
                QByteArray body = "C20B" + hex(channel * 256 + block, 4);
                for (int i = block; i < block + 16; ++i)
                    body += hex(qRound(65535.0 * std::pow(i / 255.0, 3.0)), 4);
                QVERIFY(d.display.handle('A', body).body().startsWith("C30B"));
            }
        }
        QVERIFY(d.display.handle('A', "C207").body().startsWith("00"));
        QVERIFY(d.write(0x268, 6));
        QVERIFY(std::abs(d.input_share(0.5) - 0.125) < 1e-4);

        // Mode 1 and engine off: the panel's own response, far from any of these.
        QVERIFY(d.write(0x268, 1));
        const double own = d.input_share(0.5);
        QVERIFY(std::abs(own - std::pow(0.5, 2.2)) > 0.005);
        QVERIFY(d.write(0x268, 9));
        QVERIFY(d.write(0x1147, 1));
        QVERIFY(std::abs(d.input_share(0.5) - std::pow(0.5, 2.2)) > 0.005);
    }

    // What the engine holds, and the luminance up to which the uniformity
    // level is fully applied.
    void held_luminance_and_uniformity_limit()
    {
        engine_display d(sim_panel::nominal());
        QVERIFY(d.ok);
        QVERIFY(d.write(0x1147, 2));
        d.set_white_target(kD65, 150);
        QCOMPARE(d.read(0x2B4), 150);
        const int full = d.read(0x106C);
        QVERIFY(full > 300 && full < 500);
        QVERIFY(d.write(0x2EE, 5));
        // Each level spends 6 % of the brightest white: 70 % is left at 5.
        QVERIFY(std::abs(d.read(0x106C) - 0.7 * full) <= 1.0);
        d.set_white_target(kD65, 490);
        QCOMPARE(d.read(0x2B4), full);   // no brighter than the panel allows
        QVERIFY(!d.write(0x2B4, 100));
    }

    // Each finished procedure adds its own entry, newest first, numbered
    // from 1: the reset as the factory calibration, the measurement as a
    // uniformity update with its grid, the update as a colour calibration
    // with the sensor texts the display was given.
    void history_entry_per_finished_procedure()
    {
        engine_display d(sim_panel::nominal());
        QVERIFY(d.ok);
        d.display.engine.config.positions = 2;
        QVERIFY(d.display.handle('A', "C256" + QByteArray("i1D3").toHex().toUpper() + QByteArray(24, '0')
                                          + QByteArray("A01234").toHex().toUpper() + QByteArray(20, '0'))
                    .body()
                    .startsWith("C35600"));
        QVERIFY(d.write(0x11C6, 0x0704));
        QVERIFY(d.run_procedure(10));
        QVERIFY(d.run_procedure(12));
        QVERIFY(d.run_procedure(13));
        QVERIFY(d.run_procedure(10, 1));   // stopped: no entry
        // Type, points across and down, and the first text of entries 1-3.
        const auto entry = [&](int number) {
            const QByteArray body = d.display.handle('A', "C25A" + hex(number, 2)).body();
            return QStringList {body.mid(6, 2), body.mid(52, 2), body.mid(80, 2), body.mid(82, 2),
                                QString::fromLatin1(QByteArray::fromHex(body.mid(54, 8)))};
        };
        QCOMPARE(entry(1), (QStringList {"0D", "02", "00", "00", QString()}));
        QCOMPARE(entry(2), (QStringList {"0C", "04", "07", "04", "i1D3"}));
        QCOMPARE(entry(3), (QStringList {"0A", "03", "00", "00", "i1D3"}));
        QCOMPARE(d.display.handle('A', "C25A04").body(), QByteArray("C35A0100"));
        QCOMPARE(d.display.handle('A', "C25A00").body(), QByteArray("C35A0100"));
    }

    void a_stopped_calibration_changes_nothing()
    {
        engine_display d(varied(21));
        QVERIFY(d.ok);
        QVERIFY(d.write(0x1147, 2));
        d.set_white_target(kD65, 180);
        const reading before = d.light.current_light();
        QVERIFY(d.update_calibration(2));
        QCOMPARE(d.read(0x2AA), 3);
        const reading after = d.light.current_light();
        QCOMPARE(after.X, before.X);
        QCOMPARE(after.Y, before.Y);
        // Other procedures measure but do not recalibrate.
        QVERIFY(d.write(0x1017, 12) && d.write(0x1018, 1));
        for (int i = 0; i < 50 && d.read(0x2AA) != 1; ++i) {
            const int state = d.read(0x1018);
            if (state == 6)
                d.display.handle('A', "C258" + hex(1, 8) + hex(1, 8) + hex(1, 8));
            else if (state == 7)
                d.write(0x1018, 1);
        }
        QCOMPARE(d.read(0x2AA), 1);
        QCOMPARE(d.light.current_light().X, before.X);
    }
};

QTEST_APPLESS_MAIN(tst_engine_white)
#include "tst_engine_white.moc"
