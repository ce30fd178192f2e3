// What basic_monitor writes into a simulated display reaches its light:
// uploaded lookup tables (both upload forms), gains and backlight, while the
// internal test-patch generator stays clear of the table.
#include "colour/CAdjustValue.h"
#include "colour/CSpline.h"
#include "colour/CTargetValue.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "simulator/light/light_channel.h"
#include "simulator/sim_light_model.h"
#include "tests/display_protocol/monitor_fixture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

using reading = light_channel::light_reading;

constexpr double kScale = 0.001;
// The display and the test run the same light model on the same panel and
// levels; only the rounding of the table position separates them.
constexpr double kSameModel = 1e-9;
// A table that does anything at all moves some reading by more than this.
constexpr double kVisible = 0.01;

enum class builder { calibration_record, direct, three_curves };
enum class form { c205, c20b };

bool near(double a, double b, double relative)
{
    return std::abs(a - b) <= relative * std::max({std::abs(a), std::abs(b), 1e-12});
}

bool near(const reading &a, const reading &b, double relative = kSameModel)
{
    return near(a.X, b.X, relative) && near(a.Y, b.Y, relative) && near(a.Z, b.Z, relative);
}

QByteArray text(const reading &r)
{
    return QByteArray::number(r.X, 'g', 12) + ' ' + QByteArray::number(r.Y, 'g', 12) + ' '
           + QByteArray::number(r.Z, 'g', 12);
}

CSpline gamma_curve(double gamma)
{
    CSpline curve;
    curve.Init(CSpline::kCatmullRom, 17, 0.0, 1.0);
    curve.SetGamma(gamma);
    return curve;
}

// Channels bent each its own way, so that a mix-up of channels shows.
QVector<int> direct_table(int entries, int max)
{
    QVector<int> table(entries);
    const int n = entries / 3;
    const double exponent[] = {0.6, 1.0, 1.7};
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < n; ++i)
            table[c * n + i] = static_cast<int>(std::floor(max * std::pow(i / double(n - 1), exponent[c]) + 0.5));
    }
    return table;
}

// The video state of the display as basic_monitor reads its controls, with
// the input shown straight (no table).
struct drive_reader
{
    explicit drive_reader(basic_monitor &monitor)
    {
        int v = 0, max = 0;
        ok = monitor.get_brightness(v, max) == 0 && max > 0;
        state.backlight = ok ? double(v) / max : 0.0;
        int (basic_monitor::*gains[])(int &, int &) = {&basic_monitor::get_video_gain_red,
                                                       &basic_monitor::get_video_gain_green,
                                                       &basic_monitor::get_video_gain_blue};
        for (int c = 0; c < 3; ++c) {
            ok = ok && (monitor.*gains[c])(v, max) == 0 && max > 0;
            state.gain[c] = ok ? double(v) / max : 0.0;
        }
    }

    sim_video_state state;
    bool ok = false;
};

} // namespace

Q_DECLARE_METATYPE(builder)
Q_DECLARE_METATYPE(form)

