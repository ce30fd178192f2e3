// The network search dialog against simulated displays on addresses of this
// process's loopback block, found through the loopback broadcast address.
// The search listens on every address, on this process's own search port.
#include "app/services/string_resource.h"
#include "display_protocol/NetworkInterfaceCard.h"
#include "display_protocol/PJSearchUdp.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "layout_setup/CProjectorBrowseDlg.h"
#include "layout_setup/KQ_display_layout_ipaddress_select_widget.h"
#include "layout_setup/program_network_interfaces.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/support/headless_controller.h"
#include "tests/support/modal_box_answerer.h"

#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextCodec>
#include <QtTest>

namespace {

// Nominal waits run at a fiftieth.
constexpr double kTimeScale = 0.02;
// The quiet that ends collecting answers, in real time: a simulated
// display's thread starved on a machine whose every core is busy has
// answered after more than 300 ms.
constexpr qint64 kAnswerQuietMs = 1000;

const QHostAddress kOwnAddress(loopback_block::address(254));

network_interface_source interface_named(const QString &name, const QHostAddress &own)
{
    QNetworkAddressEntry entry;
    entry.setIp(own);
    entry.setNetmask(QHostAddress(QStringLiteral("255.0.0.0")));
    entry.setBroadcast(QHostAddress(QStringLiteral("127.255.255.255")));
    return {name, true, {entry}};
}

// One display on each of the hosts given, answering the search also on the
// loopback broadcast address.
struct search_wall
{
    explicit search_wall(const QList<int> &hosts, char monitor_id = 'A')
    {
        wall.set_search_port(loopback_block::search_port());
        for (int host : hosts) {
            const QString address = loopback_block::address(host);
            const int endpoint = wall.add_lan_endpoint(address);
            const int display = endpoint < 0 ? -1 : wall.add_display(endpoint, monitor_id);
            ok = ok && display >= 0 && wall.answers_search(endpoint);
            wall.with_display(display, [](sim_display &d) { d.apply_model("VW-5520L"); });
            addresses << address;
            endpoints << endpoint;
            displays << display;
        }
        ok = ok && wall.set_broadcast_search(true);
    }

    QString mac_text(int i) const
    {
        const simulated_wall::mac_address mac = wall.mac(displays.at(i));
        QStringList parts;
        for (quint8 byte : mac)
            parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        return parts.join(QLatin1Char('-'));
    }

    simulated_wall wall;
    QStringList addresses;
    QList<int> endpoints;
    QList<int> displays;
    bool ok = true;
};

// Standby, as the display's power control says.
void switch_off(sim_display &d)
{
    d.controls.find(0xD6)->current = 4;
    d.video.power_on = false;
}

QTableWidget *table(CProjectorBrowseDlg &dialog)
{
    return dialog.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
}

QPushButton *button(CProjectorBrowseDlg &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

QStringList column_texts(CProjectorBrowseDlg &dialog, int column)
{
    QStringList texts;
    for (int row = 0; row < table(dialog)->rowCount(); ++row)
        texts << table(dialog)->item(row, column)->text();
    return texts;
}

// The search has ended and its results are shown.
bool results_shown(CProjectorBrowseDlg &dialog)
{
    return button(dialog, "networkPJEnumBtn")->isEnabled() && !dialog.findChild<QProgressDialog *>();
}

CProjectorBrowseDlg *shown_browse_dialog()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<CProjectorBrowseDlg *>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// Once the shown search dialog lists |rows| rows, runs |steps| on it.
void when_results_listed(int rows, std::function<void(CProjectorBrowseDlg &)> steps, int attempts = 2000)
{
    QTimer::singleShot(5, [=] {
        CProjectorBrowseDlg *dialog = shown_browse_dialog();
        if (dialog && results_shown(*dialog) && table(*dialog)->rowCount() >= rows) {
            steps(*dialog);
            return;
        }
        if (attempts > 0)
            when_results_listed(rows, steps, attempts - 1);
        else if (dialog)
            dialog->reject();
    });
}

} // namespace

class tst_projector_browse_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY2(!loopback_block::prefix().isEmpty(), qPrintable(loopback_block::claim_error()));
        PJSearchUdp::set_search_port(loopback_block::search_port());
        program_network_interfaces().set_source([this] { return m_interfaces; });
    }

    void init()
    {
        m_controller = std::make_unique<headless_controller>();
        wait_service::set_time_scale(kTimeScale);
        wait_service::set_io_timeout_floor_ms(kAnswerQuietMs);
        CProjectorBrowseDlg::reset_search_ticks_for_tests();
        m_interfaces = {interface_named(QStringLiteral("Test loopback"), kOwnAddress)};
    }

    void cleanup() { m_controller.reset(); }

    void looks_by_mode_data();
    void looks_by_mode();
    void starts_by_itself_with_one_interface();
    void waits_for_enumerate_with_two_interfaces();
    void rows_in_address_order_with_names_decoded();
    void used_and_known_displays_are_marked();
    void selection_enables_ok();
    void double_click_accepts_that_row();
    void no_interface_starts_nothing();
    void a_search_that_does_not_end_is_stopped();
    void identify_a_display_that_is_on();
    void identify_switches_a_display_on_first();
    void identify_a_display_that_refuses_to_switch_on();
    void identify_an_unreachable_display();
    void wizard_search_copies_the_chosen_address();

