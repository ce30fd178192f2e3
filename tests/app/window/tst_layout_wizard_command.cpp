#include "app/controller/layout_manager.h"
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/basic_monitor.h"
#include "layout_setup/SummaryPage.h"
#include "main_window_fixture.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/app/serial_test_ports.h"
#include "tests/layout_setup/layout_wizard_driver.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

using namespace layout_wizard_driver;

namespace {

// This process's own loopback block: another test run may share the machine.
const QString kBlock = loopback_block::prefix() + QLatin1Char('.');

QList<display_layout_item> items_of(layout_manager &layout)
{
    QList<display_layout_item> items;
    for (int i = 0; i < layout.item_count(); ++i) {
        display_layout_item item;
        layout.get_item(i, item);
        items << item;
    }
    return items;
}

// "column,row id address" of every display, in list order.
QStringList described(const QList<display_layout_item> &items)
{
    QStringList lines;
    for (const display_layout_item &item : items)
        lines << QStringLiteral("%1,%2 %3 %4")
                     .arg(item.column)
                     .arg(item.row)
                     .arg(item.monitor_id)
                     .arg(item.connection_address);
    return lines;
}

// The serial number of the display that a record reaches through the
// program's shared display link; the link is released afterwards.
QString serial_reached(basic_monitor &monitor, const display_layout_item &item)
{
    const int kind = item.connection_type == display_layout_item::kLan ? PDCommProtocol::kLinkLan
                                                                        : PDCommProtocol::kLinkSerial;
    QString serial;
    int status = monitor.open_link(item.connection_address, kind);
    if (status == 0) {
        monitor.set_monitor_id(quint8(basic_monitor::kMonitorIdBase + item.monitor_id));
        status = monitor.get_serial_number(serial);
    }
    monitor.open_link(QString(), PDCommProtocol::kLinkNone);
    return status == 0 ? serial : QStringLiteral("error %1").arg(status);
}

// The main window's Layout Wizard command, as the menu runs it.
void run_layout_command(main_window_fixture &fixture)
{
    fixture.window().findChild<QAction *>(QStringLiteral("actionLayout"))->trigger();
}

// Names each simulated display after the position it has on the wall.
void name_by_position(simulated_wall &wall, int display, int column, int row)
{
    wall.with_display(display, [&](sim_display &d) {
        d.serial_number = QStringLiteral("AT-%1-%2").arg(column).arg(row).toLatin1();
    });
}

void check_every_display_reached(headless_controller &controller)
{
    for (const display_layout_item &item : items_of(controller.layout())) {
        QCOMPARE(serial_reached(*controller.controller().getMonitor(), item),
                 QStringLiteral("AT-%1-%2").arg(item.column).arg(item.row));
    }
}

void check_records_are_new(const QList<display_layout_item> &items, int orientation)
{
    for (const display_layout_item &item : items) {
        QVERIFY(item.enabled);
        QCOMPARE(item.verify_status, 0);
        QVERIFY(!item.id_conflict);
        QVERIFY(!item.duplicate_display);
        QCOMPARE(item.orientation, orientation);
    }
}

} // namespace

class tst_layout_wizard_command : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }
    void init() { clear_serial_port_overrides(); }
    void cleanup() { clear_serial_port_overrides(); }

    void presets_from_the_layout();
    void cancel_builds_nothing();
    void lan_wall_with_one_shared_id();
    void rs232_daisy_chain_behind_com3_from_another_corner();
    void lan_chain_translated_through_the_first_display();
    void auto_id_chain_starts_at_one();
};

