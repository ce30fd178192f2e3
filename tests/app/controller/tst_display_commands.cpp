#include "app/controller/display_commands.h"
#include "app/controller/display_layout_item.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "simulator/loopback_block.h"
#include "tests/display_protocol/wall_fixture.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kAddress = loopback_block::address(1);
// Nobody listens here: the link cannot be opened.
const QString kSilentAddress = loopback_block::address(2);
constexpr double kScale = 0.01;
const QByteArray kModel = "VW-5520L";

display_layout_item item_at(const QString &address, int monitor_id)
{
    display_layout_item item;
    item.connection_type = display_layout_item::kLan;
    item.connection_address = address;
    item.monitor_id = monitor_id;
    return item;
}

// The second display of a LAN chain ('B', monitor ID 2) of the given model.
struct chain_fixture
{
    chain_fixture()
    {
        endpoint = wall.add_lan_endpoint(kAddress);
        wall.add_display(endpoint, 'A');
        display = wall.add_display(endpoint, 'B');
        wall.with_display(display, [](sim_display &d) { d.apply_model(kModel); });
    }
    bool ready() const { return endpoint >= 0 && display >= 0; }
    template <typename F>
    auto on_display(F &&f)
    {
        return wall.with_display(display, std::forward<F>(f));
    }
    QList<QByteArray> bodies() const
    {
        QList<QByteArray> out;
        for (const sim_log_entry &e : wall.log())
            out << e.body;
        return out;
    }
    QSet<char> destinations() const
    {
        QSet<char> out;
        for (const sim_log_entry &e : wall.log())
            out << e.destination;
        return out;
    }

    simulated_wall wall;
    int endpoint = -1;
    int display = -1;
};

// A display link whose port announcements are watched: the last one names
// no port once the link is back to none.
struct watched_monitor
{
    bool released() const { return !ports.isEmpty() && ports.last().at(0).toString().isEmpty(); }

    basic_monitor monitor;
    QSignalSpy ports{&monitor, &basic_monitor::com_port_changed};
};

bool sent(const QList<QByteArray> &bodies, const QByteArray &start)
{
    for (const QByteArray &body : bodies) {
        if (body.startsWith(start))
            return true;
    }
    return false;
}

} // namespace

class tst_display_commands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(kScale); }

    void identify_cycles_the_levels_of_a_display_that_is_on();
    void identify_in_standby_reports_not_powered_on();
    void power_sends_on_or_standby_data();
    void power_sends_on_or_standby();
    void osd_orientation_is_written();
    void failures_leave_the_link_released_data();
    void failures_leave_the_link_released();
};

void tst_display_commands::identify_cycles_the_levels_of_a_display_that_is_on()
{
    chain_fixture fx;
    QVERIFY(fx.ready());
    watched_monitor m;
    QCOMPARE(run_display_command(m.monitor, item_at(kAddress, 2), display_command::identify, 0), 0);
    QVERIFY(m.released());
    const QList<QByteArray> bodies = fx.bodies();
    QVERIFY2(sent(bodies, "01D6"), "the power state is read first");
    QCOMPARE(fx.destinations(), QSet<char>{'B'});
    // The level writes of the cycle follow the power read.
    QVERIFY(bodies.size() > 3);
}

void tst_display_commands::identify_in_standby_reports_not_powered_on()
{
    chain_fixture fx;
    QVERIFY(fx.ready());
    watched_monitor m;
    QCOMPARE(run_display_command(m.monitor, item_at(kAddress, 2), display_command::power, 0), 0);
    fx.wall.clear_log();

    QCOMPARE(run_display_command(m.monitor, item_at(kAddress, 2), display_command::identify, 0),
             kErrDisplayNotPoweredOn);
    QVERIFY(m.released());
    QCOMPARE(fx.bodies(), QList<QByteArray>{"01D6"}); // nothing after the power read
}

void tst_display_commands::power_sends_on_or_standby_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<bool>("on");
    QTest::newRow("0: standby") << 0 << QByteArray("C203D60004") << false;
    QTest::newRow("1: on") << 1 << QByteArray("C203D60001") << true;
    QTest::newRow("any other non-zero: on") << 7 << QByteArray("C203D60001") << true;
}

void tst_display_commands::power_sends_on_or_standby()
{
    QFETCH(int, state);
    QFETCH(QByteArray, command);
    QFETCH(bool, on);
    chain_fixture fx;
    QVERIFY(fx.ready());
    fx.on_display([on](sim_display &d) { d.video.power_on = !on; });
    watched_monitor m;
    QCOMPARE(run_display_command(m.monitor, item_at(kAddress, 2), display_command::power, state), 0);
    QVERIFY(m.released());
    QVERIFY2(sent(fx.bodies(), command), qPrintable(fx.bodies().join(' ')));
    QCOMPARE(fx.on_display([](sim_display &d) { return d.video.power_on; }), on);
}

void tst_display_commands::osd_orientation_is_written()
{
    chain_fixture fx;
    QVERIFY(fx.ready());
    watched_monitor m;
    QCOMPARE(run_display_command(m.monitor, item_at(kAddress, 2), display_command::osd_orientation, 1), 0);
    QVERIFY(m.released());
    QCOMPARE(fx.on_display([](sim_display &d) { return d.controls.value(control_code::kOsdOrientation); }),
             quint16(1));
}

void tst_display_commands::failures_leave_the_link_released_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("command");
    QTest::newRow("no display at the address") << kSilentAddress << int(display_command::power);
    QTest::newRow("orientation refused") << kAddress << int(display_command::osd_orientation);
}

void tst_display_commands::failures_leave_the_link_released()
{
    QFETCH(QString, address);
    QFETCH(int, command);
    chain_fixture fx;
    QVERIFY(fx.ready());
    fx.wall.refuse_writes(fx.display, control_code::kOsdOrientation);
    watched_monitor m;
    QVERIFY(run_display_command(m.monitor, item_at(address, 2), display_command(command), 1) < 0);
    QVERIFY(m.released());
}

QTEST_GUILESS_MAIN(tst_display_commands)
#include "tst_display_commands.moc"