private:
    // Identifies the first listed display of |wall|; the message boxes seen.
    QList<modal_box_answerer::seen_box> identify_first(search_wall &wall, QSignalSpy *ports = nullptr);

    QList<network_interface_source> m_interfaces;
    std::unique_ptr<headless_controller> m_controller;
};

void tst_projector_browse_dialog::looks_by_mode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("nameHeading");
    QTest::addColumn<QString>("searching");
    QTest::newRow("displays") << 2 << "Search for Varkel large-screen display" << "Monitor Name"
                              << "Searching for large-screen displays...";
    QTest::newRow("projectors") << 1 << "Browse for Varkel projector" << "Projector Name"
                                << "Searching for projectors...";
}

void tst_projector_browse_dialog::looks_by_mode()
{
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, nameHeading);
    QFETCH(QString, searching);
    m_interfaces.append(interface_named(QStringLiteral("Second"), QHostAddress(loopback_block::address(253))));
    CProjectorBrowseDlg dialog(nullptr, mode);
    QCOMPARE(dialog.windowTitle(), title);
    QCOMPARE(dialog.objectName(), QStringLiteral("CProjectorBrowseDlg"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(table(dialog)->horizontalHeaderItem(0)->text(), QStringLiteral("IP Address"));
    QCOMPARE(table(dialog)->horizontalHeaderItem(1)->text(), nameHeading);
    QVERIFY(!button(dialog, "ok_pushButton")->isEnabled());
    QVERIFY(!button(dialog, "identify_selected_pushButton")->isEnabled());
    QVERIFY(!button(dialog, "identify_selected_pushButton")->icon().isNull());
    auto *interfaces = dialog.findChild<QComboBox *>(QStringLiteral("comboBoxNic"));
    QCOMPARE(interfaces->count(), 2);
    QCOMPARE(interfaces->itemText(0), QStringLiteral("Test loopback"));
    QCOMPARE(interfaces->itemText(1), QStringLiteral("Second"));

    // While a search runs: Enumerate off and the busy indicator up.
    search_wall displays({1});
    QVERIFY(displays.ok);
    dialog.show();
    dialog.on_networkPJEnumBtn_clicked();
    QVERIFY(!button(dialog, "networkPJEnumBtn")->isEnabled());
    auto *progress = dialog.findChild<QProgressDialog *>();
    QVERIFY(progress);
    QCOMPARE(progress->labelText(), searching);
    QCOMPARE(progress->windowTitle(), QStringLiteral("Network Enumeration"));
    QCOMPARE(progress->windowModality(), Qt::WindowModal);
    QCOMPARE(table(dialog)->rowCount(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog), 20000);
    // A large-screen display is no projector.
    QCOMPARE(column_texts(dialog, 0), mode == 2 ? displays.addresses : QStringList());
}

void tst_projector_browse_dialog::starts_by_itself_with_one_interface()
{
    search_wall displays({1, 2});
    QVERIFY(displays.ok);
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(displays.wall.broadcast_search_requests() > 0, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 2, 20000);
    QCOMPARE(column_texts(dialog, 0), displays.addresses);
    QCOMPARE(column_texts(dialog, 1), QStringList({"VW-5520L", "VW-5520L"}));
}

void tst_projector_browse_dialog::waits_for_enumerate_with_two_interfaces()
{
    search_wall displays({1});
    QVERIFY(displays.ok);
    m_interfaces.prepend(interface_named(QStringLiteral("Other"), QHostAddress(loopback_block::address(253))));
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QTest::qWait(int(wait_service::scaled_ms(CProjectorBrowseDlg::kAutoStartMs)) * 5 + 200);
    QCOMPARE(displays.wall.broadcast_search_requests(), 0);
    QCOMPARE(table(dialog)->rowCount(), 0);
    dialog.findChild<QComboBox *>(QStringLiteral("comboBoxNic"))->setCurrentIndex(1);
    QTest::mouseClick(button(dialog, "networkPJEnumBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 1, 20000);
    QCOMPARE(displays.wall.broadcast_search_requests() > 0, true);
}

void tst_projector_browse_dialog::rows_in_address_order_with_names_decoded()
{
    search_wall displays({9, 10, 7, 8});
    QVERIFY(displays.ok);
    QTextCodec *shiftJis = QTextCodec::codecForName("Shift-JIS");
    QVERIFY(shiftJis);
    const QString japanese = QStringLiteral("\u30c7\u30a3\u30b9\u30d7\u30ec\u30a4 55");
    displays.wall.with_display(displays.displays.at(0), [&](sim_display &d) { d.model_name = shiftJis->fromUnicode(japanese); });
    // The display at host 7 answers with the value that is not listed.
    sim_search_behaviour hidden;
    hidden.value = 255;
    displays.wall.set_search_behaviour(displays.endpoints.at(2), hidden);

    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 3, 20000);
    // Text order: "…10" before "…8".
    const QString prefix = loopback_block::prefix();
    QCOMPARE(column_texts(dialog, 0), QStringList({prefix + ".10", prefix + ".8", prefix + ".9"}));
    QCOMPARE(column_texts(dialog, 1), QStringList({"VW-5520L", "VW-5520L", japanese}));
    QCOMPARE(dialog.GetSelectedIPAddress(), prefix + ".10");
}

void tst_projector_browse_dialog::used_and_known_displays_are_marked()
{
    search_wall displays({1, 2, 3});
    QVERIFY(displays.ok);
    CProjectorBrowseDlg dialog(nullptr, 2);
    // Display 1's address is used; display 2 is known by its MAC address in
    // other letter case; display 3 both.
    dialog.SetUsedIPAddresses({displays.addresses.at(0), displays.addresses.at(2)});
    dialog.SetExistingDisplays({displays.mac_text(1).toLower(), QString(), displays.mac_text(2)});
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 3, 20000);
    const QString usedTip = QStringLiteral("IP address already used in current layout");
    const QString knownTip = QStringLiteral("Display already exists in current layout");
    const bool used[] = {true, false, true};
    const bool known[] = {false, true, true};
    for (int row = 0; row < 3; ++row) {
        const QTableWidgetItem *address = table(dialog)->item(row, 0);
        const QTableWidgetItem *name = table(dialog)->item(row, 1);
        QCOMPARE(address->text(), displays.addresses.at(row));
        QCOMPARE(!address->icon().isNull(), used[row]);
        QCOMPARE(address->toolTip(), used[row] ? usedTip : QString());
        QCOMPARE(!name->icon().isNull(), known[row]);
        QCOMPARE(name->toolTip(), known[row] ? knownTip : QString());
    }
}

void tst_projector_browse_dialog::selection_enables_ok()
{
    search_wall displays({1, 2});
    QVERIFY(displays.ok);
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 2, 20000);
    QVERIFY(button(dialog, "ok_pushButton")->isEnabled());
    QVERIFY(button(dialog, "identify_selected_pushButton")->isEnabled());
    QCOMPARE(dialog.GetSelectedIPAddress(), displays.addresses.at(0));
    table(dialog)->clearSelection();
    QVERIFY(!button(dialog, "ok_pushButton")->isEnabled());
    QCOMPARE(dialog.GetSelectedIPAddress(), QString());
    table(dialog)->selectRow(1);
    QVERIFY(button(dialog, "ok_pushButton")->isEnabled());
    QTest::mouseClick(button(dialog, "ok_pushButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetSelectedIPAddress(), displays.addresses.at(1));
}

void tst_projector_browse_dialog::double_click_accepts_that_row()
{
    search_wall displays({1, 2, 3});
    QVERIFY(displays.ok);
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 3, 20000);
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableWidget *rows = table(dialog);
    const QRect cell = rows->visualItemRect(rows->item(2, 1));
    // A double click: press and release, then the second press.
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.GetSelectedIPAddress(), displays.addresses.at(2));
}