void tst_layout_wizard_command::presets_from_the_layout()
{
    main_window_fixture fixture;
    fixture.window();
    layout_manager &layout = fixture.wall().layout();
    int rows = 0;
    int columns = 0;
    int firstId = 0;
    auto read_presets = [&](display_layout_wizard_advanced &wizard) {
        rows = wizard.field("size.rows").toInt();
        columns = wizard.field("size.columns").toInt();
        firstId = wizard.field("id.first").toInt();
    };

    layout.create_layout(4, 3, 7, 0, kBlock + "1", display_layout_item::kLan, true, true, false, true, 1);
    when_wizard_opens(read_presets);
    run_layout_command(fixture);
    QCOMPARE(rows, 3);
    QCOMPARE(columns, 4);
    QCOMPARE(firstId, 7);

    // Every display on ID 100: the preset is 99, which the ID box shows as
    // its limit of 98 until the ID page sets its range.
    layout.create_layout(2, 1, 100, 0, kBlock + "1", display_layout_item::kLan, false, true, false, true, 1);
    when_wizard_opens(read_presets);
    run_layout_command(fixture);
    QCOMPARE(rows, 1);
    QCOMPARE(columns, 2);
    QCOMPARE(firstId, 98);
}

void tst_layout_wizard_command::cancel_builds_nothing()
{
    main_window_fixture fixture;
    headless_controller &controller = fixture.wall();
    controller.create_wall(3, 2, kBlock + "1");
    Tessaline &window = fixture.window();
    const QWidget *view = window.centralWidget();
    const QStringList before = described(items_of(controller.layout()));
    QSignalSpy changed(&controller.layout(), &layout_manager::layout_changed);
    controller.layout().set_modified(false);

    bool opened = false;
    when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        opened = true;
        wall_description description;
        description.columns = 2;
        description.rows = 2;
        QCOMPARE(describe_wall(wizard, description), QStringLiteral("0-1-2-3-4-7-8-9-10-11-12"));
        QVERIFY(press(wizard, QWizard::CancelButton));
    });
    run_layout_command(fixture);
    QVERIFY(opened);
    QCOMPARE(described(items_of(controller.layout())), before);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!controller.layout().is_modified());
    QCOMPARE(window.centralWidget(), view);
}

void tst_layout_wizard_command::lan_wall_with_one_shared_id()
{
    main_window_fixture fixture;
    headless_controller &controller = fixture.wall();
    Tessaline &window = fixture.window();
    const QWidget *view = window.centralWidget();
    simulated_wall wall;
    // Four displays, each on its own address, all with monitor ID 3.
    for (int n = 0; n < 4; ++n) {
        const int endpoint = wall.add_lan_endpoint(kBlock + QString::number(1 + n));
        QVERIFY(endpoint >= 0);
        name_by_position(wall, wall.add_display(endpoint, 'C'), n % 2, n / 2);
    }

    when_wizard_opens([](display_layout_wizard_advanced &wizard) {
        wall_description description;
        description.columns = 2;
        description.rows = 2;
        description.link = separate_lan_one_id;
        description.address = kBlock + "1";
        description.first_id = 3;
        QCOMPARE(describe_wall(wizard, description), QStringLiteral("0-1-2-3-4-7-8-9-10-11-12"));
        QVERIFY(finish(wizard));
    });
    run_layout_command(fixture);

    const QList<display_layout_item> items = items_of(controller.layout());
    QCOMPARE(described(items), QStringList({"0,0 3 " + kBlock + "1", "1,0 3 " + kBlock + "2", "0,1 3 " + kBlock + "3",
                                            "1,1 3 " + kBlock + "4"}));
    check_records_are_new(items, display_layout_item::kLandscape);
    for (const display_layout_item &item : items)
        QCOMPARE(item.connection_type, int(display_layout_item::kLan));
    QVERIFY(controller.layout().is_modified());
    QVERIFY(window.centralWidget() != view); // a new wall view
    check_every_display_reached(controller);
}

