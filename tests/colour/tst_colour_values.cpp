#include "colour/colour_values.h"

#include "stream_bytes.h"

#include <QtTest>

// Tolerance for values computed in a few double operations: well above the
// rounding of those operations, far below any meaningful colour difference.
static constexpr double kTight = 1e-12;

class tst_colour_values : public QObject
{
    Q_OBJECT

private slots:
    void xyz_to_chromaticity_data()
    {
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("black has no chromaticity") << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("D65") << 95.047 << 100.0 << 108.883 << 0.312727 << 0.329023;
        QTest::newRow("zero sum, non-zero parts") << 1.0 << -1.0 << 0.0 << 0.0 << 0.0;
    }

    void xyz_to_chromaticity()
    {
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        QFETCH(double, x);
        QFETCH(double, y);
        const CCIEXYZ value(X, Y, Z);
        const CIExy xy = value.ToCIExy();
        const CCIEYxy Yxy = value.ToYxy();
        // 1e-6: the reference chromaticities are given to six decimals.
        QVERIFY(qAbs(xy.x - x) < 1e-6);
        QVERIFY(qAbs(xy.y - y) < 1e-6);
        QCOMPARE(Yxy.Y, Y);
        QCOMPARE(Yxy.x, xy.x);
        QCOMPARE(Yxy.y, xy.y);
    }

    void round_trip_through_Yxy()
    {
        const CCIEXYZ original(41.24, 21.26, 1.93);
        const CCIEXYZ back = original.ToYxy().ToXYZ();
        QVERIFY(qAbs(back.X - original.X) < kTight * 100);
        QCOMPARE(back.Y, original.Y);
        QVERIFY(qAbs(back.Z - original.Z) < kTight * 100);
        const CCIEXYZ viaConstructor(original.ToYxy());
        QCOMPARE(viaConstructor.X, back.X);
        QCOMPARE(viaConstructor.Z, back.Z);
    }

    void construct_from_chromaticity()
    {
        const CCIEXYZ value(CIExy{0.25, 0.5});
        QCOMPARE(value.X, 0.5);
        QCOMPARE(value.Y, 1.0);
        QCOMPARE(value.Z, 0.5);
    }

    void zero_y_keeps_luminance_only()
    {
        const CCIEXYZ fromXy(CIExy{0.3, 0.0});
        QCOMPARE(fromXy.X, 0.0);
        QCOMPARE(fromXy.Y, 1.0);
        QCOMPARE(fromXy.Z, 0.0);
        const CCIEYxy Yxy(42.0, 0.3, 0.0);
        for (const CCIEXYZ &value : {CCIEXYZ(Yxy), Yxy.ToXYZ()}) {
            QCOMPARE(value.X, 0.0);
            QCOMPARE(value.Y, 42.0);
            QCOMPARE(value.Z, 0.0);
        }
    }

    void colour_temperature_data()
    {
        QTest::addColumn<double>("X");
        QTest::addColumn<double>("Y");
        QTest::addColumn<double>("Z");
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("black") << 0.0 << 0.0 << 0.0 << 0 << 0;
        // The isotemperature-line method lands within a few kelvin of the
        // published correlated colour temperatures.
        QTest::newRow("D65") << 95.047 << 100.0 << 108.883 << 6504 << 3;
        QTest::newRow("illuminant A") << 109.85 << 100.0 << 35.585 << 2856 << 3;
        QTest::newRow("pure red is off the table") << 41.24 << 21.26 << 1.93 << 0 << 0;
    }

    void colour_temperature()
    {
        QFETCH(double, X);
        QFETCH(double, Y);
        QFETCH(double, Z);
        QFETCH(int, kelvin);
        QFETCH(int, tolerance);
        const int result = CCIEXYZ(X, Y, Z).GetColorTemperature();
        QVERIFY2(qAbs(result - kelvin) <= tolerance, qPrintable(QString::number(result)));
    }

    void differs_from_data()
    {
        QTest::addColumn<CCIEXYZ>("a");
        QTest::addColumn<CCIEXYZ>("b");
        QTest::addColumn<bool>("differs");
        const CCIEXYZ base(10, 10, 10);
        QTest::newRow("smaller by 2 does not count") << base << CCIEXYZ(12, 10, 10) << false;
        QTest::newRow("larger by 2 counts") << CCIEXYZ(12, 10, 10) << base << true;
        QTest::newRow("exactly 1 is not more than 1") << CCIEXYZ(11, 11, 11) << base << false;
        QTest::newRow("Y above") << CCIEXYZ(10, 11.5, 10) << base << true;
        QTest::newRow("Z above") << CCIEXYZ(10, 10, 11.5) << base << true;
        QTest::newRow("equal") << base << base << false;
    }

    void differs_from()
    {
        QFETCH(CCIEXYZ, a);
        QFETCH(CCIEXYZ, b);
        QFETCH(bool, differs);
        QCOMPARE(a.DiffersFrom(b), differs);
    }

    void stream_layout_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("big endian") << int(QDataStream::BigEndian)
                                    << QByteArray("3ff0000000000000c000000000000000"
                                                  "4010000000000000");
        QTest::newRow("little endian") << int(QDataStream::LittleEndian)
                                       << QByteArray("000000000000f03f00000000000000c0"
                                                     "0000000000001040");
    }

    void stream_layout()
    {
        QFETCH(int, order);
        QFETCH(QByteArray, hex);
        const CCIEXYZ value(1.0, -2.0, 4.0);
        int code = -1;
        const QByteArray bytes = stream_bytes::written(
            [&](QDataStream &out) { code = value.Write(out); }, QDataStream::ByteOrder(order));
        QCOMPARE(code, 0);
        QCOMPARE(bytes.size(), 24);
        QCOMPARE(bytes.toHex(), hex);

        QDataStream in(bytes);
        stream_record::prepare(in);
        in.setByteOrder(QDataStream::ByteOrder(order));
        CCIEXYZ read;
        QCOMPARE(read.Read(in), 0);
        QCOMPARE(read.X, 1.0);
        QCOMPARE(read.Y, -2.0);
        QCOMPARE(read.Z, 4.0);
    }

    void short_stream_fails_to_read()
    {
        const QByteArray bytes = stream_bytes::written(
            [](QDataStream &out) { CCIEXYZ(1.0, 2.0, 3.0).Write(out); });
        QDataStream in(bytes.left(20));
        stream_record::prepare(in);
        CCIEXYZ read(7.0, 7.0, 7.0);
        QCOMPARE(read.Read(in), -1503);
        // The fields are overwritten whatever the status.
        QCOMPARE(read.X, 1.0);
        QCOMPARE(read.Y, 2.0);
        QCOMPARE(read.Z, 0.0);
    }

    void write_failure_is_reported()
    {
        stream_bytes::FailingStream failing;
        QCOMPARE(CCIEXYZ(1, 2, 3).Write(failing.stream), -1504);
    }
};

QTEST_APPLESS_MAIN(tst_colour_values)
#include "tst_colour_values.moc"