void tst_projector_browse_dialog::no_interface_starts_nothing()
{
    m_interfaces.clear();
    search_wall displays({1});
    QVERIFY(displays.ok);
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QCOMPARE(dialog.findChild<QComboBox *>(QStringLiteral("comboBoxNic"))->count(), 0);
    QTest::mouseClick(button(dialog, "networkPJEnumBtn"), Qt::LeftButton);
    QVERIFY(!dialog.findChild<QProgressDialog *>());
    QTest::qWait(int(wait_service::scaled_ms(CProjectorBrowseDlg::kPollMs)) * 3 + 100);
    QVERIFY(button(dialog, "networkPJEnumBtn")->isEnabled());
    QVERIFY(!button(dialog, "ok_pushButton")->isEnabled());
    QVERIFY(!button(dialog, "identify_selected_pushButton")->isEnabled());
    QCOMPARE(table(dialog)->rowCount(), 0);
    QCOMPARE(displays.wall.broadcast_search_requests(), 0);
}

void tst_projector_browse_dialog::a_search_that_does_not_end_is_stopped()
{
    search_wall displays({1, 2});
    QVERIFY(displays.ok);
    m_interfaces.append(interface_named(QStringLiteral("Second"), QHostAddress(loopback_block::address(253))));
    // The dialog polls every 5 ms; the search, made later at a slower scale,
    // would repeat its request every 2 s and end by itself only after 8 s.
    wait_service::set_time_scale(0.01);
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    wait_service::set_time_scale(4.0);
    QTest::mouseClick(button(dialog, "networkPJEnumBtn"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog), 4000);
    QCOMPARE(column_texts(dialog, 0), displays.addresses);
    // Stopped before its first repeat.
    QCOMPARE(displays.wall.broadcast_search_requests(), 1);
    wait_service::set_time_scale(kTimeScale);
}

