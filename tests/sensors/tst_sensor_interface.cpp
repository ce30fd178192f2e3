#include "sensor_test_environment.h"

#include "sensors/CSensor.h"
#include "sensors/low_light_averaging.h"
#include "sensors/sensor_status.h"

#include <QtTest>

#include <vector>

namespace {

// The smallest driver: every pure operation answers plainly, and
// measurements come from a queue of readings.
class stub_sensor : public CSensor
{
public:
    explicit stub_sensor(bool open) { m_open = open; }

    QString GetName() override { return QStringLiteral("stub"); }
    QString GetShortName() override { return QStringLiteral("stub"); }
    QString GetSerialNumber() override { return QString(); }
    int AfterOpen() override { return 0; }
    bool SupportsAmbient() override { return false; }
    int MeasureAmbient() override { return sensor_status::kWrongMode; }
    int Calibrate() override { return 0; }
    int MeasureXYZ(unsigned count) override
    {
        return MeasureAveraged(count, [this](CCIEXYZ &reading) {
            if (m_next >= m_readings.size())
                return int(sensor_status::kFailed);
            reading = m_readings[m_next++];
            return int(sensor_status::kOk);
        });
    }
    int GetXYZ(CCIEXYZ &reading) override { return HandOutReading(reading); }
    int SetDisplayType(int flag, int) override
    {
        m_displayFlag = flag;
        return 0;
    }
    int GetPlacementInfo(SensorPlacementInfo &) override { return 0; }

    std::vector<CCIEXYZ> m_readings;
    size_t m_next = 0;
};

} // namespace

class tst_sensor_interface : public QObject
{
    Q_OBJECT

private:
    sensor_test_environment m_environment;

private slots:
    void defaults()
    {
        stub_sensor sensor(true);
        QVERIFY(sensor.IsOpen());
        QVERIFY(!sensor.IsCalibrated());
        QVERIFY(!sensor.HasMeasurementSelector());
        QCOMPARE(sensor.GetMeasurementSelectorPosition(), 0);
        QVERIFY(!sensor.PollsMeasurementSelector());
        QVERIFY(!sensor.SignalsMeasurementSelector());
        QCOMPARE(sensor.GetDeviceState(), 0);
        QVERIFY(!sensor.IsModelUnknown());
        QVERIFY(sensor.RequiresCalibration());
        QVERIFY(sensor.GetMeasurementSelectorPixmap(3).isNull());
        QVERIFY(!sensor.ShowsPlacementHint());
        QVERIFY(sensor.IsPlacementHintPending());
        sensor.SetPlacementHintPending(false);
        QVERIFY(!sensor.IsPlacementHintPending());
        quint16 vendor = 1, product = 1;
        QVERIFY(!sensor.GetUsbIds(vendor, product));
        QCOMPARE(vendor, quint16(0));
        QCOMPARE(product, quint16(0));
        QVERIFY(!sensor.HasLedControl());
        QVERIFY(!sensor.SupportsDisplayTypes());
        QCOMPARE(sensor.SetLed(true), -1);
        QCOMPARE(sensor.GetRepeatCount(), 1u);
        QCOMPARE(sensor.GetDisplayFlag(), -1);
        QCOMPARE(sensor.GetMeasurementMode(), 1);
        QCOMPARE(sensor.SetMeasurementMode(2), 0);
        QCOMPARE(sensor.GetMeasurementMode(), 2);
        const CCIEXYZ last = sensor.GetLastReading();
        QCOMPARE(last.X + last.Y + last.Z, 0.0);
    }

    void placement_record_starts_empty()
    {
        const SensorPlacementInfo info;
        for (const QString *text : {&info.calibrationPicture, &info.displayPicture, &info.selectorToAmbientPicture,
                                    &info.selectorToDisplayPicture, &info.ambientPicture, &info.iconPicture,
                                    &info.ambientMessage, &info.selectorMessage, &info.calibrationMessage,
                                    &info.beforeDisplayMessage, &info.beforeAmbientMessage})
            QVERIFY(text->isEmpty());
    }

