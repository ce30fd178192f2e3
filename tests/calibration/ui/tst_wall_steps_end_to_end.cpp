// The Actions dock's steps end to end: the real pool and display workers,
// the progress dialog, a simulated 2x2 wall and the simulated i1Display Pro;
// message boxes are answered by timers, waits run on the wait service's
// time scale (0).
#include "app/controller/MasterControl.h"
#include "app/controller/calibration_record_reset.h"
#include "app/controller/layout_manager.h"
#include "app/controller/startup_views.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "calibration/calibration_task.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CColorTemperature.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "simulator/loopback_block.h"
#include "tests/jobs/wall_task_fixture.h"
#include "tests/support/modal_box_answerer.h"
#include "views/wall/KQ_central_display_widget.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <map>

namespace {

constexpr int kDisplays = 4;
constexpr int kGreySteps = 8;
constexpr double kLuminance = 200.0;
constexpr int kPatternControls[] = {0x2C3, 0x2C8};

class project_window : public main_window_view
{
public:
    void show_main_window() override {}
    QString project_file_path() const override { return QStringLiteral("/nonexistent/wall.kqp"); }
};

// What the pool finished, by task and display.
class finished_jobs : public QObject
{
public:
    explicit finished_jobs(QueryThreadPool &pool)
    {
        connect(&pool, &QueryThreadPool::send_job_results, this, [this](const job_list_item &job) {
            m_jobs << job;
        });
    }
    // How many jobs with |task| each display ran.
    std::map<int, int> per_display(qint32 task) const
    {
        std::map<int, int> counts;
        for (const job_list_item &job : m_jobs)
            if (job.has_task(task))
                ++counts[job.position];
        return counts;
    }
    QList<int> errors() const
    {
        QList<int> codes;
        for (const job_list_item &job : m_jobs)
            if (job.effective_result() != 0)
                codes << job.effective_result();
        return codes;
    }
    QString error_text() const
    {
        QStringList lines;
        for (const job_list_item &job : m_jobs)
            if (job.effective_result() != 0)
                lines << QStringLiteral("display %1 tasks %2: %3 %4")
                             .arg(job.position)
                             .arg(job.task_list.value(0))
                             .arg(job.effective_result())
                             .arg(job.job_parameters.error_text);
        return lines.join(QStringLiteral("; "));
    }
    void clear() { m_jobs.clear(); }

private:
    QList<job_list_item> m_jobs;
};

// Records the operation texts of the progress dialogs that run, and cancels
// the next one when asked.
class dialog_watch : public QObject
{
public:
    dialog_watch()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { look(); });
        m_poll.start(2);
    }
    void cancel_next() { m_cancel = true; }
    int seen() const { return m_seen; }
    QStringList titles() const { return m_titles; }

private:
    void look()
    {
        auto *dialog = qobject_cast<KQ_multithreaded_operation_progress_dialog *>(QApplication::activeModalWidget());
        // Cancel cancels the jobs first; once they have ended it closes.
        if (dialog && dialog == m_cancelling) {
            dialog->reject();
            return;
        }
        // A failed job keeps the dialog open for the operator: close it so
        // that the test reports the job's error instead of hanging.
        if (dialog && dialog == m_last && m_open.elapsed() > kPatienceMs) {
            dialog->reject();
            return;
        }
        if (!dialog || dialog == m_last)
            return;
        m_last = dialog;
        m_open.start();
        ++m_seen;
        if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("instruction_label")))
            m_titles << label->text();
        if (m_cancel) {
            m_cancel = false;
            m_cancelling = dialog;
            dialog->reject();
        }
    }

    QTimer m_poll;
    QPointer<KQ_multithreaded_operation_progress_dialog> m_last;
    QPointer<KQ_multithreaded_operation_progress_dialog> m_cancelling;
    QElapsedTimer m_open;
    static constexpr int kPatienceMs = 30000;
    int m_seen = 0;
    bool m_cancel = false;
    QStringList m_titles;
};

// Clicks a button by its text on the next message box that has it.
void click_on_next_box(const QString &text)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == text) {
                timer->stop();
                timer->deleteLater();
                button->click();
                return;
            }
        }
    });
    timer->start(2);
}

