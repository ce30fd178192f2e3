#include "colour/CAdjustValue.h"
#include "colour/CornerUniformityEntry.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/monitor_fixture.h"
#include "tests/display_protocol/video_recorder.h"

#include <QtTest>

#include <array>
#include <cmath>

namespace {

const QString kAddress = loopback_block::address(1);
constexpr double kScale = 0.01;
const QByteArray kEngineModel = "VW-5540QE";
const QByteArray kOlderModel = "VW-4610C";
const QByteArray kNewerModel = "VW-5520L";
const QByteArray kCornerModel = "VW-5530Q";
constexpr int kMaxPolls = 100;

QByteArray hex(int value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

QByteArray write_body(int code, int value)
{
    return hex(code, 4) + hex(value, 4);
}

int count_reads(const QList<sim_log_entry> &frames, int code)
{
    int n = 0;
    for (const sim_log_entry &e : frames)
        n += e.type == 'C' && e.body == hex(code, 4) ? 1 : 0;
    return n;
}

// The bodies of set-parameter and command frames, reads left out.
QList<QByteArray> changes(const QList<sim_log_entry> &frames)
{
    QList<QByteArray> out;
    for (const sim_log_entry &e : frames) {
        if (e.type != 'C')
            out << e.body;
    }
    return out;
}

// Reads the engine state until it is one of |states|; -1 when it never is.
int poll_until(basic_monitor &monitor, std::initializer_list<int> states)
{
    for (int i = 0; i < kMaxPolls; ++i) {
        int state = 0, max = 0;
        if (monitor.get_vcp_1018(state, max) != 0)
            return -1;
        for (int s : states) {
            if (s == state)
                return state;
        }
    }
    return -1;
}

// A panel's primaries in thousandths: red x, red y, green x … blue y.
std::array<double, 6> gamut_of(const sim_panel &panel)
{
    std::array<double, 6> out {};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = (i % 2 ? panel.primaries[i / 2].y : panel.primaries[i / 2].x) * 1000.0;
    return out;
}

// The display reports whole thousandths: each value within half of one
// (plus a margin for the binary representation) of its panel's primary.
bool reports_gamut(const CAdjustValue &record, const sim_panel &panel)
{
    const std::array<double, 6> wanted = gamut_of(panel);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (std::abs(record.native_gamut[i] - wanted[i]) > 0.5 + 1e-9)
            return false;
    }
    return true;
}

QString gamut_text(const CAdjustValue &record)
{
    QStringList values;
    for (qint16 v : record.native_gamut)
        values << QString::number(v);
    return values.join(QLatin1Char(' '));
}

} // namespace