    void patch_check_data()
    {
        // Chromaticity rows give X, Y, Z summing to 1, so x = X and y = Y
        // exactly and the window edges are hit without rounding.
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::addColumn<int>("patch");
        QTest::addColumn<int>("result");
        QTest::newRow("red") << 0.625 << 0.3125 << 0.0625 << 1 << 0;
        QTest::newRow("red, y too high") << 0.5 << 0.46 << 0.04 << 1 << -1;
        QTest::newRow("corner as red") << 0.45 << 0.45 << 0.1 << 1 << 0;
        QTest::newRow("corner as green") << 0.45 << 0.45 << 0.1 << 2 << 0;
        QTest::newRow("green") << 0.25 << 0.625 << 0.125 << 2 << 0;
        QTest::newRow("green, x too low") << 0.09 << 0.6 << 0.31 << 2 << -1;
        QTest::newRow("blue") << 0.15 << 0.0625 << 0.7875 << 3 << 0;
        QTest::newRow("blue edge") << 0.3 << 0.2 << 0.5 << 3 << 0;
        QTest::newRow("white as blue") << 0.3125 << 0.3125 << 0.375 << 3 << -1;
        QTest::newRow("dark at 15") << 0.0 << 15.0 << 0.0 << 4 << 0;
        QTest::newRow("dark too bright") << 0.0 << 15.5 << 0.0 << 4 << -1;
        QTest::newRow("bright at 4") << 0.0 << 4.0 << 0.0 << 5 << 0;
        QTest::newRow("bright too dim") << 0.0 << 3.9 << 0.0 << 5 << -1;
        QTest::newRow("patch 6") << 0.3 << 0.3 << 0.4 << 6 << -2;
        QTest::newRow("patch 0") << 0.3 << 0.3 << 0.4 << 0 << -2;
    }

    void patch_check()
    {
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        QFETCH(int, patch);
        QFETCH(int, result);
        stub_sensor sensor(true);
        QCOMPARE(sensor.CheckPatchColor(CCIEXYZ(X, Y, Z), patch), result);
    }

    void reading_is_handed_out_once()
    {
        stub_sensor sensor(true);
        sensor.m_readings = {CCIEXYZ(1, 2, 3)};
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        QCOMPARE(sensor.GetXYZ(reading), 0);
        QCOMPARE(reading.Y, 2.0);
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void closed_driver_hands_out_nothing()
    {
        stub_sensor sensor(false);
        sensor.m_readings = {CCIEXYZ(1, 2, 3)};
        QCOMPARE(sensor.MeasureXYZ(1), 0);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
    }

    void failed_reading_leaves_nothing_to_hand_out()
    {
        stub_sensor sensor(true);
        sensor.m_readings = {CCIEXYZ(1, 2, 3)};
        QCOMPARE(sensor.MeasureXYZ(2), -1003);
        CCIEXYZ reading;
        QCOMPARE(sensor.GetXYZ(reading), -1003);
        QCOMPARE(sensor.GetLastReading().Y, 0.0);
    }

    void repeat_count_rule_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("Y");
        QTest::addColumn<unsigned>("count");
        QTest::addColumn<unsigned>("result");
        QTest::newRow("off") << false << 1.0 << 1u << 1u;
        QTest::newRow("2.9") << true << 2.9 << 1u << 3u;
        QTest::newRow("3") << true << 3.0 << 1u << 2u;
        QTest::newRow("9.99") << true << 9.99 << 1u << 2u;
        QTest::newRow("10") << true << 10.0 << 1u << 1u;
        QTest::newRow("dim replaces a larger count") << true << 0.5 << 7u << 3u;
        QTest::newRow("bright keeps the count") << true << 200.0 << 7u << 7u;
    }

    void repeat_count_rule()
    {
        QFETCH(bool, on);
        QFETCH(double, Y);
        QFETCH(unsigned, count);
        QFETCH(unsigned, result);
        QCOMPARE(low_light_averaging::repeat_count(Y, count, on), result);
    }

    void averaging_follows_the_preferences()
    {
        QVERIFY(!low_light_averaging::enabled());
        {
            const auto preferences = sensor_test_environment::preferences(true);
            QVERIFY(preferences);
            QVERIFY(low_light_averaging::enabled());
            stub_sensor sensor(true);
            sensor.m_readings = {CCIEXYZ(1, 2, 3), CCIEXYZ(2, 4, 6), CCIEXYZ(3, 6, 9), CCIEXYZ(9, 9, 9)};
            QCOMPARE(sensor.MeasureXYZ(1), 0);
            QCOMPARE(sensor.GetRepeatCount(), 3u);
            CCIEXYZ reading;
            QCOMPARE(sensor.GetXYZ(reading), 0);
            QCOMPARE(reading.X, 2.0);
            QCOMPARE(reading.Y, 4.0);
            QCOMPARE(reading.Z, 6.0);
        }
        QVERIFY(!low_light_averaging::enabled());
    }
};

QTEST_GUILESS_MAIN(tst_sensor_interface)
#include "tst_sensor_interface.moc"
