// The Tile Matrix, Tile Matrix Advanced and IR Remote pages of the control
// panel dialog offscreen on simulated displays: size, position and diagram,
// hostile sizes and positions, the on/off value by model, the frame
// compensation's hundredths, the advanced page's failures, and the IR keys
// and their pauses on the wire for one display, several and none.
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "layout_setup/KQ_display_array_size_diagram_widget.h"
#include "resources/tessaline_resources.h"
#include "tests/control_panel/control_panel_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

constexpr int kTilePage = 9;
constexpr int kAdvancedPage = 10;
constexpr int kIrPage = 11;
// Scaled pauses long enough to stand out from the frames' own times.
constexpr double kPauseScale = 0.1;

void show_page(kq_monitor_control_panel_dialog &dialog, int page)
{
    auto *tree = child<QTreeWidget>(dialog, "treeWidget");
    tree->setCurrentItem(tree_item(tree, page));
}

QString status_line(kq_monitor_control_panel_dialog &dialog)
{
    return child<QLabel>(dialog, "status_label")->text();
}

QPoint selected_cell(kq_monitor_control_panel_dialog &dialog)
{
    int column = 0, row = 0;
    child<KQ_display_array_size_diagram_widget>(dialog, "display_array_size_diagram_widget")
        ->getCurrentlySelectedDisplay(column, row);
    return {column, row};
}

QList<quint16> keys_of(panel_wall &wall, int display)
{
    return wall.sim.with_display(wall.displays.at(display), [](sim_display &d) { return d.ir_keys; });
}

// Milliseconds between one key's frame and the next's at |display|, from the
// frame log's arrival times.
QList<qint64> key_gaps(panel_wall &wall, int display)
{
    QList<qint64> times;
    for (const sim_log_entry &e : wall.sim.log()) {
        if (e.answered_by == wall.ids.at(display) && e.body.startsWith("C210"))
            times << e.time_ms;
    }
    QList<qint64> gaps;
    for (int i = 1; i < times.size(); ++i)
        gaps << times.at(i) - times.at(i - 1);
    return gaps;
}

} // namespace

