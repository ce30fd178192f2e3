#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"
#include "single_library_folder.h"

#include "resources/tessaline_resources.h"
#include "sensors/CDataColorSpyderXSensor.h"
#include "sensors/CTargetSensor.h"
#include "sensors/sensor_status.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.3/1");
const int kAlreadyStarted = 0x20001;

} // namespace

class tst_spyderx : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_spyderx() : simulated_family_fixture(kDisplay) {}

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily("libdcxmtr.so"));
    }

    void init()
    {
        QVERIFY(resetFamily(0.0, one_device()));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void opens_and_shuts_down()
    {
        {
            CDataColorSpyderXSensor sensor;
            QVERIFY(sensor.IsOpen());
            QCOMPARE(sensor.GetModel(), 6);
            QCOMPARE(sensor.GetName(), QStringLiteral("Datacolor SpyderX"));
            QCOMPARE(sensor.GetShortName(), QStringLiteral("SpyderX"));
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("X815"));
            QVERIFY(sensor.SupportsAmbient());
            QVERIFY(sensor.SupportsDisplayTypes());
            QVERIFY(!sensor.IsModelUnknown());
            QVERIFY(!sensor.RequiresCalibration());
            QCOMPARE(sensor.Calibrate(), 0);
            QVERIFY(sensor.IsCalibrated());
            quint16 vendor = 0, product = 0;
            QVERIFY(sensor.GetUsbIds(vendor, product));
            QCOMPARE(vendor, quint16(0x085C));
            QCOMPARE(product, quint16(0x0A00));
            QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("DCX_Startup")});
            QCOMPARE(args_of(m_control->calls()[0]), QJsonArray{2560});
            m_control->clearCalls();
        }
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("DCX_Shutdown")});
    }

    void refused_start_up_counts_as_started()
    {
        QVERIFY(configure({{QStringLiteral("family"), QJsonObject{{QStringLiteral("refuse_startup"), true}}}}));
        CDataColorSpyderXSensor sensor;
        QVERIFY(sensor.IsOpen());
        const QJsonArray calls = m_control->calls();
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("DCX_Startup"), QStringLiteral("DCX_GetDetailedError")}));
        QCOMPARE(result_of(calls[0]), 0);
        QCOMPARE(result_of(calls[1]), kAlreadyStarted);
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QCOMPARE(sensor.MeasureXYZ(1), 0);
    }

    void not_started_stays_closed_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::newRow("no device") << QJsonObject{{QStringLiteral("device_count"), 0}};
        QTest::newRow("start-up fails") << QJsonObject{{QStringLiteral("open_fails"), true}};
    }

    void not_started_stays_closed()
    {
        QFETCH(QJsonObject, fault);
        QVERIFY(configure(fault));
        {
            CDataColorSpyderXSensor sensor;
            QVERIFY(!sensor.IsOpen());
            QCOMPARE(sensor.Open(), -1);
            QCOMPARE(sensor.GetName(), QStringLiteral("None"));
            QCOMPARE(sensor.GetShortName(), QStringLiteral("None"));
            QCOMPARE(sensor.GetSerialNumber(), QString());
            QVERIFY(sensor.IsModelUnknown());
            QVERIFY(!sensor.SupportsAmbient());
            QVERIFY(!sensor.SupportsDisplayTypes());
            quint16 vendor = 1, product = 1;
            QVERIFY(!sensor.GetUsbIds(vendor, product));
            QCOMPARE(vendor, quint16(0));
            QCOMPARE(product, quint16(0));
            m_control->clearCalls();
            QCOMPARE(sensor.MeasureXYZ(1), -1000);
            QCOMPARE(sensor.MeasureAmbient(), -1);
            QCOMPARE(m_control->callNames(), QStringList());
            m_control->clearCalls();
        }
        QVERIFY(!m_control->callNames().contains(QStringLiteral("DCX_Shutdown")));
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CDataColorSpyderXSensor sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.MeasureAmbient(), -1);
        QCOMPARE(sensor.SetDisplayType(1, 3), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void one_reading_without_averaging()
    {
        const auto preferences = sensor_test_environment::preferences(true);
        QVERIFY(preferences);
        QVERIFY(publish(1.9, 2.0, 2.2));
        CDataColorSpyderXSensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(3), 0);
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("DCX_GetXYZ")});
        QCOMPARE(sensor.GetRepeatCount(), 1u);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.X, 1.9);
        QCOMPARE(reading.Y, 2.0);
        QCOMPARE(reading.Z, 2.2);
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void negative_components_become_zero()
    {
        QVERIFY(publish(0.0, 0.0, 0.0));
        QVERIFY(configure({{QStringLiteral("stray_light"),
                            QJsonObject{{QStringLiteral("X"), -0.4}, {QStringLiteral("Y"), 12.5}, {QStringLiteral("Z"), -1.5}}}}));
        CDataColorSpyderXSensor sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.X, 0.0);
        QCOMPARE(reading.Y, 12.5);
        QCOMPARE(reading.Z, 0.0);
    }

    void failed_reading_is_asked_about()
    {
        CDataColorSpyderXSensor sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QVERIFY(configure({{QStringLiteral("measure_failures"), 1}, {QStringLiteral("failure_code"), 0x30004}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("DCX_GetXYZ"), QStringLiteral("DCX_GetDetailedError")}));
        QCOMPARE(result_of(m_control->calls()[1]), 0x30004);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void ambient_reading_takes_the_second_level()
    {
        QVERIFY(configure({{QStringLiteral("ambient_lux"), 80.0}, {QStringLiteral("noise_absolute"), 3.0},
                           {QStringLiteral("noise_seed"), 11}}));
        CDataColorSpyderXSensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), 0);
        const QJsonArray levels = m_control->callsNamed(QStringLiteral("DCX_ReadAmbientLightLevel"));
        QCOMPARE(m_control->callNames().size(), 2);
        QCOMPARE(levels.size(), 2);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.X, 0.0);
        QCOMPARE(reading.Y, double(out_of(levels[1]).at(0).toInt()));
        QCOMPARE(reading.Z, 0.0);
        QVERIFY(out_of(levels[0]).at(0).toInt() != out_of(levels[1]).at(0).toInt());
    }

    void ambient_failures_data()
    {
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("reads");
        QTest::newRow("first level") << 0 << 1;
        QTest::newRow("second level") << 1 << 2;
    }

    void ambient_failures()
    {
        QFETCH(int, after);
        QFETCH(int, reads);
        CDataColorSpyderXSensor sensor;
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("DCX_ReadAmbientLightLevel")},
                                        {QStringLiteral("after"), after}}}}));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), -1003);
        QCOMPARE(m_control->callsNamed(QStringLiteral("DCX_ReadAmbientLightLevel")).size(), reads);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void calibration_entry_for_the_display_type_data()
    {
        QTest::addColumn<int>("displayType");
        QTest::addColumn<int>("entry");
        QTest::newRow("type 0 (CCFL)") << 0 << 1;
        QTest::newRow("type 1") << 1 << 0;
        QTest::newRow("type 2") << 2 << 2;
        QTest::newRow("type 3 (LED)") << 3 << 1;
        QTest::newRow("type 4") << 4 << 3;
        QTest::newRow("type 5") << 5 << 1;
    }

    void calibration_entry_for_the_display_type()
    {
        QFETCH(int, displayType);
        QFETCH(int, entry);
        CDataColorSpyderXSensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(0, displayType), 0);
        QCOMPARE(sensor.GetDisplayFlag(), 0);
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("DCX_UseCalibration")});
        QCOMPARE(args_of(m_control->calls()[0]), QJsonArray{entry});
    }

    void refused_calibration_restarts_once_data()
    {
        QTest::addColumn<int>("refusals");
        QTest::addColumn<int>("status");
        QTest::newRow("taken after the restart") << 1 << 0;
        QTest::newRow("refused again") << 2 << -1003;
    }

    void refused_calibration_restarts_once()
    {
        QFETCH(int, refusals);
        QFETCH(int, status);
        CDataColorSpyderXSensor sensor;
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("DCX_UseCalibration", 0x30005, refusals)}}));
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(1, 4), status);
        // The running instrument refuses the second start-up, which counts
        // as started.
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("DCX_UseCalibration"), QStringLiteral("DCX_GetDetailedError"),
                              QStringLiteral("DCX_Startup"), QStringLiteral("DCX_GetDetailedError"),
                              QStringLiteral("DCX_UseCalibration")}));
        const QJsonArray calls = m_control->calls();
        QCOMPARE(result_of(calls[1]), 0x30005);
        QCOMPARE(result_of(calls[3]), kAlreadyStarted);
        QVERIFY(sensor.IsOpen());
    }

    void restart_failing_closes_the_driver()
    {
        CDataColorSpyderXSensor sensor;
        QVERIFY(configure({{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("DCX_UseCalibration")},
                                        {QStringLiteral("found_again"), false}}}}));
        QCOMPARE(sensor.SetDisplayType(1, 2), -1003);
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QStringLiteral("None"));
        QCOMPARE(m_control->callsNamed(QStringLiteral("DCX_UseCalibration")).size(), 1);
    }

    void display_type_restarts_a_closed_driver()
    {
        QVERIFY(configure({{QStringLiteral("device_count"), 0}}));
        CDataColorSpyderXSensor sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.SetDisplayType(1, 1), -1003);
        QVERIFY(configure({{QStringLiteral("device_count"), 1}}));
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(1, 1), 0);
        QVERIFY(sensor.IsOpen());
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("DCX_Startup"), QStringLiteral("DCX_UseCalibration")}));
        QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("X815"));
        QCOMPARE(sensor.MeasureXYZ(1), 0);
    }

    void serial_number_stays_inside_the_block_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("expected");
        QTest::newRow("four characters fill the block") << QStringLiteral("X815") << QStringLiteral("X815");
        QTest::newRow("shorter, NUL-padded") << QStringLiteral("X8") << QStringLiteral("X8");
        QTest::newRow("longer than the block holds") << QStringLiteral("SX123456") << QStringLiteral("SX12");
    }

    void serial_number_stays_inside_the_block()
    {
        QFETCH(QString, serial);
        QFETCH(QString, expected);
        QVERIFY(configure({{QStringLiteral("serial"), serial}}));
        CDataColorSpyderXSensor sensor;
        QCOMPARE(sensor.GetSerialNumber(), expected);
    }

    void placement_record()
    {
        CDataColorSpyderXSensor sensor;
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        const QString folder = QStringLiteral(":/images/Resources/");
        QCOMPARE(info.displayPicture, folder + QStringLiteral("spyderX.png"));
        QCOMPARE(info.calibrationPicture, folder + QStringLiteral("spyderX.png"));
        QCOMPARE(info.ambientPicture, folder + QStringLiteral("spyderX ambient measure.png"));
        QCOMPARE(info.iconPicture, folder + QStringLiteral("sensor icon_spyderX.png"));
        QCOMPARE(info.ambientMessage, QStringLiteral("Position the color sensor as shown in the center of the screen."));
        QCOMPARE(info.calibrationMessage, QString());
        for (const QString &picture : {info.displayPicture, info.ambientPicture, info.iconPicture})
            QVERIFY2(QFile::exists(picture), qPrintable(picture));
    }

    void detected_last_in_the_factory_order()
    {
        single_library_folder folder("libdcxmtr.so");
        QVERIFY(folder.isValid());
        simulated_instrument_control &control = folder.control();
        QVERIFY(control.configure({{QStringLiteral("device_count"), 1}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 6);
        // Every other kind is tried first.
        QCOMPARE(record.events, detection::found_after(7, QStringLiteral("Datacolor SpyderX")));
    }

    void passed_over_without_an_instrument()
    {
        single_library_folder folder("libdcxmtr.so");
        QVERIFY(folder.isValid());
        simulated_instrument_control &control = folder.control();
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(!factory.DetectSensor());
        QCOMPARE(record.lastDetected(), QStringLiteral("-"));
        // The library's own default: present, no instrument attached.
        QCOMPARE(control.callNames(), (QStringList{QStringLiteral("DCX_Startup"), QStringLiteral("DCX_GetDetailedError")}));
    }
};

QTEST_GUILESS_MAIN(tst_spyderx)
#include "tst_spyderx.moc"
