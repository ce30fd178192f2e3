#include "app/controller/layout_manager.h"
#include "app/services/string_resource.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "tests/app/serial_test_ports.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/support/form_child.h"
#include "tests/support/headless_controller.h"
#include "tests/support/modal_box_answerer.h"
#include "views/docks/KQ_communications_interface_configure_widget.h"
#include "views/docks/communications_interface_state.h"
#include "views/docks/network_search_opener.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(applied_connection)
Q_DECLARE_METATYPE(connection_entry)

namespace {

// A model that knows its own monitor ID (control 0x23E).
const QByteArray kModel = "VW-5520L";

applied_connection lan_applied(const QString &address, int id)
{
    applied_connection applied;
    applied.address = address;
    applied.monitor_id = id;
    return applied;
}

applied_connection rs232_applied(int com_index, int id)
{
    applied_connection applied;
    applied.rs232 = true;
    applied.com_index = com_index;
    applied.monitor_id = id;
    return applied;
}

connection_entry lan_entry(const QString &address, bool acceptable, int id)
{
    connection_entry entry;
    entry.address = address;
    entry.address_acceptable = acceptable;
    entry.monitor_id = id;
    return entry;
}

connection_entry rs232_entry(int com_index, int id)
{
    connection_entry entry;
    entry.rs232 = true;
    entry.com_index = com_index;
    entry.com_name = com_index >= 0 ? QStringLiteral("COM%1").arg(com_index + 1) : QString();
    entry.monitor_id = id;
    return entry;
}

} // namespace

class tst_communications_interface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { clear_serial_port_overrides(); }
    void cleanup()
    {
        clear_serial_port_overrides();
        set_network_search_opener({});
    }

    void edit_state_data();
    void edit_state();
    void update_writes_the_entry_to_be_verified_again_data();
    void update_writes_the_entry_to_be_verified_again();

    void test_on_lan_reaches_the_chosen_display();
    void test_of_a_silent_display_shows_the_error();
    void auto_detect_asks_every_display_for_its_id();
    void auto_detect_of_an_id_without_a_row_keeps_the_choice();
    void auto_detect_where_the_id_is_unknown_reports_it();
    void test_through_a_named_pseudo_terminal();
    void nothing_selected_opens_no_link();
    void update_clears_the_pending_warning();
    void record_id_without_a_row_chooses_none();
    void ports_coming_and_going_keep_the_row();
    void refresh_replaces_the_completer();
    void search_puts_the_chosen_address_in();
};

void tst_communications_interface::edit_state_data()
{
    QTest::addColumn<applied_connection>("applied");
    QTest::addColumn<connection_entry>("entry");
    QTest::addColumn<bool>("com_enabled");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("pending");

    const QString address = QStringLiteral("127.0.0.5");
    QTest::newRow("LAN as loaded") << lan_applied(address, 4) << lan_entry(address, true, 4) << false << true
                                   << false;
    QTest::newRow("LAN, only the ID changed") << lan_applied(address, 4) << lan_entry(address, true, 5) << false
                                              << true << true;
    QTest::newRow("LAN, another address") << lan_applied(address, 4)
                                          << lan_entry(QStringLiteral("127.0.0.6"), true, 4) << false << true << true;
    QTest::newRow("LAN, incomplete address") << lan_applied(address, 4)
                                             << lan_entry(QStringLiteral("127.0.0."), false, 5) << false << false
                                             << false;
    QTest::newRow("LAN, no ID chosen") << lan_applied(address, 150) << lan_entry(address, true, 0) << false << false
                                       << false;
    QTest::newRow("RS-232 as loaded") << rs232_applied(2, 1) << rs232_entry(2, 1) << true << true << false;
    QTest::newRow("RS-232, another port") << rs232_applied(2, 1) << rs232_entry(3, 1) << true << true << true;
    QTest::newRow("RS-232, no port") << rs232_applied(-1, 1) << rs232_entry(-1, 1) << true << false << false;
    QTest::newRow("LAN display moved to RS-232") << lan_applied(address, 1) << rs232_entry(0, 1) << true << true
                                                 << true;
    QTest::newRow("RS-232 display moved to LAN") << rs232_applied(0, 1) << lan_entry(QString(), true, 1) << false
                                                 << true << true;
}

