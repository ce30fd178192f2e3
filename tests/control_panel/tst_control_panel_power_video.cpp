// The Power, Cooling, Video and Uniformity pages of the control panel
// dialog offscreen on simulated displays: what each page reads, in which
// order, what it shows, what its controls write, and what a failing or
// garbling display leaves; the power jobs, the staggered power-on delay
// over a row, the Cooling page's joint Update, the calibration copied to
// other inputs and the picture reset on a simulated wall; the input
// resolution's long reply wait.
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "colour/CAdjustValue.h"
#include "jobs/QueryThreadPool.h"
#include "resources/tessaline_resources.h"
#include "tests/control_panel/control_panel_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

namespace {

constexpr int kPowerPage = 0;
constexpr int kCoolingPage = 2;
constexpr int kVideoPage = 3;
constexpr int kUniformityPage = 5;
constexpr int kPicturePage = 4;
constexpr int kEnginePage = 6;
constexpr int kCalibrationPage = 7;
constexpr int kSizePage = 8;
constexpr int kPowerMode = 0xD6;
// Nominal reply waits at this scale are long enough to tell the slow link's
// from the normal one's on a busy machine (see the input resolution test).
constexpr double kSlowLinkScale = 0.4;

void show_page(kq_monitor_control_panel_dialog &dialog, int page)
{
    auto *tree = child<QTreeWidget>(dialog, "treeWidget");
    tree->setCurrentItem(tree_item(tree, page));
}

QString status_line(kq_monitor_control_panel_dialog &dialog)
{
    return child<QLabel>(dialog, "status_label")->text();
}

QList<QByteArray> bodies(const QList<sim_log_entry> &frames)
{
    QList<QByteArray> out;
    for (const sim_log_entry &e : frames)
        out << e.body;
    return out;
}

int power_of(panel_wall &wall, int display)
{
    return wall.sim.with_display(wall.displays.at(display),
                                 [](sim_display &d) { return int(d.controls.find(kPowerMode)->current); });
}

void choose_all_displays(kq_monitor_control_panel_dialog &dialog)
{
    child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(3);
}

void choose_row(kq_monitor_control_panel_dialog &dialog, int row)
{
    child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(1);
    child<QComboBox>(dialog, "apply_to_display_list_comboBox")->setCurrentIndex(row);
}

QString spaced(const QList<int> &values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(QLatin1Char(' '));
}

// The values |code| was written with, display by display in layout order,
// each display's as "v1 v2 ..." (empty: none).
QStringList written_values(panel_wall &wall, int code)
{
    const QList<sim_log_entry> frames = wall.sim.log();
    QStringList out;
    for (char id : wall.ids) {
        QList<int> values;
        for (const QByteArray &body : writes_of(frames, code, id))
            values << body.mid(4).toInt(nullptr, 16);
        out << spaced(values);
    }
    return out;
}

// A calibration on record for the display at |index|, under the model and
// serial number it reports.
void store_calibration(panel_wall &wall, int index)
{
    QString model, serial;
    wall.sim.with_display(wall.displays.at(index), [&](sim_display &d) {
        model = QString::fromLatin1(d.model_name);
        serial = QString::fromLatin1(d.serial_number);
    });
    CAdjustValue record;
    record.SetCalibrationDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    record.SetCalibrated(true);
    record.SetCalibrationMode(CAdjustValue::kModeGains);
    record.backlight_setting = 70;
    record.gain = {0.8, 0.9, 1.0};
    wall.controller.store_record(index, record, model, serial);
}

} // namespace