// The 2x2 wall of |model| as the program knows it, each display on its own
// loopback address with monitor ID 1, and the dock over it.
struct steps_wall
{
    explicit steps_wall(const QByteArray &model)
    {
        if (!f.ready())
            return;
        for (int i = 0; i < kDisplays; ++i) {
            handles << f.add_display(model);
            f.wall().with_display(handles.last(), [i](sim_display &d) {
                d.serial_number = QByteArray("WALL-") + QByteArray::number(i);
            });
        }
        if (handles.contains(-1))
            return;
        controller().create_wall(2, 2, loopback_block::address(1));
        for (int i = 0; i < kDisplays; ++i) {
            display_layout_item item;
            layout().get_item(i, item);
            item.monitor_id = 1;
            layout().set_item(i, item, true);
        }
        CPreferences &prefs = preferences();
        prefs.SetCalibrationSteps(kGreySteps);
        prefs.SetCalibrationMethod(0);
        prefs.SuppressMessage(1); // the placement hint
        CTargetValue target;
        target.SetWhitePoint(CColorTemperature(CIExy{0.3127, 0.3290}));
        target.SetIntensityMode(CTargetValue::kIntensitySpecified);
        target.SetSpecifiedLuminance(kLuminance);
        target.SetGammaType(CTargetValue::kGammaPower);
        target.SetGamma(2.2);
        controller().controller().setTarget(target);
        controller().controller().setMainWindow(std::make_unique<project_window>());
        jobs = std::make_unique<finished_jobs>(f.pool());
        dock = std::make_unique<KQ_main_controller_dock_widget>();
        ok = true;
    }
    ~steps_wall()
    {
        dock.reset();
        jobs.reset();
    }

    headless_controller &controller() { return f.controller(); }
    layout_manager &layout() { return f.controller().layout(); }
    CPreferences &preferences() { return *f.controller().controller().getPreferences(); }

    bool attach_following_sensor()
    {
        // The instrument follows the display that last showed a patch: the
        // sensor jobs run one at a time.
        return f.attach_sensor() && f.instrument().configure({{QStringLiteral("display"), QString()}});
    }

    monitor_tracker_item record(int index)
    {
        display_layout_item item;
        layout().get_item(index, item);
        monitor_tracker_item record(item.model_name, item.serial_number);
        record_found = f.controller().records().GetAdjustValue(record) >= 0;
        return record;
    }
    void store(int index, const CAdjustValue &value)
    {
        display_layout_item item;
        layout().get_item(index, item);
        monitor_tracker_item record(item.model_name, item.serial_number);
        static_cast<CAdjustValue &>(record) = value;
        f.controller().records().SetAdjustValue(record);
    }

    template <typename T> T *part(const char *name) { return dock->findChild<T *>(QLatin1String(name)); }

    QList<int> pattern_writes(int handle)
    {
        QList<int> values;
        for (int code : kPatternControls)
            values << f.writes(handle, code);
        return values;
    }

    wall_task_fixture f;
    QList<int> handles;
    std::unique_ptr<finished_jobs> jobs;
    std::unique_ptr<KQ_main_controller_dock_widget> dock;
    bool ok = false;
    bool record_found = false;
};

bool verify(steps_wall &w)
{
    w.dock->updateControlsStatus();
    w.dock->onconfirm_displays();
    return w.layout().get_connected_display_indexes(false, true).size() == kDisplays;
}

CAdjustValue table_calibrated()
{
    CAdjustValue record;
    record.SetCalibrationDateTime(QDateTime(QDate(2024, 2, 1), QTime(9, 0), Qt::UTC));
    record.SetCalibrationMode(CAdjustValue::kModeLookupTable);
    record.calibrated = true;
    record.visual_trim_flags = CAdjustValue::kTrimGains | CAdjustValue::kTrimCorners;
    record.measurements.corrected.white = CCIEXYZ(190, 200, 210);
    return record;
}

} // namespace