void tst_communications_interface::edit_state()
{
    QFETCH(applied_connection, applied);
    QFETCH(connection_entry, entry);
    QFETCH(bool, pending);
    const connection_edit_state state = connection_edit_state_for(applied, entry);
    QTEST(state.com_enabled, "com_enabled");
    QCOMPARE(state.address_enabled, !state.com_enabled);
    QTEST(state.valid, "valid");
    QCOMPARE(state.pending, pending);
    QCOMPARE(state.update_icon,
             pending ? QStringLiteral(":/images/Resources/alerts_yellow_icon_20.png") : QString());
    QCOMPARE(state.update_tooltip,
             pending ? QStringLiteral("<img src=\":/images/Resources/alerts_yellow_icon_20.png\"> Unapplied changes")
                     : QString());
}

void tst_communications_interface::update_writes_the_entry_to_be_verified_again_data()
{
    QTest::addColumn<connection_entry>("entry");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("address");
    QTest::newRow("LAN") << lan_entry(QStringLiteral("127.0.0.9"), true, 7) << int(display_layout_item::kLan)
                         << QStringLiteral("127.0.0.9");
    connection_entry serial = rs232_entry(3, 7);
    serial.address = QStringLiteral("127.0.0.9"); // left in the line edit, not used
    QTest::newRow("RS-232") << serial << int(display_layout_item::kRs232) << QStringLiteral("COM4");
}

void tst_communications_interface::update_writes_the_entry_to_be_verified_again()
{
    QFETCH(connection_entry, entry);
    display_layout_item item;
    item.column = 2;
    item.row = 1;
    item.monitor_id = 1;
    item.verify_status = display_layout_item::kVerified;
    item.serial_number = QStringLiteral("SN1");
    const display_layout_item updated = updated_layout_item(item, entry);
    QCOMPARE(updated.monitor_id, 7);
    QTEST(int(updated.connection_type), "type");
    QTEST(updated.connection_address, "address");
    QCOMPARE(updated.verify_status, 0);
    QCOMPARE(updated.column, 2);
    QCOMPARE(updated.row, 1);
    QCOMPARE(updated.serial_number, QStringLiteral("SN1"));
}

namespace {

// The dock on a controller whose wall is one display at |address|.
struct connection_dock
{
    explicit connection_dock(const QString &address)
    {
        wall.create_wall(1, 1, address);
        // The main window refreshes the dock on every layout change.
        QObject::connect(&wall.layout(), &layout_manager::layout_changed, &widget,
                         &KQ_communications_interface_configure_widget::UpdateDataDisplay);
    }
    void set_rs232(const QString &port)
    {
        display_layout_item item;
        wall.layout().get_item(0, item);
        item.connection_type = display_layout_item::kRs232;
        item.connection_address = port;
        wall.layout().set_item(0, item, false);
    }
    template <class T> T *child(const char *name) { return form_child<T>(widget, name); }
    QComboBox *ids() { return child<QComboBox>("display_ID_comboBox"); }
    QLineEdit *address() { return child<QLineEdit>("ip_address_lineEdit"); }
    QPushButton *update() { return child<QPushButton>("update_pushButton"); }
    QPushButton *test() { return child<QPushButton>("verify_pushButton"); }
    QPushButton *detect() { return child<QPushButton>("auto_detect_pushButton"); }
    basic_monitor &monitor() { return *wall.controller().getMonitor(); }

    headless_controller wall;
    KQ_communications_interface_configure_widget widget;
};

bool link_released(const QSignalSpy &ports)
{
    return !ports.isEmpty() && ports.last().at(0).toString().isEmpty();
}

} // namespace