class tst_basic_monitor_light : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    // The wall's light and what the light channel carries for the display agree.
    static bool published_matches(monitor_fixture &m)
    {
        reading published;
        return light_channel::read_light(m.fx.wall.light_key(m.fx.display), &published)
               && near(published, m.fx.wall.light(m.fx.display), 0.0);
    }

    static reading expected(monitor_fixture &m, sim_video_state state)
    {
        return sim_light_model(QString(), m.fx.wall.panel(m.fx.display)).light(state);
    }

    static reading patch_light(monitor_fixture &m, const std::array<int, 3> &levels)
    {
        if (m.monitor.set_rgb_levels(levels[0], levels[1], levels[2], false) != 0
            || m.monitor.set_vcp_2c8_or_2c3(2, false) != 0)
            return {-1.0, -1.0, -1.0};
        const reading shown = m.fx.wall.light(m.fx.display);
        m.monitor.set_vcp_2c8_or_2c3(1, false);
        return shown;
    }

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init()
    {
        wait_service::set_time_scale(kScale);
        QVERIFY(m_folder.isValid());
        light_channel::set_channel_folder(m_folder.path());
        light_channel::clear_channel();
    }

    void uploaded_table_shapes_the_light_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<builder>("build");
        QTest::addColumn<form>("upload");
        QTest::addColumn<double>("full_scale");
        QTest::newRow("3072 entries, from a calibration record (C205)")
            << QByteArray("VW-5520L") << builder::calibration_record << form::c205 << 4095.0;
        QTest::newRow("3072 entries, default maximum, direct (C205)")
            << QByteArray("VW-4610C") << builder::direct << form::c205 << 4080.0;
        QTest::newRow("768 entries, direct (C205)") << QByteArray("VW-5540QE") << builder::direct << form::c205
                                                    << 1023.0;
        QTest::newRow("768 entries, from three curves (C20B)")
            << QByteArray("VW-5540QE") << builder::three_curves << form::c20b << 65535.0;
    }

    // The input passes through the table: at each entry the drive is that
    // entry over the table's full scale, between entries the straight line
    // between them. The test patch passes the table by.
    void uploaded_table_shapes_the_light()
    {
        QFETCH(QByteArray, model);
        QFETCH(builder, build);
        QFETCH(form, upload);
        QFETCH(double, full_scale);
        monitor_fixture m(loopback_block::address(1), model);
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_light_publishing(true);
        // Full, two thirds and a quarter of the model's own patch levels.
        m.monitor.detect_rgb_level_registers();
        int red = 0, green = 0, blue = 0, top = 0, green_top = 0, blue_top = 0;
        QCOMPARE(m.monitor.get_rgb_levels(red, green, blue, top, green_top, blue_top, false), 0);
        const std::array<int, 3> patch {{top, top * 2 / 3, top / 4}};
        const reading patch_before = patch_light(m, patch);

        int entries = 0, max = 0;
        QCOMPARE(m.monitor.get_lut_size(entries, max), 0);
        QVector<int> table;
        switch (build) {
        case builder::calibration_record: {
            CAdjustValue record;
            record.gain = {{1.0, 0.6, 0.3}};
            CTargetValue native;
            native.SetGammaType(CTargetValue::kGammaNative);
            QCOMPARE(m.monitor.build_lut_from_calibration(record, native, table), 0);
            break;
        }
        case builder::direct:
            table = direct_table(entries, max);
            break;
        case builder::three_curves:
            QCOMPARE(m.monitor.build_lut_from_curves(gamma_curve(0.8), gamma_curve(1.0), gamma_curve(1.3), table), 0);
            break;
        }
        if (upload == form::c205)
            QCOMPARE(m.monitor.upload_lut(table, 1), 0);
        else
            QCOMPARE(m.monitor.upload_lut_c20b(std::vector<int>(table.begin(), table.end())), 0);

        const drive_reader drive(m.monitor);
        QVERIFY(drive.ok);
        const int n = table.size() / 3;
        double largest_change = 0.0;
        for (int i : {0, 1, n / 4, n / 2, n - 2, n - 1}) {
            for (double between : {0.0, 0.5}) {
                if (i + between > n - 1)
                    continue;
                const double input = (i + between) / (n - 1);
                m.fx.wall.set_input_level(m.fx.display, {{input, input, input}});
                sim_video_state want = drive.state;
                sim_video_state straight = drive.state;
                for (int c = 0; c < 3; ++c) {
                    const int at = c * n + i;
                    const double entry = table[at] / full_scale;
                    const double next = between > 0.0 ? table[at + 1] / full_scale : entry;
                    want.input_level[c] = entry * (1.0 - between) + next * between;
                    straight.input_level[c] = input;
                }
                const reading shown = m.fx.wall.light(m.fx.display);
                QVERIFY2(near(shown, expected(m, want)),
                         qPrintable(QStringLiteral("input %1: %2 against %3")
                                        .arg(input)
                                        .arg(QString(text(shown)), QString(text(expected(m, want))))));
                const reading untouched = expected(m, straight);
                largest_change = std::max(largest_change, std::abs(shown.X - untouched.X) / std::max(untouched.X, 1e-9));
            }
        }
        QVERIFY2(largest_change > kVisible, qPrintable(QString::number(largest_change)));
        QVERIFY(published_matches(m));

        // The test patch: its levels over their maximum, no table.
        m.fx.wall.set_input_level(m.fx.display, {{1.0, 1.0, 1.0}});
        sim_video_state patch_state = drive.state;
        patch_state.patch_on = true;
        for (int c = 0; c < 3; ++c)
            patch_state.patch_level[c] = double(patch[c]) / top;
        const reading patch_after = patch_light(m, patch);
        QVERIFY(near(patch_after, expected(m, patch_state)));
        QVERIFY(near(patch_after, patch_before, 0.0));
    }

    // The table is shown only in the programmable colour modes; leaving
    // them shows the input straight again.
    void table_shows_in_programmable_modes_only()
    {
        monitor_fixture m(loopback_block::address(2), "VW-5520L");
        QVERIFY_FIXTURE(m);
        QVector<int> table;
        QCOMPARE(m.monitor.build_lut_from_calibration_ex(1, table), 0);
        QCOMPARE(m.monitor.upload_lut(table, 1), 0);
        m.fx.wall.set_input_level(m.fx.display, {{0.5, 0.5, 0.5}});
        const drive_reader drive(m.monitor);
        QVERIFY(drive.ok);
        sim_video_state straight = drive.state;
        straight.input_level = {{0.5, 0.5, 0.5}};
        // Test table 1 is dark in the middle of the input.
        QVERIFY(m.fx.wall.light(m.fx.display).Y < 0.1 * expected(m, straight).Y);
        QCOMPARE(m.monitor.set_vcp_268(1), 0);
        QVERIFY(near(m.fx.wall.light(m.fx.display), expected(m, straight)));
        QCOMPARE(m.monitor.set_vcp_268(6), 0);
        QVERIFY(m.fx.wall.light(m.fx.display).Y < 0.1 * expected(m, straight).Y);
    }

    // Colour gains scale their channel's drive; the brightness scales all
    // light, black included.
    void gains_and_backlight_change_the_light()
    {
        monitor_fixture m(loopback_block::address(3), "VW-5520L");
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_light_publishing(true);
        const reading full = m.fx.wall.light(m.fx.display);
        QCOMPARE(m.monitor.set_video_gain_red(128), 0);
        QCOMPARE(m.monitor.set_video_gain_green(200), 0);
        sim_video_state want;
        want.gain = {{128 / 255.0, 200 / 255.0, 1.0}};
        want.backlight = 0.8;   // the model's brightness: 80 of 100
        QVERIFY(near(m.fx.wall.light(m.fx.display), expected(m, want)));
        QVERIFY(m.fx.wall.light(m.fx.display).X < full.X * (1.0 - kVisible));
        QVERIFY(published_matches(m));

        const reading at_80 = m.fx.wall.light(m.fx.display);
        QCOMPARE(m.monitor.set_brightness(40), 0);
        want.backlight = 0.4;
        const reading at_40 = m.fx.wall.light(m.fx.display);
        QVERIFY(near(at_40, expected(m, want)));
        QVERIFY(near(at_40.Y, at_80.Y / 2.0, kSameModel));
        QVERIFY(published_matches(m));

        // Black through the same gains: only the leakage, dimmed with the backlight.
        m.fx.wall.set_input_level(m.fx.display, {{0.0, 0.0, 0.0}});
        QVERIFY(near(m.fx.wall.light(m.fx.display).Y, 0.4 * m.fx.wall.panel(m.fx.display).black_luminance, kSameModel));

        // The factory colour reset opens the gains again.
        m.fx.wall.set_input_level(m.fx.display, {{1.0, 1.0, 1.0}});
        QCOMPARE(m.monitor.restore_factory_color_defaults(), 0);
        want.gain = {{1.0, 1.0, 1.0}};
        QVERIFY(near(m.fx.wall.light(m.fx.display), expected(m, want)));
    }
};

QTEST_APPLESS_MAIN(tst_basic_monitor_light)
#include "tst_basic_monitor_light.moc"
