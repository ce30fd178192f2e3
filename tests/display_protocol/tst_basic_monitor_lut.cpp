#include "colour/CAdjustValue.h"
#include "colour/CSpline.h"
#include "colour/CTargetValue.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/monitor_fixture.h"
#include "tests/display_protocol/video_recorder.h"

#include <QtTest>

#include <cmath>

namespace {

const QString kAddress = loopback_block::address(1);
constexpr double kScale = 0.001;
const QByteArray kLongModel = "VW-5520L";     // 3072 entries, maximum 4095
const QByteArray kOlderModel = "VW-4610C";    // 3072 entries, maximum 4080
const QByteArray kShortModel = "VW-5540QE";   // 768 entries, maximum 1023

// A correction curve through (0, 0) and (1, |top|).
CSpline line_to(double top)
{
    CSpline curve;
    curve.Init(CSpline::kCatmullRom, 2, 0.0, 1.0);
    curve.SetY(1, top);
    curve.SetValid(true);
    return curve;
}

CAdjustValue known_record()
{
    CAdjustValue record;
    record.gain = {{1.0, 0.5, 0.25}};
    for (CSpline &curve : record.measurements.correction_curves)
        curve = line_to(0.8);
    return record;
}

CTargetValue target_of(int gamma_type)
{
    CTargetValue target;
    target.SetGammaType(gamma_type);
    return target;
}

QList<int> offsets_of(const QList<sim_log_entry> &frames, const QByteArray &code)
{
    QList<int> out;
    for (const sim_log_entry &e : frames) {
        if (e.body.startsWith(code))
            out << e.body.mid(4, 4).toInt(nullptr, 16);
    }
    return out;
}

QList<int> block_starts(std::initializer_list<int> channel_bases, int per_channel)
{
    QList<int> out;
    for (int base : channel_bases) {
        for (int j = 0; j < per_channel; j += 8)
            out << base + j;
    }
    return out;
}

QVector<int> ramp_table(int entries, int max)
{
    QVector<int> table(entries);
    const int n = entries / 3;
    for (int i = 0; i < entries; ++i)
        table[i] = (i % n) * max / (n - 1) + i / n;  // channels differ slightly
    return table;
}

} // namespace