void tst_communications_interface::test_on_lan_reaches_the_chosen_display()
{
    wall_fixture display(loopback_block::address(1));
    QVERIFY_FIXTURE(display);
    connection_dock dock(display.address);
    dock.widget.selection_changed(0);
    QVERIFY(dock.child<QRadioButton>("lan_radioButton")->isChecked());
    QCOMPARE(dock.address()->text(), display.address);
    QCOMPARE(dock.ids()->currentData().toInt(), 1);
    QVERIFY(!dock.update()->isEnabled());
    QVERIFY(dock.test()->isEnabled());

    QSignalSpy ports(&dock.monitor(), &basic_monitor::com_port_changed);
    QSignalSpy messages(&dock.widget, &KQ_communications_interface_configure_widget::status_message);
    modal_box_answerer boxes;
    dock.test()->click();
    QVERIFY(boxes.seen().isEmpty());
    QVERIFY(!dock.test()->icon().isNull());
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.first().at(0).toString(), QString());
    QCOMPARE(messages.last().at(0).toString(), QStringLiteral("Communications with display successful"));
    QCOMPARE(messages.last().at(1).toInt(), 10000);
    QVERIFY(link_released(ports));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(display.frames() > 0);
    for (const sim_log_entry &frame : display.wall.log())
        QCOMPARE(frame.destination, 'A');

    // The next edit takes the result away.
    dock.ids()->setCurrentIndex(4);
    QVERIFY(dock.test()->icon().isNull());
}

