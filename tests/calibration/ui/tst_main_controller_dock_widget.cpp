#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CAdjustValue.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "tests/jobs/fake_worker.h"
#include "tests/support/headless_controller.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 6, 1), QTime(8, 0), Qt::UTC);

// A verified wall of engine displays calibrated with lookup tables, its
// jobs run by fake workers that record them.
struct dock_fixture
{
    explicit dock_fixture(int displays = 2)
    {
        wall.create_wall(displays, 1, QStringLiteral("127.0.154.1"));
        CAdjustValue record;
        record.SetCalibrationDateTime(kWhen);
        record.SetCapabilityWordA(1);
        for (int i = 0; i < displays; ++i)
            wall.store_record(i, record);
        pool = new QueryThreadPool(fake_workers(gate), QueryThreadPool::kMaxRunning);
        wall.controller().setQueryThreadPool(pool);
        QObject::connect(pool, &QueryThreadPool::send_job_results, &results,
                         [this](const job_list_item &job) { finished << job; });
        wait_service::set_time_scale(0.001);
        preferences().SetUseQuillonEngine(true);
    }

    CPreferences &preferences() { return *wall.controller().getPreferences(); }

    template <typename T> T *part(const char *name)
    {
        T *widget = dock.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no %s", name);
        return widget;
    }

    fake_worker_gate gate;
    headless_controller wall;
    QueryThreadPool *pool = nullptr;
    QObject results;
    QList<job_list_item> finished;
    KQ_main_controller_dock_widget dock;
};

QPalette palette_with_window(const QColor &window)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, window);
    return palette;
}

} // namespace

class tst_main_controller_dock_widget : public QObject
{
    Q_OBJECT

private slots:
    void the_form_starts_as_built()
    {
        dock_fixture fx;
        QCOMPARE(fx.dock.windowTitle(), QStringLiteral("KQ_main_controller_dock_widget"));
        QCOMPARE(fx.part<QGroupBox>("groupBox_Verify")->title(), QStringLiteral("Step 1 - Verify"));
        QCOMPARE(fx.part<QPushButton>("visual_trim_display_pushButton")->text(),
                 QStringLiteral("Visual Trim Selected"));
        QVERIFY(fx.part<QLabel>("initialize_selected_display_status_label")->isHidden());
        QVERIFY(fx.part<QLabel>("initialize_selected_display_status_static_label")->isHidden());
        QVERIFY(!fx.dock.is_evaluate_calibration_mode());
    }

    void button_text_follows_the_palette_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<bool>("dark");
        QTest::newRow("dark") << QColor(40, 40, 40) << true;
        QTest::newRow("light") << QColor(240, 240, 240) << false;
    }
    void button_text_follows_the_palette()
    {
        QFETCH(QColor, window);
        QFETCH(bool, dark);
        const QPalette before = QApplication::palette();
        dock_fixture fx;
        QApplication::setPalette(palette_with_window(window));
        QCoreApplication::processEvents();
        const QString sheet = fx.dock.styleSheet();
        QApplication::setPalette(before);
        QCOMPARE(sheet, dark ? QStringLiteral("QPushButton:enabled { color : black; } QPushButton:disabled { color : "
                                              "gray;}")
                             : QString());
    }

    void the_test_pattern_dock_sets_the_box_without_a_job()
    {
        dock_fixture fx;
        fx.gate.release_all();
        fx.dock.updateControlsStatus();
        QVERIFY(fx.part<QCheckBox>("evaluate_calibration_mode_checkBox")->isEnabled());
        fx.dock.set_evaluate_calibration_mode_checkBox(true);
        QVERIFY(fx.dock.is_evaluate_calibration_mode());
        QCoreApplication::processEvents();
        QVERIFY(fx.gate.started().isEmpty());

        // The operator's own click sends the patterns off again.
        fx.part<QCheckBox>("evaluate_calibration_mode_checkBox")->click();
        QCOMPARE(fx.finished.size(), 2);
        for (const job_list_item &job : fx.finished) {
            QCOMPARE(job.task_list, QList<qint32>{JOB_TASK_TEST_PATTERNS});
            QCOMPARE(job.test_pattern_mode, 0);
        }
    }

    void rgb_gains_clear_the_without_sensor_box()
    {
        dock_fixture fx;
        fx.dock.updateControlsStatus();
        auto *box = fx.part<QCheckBox>("calibrate_without_sensor_checkBox");
        QVERIFY(box->isEnabled());
        box->setChecked(true);
        QVERIFY(fx.part<QGroupBox>("groupBox_Initialize")->isHidden());
        QCOMPARE(fx.part<QPushButton>("calibrate_all_display_pushButton")->text(), QStringLiteral("All"));

        fx.preferences().SetCalibrationMethod(1);
        fx.dock.updateControlsStatus();
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isEnabled());
        QVERIFY(!fx.part<QGroupBox>("groupBox_Initialize")->isHidden());
        QVERIFY(!fx.part<QGroupBox>("groupBox_Measure")->isHidden());
        // The re-entered recomputation finished the dock without the switch:
        // no sensor, so Calibrate is off with its sensor line.
        auto *calibrate = fx.part<QPushButton>("calibrate_all_display_pushButton");
        QVERIFY(!calibrate->isEnabled());
        QVERIFY(calibrate->toolTip().contains(QStringLiteral("Color Sensor not connected")));
    }

    void a_recompute_while_verifying_leaves_the_box_alone()
    {
        dock_fixture fx;
        fx.dock.updateControlsStatus();
        auto *box = fx.part<QCheckBox>("calibrate_without_sensor_checkBox");
        box->setChecked(true);
        bool checked_during = false;
        bool enabled_during = false;
        QTimer::singleShot(0, [&] {
            fx.preferences().SetCalibrationMethod(1);
            fx.dock.updateControlsStatus();
            checked_during = box->isChecked();
            enabled_during = box->isEnabled();
            fx.gate.release_all();
        });
        fx.dock.onconfirm_displays();
        QVERIFY(checked_during);
        QVERIFY(enabled_during);
        // Verify's own recomputation comes from the window; the next one
        // clears the box.
        fx.dock.updateControlsStatus();
        QVERIFY(!box->isChecked());
    }
};

QTEST_MAIN(tst_main_controller_dock_widget)
#include "tst_main_controller_dock_widget.moc"