class tst_wall_steps_end_to_end : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        install_calibration_task();
        wait_service::set_io_timeout_floor_ms(2000);
    }

    void verify_all_then_tiles_and_steps()
    {
        steps_wall w("VW-5530Q");
        QVERIFY2(w.ok, qPrintable(w.f.error()));
        KQ_central_display_widget view(nullptr, &w.layout());
        QVERIFY(w.attach_following_sensor());
        dialog_watch dialogs;
        QVERIFY(verify(w));
        QCOMPARE(dialogs.seen(), 1);
        QVERIFY(dialogs.titles().first().contains(QStringLiteral("Verifying displays")));
        // The wall view takes the last changes in within a frame.
        for (KQ_display_layout_widget *tile : view.tiles())
            QTRY_COMPARE(tile->view().status_text_id, 309); // "Verified"
        w.dock->updateControlsStatus();
        QCOMPARE(w.part<QLabel>("verify_selected_displays_status_label")->text(), QStringLiteral("Complete"));
        QCOMPARE(w.part<QLabel>("measure_all_display_status_label")->text(), QStringLiteral("0 of 4 completed"));
        QVERIFY(w.part<QPushButton>("initialize_displays_pushButton")->isEnabled());
        QVERIFY(w.part<QPushButton>("measure_all_display_pushButton")->isEnabled());
        QVERIFY(w.part<QPushButton>("calibrate_all_display_pushButton")->isEnabled());
        QVERIFY(!w.part<QPushButton>("visual_trim_display_pushButton")->isEnabled());
    }

    void calibrate_all_then_the_remaining_display()
    {
        steps_wall w("VW-5530Q");
        QVERIFY2(w.ok, qPrintable(w.f.error()));
        QVERIFY(w.attach_following_sensor());
        QVERIFY(verify(w));
        w.jobs->clear();
        dialog_watch dialogs;
        {
            modal_box_answerer boxes({QMessageBox::Yes}); // the target confirmation
            w.dock->oncalibrate_all_displays();
            QCOMPARE(boxes.texts(), QStringList{string_resource(725)});
        }
        QVERIFY2(w.jobs->errors().isEmpty(), qPrintable(w.jobs->error_text()));
        const std::map<int, int> once{{0, 1}, {1, 1}, {2, 1}, {3, 1}};
        QCOMPARE(w.jobs->per_display(JOB_TASK_CALIBRATE), once);
        for (int i = 0; i < kDisplays; ++i) {
            QVERIFY(!w.record(i).GetCalibrationDateTime().isNull());
            const int activations =
                w.f.wall().with_display(w.handles[i], [](sim_display &d) { return d.lut_activations; });
            QVERIFY2(activations >= 1, "the calibrated table is on the display");
        }
        w.dock->updateControlsStatus();
        QCOMPARE(w.part<QLabel>("calibrate_display_status_label")->text(), QStringLiteral("Complete"));
        QCOMPARE(w.part<QPushButton>("calibrate_all_display_pushButton")->text(), QStringLiteral("All"));
        QVERIFY(w.part<QPushButton>("visual_trim_display_pushButton")->isEnabled());

        // One record forgotten: Remaining calibrates that display alone.
        reset_calibration_records(w.layout(), w.f.controller().records(), {2}, kRecordReset);
        w.dock->updateControlsStatus();
        QCOMPARE(w.part<QPushButton>("calibrate_all_display_pushButton")->text(), QStringLiteral("All / Remaining"));
        w.jobs->clear();
        click_on_next_box(QStringLiteral("Remaining"));
        w.dock->oncalibrate_all_displays();
        const std::map<int, int> remaining{{2, 1}};
        QCOMPARE(w.jobs->per_display(JOB_TASK_CALIBRATE), remaining);
        QVERIFY(!w.record(2).GetCalibrationDateTime().isNull());
    }

    void initialize_resets_records_after_a_cancelled_run()
    {
        steps_wall w("VW-5530Q");
        QVERIFY2(w.ok, qPrintable(w.f.error()));
        QVERIFY(verify(w));
        for (int i = 0; i < kDisplays; ++i)
            w.store(i, table_calibrated());
        dialog_watch dialogs;
        dialogs.cancel_next();
        QSignalSpy status(w.dock.get(), &KQ_main_controller_dock_widget::out_updateControlsStatus);
        modal_box_answerer boxes({QMessageBox::Yes});
        w.dock->oninitialize_displays();
        QCOMPARE(boxes.texts(), QStringList{string_resource(708)});
        QCOMPARE(dialogs.seen(), 1);
        QCOMPARE(status.count(), 1);
        for (int i = 0; i < kDisplays; ++i) {
            const monitor_tracker_item record = w.record(i);
            QVERIFY(w.record_found);
            QVERIFY(record.GetCalibrationDateTime().isNull());
            QCOMPARE(int(record.visual_trim_flags), int(CAdjustValue::kTrimCorners));
        }
    }

    void without_sensor_sets_the_matching_luminance()
    {
        steps_wall w("VW-5540QE");
        QVERIFY2(w.ok, qPrintable(w.f.error()));
        w.preferences().SetUseQuillonEngine(true);
        CTargetValue target = w.controller().controller().getTarget();
        target.SetIntensityMode(CTargetValue::kIntensityMaximumMatching);
        target.SetMaxMatchingLuminance(kLuminance);
        w.controller().controller().setTarget(target);
        QVERIFY(verify(w));
        w.dock->updateControlsStatus();
        auto *box = w.part<QCheckBox>("calibrate_without_sensor_checkBox");
        QVERIFY(box->isEnabled());
        box->setChecked(true);
        QVERIFY(w.part<QPushButton>("calibrate_all_display_pushButton")->isEnabled());
        QVERIFY(!w.part<QPushButton>("calibrate_display_pushButton")->isEnabled());

        dialog_watch dialogs;
        QSignalSpy target_info(w.dock.get(), &KQ_main_controller_dock_widget::out_updateTargetInfo);
        w.jobs->clear();
        {
            modal_box_answerer boxes({QMessageBox::Yes});
            w.dock->oncalibrate_all_displays();
        }
        QVERIFY2(w.jobs->errors().isEmpty(), qPrintable(w.jobs->error_text()));
        QCOMPARE(dialogs.seen(), 2);
        QVERIFY(dialogs.titles().at(0).contains(QStringLiteral("Adjusting KQE settings")));
        QVERIFY(dialogs.titles().at(1).contains(QStringLiteral("Setting Maximum Matching Luminance")));
        const std::map<int, int> twice{{0, 2}, {1, 2}, {2, 2}, {3, 2}};
        QCOMPARE(w.jobs->per_display(JOB_TASK_INITIALIZE_DISPLAY_ENGINE), twice);
        QCOMPARE(target_info.count(), 1);

        int lowest = 99999;
        for (int i = 0; i < kDisplays; ++i)
            lowest = std::min(lowest, int(w.record(i).measurements.corrected.white.Y));
        const CTargetValue after = w.controller().controller().getTarget();
        QCOMPARE(after.GetIntensityMode(), int(CTargetValue::kIntensityMaximumMatching));
        QCOMPARE(after.GetMaxMatchingLuminance(), double(lowest));
        QVERIFY(lowest > 20);
    }

    void measure_signals_in_order()
    {
        steps_wall w("VW-5530Q");
        QVERIFY2(w.ok, qPrintable(w.f.error()));
        QVERIFY(w.attach_following_sensor());
        QVERIFY(verify(w));
        QStringList order;
        connect(w.dock.get(), &KQ_main_controller_dock_widget::CalculateNewTargetWhitePoint, this,
                [&order](bool value) { order << (value ? QStringLiteral("white point") : QStringLiteral("false")); });
        connect(w.dock.get(), &KQ_main_controller_dock_widget::out_updateControlsStatus, this,
                [&order] { order << QStringLiteral("status"); });
        w.dock->onmeasure_all_displays();
        QCOMPARE(order, QStringList({QStringLiteral("white point"), QStringLiteral("status")}));
        QVERIFY2(w.jobs->errors().isEmpty(), qPrintable(w.jobs->error_text()));
        for (int i = 0; i < kDisplays; ++i)
            QVERIFY(!w.record(i).measurements.measurement_date_time.isNull());
    }

    void evaluate_calibration_on_and_off()
    {
        steps_wall w("VW-5530Q");
        QVERIFY2(w.ok, qPrintable(w.f.error()));
        QVERIFY(verify(w));
        for (int i : {0, 3})
            w.store(i, table_calibrated());
        w.dock->updateControlsStatus();
        auto *box = w.part<QCheckBox>("evaluate_calibration_mode_checkBox");
        QVERIFY(box->isEnabled());
        w.f.wall().clear_log();
        box->click();
        QVERIFY(w.dock->is_evaluate_calibration_mode());
        QCOMPARE(w.pattern_writes(w.handles[0]).value(0, -1), 2);
        QCOMPARE(w.pattern_writes(w.handles[3]).value(0, -1), 2);
        QVERIFY(w.pattern_writes(w.handles[1]).isEmpty());
        w.f.wall().clear_log();
        box->click();
        QCOMPARE(w.pattern_writes(w.handles[0]), QList<int>{1});
        QCOMPARE(w.pattern_writes(w.handles[3]), QList<int>{1});
        QVERIFY(w.pattern_writes(w.handles[2]).isEmpty());
    }
};

QTEST_MAIN(tst_wall_steps_end_to_end)
#include "tst_wall_steps_end_to_end.moc"
