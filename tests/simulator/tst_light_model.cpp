// The light model driven directly through the video state: what an
// instrument would measure on a simulated panel.
#include "simulator/sim_light_model.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

using reading = light_channel::light_reading;

// The model reproduces the panel's figures by construction; only rounding
// separates them.
constexpr double kExact = 1e-9;

sim_chromaticity xy_of(const reading &r)
{
    const double sum = r.X + r.Y + r.Z;
    return {r.X / sum, r.Y / sum};
}

reading minus(const reading &a, const reading &b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

reading scaled(const reading &a, double f)
{
    return {a.X * f, a.Y * f, a.Z * f};
}

bool near(double a, double b, double relative)
{
    return std::abs(a - b) <= relative * std::max({std::abs(a), std::abs(b), 1e-12});
}

bool near(const reading &a, const reading &b, double relative = kExact)
{
    return near(a.X, b.X, relative) && near(a.Y, b.Y, relative) && near(a.Z, b.Z, relative);
}

QByteArray text(const reading &r)
{
    return QByteArray::number(r.X, 'g', 12) + ' ' + QByteArray::number(r.Y, 'g', 12) + ' ' + QByteArray::number(r.Z, 'g', 12);
}

sim_video_state input(double r, double g, double b)
{
    sim_video_state s;
    s.input_level = {{r, g, b}};
    return s;
}

sim_video_state grey(double level)
{
    return input(level, level, level);
}

sim_panel varied(quint64 seed, double spread = 1.0)
{
    return sim_panel::with_imperfections(sim_panel::nominal(), seed, spread);
}

std::vector<double> identity_table(int entries)
{
    std::vector<double> table;
    for (int i = 0; i < entries; ++i)
        table.push_back(static_cast<double>(i) / (entries - 1));
    return table;
}

} // namespace

Q_DECLARE_METATYPE(sim_panel)
Q_DECLARE_METATYPE(std::vector<double>)

class tst_light_model : public QObject
{
    Q_OBJECT

private slots:
    void white_black_and_primaries_match_the_panel_data()
    {
        QTest::addColumn<sim_panel>("panel");
        QTest::newRow("nominal") << sim_panel::nominal();
        QTest::newRow("seed 1") << varied(1);
        QTest::newRow("seed 2") << varied(2);
        QTest::newRow("seed 99, spread 3") << varied(99, 3.0);
    }

    void white_black_and_primaries_match_the_panel()
    {
        QFETCH(sim_panel, panel);
        const sim_light_model model(QStringLiteral("k"), panel);
        const reading white = model.light(grey(1.0));
        const reading black = model.light(grey(0.0));
        QVERIFY(near(white.Y, panel.max_luminance, kExact));
        QVERIFY(near(xy_of(white).x, panel.white.x, kExact));
        QVERIFY(near(xy_of(white).y, panel.white.y, kExact));
        QVERIFY(near(black.Y, panel.black_luminance, kExact));
        QVERIFY(near(xy_of(black).x, panel.black.x, kExact));
        QVERIFY(near(xy_of(black).y, panel.black.y, kExact));
        for (int c = 0; c < 3; ++c) {
            std::array<double, 3> level {{0.0, 0.0, 0.0}};
            level[static_cast<std::size_t>(c)] = 1.0;
            const reading primary = minus(model.light(input(level[0], level[1], level[2])), black);
            QVERIFY(primary.Y > 0.0);
            QVERIFY(near(xy_of(primary).x, panel.primaries[static_cast<std::size_t>(c)].x, kExact));
            QVERIFY(near(xy_of(primary).y, panel.primaries[static_cast<std::size_t>(c)].y, kExact));
        }
    }

    // Not an ideal power law: the toe lifts the darkest steps, the shoulder
    // flattens the top (the last steps add less light).
    void greyscale_is_not_an_ideal_gamma()
    {
        const sim_panel panel = sim_panel::nominal();
        const sim_light_model model(QStringLiteral("k"), panel);
        const double black = model.light(grey(0.0)).Y;
        const double span = model.light(grey(1.0)).Y - black;
        double previous = -1.0;
        for (int step = 0; step <= 100; ++step) {
            const double y = (model.light(grey(step / 100.0)).Y - black) / span;
            QVERIFY(y > previous);
            previous = y;
        }
        const double gamma = panel.response[1].gamma;
        // The nominal toe gives half as much light again at 5 % drive; the
        // nominal shoulder leaves 6 % less of the last step at 95 %.
        QVERIFY((model.light(grey(0.05)).Y - black) / span > 1.3 * std::pow(0.05, gamma));
        QVERIFY(1.0 - (model.light(grey(0.95)).Y - black) / span < 0.97 * (1.0 - std::pow(0.95, gamma)));
    }

