#include "app/controller/MasterControl.h"
#include "app/services/process_finder.h"
#include "main_window_fixture.h"
#include "sensors/CTargetSensor.h"
#include "simulated_instrument_control.h"
#include "tests/support/modal_box_answerer.h"
#include "tests/support/named_process.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString kColormunki = QStringLiteral("Colormunki.exe");
const QString kProfilerTray = QStringLiteral("i1ProfilerTray.exe");
const QString kSpyder3Utility = QStringLiteral("Spyder3Utility.exe");
const QString kSpyderUtility = QStringLiteral("SpyderUtility.exe");

const QString kColormunkiQuestion = QStringLiteral(
    "<html>The <b>X-Rite Colormunki</b> service is currently running. This service may prevent this application from "
    "being able to use the Colormunki sensor.<br><br>Would you like to close the Colormunki service now?</html>");
const QString kProfilerTrayQuestion = QStringLiteral(
    "<html>The <b>X-Rite i1ProfilerTray</b> application is currently running. This application may prevent Quillon "
    "from being able to use the i1Display Pro or Halvex Pro color sensors.<br><br>Would you like to close the "
    "i1ProfilerTray application now?</html>");
const QString kSpyderQuestion = QStringLiteral(
    "<html>The <b>SpyderUtility</b> application for the Datacolor Spyder is currently running. This can cause system "
    "instability when this application is using the sensor.<br>It is recommended the SpyderUtility be closed while "
    "using this application.<br><br>Would you like to close the SpyderUtility application now?</html>");

} // namespace

// The start-up sensor check against the simulated instruments, with
// processes running under the names of the instrument makers' utilities.
class tst_sensor_check : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void colormunki_service_without_a_sensor_data();
    void colormunki_service_without_a_sensor();
    void profiler_tray_is_asked_about_with_a_sensor_open();
    void no_sensor_asks_until_found_or_cancelled_data();
    void no_sensor_asks_until_found_or_cancelled();
    void spyder_utilities_with_a_spyder_open();
    void continues_after_the_check();

private:
    // Starts a process under |name| and waits until the program can see it.
    std::unique_ptr<named_process> startUtility(const QString &name);
    CTargetSensor &sensors() { return *m_fixture->wall().controller().getTargetSensor(); }

    std::unique_ptr<utility_names_lock> m_namesLock;
    std::unique_ptr<main_window_fixture> m_fixture;
    std::unique_ptr<simulated_instrument_control> m_i1d3;
    std::unique_ptr<simulated_instrument_control> m_spyder;
    std::unique_ptr<simulated_instrument_control> m_probe;
};

void tst_sensor_check::initTestCase()
{
    m_namesLock = std::make_unique<utility_names_lock>();
    QVERIFY(m_namesLock->held());
}

void tst_sensor_check::init()
{
    m_fixture = std::make_unique<main_window_fixture>(headless_controller::simulated_instruments);
    const QString folder = headless_controller::simulated_instrument_folder();
    m_i1d3 = std::make_unique<simulated_instrument_control>(folder + QStringLiteral("/libi1d3sdk.so"));
    m_spyder = std::make_unique<simulated_instrument_control>(folder + QStringLiteral("/libdccmtr.so"));
    m_probe = std::make_unique<simulated_instrument_control>(folder + QStringLiteral("/libpl200srvr.so"));
    QVERIFY(m_i1d3->isLoaded() && m_spyder->isLoaded() && m_probe->isLoaded());
    m_i1d3->reset();
    m_spyder->reset();
    // One instrument attached: the i1Display Pro.
    m_probe->reset();
    QVERIFY(m_probe->configure(QJsonObject{{"device_count", 0}}));
    m_fixture->window();
}

void tst_sensor_check::cleanup()
{
    m_fixture.reset();
    for (auto *control : {&m_i1d3, &m_spyder, &m_probe}) {
        (*control)->reset();
        control->reset();
    }
}

std::unique_ptr<named_process> tst_sensor_check::startUtility(const QString &name)
{
    auto process = std::make_unique<named_process>(name);
    // The test checks that the program can see it before it goes on.
    if (process->started())
        static_cast<void>(QTest::qWaitFor([&] { return find_process_by_image_name(name, false); }, 5000));
    return process;
}

void tst_sensor_check::colormunki_service_without_a_sensor_data()
{
    QTest::addColumn<bool>("close");
    QTest::newRow("closed") << true;
    QTest::newRow("left running") << false;
}

void tst_sensor_check::colormunki_service_without_a_sensor()
{
    QFETCH(bool, close);
    const auto colormunki = startUtility(kColormunki);
    QVERIFY(find_process_by_image_name(kColormunki, false));
    QVERIFY(!sensors().GetSensor());
    QSignalSpy detections(&sensors(), &CTargetSensor::sensorDetectionComplete);

    modal_box_answerer boxes({close ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Cancel});
    m_fixture->window().start_check_calibration_sensor();

    QCOMPARE(boxes.seen().first().text, kColormunkiQuestion);
    QCOMPARE(boxes.seen().first().title, QStringLiteral("Tessaline"));
    QCOMPARE(int(boxes.seen().first().buttons), int(QMessageBox::Yes | QMessageBox::No));
    QCOMPARE(boxes.seen().first().default_button, QMessageBox::Yes);
    if (close) {
        // Ended, then two detections that find the instrument it held.
        QVERIFY(colormunki->ended());
        QCOMPARE(detections.size(), 2);
        QVERIFY(sensors().GetSensor());
        QCOMPARE(boxes.seen().size(), 1);
    } else {
        QVERIFY(colormunki->running());
        QVERIFY(!sensors().GetSensor());
        // Without a sensor the retry question follows; Cancel goes on without one.
        QCOMPARE(boxes.seen().size(), 2);
        QCOMPARE(detections.size(), 0);
    }
    QCOMPARE(boxes.unexpected(), 0);
}

