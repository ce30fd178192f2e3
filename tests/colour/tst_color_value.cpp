#include "colour/CColorValue.h"
#include "colour/CTargetValue.h"
#include "colour/stream_record.h"
#include "record_fixtures.h"

#include <QtTest>

#include <cmath>

using namespace record_fixtures;

namespace {

// sRGB primaries scaled so that full white is 200 cd/m².
const CCIEXYZ kRed(82.48, 42.52, 3.86);
const CCIEXYZ kGreen(71.52, 143.04, 23.84);
const CCIEXYZ kBlue(36.10, 14.44, 190.10);

CCIEXYZ mix(double r, double g, double b)
{
    return CCIEXYZ(r * kRed.X + g * kGreen.X + b * kBlue.X,
                   r * kRed.Y + g * kGreen.Y + b * kBlue.Y,
                   r * kRed.Z + g * kGreen.Z + b * kBlue.Z);
}

// A display whose three channels follow v^gamma on top of a black of
// |blackFraction| of full drive (white chromaticity), measured at |steps| levels.
CColorValue synthetic_display(double gamma, double blackFraction, int steps)
{
    CColorValue value;
    value.uncorrected.red = kRed;
    value.uncorrected.green = kGreen;
    value.uncorrected.blue = kBlue;
    value.uncorrected.white = mix(1 + blackFraction, 1 + blackFraction, 1 + blackFraction);
    value.uncorrected.black = mix(blackFraction, blackFraction, blackFraction);
    for (int i = 0; i < steps; ++i) {
        const double level = std::pow(double(i) / (steps - 1), gamma) + blackFraction;
        value.uncorrected_greyscale.append(mix(level, level, level));
    }
    return value;
}

CSpline power_curve(double gamma)
{
    CSpline curve;
    curve.Init(CSpline::kCatmullRom, 256, 0.0, 1.0);
    curve.SetGamma(gamma);
    return curve;
}

CTargetValue target(int gammaType, quint32 contrastRatio)
{
    CTargetValue value;
    value.SetGammaType(gammaType);
    value.SetGamma(2.2);
    value.SetContrastRatio(contrastRatio);
    return value;
}

bool all_valid(const CColorValue::ChannelCurves &curves, bool valid)
{
    for (const CSpline &curve : curves) {
        if (curve.IsValid() != valid)
            return false;
    }
    return true;
}

// Offsets in the stream of a default value.
constexpr int kGreyscaleCountsOffset = 8 + 5 * 24;
constexpr int kDateTimeOffset = kGreyscaleCountsOffset + 8 + 10 * 24;
constexpr int kDefaultCurveBytes = 4 + 4 + 4 + 4 * 8 + 1 + 4;
constexpr int kCurvesOffset = kDateTimeOffset + 9;
constexpr int kDefaultSize = kCurvesOffset + 12 * kDefaultCurveBytes + 3 * 24 + kDefaultCurveBytes;

} // namespace

