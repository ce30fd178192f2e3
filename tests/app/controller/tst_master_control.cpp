#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/controller/startup_views.h"
#include "app/services/preferences.h"
#include "app/services/shell_registry.h"
#include "app/services/version_text.h"
#include "colour/CMonitorTracker.h"
#include "display_protocol/basic_monitor.h"
#include "sensors/CTargetSensor.h"
#include "tests/support/headless_controller.h"

#include <QFile>
#include <QSignalSpy>
#include <QTextToSpeech>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <sys/inotify.h>
#include <unistd.h>

// Stands in for the jobs library's pool, which this test does not link.
class QueryThreadPool : public QObject
{
public:
    explicit QueryThreadPool(std::function<void()> onDestroyed) : m_onDestroyed(std::move(onDestroyed)) {}
    ~QueryThreadPool() override { m_onDestroyed(); }

private:
    std::function<void()> m_onDestroyed;
};

namespace {

struct fake_splash : splash_view
{
    QStringList *log;
    explicit fake_splash(QStringList *events) : log(events) {}
    ~fake_splash() override { *log << QStringLiteral("splash removed"); }
    void show_message(const QString &html) override { *log << QStringLiteral("splash: ") + html; }
};

struct fake_main_window : main_window_view
{
    QStringList *log;
    std::function<void()> onDestroyed;
    explicit fake_main_window(QStringList *events) : log(events) {}
    ~fake_main_window() override
    {
        if (onDestroyed)
            onDestroyed();
    }
    void show_main_window() override { *log << QStringLiteral("window shown"); }
    QString project_file_path() const override { return QStringLiteral("/walls/lobby.tslw"); }
};

// Registered for the shell services while it lives, as the program's output is.
struct logging_voice_output : recording_voice_output, speech_output_registration
{
    std::function<void()> onDestroyed;
    ~logging_voice_output() override { onDestroyed(); }
};

// Records the completion signals in the event log.
void log_signals(MasterControl &controller, QStringList &log)
{
    QObject::connect(&controller, &MasterControl::startup_complete, [&log] { log << QStringLiteral("startup_complete"); });
    QObject::connect(&controller, &MasterControl::start_check_calibration_sensor,
                     [&log] { log << QStringLiteral("start_check_calibration_sensor"); });
}

CTargetValue target_named(const QString &name, double gamma, double luminance)
{
    CTargetValue target;
    target.SetName(name);
    target.SetGamma(gamma);
    target.SetSpecifiedLuminance(luminance);
    target.SetWhitePoint(CColorTemperature(quint16(gamma * 1000)));
    return target;
}

// Counts the times a file named |name| appears in a folder: the preferences
// file is written aside and then linked or renamed into place.
class write_counter
{
public:
    write_counter(const QString &folder, const QString &name) : m_name(name)
    {
        m_fd = inotify_init1(IN_NONBLOCK);
        if (m_fd >= 0)
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO);
    }
    ~write_counter() { ::close(m_fd); }
    bool isValid() const { return m_fd >= 0; }

    int count()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
            if (length <= 0)
                return m_count;
            for (ssize_t offset = 0; offset < length;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
                if (event->len > 0 && QString::fromLocal8Bit(event->name) == m_name)
                    ++m_count;
                offset += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    QString m_name;
    int m_fd = -1;
    int m_count = 0;
};

} // namespace

class tst_master_control : public QObject
{
    Q_OBJECT

private slots:
    void builds_the_global_state()
    {
        headless_controller wall;
        MasterControl &controller = wall.controller();
        QCOMPARE(g_master, &controller);
        QVERIFY(controller.getLayoutManager());
        QCOMPARE(controller.getLayoutManager()->parent(), &controller);
        QVERIFY(controller.getMonitor());
        QCOMPARE(g_monitor, controller.getMonitor());
        QVERIFY(controller.getTargetSensor());
        QCOMPARE(g_target_sensor, controller.getTargetSensor());
        QVERIFY(!g_information_dialog);
        QVERIFY(controller.getMonitorTracker());
        QCOMPARE(shell_registry::preferences(), controller.getPreferences());
        QVERIFY(!controller.getQueryThreadPool());
        QVERIFY(!controller.getTextToSpeech());
        QVERIFY(controller.getModelList().isEmpty());
        QVERIFY(controller.getProjectFilePath().isEmpty());
        QVERIFY(!controller.isTextToSpeechAvailable());
        QVERIFY(!controller.hasEnglishSpeechLocale());

        wall.shut_down();
        QVERIFY(!g_master);
        QVERIFY(!g_monitor);
        QVERIFY(!g_target_sensor);
        QVERIFY(!shell_registry::preferences());
        QVERIFY(shell_registry::model_list().isEmpty());
    }

