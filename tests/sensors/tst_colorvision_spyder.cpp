#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"
#include "single_library_folder.h"

#include "resources/tessaline_resources.h"
#include "sensors/CColorvisionSpyder.h"
#include "sensors/CTargetSensor.h"
#include "sensors/datacolor_spyder.h"
#include "sensors/sensor_status.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.2/1");
const int kAlreadyStarted = 0x20001;

QJsonObject model(int number, bool refuseStartup = false)
{
    return {{QStringLiteral("family"),
             QJsonObject{{QStringLiteral("model"), number}, {QStringLiteral("refuse_startup"), refuseStartup}}}};
}

bool library_mapped(const QString &path)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QFile::encodeName(path));
}

} // namespace

class tst_colorvision_spyder : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_colorvision_spyder() : simulated_family_fixture(kDisplay) {}

private:
    // The time codes of the readings taken since the log was cleared.
    QList<int> timeCodes() const { return first_numbers(m_control->callsNamed(QStringLiteral("DC_GetXYZ"))); }

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily("libdccmtr.so"));
    }

    void init()
    {
        QVERIFY(resetFamily(0.0, one_device()));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void model_found_by_its_start_code_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<int>("productId");
        QTest::addColumn<bool>("displayTypes");
        QTest::newRow("Spyder4: first code") << 4 << QList<int>{1024} << QStringLiteral("Datacolor Spyder4")
                                             << QStringLiteral("Spyder4") << 0x0400 << true;
        QTest::newRow("Spyder3: second code") << 3 << QList<int>{1024, 768} << QStringLiteral("Datacolor Spyder3")
                                              << QStringLiteral("Spyder3") << 0x0300 << false;
        QTest::newRow("Spyder5: third code") << 5 << QList<int>{1024, 768, 1280} << QStringLiteral("Datacolor Spyder5")
                                             << QStringLiteral("Spyder5") << 0x0500 << true;
    }

    void model_found_by_its_start_code()
    {
        QFETCH(int, model);
        QFETCH(QList<int>, codes);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QFETCH(int, productId);
        QFETCH(bool, displayTypes);
        QVERIFY(configure(::model(model)));
        {
            CColorvisionSpyder sensor;
            QVERIFY(sensor.IsOpen());
            QCOMPARE(sensor.GetModel(), model);
            QCOMPARE(sensor.GetName(), name);
            QCOMPARE(sensor.GetShortName(), shortName);
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("4217"));
            QCOMPARE(sensor.SupportsDisplayTypes(), displayTypes);
            QVERIFY(sensor.SupportsAmbient());
            QVERIFY(!sensor.IsModelUnknown());
            QVERIFY(!sensor.RequiresCalibration());
            QVERIFY(!sensor.HasMeasurementSelector());
            QCOMPARE(sensor.Calibrate(), 0);
            quint16 vendor = 0, product = 0;
            QVERIFY(sensor.GetUsbIds(vendor, product));
            QCOMPARE(vendor, quint16(0x085C));
            QCOMPARE(product, quint16(productId));
            // Each refused code is asked why before the next is tried.
            QStringList expected;
            for (int i = 0; i < codes.size(); ++i)
                expected << QStringLiteral("DC_Startup")
                         << (i + 1 < codes.size() ? QStringLiteral("DC_GetDetailedError") : QString());
            expected.removeAll(QString());
            QCOMPARE(m_control->callNames(), expected);
            QCOMPARE(first_numbers(m_control->callsNamed(QStringLiteral("DC_Startup"))), codes);
            m_control->clearCalls();
        }
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("DC_Shutdown")});
    }

    void refused_start_up_counts_as_started()
    {
        QVERIFY(configure(model(4, true)));
        CColorvisionSpyder sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QStringLiteral("Datacolor Spyder4"));
        const QJsonArray calls = m_control->calls();
        QCOMPARE(m_control->callNames(), (QStringList{QStringLiteral("DC_Startup"), QStringLiteral("DC_GetDetailedError")}));
        QCOMPARE(result_of(calls[0]), 0);
        QCOMPARE(result_of(calls[1]), kAlreadyStarted);
        // The refused start-up filled no block: no serial number.
        QCOMPARE(sensor.GetSerialNumber(), QString());
        QCOMPARE(sensor.MeasureXYZ(1), 0);
    }

    void refused_with_another_error_tries_the_next_model()
    {
        QVERIFY(configure(model(3)));
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("DC_Startup", 0x20002, 1)}}));
        CColorvisionSpyder sensor;
        QCOMPARE(sensor.GetModel(), 3);
        QCOMPARE(first_numbers(m_control->callsNamed(QStringLiteral("DC_Startup"))), (QList<int>{1024, 768}));
    }

    void no_instrument_stays_closed_data()
    {
        QTest::addColumn<QJsonObject>("settings");
        QTest::newRow("no device") << QJsonObject{{QStringLiteral("device_count"), 0}};
        QTest::newRow("unknown model") << model(2);
    }

    void no_instrument_stays_closed()
    {
        QFETCH(QJsonObject, settings);
        QVERIFY(configure(settings));
        {
            CColorvisionSpyder sensor;
            QVERIFY(!sensor.IsOpen());
            QCOMPARE(sensor.Open(), -1);
            QCOMPARE(sensor.GetModel(), 0);
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
            CCIEXYZ reading;
            QCOMPARE(sensor.GetXYZ(reading), -1003);
            QCOMPARE(m_control->callNames(), QStringList());
            m_control->clearCalls();
        }
        // Nothing was started, so nothing is shut down.
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CColorvisionSpyder sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QStringLiteral("None"));
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.MeasureAmbient(), -1);
        QCOMPARE(sensor.SetDisplayType(1, 3), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void library_missing_a_name_is_freed()
    {
        const QString folder = m_environment->root() + QStringLiteral("/partial-dccmtr");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/libdccmtr.so");
        QVERIFY(QFile::copy(QStringLiteral(PARTIAL_DCCMTR_LIBRARY), path));
        sensor_test_environment::useLibraryFolder(folder);
        CColorvisionSpyder sensor;
        QVERIFY(!sensor.IsOpen());
        QVERIFY(!library_mapped(path));
        QCOMPARE(sensor.SetDisplayType(1, 1), -1003);
        QVERIFY(!library_mapped(path));
    }

    void probe_reading_chooses_the_time_code_data()
    {
        QTest::addColumn<double>("Y");
        QTest::addColumn<int>("timeCode");
        QTest::newRow("dark") << 0.0 << 300;
        QTest::newRow("4.9") << 4.9 << 300;
        QTest::newRow("5") << 5.0 << 150;
        QTest::newRow("19.9") << 19.9 << 150;
        QTest::newRow("20") << 20.0 << 90;
        QTest::newRow("bright") << 250.0 << 90;
    }

    void probe_reading_chooses_the_time_code()
    {
        QFETCH(double, Y);
        QFETCH(int, timeCode);
        QVERIFY(publish(Y * 0.95, Y, Y * 1.089));
        CColorvisionSpyder sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(5), 0);
        QCOMPARE(timeCodes(), (QList<int>{6, timeCode}));
        QCOMPARE(sensor.GetRepeatCount(), 1u);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // Tolerance: the library reports thousandths.
        QVERIFY(std::abs(reading.X - Y * 0.95) <= 0.0005);
        QVERIFY(std::abs(reading.Y - Y) <= 0.0005);
        QVERIFY(std::abs(reading.Z - Y * 1.089) <= 0.0005);
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void low_light_averaging_data()
    {
        QTest::addColumn<bool>("averaging");
        QTest::addColumn<double>("Y");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("on, Y 2: two readings, the second longer") << true << 2.0 << QList<int>{6, 300, 600};
        QTest::newRow("on, Y 2.99") << true << 2.99 << QList<int>{6, 300, 600};
        QTest::newRow("on, Y 3") << true << 3.0 << QList<int>{6, 300, 300};
        QTest::newRow("on, Y 9.99") << true << 9.99 << QList<int>{6, 150, 300};
        QTest::newRow("on, Y 10: one reading") << true << 10.0 << QList<int>{6, 150};
        QTest::newRow("off, Y 2: one reading") << false << 2.0 << QList<int>{6, 300};
    }

    void low_light_averaging()
    {
        QFETCH(bool, averaging);
        QFETCH(double, Y);
        QFETCH(QList<int>, codes);
        const auto preferences = sensor_test_environment::preferences(averaging);
        QVERIFY(preferences);
        QVERIFY(publish(Y, Y, Y));
        CColorvisionSpyder sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(timeCodes(), codes);
        QCOMPARE(sensor.GetRepeatCount(), unsigned(codes.size() - 1));
    }

    void averages_the_readings_after_the_probe()
    {
        const auto preferences = sensor_test_environment::preferences(true);
        QVERIFY(preferences);
        QVERIFY(publish(1.0, 2.0, 3.0));
        QVERIFY(configure({{QStringLiteral("noise_absolute"), 0.05}, {QStringLiteral("noise_seed"), 5}}));
        CColorvisionSpyder sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        const QJsonArray readings = m_control->callsNamed(QStringLiteral("DC_GetXYZ"));
        QCOMPARE(readings.size(), 3);
        double sumY = 0.0;
        for (int i = 1; i < readings.size(); ++i)
            sumY += out_of(readings[i]).at(1).toInt() / 1000.0;
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // Tolerance: two thousandths-based doubles halved, a few ulps.
        QVERIFY(std::abs(reading.Y - sumY / 2.0) <= 1e-12);
    }

    void negative_components_become_zero()
    {
        QVERIFY(publish(0.0, 0.0, 0.0));
        QVERIFY(configure({{QStringLiteral("stray_light"),
                            QJsonObject{{QStringLiteral("X"), -0.4}, {QStringLiteral("Y"), 30.0}, {QStringLiteral("Z"), -1.5}}}}));
        CColorvisionSpyder sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.X, 0.0);
        QCOMPARE(reading.Y, 30.0);
        QCOMPARE(reading.Z, 0.0);
    }

    void measurement_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<QStringList>("calls");
        // The probe's failure is asked about; the reading's is not.
        QTest::newRow("probe fails") << QJsonObject{{QStringLiteral("fail_calls"), fail("DC_GetXYZ", 0x30001, 1)}}
                                     << QStringList{QStringLiteral("DC_GetXYZ"), QStringLiteral("DC_GetDetailedError")};
        QTest::newRow("reading fails")
            << QJsonObject{{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), QStringLiteral("DC_GetXYZ")}, {QStringLiteral("after"), 1}}}}
            << QStringList{QStringLiteral("DC_GetXYZ"), QStringLiteral("DC_GetXYZ")};
    }

    void measurement_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(QStringList, calls);
        CColorvisionSpyder sensor;
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QVERIFY(configure(fault));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QCOMPARE(m_control->callNames(), calls);
        // The earlier reading, handed out or not, is gone.
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void ambient_reading()
    {
        QVERIFY(configure({{QStringLiteral("ambient_lux"), 250.4}}));
        CColorvisionSpyder sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), 0);
        QCOMPARE(m_control->callNames(),
                 (QStringList{QStringLiteral("DC_WriteAmbientLightControlRegVal"), QStringLiteral("DC_ReadAmbientLightLevel"),
                              QStringLiteral("DC_WriteAmbientLightControlRegVal")}));
        const QJsonArray calls = m_control->calls();
        QCOMPARE(args_of(calls[0]), QJsonArray{3});
        QCOMPARE(args_of(calls[2]), QJsonArray{0});
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.X, 0.0);
        QCOMPARE(reading.Y, 250.0);
        QCOMPARE(reading.Z, 0.0);
    }

    void ambient_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<QStringList>("calls");
        const QString control = QStringLiteral("DC_WriteAmbientLightControlRegVal");
        const QString read = QStringLiteral("DC_ReadAmbientLightLevel");
        const QString why = QStringLiteral("DC_GetDetailedError");
        QTest::newRow("switching on") << QJsonObject{{QStringLiteral("fail_calls"), fail(qPrintable(control), 0x30002, 1)}}
                                      << QStringList{control, why};
        QTest::newRow("reading") << QJsonObject{{QStringLiteral("fail_calls"), fail(qPrintable(read), 0x30002, 1)}}
                                 << QStringList{control, read, why};
        QTest::newRow("switching off")
            << QJsonObject{{QStringLiteral("lose_device"),
                            QJsonObject{{QStringLiteral("call"), control}, {QStringLiteral("after"), 1}}}}
            << QStringList{control, read, control, why};
    }

    void ambient_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(QStringList, calls);
        CColorvisionSpyder sensor;
        QVERIFY(configure(fault));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), -1003);
        QCOMPARE(m_control->callNames(), calls);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void calibration_entry_for_the_display_type_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("displayType");
        QTest::addColumn<int>("entry");
        for (int model : {4, 5}) {
            const QList<QPair<int, int>> rows = {{0, 2}, {1, 4}, {2, 6}, {3, 5}, {4, 6}, {5, 2}};
            for (const auto &row : rows)
                QTest::addRow("Spyder%d type %d", model, row.first) << model << row.first << row.second;
        }
        for (int type : {0, 1, 2, 3, 4})
            QTest::addRow("Spyder3 type %d", type) << 3 << type << 2;
    }

    void calibration_entry_for_the_display_type()
    {
        QFETCH(int, model);
        QFETCH(int, displayType);
        QFETCH(int, entry);
        QVERIFY(configure(::model(model)));
        CColorvisionSpyder sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(1, displayType), 0);
        QCOMPARE(sensor.GetDisplayFlag(), 1);
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("DC_UseCalibration")});
        QCOMPARE(args_of(m_control->calls()[0]), QJsonArray{entry});
    }

    void refused_calibration_starts_anew_once_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("calls");
        const QString use = QStringLiteral("DC_UseCalibration");
        const QString why = QStringLiteral("DC_GetDetailedError");
        const QStringList restart{QStringLiteral("DC_Shutdown"), QStringLiteral("DC_Startup")};
        QTest::newRow("Spyder4, taken after the restart") << 4 << 1 << 0 << (QStringList{use, why} + restart + QStringList{use});
        QTest::newRow("Spyder4, refused again") << 4 << 2 << -1003 << (QStringList{use, why} + restart + QStringList{use});
        QTest::newRow("Spyder3, no restart") << 3 << 1 << -1003 << QStringList{use, why};
    }

    void refused_calibration_starts_anew_once()
    {
        QFETCH(int, model);
        QFETCH(int, refusals);
        QFETCH(int, status);
        QFETCH(QStringList, calls);
        QVERIFY(configure(::model(model)));
        CColorvisionSpyder sensor;
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("DC_UseCalibration", 0x30003, refusals)}}));
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(1, 3), status);
        QCOMPARE(m_control->callNames(), calls);
        QVERIFY(sensor.IsOpen());
    }

    void restart_finding_no_instrument_closes_the_driver()
    {
        CColorvisionSpyder sensor;
        QVERIFY(configure({{QStringLiteral("calibration_fails"), true}, {QStringLiteral("device_count"), 0}}));
        QCOMPARE(sensor.SetDisplayType(1, 2), -1003);
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.GetName(), QStringLiteral("None"));
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
    }

    void display_type_opens_a_closed_driver()
    {
        QVERIFY(configure({{QStringLiteral("device_count"), 0}}));
        CColorvisionSpyder sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.SetDisplayType(1, 1), -1003);
        QVERIFY(configure({{QStringLiteral("device_count"), 1}}));
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(1, 1), 0);
        QVERIFY(sensor.IsOpen());
        // The library still loaded from the failed start is shut down first.
        QCOMPARE(m_control->callNames(), (QStringList{QStringLiteral("DC_Shutdown"), QStringLiteral("DC_Startup"),
                                                      QStringLiteral("DC_UseCalibration")}));
        QCOMPARE(sensor.MeasureXYZ(1), 0);
    }

    void serial_number_stays_inside_the_block_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("expected");
        QTest::newRow("four characters fill the block") << QStringLiteral("4217") << QStringLiteral("4217");
        QTest::newRow("shorter, NUL-padded") << QStringLiteral("42") << QStringLiteral("42");
        QTest::newRow("longer than the block holds") << QStringLiteral("ABCDEFGH") << QStringLiteral("ABCD");
        QTest::newRow("none") << QString() << QString();
    }

    void serial_number_stays_inside_the_block()
    {
        QFETCH(QString, serial);
        QFETCH(QString, expected);
        QVERIFY(configure({{QStringLiteral("serial"), serial}}));
        CColorvisionSpyder sensor;
        QCOMPARE(sensor.GetSerialNumber(), expected);
    }

    void serial_number_reading_stops_at_the_block_end()
    {
        datacolor_spyder::information_block block;
        block.fill('7');
        QCOMPARE(datacolor_spyder::serial_number(block), QStringLiteral("7777"));
        block[10] = 0;
        QCOMPARE(datacolor_spyder::serial_number(block), QStringLiteral("77"));
        block.fill(0);
        QCOMPARE(datacolor_spyder::serial_number(block), QString());
    }

    void measurement_mode_is_kept_unchecked()
    {
        CColorvisionSpyder sensor;
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(sensor.GetMeasurementMode(), 2);
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(sensor.SetMeasurementMode(7), 0);
        QCOMPARE(sensor.MeasureAmbient(), 0);
    }

    void placement_record_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("stem");
        QTest::newRow("Spyder3") << 3 << QStringLiteral("spyder3");
        QTest::newRow("Spyder4") << 4 << QStringLiteral("spyder3");
        QTest::newRow("Spyder5") << 5 << QStringLiteral("spyder5");
    }

    void placement_record()
    {
        QFETCH(int, model);
        QFETCH(QString, stem);
        QVERIFY(configure(::model(model)));
        CColorvisionSpyder sensor;
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        const QString folder = QStringLiteral(":/images/Resources/");
        QCOMPARE(info.displayPicture, folder + stem + QStringLiteral(".png"));
        QCOMPARE(info.calibrationPicture, folder + stem + QStringLiteral(".png"));
        QCOMPARE(info.ambientPicture, folder + stem + QStringLiteral(" ambient measure.png"));
        QCOMPARE(info.iconPicture, folder + QStringLiteral("sensor icon_") + stem + QStringLiteral(".png"));
        QCOMPARE(info.ambientMessage, QStringLiteral("Position the color sensor as shown in the center of the screen."));
        QCOMPARE(info.calibrationMessage, QString());
        QCOMPARE(info.selectorToAmbientPicture, QString());
        QCOMPARE(info.beforeDisplayMessage, QString());
        for (const QString &picture : {info.displayPicture, info.ambientPicture, info.iconPicture})
            QVERIFY2(QFile::exists(picture), qPrintable(picture));
    }

    void detected_in_the_factory_order()
    {
        single_library_folder folder("libdccmtr.so");
        QVERIFY(folder.isValid());
        simulated_instrument_control &control = folder.control();
        QVERIFY(control.configure({{QStringLiteral("device_count"), 1}, {QStringLiteral("time_scale"), 0.0}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 5);
        // The i1Pro, i1Display and i1Studio come first.
        QCOMPARE(record.events, detection::found_after(3, QStringLiteral("Datacolor Spyder4")));
        QVERIFY(factory.GetSensor()->IsOpen());
    }

    void passed_over_without_an_instrument()
    {
        single_library_folder folder("libdccmtr.so");
        QVERIFY(folder.isValid());
        simulated_instrument_control &control = folder.control();
        QVERIFY(control.configure({{QStringLiteral("device_count"), 0}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(!factory.DetectSensor());
        QCOMPARE(record.lastDetected(), QStringLiteral("-"));
        QCOMPARE(first_numbers(control.callsNamed(QStringLiteral("DC_Startup"))), (QList<int>{1024, 768, 1280}));
        QVERIFY(!control.callNames().contains(QStringLiteral("DC_Shutdown")));
    }
};

QTEST_GUILESS_MAIN(tst_colorvision_spyder)
#include "tst_colorvision_spyder.moc"