void tst_communications_interface::test_of_a_silent_display_shows_the_error()
{
    wall_fixture display(loopback_block::address(1));
    QVERIFY_FIXTURE(display);
    display.wall.set_fault(display.display, sim_fault_kind::silent);
    connection_dock dock(display.address);
    dock.widget.selection_changed(0);
    QSignalSpy ports(&dock.monitor(), &basic_monitor::com_port_changed);
    QSignalSpy messages(&dock.widget, &KQ_communications_interface_configure_widget::status_message);
    modal_box_answerer boxes({QMessageBox::Ok});
    dock.test()->click();
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY(!dock.test()->icon().isNull());
    QCOMPARE(messages.size(), 1); // only the emptied status bar
    QVERIFY(link_released(ports));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_communications_interface::auto_detect_asks_every_display_for_its_id()
{
    // The display answers as ID 3; the record still says 1.
    wall_fixture display(loopback_block::address(1), 'C');
    QVERIFY_FIXTURE(display);
    display.wall.with_display(display.display, [](sim_display &d) { d.apply_model(kModel); });
    connection_dock dock(display.address);
    dock.widget.selection_changed(0);
    QSignalSpy ports(&dock.monitor(), &basic_monitor::com_port_changed);
    modal_box_answerer boxes;
    dock.detect()->click();
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(dock.ids()->currentData().toInt(), 3);
    QVERIFY(dock.update()->isEnabled());
    QVERIFY(!dock.test()->icon().isNull());
    QVERIFY(link_released(ports));
    QVERIFY(display.frames() > 0);
    for (const sim_log_entry &frame : display.wall.log())
        QCOMPARE(frame.destination, '*');
}

void tst_communications_interface::auto_detect_of_an_id_without_a_row_keeps_the_choice()
{
    // A display that calls itself 150.
    wall_fixture display(loopback_block::address(1), char(64 + 150));
    QVERIFY_FIXTURE(display);
    display.wall.with_display(display.display, [](sim_display &d) { d.apply_model(kModel); });
    connection_dock dock(display.address);
    dock.widget.selection_changed(0);
    dock.ids()->setCurrentIndex(6);
    modal_box_answerer boxes;
    dock.detect()->click();
    QCOMPARE(dock.ids()->currentIndex(), 6);
    QVERIFY(boxes.seen().isEmpty());
}

void tst_communications_interface::auto_detect_where_the_id_is_unknown_reports_it()
{
    // The generic display does not know control 0x23E: its answer carries no ID.
    wall_fixture display(loopback_block::address(1), 'C');
    QVERIFY_FIXTURE(display);
    connection_dock dock(display.address);
    dock.widget.selection_changed(0);
    QSignalSpy ports(&dock.monitor(), &basic_monitor::com_port_changed);
    modal_box_answerer boxes({QMessageBox::Ok});
    dock.detect()->click();
    QCOMPARE(boxes.seen().size(), 1);
    QCOMPARE(dock.ids()->currentData().toInt(), 1);
    QVERIFY(link_released(ports));
}

void tst_communications_interface::test_through_a_named_pseudo_terminal()
{
    simulated_wall serial;
    const int endpoint = serial.add_serial_endpoint();
    QVERIFY(endpoint >= 0);
    QVERIFY(serial.add_display(endpoint, 'A') >= 0);
    qputenv("TESSALINE_SERIAL_PORT_COM3", serial.serial_path(endpoint).toLocal8Bit());

    connection_dock dock(QStringLiteral("127.0.0.1"));
    dock.set_rs232(QStringLiteral("COM3"));
    dock.widget.selection_changed(0);
    QVERIFY(dock.child<QRadioButton>("rs232_radioButton")->isChecked());
    QCOMPARE(dock.child<QComboBox>("com_port_comboBox")->currentText(), QStringLiteral("COM3"));
    QVERIFY(!dock.address()->isEnabled());
    QVERIFY(!dock.address()->hasAcceptableInput());

    QSignalSpy ports(&dock.monitor(), &basic_monitor::com_port_changed);
    QSignalSpy messages(&dock.widget, &KQ_communications_interface_configure_widget::status_message);
    modal_box_answerer boxes;
    dock.test()->click();
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(messages.last().at(0).toString(), QStringLiteral("Communications with display successful"));
    QVERIFY(link_released(ports));
    QVERIFY(!serial.log().isEmpty());
}

void tst_communications_interface::nothing_selected_opens_no_link()
{
    connection_dock dock(QStringLiteral("127.0.0.1"));
    QSignalSpy ports(&dock.monitor(), &basic_monitor::com_port_changed);
    modal_box_answerer boxes({QMessageBox::Ok, QMessageBox::Ok});
    dock.test()->click();
    dock.detect()->click();
    QCOMPARE(boxes.seen().size(), 2);
    for (const modal_box_answerer::seen_box &box : boxes.seen())
        QCOMPARE(box.text, string_resource(100).arg(-1));
    QVERIFY(ports.isEmpty());
}

void tst_communications_interface::update_clears_the_pending_warning()
{
    connection_dock dock(QStringLiteral("127.0.0.5"));
    dock.widget.selection_changed(0);
    dock.ids()->setCurrentIndex(dock.ids()->findData(9));
    QVERIFY(dock.update()->isEnabled());
    QVERIFY(!dock.update()->icon().isNull());
    QVERIFY(dock.update()->toolTip().contains(QStringLiteral("Unapplied changes")));
    dock.ids()->setCurrentIndex(dock.ids()->findData(1));
    QVERIFY(!dock.update()->isEnabled());
    QVERIFY(dock.update()->icon().isNull());
    QVERIFY(dock.update()->toolTip().isEmpty());

    dock.ids()->setCurrentIndex(dock.ids()->findData(9));
    dock.address()->setText(QStringLiteral("127.0.0.6"));
    display_layout_item verified;
    dock.wall.layout().get_item(0, verified);
    verified.verify_status = display_layout_item::kVerified;
    dock.wall.layout().set_item(0, verified, false);
    dock.update()->click();

    display_layout_item stored;
    QCOMPARE(dock.wall.layout().get_item(0, stored), 0);
    QCOMPARE(stored.monitor_id, 9);
    QCOMPARE(stored.connection_address, QStringLiteral("127.0.0.6"));
    QCOMPARE(int(stored.connection_type), int(display_layout_item::kLan));
    QCOMPARE(stored.verify_status, 0);
    QVERIFY(!dock.update()->isEnabled());
    QVERIFY(dock.update()->icon().isNull());
}

void tst_communications_interface::record_id_without_a_row_chooses_none()
{
    connection_dock dock(QStringLiteral("127.0.0.5"));
    display_layout_item item;
    dock.wall.layout().get_item(0, item);
    item.monitor_id = 0;
    dock.wall.layout().set_item(0, item, false);
    dock.widget.selection_changed(0);
    QCOMPARE(dock.ids()->currentIndex(), -1);
    QVERIFY(!dock.update()->isEnabled());
    QVERIFY(!dock.test()->isEnabled());

    dock.ids()->setCurrentIndex(0);
    QVERIFY(dock.update()->isEnabled());
    dock.update()->click();
    dock.wall.layout().get_item(0, item);
    QCOMPARE(item.monitor_id, 1);
}

void tst_communications_interface::ports_coming_and_going_keep_the_row()
{
    connection_dock dock(QStringLiteral("127.0.0.5"));
    dock.set_rs232(QStringLiteral("COM4"));
    dock.widget.selection_changed(0);
    QList<serial_port_record> machine;
    dock.widget.portWatcher()->setPortSource([&machine] { return machine; });
    QComboBox *ports = dock.child<QComboBox>("com_port_comboBox");
    QCOMPARE(ports->currentIndex(), 3);
    QSignalSpy changed(ports, QOverload<int>::of(&QComboBox::currentIndexChanged));

    machine.append(serial_port_at(QStringLiteral("/dev/ttyS3")));
    dock.widget.portWatcher()->poll_now();
    QCOMPARE(ports->currentIndex(), 3);
    QCOMPARE(ports->count(), 16);
    machine.clear();
    dock.widget.portWatcher()->poll_now();
    QCOMPARE(ports->currentIndex(), 3);
    QCOMPARE(changed.size(), 0);
    QVERIFY(!dock.update()->isEnabled());
}

void tst_communications_interface::refresh_replaces_the_completer()
{
    connection_dock dock(QStringLiteral("127.0.0.5"));
    for (int i = 0; i < 3; ++i)
        dock.widget.selection_changed(0);
    dock.widget.selection_changed(-1);
    QCOMPARE(dock.widget.findChildren<QCompleter *>().size(), 1);
    QCompleter *completer = dock.address()->completer();
    QVERIFY(completer);
    QCOMPARE(completer->caseSensitivity(), Qt::CaseInsensitive);
    QCOMPARE(completer->completionMode(), QCompleter::UnfilteredPopupCompletion);
    QCOMPARE(completer->model()->rowCount(), 2); // the display's address and 192.168.0.10
}

void tst_communications_interface::search_puts_the_chosen_address_in()
{
    connection_dock dock(QStringLiteral("127.0.0.5"));
    dock.widget.selection_changed(0);
    // Without an opener the search does nothing.
    dock.child<QPushButton>("lan_search_pushButton")->click();
    QCOMPARE(dock.address()->text(), QStringLiteral("127.0.0.5"));

    network_search_request asked;
    QWidget *parent = nullptr;
    set_network_search_opener([&](QWidget *over, const network_search_request &request, QString &chosen) {
        asked = request;
        parent = over;
        chosen = QStringLiteral("127.0.0.77");
        return true;
    });
    dock.child<QPushButton>("lan_search_pushButton")->click();
    QCOMPARE(parent, &dock.widget);
    QCOMPARE(asked.mode, 2);
    QCOMPARE(asked.used_addresses, QStringList({QStringLiteral("127.0.0.5"), QStringLiteral("192.168.0.10")}));
    QCOMPARE(dock.address()->text(), QStringLiteral("127.0.0.77"));
    QVERIFY(dock.update()->isEnabled());

    set_network_search_opener([](QWidget *, const network_search_request &, QString &) { return false; });
    dock.child<QPushButton>("lan_search_pushButton")->click();
    QCOMPARE(dock.address()->text(), QStringLiteral("127.0.0.77"));
}

QTEST_MAIN(tst_communications_interface)
#include "tst_communications_interface.moc"