class tst_basic_monitor_engine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(kScale); }

    void level_registers_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<bool>("engine");
        QTest::addColumn<QList<QByteArray>>("bodies");
        QTest::addColumn<int>("maximum");
        QTest::newRow("expert-mode registers, 8 bits")
            << kOlderModel << false
            << QList<QByteArray> {"C01102", write_body(0x318, 10), write_body(0x31A, 20), write_body(0x31C, 30),
                                  "C01100"}
            << 255;
        QTest::newRow("paged registers") << kNewerModel << false
                                         << QList<QByteArray> {write_body(0x103A, 10), write_body(0x103B, 20),
                                                               write_body(0x103C, 30)}
                                         << 1023;
        QTest::newRow("engine registers") << kEngineModel << true
                                          << QList<QByteArray> {write_body(0x1192, 10), write_body(0x1193, 20),
                                                                write_body(0x1194, 30)}
                                          << 1023;
    }

    void level_registers()
    {
        QFETCH(QByteArray, model);
        QFETCH(bool, engine);
        QFETCH(QList<QByteArray>, bodies);
        QFETCH(int, maximum);
        monitor_fixture m(kAddress, model);
        QVERIFY_FIXTURE(m);
        m.monitor.detect_rgb_level_registers();
        m.clear_log();
        QCOMPARE(m.monitor.set_rgb_levels(10, 20, 30, engine), 0);
        QCOMPARE(changes(m.frames()), bodies);
        int r = 0, g = 0, b = 0, rm = 0, gm = 0, bm = 0;
        QCOMPARE(m.monitor.get_rgb_levels(r, g, b, rm, gm, bm, engine), 0);
        QCOMPARE((QList<int> {r, g, b, rm, gm, bm}), (QList<int> {10, 20, 30, maximum, maximum, maximum}));
        QCOMPARE(m.monitor.set_rgb_level_green(40, engine), 0);
        QCOMPARE(m.monitor.get_rgb_levels(r, g, b, rm, gm, bm, engine), 0);
        QCOMPARE(g, 40);
        QCOMPARE(m.display([](sim_display &d) { return d.expert_mode; }), quint8(0));
    }

    void expert_registers_are_hidden_outside_their_mode()
    {
        monitor_fixture m(kAddress, kOlderModel);
        QVERIFY_FIXTURE(m);
        uint value = 0;
        QCOMPARE(m.monitor.get_vcp(0x318, value), int(basic_monitor::kNotSupported));
        QCOMPARE(m.monitor.set_mode_c011(2), 0);
        QCOMPARE(m.monitor.get_vcp(0x318, value), 0);
        QCOMPARE(m.monitor.set_mode_c011(0), 0);
    }

    void patch_generator_publishes_video()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        video_recorder recorder;
        m.display([&](sim_display &d) { d.video_observer = &recorder; });
        QCOMPARE(m.monitor.set_rgb_levels(1023, 0, 0, false), 0);
        QCOMPARE(m.monitor.set_vcp_2c8_or_2c3(2, false), 0);
        int mode = 0;
        QCOMPARE(m.monitor.get_vcp_2c8_or_2c3(mode, false), 0);
        QCOMPARE(mode, 2);
        m.display([](sim_display &d) { d.video_observer = nullptr; });
        QCOMPARE(recorder.activations(), 1);
        const sim_video_state &last = recorder.publications.last().state;
        QVERIFY(last.patch_on);
        QCOMPARE(last.patch_level[0], 1.0);
        QCOMPARE(last.patch_level[1], 0.0);
    }

    // Identification: the patch generator shows the current levels, then
    // black, each for a second, and is switched off.
    void cycle_rgb_levels_flashes_the_display()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        video_recorder recorder;
        m.display([&](sim_display &d) { d.video_observer = &recorder; });
        m.monitor.detect_rgb_level_registers();
        m.clear_log();
        wait_service::set_time_scale(0.05);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m.monitor.cycle_rgb_levels(), 0);
        QVERIFY(timer.elapsed() >= 2 * wait_service::scaled_ms(1000));
        m.display([](sim_display &d) { d.video_observer = nullptr; });
        QCOMPARE(changes(m.frames()),
                 (QList<QByteArray> {write_body(0x2C3, 2), write_body(0x103A, 1023), write_body(0x103B, 1023),
                                     write_body(0x103C, 1023), write_body(0x103A, 0), write_body(0x103B, 0),
                                     write_body(0x103C, 0), write_body(0x2C3, 1)}));
        QCOMPARE(recorder.activations(), 1);
        QVERIFY(!recorder.publications.last().state.patch_on);
    }

    void corner_uniformity()
    {
        monitor_fixture m(kAddress, kCornerModel);
        QVERIFY_FIXTURE(m);
        QVERIFY(m.monitor.supports_corner_uniformity());
        CornerUniformityEntry entry;
        QCOMPARE(m.monitor.get_corner_uniformity(2, entry), 0);
        QCOMPARE((QList<int> {entry.first_offset, entry.second_offset, entry.first_span, entry.second_span,
                              entry.size_level}),
                 (QList<int> {0x20, 0x20, 0x40, 0x40, 0}));
        CornerUniformityEntry wanted;
        wanted.first_offset = 0x11;
        wanted.second_offset = 0x122; // only the low byte travels
        wanted.size_level = 2;
        QCOMPARE(m.monitor.set_corner_uniformity(1, wanted), 0);
        QCOMPARE(m.monitor.get_corner_uniformity(1, entry), 0);
        QCOMPARE(entry.first_offset, 0x11);
        QCOMPARE(entry.second_offset, 0x22);
        QCOMPARE(entry.size_level, 2);
        QCOMPARE(m.monitor.get_corner_uniformity(2, entry), 0);
        QCOMPARE(entry.first_offset, 0x20);

        m.clear_log();
        bool changed = true;
        QCOMPARE(m.monitor.set_corner_uniformity_checked(1, wanted, changed), 0);
        QVERIFY(!changed);
        QCOMPARE(changes(m.frames()), QList<QByteArray> {write_body(0x11C7, 1)});
        wanted.size_level = 1;
        QCOMPARE(m.monitor.set_corner_uniformity_checked(1, wanted, changed), 0);
        QVERIFY(changed);

        monitor_fixture plain(loopback_block::address(2), kNewerModel);
        QVERIFY_FIXTURE(plain);
        QVERIFY(!plain.monitor.supports_corner_uniformity());
        QCOMPARE(plain.monitor.get_corner_uniformity(0, entry), int(basic_monitor::kNotSupported));
    }

    void configure_for_calibration_reads_the_native_gamut()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        CAdjustValue record;
        QSignalSpy progress(&m.monitor, &basic_monitor::set_get_vcp_progess);
        QCOMPARE(m.monitor.configure_for_calibration(record), 0);
        QCOMPARE(record.native_gamut_valid, qint8(1));
        // The display's own panel, with its deviations from the design (the
        // wall's fixed seed moves them by whole thousandths here).
        const sim_panel panel = m.fx.wall.panel(m.fx.display);
        QVERIFY(record.native_gamut != (std::array<qint16, 6> {{640, 330, 295, 615, 150, 55}}));
        QVERIFY2(reports_gamut(record, panel), qPrintable(gamut_text(record)));
        QCOMPARE(progress.size(), 8);
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x105C); }), quint16(1));

        // A panel changed after the model was applied is what the next read gives.
        sim_panel wide = panel;
        wide.primaries = {{{0.7081, 0.2919}, {0.1702, 0.7968}, {0.1314, 0.0459}}};
        m.fx.wall.set_panel(m.fx.display, wide);
        QCOMPARE(m.monitor.configure_for_calibration(record), 0);
        QCOMPARE(record.native_gamut, (std::array<qint16, 6> {{708, 292, 170, 797, 131, 46}}));
        QVERIFY(reports_gamut(record, wide));

        monitor_fixture plain(loopback_block::address(2), kNewerModel);
        QVERIFY_FIXTURE(plain);
        CAdjustValue other;
        other.native_gamut_valid = 1;
        QCOMPARE(plain.monitor.configure_for_calibration(other), 0);
        QCOMPARE(other.native_gamut_valid, qint8(0));
    }

    void engine_switch()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        QVERIFY(m.monitor.supports_vcp_1147_and_1192());
        wait_service::set_time_scale(0.05);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m.monitor.set_vcp_1147_and_wait(true), 0);
        QVERIFY(timer.elapsed() >= wait_service::scaled_ms(4000));
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x1147); }), quint16(2));
        m.clear_log();
        QCOMPARE(m.monitor.set_vcp_1147_and_wait(true), 0);
        QCOMPARE(changes(m.frames()).size(), 0);

        monitor_fixture plain(loopback_block::address(2), kNewerModel);
        QVERIFY_FIXTURE(plain);
        QVERIFY(!plain.monitor.supports_vcp_1147_and_1192());
        QCOMPARE(plain.monitor.set_vcp_1147_and_wait(true), int(basic_monitor::kNotSupported));
        QCOMPARE(plain.monitor.is_vcp_1017_supported(), int(basic_monitor::kProcedureNotSupported));
    }

    // Update calibration from start to end: busy, three measurements each
    // followed by a resume, measuring finished, saving, finished. The
    // finished run leaves an entry in the calibration history.
    void engine_runs_an_update_to_its_end()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        QCOMPARE(m.monitor.is_vcp_1017_supported(), 0);
        QCOMPARE(m.monitor.write_sensor_info("Probe One", "SN-77"), 0);
        QCOMPARE(m.display([](sim_display &d) { return d.sensor_name + "/" + d.sensor_serial; }),
                 QByteArray("Probe One/SN-77"));
        QCOMPARE(m.monitor.set_vcp_1017(10), 0);
        QCOMPARE(m.monitor.set_vcp_1018(1), 0);
        uint run = 0;
        QCOMPARE(m.monitor.wait_for_vcp_2aa(run, 2), 0);
        QCOMPARE(run, 2u);
        // A procedure cannot be chosen while one runs: the display refuses it.
        QCOMPARE(m.monitor.set_vcp_1017(12), int(link_status::kRefused));
        for (quint32 position = 1; position <= 3; ++position) {
            QCOMPARE(poll_until(m.monitor, {6}), 6);
            quint8 stage = 0, at = 0, stages = 0, positions = 0;
            QCOMPARE(m.monitor.get_vcp_11c5(stage, at, stages, positions), 0);
            QCOMPARE((QList<int> {stage, at, stages, positions}), (QList<int> {2, int(position), 4, 3}));
            quint8 status = 1;
            std::array<quint8, 12> reply {};
            QCOMPARE(m.monitor.engine_command_c258({{100 * position, 200, 300}}, status, reply), 0);
            QCOMPARE(status, quint8(0));
            QCOMPARE(m.monitor.set_vcp_1018(1), 0);
        }
        QCOMPARE(poll_until(m.monitor, {7}), 7);
        QCOMPARE(m.monitor.set_vcp_1018(1), 0);
        QCOMPARE(m.monitor.wait_for_vcp_2aa(run, 1), 0);
        QCOMPARE(run, 1u);
        int state = -1, max = 0;
        QCOMPARE(m.monitor.get_vcp_1018(state, max), 0);
        QCOMPARE(state, 0);
        std::array<quint32, 3> results {};
        QCOMPARE(m.monitor.engine_command_c257(results), 0);
        QCOMPARE(results, (std::array<quint32, 3> {{300, 200, 300}}));
        QCOMPARE(m.monitor.set_vcp_1017(0), 0);

        // Entries count from 1: a colour calibration by the user, with the
        // sensor texts it was given.
        calibration_history_entry entry;
        QCOMPARE(m.monitor.read_calibration_history_entry(1, entry), 0);
        QCOMPARE(entry.command_id, quint8(10));
        QCOMPARE(entry.calibration_type, quint8(3));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(entry.first_text.data()), 9), QByteArray("Probe One"));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(entry.second_text.data()), 5), QByteArray("SN-77"));
        QCOMPARE(m.monitor.read_calibration_history_entry(2, entry), int(link_status::kResultNotZero));
    }

    void engine_wait_outcomes_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("never_finishes");
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("result");
        QTest::addColumn<uint>("value");
        QTest::addColumn<int>("reads");
        // 3 is the engine's aborted status: it ends every wait with -1038.
        QTest::newRow("stopped") << true << false << 3 << int(basic_monitor::kWaitGaveUp) << 3u << 1;
        QTest::newRow("never finishing") << false << true << 1 << int(basic_monitor::kWaitGaveUp) << 2u << 21;
        QTest::newRow("running") << false << false << 2 << 0 << 2u << 1;
    }

    void engine_wait_outcomes()
    {
        QFETCH(bool, stop);
        QFETCH(bool, never_finishes);
        QFETCH(int, wanted);
        QFETCH(int, result);
        QFETCH(uint, value);
        QFETCH(int, reads);
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        m.display([&](sim_display &d) {
            d.engine.config.never_finishes = never_finishes;
            d.engine.config.start_polls = 0;
        });
        QCOMPARE(m.monitor.set_vcp_1017(12), 0);
        QCOMPARE(m.monitor.set_vcp_1018(1), 0);
        if (stop)
            QCOMPARE(m.monitor.set_vcp_1018(2), 0);
        m.clear_log();
        uint read = 0;
        QCOMPARE(m.monitor.wait_for_vcp_2aa(read, wanted), result);
        QCOMPARE(read, value);
        QCOMPARE(count_reads(m.frames(), 0x2AA), reads);
        if (stop) {
            int state = 0, max = 0;
            QCOMPARE(m.monitor.get_vcp_1018(state, max), 0);
            QCOMPARE(state, 3);
        }
    }

    void wait_for_2aa_returns_a_read_error()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        uint value = 7;
        QCOMPARE(m.monitor.wait_for_vcp_2aa(value, 1), int(basic_monitor::kNotSupported));
    }

    void stop_flag_is_set_from_the_slot()
    {
        basic_monitor monitor;
        QVERIFY(!monitor.stop_requested());
        QMetaObject::invokeMethod(&monitor, "stop_job", Qt::DirectConnection);
        QVERIFY(monitor.stop_requested());
    }
};

QTEST_APPLESS_MAIN(tst_basic_monitor_engine)
#include "tst_basic_monitor_engine.moc"
