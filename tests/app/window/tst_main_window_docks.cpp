#include "app/controller/layout_manager.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "jobs/ui/KQ_luminance_meter_widget.h"
#include "main_window_fixture.h"
#include "progress_dialog_watch.h"
#include "tests/support/form_child.h"
#include "views/docks/KQ_calibration_information_dock_widget.h"
#include "views/docks/KQ_colorimeter_widget.h"
#include "views/docks/KQ_communications_interface_configure_widget.h"
#include "views/docks/KQ_display_test_pattern_widget.h"
#include "views/docks/kq_target_summary_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 5, 2), QTime(10, 0), Qt::UTC);

template <class T> T *dock_content(Tessaline &window, main_window_dock which)
{
    return qobject_cast<T *>(window.dock_content(which));
}

CAdjustValue measured_white(double Y)
{
    CAdjustValue record;
    record.measurements.native.white = CCIEXYZ(0.95 * Y, Y, 1.08 * Y);
    record.measurements.measurement_date_time = kWhen;
    return record;
}

} // namespace

// The docks in the real main window: where they sit and what reaches them.
class tst_main_window_docks : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<main_window_fixture>(); }
    void cleanup() { m_fixture.reset(); }

    void each_dock_holds_its_widget_data();
    void each_dock_holds_its_widget();
    void the_selection_reaches_the_docks();
    void connection_messages_reach_the_status_bar();
    void target_summary_follows_the_target();
    void edit_opens_the_target_dialog();
    void record_and_layout_changes_refresh_the_docks();
    void record_changes_refresh_the_wall_action_docks();
    void test_patterns_set_the_evaluate_box();

private:
    headless_controller &wall() { return m_fixture->wall(); }
    std::unique_ptr<main_window_fixture> m_fixture;
};

void tst_main_window_docks::each_dock_holds_its_widget_data()
{
    QTest::addColumn<int>("dock");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("object_name");
    QTest::addColumn<QString>("content");
    QTest::newRow("Connection") << int(kConnectionDock) << "Connection" << "Connection"
                                << "KQ_communications_interface_configure_widget";
    QTest::newRow("Calibration Target") << int(kCalibrationTargetDock) << "Calibration Target"
                                        << "CalibrationTarget" << "kq_target_summary_widget";
    QTest::newRow("Colorimeter") << int(kColorimeterDock) << "Colorimeter" << "Colorimeter"
                                 << "KQ_colorimeter_widget";
    QTest::newRow("Display Measurements") << int(kDisplayMeasurementsDock) << "Display Measurements"
                                          << "DisplayMeasurements" << "KQ_calibration_information_dock_widget";
    QTest::newRow("Display Control") << int(kDisplayControlDock) << "Display Control" << "Display Control"
                                     << "KQ_display_settings_widget";
    QTest::newRow("Test Pattern") << int(kTestPatternDock) << "Test Pattern" << "TestPattern"
                                  << "KQ_display_test_pattern_widget";
    QTest::newRow("Reset/Restore") << int(kResetDock) << "Reset/Restore" << "Reset" << "KQ_status_operations_widget";
}

void tst_main_window_docks::each_dock_holds_its_widget()
{
    QFETCH(int, dock);
    Tessaline &window = m_fixture->window();
    QDockWidget *shown = window.dock(main_window_dock(dock));
    QTEST(shown->windowTitle(), "title");
    QTEST(shown->objectName(), "object_name");
    QWidget *content = window.dock_content(main_window_dock(dock));
    QTEST(QString::fromLatin1(content->metaObject()->className()), "content");
    QVERIFY(shown->widget()->isAncestorOf(content));
    QCOMPARE(window.dockWidgetArea(shown), Qt::RightDockWidgetArea);
    QCOMPARE(content->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(content->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
}

void tst_main_window_docks::the_selection_reaches_the_docks()
{
    Tessaline &window = m_fixture->window();
    wall().create_wall(2, 1, QStringLiteral("127.0.0.20"));
    wall().store_record(1, measured_white(120.0));
    window.selection_changed(1);

    auto *connection = dock_content<QWidget>(window, kConnectionDock);
    QCOMPARE(form_child<QLineEdit>(connection, "ip_address_lineEdit")->text(), QStringLiteral("127.0.0.21"));
    auto *measurements = dock_content<QWidget>(window, kDisplayMeasurementsDock);
    QCOMPARE(form_child<KQ_luminance_meter_widget>(measurements, "white_level_widget")->state().value, 120.0);
    QVERIFY(form_child<QRadioButton>(measurements, "uncalibrated_radioButton")->isChecked());

    // Acting on the selected display, the docks' buttons follow it: only
    // display 1 is verified and measured.
    QWidget *patterns = window.dock_content(kTestPatternDock);
    QWidget *resets = window.dock_content(kResetDock);
    QWidget *settings = window.dock_content(kDisplayControlDock);
    for (QWidget *dock : {patterns, resets, settings})
        form_child<QRadioButton>(dock, "selected_radioButton")->setChecked(true);
    QVERIFY(form_child<QPushButton>(patterns, "off_pushButton")->isEnabled());
    QVERIFY(form_child<QPushButton>(resets, "reset_Measurements_pushButton")->isEnabled());
    QVERIFY(form_child<QPushButton>(settings, "power_on_pushButton")->isEnabled());

    window.selection_changed(0);
    QCOMPARE(form_child<QLineEdit>(connection, "ip_address_lineEdit")->text(), QStringLiteral("127.0.0.20"));
    QVERIFY(!form_child<QRadioButton>(measurements, "uncalibrated_radioButton")->isEnabled());
    QVERIFY(!form_child<QPushButton>(patterns, "off_pushButton")->isEnabled());
    QVERIFY(!form_child<QPushButton>(resets, "reset_Measurements_pushButton")->isEnabled());
    QVERIFY(form_child<QPushButton>(settings, "power_on_pushButton")->isEnabled());
}

void tst_main_window_docks::connection_messages_reach_the_status_bar()
{
    Tessaline &window = m_fixture->window();
    auto *connection = dock_content<KQ_communications_interface_configure_widget>(window, kConnectionDock);
    QVERIFY(connection);
    emit connection->status_message(QStringLiteral("Communications with display successful"), 10000);
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Communications with display successful"));
}

void tst_main_window_docks::target_summary_follows_the_target()
{
    Tessaline &window = m_fixture->window();
    CTargetValue target = wall().controller().getTarget();
    target.SetContrastRatio(700);
    target.SetGammaType(CTargetValue::kGammaPower);
    wall().controller().setTarget(target);
    // Any change of the layout tells the window to show the target again.
    wall().layout().update_layout();
    auto *summary = dock_content<QWidget>(window, kCalibrationTargetDock);
    QCOMPARE(form_child<QLabel>(summary, "main_Target_Contrast_Ratio_Text")->text(), QStringLiteral("700:1"));
}

void tst_main_window_docks::edit_opens_the_target_dialog()
{
    Tessaline &window = m_fixture->window();
    bool opened = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<KQ_edit_target_dialog *>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    });
    poll.start(5);
    form_child<QPushButton>(window.dock_content(kCalibrationTargetDock), "edit_pushButton")->click();
    QVERIFY(opened);
}

