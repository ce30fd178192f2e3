#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"

#include "resources/tessaline_resources.h"
#include "sensors/CEyeOneDisplaySensor.h"
#include "sensors/CTargetSensor.h"
#include "sensors/sensor_status.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.3/1");

// Readings pass through floats: compare to their precision.
bool near_float(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

QJsonArray option(const char *name, const char *value)
{
    return QJsonArray{QLatin1String(name), QLatin1String(value)};
}

} // namespace

class tst_eye_one_display : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_eye_one_display() : simulated_family_fixture(kDisplay) {}

private:
    // Without the ambient mode the instrument is a first-generation i1Display.
    bool makeFirstGeneration()
    {
        return configure(family({{QStringLiteral("AvailableMeasurementModes"), QStringLiteral("SingleEmission")}}));
    }
    QJsonArray settingsMade() const { return m_control->callsNamed(QStringLiteral("I1_SetOption")); }

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily("libeyeone.so"));
    }

    void init()
    {
        QVERIFY(resetFamily(0.001, one_device()));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void opens_and_closes_the_instrument()
    {
        {
            CEyeOneDisplaySensor sensor;
            QVERIFY(sensor.IsOpen());
            QVERIFY(sensor.IsLibraryBound());
            QCOMPARE(m_control->callNames(),
                     (QStringList{QStringLiteral("I1_SetOption"), QStringLiteral("I1_IsConnected"),
                                  QStringLiteral("I1_SetOption"), QStringLiteral("I1_GetOption"),
                                  QStringLiteral("I1_SetOption"), QStringLiteral("I1_SetOption"),
                                  QStringLiteral("I1_GetOption"), QStringLiteral("I1_SetOption"),
                                  QStringLiteral("I1_SetOption"), QStringLiteral("I1_SetOption")}));
            const QJsonArray settings = settingsMade();
            QCOMPARE(args_of(settings[0]), option("DeviceType", "EyeOneDisplay"));
            QCOMPARE(args_of(settings[1]), option("DeviceType", "EyeOneDisplay"));
            QCOMPARE(args_of(settings[2]), option("MeasurementMode", "SingleEmission"));
            QCOMPARE(args_of(settings[3]), option("AdaptiveMode", "1"));
            QCOMPARE(args_of(settings[4]), option("Colorimetric.Illumination", "Emission"));
            QCOMPARE(args_of(settings[5]), option("ColorSpaceDescription.Type", "CIEXYZ"));
            QCOMPARE(args_of(settings[6]), option("ScreenType", "LCD"));
            QCOMPARE(first_texts(m_control->callsNamed(QStringLiteral("I1_GetOption"))),
                     (QStringList{QStringLiteral("AvailableMeasurementModes"), QStringLiteral("SerialNumber")}));
            QCOMPARE(sensor.GetMeasurementMode(), 1);
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("700123"));
            m_control->clearCalls();
        }
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("I1_SetOption")});
        QCOMPARE(args_of(m_control->calls()[0]), option("MeasurementMode", "Cleanup"));
    }

    void fixed_capabilities()
    {
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.HasMeasurementSelector());
        QVERIFY(sensor.ShowsPlacementHint());
        QVERIFY(!sensor.SupportsDisplayTypes());
        QVERIFY(!sensor.HasLedControl());
        QCOMPARE(sensor.AfterOpen(), 0);
        quint16 vendor = 0, product = 0;
        QVERIFY(sensor.GetUsbIds(vendor, product));
        QCOMPARE(vendor, quint16(0x0971));
        QCOMPARE(product, quint16(0x2003));
    }

    void model_from_modes_and_serial_number_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<bool>("ambientMode");
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        const QString first = QStringLiteral("Gretag i1Display");
        const QString second = QStringLiteral("X-Rite i1Display 2");
        const QString branded = QStringLiteral("Varkel iOne Display v2");
        const QString wide = QStringLiteral("Varkel iOne Display v2 WG");
        const QString lyra = QStringLiteral("Varkel LYRASENSOR (Custom iOne Display v2)");
        QTest::newRow("plain, ambient mode") << "700123" << true << 2 << second << "i1Display 2";
        QTest::newRow("plain, no ambient mode") << "700123" << false << 1 << first << "i1Display";
        QTest::newRow("949999") << "949999" << true << 2 << second << "i1Display 2";
        QTest::newRow("950000") << "950000" << true << 4 << wide << "i1Disp.v2 WG";
        QTest::newRow("950500") << "950500" << false << 4 << wide << "i1Disp.v2 WG";
        QTest::newRow("950999") << "950999" << true << 4 << wide << "i1Disp.v2 WG";
        QTest::newRow("951000") << "951000" << true << 5 << lyra << "LYRASENSOR";
        QTest::newRow("964998") << "964998" << false << 5 << lyra << "LYRASENSOR";
        QTest::newRow("964999 keeps the model") << "964999" << true << 2 << second << "i1Display 2";
        QTest::newRow("964999, no ambient mode") << "964999" << false << 1 << first << "i1Display";
        QTest::newRow("965000") << "965000" << true << 3 << branded << "i1Display v2";
        QTest::newRow("974999") << "974999" << true << 3 << branded << "i1Display v2";
        QTest::newRow("975000") << "975000" << true << 2 << second << "i1Display 2";
        QTest::newRow("124098") << "124098" << false << 3 << branded << "i1Display v2";
        QTest::newRow("124609") << "124609" << true << 3 << branded << "i1Display v2";
        QTest::newRow("124610") << "124610" << true << 2 << second << "i1Display 2";
        QTest::newRow("167155") << "167155" << true << 3 << branded << "i1Display v2";
        QTest::newRow("189872") << "189872" << true << 3 << branded << "i1Display v2";
        QTest::newRow("189873") << "189873" << true << 2 << second << "i1Display 2";
        QTest::newRow("220234") << "220234" << true << 3 << branded << "i1Display v2";
        QTest::newRow("224514") << "224514" << true << 3 << branded << "i1Display v2";
        QTest::newRow("224515") << "224515" << true << 2 << second << "i1Display 2";
        QTest::newRow("not a number") << "95x000" << true << 2 << second << "i1Display 2";
        QTest::newRow("empty") << "" << false << 1 << first << "i1Display";
    }

    void model_from_modes_and_serial_number()
    {
        QFETCH(QString, serial);
        QFETCH(bool, ambientMode);
        QFETCH(int, model);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QVERIFY(configure({{QStringLiteral("serial"), serial}}));
        if (!ambientMode)
            QVERIFY(makeFirstGeneration());
        CEyeOneDisplaySensor sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.GetModel(), model);
        QCOMPARE(sensor.GetName(), name);
        QCOMPARE(sensor.GetShortName(), shortName);
        QCOMPARE(sensor.SupportsAmbient(), model != 1);
        QCOMPARE(sensor.RequiresCalibration(), model == 1);
    }

    void open_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("settings");
        QTest::newRow("not connected") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000 << 1;
        QTest::newRow("emission mode refused")
            << family({{QStringLiteral("AvailableMeasurementModes"), QStringLiteral("SingleAmbientLight")}}) << -1003 << 3;
        QTest::newRow("adaptive mode refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("AdaptiveMode")}}}) << -1003 << 4;
        QTest::newRow("illumination refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("Colorimetric.Illumination")}}})
            << -1 << 5;
        QTest::newRow("colour space refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("ColorSpaceDescription.Type")}}})
            << -1 << 6;
        QTest::newRow("screen type refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("ScreenType")}}}) << -1 << 7;
    }

    void open_failures()
    {
        QFETCH(QJsonObject, fault);
        QFETCH(int, status);
        QFETCH(int, settings);
        QVERIFY(configure(fault));
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.IsOpen());
        // Nothing is set after the refused setting.
        QCOMPARE(settingsMade().size(), settings);
        QCOMPARE(sensor.Open(), status);
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.MeasureAmbient(), -1000);
        QCOMPARE(sensor.Calibrate(), -1000);
        QCOMPARE(sensor.SetDisplayType(1, 1), -1000);
        QCOMPARE(sensor.GetSerialNumber(), QString());
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.IsOpen());
        QVERIFY(!sensor.IsLibraryBound());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(sensor.SetMeasurementMode(2), -1);
        QCOMPARE(m_control->callNames(), QStringList());
    }

    void library_missing_an_entry_point_stays_closed()
    {
        // The i1Pro library exports most of the same names, but not I1_IsConnected.
        const QString folder = m_environment->root() + QStringLiteral("/partial");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(sensor_test_environment::simulatedLibrary("libi1pro.so"),
                            folder + QStringLiteral("/libeyeone.so")));
        sensor_test_environment::useLibraryFolder(folder);
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.IsOpen());
        QVERIFY(!sensor.IsLibraryBound());
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
    }

    void drivers_share_the_library()
    {
        auto first = std::make_unique<CEyeOneDisplaySensor>();
        CEyeOneDisplaySensor second;
        QVERIFY(first->IsOpen());
        QVERIFY(second.IsOpen());
        first.reset();
        // The library stays bound for the driver still there: its calls reach it.
        m_control->clearCalls();
        QCOMPARE(second.GetSerialNumber(), QStringLiteral("700123"));
        QCOMPARE(m_control->callNames(), QStringList{QStringLiteral("I1_GetOption")});
    }

    void calibration_data()
    {
        QTest::addColumn<bool>("firstGeneration");
        QTest::addColumn<bool>("covered");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("calibrated");
        QTest::addColumn<int>("calibrations");
        QTest::newRow("first generation, dark") << true << true << 0 << true << 1;
        QTest::newRow("first generation, light reaches it") << true << false << -1008 << false << 1;
        QTest::newRow("i1Display 2 needs none") << false << false << 0 << false << 0;
    }

    void calibration()
    {
        QFETCH(bool, firstGeneration);
        QFETCH(bool, covered);
        QFETCH(int, status);
        QFETCH(bool, calibrated);
        QFETCH(int, calibrations);
        if (firstGeneration)
            QVERIFY(makeFirstGeneration());
        QVERIFY(configure({{QStringLiteral("covered"), covered}}));
        CEyeOneDisplaySensor sensor;
        QCOMPARE(sensor.RequiresCalibration(), firstGeneration);
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), status);
        QCOMPARE(sensor.IsCalibrated(), calibrated);
        QCOMPARE(m_control->callsNamed(QStringLiteral("I1_Calibrate")).size(), calibrations);
    }

    void repeat_counts_data()
    {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<double>("Y");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<int>("readings");
        QTest::newRow("three asked") << false << 100.0 << 3u << 3;
        QTest::newRow("none asked: one") << false << 100.0 << 0u << 1;
        QTest::newRow("none asked, dim: three") << true << 2.0 << 0u << 3;
        QTest::newRow("one asked, dim: three") << true << 2.0 << 1u << 3;
        QTest::newRow("four asked, Y 5: two") << true << 5.0 << 4u << 2;
        QTest::newRow("four asked, Y 10: four") << true << 10.0 << 4u << 4;
    }

    void repeat_counts()
    {
        QFETCH(bool, flag);
        QFETCH(double, Y);
        QFETCH(unsigned, count);
        QFETCH(int, readings);
        const auto preferences = sensor_test_environment::preferences(flag);
        QVERIFY(preferences);
        QVERIFY(publish(Y * 0.95, Y, Y * 1.089));
        QVERIFY(configure({{QStringLiteral("noise_absolute"), 0.01}, {QStringLiteral("noise_seed"), 5}}));
        CEyeOneDisplaySensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(count), 0);
        QCOMPARE(sensor.GetRepeatCount(), unsigned(readings));
        QStringList expected;
        for (int i = 0; i < readings; ++i)
            expected << QStringLiteral("I1_TriggerMeasurement") << QStringLiteral("I1_GetTriStimulus");
        QCOMPARE(m_control->callNames(), expected);
        double sumY = 0.0;
        for (const QJsonValue &read : m_control->callsNamed(QStringLiteral("I1_GetTriStimulus")))
            sumY += out_of(read).at(1).toDouble();
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        // Tolerance: a few ulps of a sum of up to four readings.
        QVERIFY(std::abs(reading.Y - sumY / readings) <= 1e-9);
        QVERIFY(std::isfinite(reading.X) && std::isfinite(reading.Z));
    }

    void reading_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::newRow("trigger") << QJsonObject{{QStringLiteral("measure_failures"), 1}};
        QTest::newRow("read") << QJsonObject{{QStringLiteral("fail_calls"), fail("I1_GetTriStimulus", -8)}};
    }

    void reading_failures()
    {
        QFETCH(QJsonObject, fault);
        CEyeOneDisplaySensor sensor;
        QVERIFY(configure(fault));
        QCOMPARE(sensor.MeasureXYZ(2), -1003);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void screen_type_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("displayType");
        QTest::addColumn<QString>("screen");
        QTest::newRow("i1Display 2, flag 0") << "700123" << 0 << 3 << "CRT";
        QTest::newRow("i1Display 2, type 1") << "700123" << 1 << 1 << "LCD";
        QTest::newRow("i1Display 2, type 3") << "700123" << 1 << 3 << "LCD";
        QTest::newRow("branded, flag 0") << "965000" << 0 << 1 << "CRT";
        QTest::newRow("branded, type 1") << "965000" << 1 << 1 << "LCD";
        QTest::newRow("WG, type 1") << "950500" << 1 << 1 << "CRT";
        QTest::newRow("WG, flag 0, type 1") << "950500" << 0 << 1 << "CRT";
        QTest::newRow("WG, flag 0, type 3") << "950500" << 0 << 3 << "LCD";
        QTest::newRow("LYRASENSOR, type 1") << "951000" << 1 << 1 << "CRT";
        QTest::newRow("LYRASENSOR, type 0") << "951000" << 1 << 0 << "LCD";
    }

    void screen_type()
    {
        QFETCH(QString, serial);
        QFETCH(int, flag);
        QFETCH(int, displayType);
        QFETCH(QString, screen);
        QVERIFY(configure({{QStringLiteral("serial"), serial}}));
        CEyeOneDisplaySensor sensor;
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(flag, displayType), 0);
        QCOMPARE(sensor.GetDisplayFlag(), flag);
        const QJsonArray settings = settingsMade();
        QCOMPARE(settings.size(), 2);
        QCOMPARE(args_of(settings[0]), (QJsonArray{QStringLiteral("ScreenType"), screen}));
        QCOMPARE(args_of(settings[1]), option("DisplayMeasureType", "DisplayMeasureTimeVarying"));
    }

    void screen_type_failures_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::newRow("screen type") << QStringLiteral("ScreenType");
        QTest::newRow("measure type") << QStringLiteral("DisplayMeasureType");
    }

    void screen_type_failures()
    {
        QFETCH(QString, refused);
        CEyeOneDisplaySensor sensor;
        QVERIFY(configure(family({{QStringLiteral("refused_options"), QJsonArray{refused}}})));
        QCOMPARE(sensor.SetDisplayType(1, 1), -1003);
    }

    void ambient_reading()
    {
        QVERIFY(configure({{QStringLiteral("ambient_lux"), 150.0},
                           {QStringLiteral("ambient_x"), 0.3457},
                           {QStringLiteral("ambient_y"), 0.3585}}));
        CEyeOneDisplaySensor sensor;
        QCOMPARE(sensor.MeasureAmbient(), -1);
        m_control->clearCalls();
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(first_texts(settingsMade()),
                 (QStringList{QStringLiteral("MeasurementMode"), QStringLiteral("Colorimetric.Illumination"),
                              QStringLiteral("ColorSpaceDescription.Type")}));
        QCOMPARE(args_of(settingsMade()[0]), option("MeasurementMode", "SingleAmbientLight"));
        QCOMPARE(sensor.MeasureXYZ(1), -1);
        QCOMPARE(sensor.MeasureAmbient(), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        const CCIEXYZ expected = CCIEYxy(150.0, 0.3457, 0.3585).ToXYZ();
        QVERIFY(near_float(reading.X, expected.X));
        QVERIFY(near_float(reading.Y, expected.Y));
        QVERIFY(near_float(reading.Z, expected.Z));
        QCOMPARE(sensor.SetMeasurementMode(1), 0);
        QCOMPARE(sensor.MeasureXYZ(1), 0);
    }

    void first_generation_has_no_ambient_mode()
    {
        QVERIFY(makeFirstGeneration());
        CEyeOneDisplaySensor sensor;
        QVERIFY(!sensor.SupportsAmbient());
        QCOMPARE(sensor.SetMeasurementMode(2), -1);
        QCOMPARE(sensor.GetMeasurementMode(), 1);
        QCOMPARE(sensor.SetMeasurementMode(5), -1);
    }

    void placement_records_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("displayPicture");
        QTest::newRow("i1Display 2") << "700123" << "ione_displayv2_on_lcd.png";
        QTest::newRow("branded") << "965000" << "Varkel_ione_displayv2_on_lcd.png";
        QTest::newRow("WG") << "950500" << "Varkel_ione_displayv2_on_lcd.png";
        QTest::newRow("LYRASENSOR") << "951000" << "Varkel_lyrasensor_on_lcd.png";
    }

    void placement_records()
    {
        QFETCH(QString, serial);
        QFETCH(QString, displayPicture);
        QVERIFY(configure({{QStringLiteral("serial"), serial}}));
        CEyeOneDisplaySensor sensor;
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        const QString folder = QStringLiteral(":/images/Resources/");
        QCOMPARE(info.displayPicture, folder + displayPicture);
        QCOMPARE(info.calibrationPicture, folder + QStringLiteral("ione display v1 zero cal.png"));
        QCOMPARE(info.ambientPicture, folder + QStringLiteral("iOneV2AmbientLightMeasurement.png"));
        QCOMPARE(info.iconPicture, folder + QStringLiteral("sensor icon_i1d2.png"));
        QCOMPARE(info.ambientMessage, QStringLiteral("Attach the white plastic diffuser to the sensor as shown and "
                                                     "direct the sensor away from the display."));
        QCOMPARE(info.calibrationMessage,
                 QStringLiteral("Place the device on a flat surface so that light cannot reach the sensor."));
        QCOMPARE(info.beforeDisplayMessage,
                 QStringLiteral("<html>Detach the white plastic diffuser from the sensor before taking any "
                                "measurements.<br><br><center><img src=\":/images/Resources/ione cover "
                                "removal.png\"></center></html>"));
        QVERIFY(info.selectorMessage.isEmpty());
        QVERIFY(info.beforeAmbientMessage.isEmpty());
        for (const QString &picture : {info.displayPicture, info.calibrationPicture, info.ambientPicture,
                                       info.iconPicture, folder + QStringLiteral("ione cover removal.png")})
            QVERIFY2(QFile::exists(picture), qPrintable(picture));
    }

    void detection_finds_it_after_the_i1pro()
    {
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 1);
        QCOMPARE(record.events, detection::found_after(1, QStringLiteral("X-Rite i1Display 2")));
    }

    void detection_passes_over_it_data()
    {
        QTest::addColumn<bool>("libraryPresent");
        QTest::newRow("library absent") << false;
        QTest::newRow("library present, not connected") << true;
    }

    void detection_passes_over_it()
    {
        QFETCH(bool, libraryPresent);
        QVERIFY(configure({{QStringLiteral("device_count"), 0}}));
        CTargetSensor factory;
        detection::recorder record(factory);
        const QString folder = m_environment->root() + QStringLiteral("/detect-") + QString::number(libraryPresent);
        QVERIFY(detection::detect_beside_i1d3(factory, folder, libraryPresent ? "libeyeone.so" : nullptr));
        QCOMPARE(factory.GetSensorType(), 3);
        QCOMPARE(record.events, detection::found_after(4, QStringLiteral("X-Rite i1Display Pro")));
        // A bound driver that found no instrument still ends the library's work.
        QCOMPARE(m_control->callNames(),
                 libraryPresent ? (QStringList{QStringLiteral("I1_SetOption"), QStringLiteral("I1_IsConnected"),
                                               QStringLiteral("I1_SetOption")})
                                : QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_eye_one_display)
#include "tst_eye_one_display.moc"