QList<modal_box_answerer::seen_box> tst_projector_browse_dialog::identify_first(search_wall &displays,
                                                                                 QSignalSpy *ports)
{
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    if (!QTest::qWaitFor([&] { return results_shown(dialog) && table(dialog)->rowCount() > 0; }, 20000))
        return {};
    displays.wall.clear_log();
    if (ports)
        ports->clear();
    modal_box_answerer boxes({QMessageBox::Ok});
    QTest::mouseClick(button(dialog, "identify_selected_pushButton"), Qt::LeftButton);
    [&] { QVERIFY(QApplication::overrideCursor() == nullptr); }();
    return boxes.seen();
}

void tst_projector_browse_dialog::identify_a_display_that_is_on()
{
    // Monitor ID 3: addressed as any display until it tells its own.
    search_wall displays({1}, 'C');
    QVERIFY(displays.ok);
    QSignalSpy ports(m_controller->controller().getMonitor(), &basic_monitor::com_port_changed);
    QVERIFY(identify_first(displays, &ports).isEmpty());
    const QList<sim_log_entry> frames = displays.wall.log();
    QVERIFY(frames.size() > 3);
    QCOMPARE(frames.first().destination, '*');
    QCOMPARE(frames.first().type + frames.first().body, QByteArray("C023E"));  // its monitor ID
    for (int i = 1; i < frames.size(); ++i)
        QCOMPARE(frames.at(i).destination, 'C');
    QByteArrayList bodies;
    for (const sim_log_entry &frame : frames)
        bodies << frame.type + frame.body;
    QVERIFY2(bodies.at(1).startsWith("A01D6"), bodies.join(' ').constData());  // the power state
    QVERIFY(!bodies.join(' ').contains("C203D6"));                            // not switched on
    QVERIFY(!ports.isEmpty() && ports.last().at(0).toString().isEmpty());      // released
}