    void channel_response_ends_are_fixed_data()
    {
        QTest::addColumn<double>("gamma");
        QTest::addColumn<double>("toe");
        QTest::addColumn<double>("shoulder");
        QTest::newRow("plain power law") << 2.2 << 0.0 << 0.0;
        QTest::newRow("toe and shoulder") << 2.4 << 0.02 << 0.1;
        QTest::newRow("linear") << 1.0 << 0.0 << 0.0;
    }

    void channel_response_ends_are_fixed()
    {
        QFETCH(double, gamma);
        QFETCH(double, toe);
        QFETCH(double, shoulder);
        const sim_channel_response r {gamma, toe, shoulder};
        QCOMPARE(r.light(0.0), 0.0);
        QVERIFY(near(r.light(1.0), 1.0, kExact));
        QCOMPARE(r.light(-0.5), 0.0);
        QVERIFY(near(r.light(1.5), 1.0, kExact));
        QCOMPARE(r.light(std::numeric_limits<double>::quiet_NaN()), 0.0);
    }

    void backlight_scales_all_light()
    {
        const sim_light_model model(QStringLiteral("k"), varied(4));
        for (double level : {0.0, 0.4, 1.0}) {
            sim_video_state dimmed = grey(level);
            dimmed.backlight = 0.37;
            QVERIFY2(near(model.light(dimmed), scaled(model.light(grey(level)), 0.37)), text(model.light(dimmed)));
        }
    }

    // Gains scale the drive of their channel, before the panel's response.
    void gains_scale_the_drive_of_their_channel()
    {
        const sim_panel panel = varied(5);
        const sim_light_model model(QStringLiteral("k"), panel);
        const reading black = model.light(grey(0.0));
        const reading red = minus(model.light(input(1, 0, 0)), black);
        sim_video_state half_red = grey(1.0);
        half_red.gain[0] = 0.5;
        sim_video_state no_red = grey(1.0);
        no_red.gain[0] = 0.0;
        QVERIFY(near(model.light(no_red), model.light(input(0, 1, 1))));
        QVERIFY(near(minus(model.light(half_red), model.light(no_red)), scaled(red, panel.response[0].light(0.5))));
        sim_video_state all_half = grey(1.0);
        all_half.gain = {{0.5, 0.5, 0.5}};
        QVERIFY(near(model.light(all_half), model.light(grey(0.5))));
    }

    void offsets_lift_the_drive()
    {
        const sim_light_model model(QStringLiteral("k"), varied(6));
        sim_video_state lifted = grey(0.0);
        lifted.offset = {{0.1, 0.1, 0.1}};
        QVERIFY(near(model.light(lifted), model.light(grey(0.1))));
        lifted.offset = {{-0.2, -0.2, -0.2}};
        QVERIFY(near(model.light(lifted), model.light(grey(0.0))));
    }

    void lookup_table_applies_to_the_input_only()
    {
        const sim_light_model model(QStringLiteral("k"), varied(7));
        sim_video_state state = grey(1.0);
        state.lut.fill({0.5, 0.5});
        QVERIFY(near(model.light(state), model.light(grey(0.5))));
        // The internal patch generator bypasses the table.
        state.patch_on = true;
        state.patch_level = {{1.0, 1.0, 1.0}};
        QVERIFY(near(model.light(state), model.light(grey(1.0))));
        state.patch_level = {{0.3, 0.6, 0.9}};
        QVERIFY(near(model.light(state), model.light(input(0.3, 0.6, 0.9))));
    }

    void lookup_table_is_read_between_entries_data()
    {
        QTest::addColumn<std::vector<double>>("table");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("expected");
        QTest::newRow("identity of 256") << identity_table(256) << 0.3 << 0.3;
        QTest::newRow("identity of 2") << identity_table(2) << 0.77 << 0.77;
        QTest::newRow("between entries") << std::vector<double> {0.0, 0.2, 1.0} << 0.25 << 0.1;
        QTest::newRow("last entry") << std::vector<double> {0.0, 0.2, 0.9} << 1.0 << 0.9;
        QTest::newRow("one entry") << std::vector<double> {0.4} << 0.9 << 0.4;
        QTest::newRow("entries clamped") << std::vector<double> {-1.0, 2.0} << 1.0 << 1.0;
        QTest::newRow("entry not a number")
            << std::vector<double> {std::numeric_limits<double>::quiet_NaN(), 1.0} << 0.0 << 0.0;
    }

    void lookup_table_is_read_between_entries()
    {
        QFETCH(std::vector<double>, table);
        QFETCH(double, level);
        QFETCH(double, expected);
        const sim_light_model model(QStringLiteral("k"), varied(8));
        sim_video_state state = grey(level);
        state.lut.fill(table);
        QVERIFY2(near(model.light(state), model.light(grey(expected))), text(model.light(state)));
    }

