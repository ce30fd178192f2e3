// The control panel dialog offscreen, on the headless controller and
// simulated displays: what construction reads, the page tree, the shared
// link, the debounced and job writes, the targets and the palette.
#include "app/controller/MasterControl.h"
#include "control_panel/core/control_panel_tables.h"
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/control_panel/control_panel_fixture.h"
#include "tests/support/headless_controller.h"
#include "tests/support/modal_box_answerer.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class tst_control_panel_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY2(!loopback_block::address(kFirstHost).isEmpty(), qPrintable(loopback_block::claim_error()));
    }
    void init() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }

    void construction_reads_the_power_page_then_releases_the_link()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        QVERIFY(wall.link_released());
        // The power page alone: power state, LED, power-on delay.
        const QList<sim_log_entry> frames = wall.sim.log();
        QList<QByteArray> bodies;
        for (const sim_log_entry &e : frames)
            bodies << e.body;
        QCOMPARE(bodies.size(), 3);
        QCOMPARE(bodies.mid(1), (QList<QByteArray>{hex4(control_code::kPowerLed), hex4(control_code::kPowerOnDelay)}));
        QCOMPARE(child<QStackedWidget>(dialog, "stackedWidget")->currentIndex(), 0);
        QVERIFY(child<QStackedWidget>(dialog, "stackedWidget")->isEnabled());
        QVERIFY(child<QLabel>(dialog, "status_label")->text().isEmpty());
        QVERIFY(child<QLabel>(dialog, "power_state_label")->text().endsWith(QStringLiteral("On")));
        // One display: no choice of targets, no Update buttons.
        QVERIFY(child<QComboBox>(dialog, "apply_to_select_type_comboBox")->isHidden());
        QCOMPARE(dialog.targets(), QList<int>{0});
        QVERIFY(child<QPushButton>(dialog, "update_brightness_pushButton")->isHidden());
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    }

    void the_page_tree()
    {
        panel_wall wall(1);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        auto *tree = child<QTreeWidget>(dialog, "treeWidget");
        QCOMPARE(tree->topLevelItemCount(), 12);
        QStringList entries;
        QList<int> pages;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            QStringList path;
            for (QTreeWidgetItem *item = *it; item; item = item->parent())
                path.prepend(item->text(0));
            entries << path.join(QLatin1Char('/'));
            pages << (*it)->data(0, Qt::UserRole).toInt();
        }
        QStringList expected;
        QList<int> expected_pages;
        for (const control_panel_tables::tree_entry &entry : control_panel_tables::page_tree()) {
            expected << QLatin1String(entry.path);
            expected_pages << entry.page;
        }
        QCOMPARE(entries, expected);
        QCOMPARE(pages, expected_pages);
        QVERIFY(entries.contains(QStringLiteral("Video/Size & Position")));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Power"));
        QVERIFY(tree->isHeaderHidden());
        QCOMPARE(tree->minimumWidth(), 250);
        QCOMPARE(child<QStackedWidget>(dialog, "stackedWidget")->count(), 23);
    }

    void choosing_a_page_reads_it_and_the_current_entry_reads_nothing()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        auto *tree = child<QTreeWidget>(dialog, "treeWidget");
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.controls.force(control_code::kBrightness, 63);
            d.controls.force(control_code::kSharpness, 900);     // above its maximum
            d.controls.set(control_code::kContrast, 7, 0);       // no range
        });
        wall.sim.clear_log();
        tree->setCurrentItem(tree_item(tree, 4));
        QCOMPARE(child<QStackedWidget>(dialog, "stackedWidget")->currentIndex(), 4);
        QCOMPARE(child<QSlider>(dialog, "brightness_horizontalSlider")->value(), 63);
        QCOMPARE(child<QSpinBox>(dialog, "brightness_spinBox")->value(), 63);
        QVERIFY(child<QSlider>(dialog, "brightness_horizontalSlider")->isEnabled());
        auto *sharpness = child<QSlider>(dialog, "sharpness_horizontalSlider");
        QCOMPARE(sharpness->value(), sharpness->maximum());
        QVERIFY(sharpness->isEnabled());
        QVERIFY(!child<QSlider>(dialog, "contrast_horizontalSlider")->isEnabled());
        QVERIFY(!child<QSpinBox>(dialog, "contrast_spinBox")->isEnabled());
        QVERIFY(!wall.sim.log().isEmpty());
        QVERIFY(writes_of(wall.sim.log(), control_code::kBrightness).isEmpty());   // reading never writes
        QVERIFY(wall.link_released());

        wall.sim.clear_log();
        dialog.changePage(tree->currentItem(), nullptr);
        QVERIFY(wall.sim.log().isEmpty());
    }

    void an_unreachable_display_disables_the_pages()
    {
        headless_controller controller;
        controller.create_wall(1, 1, loopback_block::address(kSilentHost));
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        QVERIFY(!child<QStackedWidget>(dialog, "stackedWidget")->isEnabled());
        const QString status = child<QLabel>(dialog, "status_label")->text();
        QVERIFY2(status.startsWith(QStringLiteral("<img src=\":/images/Resources/alerts_red_icon_20.png\"> ")),
                 qPrintable(status));
        QVERIFY(status.size() > 60);
        QVERIFY(child<QTreeWidget>(dialog, "treeWidget")->isEnabled());
    }

    void a_display_without_a_layout_item_is_refused()
    {
        panel_wall wall(1);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        QVERIFY(dialog.open_port_for_display(0));
        QVERIFY(wall.link_open());
        QVERIFY(!dialog.open_port_for_display(5));
        QVERIFY(wall.link_released());
        QVERIFY(!child<QLabel>(dialog, "status_label")->text().isEmpty());
        dialog.setErrorMessage(0);
        QVERIFY(child<QLabel>(dialog, "status_label")->text().isEmpty());
    }

    void a_slider_burst_writes_once_in_first_moved_order()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QTreeWidget>(dialog, "treeWidget")->setCurrentItem(tree_item(child<QTreeWidget>(dialog, "treeWidget"), 4));
        auto *brightness = child<QSlider>(dialog, "brightness_horizontalSlider");
        auto *contrast = child<QSlider>(dialog, "contrast_horizontalSlider");
        wall.sim.clear_log();
        brightness->setValue(20);
        contrast->setValue(30);
        brightness->setValue(21);
        brightness->setValue(22);
        QTRY_COMPARE(writes_of(wall.sim.log(), control_code::kContrast).size(), 1);
        QTest::qWait(50);
        QList<QByteArray> writes;
        for (const sim_log_entry &e : wall.sim.log()) {
            if (e.type == 'E')
                writes << e.body;
        }
        QCOMPARE(writes, (QList<QByteArray>{write_body(control_code::kBrightness, 22),
                                            write_body(control_code::kContrast, 30)}));
        QVERIFY(wall.link_released());
    }

    void a_correcting_display_is_written_once_more_then_left()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.controls.find(control_code::kBrightness)->stored_as.insert(33, 30);
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        auto *brightness = child<QSlider>(dialog, "brightness_horizontalSlider");
        wall.sim.clear_log();
        brightness->setValue(33);
        QTRY_COMPARE(brightness->value(), 30);
        QTRY_COMPARE(writes_of(wall.sim.log(), control_code::kBrightness).size(), 2);
        QTest::qWait(100);
        QCOMPARE(writes_of(wall.sim.log(), control_code::kBrightness),
                 (QList<QByteArray>{write_body(control_code::kBrightness, 33),
                                    write_body(control_code::kBrightness, 30)}));
        QCOMPARE(child<QSpinBox>(dialog, "brightness_spinBox")->value(), 30);
    }

    void the_power_save_time_goes_through_its_writer()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        auto *tree = child<QTreeWidget>(dialog, "treeWidget");
        tree->setCurrentItem(tree_item(tree, 1));
        // A mode without an item leaves the combo box without a current item.
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) { d.power_save_mode = 9; });
        tree->setCurrentItem(tree_item(tree, 0));
        tree->setCurrentItem(tree_item(tree, 1));
        QCOMPARE(child<QComboBox>(dialog, "power_save_mode_comboBox")->currentIndex(), -1);
        auto *time = child<QSpinBox>(dialog, "power_save_time_spinBox");
        QCOMPARE(time->minimum(), 5);
        QCOMPARE(time->maximum(), 600);
        wall.sim.clear_log();
        time->setValue(37);
        QTRY_COMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) { return int(d.power_save_time); }),
                     7);
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY2(e.type != 'E', e.body.constData());   // never a plain control write
    }

    void several_targets_write_through_one_job_per_display()
    {
        // 0 and 1 on their own links, 2 and 3 a daisy chain, 4 disabled.
        panel_wall wall(5);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        const QString chain = loopback_block::address(kFirstHost + 2);
        wall.add(kFirstHost + 2, 'D');
        wall.set_item(3, [&](display_layout_item &item) { item.connection_address = chain; });
        wall.set_item(4, [](display_layout_item &item) { item.enabled = false; });
        QVERIFY(wall.ok);

        kq_monitor_control_panel_dialog dialog(0, nullptr);
        auto *type = child<QComboBox>(dialog, "apply_to_select_type_comboBox");
        QVERIFY(!type->isHidden());
        QCOMPARE(type->count(), 4);
        QCOMPARE(child<QComboBox>(dialog, "apply_to_display_list_comboBox")->count(), 5);
        type->setCurrentIndex(3);
        QCOMPARE(dialog.targets(), (QList<int>{0, 1, 2, 3}));
        QVERIFY(child<QComboBox>(dialog, "apply_to_display_list_comboBox")->isHidden());
        for (const QString &name : control_panel_tables::several_display_buttons()) {
            if (auto *button = dialog.findChild<QWidget *>(name))
                QVERIFY2(!button->isHidden(), qPrintable(name));
        }
        QVERIFY(!child<QLabel>(dialog, "power_state_label")->isEnabled());

        auto *tree = child<QTreeWidget>(dialog, "treeWidget");
        tree->setCurrentItem(tree_item(tree, 4));
        wall.sim.clear_log();
        child<QSlider>(dialog, "brightness_horizontalSlider")->setValue(41);
        QTest::qWait(50);
        QVERIFY(writes_of(wall.sim.log(), control_code::kBrightness).isEmpty());

        // The status page is not read for several displays.
        tree->setCurrentItem(tree_item(tree, 14));
        QVERIFY(wall.sim.log().isEmpty());

        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "update_brightness_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        const QList<sim_log_entry> frames = wall.sim.log();
        for (char id : {'A', 'B', 'C', 'D'})
            QCOMPARE(writes_of(frames, control_code::kBrightness, id),
                     QList<QByteArray>{write_body(control_code::kBrightness, 41)});
        QVERIFY(writes_of(frames, control_code::kBrightness, 'E').isEmpty());
        // The chain carries one job at a time.
        QString order;
        for (const sim_log_entry &e : frames) {
            if ((e.answered_by == 'C' || e.answered_by == 'D') && !order.endsWith(QLatin1Char(e.answered_by)))
                order += QLatin1Char(e.answered_by);
        }
        QCOMPARE(order.size(), 2);
        QVERIFY(child<QLabel>(dialog, "status_label")->text().isEmpty());
    }

    void an_empty_target_list_writes_nothing()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        wall.set_item(1, [](display_layout_item &item) { item.enabled = false; });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(2);
        child<QComboBox>(dialog, "apply_to_display_list_comboBox")->setCurrentIndex(1);
        QVERIFY(dialog.targets().isEmpty());
        wall.sim.clear_log();
        modal_watchdog watchdog(5000);
        dialog.update_vcp_all_displays(control_code::kBrightness, 10);
        // Nor do the pages' own operations: no question, no progress dialog.
        modal_box_answerer boxes({}, 2000);
        for (const char *slot : {"on_osd_show_display_id_pushButton_clicked", "on_auto_setup_pushButton_clicked",
                                 "on_auto_gain_bias_pushButton_clicked", "on_set_to_custom_date_pushButton_clicked",
                                 "on_set_to_system_date_pushButton_clicked", "on_schedule_update_pushButton_clicked",
                                 "on_advanced_schedule_update_pushButton_clicked",
                                 "on_advanced_schedule_clear_all_pushButton_clicked",
                                 "on_holiday_update_pushButton_clicked", "on_holiday_clear_all_pushButton_clicked",
                                 "on_advanced_schedule_weekend_update_pushButton_clicked"})
            QVERIFY(QMetaObject::invokeMethod(&dialog, slot));
        QVERIFY(boxes.seen().isEmpty());
        QCOMPARE(watchdog.closed, 0);
        QVERIFY(wall.sim.log().isEmpty());
        // A disabled display can still be chosen alone.
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(0);
        child<QComboBox>(dialog, "apply_to_display_list_comboBox")->setCurrentIndex(1);
        QCOMPARE(dialog.targets(), QList<int>{1});
    }

    void a_palette_switch_restyles_the_tree()
    {
        panel_wall wall(1);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        const QPalette original = QApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(30, 30, 30));
        QApplication::setPalette(dark);
        QCoreApplication::processEvents();
        QVERIFY(child<QTreeWidget>(dialog, "treeWidget")->styleSheet().contains(QStringLiteral("background: black")));
        QPalette half = original;
        half.setColor(QPalette::Window, QColor::fromHslF(0, 0, 0.5));
        QApplication::setPalette(half);
        QCoreApplication::processEvents();
        QVERIFY(child<QTreeWidget>(dialog, "treeWidget")->styleSheet().contains(QStringLiteral("background: white")));
        QApplication::setPalette(original);
    }

    void destruction_releases_the_link()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        auto dialog = std::make_unique<kq_monitor_control_panel_dialog>(0, nullptr);
        QVERIFY(dialog->open_port_for_display(0));
        QVERIFY(wall.link_open());
        dialog.reset();
        QVERIFY(wall.link_released());
    }

    void six_axis_sliders_carry_their_colours()
    {
        panel_wall wall(1);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        const QString style = child<QSlider>(dialog, "six_axis_cyan_offset_horizontalSlider")->styleSheet();
        QVERIFY(style.contains(QStringLiteral("stop:0 #008080, stop:0.5 #00c0c0, stop:1 #00ffff")));
        // The tied pairs follow each other both ways.
        child<QSpinBox>(dialog, "six_axis_red_hue_spinBox")->setMaximum(100);
        child<QSlider>(dialog, "six_axis_red_hue_horizontalSlider")->setMaximum(100);
        child<QSpinBox>(dialog, "six_axis_red_hue_spinBox")->setValue(12);
        QCOMPARE(child<QSlider>(dialog, "six_axis_red_hue_horizontalSlider")->value(), 12);
    }
};

QTEST_MAIN(tst_control_panel_dialog)
#include "tst_control_panel_dialog.moc"
