#include "display_protocol/basic_monitor.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/monitor_fixture.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

const QString kAddress = loopback_block::address(1);
const QString kClosedAddress = loopback_block::address(2);
constexpr double kScale = 0.01;
const QByteArray kEngineModel = "VW-5540QE";
const QByteArray kOlderModel = "VW-4610C";
const QByteArray kNewerModel = "VW-5520L";

// "pppp" + value in four digits: the body of a set-parameter request.
QByteArray write_body(int code, int value)
{
    return QByteArray::number(code, 16).toUpper().rightJustified(4, '0')
           + QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}

// The set-parameter bodies among |frames|.
QList<QByteArray> writes(const QList<sim_log_entry> &frames)
{
    QList<QByteArray> out;
    for (const sim_log_entry &e : frames) {
        if (e.type == 'E')
            out << e.body;
    }
    return out;
}

// Time from the frame |body| to the frame after it.
qint64 gap_after(const QList<sim_log_entry> &frames, const QByteArray &body)
{
    for (int i = 0; i + 1 < frames.size(); ++i) {
        if (frames[i].body == body)
            return frames[i + 1].time_ms - frames[i].time_ms;
    }
    return -1;
}

} // namespace

class tst_basic_monitor_controls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(kScale); }

    void open_link_reports_the_port()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        QSignalSpy spy(&m.monitor, &basic_monitor::com_port_changed);
        QCOMPARE(m.monitor.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QVERIFY(m.monitor.is_link_open());
        QCOMPARE(spy.takeFirst().at(0).toString(), kAddress);
        QVERIFY(m.monitor.open_link(kClosedAddress, PDCommProtocol::kLinkLan) < 0);
        QCOMPARE(spy.takeFirst().at(0).toString(),
                 QStringLiteral("<font COLOR=red>Unable to open %1</font>").arg(kClosedAddress));
        QCOMPARE(m.monitor.open_link(QString(), PDCommProtocol::kLinkNone), 0);
        QVERIFY(m.monitor.model_name_hint().isEmpty());
    }

    // The shared instance moves between displays of different models: the
    // capability string and the level register family must not follow it.
    void capabilities_and_level_family_are_forgotten_on_open_and_id_change()
    {
        monitor_fixture m(kAddress, kOlderModel);
        QVERIFY_FIXTURE(m);
        const int second = m.fx.wall.add_display(m.fx.endpoint, 'B');
        m.fx.wall.with_display(second, [&](sim_display &d) { d.apply_model(kNewerModel); });
        QCOMPARE(m.monitor.read_capabilities(), 0);
        QCOMPARE(m.monitor.capabilities().model(), kOlderModel);
        QCOMPARE(m.monitor.detect_rgb_level_registers(), int(basic_monitor::kFamilyExpertMode));
        char text[16] = {};
        m.monitor.set_monitor_id('B');
        m.monitor.get_capabilities_string(text, sizeof text);
        QCOMPARE(text[0], '\0');
        m.clear_log();
        QCOMPARE(m.monitor.set_rgb_levels(1, 2, 3, false), 0);
        QCOMPARE(writes(m.frames()), (QList<QByteArray> {write_body(0x103A, 1), write_body(0x103B, 2),
                                                          write_body(0x103C, 3)}));
        QCOMPARE(m.monitor.read_capabilities(), 0);
        QCOMPARE(m.monitor.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        m.monitor.get_capabilities_string(text, sizeof text);
        QCOMPARE(text[0], '\0');
    }

    void identity_texts()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        QString model, serial, a, b, c, d;
        QCOMPARE(m.monitor.get_model_name(model), 0);
        QCOMPARE(model, QString::fromLatin1(kEngineModel));
        QCOMPARE(m.monitor.get_serial_number(serial), 0);
        QCOMPARE(serial, QStringLiteral("SIM0000001"));
        QCOMPARE(m.monitor.get_identity_strings(a, b, c, d), 0);
        // The first text is the model's firmware version.
        QCOMPARE((QStringList {a, b, c, d}), (QStringList {"1.0.20.0", "R2.000", "R3.000", "R4.000"}));
        QVERIFY(!m.monitor.is_fixed_list_model());
    }

    // A display that refuses the first identity text: the capability
    // record's MPU version stands in for it and the error is returned.
    void identity_falls_back_to_the_capability_record()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        m.fx.script("CA0200", "CB020100");
        QString a = "x", b = "x", c = "x", d = "x";
        QCOMPARE(m.monitor.get_identity_strings(a, b, c, d), int(link_status::kResultNotZero));
        QCOMPARE(a, QStringLiteral("5540QE-1.000"));
        QVERIFY(b.isEmpty() && c.isEmpty() && d.isEmpty());
        QString mpu;
        QCOMPARE(m.monitor.get_capability_mpu_version(mpu), 0);
        QCOMPARE(mpu, QStringLiteral("5540QE-1.000"));
    }

    void controls_read_write_and_unsupported()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        int value = 0, max = 0;
        QCOMPARE(m.monitor.get_brightness(value, max), 0);
        QCOMPARE(value, 80);
        QCOMPARE(max, 100);
        // The display keeps writes within the maximum and reports what it holds.
        uint written = 300;
        QCOMPARE(m.monitor.set_vcp(0x10, written), 0);
        QCOMPARE(written, 100u);
        QCOMPARE(m.monitor.set_contrast(20), 0);
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x12); }), quint16(20));
        // Unknown control, read-only control.
        uint v = 0;
        QCOMPARE(m.monitor.get_vcp(0x1192, v), int(basic_monitor::kNotSupported));
        uint hours = 5;
        QCOMPARE(m.monitor.set_vcp(0xFF, hours), int(basic_monitor::kNotSupported));
        int current = 0;
        quint8 result = 0, type = 0;
        QCOMPARE(m.monitor.get_vcp_raw(0x1192, current, max, result, type), 0);
        QCOMPARE(result, quint8(1));
        QVERIFY(!m.monitor.supports_vcp_2f8());
        bool near = true;
        QCOMPARE(m.monitor.is_vcp_27f_near_max(near), 0);
        QVERIFY(near);
    }

    void power_setting_pseudo_codes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("power-save time") << 0xFFF0 << QByteArray("CA0B0307");
        QTest::newRow("standby time") << 0xFFF1 << QByteArray("CA0B0507");
        QTest::newRow("power-save mode") << 0xFFF2 << QByteArray("CA0B0107");
    }

    void power_setting_pseudo_codes()
    {
        QFETCH(int, code);
        QFETCH(QByteArray, body);
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        m.clear_log();
        uint value = 7;
        QCOMPARE(m.monitor.set_vcp(code, value), 0);
        QCOMPARE(value, 7u);
        QCOMPARE(m.bodies(), QList<QByteArray> {body});
        quint8 read = 0;
        QCOMPARE(m.monitor.get_power_save_mode(read), 0);
    }

    void control_list_data()
    {
        QTest::addColumn<QList<vcp_list_item>>("list");
        QTest::addColumn<int>("result");
        QTest::addColumn<QList<int>>("item_results");
        QTest::addColumn<QList<int>>("item_values");
        QTest::addColumn<QList<QByteArray>>("written");

        using item = vcp_list_item;
        QTest::newRow("unsupported third item does not stop the list")
            << QList<item> {item::write(0x10, 40), item::read(0x12), item::write(0x1192, 5), item::write(0x12, 30)}
            << 0 << QList<int> {0, 0, -1027, 0} << QList<int> {40, 50, 5, 30}
            << QList<QByteArray> {write_body(0x10, 40), write_body(0x1192, 5), write_body(0x12, 30)};
        QTest::newRow("maximum already held writes nothing")
            << QList<item> {item::make(item::kWriteMax, 0x16)} << 0 << QList<int> {0} << QList<int> {255}
            << QList<QByteArray> {};
        QTest::newRow("half the maximum, rounded down")
            << QList<item> {item::make(item::kWriteHalfMax, 0x16)} << 0 << QList<int> {0} << QList<int> {127}
            << QList<QByteArray> {write_body(0x16, 127)};
        QTest::newRow("read first, value held: no write")
            << QList<item> {item::write(0x12, 50, true), item::make(item::kWriteZero, 0x12, 0, true)} << 0
            << QList<int> {0, 0} << QList<int> {50, 0} << QList<QByteArray> {write_body(0x12, 0)};
        QTest::newRow("write zero without reading writes the stored value")
            << QList<item> {item::make(item::kWriteZero, 0x12, 9)} << 0 << QList<int> {0} << QList<int> {9}
            << QList<QByteArray> {write_body(0x12, 9)};
        QTest::newRow("read-only control: -1027 and the list goes on")
            << QList<item> {item::write(0xFF, 1), item::write(0x10, 10)} << 0 << QList<int> {-1027, 0}
            << QList<int> {1, 10} << QList<QByteArray> {write_body(0xFF, 1), write_body(0x10, 10)};
    }

    void control_list()
    {
        QFETCH(QList<vcp_list_item>, list);
        QFETCH(int, result);
        QFETCH(QList<int>, item_results);
        QFETCH(QList<int>, item_values);
        QFETCH(QList<QByteArray>, written);
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        m.clear_log();
        QSignalSpy progress(&m.monitor, &basic_monitor::set_get_vcp_progess);
        QCOMPARE(m.monitor.apply_vcp_list(list, true), result);
        for (int i = 0; i < list.size(); ++i) {
            QCOMPARE(list[i].result, item_results[i]);
            QCOMPARE(list[i].value, item_values[i]);
        }
        QCOMPARE(writes(m.frames()), written);
        QCOMPARE(progress.size(), list.size() + 1);
        QCOMPARE(progress.last(), (QList<QVariant> {list.size(), list.size()}));
    }

    void control_list_stops_at_another_error()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_fault(m.fx.display, sim_fault_kind::refuse_be, sim_fault::kForever, 1);
        QList<vcp_list_item> list {vcp_list_item::write(0x10, 40), vcp_list_item::write(0x12, 30),
                                   vcp_list_item::write(0x92, 20)};
        QCOMPARE(m.monitor.apply_vcp_list(list, false), int(link_status::kRefused));
        QCOMPARE(list[0].result, 0);
        QCOMPARE(list[1].result, int(link_status::kRefused));
        QCOMPARE(list[2].result, 0);
        QCOMPARE(m.display([](sim_display &d) { return d.controls.value(0x92); }), quint16(50));
    }

    void stopped_monitor_runs_no_list()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        m.clear_log();
        m.monitor.stop_job();
        QList<vcp_list_item> list {vcp_list_item::write(0x10, 40)};
        QCOMPARE(m.monitor.apply_vcp_list(list, true), int(basic_monitor::kStopped));
        QCOMPARE(m.frames().size(), 0);
        QVector<int> table(768, 0);
        QCOMPARE(m.monitor.upload_lut(table, 1) , int(basic_monitor::kStopped));
    }

    // The settle time follows the write whether or not it succeeded; writing
    // 2 or 3 to 0x1067 is followed by none. The gap between frames is at
    // least the scaled pause (2 ms of slack for the clock's granularity).
    void settle_pauses_between_list_items()
    {
        monitor_fixture m(kAddress, kEngineModel);
        QVERIFY_FIXTURE(m);
        wait_service::set_time_scale(0.05);
        m.clear_log();
        QList<vcp_list_item> list {vcp_list_item::write(0x14, 2), vcp_list_item::write(0x1067, 2),
                                   vcp_list_item::write(0x2B3, 300, true), vcp_list_item::write(0x10, 1)};
        QCOMPARE(m.monitor.apply_vcp_list(list, false), 0);
        const QList<sim_log_entry> frames = m.frames();
        QVERIFY(gap_after(frames, write_body(0x14, 2)) >= wait_service::scaled_ms(2000) - 2);
        QVERIFY2(gap_after(frames, write_body(0x1067, 2)) < wait_service::scaled_ms(2000),
                 "no pause after 0x1067 = 2");
        // 0x2B3 is written although it already holds 300, and settles 1000 ms.
        QVERIFY(gap_after(frames, write_body(0x2B3, 300)) >= wait_service::scaled_ms(1000) - 2);
    }

    void settle_times_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("ms");
        QTest::newRow("colour preset") << 0x14 << 1 << 2000;
        QTest::newRow("engine white lock") << 0x105C << 1 << 2000;
        QTest::newRow("engine luminance") << 0x2B3 << 1 << 1000;
        QTest::newRow("0x2DA") << 0x2DA << 1 << 10000;
        QTest::newRow("engine mode 3") << 0x1067 << 3 << 0;
        QTest::newRow("engine mode 1") << 0x1067 << 1 << 5000;
        QTest::newRow("0x113F") << 0x113F << 0 << 3000;
        QTest::newRow("engine switch pauses itself") << 0x1147 << 2 << 0;
        QTest::newRow("brightness") << 0x10 << 5 << 0;
    }

    void settle_times()
    {
        QFETCH(int, code);
        QFETCH(int, value);
        QFETCH(int, ms);
        basic_monitor monitor;
        QCOMPARE(monitor.settle_time_for_control(code, value), ms);
    }

    void luminance_settle_times()
    {
        QCOMPARE(basic_monitor::settle_time_for_luminance(200), 4000);
        QCOMPARE(basic_monitor::settle_time_for_luminance(150.5), 4000);
        QCOMPARE(basic_monitor::settle_time_for_luminance(150), 5000);
        QCOMPARE(basic_monitor::settle_time_for_luminance(120), 5000);
        QCOMPARE(basic_monitor::settle_time_for_luminance(100), 10000);
    }

    void pauses_after_commands()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        wait_service::set_time_scale(0.05);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m.monitor.save_current_settings(), 0);
        QVERIFY(timer.elapsed() >= wait_service::scaled_ms(2000));
        QCOMPARE(m.display([](sim_display &d) { return d.saves; }), 1);
        timer.restart();
        QCOMPARE(m.monitor.set_color_preset(2), 0);
        QVERIFY(timer.elapsed() >= wait_service::scaled_ms(1000));
        QCOMPARE(m.monitor.restore_factory_color_defaults(), 0);
    }

    void usage_hours_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::newRow("minute counters") << kNewerModel << 12345.0 / 60 << (65536.0 + 100) / 60;
        QTest::newRow("half-hour counters only") << kOlderModel << 3000.0 << 3500.0;
    }

    void usage_hours()
    {
        QFETCH(QByteArray, model);
        QFETCH(double, a);
        QFETCH(double, b);
        monitor_fixture m(kAddress, model);
        QVERIFY_FIXTURE(m);
        double hours = 0;
        QCOMPARE(m.monitor.get_usage_hours_a(hours), 0);
        QCOMPARE(hours, a); // exact: both sides divide the same integers
        QCOMPARE(m.monitor.get_usage_hours_b(hours), 0);
        QCOMPARE(hours, b);
    }

    void power_clock_timing_and_keys()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        quint8 mode = 0;
        QCOMPARE(m.monitor.get_power_state(mode), 0);
        QCOMPARE(mode, quint8(1));
        QCOMPARE(m.monitor.set_power_state(4), 0);
        QCOMPARE(m.monitor.get_power_state(mode), 0);
        QCOMPARE(mode, quint8(4));
        QVERIFY(!m.display([](sim_display &d) { return d.video.power_on; }));

        const QDateTime when(QDate(2031, 7, 14), QTime(18, 45, 33));
        QCOMPARE(m.monitor.set_date_time(when, 1), 0);
        QDateTime read;
        quint8 dst = 0;
        QCOMPARE(m.monitor.get_date_time(read, dst), 0);
        QCOMPARE(read, QDateTime(QDate(2031, 7, 14), QTime(18, 45, 0)));
        QCOMPARE(dst, quint8(1));
        QCOMPARE(m.monitor.set_date_time(QDateTime(QDate(1999, 1, 1), QTime(0, 0)), 0),
                 int(link_status::kBadFrame));
        m.display([](sim_display &d) { d.clock.month = 13; });
        QDateTime untouched = when;
        QCOMPARE(m.monitor.get_date_time(untouched, dst), int(link_status::kBadFrame));
        QCOMPARE(untouched, when);

        quint8 status = 0;
        float h = 0, v = 0;
        QCOMPARE(m.monitor.get_timing_report(status, h, v), 0);
        QCOMPARE(v, 60.0f);

        wait_service::set_time_scale(0.05);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m.monitor.send_ir_sequence(QByteArray("\x11\x00\x22", 3)), 0);
        // One second for the 0 byte and 200 ms after each key.
        QVERIFY(timer.elapsed() >= wait_service::scaled_ms(1000) + 2 * wait_service::scaled_ms(200));
        QCOMPARE(m.display([](sim_display &d) { return d.ir_keys; }), (QList<quint16> {0x11, 0x22}));
    }

    void ir_sequence_stops_at_the_first_failure()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_fault(m.fx.display, sim_fault_kind::refuse_be, sim_fault::kForever, 1);
        QCOMPARE(m.monitor.send_ir_sequence(QByteArray("\x11\x22\x33")), int(link_status::kRefused));
        QCOMPARE(m.display([](sim_display &d) { return d.ir_keys; }), QList<quint16> {0x11});
    }

    void mac_address()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        QString mac;
        QCOMPARE(m.monitor.get_mac_address(0, mac), 0);
        // The address the wall gave the display, as the search also finds it.
        QCOMPARE(mac, QStringLiteral("02-54-53-00-00-41"));
        m.fx.wall.set_mac(m.fx.display, {{0x00, 0x11, 0x22, 0x33, 0x44, 0xAB}});
        QCOMPARE(m.monitor.get_mac_address(0, mac), 0);
        QCOMPARE(mac, QStringLiteral("00-11-22-33-44-AB"));
        // The LAN text gives the same address; the older models only have that.
        int first = 0, second = 0;
        QCOMPARE(m.monitor.get_lan_text_c22a(first, second, mac), 0);
        QCOMPARE(mac, QStringLiteral("00-11-22-33-44-AB"));
        m.display([](sim_display &d) { d.mac_address = "000000000000"; });
        QCOMPARE(m.monitor.get_mac_address(0, mac), 0);
        QVERIFY(mac.isEmpty());
        m.display([](sim_display &d) {
            d.apply_model(kOlderModel);
            d.mac_address = "0011223344AB";
        });
        QCOMPARE(m.monitor.get_mac_address(0, mac), int(link_status::kRefused));
        QCOMPARE(m.monitor.get_lan_text_c22a(first, second, mac), 0);
        QCOMPARE(mac, QStringLiteral("00-11-22-33-44-AB"));
    }

    // Events processed inside set_vcp_raw may reach the same monitor: such a
    // call is refused without sending, and the outer command completes.
    void reentrant_call_from_processed_events_is_refused()
    {
        monitor_fixture m(kAddress, kNewerModel);
        QVERIFY_FIXTURE(m);
        int inner = 1;
        QTimer::singleShot(0, &m.monitor, [&] {
            uint value = 0;
            inner = m.monitor.get_vcp(0x10, value);
        });
        m.clear_log();
        QCOMPARE(m.monitor.set_brightness(33), 0);
        QCOMPARE(inner, int(basic_monitor::kBusy));
        QCOMPARE(m.bodies(), QList<QByteArray> {write_body(0x10, 33)});
        uint value = 0;
        QCOMPARE(m.monitor.get_vcp(0x10, value), 0);
        QCOMPARE(value, 33u);
    }
};

QTEST_GUILESS_MAIN(tst_basic_monitor_controls)
#include "tst_basic_monitor_controls.moc"
