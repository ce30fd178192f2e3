#include "colour/CColorTemperature.h"

#include "stream_bytes.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// The locus formulas are evaluated in double precision; 1e-9 covers their
// rounding with a wide margin and still tells every formula branch apart.
constexpr double kFormula = 1e-9;

QByteArray kelvin_white_bytes(qint32 magic, qint32 version, quint16 kelvin, bool native)
{
    return stream_bytes::written([&](QDataStream &out) {
        out << magic << version << true << kelvin << native;
    });
}

CColorTemperature read_white(const QByteArray &bytes, int expectedCode)
{
    QDataStream in(bytes);
    stream_record::prepare(in);
    CColorTemperature white;
    const int code = white.Read(in);
    if (code != expectedCode)
        qWarning("read returned %d", code);
    return white;
}

} // namespace

class tst_colour_temperature : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void kelvin_to_xy_data()
    {
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("1666 below range") << 1666 << false << 0.0 << 0.0;
        QTest::newRow("1667 first") << 1667 << true << 0.5646386285 << 0.4028870155;
        QTest::newRow("2221 first y cubic") << 2221 << true << 0.5032900300 << 0.4152497180;
        QTest::newRow("2222 second y cubic") << 2222 << true << 0.5031877153 << 0.4152560255;
        QTest::newRow("3999 Planckian") << 3999 << true << 0.3805727621 << 0.3767615793;
        QTest::newRow("4000 daylight") << 4000 << true << 0.3823436250 << 0.3837662610;
        QTest::newRow("6500") << 6500 << true << 0.3127788762 << 0.3291834985;
        QTest::newRow("7000 lower daylight") << 7000 << true << 0.3053574315 << 0.3216463455;
        QTest::newRow("7001 upper daylight") << 7001 << true << 0.3053433374 << 0.3216317173;
        QTest::newRow("25000 last") << 25000 << true << 0.2498536704 << 0.2547994642;
        QTest::newRow("25001 above range") << 25001 << false << 0.0 << 0.0;
        QTest::newRow("0") << 0 << false << 0.0 << 0.0;
    }

    void kelvin_to_xy()
    {
        QFETCH(int, kelvin);
        QFETCH(bool, ok);
        QFETCH(double, x);
        QFETCH(double, y);
        CIExy xy{9.0, 9.0};
        QCOMPARE(::kelvin_to_xy(quint16(kelvin), xy), ok);
        QVERIFY(qAbs(xy.x - x) < kFormula);
        QVERIFY(qAbs(xy.y - y) < kFormula);
    }

    void xy_to_kelvin_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("kelvin");
        QTest::addColumn<int>("tolerance");
        // Published correlated colour temperatures; the table method agrees
        // within a few kelvin.
        QTest::newRow("D65") << 0.3127 << 0.3290 << true << 6504 << 3;
        QTest::newRow("D50") << 0.3457 << 0.3585 << true << 5003 << 3;
        QTest::newRow("A") << 0.44757 << 0.40745 << true << 2856 << 3;
        QTest::newRow("D75") << 0.2990 << 0.3149 << true << 7504 << 6;
        QTest::newRow("x below range") << 0.19 << 0.30 << false << 0 << 0;
        QTest::newRow("y above range") << 0.40 << 0.51 << false << 0 << 0;
        QTest::newRow("x not a number") << std::numeric_limits<double>::quiet_NaN() << 0.3 << false << 0 << 0;
        QTest::newRow("hotter than row 0") << 0.2 << 0.2 << false << 0 << 0;
        QTest::newRow("between rows 0 and 1") << 0.24125 << 0.23612 << false << 0 << 0;
        QTest::newRow("near 100000 K") << 0.2426 << 0.2381 << false << 0 << 0;
        QTest::newRow("colder than row 64") << 0.6 << 0.38 << false << 0 << 0;
        // 638 mired: the interpolation centres on the last row.
        QTest::newRow("638 mired") << 0.57728 << 0.39737 << true << 1567 << 1;
    }

    void xy_to_kelvin()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, ok);
        QFETCH(int, kelvin);
        QFETCH(int, tolerance);
        quint16 k = 1;
        double deviation = 1.0;
        QCOMPARE(::xy_to_kelvin(CIExy{x, y}, k, deviation), ok);
        QVERIFY2(qAbs(int(k) - kelvin) <= tolerance, qPrintable(QString::number(k)));
        if (!ok)
            QCOMPARE(deviation, 0.0);
        else
            QVERIFY(qAbs(deviation) < 0.005); // all these points lie close to the locus
    }

    void deviation_sign_follows_the_side_off_the_formula_range()
    {
        // Below 1667 K there is no formula point, so the signed locus distance stays.
        quint16 k = 0;
        double above = 0.0, below = 0.0;
        // Points 0.003 in y above and below the locus near 620 mired.
        QVERIFY(::xy_to_kelvin(CIExy{0.571657, 0.402965}, k, above));
        QVERIFY(::xy_to_kelvin(CIExy{0.571657, 0.396965}, k, below));
        QVERIFY(above > 0.0005);
        QVERIFY(below < -0.0005);
    }

    void deviation_is_unsigned_inside_the_formula_range()
    {
        quint16 k = 0;
        double deviation = 0.0;
        QVERIFY(::xy_to_kelvin(CIExy{0.3127, 0.3190}, k, deviation)); // below the locus
        QVERIFY(deviation > 0.003);
        CIExy onLocus;
        QVERIFY(::kelvin_to_xy(k, onLocus));
        const auto uv = [](const CIExy &p) {
            const double d = -p.x + 6.0 * p.y + 1.5;
            return std::make_pair(2.0 * p.x / d, 3.0 * p.y / d);
        };
        const auto a = uv(CIExy{0.3127, 0.3190});
        const auto b = uv(onLocus);
        // The distance to the formula point of the found kelvin, recomputed here.
        QVERIFY(qAbs(deviation - std::hypot(a.first - b.first, a.second - b.second)) < 1e-12);
    }

    void whole_accepted_range_stays_inside_the_table()
    {
        // Every accepted point gives a 16-bit kelvin between 640 mired and the
        // limit; every refused one leaves both outputs at 0.
        for (double x = 0.2; x <= 0.6; x += 0.002) {
            for (double y = 0.2; y <= 0.5; y += 0.002) {
                quint16 k = 7;
                double deviation = 7.0;
                if (::xy_to_kelvin(CIExy{x, y}, k, deviation)) {
                    QVERIFY(k >= 1562);
                    QVERIFY(std::isfinite(deviation));
                } else {
                    QCOMPARE(k, quint16(0));
                    QCOMPARE(deviation, 0.0);
                }
            }
        }
    }

    void construct_from_xy()
    {
        const CColorTemperature white(CIExy{0.3127, 0.3290});
        QVERIFY(!white.IsKelvinSpecified());
        QVERIFY(!white.IsNative());
        QCOMPARE(white.GetX(), 0.3127);
        QCOMPARE(white.GetY(), 0.3290);
        quint16 k = 0;
        double deviation = 0.0;
        ::xy_to_kelvin(CIExy{0.3127, 0.3290}, k, deviation);
        QCOMPARE(white.GetKelvin(), k);
        QCOMPARE(white.GetDeviation(), deviation);

        const CColorTemperature outside(CIExy{0.19, 0.3});
        QCOMPARE(outside.GetKelvin(), quint16(0));
        QCOMPARE(outside.GetDeviation(), 0.0);
        QCOMPARE(outside.GetX(), 0.19);
    }

    void construct_from_kelvin()
    {
        const CColorTemperature white(quint16(6500));
        QVERIFY(white.IsKelvinSpecified());
        QVERIFY(!white.IsNative());
        QCOMPARE(white.GetKelvin(), quint16(6500));
        QVERIFY(qAbs(white.GetX() - 0.3127788762) < kFormula);
        QCOMPARE(white.GetDeviation(), 0.0);

        const CColorTemperature tooCold(quint16(1666));
        QCOMPARE(tooCold.GetX(), 0.0);
        QCOMPARE(tooCold.GetY(), 0.0);
        QVERIFY(!tooCold.IsNative());

        const CColorTemperature native(quint16(0));
        QVERIFY(native.IsNative());
        QVERIFY(native.IsKelvinSpecified());
        QCOMPARE(native.GetX(), 0.0);
        QCOMPARE(native.GetY(), 0.0);
    }

    void to_string_data()
    {
        QTest::addColumn<CColorTemperature>("white");
        QTest::addColumn<QString>("text");
        QTest::newRow("native") << CColorTemperature(quint16(0)) << "Native";
        QTest::newRow("kelvin") << CColorTemperature(quint16(6500)) << "6500K";
        QTest::newRow("kelvin without grouping") << CColorTemperature(quint16(10000)) << "10000K";
        QTest::newRow("kelvin outside the formulas") << CColorTemperature(quint16(1000)) << "1000K";
        QTest::newRow("default") << CColorTemperature() << "";
        QTest::newRow("x is 0") << CColorTemperature(CIExy{0.0, 0.33}) << "";
        QTest::newRow("D50") << CColorTemperature(CIExy{0.3457, 0.3585}) << "D50";
        QTest::newRow("D55") << CColorTemperature(CIExy{0.3324, 0.3474}) << "D55";
        QTest::newRow("D65") << CColorTemperature(CIExy{0.3127, 0.3290}) << "D65";
        QTest::newRow("D75") << CColorTemperature(CIExy{0.2990, 0.3149}) << "D75";
        QTest::newRow("near D65") << CColorTemperature(CIExy{0.31271, 0.3290}) << "x=0.313 y=0.329";
        QTest::newRow("rounded") << CColorTemperature(CIExy{0.28, 0.2916}) << "x=0.280 y=0.292";
    }

    void to_string()
    {
        QFETCH(CColorTemperature, white);
        QFETCH(QString, text);
        QCOMPARE(white.ToString(), text);
    }

    void equality_data()
    {
        QTest::addColumn<CColorTemperature>("a");
        QTest::addColumn<CColorTemperature>("b");
        QTest::addColumn<bool>("equal");
        const CColorTemperature native(quint16(0));
        QTest::newRow("native, native") << native << native << true;
        QTest::newRow("native, kelvin") << native << CColorTemperature(quint16(6500)) << false;
        QTest::newRow("xy, native") << CColorTemperature(CIExy{0.3, 0.3}) << native << false;
        QTest::newRow("same kelvin") << CColorTemperature(quint16(6500)) << CColorTemperature(quint16(6500)) << true;
        QTest::newRow("other kelvin") << CColorTemperature(quint16(6500)) << CColorTemperature(quint16(6501)) << false;
        QTest::newRow("kelvin against its own xy")
            << CColorTemperature(quint16(6500)) << CColorTemperature(CColorTemperature(quint16(6500)).GetCIExy())
            << false;
        QTest::newRow("xy within the same thousandth")
            << CColorTemperature(CIExy{0.3126, 0.3290}) << CColorTemperature(CIExy{0.3130, 0.3290}) << true;
        QTest::newRow("xy across a thousandth")
            << CColorTemperature(CIExy{0.3124, 0.3290}) << CColorTemperature(CIExy{0.3126, 0.3290}) << false;
        QTest::newRow("y across a thousandth")
            << CColorTemperature(CIExy{0.3127, 0.3294}) << CColorTemperature(CIExy{0.3127, 0.3296}) << false;
    }

    void equality()
    {
        QFETCH(CColorTemperature, a);
        QFETCH(CColorTemperature, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(a != b, !equal);
    }

    void native_rule_is_one_sided()
    {
        // A 0 K white stored without the native flag equals a native white
        // when asked from its side (both 0 K), but not the other way round.
        const CColorTemperature plainZero =
            read_white(kelvin_white_bytes(CColorTemperature::kMagic, CColorTemperature::kVersion, 0, false), 0);
        const CColorTemperature native(quint16(0));
        QVERIFY(!plainZero.IsNative());
        QVERIFY(plainZero == native);
        QVERIFY(!(native == plainZero));
    }

    void stream_layout_of_a_kelvin_white()
    {
        const CColorTemperature white(quint16(6500));
        int code = -1;
        const QByteArray bytes = stream_bytes::written([&](QDataStream &out) { code = white.Write(out); });
        QCOMPARE(code, 0);
        QCOMPARE(bytes.toHex(), QByteArray("0000fadf" "00000065" "01" "1964" "00"));
    }

    void stream_layout_of_an_xy_white()
    {
        const CColorTemperature white(CIExy{0.5, 0.25});
        const QByteArray bytes = stream_bytes::written([&](QDataStream &out) { white.Write(out); });
        QCOMPARE(bytes.toHex(),
                 QByteArray("0000fadf" "00000065" "00" "3fe0000000000000" "3fd0000000000000" "00"));
    }

    void stream_round_trip_data()
    {
        QTest::addColumn<CColorTemperature>("white");
        QTest::newRow("kelvin") << CColorTemperature(quint16(9300));
        QTest::newRow("xy") << CColorTemperature(CIExy{0.3127, 0.3290});
        QTest::newRow("native") << CColorTemperature(quint16(0));
        QTest::newRow("default") << CColorTemperature();
    }

    void stream_round_trip()
    {
        QFETCH(CColorTemperature, white);
        for (auto order : {QDataStream::BigEndian, QDataStream::LittleEndian}) {
            const QByteArray bytes = stream_bytes::written([&](QDataStream &out) { white.Write(out); }, order);
            QDataStream in(bytes);
            stream_record::prepare(in);
            in.setByteOrder(order);
            CColorTemperature read(quint16(5000));
            QCOMPARE(read.Read(in), 0);
            QCOMPARE(read.IsNative(), white.IsNative());
            QCOMPARE(read.IsKelvinSpecified(), white.IsKelvinSpecified());
            QCOMPARE(read.GetKelvin(), white.GetKelvin());
            QCOMPARE(read.GetX(), white.GetX());
            QCOMPARE(read.GetY(), white.GetY());
            QCOMPARE(read.GetDeviation(), white.GetDeviation());
            QCOMPARE(read.ToString(), white.ToString());
        }
    }

    void read_derives_the_chromaticity_from_kelvin()
    {
        const CColorTemperature white =
            read_white(kelvin_white_bytes(CColorTemperature::kMagic, CColorTemperature::kVersion, 4000, false), 0);
        QCOMPARE(white.GetKelvin(), quint16(4000));
        QVERIFY(qAbs(white.GetX() - 0.3823436250) < kFormula);
        QVERIFY(qAbs(white.GetY() - 0.3837662610) < kFormula);
        QCOMPARE(white.GetDeviation(), 0.0);
    }

    void read_errors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        const QByteArray good = kelvin_white_bytes(CColorTemperature::kMagic, CColorTemperature::kVersion, 6500, false);
        QTest::newRow("wrong magic") << kelvin_white_bytes(64222, 101, 6500, false) << -1502;
        QTest::newRow("older version") << kelvin_white_bytes(64223, 100, 6500, false) << -1501;
        QTest::newRow("newer version") << kelvin_white_bytes(64223, 102, 6500, false) << -1501;
        QTest::newRow("no native flag") << good.left(good.size() - 1) << -1503;
        QTest::newRow("cut kelvin") << good.left(10) << -1503;
        QTest::newRow("empty") << QByteArray() << -1503;
    }

    void read_errors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QDataStream in(bytes);
        stream_record::prepare(in);
        CColorTemperature white(CIExy{0.3, 0.31});
        QCOMPARE(white.Read(in), code);
        // A failed read leaves the white as it was.
        QVERIFY(!white.IsKelvinSpecified());
        QCOMPARE(white.GetX(), 0.3);
        QCOMPARE(white.GetY(), 0.31);
    }

    void write_failure_is_reported()
    {
        stream_bytes::FailingStream failing;
        QCOMPARE(CColorTemperature(quint16(6500)).Write(failing.stream), -1504);
    }
};

QTEST_APPLESS_MAIN(tst_colour_temperature)
#include "tst_colour_temperature.moc"