class tst_control_panel_tile_ir : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY2(!loopback_block::address(kFirstHost).isEmpty(), qPrintable(loopback_block::claim_error()));
    }
    void init()
    {
        wait_service::set_time_scale(0.01);
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
    }

    // What the display reports, what the page shows; hostile sizes and
    // positions never select a cell that is not there.
    void the_matrix_and_the_position_data()
    {
        QTest::addColumn<display_change>("change");
        QTest::addColumn<bool>("columns_enabled");
        QTest::addColumn<bool>("rows_enabled");
        QTest::addColumn<QPoint>("cell");
        const auto matrix = [](int columns, int rows, int position) {
            return display_change([=](sim_display &d) {
                d.controls.force(control_code::kTileColumns, static_cast<quint16>(columns));
                d.controls.force(control_code::kTileRows, static_cast<quint16>(rows));
                d.controls.force(control_code::kTilePosition, static_cast<quint16>(position));
            });
        };
        QTest::newRow("position 5 of 4 x 2") << matrix(4, 2, 5) << true << true << QPoint(0, 1);
        QTest::newRow("position 7 of 4 x 2") << matrix(4, 2, 7) << true << true << QPoint(2, 1);
        QTest::newRow("position 0") << matrix(4, 2, 0) << true << true << QPoint(-1, -1);
        QTest::newRow("past the last cell") << matrix(4, 2, 9) << true << true << QPoint(-1, -1);
        QTest::newRow("no columns") << matrix(0, 2, 1) << false << true << QPoint(-1, -1);
        QTest::newRow("columns above the maximum") << matrix(40, 2, 1) << false << true << QPoint(-1, -1);
        QTest::newRow("no rows") << matrix(4, 0, 1) << true << false << QPoint(-1, -1);
        QTest::newRow("columns unsupported")
            << display_change([](sim_display &d) { d.controls.set_unsupported(control_code::kTileColumns); })
            << false << true << QPoint(-1, -1);
    }
    void the_matrix_and_the_position()
    {
        QFETCH(display_change, change);
        QFETCH(bool, columns_enabled);
        QFETCH(bool, rows_enabled);
        QFETCH(QPoint, cell);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<KQ_display_array_size_diagram_widget>(dialog, "display_array_size_diagram_widget")
            ->setCurrentlySelectedDisplay(-1, -1);
        wall.sim.with_display(wall.displays.first(), change);
        wall.sim.clear_log();
        show_page(dialog, kTilePage);
        QCOMPARE(wall.sim.log().size(), 3);
        QCOMPARE(child<QSpinBox>(dialog, "horizontal_monitors_spinBox")->isEnabled(), columns_enabled);
        QCOMPARE(child<QSpinBox>(dialog, "vertical_monitors_spinBox")->isEnabled(), rows_enabled);
        QCOMPARE(selected_cell(dialog), cell);
        QVERIFY(status_line(dialog).isEmpty());
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY(e.type != 'E');
    }

    void a_click_writes_the_position()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.controls.force(control_code::kTileColumns, 4);
            d.controls.force(control_code::kTileRows, 2);
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kTilePage);
        wall.sim.clear_log();
        emit child<KQ_display_array_size_diagram_widget>(dialog, "display_array_size_diagram_widget")->clicked(2, 1);
        QCOMPARE(writes_of(wall.sim.log(), control_code::kTilePosition),
                 QList<QByteArray>{write_body(control_code::kTilePosition, 7)});
        QCOMPARE(selected_cell(dialog), QPoint(2, 1));

        // A refused position leaves the selection where it was.
        wall.sim.refuse_writes(wall.displays.first(), control_code::kTilePosition);
        emit child<KQ_display_array_size_diagram_widget>(dialog, "display_array_size_diagram_widget")->clicked(3, 0);
        QCOMPARE(selected_cell(dialog), QPoint(2, 1));
        QVERIFY(!status_line(dialog).isEmpty());
    }

    void the_size_is_written_after_the_last_change()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kTilePage);
        wall.sim.clear_log();
        child<QSpinBox>(dialog, "horizontal_monitors_spinBox")->setValue(3);
        child<QSpinBox>(dialog, "vertical_monitors_spinBox")->setValue(2);
        QTRY_VERIFY(!writes_of(wall.sim.log(), control_code::kTileRows).isEmpty());
        QTest::qWait(200);
        QList<QByteArray> seen;
        for (const sim_log_entry &e : wall.sim.log())
            seen << e.body;
        QCOMPARE(seen, (QList<QByteArray>{write_body(control_code::kTileColumns, 3), write_body(control_code::kTileRows, 2),
                                          hex4(control_code::kTileColumns), hex4(control_code::kTileRows),
                                          hex4(control_code::kTilePosition), "0C"}));
    }

    void switching_off_by_model_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("off");
        QTest::newRow("maximum 2") << QByteArray("VW-5510C") << 1;
        QTest::newRow("maximum 3") << QByteArray("VW-5530Q") << 3;
    }
    void switching_off_by_model()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, off);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(), [&](sim_display &d) {
            d.apply_model(model);
            d.controls.force(control_code::kTileMatrix, 2);
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAdvancedPage);
        auto *enable = child<QCheckBox>(dialog, "enable_tile_matrix_groupBox");
        QVERIFY(enable->isChecked());
        wall.sim.clear_log();
        enable->setChecked(false);
        QCOMPARE(writes_of(wall.sim.log(), control_code::kTileMatrix),
                 QList<QByteArray>{write_body(control_code::kTileMatrix, off)});
    }

    void frame_compensation_in_hundredths()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kAdvancedPage);
        auto *automatic = child<QDoubleSpinBox>(dialog, "frame_comp_auto_value_doubleSpinBox");
        auto *manual = child<QDoubleSpinBox>(dialog, "frame_comp_manual_value_doubleSpinBox");
        QCOMPARE(automatic->value(), 1.5);   // 150 on the display
        QCOMPARE(manual->maximum(), 10.0);
        wall.sim.clear_log();
        manual->setValue(1.15);
        QTRY_VERIFY(!writes_of(wall.sim.log(), control_code::kFrameCompensationManual).isEmpty());
        QCOMPARE(writes_of(wall.sim.log(), control_code::kFrameCompensationManual),
                 QList<QByteArray>{write_body(control_code::kFrameCompensationManual, 115)});
        QVERIFY(writes_of(wall.sim.log(), control_code::kFrameCompensationAuto).isEmpty());
    }

    void a_failing_advanced_page_disables_it()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::corrupt_check);
        show_page(dialog, kAdvancedPage);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::corrupt_check, 0);
        QVERIFY(!status_line(dialog).isEmpty());
        for (const char *name : {"frame_comp_groupBox", "v_scan_reverse_groupBox", "tile_matrix_memory_groupBox",
                                 "tile_comp_groupBox"})
            QVERIFY2(!child<QGroupBox>(dialog, name)->isEnabled(), name);
        QVERIFY(!child<QCheckBox>(dialog, "enable_tile_matrix_groupBox")->isEnabled());
        QVERIFY(!child<QDoubleSpinBox>(dialog, "frame_comp_auto_value_doubleSpinBox")->isEnabled());

        // The V scan reverse mode unsupported: its manual setting is not read.
        wall.sim.with_display(wall.displays.first(),
                              [](sim_display &d) { d.controls.set_unsupported(control_code::kVScanReverseMode); });
        show_page(dialog, kTilePage);
        wall.sim.clear_log();
        show_page(dialog, kAdvancedPage);
        QVERIFY(status_line(dialog).isEmpty());
        QVERIFY(child<QGroupBox>(dialog, "frame_comp_groupBox")->isEnabled());
        QVERIFY(!child<QComboBox>(dialog, "v_scan_reverse_manual_comboBox")->isEnabled());
        for (const sim_log_entry &e : wall.sim.log())
            QVERIFY(!e.body.startsWith(hex4(control_code::kVScanReverseManual)));
    }

    void keys_reach_one_display_directly()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kIrPage);
        auto *sequence = child<QLineEdit>(dialog, "ir_remote_code_lineEdit");
        auto *send = child<QPushButton>(dialog, "ir_remote_sendsequence_pushButton");
        QVERIFY(!send->isEnabled());
        for (const char *key : {"ir_remote_1_pushButton", "ir_remote_2_pushButton", "ir_remote_wait1s_pushButton",
                                "ir_remote_ent_pushButton"})
            child<QPushButton>(dialog, key)->click();
        QCOMPARE(sequence->text(), QStringLiteral("08 09 00 45"));
        QCOMPARE(keys_of(wall, 0), (QList<quint16>{0x08, 0x09, 0x45}));
        QVERIFY(send->isEnabled());

        child<QCheckBox>(dialog, "ir_remote_send_immediately_checkBox")->setChecked(false);
        sequence->setText(QStringLiteral("8 1f"));
        send->click();
        QCOMPARE(sequence->text(), QStringLiteral("08 1F"));
        QCOMPARE(keys_of(wall, 0), (QList<quint16>{0x08, 0x09, 0x45, 0x08, 0x1F}));

        // A key the model refuses: its code in the status line, the rest unsent.
        sequence->setText(QStringLiteral("69 08"));
        send->click();
        QVERIFY(!status_line(dialog).isEmpty());
        QCOMPARE(keys_of(wall, 0).size(), 5);

        // The line edit refuses a token above FF.
        sequence->clear();
        QTest::keyClicks(sequence, QStringLiteral("100"));
        QCOMPARE(sequence->text(), QStringLiteral("10"));
        child<QPushButton>(dialog, "ir_remote_clear_pushButton")->click();
        QVERIFY(!send->isEnabled());
    }

    void keys_reach_several_displays_through_jobs_and_none_without_targets()
    {
        panel_wall wall(3);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        wall.set_item(2, [](display_layout_item &item) { item.enabled = false; });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        QCOMPARE(dialog.targets(), (QList<int>{0, 1}));
        show_page(dialog, kIrPage);
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "ir_remote_menu_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);   // closes itself once the jobs are done
        QCOMPARE(keys_of(wall, 0), QList<quint16>{0x20});
        QCOMPARE(keys_of(wall, 1), QList<quint16>{0x20});
        QVERIFY(keys_of(wall, 2).isEmpty());

        // A column whose displays are all disabled: nothing is sent, no dialog.
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(2);
        child<QComboBox>(dialog, "apply_to_display_list_comboBox")->setCurrentIndex(0);
        wall.set_item(0, [](display_layout_item &item) { item.enabled = false; });
        wall.set_item(1, [](display_layout_item &item) { item.enabled = false; });
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
        QVERIFY(dialog.targets().isEmpty());
        wall.sim.clear_log();
        modal_watchdog none(5000);
        child<QPushButton>(dialog, "ir_remote_menu_pushButton")->click();
        QCOMPARE(none.closed, 0);
        QVERIFY(wall.sim.log().isEmpty());
    }

    // After each key the sender waits 200 ms, and 1 s for each 00 between
    // keys; directly to one display and through the jobs to several.
    void pauses_between_keys_data()
    {
        QTest::addColumn<int>("apply_to");
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QList<quint16>>("keys");
        QTest::addColumn<QList<int>>("least_gaps");   // nominal ms
        QTest::newRow("one display, keys") << 0 << "08 09 45" << QList<quint16>{0x08, 0x09, 0x45}
                                           << QList<int>{200, 200};
        QTest::newRow("one display, a pause") << 0 << "08 00 09" << QList<quint16>{0x08, 0x09}
                                              << QList<int>{1200};
        QTest::newRow("one display, two pauses") << 0 << "00 08 00 00 45" << QList<quint16>{0x08, 0x45}
                                                 << QList<int>{2200};
        QTest::newRow("two displays, a pause") << 3 << "08 00 09" << QList<quint16>{0x08, 0x09}
                                               << QList<int>{1200};
    }
    void pauses_between_keys()
    {
        QFETCH(int, apply_to);
        QFETCH(QString, sequence);
        QFETCH(QList<quint16>, keys);
        QFETCH(QList<int>, least_gaps);
        panel_wall wall(2);
        QVERIFY(wall.ok);
        // After the controller, which sets its own scale.
        wait_service::set_time_scale(kPauseScale);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(apply_to);
        show_page(dialog, kIrPage);
        child<QCheckBox>(dialog, "ir_remote_send_immediately_checkBox")->setChecked(false);
        child<QLineEdit>(dialog, "ir_remote_code_lineEdit")->setText(sequence);
        wall.sim.clear_log();
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "ir_remote_sendsequence_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        QVERIFY(status_line(dialog).isEmpty());
        for (int display : dialog.targets()) {
            QCOMPARE(keys_of(wall, display), keys);
            const QList<qint64> gaps = key_gaps(wall, display);
            QCOMPARE(gaps.size(), least_gaps.size());
            for (int i = 0; i < gaps.size(); ++i) {
                const qint64 least = wait_service::scaled_ms(least_gaps.at(i));
                QVERIFY2(gaps.at(i) >= least, qPrintable(QStringLiteral("gap %1: %2 ms, at least %3 ms expected")
                                                             .arg(i).arg(gaps.at(i)).arg(least)));
            }
        }
    }
};

QTEST_MAIN(tst_control_panel_tile_ir)
#include "tst_control_panel_tile_ir.moc"
