#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"
#include "single_library_folder.h"

#include "sensors/CTargetSensor.h"
#include "sensors/CXRiteHubble.h"
#include "sensors/sensor_status.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.5/1");

const QStringList kOpenCalls = {
    QStringLiteral("gmbSpotInitialize"),          QStringLiteral("gmbSpotGetNumberOfDevices"),
    QStringLiteral("gmbSpotGetDeviceHandle"),     QStringLiteral("gmbSpotDeviceOpen"),
    QStringLiteral("gmbSpotGetSerialNumber"),     QStringLiteral("gmbSpotSetLuminanceUnits"),
    QStringLiteral("gmbSpotGetNumberOfCalibrations"),
};

QJsonObject family(const char *key, const QJsonValue &value)
{
    return family(QJsonObject{{QLatin1String(key), value}});
}

// Relative tolerance of a reading that went through Y, x, y and back.
bool close_to(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-9 * std::abs(expected);
}

} // namespace

class tst_xrite_hubble : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_xrite_hubble() : simulated_family_fixture(kDisplay) {}

private slots:
    void initTestCase()
    {
        QVERIFY(loadFamily("libspotmetersdk.so"));
    }

    void init()
    {
        QVERIFY(resetFamily(0.0, one_device()));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void opens_the_instrument()
    {
        CXRiteHubble sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QStringLiteral("X-Rite Hubble"));
        QCOMPARE(sensor.GetShortName(), QStringLiteral("X-Rite Hubble"));
        QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("8011234"));
        const QStringList names = m_control->callNames();
        QCOMPARE(names.mid(0, kOpenCalls.size()), kOpenCalls);
        QCOMPARE(names.mid(kOpenCalls.size()),
                 (QStringList{QStringLiteral("gmbSpotGetCalibrationName"), QStringLiteral("gmbSpotGetCalibrationName"),
                              QStringLiteral("gmbSpotGetCalibrationName"), QStringLiteral("gmbSpotSetIntegrationTime")}));
        const QJsonArray calls = m_control->calls();
        QCOMPARE(args_of(calls[2]), QJsonArray{0});
        QCOMPARE(args_of(calls[5]), QJsonArray{1});
        QCOMPARE(args_of(calls.last()), QJsonArray{0.5});
        QCOMPARE(first_numbers(m_control->callsNamed(QStringLiteral("gmbSpotGetCalibrationName"))), (QList<int>{-1, 1, 2}));
        QCOMPARE(args_of(calls[kOpenCalls.size()]).at(1).toInt(), 255);
    }

    void fixed_capabilities()
    {
        CXRiteHubble sensor;
        QVERIFY(!sensor.SupportsAmbient());
        QVERIFY(sensor.RequiresCalibration());
        QVERIFY(!sensor.HasMeasurementSelector());
        QVERIFY(!sensor.SupportsDisplayTypes());
        QVERIFY(!sensor.IsModelUnknown());
        QCOMPARE(sensor.AfterOpen(), 0);
        quint16 vendor = 1, product = 1;
        QVERIFY(!sensor.GetUsbIds(vendor, product));
        QCOMPARE(vendor, quint16(0));
        QCOMPARE(product, quint16(0));
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(0, 3), 0);
        QCOMPARE(sensor.GetDisplayFlag(), 0);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void open_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("no device") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000;
        QTest::newRow("initialisation fails") << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotInitialize", -7)}} << -1000;
        QTest::newRow("no handle") << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotGetDeviceHandle", -7)}} << -1000;
        QTest::newRow("open fails") << QJsonObject{{QStringLiteral("open_fails"), true}} << -1000;
        QTest::newRow("serial number not read")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotGetSerialNumber", -7)}} << -1000;
        QTest::newRow("units refused") << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotSetLuminanceUnits", -7)}}
                                       << -1003;
        QTest::newRow("calibration count not read")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotGetNumberOfCalibrations", -7)}} << -1000;
        QTest::newRow("calibration name not read")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotGetCalibrationName", -7)}} << -1000;
        QTest::newRow("integration time refused")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("gmbSpotSetIntegrationTime", -7)}} << -1003;
    }

    void open_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, status);
        QVERIFY(configure(fault));
        CXRiteHubble sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.Open(), status);
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.Calibrate(), -1000);
        QVERIFY(!sensor.IsCalibrated());
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CXRiteHubble sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.Open(), -1000);
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.Calibrate(), -1000);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void calibration_name_walk_data()
    {
        QTest::addColumn<QJsonObject>("settings");
        QTest::addColumn<QList<int>>("asked");
        QTest::newRow("three names") << QJsonObject() << QList<int>{-1, 1, 2};
        QTest::newRow("one name") << family("calibration_count", 1) << QList<int>{-1};
        QTest::newRow("no names: asked once") << family("calibration_count", 0) << QList<int>{-1};
        QTest::newRow("negative count: not asked") << family("calibration_count", -1) << QList<int>{};
        // A library stuck on one index, or going back, ends the walk.
        QTest::newRow("stuck on one index") << family("next_index", 0) << QList<int>{-1, 0};
        QTest::newRow("stuck on the last index") << family("next_index", 2) << QList<int>{-1, 2};
        QTest::newRow("index below -1") << family("next_index", -5) << QList<int>{-1};
        QTest::newRow("index past the count") << family("next_index", 3) << QList<int>{-1};
    }

    void calibration_name_walk()
    {
        QFETCH(QJsonObject, settings);
        QFETCH(QList<int>, asked);
        QVERIFY(configure(settings));
        CXRiteHubble sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(first_numbers(m_control->callsNamed(QStringLiteral("gmbSpotGetCalibrationName"))), asked);
    }

    void calibration_name_walk_is_bounded()
    {
        // A count no instrument has: the walk stops after 1024 names and
        // the one call that may end it.
        QVERIFY(configure(family("calibration_count", 100000)));
        CXRiteHubble sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(m_control->callsNamed(QStringLiteral("gmbSpotGetCalibrationName")).size(), 1025);
    }

    void measures_emission_data()
    {
        QTest::addColumn<bool>("averaging");
        QTest::newRow("low-light averaging off") << false;
        QTest::newRow("low-light averaging on") << true;
    }

    void measures_emission()
    {
        QFETCH(bool, averaging);
        const auto preferences = sensor_test_environment::preferences(averaging);
        QVERIFY(preferences);
        CXRiteHubble sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(4), 0);
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("gmbSpotSetLowLightAveraging"), QStringLiteral("gmbSpotMeasureYxy")}));
        QCOMPARE(args_of(m_control->calls()[0]), QJsonArray{averaging ? 1 : 0});
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QVERIFY(close_to(reading.X, 95.0));
        QVERIFY(close_to(reading.Y, 100.0));
        QVERIFY(close_to(reading.Z, 108.9));
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void readings_without_value_data()
    {
        QTest::addColumn<QJsonObject>("settings");
        QTest::addColumn<int>("libraryResult");
        QTest::newRow("dark: no value") << QJsonObject{{QStringLiteral("covered"), true}} << -90;
        QTest::newRow("success without a value") << family("value_missing", true) << 0;
        QTest::newRow("measurement fails") << QJsonObject{{QStringLiteral("measure_failures"), 1}} << -1;
    }

    void readings_without_value()
    {
        QFETCH(QJsonObject, settings);
        QFETCH(int, libraryResult);
        CXRiteHubble sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QVERIFY(configure(settings));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QCOMPARE(result_of(m_control->callsNamed(QStringLiteral("gmbSpotMeasureYxy"))[0]), libraryResult);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void ambient_takes_no_reading()
    {
        CXRiteHubble sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void dark_current_calibration_data()
    {
        QTest::addColumn<QJsonObject>("settings");
        QTest::addColumn<bool>("displayLit");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("libraryResult");
        QTest::newRow("lens capped") << QJsonObject{{QStringLiteral("covered"), true}} << true << 0 << 0;
        QTest::newRow("dark room") << QJsonObject() << false << 0 << 0;
        QTest::newRow("too bright") << QJsonObject() << true << -1008 << -91;
        QTest::newRow("calibration fails") << QJsonObject{{QStringLiteral("covered"), true},
                                                          {QStringLiteral("calibration_fails"), true}}
                                           << true << -1008 << -1;
    }

    void dark_current_calibration()
    {
        QFETCH(QJsonObject, settings);
        QFETCH(bool, displayLit);
        QFETCH(int, status);
        QFETCH(int, libraryResult);
        if (!displayLit)
            light_channel::clear_channel();
        CXRiteHubble sensor;
        QVERIFY(configure({{QStringLiteral("covered"), true}}));
        QCOMPARE(sensor.Calibrate(), 0);
        QVERIFY(sensor.IsCalibrated());
        QVERIFY(configure({{QStringLiteral("covered"), false}}));
        QVERIFY(configure(settings));
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), status);
        QCOMPARE(sensor.IsCalibrated(), status == 0);
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("gmbSpotMeasureDarkCurrent")});
        QCOMPARE(result_of(m_control->calls()[0]), libraryResult);
    }

    void placement_record()
    {
        CXRiteHubble sensor;
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        QCOMPARE(info.calibrationMessage, QStringLiteral("Place the lens cap on the device so no light strikes the sensor."));
        for (const QString &text : {info.calibrationPicture, info.displayPicture, info.selectorToAmbientPicture,
                                    info.selectorToDisplayPicture, info.ambientPicture, info.iconPicture,
                                    info.ambientMessage, info.selectorMessage, info.beforeDisplayMessage,
                                    info.beforeAmbientMessage})
            QCOMPARE(text, QString());
    }

    void detected_in_the_factory_order()
    {
        single_library_folder folder("libspotmetersdk.so");
        QVERIFY(folder.isValid());
        simulated_instrument_control &control = folder.control();
        QVERIFY(control.configure({{QStringLiteral("device_count"), 1}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 7);
        // i1Pro, i1Display, i1Studio, Spyder3/4/5 and i1Display Pro come first.
        QCOMPARE(record.events, detection::found_after(5, QStringLiteral("X-Rite Hubble")));
    }

    void passed_over_data()
    {
        QTest::addColumn<QJsonObject>("settings");
        QTest::newRow("library default: no instrument") << QJsonObject();
        QTest::newRow("serial number not read")
            << QJsonObject{{QStringLiteral("device_count"), 1}, {QStringLiteral("fail_calls"), fail("gmbSpotGetSerialNumber", -7)}};
    }

    void passed_over()
    {
        QFETCH(QJsonObject, settings);
        single_library_folder folder("libspotmetersdk.so");
        QVERIFY(folder.isValid());
        simulated_instrument_control &control = folder.control();
        QVERIFY(control.configure(settings));
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(!factory.DetectSensor());
        QCOMPARE(record.lastDetected(), QStringLiteral("-"));
        QCOMPARE(factory.GetSensor(), nullptr);
        QVERIFY(control.callNames().contains(QStringLiteral("gmbSpotInitialize")));
    }
};

QTEST_GUILESS_MAIN(tst_xrite_hubble)
#include "tst_xrite_hubble.moc"
