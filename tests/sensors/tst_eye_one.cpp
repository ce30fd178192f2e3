#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"

#include "resources/tessaline_resources.h"
#include "sensors/CEyeOneSensor.h"
#include "sensors/CTargetSensor.h"
#include "sensors/sensor_status.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.2/1");

// Readings pass through floats: compare to their precision.
bool near_float(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

const QStringList kOpenCalls = {
    QStringLiteral("I1_GetDevices"), QStringLiteral("I1_OpenDevice"), QStringLiteral("I1_GetOption"),
    QStringLiteral("I1_GetOption"),  QStringLiteral("I1_SetOption"),  QStringLiteral("I1_SetOption"),
    QStringLiteral("I1_SetOption"),  QStringLiteral("I1_SetOption"),
};

const QStringList kErrorLog = {QStringLiteral("LastErrorText"), QStringLiteral("LastErrorNumber"),
                               QStringLiteral("SDKVersion"), QStringLiteral("HWRevision")};

} // namespace

class tst_eye_one : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_eye_one() : simulated_family_fixture(kDisplay) {}

private:
    // The options the driver read from the library's own (global) options.
    QStringList globalReads() const { return first_texts(m_control->callsNamed(QStringLiteral("I1_GetGlobalOption"))); }

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily("libi1pro.so"));
    }

    void init()
    {
        wait_service::set_time_scale(0.0);
        QVERIFY(resetFamily(0.001, one_device()));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void opens_and_closes_the_instrument()
    {
        {
            CEyeOneSensor sensor;
            QVERIFY(sensor.IsOpen());
            QCOMPARE(m_control->callNames(), kOpenCalls);
            const QJsonArray calls = m_control->calls();
            QCOMPARE(args_of(calls[2]), (QJsonArray{QStringLiteral("AvailableMeasurementModes")}));
            QCOMPARE(args_of(calls[3]), (QJsonArray{QStringLiteral("HWRevision")}));
            QCOMPARE(args_of(calls[4]), (QJsonArray{QStringLiteral("MeasurementMode"), QStringLiteral("EmissionSpot")}));
            QCOMPARE(args_of(calls[5]), (QJsonArray{QStringLiteral("ColorSpaceDescription.Type"), QStringLiteral("CIEXYZ")}));
            QCOMPARE(args_of(calls[6]), (QJsonArray{QStringLiteral("Colorimetric.Observer"), QStringLiteral("TwoDegree")}));
            QCOMPARE(args_of(calls[7]), (QJsonArray{QStringLiteral("AdaptiveMeasurement"), QStringLiteral("1")}));
            QCOMPARE(sensor.GetMeasurementMode(), 1);
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("1012345"));
            m_control->clearCalls();
        }
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("I1_CloseDevice")});
    }

    void fixed_capabilities()
    {
        CEyeOneSensor sensor;
        QVERIFY(!sensor.HasMeasurementSelector());
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), 0);
        QVERIFY(sensor.RequiresCalibration());
        QVERIFY(!sensor.SupportsDisplayTypes());
        QVERIFY(!sensor.HasLedControl());
        QCOMPARE(sensor.SetLed(true), -1);
        QCOMPARE(sensor.AfterOpen(), 0);
        quint16 vendor = 0, product = 0;
        QVERIFY(sensor.GetUsbIds(vendor, product));
        QCOMPARE(vendor, quint16(0x0971));
        QCOMPARE(product, quint16(0x2000));
        // The display type is only kept.
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(0, 3), 0);
        QCOMPARE(sensor.GetDisplayFlag(), 0);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void identity_data()
    {
        QTest::addColumn<QString>("revision");
        QTest::addColumn<QString>("modes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ambient");
        const QString all = QStringLiteral("ReflectanceSpot;EmissionSpot;AmbientLightSpot");
        QTest::newRow("revision E: i1Pro2") << QStringLiteral("E") << all << QStringLiteral("X-Rite i1Pro2") << true;
        QTest::newRow("revision F: i1Pro2") << QStringLiteral("F01") << all << QStringLiteral("X-Rite i1Pro2") << true;
        QTest::newRow("revision D: i1Pro") << QStringLiteral("D") << all << QStringLiteral("X-Rite EyeOne") << true;
        QTest::newRow("revision A: i1Pro") << QStringLiteral("A") << all << QStringLiteral("X-Rite EyeOne") << true;
        QTest::newRow("no revision") << QString() << all << QStringLiteral("X-Rite EyeOne") << true;
        QTest::newRow("no ambient head") << QStringLiteral("E") << QStringLiteral("ReflectanceSpot;EmissionSpot")
                                         << QStringLiteral("X-Rite i1Pro2") << false;
    }

    void identity()
    {
        QFETCH(QString, revision);
        QFETCH(QString, modes);
        QFETCH(QString, name);
        QFETCH(bool, ambient);
        QVERIFY(configure(family({{QStringLiteral("HWRevision"), revision},
                                  {QStringLiteral("AvailableMeasurementModes"), modes}})));
        CEyeOneSensor sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.GetName(), name);
        QCOMPARE(sensor.GetShortName(), name);
        QCOMPARE(sensor.IsI1Pro2(), name == QStringLiteral("X-Rite i1Pro2"));
        QCOMPARE(sensor.SupportsAmbient(), ambient);
    }

    void open_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("logsError");
        QTest::newRow("no instrument") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000
                                       << QStringList{QStringLiteral("I1_GetDevices")} << false;
        QTest::newRow("list refused") << QJsonObject{{QStringLiteral("fail_calls"), fail("I1_GetDevices", -1)}} << -1000
                                      << QStringList{QStringLiteral("I1_GetDevices")} << true;
        QTest::newRow("open refused") << QJsonObject{{QStringLiteral("open_fails"), true}} << -1000
                                      << QStringList{QStringLiteral("I1_GetDevices"), QStringLiteral("I1_OpenDevice")}
                                      << true;
        QTest::newRow("modes unreadable") << QJsonObject{{QStringLiteral("fail_calls"), fail("I1_GetOption", -1)}} << -1000
                                          << QStringList{QStringLiteral("I1_GetDevices"), QStringLiteral("I1_OpenDevice"),
                                                         QStringLiteral("I1_GetOption"), QStringLiteral("I1_CloseDevice")}
                                          << true;
        QTest::newRow("no emission mode")
            << family({{QStringLiteral("AvailableMeasurementModes"), QStringLiteral("ReflectanceSpot;AmbientLightSpot")}})
            << -1000
            << QStringList{QStringLiteral("I1_GetDevices"), QStringLiteral("I1_OpenDevice"), QStringLiteral("I1_GetOption"),
                           QStringLiteral("I1_CloseDevice"), QStringLiteral("I1_SetGlobalOption")}
            << false;
        QTest::newRow("setting refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("Colorimetric.Observer")}}}) << -1003
            << kOpenCalls.mid(0, 7) + QStringList{QStringLiteral("I1_CloseDevice")} << true;
    }

    void open_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, status);
        QFETCH(QStringList, calls);
        QFETCH(bool, logsError);
        QVERIFY(configure(fault));
        CEyeOneSensor sensor;
        QVERIFY(!sensor.IsOpen());
        QStringList made = m_control->callNames();
        made.removeAll(QStringLiteral("I1_GetGlobalOption"));
        QCOMPARE(made, calls);
        if (logsError)
            QCOMPARE(globalReads().mid(0, 4), kErrorLog);
        if (fault.contains(QStringLiteral("family")) && status == -1000)
            QCOMPARE(args_of(m_control->callsNamed(QStringLiteral("I1_SetGlobalOption"))[0]),
                     (QJsonArray{QStringLiteral("Reset"), QStringLiteral("All")}));
        QCOMPARE(sensor.Open(), status);
        // A closed driver refuses without touching the instrument.
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.MeasureAmbient(), -1000);
        QCOMPARE(sensor.Calibrate(), -1000);
        QVERIFY(!sensor.IsCalibrated());
        QCOMPARE(sensor.GetSerialNumber(), QString());
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CEyeOneSensor sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.SetMeasurementMode(2), -1);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void calibrates_every_mode_and_restores_the_current_one_data()
    {
        QTest::addColumn<QString>("modes");
        QTest::addColumn<QStringList>("calibrated");
        QTest::newRow("ambient head") << QStringLiteral("EmissionSpot;AmbientLightSpot")
                                      << QStringList{QStringLiteral("EmissionSpot"), QStringLiteral("AmbientLightSpot")};
        QTest::newRow("emission only") << QStringLiteral("EmissionSpot") << QStringList{QStringLiteral("EmissionSpot")};
    }

    void calibrates_every_mode_and_restores_the_current_one()
    {
        QFETCH(QString, modes);
        QFETCH(QStringList, calibrated);
        QVERIFY(configure(family({{QStringLiteral("AvailableMeasurementModes"), modes}})));
        CEyeOneSensor sensor;
        QVERIFY(!sensor.IsCalibrated());
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), 0);
        QVERIFY(sensor.IsCalibrated());
        QStringList expected{QStringLiteral("I1_GetOption")};
        for (int i = 0; i < calibrated.size(); ++i)
            expected << QStringLiteral("I1_SetOption") << QStringLiteral("I1_Calibrate");
        expected << QStringLiteral("I1_SetOption") << QStringLiteral("I1_GetOption");
        QCOMPARE(m_control->callNames(), expected);
        const QJsonArray settings = m_control->callsNamed(QStringLiteral("I1_SetOption"));
        for (int i = 0; i < calibrated.size(); ++i)
            QCOMPARE(args_of(settings[i]).at(1).toString(), calibrated[i]);
        QCOMPARE(args_of(settings.last()), (QJsonArray{QStringLiteral("MeasurementMode"), QStringLiteral("EmissionSpot")}));
        QCOMPARE(args_of(m_control->calls().last()), (QJsonArray{QStringLiteral("TimeUntilCalibrationExpire")}));
    }

    void failed_calibration_restores_the_mode()
    {
        QVERIFY(configure({{QStringLiteral("calibration_fails"), true}}));
        CEyeOneSensor sensor;
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), -1008);
        QVERIFY(!sensor.IsCalibrated());
        QCOMPARE(m_control->callsNamed(QStringLiteral("I1_Calibrate")).size(), 1);
        QCOMPARE(globalReads().mid(0, 4), kErrorLog);
        QCOMPARE(args_of(m_control->callsNamed(QStringLiteral("I1_SetOption")).last()),
                 (QJsonArray{QStringLiteral("MeasurementMode"), QStringLiteral("AmbientLightSpot")}));
        // The failure leaves the instrument measuring ambient light, as the driver believes.
        QVERIFY(configure({{QStringLiteral("calibration_fails"), false}}));
        QCOMPARE(sensor.Calibrate(), 0);
        QCOMPARE(sensor.MeasureAmbient(), 0);
    }

    void calibration_state_comes_from_the_library_data()
    {
        QTest::addColumn<QJsonObject>("setting");
        QTest::addColumn<bool>("calibrated");
        QTest::addColumn<bool>("logsError");
        QTest::newRow("seconds left") << QJsonObject() << true << false;
        QTest::newRow("expired") << family({{QStringLiteral("TimeUntilCalibrationExpire"), QStringLiteral("0")}}) << false
                                 << false;
        QTest::newRow("not a number") << family({{QStringLiteral("TimeUntilCalibrationExpire"), QStringLiteral("soon")}})
                                      << false << false;
        QTest::newRow("unreadable") << QJsonObject{{QStringLiteral("fail_calls"), fail("I1_GetOption", -1)}} << false
                                    << true;
    }

    void calibration_state_comes_from_the_library()
    {
        QFETCH(QJsonObject, setting);
        QFETCH(bool, calibrated);
        QFETCH(bool, logsError);
        CEyeOneSensor sensor;
        QCOMPARE(sensor.Calibrate(), 0);
        QVERIFY(configure(setting));
        m_control->clearCalls();
        QCOMPARE(sensor.IsCalibrated(), calibrated);
        QCOMPARE(globalReads().isEmpty(), !logsError);
    }

    void measures_the_display()
    {
        CEyeOneSensor sensor;
        // The instrument refuses to measure before its calibration.
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QCOMPARE(globalReads().mid(0, 4), kErrorLog);
        QCOMPARE(sensor.Calibrate(), 0);
        m_control->clearCalls();
        // The caller's count is not the driver's: one reading.
        QCOMPARE(sensor.MeasureXYZ(5), 0);
        QCOMPARE(sensor.GetRepeatCount(), 1u);
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("I1_TriggerMeasurement"), QStringLiteral("I1_GetTriStimulus")}));
        QCOMPARE(args_of(m_control->calls()[1]), (QJsonArray{0}));
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QVERIFY(near_float(reading.X, 95.0));
        QVERIFY(near_float(reading.Y, 100.0));
        QVERIFY(near_float(reading.Z, 108.9));
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void low_light_averaging_data()
    {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<double>("Y");
        QTest::addColumn<int>("readings");
        QTest::newRow("Y 2.9") << true << 2.9 << 3;
        QTest::newRow("Y 5") << true << 5.0 << 2;
        QTest::newRow("Y 10") << true << 10.0 << 1;
        QTest::newRow("flag off, Y 2.9") << false << 2.9 << 1;
    }

    void low_light_averaging()
    {
        QFETCH(bool, flag);
        QFETCH(double, Y);
        QFETCH(int, readings);
        const auto preferences = sensor_test_environment::preferences(flag);
        QVERIFY(preferences);
        QVERIFY(publish(Y * 0.95, Y, Y * 1.089));
        CEyeOneSensor sensor;
        QCOMPARE(sensor.Calibrate(), 0);
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(m_control->callsNamed(QStringLiteral("I1_TriggerMeasurement")).size(), readings);
        QCOMPARE(sensor.GetRepeatCount(), unsigned(readings));
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QVERIFY(near_float(reading.Y, Y));
    }

    void waits_after_each_trigger()
    {
        const auto preferences = sensor_test_environment::preferences(true);
        QVERIFY(publish(4.75, 5.0, 5.4));
        CEyeOneSensor sensor;
        QCOMPARE(sensor.Calibrate(), 0);
        wait_service::set_time_scale(1.0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        const qint64 elapsed = timer.elapsed();
        wait_service::set_time_scale(0.0);
        QCOMPARE(sensor.GetRepeatCount(), 2u);
        // Two readings, each 50 ms after its trigger (the library's own integration takes 1 ms).
        QVERIFY2(elapsed >= 100, qPrintable(QString::number(elapsed)));
        // The ambient reading does not wait.
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        // Scaled so that a 50 ms pause would take 2 s.
        wait_service::set_time_scale(40.0);
        timer.restart();
        QCOMPARE(sensor.MeasureAmbient(), 0);
        wait_service::set_time_scale(0.0);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    }

    void measurement_mode_guards_the_readings()
    {
        QVERIFY(configure({{QStringLiteral("ambient_lux"), 200.0},
                           {QStringLiteral("ambient_x"), 0.4476},
                           {QStringLiteral("ambient_y"), 0.4074}}));
        CEyeOneSensor sensor;
        QCOMPARE(sensor.Calibrate(), 0);
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), -1);
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(first_texts(m_control->callsNamed(QStringLiteral("I1_SetOption"))),
                 (QStringList{QStringLiteral("MeasurementMode"), QStringLiteral("Colorimetric.Illumination"),
                              QStringLiteral("ColorSpaceDescription.Type")}));
        QCOMPARE(sensor.MeasureXYZ(1), -1);
        QCOMPARE(m_control->callsNamed(QStringLiteral("I1_TriggerMeasurement")).size(), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        // The same mode again changes nothing in the library.
        m_control->clearCalls();
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(m_control->callNames(), QStringList());
        QCOMPARE(sensor.MeasureAmbient(), 0);
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("I1_TriggerMeasurement"), QStringLiteral("I1_GetTriStimulus")}));
        QCOMPARE(sensor.GetXYZ(reading), 0);
        const CCIEXYZ expected = CCIEYxy(200.0, 0.4476, 0.4074).ToXYZ();
        QVERIFY(near_float(reading.X, expected.X));
        QVERIFY(near_float(reading.Y, expected.Y));
        QVERIFY(near_float(reading.Z, expected.Z));
    }

    void measurement_mode_failures_data()
    {
        QTest::addColumn<QString>("modes");
        QTest::addColumn<int>("mode");
        QTest::newRow("unknown mode") << QStringLiteral("EmissionSpot;AmbientLightSpot") << 3;
        QTest::newRow("no ambient head") << QStringLiteral("EmissionSpot") << 2;
    }

    void measurement_mode_failures()
    {
        QFETCH(QString, modes);
        QFETCH(int, mode);
        QVERIFY(configure(family({{QStringLiteral("AvailableMeasurementModes"), modes}})));
        CEyeOneSensor sensor;
        QCOMPARE(sensor.SetMeasurementMode(mode), -1);
        QCOMPARE(sensor.GetMeasurementMode(), 1);
    }

    void reading_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<QString>("failing");
        QTest::newRow("trigger") << QJsonObject{{QStringLiteral("measure_failures"), 1}}
                                 << QStringLiteral("I1_TriggerMeasurement");
        QTest::newRow("read") << QJsonObject{{QStringLiteral("fail_calls"), fail("I1_GetTriStimulus", -8)}}
                              << QStringLiteral("I1_GetTriStimulus");
    }

    void reading_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(QString, failing);
        CEyeOneSensor sensor;
        QCOMPARE(sensor.Calibrate(), 0);
        QVERIFY(configure(fault));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QCOMPARE(m_control->callNames().indexOf(QStringLiteral("I1_GetGlobalOption")),
                 m_control->callNames().indexOf(failing) + 1);
        QCOMPARE(globalReads(), kErrorLog);
        // The buffer holds what was read last.
        QCOMPARE(sensor.GetOptionBuffer(), QStringLiteral("E"));
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void error_log_reads_the_library_texts()
    {
        CEyeOneSensor sensor;
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        const QJsonArray reads = m_control->callsNamed(QStringLiteral("I1_GetGlobalOption"));
        QCOMPARE(out_of(reads[0]), (QJsonArray{QStringLiteral("Device not calibrated")}));
        QCOMPARE(out_of(reads[1]), (QJsonArray{QString::number(-7)}));
        QCOMPARE(out_of(reads[2]), (QJsonArray{QStringLiteral("4.2.3")}));
    }

    void placement_records_data()
    {
        QTest::addColumn<QString>("revision");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("pictures");
        QTest::addColumn<QString>("ambientMessage");
        QTest::addColumn<QString>("calibrationMessage");
        const QString i1Pro2Ambient = QStringLiteral(
            "Attach the Ambient Light Measuring Head and remove the cap. Direct the sensor away from the display.<br>"
            "Remember to remove the head once ambient measurements are complete.");
        const QString i1ProAmbient = QStringLiteral("Remove the cap and direct the sensor away from the display.");
        QTest::newRow("i1Pro2") << QStringLiteral("E") << 1
                                << QStringList{QStringLiteral("i1pro2 on display.png"), QStringLiteral("i1pro2 ambient.png"),
                                               QStringLiteral("i1pro2 on desktop.png"),
                                               QStringLiteral("sensor icon_ionepro2.png")}
                                << i1Pro2Ambient
                                << QStringLiteral("Place the color sensor on the base holder as shown <u>with the white "
                                                  "tile exposed</u>.");
        QTest::newRow("i1Pro2, ambient mode") << QStringLiteral("E") << 2
                                              << QStringList{QStringLiteral("i1pro2 on display.png"),
                                                             QStringLiteral("i1pro2 ambient.png"),
                                                             QStringLiteral("i1pro2 on desktop.png"),
                                                             QStringLiteral("sensor icon_ionepro2.png")}
                                              << i1Pro2Ambient
                                              << QStringLiteral("Place the color sensor on the base holder as shown "
                                                                "<u>with the white tile exposed</u>.");
        QTest::newRow("i1Pro, display mode")
            << QStringLiteral("D") << 1
            << QStringList{QStringLiteral("ione pro measure.png"), QStringLiteral("ione pro ambient measure.png"),
                           QStringLiteral("ione pro zerocal on base.png"), QStringLiteral("sensor icon_ionepro1.png")}
            << i1ProAmbient << QStringLiteral("Place the color sensor on the base holder as shown.");
        QTest::newRow("i1Pro, ambient mode")
            << QStringLiteral("D") << 2
            << QStringList{QStringLiteral("ione pro measure.png"), QStringLiteral("ione pro ambient measure.png"),
                           QStringLiteral("ione pro ambient cover.png"), QStringLiteral("sensor icon_ionepro1.png")}
            << i1ProAmbient << QStringLiteral("Attach the ambient light diffuser and cap to the sensor as shown.");
    }

    void placement_records()
    {
        QFETCH(QString, revision);
        QFETCH(int, mode);
        QFETCH(QStringList, pictures);
        QFETCH(QString, ambientMessage);
        QFETCH(QString, calibrationMessage);
        QVERIFY(configure(family({{QStringLiteral("HWRevision"), revision}})));
        CEyeOneSensor sensor;
        QCOMPARE(sensor.SetMeasurementMode(mode), 0);
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        const QString folder = QStringLiteral(":/images/Resources/");
        QCOMPARE((QStringList{info.displayPicture, info.ambientPicture, info.calibrationPicture, info.iconPicture}),
                 (QStringList{folder + pictures[0], folder + pictures[1], folder + pictures[2], folder + pictures[3]}));
        QCOMPARE(info.ambientMessage, ambientMessage);
        QCOMPARE(info.calibrationMessage, calibrationMessage);
        QVERIFY(info.selectorMessage.isEmpty());
        QVERIFY(info.beforeDisplayMessage.isEmpty());
        for (const QString &picture : {info.displayPicture, info.ambientPicture, info.calibrationPicture, info.iconPicture})
            QVERIFY2(QFile::exists(picture), qPrintable(picture));
    }

    void detection_finds_it_first()
    {
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 2);
        QCOMPARE(record.events, detection::found_after(0, QStringLiteral("X-Rite i1Pro2")));
        QCOMPARE(factory.SetSensorType(2), 0);
        QVERIFY(factory.GetSensor()->IsOpen());
    }

    void detection_passes_over_it_data()
    {
        QTest::addColumn<bool>("libraryPresent");
        QTest::newRow("library absent") << false;
        QTest::newRow("library present, no instrument") << true;
    }

    void detection_passes_over_it()
    {
        QFETCH(bool, libraryPresent);
        QVERIFY(configure({{QStringLiteral("device_count"), 0}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        const QString folder = m_environment->root() + QStringLiteral("/detect-") + QString::number(libraryPresent);
        QVERIFY(detection::detect_beside_i1d3(factory, folder, libraryPresent ? "libi1pro.so" : nullptr));
        // Found after the i1Pro, i1Display, i1Studio and Spyder kinds.
        QCOMPARE(factory.GetSensorType(), 3);
        QCOMPARE(record.events, detection::found_after(4, QStringLiteral("X-Rite i1Display Pro")));
        QCOMPARE(m_control->callNames(),
                 libraryPresent ? QStringList{QStringLiteral("I1_GetDevices")} : QStringList());
        QCOMPARE(factory.SetSensorType(2), -1000);
        QCOMPARE(factory.GetSensor(), nullptr);
    }
};

QTEST_GUILESS_MAIN(tst_eye_one)
#include "tst_eye_one.moc"