    void model_list_from_the_models_table()
    {
        headless_controller wall;
        QCOMPARE(wall.controller().loadModelList(QStringLiteral(":/files/Resources/models.txt")), 0);
        QVERIFY(!wall.controller().getModelList().isEmpty());
        QCOMPARE(shell_registry::model_list(), wall.controller().getModelList());
        QCOMPARE(wall.controller().loadModelList(QStringLiteral("/nonexistent/models.txt")), -1);
    }

    void operation_ids_count_up()
    {
        headless_controller wall;
        QCOMPARE(wall.controller().nextOperationId(), 1);
        int previous = 1;
        for (int i = 0; i < 100; ++i) {
            const int id = wall.controller().nextOperationId();
            QVERIFY(id > previous);
            previous = id;
        }
    }

    void completion_in_either_order_data()
    {
        QTest::addColumn<bool>("detectionFirst");
        QTest::newRow("detection before the timer") << true;
        QTest::newRow("timer before the detection") << false;
    }

    // Completion waits for the second event and happens once, however often
    // either event arrives.
    void completion_in_either_order()
    {
        QFETCH(bool, detectionFirst);
        QStringList log; // outlives the controller, whose views write to it
        headless_controller wall;
        MasterControl &controller = wall.controller();
        controller.setSplash(std::make_unique<fake_splash>(&log));
        controller.setMainWindow(std::make_unique<fake_main_window>(&log));
        log_signals(controller, log);
        log.clear();

        if (detectionFirst)
            controller.sensorDetectionCompleteIn();
        else
            controller.splash_timer_timeout();
        QVERIFY(log.isEmpty());
        QVERIFY(!controller.isStartupCompleted());
        if (detectionFirst)
            controller.splash_timer_timeout();
        else
            controller.sensorDetectionCompleteIn();
        const QStringList completed = {QStringLiteral("splash removed"), QStringLiteral("startup_complete"),
                                       QStringLiteral("window shown"),
                                       QStringLiteral("start_check_calibration_sensor")};
        QCOMPARE(log, completed);
        QVERIFY(controller.isStartupCompleted());

        controller.splash_timer_timeout();
        controller.sensorDetectionCompleteIn();
        QCOMPARE(log, completed);
        QCOMPARE(controller.getProjectFilePath(), QStringLiteral("/walls/lobby.tslw"));
    }

