#include "call_log.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"

#include "resources/tessaline_resources.h"
#include "sensors/CEyeOneDisplay3Sensor.h"
#include "sensors/sensor_status.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.1/1");

const QStringList kOpenCalls = {
    QStringLiteral("i1d3GetNumberOfDevices"), QStringLiteral("i1d3GetDeviceHandle"),
    QStringLiteral("i1d3DeviceOpen"),         QStringLiteral("i1d3SetSupportFilePath"),
    QStringLiteral("i1d3GetCalibrationList"), QStringLiteral("i1d3SetMeasurementMode"),
    QStringLiteral("i1d3SetIntegrationTime"), QStringLiteral("i1d3SetTargetLCDTime"),
    QStringLiteral("i1d3SetLEDControl"),
};

} // namespace

class tst_eye_one_display3 : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_eye_one_display3() : simulated_family_fixture(kDisplay) {}

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily("libi1d3sdk.so"));
    }

    void init()
    {
        QVERIFY(resetFamily(0.001));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void opens_and_closes_the_session()
    {
        {
            CEyeOneDisplay3Sensor sensor;
            QVERIFY(sensor.IsOpen());
            QCOMPARE(sensor.GetName(), QStringLiteral("X-Rite i1Display Pro"));
            QCOMPARE(sensor.GetShortName(), QStringLiteral("i1DisplayPro"));
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("9000123"));
            QCOMPARE(m_control->callNames().mid(0, kOpenCalls.size() + 1),
                     QStringList{QStringLiteral("i1d3Initialize")} + kOpenCalls);
            const QJsonArray calls = m_control->calls();
            QCOMPARE(args_of(calls[4]).at(0).toString(),
                     QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
            QCOMPARE(args_of(calls[6]), (QJsonArray{1}));
            QCOMPARE(args_of(calls[7]), (QJsonArray{1.0}));
            QCOMPARE(args_of(calls[8]), (QJsonArray{1.0}));
            QCOMPARE(args_of(calls[9]), (QJsonArray{1, 0.2, 1.0, 1}));
            m_control->clearCalls();
        }
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("i1d3DeviceClose"), QStringLiteral("i1d3Destroy")}));
    }

    void fixed_capabilities()
    {
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(sensor.HasMeasurementSelector());
        QVERIFY(sensor.PollsMeasurementSelector());
        QVERIFY(!sensor.SignalsMeasurementSelector());
        QVERIFY(sensor.SupportsAmbient());
        QVERIFY(!sensor.RequiresCalibration());
        QVERIFY(sensor.SupportsDisplayTypes());
        QVERIFY(sensor.HasLedControl());
        QCOMPARE(sensor.AfterOpen(), 0);
        QCOMPARE(sensor.Calibrate(), 0);
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(sensor.GetMeasurementMode(), 1);
        quint16 vendor = 0, product = 0;
        QVERIFY(sensor.GetUsbIds(vendor, product));
        QCOMPARE(vendor, quint16(0x0765));
        QCOMPARE(product, quint16(0x5020));
    }

    void maker_branded_names_data()
    {
        QTest::addColumn<bool>("branded");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        const QString lyra = QStringLiteral("Varkel LYRASENSOR3");
        const QString halvex = QStringLiteral("Varkel Halvex Pro");
        QTest::newRow("2.4 newer") << true << QStringLiteral("v2.4.0") << lyra << QStringLiteral("LYRASENSOR3");
        QTest::newRow("2.3.9 older") << true << QStringLiteral("v2.3.9") << halvex << QStringLiteral("Halvex..Pro");
        QTest::newRow("3.0 newer") << true << QStringLiteral("v3.0") << lyra << QStringLiteral("LYRASENSOR3");
        QTest::newRow("no minor, major 3") << true << QStringLiteral("v3") << lyra << QStringLiteral("LYRASENSOR3");
        QTest::newRow("no minor, major 2") << true << QStringLiteral("v2") << halvex << QStringLiteral("Halvex..Pro");
        QTest::newRow("empty text") << true << QString() << halvex << QStringLiteral("Halvex..Pro");
        QTest::newRow("not branded") << false << QStringLiteral("v2.4.0") << QStringLiteral("X-Rite i1Display Pro")
                                     << QStringLiteral("i1DisplayPro");
    }

    void maker_branded_names()
    {
        QFETCH(bool, branded);
        QFETCH(QString, firmware);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QVERIFY(configure({{QStringLiteral("maker_branded"), branded}, {QStringLiteral("firmware"), firmware}}));
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.GetName(), name);
        QCOMPARE(sensor.GetShortName(), shortName);
        // Only a branded unit's device information is read.
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3GetDeviceInfo")).size(), branded ? 1 : 0);
    }

    void open_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("closesDevice");
        QTest::newRow("no device") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000 << false;
        QTest::newRow("handle refused") << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3GetDeviceHandle", -5)}}
                                        << -1003 << false;
        QTest::newRow("open fails") << QJsonObject{{QStringLiteral("open_fails"), true}} << -1003 << false;
        QTest::newRow("device info of a branded unit") << QJsonObject{{QStringLiteral("maker_branded"), true},
                                                                      {QStringLiteral("fail_calls"), fail("i1d3GetDeviceInfo", -5)}}
                                                       << -1003 << true;
        QTest::newRow("support files refused") << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3SetSupportFilePath", -5)}}
                                               << -1020 << true;
        QTest::newRow("list not read") << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3GetCalibrationList", -5)}}
                                       << -1020 << true;
        QTest::newRow("two calibrations") << QJsonObject{{QStringLiteral("calibrations"), calibrations({1, 6})}}
                                          << -1020 << true;
        QTest::newRow("mode refused") << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3SetMeasurementMode", -5)}}
                                      << -1003 << true;
        QTest::newRow("integration time refused")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3SetIntegrationTime", -5)}} << -1003 << true;
    }

    void open_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, status);
        QFETCH(bool, closesDevice);
        QVERIFY(configure(fault));
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QString());
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3DeviceClose")).size(), closesDevice ? 1 : 0);
        QCOMPARE(sensor.Open(), status);
        // A closed driver refuses to measure without touching the library.
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.MeasureAmbient(), -1000);
        QCOMPARE(sensor.SetDisplayType(1, 1), -1000);
        QCOMPARE(sensor.SetLed(true), -1000);
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), -1000);
        QCOMPARE(sensor.GetSerialNumber(), QString());
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QString());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.SetDisplayType(1, 3), -1000);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void library_missing_an_entry_point_stays_closed()
    {
        const QString folder = m_environment->root() + QStringLiteral("/partial");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(QStringLiteral(PARTIAL_I1D3_LIBRARY), folder + QStringLiteral("/libi1d3sdk.so")));
        sensor_test_environment::useLibraryFolder(folder);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
    }

    void calibration_choice_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("displayType");
        QTest::addColumn<bool>("aio");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("mode");
        QTest::newRow("flag 0") << 0 << 3 << false << 1 << 1.0 << 1;
        QTest::newRow("type 0 (CCFL)") << 1 << 0 << false << 3 << 1.0 << 1;
        QTest::newRow("type 1") << 1 << 1 << false << 6 << 1.0 << 1;
        QTest::newRow("type 2") << 1 << 2 << false << 12 << 3.0 << 7;
        QTest::newRow("type 3 (LED)") << 1 << 3 << false << 9 << 3.0 << 7;
        QTest::newRow("type 4") << 1 << 4 << false << 64 << 3.0 << 1;
        QTest::newRow("type 5") << 1 << 5 << false << 3 << 1.0 << 1;
        QTest::newRow("all-in-one mode") << 1 << 2 << true << 12 << 3.0 << 8;
    }

    void calibration_choice()
    {
        QFETCH(int, flag);
        QFETCH(int, displayType);
        QFETCH(bool, aio);
        QFETCH(int, key);
        QFETCH(double, seconds);
        QFETCH(int, mode);
        QVERIFY(configure({{QStringLiteral("family"), QJsonObject{{QStringLiteral("aio"), aio}}}}));
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(sensor.IsOpen());
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(flag, displayType), 0);
        QCOMPARE(sensor.GetDisplayFlag(), flag);
        QStringList expected{QStringLiteral("i1d3GetCalibrationList"), QStringLiteral("i1d3SetCalibration"),
                             QStringLiteral("i1d3SetTargetLCDTime"), QStringLiteral("i1d3SetIntegrationTime"),
                             QStringLiteral("i1d3SupportsAIOMode"), QStringLiteral("i1d3SetMeasurementMode")};
        if (aio)
            expected << QStringLiteral("i1d3SetTargetLCDTime");
        QCOMPARE(m_control->callNames(), expected);
        const QJsonArray calls = m_control->calls();
        QCOMPARE(args_of(calls[1]).at(0).toInt(), key);
        QCOMPARE(args_of(calls[2]).at(0).toDouble(), seconds);
        QCOMPARE(args_of(calls[3]).at(0).toDouble(), seconds);
        QCOMPARE(args_of(calls[5]).at(0).toInt(), mode);
        if (aio)
            QCOMPARE(args_of(calls[6]).at(0).toDouble(), 1.0);
    }

    void calibration_choice_takes_the_last_matching_entry()
    {
        QVERIFY(configure({{QStringLiteral("calibrations"), calibrations({1, 9, 3, 9})}}));
        CEyeOneDisplay3Sensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(1, 3), 0);
        const QJsonArray chosen = m_control->callsNamed(QStringLiteral("i1d3SetCalibration"));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(args_of(chosen[0]), (QJsonArray{9, QStringLiteral("entry 3")}));
    }

    void display_type_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("no entry for the type")
            << QJsonObject{{QStringLiteral("calibrations"), calibrations({1, 3, 6, 9, 12})}} << -1020;
        QTest::newRow("calibration refused") << QJsonObject{{QStringLiteral("calibration_fails"), true}} << -1003;
        QTest::newRow("list not read") << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3GetCalibrationList", -5)}}
                                       << -1003;
        QTest::newRow("integration time refused")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3SetIntegrationTime", -5)}} << -1003;
        QTest::newRow("mode refused") << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3SetMeasurementMode", -5)}}
                                      << -1003;
    }

    void display_type_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, status);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(sensor.IsOpen());
        QVERIFY(configure(fault));
        QCOMPARE(sensor.SetDisplayType(1, 4), status);
    }

    void measurement_matches_the_display_light()
    {
        // Tolerance: five standard deviations of the configured 0.2 % noise.
        QVERIFY(configure({{QStringLiteral("noise_relative"), 0.002}, {QStringLiteral("noise_seed"), 7}}));
        CEyeOneDisplay3Sensor sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QVERIFY(std::abs(reading.X - 95.0) <= 5 * 0.002 * 95.0);
        QVERIFY(std::abs(reading.Y - 100.0) <= 5 * 0.002 * 100.0);
        QVERIFY(std::abs(reading.Z - 108.9) <= 5 * 0.002 * 108.9);
        QVERIFY(reading.Y != 100.0);
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureXYZ")).size(), 1);
    }

    void measures_the_display_that_showed_the_last_patch()
    {
        QVERIFY(configure({{QStringLiteral("display"), QString()}}));
        QVERIFY(light_channel::publish_light(QStringLiteral("127.0.10.2/1"), {20.0, 21.0, 22.0}));
        QVERIFY(light_channel::publish_active_display(QStringLiteral("127.0.10.2/1")));
        CEyeOneDisplay3Sensor sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.Y, 21.0);
    }

    void low_light_averaging_data()
    {
        QTest::addColumn<bool>("averaging");
        QTest::addColumn<double>("Y");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<int>("readings");
        QTest::newRow("2.9 cd/m2: three") << true << 2.9 << 1u << 3;
        QTest::newRow("9.99 cd/m2: two") << true << 9.99 << 1u << 2;
        QTest::newRow("10 cd/m2: caller's count") << true << 10.0 << 1u << 1;
        QTest::newRow("bright, caller asks four") << true << 50.0 << 4u << 4;
        QTest::newRow("dim replaces caller's five") << true << 2.0 << 5u << 3;
        QTest::newRow("flag off") << false << 2.0 << 1u << 1;
        QTest::newRow("count 0 counts as 1") << false << 50.0 << 0u << 1;
    }

    void low_light_averaging()
    {
        QFETCH(bool, averaging);
        QFETCH(double, Y);
        QFETCH(unsigned, count);
        QFETCH(int, readings);
        const auto preferences = sensor_test_environment::preferences(averaging);
        QVERIFY(preferences);
        QVERIFY(publish(Y * 0.95, Y, Y * 1.09));
        CEyeOneDisplay3Sensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(count), 0);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureXYZ")).size(), readings);
        QCOMPARE(sensor.GetRepeatCount(), unsigned(readings));
        // One blink per reading, after the readings.
        const QJsonArray blinks = m_control->callsNamed(QStringLiteral("i1d3SetLEDControl"));
        QCOMPARE(blinks.size(), 1);
        QCOMPARE(args_of(blinks[0]), (QJsonArray{1, 0.2, 0.2, readings}));
        QCOMPARE(m_control->callNames().last(), QStringLiteral("i1d3SetLEDControl"));
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // Noise-free readings: the average is the published value up to rounding.
        QVERIFY(std::abs(reading.Y - Y) <= 1e-12 * Y);
    }

    void averages_the_readings()
    {
        const auto preferences = sensor_test_environment::preferences(true);
        QVERIFY(preferences);
        QVERIFY(publish(1.0, 2.0, 3.0));
        QVERIFY(configure({{QStringLiteral("noise_absolute"), 0.05}, {QStringLiteral("noise_seed"), 3}}));
        CEyeOneDisplay3Sensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        const QJsonArray measured = m_control->callsNamed(QStringLiteral("i1d3MeasureXYZ"));
        QCOMPARE(measured.size(), 3);
        double sumY = 0.0;
        for (const QJsonValue &call : measured)
            sumY += call.toObject().value(QLatin1String("out")).toArray().at(1).toDouble();
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // Tolerance: the sum of three doubles divided by three, a few ulps.
        QVERIFY(std::abs(reading.Y - sumY / 3.0) <= 1e-12);
    }

    void measurement_retries_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("tries");
        QTest::newRow("two failures, third try reads") << 2 << 0 << 3;
        QTest::newRow("three failures") << 3 << -1003 << 3;
    }

    void measurement_retries()
    {
        QFETCH(int, failures);
        QFETCH(int, status);
        QFETCH(int, tries);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(configure({{QStringLiteral("measure_failures"), failures}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), status);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureXYZ")).size(), tries);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), status == 0 ? 0 : -1003);
    }

    void selector_position_guards_the_measurements_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("display");
        QTest::addColumn<int>("ambient");
        QTest::addColumn<int>("position");
        QTest::newRow("diffuser away: display") << QStringLiteral("display") << QJsonObject() << 0 << -1026 << 0;
        QTest::newRow("diffuser over the lens: ambient") << QStringLiteral("ambient") << QJsonObject() << -1026 << 0 << 3;
        QTest::newRow("position unreadable") << QStringLiteral("display")
                                             << QJsonObject{{QStringLiteral("fail_calls"), fail("i1d3ReadDiffuserPosition", -5)}}
                                             << -1003 << -1003 << -1003;
    }

    void selector_position_guards_the_measurements()
    {
        QFETCH(QString, selector);
        QFETCH(QJsonObject, fault);
        QFETCH(int, display);
        QFETCH(int, ambient);
        QFETCH(int, position);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(configure({{QStringLiteral("selector"), selector}, {QStringLiteral("ambient_lux"), 80.0}}));
        QVERIFY(configure(fault));
        m_control->clearCalls();
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), position);
        QCOMPARE(sensor.MeasureXYZ(1), display);
        QCOMPARE(sensor.MeasureAmbient(), ambient);
        // A refused measurement takes no reading.
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureXYZ")).size(), display == 0 ? 1 : 0);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureAmbient")).size(), ambient == 0 ? 1 : 0);
    }

    void ambient_reading_data()
    {
        QTest::addColumn<double>("lux");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("expectedX");
        QTest::addColumn<double>("expectedY");
        QTest::newRow("room light") << 250.0 << 0.4476 << 0.4074 << 0.4476 << 0.4074;
        QTest::newRow("dark: no chromaticity") << 0.0 << 0.4476 << 0.4074 << 0.0 << 0.0;
        QTest::newRow("negative x") << 120.0 << -0.01 << 0.33 << 0.0 << 0.33;
    }

    void ambient_reading()
    {
        QFETCH(double, lux);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, expectedX);
        QFETCH(double, expectedY);
        QVERIFY(configure({{QStringLiteral("selector"), QStringLiteral("ambient")},
                           {QStringLiteral("ambient_lux"), lux},
                           {QStringLiteral("ambient_x"), x},
                           {QStringLiteral("ambient_y"), y}}));
        CEyeOneDisplay3Sensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), 0);
        const CCIEYxy ambient = sensor.GetAmbientReading();
        QCOMPARE(ambient.Y, lux);
        QCOMPARE(ambient.x, expectedX);
        QCOMPARE(ambient.y, expectedY);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        const CCIEXYZ expected = CCIEYxy(lux, expectedX, expectedY).ToXYZ();
        QCOMPARE(reading.X, expected.X);
        QCOMPARE(reading.Y, expected.Y);
        QCOMPARE(reading.Z, expected.Z);
        QCOMPARE(args_of(m_control->callsNamed(QStringLiteral("i1d3SetLEDControl"))[0]), (QJsonArray{1, 0.2, 1.0, 1}));
    }

    void ambient_retries_and_fails()
    {
        QVERIFY(configure({{QStringLiteral("selector"), QStringLiteral("ambient")}}));
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(configure({{QStringLiteral("measure_failures"), 3}}));
        QCOMPARE(sensor.MeasureAmbient(), -1003);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureAmbient")).size(), 3);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void lost_device_is_reopened_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("code");
        QTest::newRow("measurement, USB lost") << QStringLiteral("i1d3MeasureXYZ") << -523;
        QTest::newRow("measurement, not connected") << QStringLiteral("i1d3MeasureXYZ") << -101;
        QTest::newRow("diffuser read") << QStringLiteral("i1d3ReadDiffuserPosition") << -523;
    }

    void lost_device_is_reopened()
    {
        QFETCH(QString, call);
        QFETCH(int, code);
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), call}, {QStringLiteral("code"), code}}}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QVERIFY(sensor.IsOpen());
        const QStringList names = m_control->callNames();
        const int lost = names.indexOf(call);
        QVERIFY(lost >= 0);
        QCOMPARE(result_of(m_control->calls()[lost]), code);
        // Close (fails: the device is gone), tear down, initialise, open, then the same call again.
        const QStringList reopen = QStringList{QStringLiteral("i1d3DeviceClose"), QStringLiteral("i1d3Destroy"),
                                               QStringLiteral("i1d3Initialize")}
                                   + kOpenCalls + QStringList{call};
        QCOMPARE(names.mid(lost + 1, reopen.size()), reopen);
        QCOMPARE(result_of(m_control->calls()[lost + reopen.size()]), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.Y, 100.0);
    }

    void reopened_session_gets_the_display_calibration_again()
    {
        CEyeOneDisplay3Sensor sensor;
        QCOMPARE(sensor.SetDisplayType(1, 3), 0);
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3MeasureXYZ")}}}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        const QStringList names = m_control->callNames();
        const int reopened = names.indexOf(QStringLiteral("i1d3Initialize"));
        QVERIFY(reopened > 0);
        const QStringList expected = QStringList{QStringLiteral("i1d3Initialize")} + kOpenCalls
                                     + QStringList{QStringLiteral("i1d3GetCalibrationList"),
                                                   QStringLiteral("i1d3SetCalibration"),
                                                   QStringLiteral("i1d3SetTargetLCDTime"),
                                                   QStringLiteral("i1d3SetIntegrationTime"),
                                                   QStringLiteral("i1d3SupportsAIOMode"),
                                                   QStringLiteral("i1d3SetMeasurementMode"),
                                                   QStringLiteral("i1d3MeasureXYZ")};
        QCOMPARE(names.mid(reopened, expected.size()), expected);
        const QJsonArray calls = m_control->calls();
        QCOMPARE(args_of(calls[reopened + kOpenCalls.size() + 2]).at(0).toInt(), 9);
        QCOMPARE(args_of(calls[reopened + kOpenCalls.size() + 6]).at(0).toInt(), 7);
    }

    void lost_again_while_reopening_gives_up()
    {
        CEyeOneDisplay3Sensor sensor;
        QCOMPARE(sensor.SetDisplayType(1, 3), 0);
        // Lost at the measurement, and lost again while the reopen chooses the calibration.
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3MeasureXYZ")}}},
                           {QStringLiteral("fail_calls"), fail("i1d3SetCalibration", -523)}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3Initialize")).size(), 1);
    }

    void lost_device_not_found_again()
    {
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(configure({{QStringLiteral("lose_device"), QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3MeasureXYZ")},
                                                                       {QStringLiteral("found_again"), false}}}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QVERIFY(!sensor.IsOpen());
        // One reopen, no further tries on a closed instrument.
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3Initialize")).size(), 1);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3MeasureXYZ")).size(), 1);
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
    }

    void lost_device_during_list_and_serial_reads()
    {
        CEyeOneDisplay3Sensor sensor;
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3GetCalibrationList")}}}}));
        QCOMPARE(sensor.SetDisplayType(1, 3), 0);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3Initialize")).size(), 2);
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3GetSerialNumber")}}}}));
        QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("9000123"));
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1d3Initialize")).size(), 3);
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("i1d3GetSerialNumber", -5)}}));
        QCOMPARE(sensor.GetSerialNumber(), QString());
    }

    void indicator_light_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QJsonArray>("pattern");
        QTest::newRow("on") << true << QJsonArray{1, 0.25, 0.25, 255};
        QTest::newRow("off") << false << QJsonArray{1, 0.0, 0.0, 0};
    }

    void indicator_light()
    {
        QFETCH(bool, on);
        QFETCH(QJsonArray, pattern);
        CEyeOneDisplay3Sensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.SetLed(on), 0);
        QCOMPARE(args_of(m_control->calls()[0]), pattern);
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("i1d3SetLEDControl", -5)}}));
        QCOMPARE(sensor.SetLed(on), -1003);
        // A failing light never fails a measurement.
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(sensor.GetLastLibraryResult(), -5);
    }

    void placement_record()
    {
        CEyeOneDisplay3Sensor sensor;
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        const QString folder = QStringLiteral(":/images/Resources/");
        QCOMPARE(info.displayPicture, folder + QStringLiteral("i1d3 on display.png"));
        QCOMPARE(info.calibrationPicture, folder + QStringLiteral("i1d3 placement ambient.png"));
        QCOMPARE(info.ambientPicture, folder + QStringLiteral("i1d3 placement ambient.png"));
        QCOMPARE(info.selectorToAmbientPicture, folder + QStringLiteral("i1d3 rotate to ambient.png"));
        QCOMPARE(info.selectorToDisplayPicture, folder + QStringLiteral("i1d3 rotate to emissive.png"));
        QCOMPARE(info.iconPicture, folder + QStringLiteral("sensor icon_i1d3.png"));
        QCOMPARE(info.ambientMessage, QStringLiteral("Place the color sensor in the center of the display screen with "
                                                     "the white diffuser is pointing away from the display."));
        QCOMPARE(info.calibrationMessage, QString());
        QCOMPARE(info.selectorMessage, QStringLiteral("Turn the sensor in the housing as shown so the lens is exposed."));
        QCOMPARE(info.beforeDisplayMessage,
                 QStringLiteral("<html>Turn the sensor housing as shown so the lens is exposed.<br><br><center><img "
                                "src=\":/images/Resources/i1d3 rotate to emissive.png\"></center></html>"));
        QCOMPARE(info.beforeAmbientMessage,
                 QStringLiteral("<html>Turn the sensor housing as shown so the diffuser covers the lens.<br><br></html>"));
        for (const QString &picture : {info.displayPicture, info.calibrationPicture, info.selectorToAmbientPicture,
                                       info.selectorToDisplayPicture, info.iconPicture})
            QVERIFY2(QFile::exists(picture), qPrintable(picture));
    }

    void selector_pictures()
    {
        CEyeOneDisplay3Sensor sensor;
        const QImage ambient = sensor.GetMeasurementSelectorPixmap(3);
        const QImage display = sensor.GetMeasurementSelectorPixmap(0);
        QVERIFY(!ambient.isNull());
        QVERIFY(!display.isNull());
        QCOMPARE(sensor.GetMeasurementSelectorPixmap(1), display);
        QCOMPARE(ambient, QImage(QStringLiteral(":/images/Resources/i1d3 rotate to ambient.png"))
                              .convertToFormat(ambient.format()));
    }
};

QTEST_GUILESS_MAIN(tst_eye_one_display3)
#include "tst_eye_one_display3.moc"