class tst_color_value : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        const CColorValue value;
        QVERIFY(value.measurement_date_time.isNull());
        QVERIFY(value.uncorrected_greyscale.isEmpty());
        QCOMPARE(value.native.white.Y, 0.0);
        QCOMPARE(value.target_curve.GetKind(), int(CSpline::kNone));
        QVERIFY(!value.correction_curves[CColorValue::kRed].IsValid());
        QCOMPARE(value.further_integer_a, 1);
        QCOMPARE(value.further_integer_b, 0);
    }

    void assignment_copies_streamed_fields_and_second_integer()
    {
        const CColorValue source = populated_color_value();
        CColorValue copy;
        copy = source;
        compare_streamed(copy, source);
        QCOMPARE(copy.further_integer_a, 1);
        QCOMPARE(copy.further_integer_b, 9);
    }

    void measured_curves_follow_the_normalised_response()
    {
        CColorValue value = synthetic_display(2.6, 0.002, 33);
        QCOMPARE(value.BuildMeasuredChannelCurves(false), 0);
        QVERIFY(all_valid(value.response_curves, true));
        QVERIFY(all_valid(value.inverse_response_curves, true));
        for (int c = 0; c < CColorValue::kChannelCount; ++c) {
            const CSpline &response = value.response_curves[c];
            QCOMPARE(response.GetSize(), 33);
            for (int i = 0; i < 33; ++i) {
                const double v = i / 32.0;
                // The black offset is removed exactly; what is left is the
                // rounding of the matrix inversion.
                QVERIFY(std::abs(response.GetX(i) - v) < 1e-12);
                QVERIFY(std::abs(response.GetY(i) - std::pow(v, 2.6)) < 1e-9);
                QCOMPARE(value.inverse_response_curves[c].GetX(i), response.GetY(i));
                QCOMPARE(value.inverse_response_curves[c].GetY(i), response.GetX(i));
            }
        }
    }

    void common_black_uses_the_largest_bottom_component()
    {
        // Bottom RGB (-0.01, 0.02, 0.01): with common black every channel
        // starts from 0.02, else each from its own bottom.
        for (bool common : {true, false}) {
            CColorValue value;
            value.uncorrected.red = kRed;
            value.uncorrected.green = kGreen;
            value.uncorrected.blue = kBlue;
            value.uncorrected_greyscale = {mix(-0.01, 0.02, 0.01), mix(0.5, 0.5, 0.5),
                                           mix(1.0, 1.0, 1.0)};
            // Keep every entry above the dark threshold so the values stay as built.
            for (CCIEXYZ &entry : value.uncorrected_greyscale)
                entry = CCIEXYZ(entry.X + 10 * kRed.X + 10 * kGreen.X + 10 * kBlue.X,
                                entry.Y + 10 * kRed.Y + 10 * kGreen.Y + 10 * kBlue.Y,
                                entry.Z + 10 * kRed.Z + 10 * kGreen.Z + 10 * kBlue.Z);
            QCOMPARE(value.BuildMeasuredChannelCurves(common), 0);
            const double bottoms[3] = {-0.01, 0.02, 0.01};
            for (int c = 0; c < 3; ++c) {
                const double bottom = 10 + (common ? 0.02 : bottoms[c]);
                const double expected = (10.5 - bottom) / (11.0 - bottom);
                QVERIFY2(std::abs(value.response_curves[c].GetY(1) - expected) < 1e-9,
                         qPrintable(QString("channel %1 common %2").arg(c).arg(common)));
            }
        }
    }

    void dark_entries_take_the_reference_chromaticity()
    {
        CColorValue value = synthetic_display(1.0, 0.0, 4);
        // Entry 0 is dark (1 cd/m², a reddish tint), entry 1 exactly 3.0
        // (neither replaced nor the reference), entry 2 the reference.
        value.uncorrected_greyscale[0] = CCIEYxy(1.0, 0.5, 0.4).ToXYZ();
        value.uncorrected_greyscale[1] = CCIEYxy(3.0, 0.25, 0.3).ToXYZ();
        value.uncorrected_greyscale[2] = CCIEYxy(50.0, 0.3127, 0.329).ToXYZ();
        const CCIEXYZ exact = value.uncorrected_greyscale[1];
        QCOMPARE(value.BuildMeasuredChannelCurves(false), 0);
        const CCIEYxy dark = value.uncorrected_greyscale[0].ToYxy();
        // Conversion round trips lose a few ulps.
        QVERIFY(std::abs(dark.Y - 1.0) < 1e-12);
        QVERIFY(std::abs(dark.x - 0.3127) < 1e-12);
        QVERIFY(std::abs(dark.y - 0.329) < 1e-12);
        compare_xyz(value.uncorrected_greyscale[1], exact);
    }

    void greyscale_that_cannot_give_curves_data()
    {
        QTest::addColumn<QVector<CCIEXYZ>>("greyscale");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("curvesInvalidated");
        QTest::newRow("empty") << QVector<CCIEXYZ>() << -1 << false;
        QTest::newRow("single entry") << QVector<CCIEXYZ>{mix(1, 1, 1)} << -1 << true;
        QTest::newRow("flat channels") << QVector<CCIEXYZ>{mix(0.5, 0.5, 0.5), mix(0.5, 0.5, 0.5)}
                                       << -1 << true;
        QTest::newRow("blue without range")
            << QVector<CCIEXYZ>{mix(0.1, 0.1, 0.4), mix(1, 1, 0.4)} << -1 << true;
        QTest::newRow("top below bottom")
            << QVector<CCIEXYZ>{mix(1, 1, 1), mix(0.2, 0.2, 0.2)} << -1 << true;
        // A NaN luminance is neither dark nor bright, so it reaches the transform as it is.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("not finite") << QVector<CCIEXYZ>{mix(0, 0, 0), CCIEXYZ(1, nan, 1),
                                                        mix(1, 1, 1)}
                                    << -1 << true;
    }

    void greyscale_that_cannot_give_curves()
    {
        QFETCH(QVector<CCIEXYZ>, greyscale);
        QFETCH(int, code);
        QFETCH(bool, curvesInvalidated);
        CColorValue value = synthetic_display(2.2, 0.0, 8);
        QCOMPARE(value.BuildMeasuredChannelCurves(false), 0);
        const CSpline before = value.response_curves[CColorValue::kGreen];
        value.uncorrected_greyscale = greyscale;
        QCOMPARE(value.BuildMeasuredChannelCurves(false), code);
        QVERIFY(all_valid(value.response_curves, !curvesInvalidated));
        QVERIFY(all_valid(value.inverse_response_curves, !curvesInvalidated));
        // The points are never replaced by empty or non-finite ones.
        QVERIFY(!(value.response_curves[CColorValue::kGreen] != before));
        // Nothing downstream can build a lookup table from such curves.
        value.target_curve = power_curve(2.2);
        const int expectedCorrection = curvesInvalidated ? -1014 : 0;
        QCOMPARE(value.BuildCorrectionCurves(target(CTargetValue::kGammaPower, 0)),
                 expectedCorrection);
    }

    void singular_primaries_leave_the_curves()
    {
        CColorValue value = synthetic_display(2.2, 0.0, 8);
        QCOMPARE(value.BuildMeasuredChannelCurves(false), 0);
        const CSpline before = value.inverse_response_curves[CColorValue::kRed];
        value.uncorrected.green = kRed;
        value.uncorrected_greyscale.append(mix(2, 2, 2));
        QVERIFY(value.BuildMeasuredChannelCurves(false) != 0);
        QVERIFY(all_valid(value.response_curves, true));
        QCOMPARE(value.inverse_response_curves[CColorValue::kRed].GetSize(), 8);
        QVERIFY(!(value.inverse_response_curves[CColorValue::kRed] != before));
    }

    void correction_reaches_the_target_curve_data()
    {
        QTest::addColumn<int>("gammaType");
        QTest::addColumn<quint32>("contrast");
        QTest::addColumn<double>("lift");
        // White 200.4 and black 0.4 cd/m² (black fraction 0.002).
        QTest::newRow("no contrast target") << int(CTargetValue::kGammaPower) << 0u << 0.0;
        QTest::newRow("display darker than the target black")
            << int(CTargetValue::kGammaPower) << 1000u << 0.0;
        QTest::newRow("black lifted") << int(CTargetValue::kGammaPower) << 100u
                                      << (200.4 / 100 - 0.4) / (200.4 - 0.4);
        QTest::newRow("native gamma ignores the ratio")
            << int(CTargetValue::kGammaNative) << 100u << 0.0;
    }

    void correction_reaches_the_target_curve()
    {
        QFETCH(int, gammaType);
        QFETCH(quint32, contrast);
        QFETCH(double, lift);
        CColorValue value = synthetic_display(2.6, 0.002, 33);
        QCOMPARE(value.BuildMeasuredChannelCurves(false), 0);
        value.target_curve = power_curve(2.2);
        QCOMPARE(value.BuildCorrectionCurves(target(gammaType, contrast)), 0);
        QVERIFY(all_valid(value.correction_curves, true));
        for (int c = 0; c < CColorValue::kChannelCount; ++c) {
            const CSpline &curve = value.correction_curves[c];
            QCOMPARE(curve.GetSize(), 33);
            QCOMPARE(curve.GetKind(), int(CSpline::kCatmullRom));
            for (int i = 0; i < 33; ++i) {
                const double x = i / 32.0;
                const double wanted = std::pow(x, 2.2) * (1 - lift) + lift;
                const double expected = std::pow(wanted, 1 / 2.6);
                // Interpolating the sampled inverse response (33 levels) and the
                // 256-point target curve: within 1 % of full drive near black,
                // where the response is steepest, within 0.2 % elsewhere.
                const double tolerance = wanted < 0.01 ? 0.01 : 0.002;
                QVERIFY2(std::abs(curve.GetY(i) - expected) < tolerance,
                         qPrintable(QString("channel %1 point %2: %3 vs %4")
                                        .arg(c).arg(i).arg(curve.GetY(i)).arg(expected)));
                QCOMPARE(curve.GetX(i), x);
            }
            // The ends are exact: the lifted black and full white.
            QVERIFY(std::abs(curve.GetY(32) - 1.0) < 1e-12);
        }
    }

    void correction_needs_inverse_response_curves()
    {
        CColorValue value = synthetic_display(2.2, 0.0, 8);
        for (CSpline &curve : value.correction_curves)
            curve.SetValid(true);
        QCOMPARE(value.BuildCorrectionCurves(target(CTargetValue::kGammaPower, 0)), -1014);
        QVERIFY(all_valid(value.correction_curves, false));

        QCOMPARE(value.BuildMeasuredChannelCurves(false), 0);
        value.inverse_response_curves[CColorValue::kBlue].SetValid(false);
        QCOMPARE(value.BuildCorrectionCurves(target(CTargetValue::kGammaPower, 0)), -1014);
    }

    void correction_refuses_a_single_point_curve()
    {
        CColorValue value;
        for (CSpline &curve : value.inverse_response_curves) {
            curve.Init(CSpline::kCatmullRom, 0, 0.0, 1.0);
            curve.AppendPoint(QPointF(0.5, 0.5));
            curve.SetValid(true);
        }
        QCOMPARE(value.BuildCorrectionCurves(target(CTargetValue::kGammaPower, 0)), -1014);
        QVERIFY(all_valid(value.correction_curves, false));
    }

    void round_trip_is_equal_field_by_field()
    {
        const CColorValue source = populated_color_value();
        const QByteArray bytes = written(source);
        QVERIFY(!bytes.isEmpty());
        CColorValue copy;
        QCOMPARE(read_into(copy, bytes), 0);
        compare_streamed(copy, source);
        QCOMPARE(copy.further_integer_a, 1);
        QCOMPARE(copy.further_integer_b, 0);
        QCOMPARE(written(copy), bytes);
    }

    void curve_without_kind_survives_the_stream()
    {
        CColorValue source;
        source.target_curve.SetValid(true);
        CColorValue copy;
        QCOMPARE(read_into(copy, written(source)), 0);
        QCOMPARE(copy.target_curve.GetKind(), int(CSpline::kNone));
        QVERIFY(copy.target_curve.IsValid());
    }

    void reading_replaces_the_lists()
    {
        CColorValue target = populated_color_value();
        target.uncorrected_greyscale.append(CCIEXYZ(1, 2, 3));
        QCOMPARE(read_into(target, written(CColorValue())), 0);
        QVERIFY(target.uncorrected_greyscale.isEmpty());
        QVERIFY(target.corrected_greyscale.isEmpty());
    }

    void default_layout()
    {
        const QByteArray bytes = written(CColorValue());
        QCOMPARE(bytes.size(), kDefaultSize);
        QCOMPARE(bytes.left(8).toHex(), QByteArray("0000beef00000068"));
        QCOMPARE(bytes.mid(kGreyscaleCountsOffset, 8).toHex(), QByteArray("0000000000000000"));
        // A null date-time: julian day 0 and an invalid time.
        QCOMPARE(bytes.mid(kDateTimeOffset, 8).toHex(), QByteArray("00000000ffffffff"));
        // The first curve header (sampled-curve magic 64222, version 101, kind 5).
        QCOMPARE(bytes.mid(kCurvesOffset, 12).toHex(), QByteArray("0000fade0000006500000005"));
    }

    void field_positions()
    {
        CColorValue value;
        value.corrected.red = CCIEXYZ(1.5, 0, 0);
        value.corrected_greyscale = {CCIEXYZ(2.5, 0, 0)};
        value.uncorrected.red = CCIEXYZ(3.5, 0, 0);
        value.native.red = CCIEXYZ(4.5, 0, 0);
        const QByteArray bytes = written(value);
        const auto double_at = [&bytes](int offset) {
            QDataStream in(bytes.mid(offset, 8));
            stream_record::prepare(in);
            double v = 0;
            in >> v;
            return v;
        };
        QCOMPARE(double_at(8), 1.5);
        QCOMPARE(bytes.mid(kGreyscaleCountsOffset, 4).toHex(), QByteArray("00000001"));
        QCOMPARE(double_at(kGreyscaleCountsOffset + 4), 2.5);
        const int uncorrectedOffset = kGreyscaleCountsOffset + 4 + 24 + 4;
        QCOMPARE(double_at(uncorrectedOffset), 3.5);
        QCOMPARE(double_at(uncorrectedOffset + 5 * 24), 4.5);
    }

    void header_errors_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<char>("byte");
        QTest::addColumn<int>("code");
        QTest::newRow("wrong magic") << 3 << char(0xEE) << -1502;
        QTest::newRow("newer version") << 7 << char(105) << -1501;
        QTest::newRow("older version") << 7 << char(103) << -1501;
    }

    void header_errors()
    {
        QFETCH(int, offset);
        QFETCH(char, byte);
        QFETCH(int, code);
        QByteArray bytes = written(populated_color_value());
        bytes[offset] = byte;
        CColorValue value;
        QCOMPARE(read_into(value, bytes), code);
    }

    void damaged_streams_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = written(populated_color_value());
        const int sizes[] = {0, 3, 7, 8, 100, kGreyscaleCountsOffset + 2,
                             kGreyscaleCountsOffset + 4 + 20, good.size() / 2, good.size() - 30,
                             good.size() - 1};
        for (int size : sizes)
            QTest::newRow(qPrintable(QString("cut at %1").arg(size))) << good.left(size);
        const auto patched = [&good](int offset, const QByteArray &with) {
            QByteArray bytes = good;
            bytes.replace(offset, with.size(), with);
            return bytes;
        };
        QTest::newRow("negative grey count")
            << patched(kGreyscaleCountsOffset, QByteArray::fromHex("ffffffff"));
        QTest::newRow("huge grey count")
            << patched(kGreyscaleCountsOffset, QByteArray::fromHex("7fffffff"));
        QTest::newRow("grey count beyond the stream")
            << patched(kGreyscaleCountsOffset, QByteArray::fromHex("00010000"));
        QTest::newRow("curve magic")
            << patched(good.indexOf(QByteArray::fromHex("0000fade")) + 3, QByteArray::fromHex("00"));
        QTest::newRow("curve point count")
            << patched(good.indexOf(QByteArray::fromHex("0000fade")) + 12 + 32 + 1,
                       QByteArray::fromHex("7ffffff0"));
    }

    void damaged_streams()
    {
        QFETCH(QByteArray, bytes);
        CColorValue value;
        QVERIFY(read_into(value, bytes) < 0);
    }

    void write_failure_is_reported()
    {
        QBuffer closed; // never opened: every write fails
        QDataStream out(&closed);
        QCOMPARE(populated_color_value().Write(out), -1504);
    }
};

QTEST_APPLESS_MAIN(tst_color_value)
#include "tst_color_value.moc"