    void splash_message_follows_the_detection_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("state");
        QTest::newRow("detecting") << QString() << QStringLiteral("<br>Detecting color sensor...");
        QTest::newRow("none found") << QStringLiteral("-")
                                    << QStringLiteral("<br><img src=\":/images/Resources/alerts_yellow_icon_12.png\">"
                                                      "&nbsp;No color sensor detected");
        QTest::newRow("found") << QStringLiteral("i1Display Pro") << QStringLiteral("<br>Detected i1Display Pro");
    }

    void splash_message_follows_the_detection()
    {
        QFETCH(QString, reported);
        QFETCH(QString, state);
        QStringList log; // outlives the controller, whose views write to it
        headless_controller wall;
        wall.controller().setSplash(std::make_unique<fake_splash>(&log));
        if (!reported.isNull())
            wall.controller().detectedSensorIn(reported);
        const QString expected = QStringLiteral("<img src=\":/images/Resources/splashkq.png\">"
                                                "<span style=\"font-size:12px;\"><br><font COLOR=black>")
                                 + version_text() + state;
        QCOMPARE(wall.controller().splashMessage(), expected);
        QCOMPARE(log.last(), QStringLiteral("splash: ") + expected);
        QCOMPARE(wall.controller().sensorName(), reported.isNull() ? QString() : reported);
    }

    void detection_data()
    {
        QTest::addColumn<bool>("simulated");
        QTest::newRow("simulated instrument") << true;
        QTest::newRow("no instrument") << false;
    }

    // A real detection on the detection thread and a real splash timer: the
    // window is shown once both have ended.
    void detection()
    {
        QFETCH(bool, simulated);
        QStringList log; // outlives the controller, whose views write to it
        headless_controller wall(simulated ? headless_controller::simulated_instruments
                                           : headless_controller::no_instruments);
        MasterControl &controller = wall.controller();
        controller.setMainWindow(std::make_unique<fake_main_window>(&log));
        QSignalSpy complete(&controller, &MasterControl::start_check_calibration_sensor);
        controller.startSensorDetection();
        controller.armSplashTimer();
        QVERIFY(complete.wait(20000));
        QCOMPARE(log, QStringList{QStringLiteral("window shown")});
        if (simulated) {
            QVERIFY(!controller.sensorName().isEmpty());
            QVERIFY(controller.sensorName() != QLatin1String("-"));
            QVERIFY(controller.getTargetSensor()->GetSensor());
        } else {
            QCOMPARE(controller.sensorName(), QStringLiteral("-"));
            QVERIFY(!controller.getTargetSensor()->GetSensor());
        }
        QTest::qWait(50);
        QCOMPARE(complete.count(), 1);
    }

    void shutdown_during_a_detection_waits_for_it()
    {
        headless_controller wall(headless_controller::simulated_instruments);
        QSignalSpy detected(&wall.controller(), &MasterControl::start_check_calibration_sensor);
        wall.controller().startSensorDetection();
        wall.shut_down();
        QVERIFY(!g_target_sensor);
        QCoreApplication::processEvents(); // nothing queued may reach the gone controller
        QCOMPARE(detected.count(), 0);
    }

    void shutdown_order()
    {
        QStringList log; // outlives the controller, whose views write to it
        headless_controller wall;
        MasterControl &controller = wall.controller();
        const QString preferencesFile = CPreferences::FilePath();
        QVERIFY(QDir().mkpath(QFileInfo(preferencesFile).absolutePath()));
        write_counter writes(QFileInfo(preferencesFile).absolutePath(), QStringLiteral("preferences.dat"));
        QVERIFY(writes.isValid());
        auto note = [&](const QString &what) {
            log << QStringLiteral("%1 (sensor %2, monitor %3, preferences file %4)")
                       .arg(what, g_target_sensor ? "alive" : "gone", g_monitor ? "alive" : "gone",
                            QFile::exists(preferencesFile) ? "written" : "not written");
        };
        auto window = std::make_unique<fake_main_window>(&log);
        window->onDestroyed = [&] { note(QStringLiteral("main window")); };
        controller.setMainWindow(std::move(window));
        auto output = std::make_unique<logging_voice_output>();
        const voice_output *controllerOutput = output.get();
        output->onDestroyed = [&] { note(QStringLiteral("voice output")); };
        QTextToSpeech *engine = new QTextToSpeech(QStringLiteral("no-such-engine"));
        connect(engine, &QObject::destroyed, [&] { note(QStringLiteral("speech engine")); });
        controller.setTextToSpeech(engine, std::move(output));
        QCOMPARE(controller.getTextToSpeech(), engine);
        QCOMPARE(shell_registry::registered_voice_output(), controllerOutput);
        controller.setQueryThreadPool(new QueryThreadPool([&] {
            note(QStringLiteral("job pool"));
            log << QStringLiteral("voice output withdrawn: %1")
                       .arg(shell_registry::registered_voice_output() == controllerOutput ? "no" : "yes");
        }));
        QVERIFY(controller.getQueryThreadPool());
        controller.getPreferences()->SetCalibrationSteps(16);
        controller.startSensorDetection();
        QVERIFY(QTest::qWaitFor([&] { return !controller.sensorName().isEmpty(); }, 20000));
        QCOMPARE(writes.count(), 0);

        wall.shut_down();
        QCOMPARE(log, (QStringList{
                          QStringLiteral("main window (sensor gone, monitor gone, preferences file not written)"),
                          QStringLiteral("voice output (sensor gone, monitor gone, preferences file not written)"),
                          QStringLiteral("speech engine (sensor gone, monitor gone, preferences file not written)"),
                          QStringLiteral("job pool (sensor gone, monitor gone, preferences file not written)"),
                          QStringLiteral("voice output withdrawn: yes"),
                      }));
        QCOMPARE(writes.count(), 1);
        CPreferences reread;
        QCOMPARE(reread.GetCalibrationSteps(), quint8(16));
    }

    // A job thread copies the target while the user interface replaces it:
    // every copy is one of the whole targets.
    void target_copies_are_whole()
    {
        headless_controller wall;
        MasterControl &controller = wall.controller();
        const CTargetValue a = target_named(QStringLiteral("A"), 2.2, 120.0);
        const CTargetValue b = target_named(QStringLiteral("B with a longer name"), 2.4, 350.0);
        controller.setTarget(a);
        std::atomic<bool> stop{false};
        std::atomic<int> torn{0};
        std::atomic<int> copies{0};
        QThread *reader = QThread::create([&] {
            while (!stop) {
                const CTargetValue copy = controller.getTarget();
                const bool isA = !(copy != a) && copy.GetName() == a.GetName();
                const bool isB = !(copy != b) && copy.GetName() == b.GetName();
                if (!isA && !isB)
                    ++torn;
                ++copies;
            }
        });
        reader->start();
        int changes = 0;
        connect(&controller, &MasterControl::targetChanged, [&] {
            // Emitted after the lock is released: reading here must not block.
            controller.getTarget();
            ++changes;
        });
        for (int i = 0; i < 20000 || copies < 1000; ++i)
            controller.setTarget(i % 2 ? a : b);
        stop = true;
        reader->wait();
        delete reader;
        QCOMPARE(torn.load(), 0);
        QVERIFY(changes >= 20000);
    }
};

QTEST_GUILESS_MAIN(tst_master_control)
#include "tst_master_control.moc"
