#include "call_log.h"
#include "detection_helpers.h"
#include "simulated_family_fixture.h"
#include "simulated_instrument_control.h"

#include "resources/tessaline_resources.h"
#include "sensors/CTargetSensor.h"
#include "sensors/CXRitei1Studio.h"
#include "sensors/SensorDetectThread.h"
#include "sensors/sensor_status.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace call_log;

namespace {

const QString kDisplay = QStringLiteral("127.0.10.4/1");

// Readings pass through floats: compare to their precision.
bool near_float(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-6 * std::max(1.0, std::abs(expected));
}

QJsonArray option(const char *name, const char *value)
{
    return QJsonArray{QLatin1String(name), QLatin1String(value)};
}

QJsonObject dial(const char *position)
{
    return {{QStringLiteral("selector"), QLatin1String(position)}};
}

const QString kEventCallback = QStringLiteral("event callback");

} // namespace

class tst_xrite_i1studio : public QObject, protected simulated_family_fixture
{
    Q_OBJECT

public:
    tst_xrite_i1studio() : simulated_family_fixture(kDisplay) {}

private:
    // The calls the driver made; the library's own calls back, which its
    // thread logs whenever the dial turns, are left out.
    QStringList driverCalls() const
    {
        QStringList names = m_control->callNames();
        names.removeAll(kEventCallback);
        return names;
    }
    QJsonArray settingsMade() const { return m_control->callsNamed(QStringLiteral("i1studio_SetOption")); }
    // Calibrates on the calibrate position and turns the dial back to the display.
    bool calibrate(CXRitei1Studio &sensor)
    {
        return configure(dial("calibration")) && sensor.Calibrate() == 0 && configure(dial("display"));
    }
    // Waits, without running this thread's events, until the library's
    // thread has called back |count| times.
    bool waitForCallbacks(int count)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_control->callsNamed(kEventCallback).size() < count) {
            if (timer.elapsed() > 5000)
                return false;
            QTest::qSleep(1);
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        QVERIFY(loadFamily("libi1studio.so"));
    }

    void init()
    {
        QVERIFY(resetFamily(0.001, {{QStringLiteral("device_count"), 1}, {QStringLiteral("selector"), QStringLiteral("display")}}));
        QVERIFY(publish(95.0, 100.0, 108.9));
    }

    void opens_and_closes_the_instrument()
    {
        {
            CXRitei1Studio sensor;
            QVERIFY(sensor.IsOpen());
            QCOMPARE(driverCalls(),
                     (QStringList{QStringLiteral("i1studio_CheckConnection"), QStringLiteral("i1studio_GetOption"),
                                  QStringLiteral("i1studio_SetOption"), QStringLiteral("i1studio_SetOption"),
                                  QStringLiteral("i1studio_SetOption"), QStringLiteral("i1studio_SetOption"),
                                  QStringLiteral("i1studio_RegisterEventCallback")}));
            QCOMPARE(args_of(m_control->calls()[1]), (QJsonArray{QStringLiteral("VersionString")}));
            const QJsonArray settings = settingsMade();
            QCOMPARE(args_of(settings[0]), option("Colorimetric.Illumination", "Emission"));
            QCOMPARE(args_of(settings[1]), option("Colorimetric.Observer", "TwoDegree"));
            QCOMPARE(args_of(settings[2]), option("ColorSpaceDescription.Type", "CIEXYZ"));
            QCOMPARE(args_of(settings[3]), option("MeasurementMode", "SingleEmission"));
            QVERIFY(sensor.SupportsAmbient());
            QCOMPARE(sensor.GetSerialNumber(), QStringLiteral("2001234"));
            m_control->clearCalls();
        }
        QCOMPARE(driverCalls(), (QStringList{QStringLiteral("i1studio_UnregisterEventCallback"),
                                                      QStringLiteral("i1studio_SetOption")}));
        QCOMPARE(args_of(m_control->calls()[1]), option("Reset", "All"));
    }

    void fixed_capabilities()
    {
        CXRitei1Studio sensor;
        QVERIFY(sensor.HasMeasurementSelector());
        QVERIFY(sensor.SignalsMeasurementSelector());
        QVERIFY(!sensor.PollsMeasurementSelector());
        QVERIFY(sensor.RequiresCalibration());
        QVERIFY(!sensor.SupportsDisplayTypes());
        QVERIFY(!sensor.HasLedControl());
        QCOMPARE(sensor.AfterOpen(), 0);
        // The display type is only kept.
        m_control->clearCalls();
        QCOMPARE(sensor.SetDisplayType(0, 3), 0);
        QCOMPARE(sensor.GetDisplayFlag(), 0);
        QCOMPARE(driverCalls(), QStringList());
    }

    void identity_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<int>("vendor");
        QTest::addColumn<int>("product");
        QTest::newRow("i1Studio") << "i1Studio 1.1.0" << "X-Rite i1Studio" << "i1Studio" << 0x0765 << 0x6008;
        QTest::newRow("any case") << "X-Rite I1STUDIO" << "X-Rite i1Studio" << "i1Studio" << 0x0765 << 0x6008;
        QTest::newRow("ColorMunki") << "ColorMunki Design 1.0" << "X-Rite ColorMunki" << "ColorMunki" << 0x0971 << 0x2007;
        QTest::newRow("no version") << "" << "X-Rite ColorMunki" << "ColorMunki" << 0x0971 << 0x2007;
    }

    void identity()
    {
        QFETCH(QString, version);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QFETCH(int, vendor);
        QFETCH(int, product);
        QVERIFY(configure(family({{QStringLiteral("VersionString"), version}})));
        CXRitei1Studio sensor;
        QVERIFY(sensor.IsOpen());
        QCOMPARE(sensor.GetName(), name);
        QCOMPARE(sensor.GetShortName(), shortName);
        quint16 vendorId = 0, productId = 0;
        QVERIFY(sensor.GetUsbIds(vendorId, productId));
        QCOMPARE(int(vendorId), vendor);
        QCOMPARE(int(productId), product);
    }

    void open_failures_data()
    {
        QTest::addColumn<QJsonObject>("fault");
        QTest::newRow("not connected") << QJsonObject{{QStringLiteral("device_count"), 0}};
        QTest::newRow("illumination refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("Colorimetric.Illumination")}}});
        QTest::newRow("observer refused")
            << family({{QStringLiteral("refused_options"), QJsonArray{QStringLiteral("Colorimetric.Observer")}}});
        QTest::newRow("emission mode refused")
            << family({{QStringLiteral("AvailableMeasurementModes"), QStringLiteral("SingleReflectance")}});
    }

    void open_failures()
    {
        QFETCH(QJsonObject, fault);
        QVERIFY(configure(fault));
        {
            CXRitei1Studio sensor;
            QVERIFY(!sensor.IsOpen());
            QVERIFY(!sensor.SupportsAmbient());
            QCOMPARE(sensor.Open(), -1000);
            QCOMPARE(m_control->callsNamed(QStringLiteral("i1studio_RegisterEventCallback")).size(), 0);
            m_control->clearCalls();
            QCOMPARE(sensor.MeasureXYZ(1), -1000);
            QCOMPARE(sensor.MeasureAmbient(), -1000);
            QCOMPARE(sensor.Calibrate(), -1000);
            QCOMPARE(sensor.GetSerialNumber(), QString());
            CCIEXYZ reading;
            QCOMPARE(sensor.GetXYZ(reading), -1003);
            QCOMPARE(driverCalls(), QStringList());
        }
        // A driver that never opened leaves the library alone.
        QCOMPARE(driverCalls(), QStringList());
    }

    void without_library_stays_closed()
    {
        sensor_test_environment::useLibraryFolder(m_environment->emptyFolder());
        CXRitei1Studio sensor;
        QVERIFY(!sensor.IsOpen());
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), -1000);
        QCOMPARE(sensor.GetDeviceState(), -1000);
        QCOMPARE(sensor.SetMeasurementMode(1), -1);
        QCOMPARE(sensor.MeasureXYZ(1), -1000);
        QCOMPARE(driverCalls(), QStringList());
    }

    void mode_settings_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("settings");
        QTest::newRow("display") << 1 << QString() << 0 << 4;
        QTest::newRow("display, illumination refused") << 1 << "Colorimetric.Illumination" << -1 << 1;
        QTest::newRow("display, observer refused") << 1 << "Colorimetric.Observer" << -1000 << 2;
        QTest::newRow("display, colour space refused") << 1 << "ColorSpaceDescription.Type" << -1 << 3;
        QTest::newRow("display, mode refused") << 1 << "MeasurementMode" << -1 << 4;
        QTest::newRow("ambient") << 2 << QString() << 0 << 3;
        QTest::newRow("ambient, mode refused") << 2 << "MeasurementMode" << -1 << 1;
        QTest::newRow("ambient, illumination refused") << 2 << "Colorimetric.Illumination" << -1 << 2;
        QTest::newRow("ambient, colour space refused") << 2 << "ColorSpaceDescription.Type" << -1 << 3;
        QTest::newRow("no such mode") << 3 << QString() << -1 << 0;
    }

    void mode_settings()
    {
        QFETCH(int, mode);
        QFETCH(QString, refused);
        QFETCH(int, status);
        QFETCH(int, settings);
        CXRitei1Studio sensor;
        QVERIFY(configure(family({{QStringLiteral("refused_options"), QJsonArray{refused}}})));
        m_control->clearCalls();
        QCOMPARE(sensor.SetMeasurementMode(mode), status);
        QCOMPARE(settingsMade().size(), settings);
        if (mode == 2 && status == 0) {
            QCOMPARE(first_texts(settingsMade()),
                     (QStringList{QStringLiteral("MeasurementMode"), QStringLiteral("Colorimetric.Illumination"),
                                  QStringLiteral("ColorSpaceDescription.Type")}));
            QCOMPARE(args_of(settingsMade()[0]), option("MeasurementMode", "SingleAmbientLight"));
        }
        QCOMPARE(sensor.GetMeasurementMode(), status == 0 ? mode : 1);
    }

    void changing_the_mode_clears_the_calibration()
    {
        CXRitei1Studio sensor;
        QVERIFY(calibrate(sensor));
        QVERIFY(sensor.IsCalibrated());
        QCOMPARE(sensor.SetMeasurementMode(1), 0);
        QVERIFY(sensor.IsCalibrated());
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QVERIFY(!sensor.IsCalibrated());
    }

    void selector_positions_data()
    {
        QTest::addColumn<QJsonObject>("setting");
        QTest::addColumn<int>("position");
        QTest::newRow("display") << dial("display") << 0;
        QTest::newRow("calibrate") << dial("calibration") << 1;
        QTest::newRow("fourth") << dial("fourth") << 2;
        QTest::newRow("ambient") << dial("ambient") << 3;
        QTest::newRow("code not known")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("i1studio_GetDialPosition", 2004)}} << -1;
        QTest::newRow("dial unreadable")
            << QJsonObject{{QStringLiteral("fail_calls"), fail("i1studio_GetDialPosition", -1)}} << -1;
        QTest::newRow("not connected") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000;
    }

    void selector_positions()
    {
        QFETCH(QJsonObject, setting);
        QFETCH(int, position);
        CXRitei1Studio sensor;
        QVERIFY(configure(setting));
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), position);
    }

    void device_states_data()
    {
        QTest::addColumn<QJsonObject>("setting");
        QTest::addColumn<int>("state");
        QTest::newRow("ready") << family({{QStringLiteral("device_state"), 1000}}) << 1;
        QTest::newRow("busy") << family({{QStringLiteral("device_state"), 1001}}) << 0;
        QTest::newRow("other") << family({{QStringLiteral("device_state"), 1002}}) << -1;
        QTest::newRow("not connected") << QJsonObject{{QStringLiteral("device_count"), 0}} << -1000;
    }

    void device_states()
    {
        QFETCH(QJsonObject, setting);
        QFETCH(int, state);
        CXRitei1Studio sensor;
        QVERIFY(configure(setting));
        QCOMPARE(sensor.GetDeviceState(), state);
    }

    void calibration_needs_the_calibrate_position_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("calibrations");
        QTest::newRow("calibrate") << "calibration" << false << 0 << 1;
        QTest::newRow("calibrate, refused") << "calibration" << true << -1008 << 1;
        QTest::newRow("display") << "display" << false << -1026 << 0;
        QTest::newRow("ambient") << "ambient" << false << -1026 << 0;
    }

    void calibration_needs_the_calibrate_position()
    {
        QFETCH(QString, position);
        QFETCH(bool, fails);
        QFETCH(int, status);
        QFETCH(int, calibrations);
        CXRitei1Studio sensor;
        QVERIFY(configure({{QStringLiteral("selector"), position}, {QStringLiteral("calibration_fails"), fails}}));
        m_control->clearCalls();
        QCOMPARE(sensor.Calibrate(), status);
        QCOMPARE(sensor.IsCalibrated(), status == 0);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1studio_Calibrate")).size(), calibrations);
    }

    void measures_the_display()
    {
        CXRitei1Studio sensor;
        // Uncalibrated, the instrument refuses.
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QVERIFY(calibrate(sensor));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(4), 0);
        QCOMPARE(sensor.GetRepeatCount(), 1u);
        QCOMPARE(driverCalls(),
                 (QStringList{QStringLiteral("i1studio_GetDialPosition"), QStringLiteral("i1studio_TriggerMeasurement"),
                              QStringLiteral("i1studio_GetTriStimulus")}));
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QVERIFY(near_float(reading.X, 95.0));
        QVERIFY(near_float(reading.Y, 100.0));
        QVERIFY(near_float(reading.Z, 108.9));
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void measuring_needs_the_display_position()
    {
        CXRitei1Studio sensor;
        QVERIFY(calibrate(sensor));
        QVERIFY(configure(dial("calibration")));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), -1026);
        // Only the dial was read: no measurement.
        QCOMPARE(driverCalls(), QStringList{QStringLiteral("i1studio_GetDialPosition")});
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        // In the ambient mode the display reading is refused too.
        QVERIFY(configure(dial("display")));
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(sensor.MeasureXYZ(1), -1);
    }

    void negative_components_become_zero()
    {
        QVERIFY(publish(-0.4, 20.0, -0.1));
        CXRitei1Studio sensor;
        QVERIFY(calibrate(sensor));
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.X, 0.0);
        QVERIFY(near_float(reading.Y, 20.0));
        QCOMPARE(reading.Z, 0.0);
    }

    void low_light_averaging_data()
    {
        QTest::addColumn<double>("Y");
        QTest::addColumn<int>("readings");
        QTest::newRow("Y 2") << 2.0 << 3;
        QTest::newRow("Y 9.99") << 9.99 << 2;
        QTest::newRow("Y 10") << 10.0 << 1;
    }

    void low_light_averaging()
    {
        QFETCH(double, Y);
        QFETCH(int, readings);
        const auto preferences = sensor_test_environment::preferences(true);
        QVERIFY(preferences);
        QVERIFY(publish(Y * 0.95, Y, Y * 1.089));
        CXRitei1Studio sensor;
        QVERIFY(calibrate(sensor));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(m_control->callsNamed(QStringLiteral("i1studio_TriggerMeasurement")).size(), readings);
        QCOMPARE(sensor.GetRepeatCount(), unsigned(readings));
    }

    void ambient_reading()
    {
        QVERIFY(configure({{QStringLiteral("ambient_lux"), 320.0},
                           {QStringLiteral("ambient_x"), 0.4476},
                           {QStringLiteral("ambient_y"), 0.4074}}));
        CXRitei1Studio sensor;
        QVERIFY(configure(dial("ambient")));
        // Still in the display mode.
        QCOMPARE(sensor.MeasureAmbient(), -1);
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QVERIFY(configure(dial("display")));
        m_control->clearCalls();
        QCOMPARE(sensor.MeasureAmbient(), -1026);
        QCOMPARE(driverCalls(), QStringList{QStringLiteral("i1studio_GetDialPosition")});
        QVERIFY(configure(dial("ambient")));
        QCOMPARE(sensor.MeasureAmbient(), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), 0);
        const CCIEXYZ expected = CCIEYxy(320.0, 0.4476, 0.4074).ToXYZ();
        QVERIFY(near_float(reading.X, expected.X));
        QVERIFY(near_float(reading.Y, expected.Y));
        QVERIFY(near_float(reading.Z, expected.Z));
    }

    void measurement_failures()
    {
        CXRitei1Studio sensor;
        QVERIFY(calibrate(sensor));
        QVERIFY(configure({{QStringLiteral("measure_failures"), 1}}));
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("i1studio_GetTriStimulus", -8)}}));
        QCOMPARE(sensor.MeasureXYZ(1), -1003);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void turned_dial_is_signalled_on_the_drivers_thread()
    {
        CXRitei1Studio sensor;
        QSignalSpy spy(&sensor, &CSensor::SensorMeasurementSelectorPositionChanged);
        QList<QThread *> threads;
        connect(&sensor, &CSensor::SensorMeasurementSelectorPositionChanged, this,
                [&threads] { threads << QThread::currentThread(); }, Qt::DirectConnection);
        QVERIFY(configure(dial("ambient")));
        QVERIFY(waitForCallbacks(1));
        // The library's thread has called back and returned: nothing was emitted there.
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy[0].at(0).toInt(), 2003);
        QCOMPARE(threads, QList<QThread *>{QThread::currentThread()});
        QCOMPARE(args_of(m_control->callsNamed(kEventCallback)[0]), (QJsonArray{2, 2003}));

        QVERIFY(configure(dial("calibration")));
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy[1].at(0).toInt(), 2001);
        QVERIFY(configure(dial("display")));
        QTRY_COMPARE(spy.count(), 3);
        QCOMPARE(spy[2].at(0).toInt(), 2000);
    }

    void other_events_are_not_signalled()
    {
        CXRitei1Studio sensor;
        QSignalSpy spy(&sensor, &CSensor::SensorMeasurementSelectorPositionChanged);
        QVERIFY(configure({{QStringLiteral("device_count"), 0}}));
        QVERIFY(waitForCallbacks(1));
        QCOMPARE(args_of(m_control->callsNamed(kEventCallback)[0]), (QJsonArray{1, 0}));
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
    }

    void destroyed_driver_gets_no_more_events()
    {
        auto sensor = std::make_unique<CXRitei1Studio>();
        QSignalSpy spy(sensor.get(), &CSensor::SensorMeasurementSelectorPositionChanged);
        QVERIFY(configure(dial("ambient")));
        QVERIFY(waitForCallbacks(1));
        // Queued but not yet delivered when the driver goes.
        sensor.reset();
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QVERIFY(configure(dial("calibration")));
        QTest::qWait(20);
        QCOMPARE(m_control->callsNamed(kEventCallback).size(), 1);
    }

    void selector_pictures()
    {
        CXRitei1Studio sensor;
        const QImage dialAtDisplay(QStringLiteral(":/images/Resources/SumoEmissiveBlack.png"));
        QVERIFY(!dialAtDisplay.isNull());
        const QImage atDisplay = sensor.GetMeasurementSelectorPixmap(0);
        const QImage toAmbient = sensor.GetMeasurementSelectorPixmap(3);
        const QImage toCalibrate = sensor.GetMeasurementSelectorPixmap(1);
        const QImage fourth = sensor.GetMeasurementSelectorPixmap(2);
        QCOMPARE(atDisplay.size(), dialAtDisplay.size());
        QCOMPARE(toAmbient.size(), dialAtDisplay.size());
        // Each wanted position draws its own mark (and arrow) over the dial.
        QVERIFY(atDisplay != toAmbient);
        QVERIFY(atDisplay != toCalibrate);
        QVERIFY(toAmbient != toCalibrate);
        // The fourth position has no mark: the dial alone.
        QCOMPARE(fourth, dialAtDisplay.convertToFormat(fourth.format()));
        // With the dial at the ambient position the ambient picture needs no arrow.
        QVERIFY(configure(dial("ambient")));
        const QImage atAmbient = sensor.GetMeasurementSelectorPixmap(3);
        QVERIFY(atAmbient != toAmbient);
        QCOMPARE(atAmbient.size(), QImage(QStringLiteral(":/images/Resources/SumoAmbientBlack.png")).size());
        // An unreadable dial shows the fourth-position picture.
        QVERIFY(configure({{QStringLiteral("fail_calls"), fail("i1studio_GetDialPosition", -1)}}));
        const QImage unknown = sensor.GetMeasurementSelectorPixmap(2);
        const QImage projector(QStringLiteral(":/images/Resources/SumoProjectorBlack.png"));
        QCOMPARE(unknown, projector.convertToFormat(unknown.format()));
    }

    void placement_record()
    {
        CXRitei1Studio sensor;
        SensorPlacementInfo info;
        QCOMPARE(sensor.GetPlacementInfo(info), 0);
        const QString folder = QStringLiteral(":/images/Resources/");
        QCOMPARE(info.displayPicture, folder + QStringLiteral("color munki outline.png"));
        QCOMPARE(info.ambientPicture, folder + QStringLiteral("color munki ambient measure.png"));
        QCOMPARE(info.selectorToAmbientPicture, folder + QStringLiteral("SumoAmbientBlack.png"));
        QCOMPARE(info.selectorToDisplayPicture, folder + QStringLiteral("SumoEmissiveBlack.png"));
        QCOMPARE(info.calibrationPicture, folder + QStringLiteral("SumoCalibrateBlack.png"));
        QCOMPARE(info.iconPicture, folder + QStringLiteral("sensor icon_colormunki.png"));
        QCOMPARE(info.ambientMessage, QStringLiteral("Take the device out of the holder bag to uncover the the ambient "
                                                     "light sensor and direct it away from the display."));
        const QString turn = QStringLiteral("<br><br>Turn the instrument dial to the position indicated.");
        QCOMPARE(info.selectorMessage, turn);
        QCOMPARE(info.beforeAmbientMessage, turn);
        QCOMPARE(info.calibrationMessage, QStringLiteral("Turn the instrument dial to the calibrate position."));
        QVERIFY(info.beforeDisplayMessage.isEmpty());
        for (const QString &picture : {info.displayPicture, info.ambientPicture, info.selectorToAmbientPicture,
                                       info.selectorToDisplayPicture, info.calibrationPicture, info.iconPicture})
            QVERIFY2(QFile::exists(picture), qPrintable(picture));
    }

    void detection_finds_it_after_the_i1pro_and_i1display()
    {
        CTargetSensor factory;
        detection::recorder record(factory);
        QVERIFY(factory.DetectSensor());
        QCOMPARE(factory.GetSensorType(), 4);
        QCOMPARE(record.events, detection::found_after(2, QStringLiteral("X-Rite i1Studio")));
        // The driver found on one thread signals on its owner's.
        QSignalSpy spy(factory.GetSensor(), &CSensor::SensorMeasurementSelectorPositionChanged);
        QVERIFY(configure(dial("calibration")));
        QTRY_COMPARE(spy.count(), 1);
    }

    void detected_on_its_thread_it_signals_on_the_owners()
    {
        CTargetSensor factory;
        detection::recorder record(factory);
        {
            SensorDetectThread thread(&factory);
            thread.startDetection();
            QTRY_VERIFY(record.events.contains(QStringLiteral("complete")));
        }
        QCOMPARE(factory.GetSensorType(), 4);
        CSensor *sensor = factory.GetSensor();
        QCOMPARE(sensor->thread(), QThread::currentThread());
        QSignalSpy spy(sensor, &CSensor::SensorMeasurementSelectorPositionChanged);
        QList<QThread *> threads;
        connect(sensor, &CSensor::SensorMeasurementSelectorPositionChanged, this,
                [&threads] { threads << QThread::currentThread(); }, Qt::DirectConnection);
        QVERIFY(configure(dial("ambient")));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(threads, QList<QThread *>{QThread::currentThread()});
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
        QVERIFY(detection::detect_beside_i1d3(factory, folder, libraryPresent ? "libi1studio.so" : nullptr));
        QCOMPARE(factory.GetSensorType(), 3);
        QCOMPARE(record.events, detection::found_after(4, QStringLiteral("X-Rite i1Display Pro")));
        QCOMPARE(driverCalls(),
                 libraryPresent ? QStringList{QStringLiteral("i1studio_CheckConnection")} : QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_xrite_i1studio)
#include "tst_xrite_i1studio.moc"
