// The OSD, group ID and status pages of the control panel dialog offscreen
// on simulated displays: what each page reads and shows, what its controls
// write, and what a failing or garbling display leaves on the page.
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "resources/tessaline_resources.h"
#include "tests/control_panel/control_panel_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

constexpr int kOsdPage = 12;
constexpr int kGroupPage = 13;
constexpr int kStatusPage = 14;

QList<QCheckBox *> group_boxes(kq_monitor_control_panel_dialog &dialog)
{
    QList<QCheckBox *> boxes;
    for (char letter = 'a'; letter <= 'j'; ++letter)
        boxes << child<QCheckBox>(dialog, QStringLiteral("group_ID_%1_checkBox").arg(QLatin1Char(letter)).toLatin1());
    return boxes;
}

QList<QByteArray> request_bodies(const QList<sim_log_entry> &frames)
{
    QList<QByteArray> bodies;
    for (const sim_log_entry &e : frames)
        bodies << e.body;
    return bodies;
}

} // namespace

class tst_control_panel_osd_status : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(prepare_panel_test_case(), qPrintable(loopback_block::claim_error())); }
    void init() { prepare_panel_test(1.0); }

    void the_osd_rotation_data()
    {
        QTest::addColumn<display_change>("change");
        QTest::addColumn<int>("current");       // data of the current item; -1 none
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("message");
        QTest::newRow("portrait") << display_change([](sim_display &d) { d.controls.force(0x241, 1); }) << 1 << true
                                  << false;
        QTest::newRow("a rotation without an item")
            << display_change([](sim_display &d) { d.controls.force(0x241, 7); }) << -1 << true << false;
        QTest::newRow("not supported: no message")
            << display_change([](sim_display &d) { d.controls.set_unsupported(0x241); }) << -1 << false << false;
        QTest::newRow("a refused read is shown")
            << display_change([](sim_display &d) { d.fault.kind = sim_fault_kind::refuse_be; }) << -1 << false << true;
    }
    void the_osd_rotation()
    {
        QFETCH(display_change, change);
        QFETCH(int, current);
        QFETCH(bool, enabled);
        QFETCH(bool, message);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        auto *rotation = child<QComboBox>(dialog, "osd_rotation_comboBox");
        QCOMPARE(rotation->count(), 3);
        QCOMPARE(rotation->itemText(0), QStringLiteral("Landscape"));
        QVERIFY(!rotation->itemIcon(0).isNull());
        QVERIFY(rotation->itemIcon(2).isNull());
        wall.sim.with_display(wall.displays.first(), change);
        wall.sim.clear_log();
        show_page(dialog, kOsdPage);
        QCOMPARE(rotation->isEnabled(), enabled);
        if (enabled)
            QCOMPARE(rotation->currentIndex() < 0 ? -1 : rotation->currentData().toInt(), current);
        QCOMPARE(!status_line(dialog).isEmpty(), message);
        QVERIFY(writes_of(wall.sim.log(), control_code::kOsdOrientation).isEmpty());
        QVERIFY(child<QPushButton>(dialog, "update_osd_rotation_pushButton")->isHidden());
        QVERIFY(wall.link_released());
    }

    void choosing_a_rotation_writes_saves_and_reads_the_page_again()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kOsdPage);
        wall.sim.clear_log();
        const int saves = wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.saves; });
        auto *rotation = child<QComboBox>(dialog, "osd_rotation_comboBox");
        rotation->setCurrentIndex(rotation->findData(1));
        const QList<QByteArray> bodies = request_bodies(wall.sim.log());
        QCOMPARE(writes_of(wall.sim.log(), control_code::kOsdOrientation),
                 QList<QByteArray>{write_body(control_code::kOsdOrientation, 1)});
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.saves; }), saves + 1);
        // Set, save, then the page's read.
        QCOMPARE(bodies.first(), write_body(control_code::kOsdOrientation, 1));
        QCOMPARE(bodies.last(), hex4(control_code::kOsdOrientation));
        QCOMPARE(rotation->currentData().toInt(), 1);
        QVERIFY(wall.link_released());
    }

    void a_refused_rotation_stays_in_the_status_line()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kOsdPage);
        wall.sim.refuse_writes(wall.displays.first(), control_code::kOsdOrientation);
        const int saves = wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.saves; });
        auto *rotation = child<QComboBox>(dialog, "osd_rotation_comboBox");
        rotation->setCurrentIndex(rotation->findData(2));
        QVERIFY(!status_line(dialog).isEmpty());
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.saves; }), saves);
        // The page shows what the display kept.
        QCOMPARE(rotation->currentData().toInt(), 0);
    }

    void the_monitor_id_shows_through_a_job_also_for_one_display()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kOsdPage);
        wall.sim.clear_log();
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "osd_show_display_id_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        QCOMPARE(writes_of(wall.sim.log(), control_code::kShowMonitorId),
                 QList<QByteArray>{write_body(control_code::kShowMonitorId, 1)});
    }

    void group_membership_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("checked");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("all ten") << 0x3FF << 0x3FF;
        QTest::newRow("bits above J ignored") << 0xFC01 << 0x001;
    }
    void group_membership()
    {
        QFETCH(int, mask);
        QFETCH(int, checked);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(),
                              [mask](sim_display &d) { d.controls.force(control_code::kGroupMask, quint16(mask)); });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kGroupPage);
        QVERIFY(child<QGroupBox>(dialog, "group_ID_groupBox")->isEnabled());
        int shown = 0;
        const QList<QCheckBox *> boxes = group_boxes(dialog);
        for (int i = 0; i < boxes.size(); ++i)
            shown |= boxes.at(i)->isChecked() ? 1 << i : 0;
        QCOMPARE(shown, checked);
        QVERIFY(writes_of(wall.sim.log(), control_code::kGroupMask).isEmpty());
        QVERIFY(child<QPushButton>(dialog, "group_ID_update_pushButton")->isHidden());
    }

    void checking_groups_writes_the_mask_at_once()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kGroupPage);
        wall.sim.clear_log();
        const QList<QCheckBox *> boxes = group_boxes(dialog);
        boxes.at(1)->setChecked(true);
        boxes.at(3)->setChecked(true);
        QCOMPARE(writes_of(wall.sim.log(), control_code::kGroupMask),
                 (QList<QByteArray>{write_body(control_code::kGroupMask, 2), write_body(control_code::kGroupMask, 10)}));
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return d.saves; }) > 0, true);
        QVERIFY(wall.link_released());
    }

    void group_read_failures_data()
    {
        QTest::addColumn<display_change>("change");
        QTest::newRow("not supported is shown too")
            << display_change([](sim_display &d) { d.controls.set_unsupported(control_code::kGroupMask); });
        QTest::newRow("refused") << display_change([](sim_display &d) { d.fault.kind = sim_fault_kind::refuse_be; });
    }
    void group_read_failures()
    {
        QFETCH(display_change, change);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.with_display(wall.displays.first(), change);
        show_page(dialog, kGroupPage);
        QVERIFY(!child<QGroupBox>(dialog, "group_ID_groupBox")->isEnabled());
        QVERIFY(!status_line(dialog).isEmpty());
    }

    void several_displays_write_groups_and_rotation_only_on_update()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        show_page(dialog, kGroupPage);
        wall.sim.clear_log();
        group_boxes(dialog).at(9)->setChecked(true);
        auto *rotation = child<QComboBox>(dialog, "osd_rotation_comboBox");
        rotation->setCurrentIndex(rotation->findData(2));
        QVERIFY(writes_of(wall.sim.log(), control_code::kGroupMask).isEmpty());
        QVERIFY(writes_of(wall.sim.log(), control_code::kOsdOrientation).isEmpty());
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "group_ID_update_pushButton")->click();
        child<QPushButton>(dialog, "update_osd_rotation_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        for (char id : {'A', 'B'}) {
            QCOMPARE(writes_of(wall.sim.log(), control_code::kGroupMask, id).size(), 1);
            QVERIFY(writes_of(wall.sim.log(), control_code::kGroupMask, id).first().endsWith(hex4(0x200)));
            QCOMPARE(writes_of(wall.sim.log(), control_code::kOsdOrientation, id),
                     QList<QByteArray>{write_body(control_code::kOsdOrientation, 2)});
        }
    }

    void the_status_page_reads_everything_and_changes_nothing()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.serial_number = "55A000001";
            d.self_test_report = QByteArray("\x80\xB0", 2);
            d.timing_status = 0x41;
            d.fan_states = {{1, 2, 0}};
            d.controls.force(control_code::kFanSensor, 2);
            d.controls.force(control_code::kFanSelect, 3);
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kStatusPage);
        const auto text = [&](const char *name) { return child<QLabel>(dialog, name)->text(); };
        QCOMPARE(text("status_model_name_label"), QStringLiteral("VW-5530Q"));
        QCOMPARE(text("status_serial_number_label"), QStringLiteral("55A000001"));
        QCOMPARE(text("status_DOM_label"), QStringLiteral("May 2025"));
        QVERIFY(!text("status_operating_hours_label").isEmpty());
        QVERIFY(!text("status_total_operating_hours_label").isEmpty());
        QCOMPARE(text("status_firmware2_version_label"), QStringLiteral("R2.000"));
        QCOMPARE(text("status_fan1_label"), QStringLiteral("On"));
        QCOMPARE(text("status_fan2_label"), QStringLiteral("Error"));
        QCOMPARE(text("status_fan3_label"), QStringLiteral("Off"));
        QCOMPARE(text("status_temp_sensor1_label"), QStringLiteral("38.0\u00B0C (100.4\u00B0F)"));
        QCOMPARE(text("status_temp_sensor3_label"), QStringLiteral("35.0\u00B0C (95.0\u00B0F)"));
        QCOMPARE(text("status_diagnostics_label"), QStringLiteral("Cooling fan-1 abnormality. No signal. "));
        QCOMPARE(text("status_h_freq_label"), QStringLiteral("67.50 kHz"));
        QCOMPARE(text("status_v_freq_label"), QStringLiteral("60.00 Hz"));
        QCOMPARE(text("status_sync_status_label"), QStringLiteral("+V Sync. -H Sync. Unstable Sync. "));
        QCOMPARE(text("status_lan_mac_address_label").isEmpty(), false);
        QVERIFY(status_line(dialog).isEmpty());
        // The sensor and fan selectors are back where they were.
        QCOMPARE(writes_of(wall.sim.log(), control_code::kFanSensor),
                 (QList<QByteArray>{write_body(0x278, 1), write_body(0x278, 2), write_body(0x278, 3),
                                    write_body(0x278, 2)}));
        QCOMPARE(writes_of(wall.sim.log(), control_code::kFanSelect),
                 (QList<QByteArray>{write_body(0x27A, 1), write_body(0x27A, 2), write_body(0x27A, 3)}));
        QCOMPARE(wall.sim.with_display(wall.displays.first(),
                                       [](sim_display &d) { return d.controls.value(control_code::kFanSensor); }),
                 quint16(2));
        QVERIFY(wall.link_released());

        child<QPushButton>(dialog, "copy_status_pushButton")->click();
        const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 23);
        QCOMPARE(lines.at(0), QStringLiteral("IP Address: ") + loopback_block::address(kFirstHost));
        QCOMPARE(lines.at(1), QStringLiteral("Monitor ID: 1"));
        QCOMPARE(lines.at(2), QStringLiteral("Model Name: VW-5530Q"));
        QCOMPARE(lines.at(11), QStringLiteral("Fan 1: On"));
        QCOMPARE(lines.at(21).startsWith(QStringLiteral("LAN MAC Address: ")), true);
        QVERIFY(lines.at(22).isEmpty());
    }

    void status_failures_data()
    {
        QTest::addColumn<display_change>("change");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QStringList>("empty");
        QTest::addColumn<QStringList>("filled");
        QTest::newRow("hours unreadable: nothing else read")
            << display_change([](sim_display &d) {
                   for (quint16 code : {0x11FE, 0x11FF, 0xFF})
                       d.controls.set_unsupported(code);
               })
            << true << QStringList{"status_operating_hours_label", "status_model_name_label", "status_fan1_label"}
            << QStringList{};
        QTest::newRow("hours read times out: nothing else read")
            << display_change([](sim_display &d) { d.fault.kind = sim_fault_kind::silent; }) << true
            << QStringList{"status_operating_hours_label", "status_model_name_label", "status_fan1_label"}
            << QStringList{};
        QTest::newRow("no sensors, a garbled fan, an empty report")
            << display_change([](sim_display &d) {
                   d.controls.set(control_code::kFanSensor, 1, 0);
                   d.fan_states = {{9, 1, 1}};
                   d.self_test_report.clear();
               })
            << false << QStringList{"status_temp_sensor1_label", "status_fan1_label", "status_diagnostics_label"}
            << QStringList{"status_fan2_label", "status_model_name_label"};
        QTest::newRow("one sensor")
            << display_change([](sim_display &d) { d.controls.set(control_code::kFanSensor, 1, 1); })
            << false << QStringList{"status_temp_sensor2_label", "status_temp_sensor3_label"}
            << QStringList{"status_temp_sensor1_label"};
        QTest::newRow("a serial number without a date")
            << display_change([](sim_display &d) { d.serial_number = "SIM0000001"; }) << false
            << QStringList{"status_DOM_label"} << QStringList{"status_serial_number_label"};
    }
    void status_failures()
    {
        QFETCH(display_change, change);
        QFETCH(bool, message);
        QFETCH(QStringList, empty);
        QFETCH(QStringList, filled);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(), change);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kStatusPage);
        QCOMPARE(!status_line(dialog).isEmpty(), message);
        for (const QString &name : empty)
            QVERIFY2(child<QLabel>(dialog, name.toLatin1())->text().isEmpty(), qPrintable(name));
        for (const QString &name : filled)
            QVERIFY2(!child<QLabel>(dialog, name.toLatin1())->text().isEmpty(), qPrintable(name));
        // With no sensor to select, nothing is selected.
        if (QTest::currentDataTag() == QLatin1String("no sensors, a garbled fan, an empty report"))
            QVERIFY(writes_of(wall.sim.log(), control_code::kFanSensor).isEmpty());
    }

    void several_displays_leave_the_status_page_and_clipboard_alone()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kStatusPage);
        QVERIFY(!child<QLabel>(dialog, "status_model_name_label")->text().isEmpty());
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        QVERIFY(child<QLabel>(dialog, "status_model_name_label")->text().isEmpty());
        wall.sim.clear_log();
        show_page(dialog, kOsdPage);
        show_page(dialog, kStatusPage);
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        child<QPushButton>(dialog, "copy_status_pushButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QVERIFY(child<QLabel>(dialog, "status_model_name_label")->text().isEmpty());
    }
};

QTEST_MAIN(tst_control_panel_osd_status)
#include "tst_control_panel_osd_status.moc"