class tst_basic_monitor_lut : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(kScale); }

    void table_size_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("reported");   // put into 0x2CA first; -1: the model's own
        QTest::newRow("long table, own maximum") << kLongModel << 3072 << 4095 << -1;
        QTest::newRow("long table, default maximum") << kOlderModel << 3072 << 4080 << -1;
        QTest::newRow("short table") << kShortModel << 768 << 1023 << -1;
        // A maximum of 0 would zero every table: the default stays.
        QTest::newRow("maximum of 0 ignored") << kLongModel << 3072 << 4080 << 0;
    }

    void table_size()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, entries);
        QFETCH(int, max);
        QFETCH(int, reported);
        monitor_fixture m(kAddress, model);
        QVERIFY_FIXTURE(m);
        if (reported >= 0)
            m.display([&](sim_display &d) { d.controls.set_read_only(0x2CA, quint16(reported), quint16(reported)); });
        int e = 0, x = 0;
        QCOMPARE(m.monitor.get_lut_size(e, x), 0);
        QCOMPARE(e, entries);
        QCOMPARE(x, max);
    }

    // Native gamma: a straight ramp up to each channel's maximum, max x gain
    // rounded: 4095, 2048 and 1024 (blue doubled by its trim: 2048).
    void table_from_calibration_native()
    {
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        CAdjustValue record = known_record();
        QVector<int> table;
        QCOMPARE(m.monitor.build_lut_from_calibration(record, target_of(CTargetValue::kGammaNative), table), 0);
        QCOMPARE(table.size(), 3072);
        QCOMPARE((QList<int> {table[0], table[1], table[512], table[1023]}), (QList<int> {0, 4, 2050, 4095}));
        QCOMPARE(table[1024 + 1023], 2048);
        QCOMPARE(table[2048 + 1023], 1024);
        record.visual_trim_flags = CAdjustValue::kTrimGains;
        record.visual_trim_multiplier = {{1.0, 1.0, 2.0}};
        QCOMPARE(m.monitor.build_lut_from_calibration(record, target_of(CTargetValue::kGammaNative), table), 0);
        QCOMPARE(table[2048 + 1023], 2048);
    }

    void table_from_calibration_curves()
    {
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        const CAdjustValue record = known_record();
        QVector<int> table;
        QCOMPARE(m.monitor.build_lut_from_calibration(record, target_of(CTargetValue::kGammaPower), table), 0);
        // At x = 1 the curve gives 0.8: 4095 x 0.8 = 3276, 2048 x 0.8 = 1638.4, 1024 x 0.8 = 819.2.
        QCOMPARE((QList<int> {table[0], table[1023], table[2047], table[3071]}), (QList<int> {0, 3276, 1638, 819}));
        for (int i = 0; i < 1024; i += 97) {
            const double level = record.measurements.correction_curves[0].Evaluate(i / 1023.0);
            QCOMPARE(table[i], static_cast<int>(std::floor(4095 * level + 0.5)));
        }
    }

    void table_from_calibration_needs_every_curve()
    {
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        CAdjustValue record = known_record();
        record.measurements.correction_curves[2].SetValid(false);
        QVector<int> table {7};
        QCOMPARE(m.monitor.build_lut_from_calibration(record, target_of(CTargetValue::kGammaDicom), table),
                 int(basic_monitor::kNoCorrectionCurve));
        QCOMPARE(table, QVector<int> {7});
    }

    void test_tables_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("indices");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("kind 1") << 1 << QList<int> {0, 1, 2, 3, 4, 9, 10, 1023}
                                << QList<int> {341, 4095, 4095, 511, 341, 341, 0, 0};
        QTest::newRow("kind 2") << 2 << QList<int> {1023, 1022, 1021, 1020, 1019, 1018, 1017, 1016, 1015, 1014, 1013, 0}
                                << QList<int> {0, 4095, 4095, 1365, 682, 682, 511, 511, 409, 409, 0, 0};
        QTest::newRow("ramp") << 0 << QList<int> {0, 1, 512, 1022, 1023} << QList<int> {0, 4, 2050, 4091, 4095};
    }

    void test_tables()
    {
        QFETCH(int, kind);
        QFETCH(QList<int>, indices);
        QFETCH(QList<int>, values);
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        QVector<int> table;
        QCOMPARE(m.monitor.build_lut_from_calibration_ex(kind, table), 0);
        QCOMPARE(table.size(), 3072);
        for (int k = 0; k < indices.size(); ++k) {
            const int i = indices[k];
            QCOMPARE((QList<int> {table[i], table[1024 + i], table[2048 + i]}),
                     (QList<int> {values[k], values[k], values[k]}));
        }
    }

    void table_from_three_curves()
    {
        basic_monitor monitor;
        QSignalSpy broadcast(&monitor, &basic_monitor::Broadcast_MessageOut);
        QVector<int> table;
        QCOMPARE(monitor.build_lut_from_curves(line_to(1.0), line_to(0.5), line_to(1.5), table), 0);
        QCOMPARE(broadcast.size(), 1);
        QCOMPARE(broadcast.first(), (QList<QVariant> {2, 99}));
        QCOMPARE(table.size(), 768);
        QCOMPARE((QList<int> {table[0], table[128], table[255]}), (QList<int> {0, 32896, 65535}));
        QCOMPARE(table[256 + 255], 32768);
        QCOMPARE(table[512 + 255], 65535); // limited to the 16-bit range
    }

    void upload_of_a_long_table()
    {
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        video_recorder recorder;
        m.display([&](sim_display &d) { d.video_observer = &recorder; });
        const QVector<int> table = ramp_table(3072, 4093);
        m.clear_log();
        QSignalSpy progress(&m.monitor, &basic_monitor::set_get_vcp_progess);
        QCOMPARE(m.monitor.upload_lut(table, 1), 0);
        m.display([](sim_display &d) { d.video_observer = nullptr; });
        QCOMPARE(offsets_of(m.frames(), "C205"), block_starts({0}, 3072));
        QCOMPARE(m.display([](sim_display &d) { return d.lut.table(1024); }), table);
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x268); }), quint16(6));
        QCOMPARE(m.display([](sim_display &d) { return d.lut_commits + d.lut_activations; }), 2);
        QCOMPARE(progress.first(), (QList<QVariant> {0, 390}));
        QCOMPARE(progress.last(), (QList<QVariant> {389, 390}));
        // The display now shows the table, each entry over its maximum of 4095.
        const sim_video_state &video = recorder.publications.last().state;
        QCOMPARE(int(video.lut[1].size()), 1024);
        for (int i = 0; i < 1024; i += 111)
            QCOMPARE(video.lut[1][size_t(i)], table[1024 + i] / 4095.0);
    }

    void upload_of_a_short_table()
    {
        monitor_fixture m(kAddress, kShortModel);
        QVERIFY_FIXTURE(m);
        const QVector<int> table = ramp_table(768, 1020);
        m.clear_log();
        QCOMPARE(m.monitor.upload_lut(table, 1), 0);
        QCOMPARE(offsets_of(m.frames(), "C205"), block_starts({0x000, 0x400, 0x800}, 256));
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x2F9); }), quint16(1));
        QCOMPARE(m.display([](sim_display &d) { return d.lut.table(256); }), table);
        QVector<int> back;
        QCOMPARE(m.monitor.read_lut_block(0x400, 20, back), 0);
        QCOMPARE(back, table.mid(256, 20));
    }

    void upload_in_the_second_form()
    {
        monitor_fixture m(kAddress, kShortModel);
        QVERIFY_FIXTURE(m);
        QVector<int> table;
        QCOMPARE(m.monitor.build_lut_from_curves(line_to(1.0), line_to(0.9), line_to(0.8), table), 0);
        m.clear_log();
        QSignalSpy progress(&m.monitor, &basic_monitor::set_get_vcp_progess);
        QCOMPARE(m.monitor.upload_lut_c20b(std::vector<int>(table.begin(), table.end())), 0);
        QCOMPARE(offsets_of(m.frames(), "C20B"), block_starts({0, 256, 512}, 256));
        QCOMPARE(m.display([](sim_display &d) { return d.lut.table(256); }), table);
        QCOMPARE(progress.last(), (QList<QVariant> {99, 102}));
        // The same memory through the long addressing: green starts at 0x400.
        QVector<int> back;
        QCOMPARE(m.monitor.read_lut_block(0x400, 8, back), 0);
        QCOMPARE(back, table.mid(256, 8));
        QCOMPARE(m.display([](sim_display &d) { return d.active_lut_full_scale; }), 65535.0);
    }

    // Channels 256 entries apart: a longer channel would overwrite the next
    // one, so nothing is written at all.
    void second_form_refuses_long_channels()
    {
        monitor_fixture m(kAddress, kShortModel);
        QVERIFY_FIXTURE(m);
        m.clear_log();
        QCOMPARE(m.monitor.upload_lut_c20b(std::vector<int>(3 * 257, 5)), int(link_status::kTooManyValues));
        QCOMPARE(m.monitor.upload_lut_c20b(std::vector<int>()), int(link_status::kNoValues));
        QCOMPARE(m.monitor.upload_lut_c20b(std::vector<int>(10, 5)), int(link_status::kNoValues));
        QCOMPARE(m.frames().size(), 0);
        QCOMPARE(m.monitor.upload_lut(QVector<int>(3 * 1024 + 8, 0), 1), int(link_status::kTooManyValues));
        QCOMPARE(m.frames().size(), 0);
    }

    void gamma_table_number_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("written");
        QTest::newRow("low mode") << 9 << 2 << 6;
        QTest::newRow("table 2") << 14 << 2 << 13;
        QTest::newRow("table 3") << 14 << 3 << 14;
        QTest::newRow("table 1") << 14 << 1 << 6;
    }

    void gamma_table_number()
    {
        QFETCH(int, current);
        QFETCH(int, number);
        QFETCH(int, written);
        monitor_fixture m(kAddress, kShortModel);
        QVERIFY_FIXTURE(m);
        m.display([&](sim_display &d) { d.controls.set(0x268, quint16(current), 14); });
        QCOMPARE(m.monitor.upload_lut(QVector<int>(768, 0), number), 0);
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x268); }), quint16(written));
    }

    void stop_during_upload()
    {
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        int blocks = 0;
        connect(&m.monitor, &basic_monitor::Broadcast_MessageOut, &m.monitor, [&] {
            if (++blocks == 4)
                m.monitor.stop_job();
        });
        m.clear_log();
        QCOMPARE(m.monitor.upload_lut(ramp_table(3072, 4000), 1), int(basic_monitor::kStopped));
        QCOMPARE(offsets_of(m.frames(), "C205").size(), 3);
        QCOMPARE(m.display([](sim_display &d) { return d.lut_commits; }), 0);
    }

    void write_error_ends_the_upload()
    {
        monitor_fixture m(kAddress, kLongModel);
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_fault(m.fx.display, sim_fault_kind::refuse_be, sim_fault::kForever, 8);
        QCOMPARE(m.monitor.upload_lut(ramp_table(3072, 4000), 1), int(link_status::kRefused));
        QCOMPARE(m.display([](sim_display &d) { return d.lut_activations; }), 0);
    }
};

QTEST_APPLESS_MAIN(tst_basic_monitor_lut)
#include "tst_basic_monitor_lut.moc"