class tst_control_panel_power_video : public QObject
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

    void switching_one_display_reads_its_state_back()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        QCOMPARE(child<QLabel>(dialog, "power_on_delay_label")->text(), QStringLiteral("0 seconds"));
        QCOMPARE(child<QSlider>(dialog, "power_on_delay_horizontalSlider")->maximum(), 50);
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "power_off_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        QCOMPARE(power_of(wall, 0), 4);
        QCOMPARE(child<QLabel>(dialog, "power_state_label")->text(),
                 QStringLiteral("<img src=\":/images/Resources/power-off16.png\"> Off"));
        QVERIFY(status_line(dialog).isEmpty());
    }

    // A display that refuses to switch on: the code in the status line, no
    // state (the job's mode is only what was asked).
    void a_refused_switch_shows_its_code_and_no_state()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.controls.find(kPowerMode)->current = 4;
            d.refuses_power_on = true;
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        modal_watchdog watchdog(20000);
        QTimer::singleShot(3000, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        child<QPushButton>(dialog, "power_on_pushButton")->click();
        QCOMPARE(power_of(wall, 0), 4);
        QVERIFY(child<QLabel>(dialog, "power_state_label")->text().isEmpty());
        QVERIFY(!status_line(dialog).isEmpty());
    }

    void several_displays_switch_and_stagger()
    {
        panel_wall wall(3);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        choose_all_displays(dialog);
        QCOMPARE(dialog.targets(), (QList<int>{0, 1, 2}));
        auto *slider = child<QSlider>(dialog, "power_on_delay_horizontalSlider");
        // 3 steps plus 50 s over two gaps.
        QCOMPARE(slider->maximum(), 28);
        QCOMPARE(slider->value(), 0);
        QCOMPARE(child<QLabel>(dialog, "power_on_delay_label")->text(), QStringLiteral("Disabled"));

        wall.sim.clear_log();
        slider->setValue(5);
        QCOMPARE(child<QLabel>(dialog, "power_on_delay_label")->text(), QStringLiteral("Displays staggered by 2 seconds"));
        QTest::qWait(wait_service::timer_interval_ms(1500) + 50);
        QVERIFY(writes_of(wall.sim.log(), control_code::kPowerOnDelay).isEmpty());

        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "update_power_saving_delay_pushButton")->click();
        const QList<sim_log_entry> frames = wall.sim.log();
        QCOMPARE(writes_of(frames, control_code::kPowerOnDelay, 'A'),
                 QList<QByteArray>{write_body(control_code::kPowerOnDelay, 0)});
        QCOMPARE(writes_of(frames, control_code::kPowerOnDelay, 'B'),
                 QList<QByteArray>{write_body(control_code::kPowerOnDelay, 2)});
        QCOMPARE(writes_of(frames, control_code::kPowerOnDelay, 'C'),
                 QList<QByteArray>{write_body(control_code::kPowerOnDelay, 4)});

        child<QPushButton>(dialog, "power_off_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(power_of(wall, i), 4);
        // Read back from the first display only.
        QCOMPARE(child<QLabel>(dialog, "power_state_label")->text(),
                 QStringLiteral("<img src=\":/images/Resources/power-off16.png\"> Off"));
    }

    void the_cooling_page_follows_the_maxima()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kCoolingPage);
        QCOMPARE(bodies(wall.sim.log()), (QList<QByteArray>{hex4(0x278), hex4(0x103F), hex4(0x27D), hex4(0x10E0),
                                                            hex4(0x10E1), hex4(0x10E2), hex4(0x10E3), hex4(0x10E4),
                                                            hex4(0x10E5)}));
        auto *mode = child<QComboBox>(dialog, "cooling_fan_mode_comboBox");
        QCOMPARE(mode->count(), 7);
        QCOMPARE(mode->itemData(0).toInt(), 2);
        QCOMPARE(mode->itemText(0), QStringLiteral("Forced On"));
        QVERIFY(mode->isEnabled());
        QCOMPARE(child<QComboBox>(dialog, "cooling_fan_sensor_comboBox")->count(), 3);
        auto *limit = child<QSpinBox>(dialog, "fan_sensor2_temp_spinBox");
        QCOMPARE(limit->minimum(), 40);
        QCOMPARE(limit->maximum(), 70);
        QCOMPARE(limit->value(), 60);
        QCOMPARE(limit->suffix(), QStringLiteral(" \u00B0C"));

        // Choosing a sensor writes it, reads it back, saves and reads the page.
        wall.sim.clear_log();
        child<QComboBox>(dialog, "cooling_fan_sensor_comboBox")->setCurrentIndex(2);
        const QList<QByteArray> seen = bodies(wall.sim.log());
        QCOMPARE(seen.mid(0, 4), (QList<QByteArray>{write_body(0x278, 3), hex4(0x278), "0C", hex4(0x278)}));
        QCOMPARE(child<QComboBox>(dialog, "cooling_fan_sensor_comboBox")->currentData().toInt(), 3);

        // One fan mode, one sensor without its limit: the rest stays disabled.
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.controls.set(0x27D, 1, 1);
            d.controls.set_unsupported(0x10E2);
        });
        show_page(dialog, kPowerPage);
        show_page(dialog, kCoolingPage);
        QCOMPARE(mode->count(), 1);
        QCOMPARE(mode->itemText(0), QStringLiteral("Auto (no offset)"));
        QVERIFY(child<QSpinBox>(dialog, "fan_sensor1_temp_spinBox")->isEnabled());
        QVERIFY(!child<QSpinBox>(dialog, "fan_sensor2_temp_spinBox")->isEnabled());
        QVERIFY(!child<QSpinBox>(dialog, "fan_sensor3_temp_spinBox")->isEnabled());
        QVERIFY(status_line(dialog).isEmpty());
        QVERIFY(child<QGroupBox>(dialog, "fan_sensor_temp_groupBox")->isEnabled());
    }

    // The limits' group follows the first limit's read; a second sensor whose
    // span cannot be read stays usable with the range and value it showed,
    // a first sensor does not.
    void the_cooling_limits_data()
    {
        QTest::addColumn<int>("unsupported");
        QTest::addColumn<bool>("group");
        QTest::addColumn<QList<bool>>("sensors");
        QTest::newRow("first limit") << 0x10E0 << false << QList<bool>{false, false, false};
        QTest::newRow("first span") << 0x10E1 << true << QList<bool>{false, true, true};
        QTest::newRow("second span") << 0x10E3 << true << QList<bool>{true, true, true};
    }

    void the_cooling_limits()
    {
        QFETCH(int, unsupported);
        QFETCH(bool, group);
        QFETCH(QList<bool>, sensors);
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kCoolingPage);
        auto *second = child<QSpinBox>(dialog, "fan_sensor2_temp_spinBox");
        QCOMPARE(second->value(), 60);
        // Shown from elsewhere; the display then changes its limit and
        // loses one control.
        second->blockSignals(true);
        second->setRange(10, 20);
        second->setValue(15);
        second->blockSignals(false);
        wall.sim.with_display(wall.displays.first(), [unsupported](sim_display &d) {
            d.controls.set(0x10E2, 55, 70);
            d.controls.set_unsupported(static_cast<quint16>(unsupported));
        });
        show_page(dialog, kPowerPage);
        show_page(dialog, kCoolingPage);
        auto *box = child<QGroupBox>(dialog, "fan_sensor_temp_groupBox");
        QCOMPARE(box->isEnabled(), group);
        for (int i = 0; i < 3; ++i) {
            const QString name = QStringLiteral("fan_sensor%1_temp_spinBox").arg(i + 1);
            QCOMPARE(child<QSpinBox>(dialog, qPrintable(name))->isEnabledTo(box), sensors.at(i));
        }
        if (unsupported == 0x10E3) {
            QCOMPARE(second->minimum(), 10);
            QCOMPARE(second->maximum(), 20);
            QCOMPARE(second->value(), 15);
        }
    }

    void the_video_page_reads_the_input_first()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kVideoPage);
        const QList<QByteArray> seen = bodies(wall.sim.log());
        // The input (its code corrected by the model), then the two choices.
        QCOMPARE(seen, (QList<QByteArray>{hex4(0x60), "C217", hex4(0x1040), hex4(0x2E3)}));
        auto *input = child<QComboBox>(dialog, "video_input_comboBox");
        QCOMPARE(input->count(), 23);
        QCOMPARE(input->currentData().toInt(), 17);
        QCOMPARE(child<QComboBox>(dialog, "video_overscan_comboBox")->currentData().toInt(), 3);

        // One display: the choice is written and saved, then the page read.
        wall.sim.clear_log();
        child<QComboBox>(dialog, "video_overscan_comboBox")->setCurrentIndex(1);
        QCOMPARE(bodies(wall.sim.log()), (QList<QByteArray>{write_body(0x2E3, 2), "0C", hex4(0x60), "C217",
                                                             hex4(0x1040), hex4(0x2E3)}));
        QCOMPARE(child<QComboBox>(dialog, "video_overscan_comboBox")->currentData().toInt(), 2);

        // An input the display lacks: the combo box shows what it kept.
        input->setCurrentIndex(input->findData(136));
        QCOMPARE(input->currentData().toInt(), 17);

        // A garbled input read: shown, the two choices unread and disabled,
        // the input itself still usable.
        show_page(dialog, kPowerPage);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::corrupt_check);
        show_page(dialog, kVideoPage);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::corrupt_check, 0);
        QVERIFY(!status_line(dialog).isEmpty());
        QVERIFY(input->isEnabled());
        QVERIFY(!child<QComboBox>(dialog, "video_level_expansion_comboBox")->isEnabled());
        QVERIFY(!child<QComboBox>(dialog, "video_overscan_comboBox")->isEnabled());
    }

    void the_uniformity_page()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kUniformityPage);
        // No engine on this model: the level is disabled, edge compensation read.
        QVERIFY(!child<QSlider>(dialog, "kqe_uniformity_horizontalSlider")->isEnabled());
        auto *edge = child<QGroupBox>(dialog, "edge_comp_on_groupBox");
        QVERIFY(edge->isEnabled());
        QVERIFY(!edge->isChecked());
        QCOMPARE(child<QSpinBox>(dialog, "edge_comp_type_spinBox")->maximum(), 3);
        QVERIFY(status_line(dialog).isEmpty());

        wall.sim.clear_log();
        edge->setChecked(true);
        QCOMPARE(bodies(wall.sim.log()), (QList<QByteArray>{write_body(0x1088, 1), "0C"}));
        wall.sim.clear_log();
        child<QSpinBox>(dialog, "edge_comp_type_spinBox")->setValue(2);
        child<QSpinBox>(dialog, "edge_comp_type_spinBox")->setValue(3);
        QCOMPARE(bodies(wall.sim.log()), (QList<QByteArray>{write_body(0x108C, 2), "0C", write_body(0x108C, 3), "0C"}));

        auto *level = child<QSlider>(dialog, "kqe_uniformity_horizontalSlider");
        auto *text = child<QLabel>(dialog, "kqe_uniformity_horizontalSlider_label");
        level->setMaximum(10);
        level->setValue(0);
        QCOMPARE(text->text(), QStringLiteral("Off"));
        level->setValue(7);
        QCOMPARE(text->text(), QStringLiteral("7"));
    }

    void the_size_and_position_page()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            d.controls.set_unsupported(control_code::kHPosition);
            d.controls.force(control_code::kAspect, 9);   // no such item
        });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        wall.sim.clear_log();
        show_page(dialog, kSizePage);
        QCOMPARE(bodies(wall.sim.log()).size(), 14);
        QVERIFY(!child<QSlider>(dialog, "h_position_horizontalSlider")->isEnabled());
        QVERIFY(child<QSlider>(dialog, "v_position_horizontalSlider")->isEnabled());
        QCOMPARE(child<QSpinBox>(dialog, "zoom_spinBox")->minimum(), 1);
        auto *aspect = child<QComboBox>(dialog, "aspect_comboBox");
        QVERIFY(aspect->isEnabled());
        QCOMPARE(aspect->currentIndex(), -1);
        QVERIFY(status_line(dialog).isEmpty());

        // The reset is not saved; the page is read again at once.
        wall.sim.clear_log();
        child<QPushButton>(dialog, "size_reset_pushButton")->click();
        const QList<QByteArray> seen = bodies(wall.sim.log());
        QCOMPARE(seen.first(), write_body(control_code::kDefaults, 3));
        QVERIFY(!seen.contains("0C"));
        QCOMPARE(seen.size(), 15);
        QCOMPARE(aspect->currentData().toInt(), 2);

        // Any other failure of the first row is shown and leaves the page unread.
        show_page(dialog, kPowerPage);
        wall.sim.with_display(wall.displays.first(), [](sim_display &d) { d.controls.set(control_code::kHPosition, 5, 10); });
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::corrupt_check);
        show_page(dialog, kSizePage);
        wall.sim.set_fault(wall.displays.first(), sim_fault_kind::corrupt_check, 0);
        QVERIFY(!status_line(dialog).isEmpty());
        for (const char *name : {"h_position_horizontalSlider", "zoom_horizontalSlider"})
            QVERIFY2(!child<QSlider>(dialog, name)->isEnabled(), name);
        QVERIFY(!aspect->isEnabled());
    }

    void the_engine_picture_mode_page()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        for (int display : wall.displays)
            wall.sim.with_display(display, [](sim_display &d) { d.apply_model("VW-5540QE"); });
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kEnginePage);
        auto *mode = child<QComboBox>(dialog, "kqe_picture_mode_comboBox");
        QCOMPARE(mode->count(), 5);
        QCOMPARE(mode->currentData().toInt(), 1);
        QVERIFY(child<QGroupBox>(dialog, "kqe_picture_mode_groupBox")->isEnabled());

        // Two displays: the page is not read; its Update button writes to both.
        show_page(dialog, kPowerPage);
        choose_all_displays(dialog);
        wall.sim.clear_log();
        show_page(dialog, kEnginePage);
        QVERIFY(wall.sim.log().isEmpty());
        mode->setCurrentIndex(0);
        QVERIFY(wall.sim.log().isEmpty());
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "kqe_picture_mode_update_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        for (char id : {'A', 'B'})
            QCOMPARE(writes_of(wall.sim.log(), control_code::kEnginePictureMode, id),
                     QList<QByteArray>{write_body(control_code::kEnginePictureMode, 5)});
    }

    // A row that does not start at the wall's first display: each position
    // of the row gets its own delay, the slider's range follows the first
    // display of the row and the number of displays, the label the stagger.
    void a_row_is_staggered_by_position_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<display_change>("first_of_row");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<int>>("delays");
        const display_change keep([](sim_display &) {});
        const auto delay_maximum = [](int maximum) {
            return display_change([=](sim_display &d) { d.controls.set(control_code::kPowerOnDelay, 0, maximum); });
        };
        QTest::newRow("off") << 3 << keep << 0 << 28 << QStringLiteral("Disabled") << QList<int>{0, 0, 0};
        QTest::newRow("six a second over ten") << 10 << keep << 1 << 8 << QStringLiteral("6 displays per second")
                                               << QList<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
        QTest::newRow("two a second") << 3 << keep << 3 << 28 << QStringLiteral("2 displays per second")
                                      << QList<int>{0, 0, 1};
        QTest::newRow("one second") << 3 << keep << 4 << 28 << QStringLiteral("Displays staggered by 1 second")
                                    << QList<int>{0, 1, 2};
        QTest::newRow("two seconds") << 3 << keep << 5 << 28 << QStringLiteral("Displays staggered by 2 seconds")
                                     << QList<int>{0, 2, 4};
        QTest::newRow("maximum 20 over three") << 3 << delay_maximum(20) << 13 << 13
                                               << QStringLiteral("Displays staggered by 10 seconds")
                                               << QList<int>{0, 10, 20};
        QTest::newRow("a maximum below the gaps") << 3 << delay_maximum(1) << 3 << 3
                                                  << QStringLiteral("2 displays per second") << QList<int>{0, 0, 1};
    }
    void a_row_is_staggered_by_position()
    {
        QFETCH(int, columns);
        QFETCH(display_change, first_of_row);
        QFETCH(int, value);
        QFETCH(int, maximum);
        QFETCH(QString, label);
        QFETCH(QList<int>, delays);
        panel_wall wall(columns, 2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        QList<int> row;
        for (int index = 0; index < wall.displays.size(); ++index) {
            display_layout_item item;
            QCOMPARE(wall.controller.layout().get_item(index, item), 0);
            if (item.row == 1)
                row << index;
        }
        QCOMPARE(row.size(), columns);
        QVERIFY(row.first() > 0);
        wall.sim.with_display(wall.displays.at(row.first()), first_of_row);
        choose_row(dialog, 1);
        QCOMPARE(dialog.targets(), row);

        auto *slider = child<QSlider>(dialog, "power_on_delay_horizontalSlider");
        QCOMPARE(slider->maximum(), maximum);
        slider->setValue(value);
        QCOMPARE(slider->value(), value);
        QCOMPARE(child<QLabel>(dialog, "power_on_delay_label")->text(), label);

        wall.sim.clear_log();
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "update_power_saving_delay_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        QStringList expected;
        for (int index = 0; index < wall.displays.size(); ++index)
            expected << (row.contains(index) ? QString::number(delays.at(row.indexOf(index))) : QString());
        QCOMPARE(written_values(wall, control_code::kPowerOnDelay), expected);
        QVERIFY(status_line(dialog).isEmpty());
    }

    // Sensor and mode go out together, sensor first, in one job (one
    // connection) per display; choosing them only changes the page.
    void the_cooling_update_writes_sensor_then_mode()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        choose_all_displays(dialog);
        show_page(dialog, kCoolingPage);
        auto *sensor = child<QComboBox>(dialog, "cooling_fan_sensor_comboBox");
        auto *mode = child<QComboBox>(dialog, "cooling_fan_mode_comboBox");
        wall.sim.clear_log();
        sensor->setCurrentIndex(sensor->findData(2));
        mode->setCurrentIndex(mode->findData(5));
        QVERIFY(wall.sim.log().isEmpty());

        QList<int> connections;
        for (int endpoint : wall.endpoints)
            connections << wall.sim.connection_count(endpoint);
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "update_cooling_fan_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        int n = 0;
        for (int endpoint : wall.endpoints)
            QCOMPARE(wall.sim.connection_count(endpoint), connections.at(n++) + 1);
        for (char id : wall.ids) {
            QList<QByteArray> writes;
            for (const sim_log_entry &e : wall.sim.log()) {
                if (e.type == 'E' && e.answered_by == id)
                    writes << e.body;
            }
            QCOMPARE(writes, (QList<QByteArray>{write_body(control_code::kFanSensor, 2),
                                                write_body(control_code::kFanMode, 5)}));
        }
        QVERIFY(status_line(dialog).isEmpty());

        // One display: the combo boxes write, the Update button does nothing.
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(0);
        QCOMPARE(dialog.targets(), QList<int>{0});
        wall.sim.clear_log();
        child<QPushButton>(dialog, "update_cooling_fan_pushButton")->click();
        QVERIFY(wall.sim.log().isEmpty());
    }

    // The inputs checked, in the list's order, go to every target display
    // that has a calibration on record; the display ends on its own input.
    void calibration_goes_to_the_checked_inputs_data()
    {
        QTest::addColumn<int>("apply_to");
        QTest::addColumn<QList<bool>>("calibrated");
        QTest::addColumn<QStringList>("inputs");   // per display; the last is its own again
        QTest::newRow("one display") << 0 << QList<bool>{true, true} << QStringList{"18 15 17", ""};
        QTest::newRow("all displays, one never calibrated") << 3 << QList<bool>{true, false}
                                                            << QStringList{"18 15 17", ""};
        QTest::newRow("all displays") << 3 << QList<bool>{true, true} << QStringList{"18 15 17", "18 15 17"};
    }
    void calibration_goes_to_the_checked_inputs()
    {
        QFETCH(int, apply_to);
        QFETCH(QList<bool>, calibrated);
        QFETCH(QStringList, inputs);
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        for (int i = 0; i < calibrated.size(); ++i) {
            // Displays of one model tell their records apart by serial number.
            wall.sim.with_display(wall.displays.at(i),
                                  [i](sim_display &d) { d.serial_number = "SN" + QByteArray::number(i); });
            if (calibrated.at(i))
                store_calibration(wall, i);
        }
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(apply_to);
        show_page(dialog, kCalibrationPage);
        auto *list = child<QListWidget>(dialog, "input_listWidget");
        auto *apply = child<QPushButton>(dialog, "calibration_apply_pushButton");
        QVERIFY(!apply->isEnabled());
        // Checked out of the list's order: the list's order counts.
        for (int input : {15, 18}) {
            for (int i = 0; i < list->count(); ++i) {
                if (list->item(i)->data(Qt::UserRole).toInt() == input)
                    list->item(i)->setCheckState(Qt::Checked);
            }
        }
        QVERIFY(apply->isEnabled());

        wall.sim.clear_log();
        modal_watchdog watchdog(60000);
        apply->click();
        QCOMPARE(watchdog.closed, 0);
        QCOMPARE(written_values(wall, control_code::kInputSource), inputs);
        QVERIFY(status_line(dialog).isEmpty());
    }

    void nothing_to_apply_without_an_input_or_a_target()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kCalibrationPage);
        auto *list = child<QListWidget>(dialog, "input_listWidget");
        auto *apply = child<QPushButton>(dialog, "calibration_apply_pushButton");
        list->item(0)->setCheckState(Qt::Checked);
        QVERIFY(apply->isEnabled());
        list->item(0)->setCheckState(Qt::Unchecked);
        QVERIFY(!apply->isEnabled());

        wall.set_item(0, [](display_layout_item &item) { item.enabled = false; });
        wall.set_item(1, [](display_layout_item &item) { item.enabled = false; });
        choose_all_displays(dialog);
        QVERIFY(dialog.targets().isEmpty());
        list->item(0)->setCheckState(Qt::Checked);
        QVERIFY(!apply->isEnabled());
    }

    // The picture defaults: one display is reset without a save and its
    // page read again at once, whatever the reset's result; several are
    // reset through jobs.
    void the_picture_reset_data()
    {
        QTest::addColumn<int>("apply_to");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<bool>("failure_shown");
        QTest::newRow("one display") << 0 << false << 80 << false;
        QTest::newRow("one display refusing") << 0 << true << 30 << true;
        QTest::newRow("all displays") << 3 << false << 30 << false;
    }
    void the_picture_reset()
    {
        QFETCH(int, apply_to);
        QFETCH(bool, refused);
        QFETCH(int, brightness);
        QFETCH(bool, failure_shown);
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        for (int display : wall.displays) {
            wall.sim.with_display(display, [](sim_display &d) {
                d.controls.find(control_code::kBrightness)->current = 30;
                d.controls.find(control_code::kContrast)->current = 20;
            });
            if (refused)
                wall.sim.refuse_writes(display, control_code::kDefaults);
        }
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        child<QComboBox>(dialog, "apply_to_select_type_comboBox")->setCurrentIndex(apply_to);
        show_page(dialog, kPicturePage);
        auto *shown = child<QSlider>(dialog, "brightness_horizontalSlider");
        QCOMPARE(shown->value(), 30);

        wall.sim.clear_log();
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "color_reset_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        const QByteArray reset = write_body(control_code::kDefaults, 2);
        QList<QByteArray> seen = bodies(wall.sim.log());
        for (int index : dialog.targets()) {
            // A refused write is tried again: only the value counts.
            const QList<QByteArray> writes = writes_of(wall.sim.log(), control_code::kDefaults, wall.ids.at(index));
            QVERIFY(!writes.isEmpty());
            QCOMPARE(writes.count(reset), writes.size());
        }
        QCOMPARE(shown->value(), brightness);
        QCOMPARE(!status_line(dialog).isEmpty(), failure_shown);
        if (dialog.targets().size() == 1) {
            // No save; all 24 rows read again after the reset.
            seen.removeAll(reset);
            QCOMPARE(seen.size(), 24);
            QVERIFY(!seen.contains("0C"));
            QCOMPARE(seen.first(), hex4(control_code::kBrightness));
            QCOMPARE(child<QSlider>(dialog, "contrast_horizontalSlider")->value(), refused ? 20 : 50);
            QCOMPARE(child<QSlider>(dialog, "sharpness_horizontalSlider")->value(), 12);
        }
    }

    // The display takes longer to answer an input resolution write than a
    // write may take: only the slow link's waits let the page see it done.
    void the_input_resolution_waits_for_the_display()
    {
        panel_wall wall(1);
        QVERIFY(wall.ok);
        // After the controller, which sets its own scale.
        wait_service::set_time_scale(kSlowLinkScale);
        wall.sim.set_time_scale(kSlowLinkScale);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        show_page(dialog, kSizePage);
        auto *resolution = child<QComboBox>(dialog, "input_resolution_comboBox");
        QVERIFY(resolution->isEnabled());
        QVERIFY(resolution->currentData().toInt() != 3);

        wall.sim.clear_log();
        resolution->setCurrentIndex(resolution->findData(3));
        QVERIFY2(status_line(dialog).isEmpty(), qPrintable(status_line(dialog)));
        const QList<QByteArray> seen = bodies(wall.sim.log());
        QCOMPARE(seen.mid(0, 3), (QList<QByteArray>{write_body(control_code::kInputResolution, 3),
                                                   hex4(control_code::kInputResolution), "0C"}));
        QCOMPARE(seen.count(write_body(control_code::kInputResolution, 3)), 1);
        QCOMPARE(resolution->currentData().toInt(), 3);
        QCOMPARE(wall.sim.with_display(wall.displays.first(), [](sim_display &d) {
            return int(d.controls.find(control_code::kInputResolution)->current);
        }), 3);
    }

    // Through the jobs too: each display takes the value once, its late
    // answer within the slow link's wait, and the progress dialog closes.
    void several_displays_wait_for_the_input_resolution()
    {
        panel_wall wall(2);
        QVERIFY(wall.ok);
        wall.controller.controller().setQueryThreadPool(new QueryThreadPool());
        wait_service::set_time_scale(kSlowLinkScale);
        wall.sim.set_time_scale(kSlowLinkScale);
        kq_monitor_control_panel_dialog dialog(0, nullptr);
        choose_all_displays(dialog);
        show_page(dialog, kSizePage);
        auto *resolution = child<QComboBox>(dialog, "input_resolution_comboBox");
        wall.sim.clear_log();
        resolution->setCurrentIndex(resolution->findData(3));
        QVERIFY(wall.sim.log().isEmpty());
        modal_watchdog watchdog(60000);
        child<QPushButton>(dialog, "update_input_resolution_pushButton")->click();
        QCOMPARE(watchdog.closed, 0);
        QCOMPARE(written_values(wall, control_code::kInputResolution), (QStringList{"3", "3"}));
        QVERIFY(status_line(dialog).isEmpty());
    }
};

QTEST_MAIN(tst_control_panel_power_video)
#include "tst_control_panel_power_video.moc"