void tst_main_window_docks::record_and_layout_changes_refresh_the_docks()
{
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1, QStringLiteral("127.0.0.30"));
    window.selection_changed(0);
    auto *measurements = dock_content<QWidget>(window, kDisplayMeasurementsDock);
    KQ_luminance_meter_widget *meter = form_child<KQ_luminance_meter_widget>(measurements, "white_level_widget");

    // A record stored for the selected display shows without a new selection.
    wall().store_record(0, measured_white(80.0));
    QTRY_COMPARE(meter->state().value, 80.0);

    // A new address in the layout reaches the Connection dock.
    display_layout_item item;
    wall().layout().get_item(0, item);
    item.connection_address = QStringLiteral("127.0.0.31");
    wall().layout().set_item(0, item, true);
    QCOMPARE(form_child<QLineEdit>(window.dock_content(kConnectionDock), "ip_address_lineEdit")->text(),
             QStringLiteral("127.0.0.31"));
}

void tst_main_window_docks::record_changes_refresh_the_wall_action_docks()
{
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1, QStringLiteral("127.0.0.32"));
    window.selection_changed(0);
    QPushButton *off = form_child<QPushButton>(window.dock_content(kTestPatternDock), "off_pushButton");
    QPushButton *reset = form_child<QPushButton>(window.dock_content(kResetDock), "reset_Measurements_pushButton");
    QPushButton *power = form_child<QPushButton>(window.dock_content(kDisplayControlDock), "power_on_pushButton");
    QVERIFY(!off->isEnabled());
    QVERIFY(!reset->isEnabled());
    QVERIFY(power->isEnabled());

    wall().store_record(0, measured_white(80.0)); // verifies the display too
    QTRY_VERIFY(reset->isEnabled());
    QVERIFY(off->isEnabled());

    display_layout_item item;
    wall().layout().get_item(0, item);
    item.enabled = false;
    wall().layout().set_item(0, item, true);
    QVERIFY(!off->isEnabled());
    QVERIFY(!reset->isEnabled());
    QVERIFY(!power->isEnabled());
}

void tst_main_window_docks::test_patterns_set_the_evaluate_box()
{
    Tessaline &window = m_fixture->window();
    // No display is enabled: the patterns go nowhere, only the box follows.
    wall().create_wall(2, 1, QStringLiteral("127.0.0.40"));
    for (int index = 0; index < 2; ++index) {
        display_layout_item item;
        wall().layout().get_item(index, item);
        item.enabled = false;
        wall().layout().set_item(index, item, false);
    }
    auto *patterns = dock_content<KQ_display_test_pattern_widget>(window, kTestPatternDock);
    QVERIFY(patterns);
    QCheckBox *evaluate = form_child<QCheckBox>(window.dock_content(kActionsDock), "evaluate_calibration_mode_checkBox");
    progress_dialog_watch watch;

    patterns->pattern_calibrated_with_trim();
    QVERIFY(evaluate->isChecked());
    patterns->pattern_calibrated();
    QVERIFY(!evaluate->isChecked());
    patterns->pattern_calibrated_with_trim();
    patterns->pattern_full();
    QVERIFY(!evaluate->isChecked());
    patterns->pattern_calibrated_with_trim();
    patterns->pattern_off();
    QVERIFY(!evaluate->isChecked());
    QVERIFY(watch.title().isEmpty()); // no job ran
}

QTEST_MAIN(tst_main_window_docks)
#include "tst_main_window_docks.moc"