void tst_projector_browse_dialog::identify_switches_a_display_on_first()
{
    search_wall displays({1});
    QVERIFY(displays.ok);
    displays.wall.with_display(displays.displays.first(), [](sim_display &d) { switch_off(d); });
    QSignalSpy ports(m_controller->controller().getMonitor(), &basic_monitor::com_port_changed);
    QVERIFY(identify_first(displays, &ports).isEmpty());
    QVERIFY(displays.wall.with_display(displays.displays.first(), [](sim_display &d) { return d.video.power_on; }));
    const QList<sim_log_entry> frames = displays.wall.log();
    int switchedOn = -1;
    for (int i = 0; i < frames.size(); ++i)
        if (frames.at(i).type == 'A' && frames.at(i).body.startsWith("C203D6"))
            switchedOn = i;
    QVERIFY(switchedOn > 0 && switchedOn + 1 < frames.size());
    // The wait for the display to come up, then the level cycle.
    const qint64 waited = frames.at(switchedOn + 1).time_ms - frames.at(switchedOn).time_ms;
    QVERIFY2(waited >= wait_service::scaled_ms(10000), qPrintable(QString::number(waited)));
    QVERIFY(frames.size() > switchedOn + 3);
    QVERIFY(!ports.isEmpty() && ports.last().at(0).toString().isEmpty());
}

void tst_projector_browse_dialog::identify_a_display_that_refuses_to_switch_on()
{
    search_wall displays({1});
    QVERIFY(displays.ok);
    displays.wall.with_display(displays.displays.first(), [](sim_display &d) {
        switch_off(d);
        d.refuses_power_on = true;
    });
    QSignalSpy ports(m_controller->controller().getMonitor(), &basic_monitor::com_port_changed);
    const QList<modal_box_answerer::seen_box> boxes = identify_first(displays, &ports);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().text.contains(string_resource(315)), qPrintable(boxes.first().text));
    QVERIFY(!ports.isEmpty() && ports.last().at(0).toString().isEmpty());
}

void tst_projector_browse_dialog::identify_an_unreachable_display()
{
    search_wall displays({1});
    QVERIFY(displays.ok);
    CProjectorBrowseDlg dialog(nullptr, 2);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(results_shown(dialog) && table(dialog)->rowCount() == 1, 20000);
    // It has left the network since it answered.
    displays.wall.set_fault(displays.displays.first(), sim_fault_kind::refuse_connections);
    QSignalSpy ports(m_controller->controller().getMonitor(), &basic_monitor::com_port_changed);
    modal_box_answerer boxes({QMessageBox::Ok});
    QTest::mouseClick(button(dialog, "identify_selected_pushButton"), Qt::LeftButton);
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY(!ports.isEmpty() && ports.last().at(0).toString().isEmpty());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_projector_browse_dialog::wizard_search_copies_the_chosen_address()
{
    search_wall displays({1, 2});
    QVERIFY(displays.ok);
    KQ_display_layout_ipaddress_select_widget widget;
    widget.ui.ip_address_lineEdit->setText(QStringLiteral("192.168.0.10"));
    widget.show();

    // Cancel leaves the address.
    bool listed = false;
    when_results_listed(2, [&](CProjectorBrowseDlg &dialog) {
        listed = true;
        QTest::mouseClick(button(dialog, "cancel_pushButton"), Qt::LeftButton);
    });
    QTest::mouseClick(widget.ui.monitor_lan_search_pushButton, Qt::LeftButton);
    QVERIFY(listed);
    QCOMPARE(widget.ui.ip_address_lineEdit->text(), QStringLiteral("192.168.0.10"));

    listed = false;
    when_results_listed(2, [&](CProjectorBrowseDlg &dialog) {
        listed = true;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Search for Varkel large-screen display"));
        table(dialog)->selectRow(1);
        QTest::mouseClick(button(dialog, "ok_pushButton"), Qt::LeftButton);
    });
    QTest::mouseClick(widget.ui.monitor_lan_search_pushButton, Qt::LeftButton);
    QVERIFY(listed);
    QCOMPARE(widget.ui.ip_address_lineEdit->text(), displays.addresses.at(1));
}

QTEST_MAIN(tst_projector_browse_dialog)
#include "tst_projector_browse_dialog.moc"