void tst_sensor_check::profiler_tray_is_asked_about_with_a_sensor_open()
{
    QVERIFY(sensors().DetectSensor());
    const auto colormunki = startUtility(kColormunki);
    const auto tray = startUtility(kProfilerTray);
    const auto spyder = startUtility(kSpyderUtility);
    QVERIFY(find_process_by_image_name(kProfilerTray, false));
    QSignalSpy detections(&sensors(), &CTargetSensor::sensorDetectionComplete);

    modal_box_answerer boxes({QMessageBox::Yes});
    m_fixture->window().start_check_calibration_sensor();

    // An open sensor needs no word about the Colormunki service, and an
    // i1Display Pro none about the Spyder utility.
    QCOMPARE(boxes.texts(), QStringList{kProfilerTrayQuestion});
    QCOMPARE(boxes.unexpected(), 0);
    QVERIFY(tray->ended());
    QVERIFY(colormunki->running());
    QVERIFY(spyder->running());
    QCOMPARE(detections.size(), 2);
}

void tst_sensor_check::no_sensor_asks_until_found_or_cancelled_data()
{
    QTest::addColumn<int>("retries");
    QTest::addColumn<bool>("found");
    QTest::newRow("found on the second retry") << 2 << true;
    QTest::newRow("cancelled at once") << 0 << false;
    QTest::newRow("cancelled after two retries") << 2 << false;
}

void tst_sensor_check::no_sensor_asks_until_found_or_cancelled()
{
    QFETCH(int, retries);
    QFETCH(bool, found);
    QVERIFY(m_i1d3->configure(QJsonObject{{"device_count", 0}}));
    QSignalSpy detections(&sensors(), &CTargetSensor::sensorDetectionComplete);

    QList<QMessageBox::StandardButton> answers;
    for (int i = 0; i < retries; ++i)
        answers.append(QMessageBox::Retry);
    if (!found)
        answers.append(QMessageBox::Cancel);
    modal_box_answerer boxes(answers);
    boxes.set_before_answer([&](int index) {
        // The operator plugs the instrument in before the last retry.
        if (found && index == retries - 1)
            m_i1d3->configure(QJsonObject{{"device_count", 1}});
    });
    m_fixture->window().start_check_calibration_sensor();

    QCOMPARE(sensors().GetSensorType(), found ? 3 : 0);
    QCOMPARE(boxes.seen().size(), answers.size());
    QCOMPARE(boxes.unexpected(), 0);
    for (const modal_box_answerer::seen_box &box : boxes.seen()) {
        QVERIFY(box.text.startsWith(QStringLiteral("No color sensor was detected.")));
        QCOMPARE(int(box.buttons), int(QMessageBox::Retry | QMessageBox::Cancel));
        QCOMPARE(box.default_button, QMessageBox::Retry);
    }
    QCOMPARE(detections.size(), retries);
    QCOMPARE(sensors().GetSensor() != nullptr, found);
}

void tst_sensor_check::spyder_utilities_with_a_spyder_open()
{
    QVERIFY(m_i1d3->configure(QJsonObject{{"device_count", 0}}));
    QVERIFY(m_spyder->configure(QJsonObject{{"device_count", 1}}));
    QCOMPARE(sensors().SetSensorType(5), 0);
    const auto spyder3 = startUtility(kSpyder3Utility);
    const auto spyder = startUtility(kSpyderUtility);
    QVERIFY(find_process_by_image_name(kSpyder3Utility, false));
    QVERIFY(find_process_by_image_name(kSpyderUtility, false));
    QSignalSpy detections(&sensors(), &CTargetSensor::sensorDetectionComplete);

    modal_box_answerer boxes({QMessageBox::Yes, QMessageBox::No});
    m_fixture->window().start_check_calibration_sensor();

    QCOMPARE(boxes.texts(), QStringList({kSpyderQuestion, kSpyderQuestion}));
    QCOMPARE(boxes.unexpected(), 0);
    QVERIFY(spyder3->ended());
    QVERIFY(spyder->running());
    QCOMPARE(detections.size(), 0);
    QCOMPARE(sensors().GetSensorType(), 5);
}

void tst_sensor_check::continues_after_the_check()
{
    QVERIFY(sensors().DetectSensor());
    Tessaline &window = m_fixture->window();
    QSignalSpy controls(&window, &Tessaline::out_updateControlsStatus);
    modal_box_answerer boxes;
    // The controller's signal starts the check.
    emit m_fixture->wall().controller().start_check_calibration_sensor();
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(controls.size(), 1);
    // The continuation follows on the wait service's scale (0 here): with a
    // clean previous run it offers the introduction, which asks nothing yet.
    QTest::qWait(20);
    QVERIFY(boxes.seen().isEmpty());
}

QTEST_MAIN(tst_sensor_check)
#include "tst_sensor_check.moc"