    void one_channel_table_leaves_the_others()
    {
        const sim_light_model model(QStringLiteral("k"), varied(9));
        sim_video_state state = grey(1.0);
        state.lut[0] = {0.0, 0.0};
        QVERIFY(near(model.light(state), model.light(input(0, 1, 1))));
    }

    void power_off_is_dark_and_bad_values_stay_finite()
    {
        const sim_light_model model(QStringLiteral("k"), varied(10));
        sim_video_state off = grey(1.0);
        off.power_on = false;
        const reading dark = model.light(off);
        QCOMPARE(dark.Y, 0.0);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        sim_video_state bad = input(nan, 2.0, -1.0);
        bad.gain = {{nan, std::numeric_limits<double>::infinity(), 1.0}};
        bad.offset = {{nan, 0.0, 0.0}};
        bad.backlight = nan;
        const reading r = model.light(bad);
        QVERIFY(std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Z));
    }

    void seeds_reproduce_and_displays_differ()
    {
        const quint64 a = sim_panel::display_seed(5, QStringLiteral("127.0.41.1/1"));
        QCOMPARE(a, sim_panel::display_seed(5, QStringLiteral("127.0.41.1/1")));
        QVERIFY(a != sim_panel::display_seed(5, QStringLiteral("127.0.41.2/1")));
        QVERIFY(a != sim_panel::display_seed(6, QStringLiteral("127.0.41.1/1")));
        const sim_light_model first(QStringLiteral("k"), varied(a));
        const sim_light_model again(QStringLiteral("k"), varied(a));
        const sim_light_model other(QStringLiteral("k"), varied(a + 1));
        for (double level : {0.0, 0.5, 1.0}) {
            QCOMPARE(text(first.light(grey(level))), text(again.light(grey(level))));
            QVERIFY(text(first.light(grey(level))) != text(other.light(grey(level))));
        }
        // The sequence is our own: a seed gives this panel on every platform.
        QCOMPARE(QByteArray::number(varied(42).max_luminance, 'f', 6), QByteArray("438.475035"));
    }

    void no_spread_is_the_nominal_panel()
    {
        const sim_light_model nominal(QStringLiteral("k"), sim_panel::nominal());
        const sim_light_model flat(QStringLiteral("k"), varied(123, 0.0));
        QVERIFY(near(nominal.light(grey(0.6)), flat.light(grey(0.6))));
    }

    // Every deviation stays within its amplitude at spread 1.
    void deviations_stay_plausible()
    {
        const sim_panel n = sim_panel::nominal();
        for (quint64 seed = 0; seed < 200; ++seed) {
            const sim_panel p = varied(seed);
            QVERIFY(std::abs(p.white.x - n.white.x) <= 0.010 && std::abs(p.white.y - n.white.y) <= 0.010);
            QVERIFY(std::abs(p.max_luminance / n.max_luminance - 1.0) <= 0.08);
            QVERIFY(std::abs(p.black_luminance / n.black_luminance - 1.0) <= 0.25);
            for (std::size_t c = 0; c < 3; ++c) {
                QVERIFY(std::abs(p.primaries[c].x - n.primaries[c].x) <= 0.006);
                QVERIFY(std::abs(p.response[c].gamma - n.response[c].gamma) <= 0.12);
                QVERIFY(p.response[c].toe >= 0.0 && p.response[c].shoulder >= 0.0);
            }
        }
    }

    void observer_follows_changes_and_publishes_when_asked()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        light_channel::set_channel_folder(folder.path());
        const QString key = QStringLiteral("127.0.41.200/2");
        sim_light_model model(key, varied(11));
        sim_video_observer &observer = model;
        observer.video_changed(grey(0.5), true);
        QVERIFY(near(model.current_light(), model.light(grey(0.5))));
        QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
        model.set_publishing(true);
        reading published;
        QVERIFY(light_channel::read_light(key, &published));
        QVERIFY(near(published, model.light(grey(0.5))));
        observer.video_changed(grey(1.0), true);
        QVERIFY(light_channel::read_light(key, &published));
        QVERIFY(near(published, model.light(grey(1.0))));
        QCOMPARE(light_channel::active_display(), key);
        // A new panel changes the light of the same state.
        model.set_panel(varied(12));
        QVERIFY(light_channel::read_light(key, &published));
        QVERIFY(near(published, model.light(grey(1.0))));
        QVERIFY(!near(published, sim_light_model(key, varied(11)).light(grey(1.0))));
    }
};

QTEST_APPLESS_MAIN(tst_light_model)
#include "tst_light_model.moc"