void tst_layout_wizard_command::rs232_daisy_chain_behind_com3_from_another_corner()
{
    main_window_fixture fixture;
    headless_controller &controller = fixture.wall();
    fixture.window();
    simulated_wall wall;
    const int serial = wall.add_serial_endpoint();
    QVERIFY(serial >= 0);
    qputenv("TESSALINE_SERIAL_PORT_COM3", wall.serial_path(serial).toLocal8Bit());
    // From the bottom-right corner, counter-clockwise, zig-zag: up the right
    // column, then down the left one.
    const QList<QPoint> positions{{1, 1}, {1, 0}, {0, 0}, {0, 1}};
    for (int n = 0; n < 4; ++n)
        name_by_position(wall, wall.add_display(serial, char('A' + n)), positions.at(n).x(), positions.at(n).y());

    QStringList present;
    when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        wall_description description;
        description.columns = 2;
        description.rows = 2;
        description.configuration_type = 1;
        description.link = rs232_chain;
        description.com_port = 2;
        description.corner = "bottom_right_radioButton";
        description.clockwise = false;
        description.zigzag = true;
        description.portrait = true;
        QCOMPARE(describe_wall(wizard, description), QStringLiteral("0-1-2-3-6-8-9-10-11-12"));
        // The pseudo-terminal named COM3 shows as present.
        auto *ports = control<QComboBox>(wizard, kFirstConnectionPage, "com_port_comboBox");
        const QImage green = QIcon(":/images/Resources/green circle icon.png").pixmap(16).toImage();
        for (int i = 0; i < ports->count(); ++i) {
            if (ports->itemIcon(i).pixmap(16).toImage() == green)
                present << ports->itemText(i);
        }
        QVERIFY(finish(wizard));
    });
    run_layout_command(fixture);
    QVERIFY(present.contains(QStringLiteral("COM3")));

    const QList<display_layout_item> items = items_of(controller.layout());
    QCOMPARE(described(items), QStringList({"1,1 1 COM3", "1,0 2 COM3", "0,0 3 COM3", "0,1 4 COM3"}));
    check_records_are_new(items, display_layout_item::kPortrait);
    for (const display_layout_item &item : items)
        QCOMPARE(item.connection_type, int(display_layout_item::kRs232));
    check_every_display_reached(controller);
}

void tst_layout_wizard_command::lan_chain_translated_through_the_first_display()
{
    main_window_fixture fixture;
    headless_controller &controller = fixture.wall();
    fixture.window();
    simulated_wall wall;
    const int endpoint = wall.add_lan_endpoint(kBlock + "10");
    QVERIFY(endpoint >= 0);
    for (int n = 0; n < 3; ++n)
        name_by_position(wall, wall.add_display(endpoint, char('A' + n)), n, 0);

    QStringList listed;
    when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        wall_description description;
        description.columns = 3;
        description.rows = 1;
        description.configuration_type = 3;
        description.link = lan_chain_translated;
        description.address = kBlock + "10";
        QCOMPARE(describe_wall(wizard, description), QStringLiteral("0-1-2-3-4-5-7-8-9-11-12"));
        listed = described(wizard.summaryPage()->layoutList());
        QVERIFY(finish(wizard));
    });
    run_layout_command(fixture);

    // The summary lists the address to set on each display; the wall reaches
    // every display through the first one.
    QCOMPARE(listed, QStringList({"0,0 1 " + kBlock + "10", "1,0 2 " + kBlock + "11", "2,0 3 " + kBlock + "12"}));
    const QList<display_layout_item> items = items_of(controller.layout());
    QCOMPARE(described(items),
             QStringList({"0,0 1 " + kBlock + "10", "1,0 2 " + kBlock + "10", "2,0 3 " + kBlock + "10"}));
    check_records_are_new(items, display_layout_item::kLandscape);
    check_every_display_reached(controller);
}

void tst_layout_wizard_command::auto_id_chain_starts_at_one()
{
    main_window_fixture fixture;
    fixture.window();
    when_wizard_opens([](display_layout_wizard_advanced &wizard) {
        wall_description description;
        description.columns = 2;
        description.rows = 1;
        description.link = lan_chain_direct;
        description.address = kBlock + "20";
        description.first_id = 30;
        describe_wall(wizard, description);
        QVERIFY(finish(wizard));
    });
    run_layout_command(fixture);
    QCOMPARE(described(items_of(fixture.wall().layout())),
             QStringList({"0,0 1 " + kBlock + "20", "1,0 2 " + kBlock + "21"}));
}

QTEST_MAIN(tst_layout_wizard_command)
#include "tst_layout_wizard_command.moc"
