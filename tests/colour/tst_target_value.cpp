#include "colour/CTargetValue.h"

#include "colour/luminance_units.h"
#include "stream_bytes.h"

#include <QLocale>
#include <QtTest>

namespace {

QByteArray target_bytes(const CTargetValue &target)
{
    return stream_bytes::written([&](QDataStream &out) { target.Write(out); });
}

int read_target(const QByteArray &bytes, CTargetValue &target)
{
    QDataStream in(bytes);
    stream_record::prepare(in);
    return target.Read(in);
}

// A target with every field away from its default, on a custom curve.
CTargetValue full_target()
{
    CTargetValue t;
    t.SetContrastRatio(1500);
    t.SetWhitePoint(CColorTemperature(quint16(9300)));
    t.SetSpecifiedLuminance(180.5);
    t.SetValueA(0.45);
    t.SetGamma(2.4);
    t.SetDicomScalingFactor(0.8);
    t.SetDicomScalingFlag(true);
    t.SetFlagB(true);
    t.SetIntensityMode(CTargetValue::kIntensitySpecified);
    t.SetValueC(7);
    t.SetValueD(-3);
    t.SetGammaType(CTargetValue::kGammaCurve);
    t.SetName(QStringLiteral("Wall \u00e9"));
    CSpline curve;
    curve.Init(CSpline::kBSpline, 64, 0.0, 1.0);
    curve.SetGamma(1.8);
    t.SetCurve(curve);
    t.SetCurveSelection(CTargetValue::kCurveCustom);
    t.SetGamutKind(CTargetValue::kGamutCustomPrimaries);
    t.SetCustomPrimary(CTargetValue::kRed, CCIEXYZ(41.0, 21.0, 2.0));
    t.SetCustomPrimary(CTargetValue::kGreen, CCIEXYZ(36.0, 72.0, 12.0));
    t.SetCustomPrimary(CTargetValue::kBlue, CCIEXYZ(18.0, 7.0, 95.0));
    t.SetValueE(11);
    t.SetValueF(12);
    t.SetMaxMatchingLuminance(222.0);
    t.SetValueG(13.5);
    return t;
}

// A kelvin white point takes 12 bytes, so in full_target() the curve selection
// follows the gamma type at 8 + 12 + 3 * 8 + 4 * 4.
constexpr int kFullSelectionAt = 60;
constexpr int kFullCurveAt = kFullSelectionAt + 4;
constexpr int kFullCurveSize = 49 + 64 * 16;

// The curve and its selection travel only with gamma type 4.
void compare_every_field(const CTargetValue &a, const CTargetValue &b, bool withCurve = true)
{
    QCOMPARE(a.GetContrastRatio(), b.GetContrastRatio());
    QVERIFY(a.GetWhitePoint() == b.GetWhitePoint());
    QCOMPARE(a.GetWhitePoint().IsKelvinSpecified(), b.GetWhitePoint().IsKelvinSpecified());
    QCOMPARE(a.GetSpecifiedLuminance(), b.GetSpecifiedLuminance());
    QCOMPARE(a.GetValueA(), b.GetValueA());
    QCOMPARE(a.GetGamma(), b.GetGamma());
    QCOMPARE(a.GetDicomScalingFactor(), b.GetDicomScalingFactor());
    QCOMPARE(a.GetDicomScalingFlag(), b.GetDicomScalingFlag());
    QCOMPARE(a.GetFlagB(), b.GetFlagB());
    QCOMPARE(a.GetIntensityMode(), b.GetIntensityMode());
    QCOMPARE(a.GetValueC(), b.GetValueC());
    QCOMPARE(a.GetValueD(), b.GetValueD());
    QCOMPARE(a.GetGammaType(), b.GetGammaType());
    QCOMPARE(a.GetName(), b.GetName());
    QCOMPARE(a.GetName().isNull(), b.GetName().isNull());
    if (withCurve) {
        QVERIFY(a.GetCurve() == b.GetCurve());
        QCOMPARE(a.GetCurve().IsValid(), b.GetCurve().IsValid());
        QCOMPARE(a.GetCurveSelection(), b.GetCurveSelection());
    }
    QCOMPARE(a.GetGamutKind(), b.GetGamutKind());
    for (int c = CTargetValue::kRed; c <= CTargetValue::kBlue; ++c) {
        QCOMPARE(a.GetCustomPrimary(c).X, b.GetCustomPrimary(c).X);
        QCOMPARE(a.GetCustomPrimary(c).Y, b.GetCustomPrimary(c).Y);
        QCOMPARE(a.GetCustomPrimary(c).Z, b.GetCustomPrimary(c).Z);
    }
    QCOMPARE(a.GetValueE(), b.GetValueE());
    QCOMPARE(a.GetValueF(), b.GetValueF());
    QCOMPARE(a.GetMaxMatchingLuminance(), b.GetMaxMatchingLuminance());
    QCOMPARE(a.GetValueG(), b.GetValueG());
}

using Mutator = void (*)(CTargetValue &);

} // namespace

Q_DECLARE_METATYPE(Mutator)

class tst_target_value : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { luminance_units::set_uses_foot_lamberts(false); }

    void defaults()
    {
        const CTargetValue t;
        QCOMPARE(t.GetContrastRatio(), 0u);
        QVERIFY(t.GetWhitePoint() == CColorTemperature());
        QCOMPARE(t.GetSpecifiedLuminance(), 300.0);
        QCOMPARE(t.GetValueA(), 0.3);
        QCOMPARE(t.GetGamma(), 0.0);
        QCOMPARE(t.GetDicomScalingFactor(), 1.0);
        QVERIFY(!t.GetDicomScalingFlag());
        QVERIFY(!t.GetFlagB());
        QCOMPARE(t.GetIntensityMode(), 2);
        QCOMPARE(t.GetValueC(), 2);
        QCOMPARE(t.GetValueD(), 0);
        QCOMPARE(t.GetGammaType(), 2);
        QCOMPARE(t.GetName(), QStringLiteral("blank"));
        const CSpline curve = t.GetCurve();
        QCOMPARE(curve.GetKind(), int(CSpline::kCatmullRom));
        QCOMPARE(curve.GetSize(), 256);
        QCOMPARE(curve.GetX(255), 1.0);
        QVERIFY(curve.IsValid());
        QCOMPARE(t.GetCurveSelection(), 0);
        QCOMPARE(t.GetGamutKind(), 0);
        QCOMPARE(t.GetCustomPrimary(CTargetValue::kBlue).Z, 0.0);
        QCOMPARE(t.GetValueE(), 0);
        QCOMPARE(t.GetValueF(), 0);
        QCOMPARE(t.GetMaxMatchingLuminance(), -1.0);
        QCOMPARE(t.GetValueG(), 0.0);
        QCOMPARE(t.GetIntensity(), -1.0);
        QCOMPARE(t.GetIntensityText(false), QStringLiteral("- (Maximum Matching)"));
    }

    void default_stream_layout()
    {
        // The field list in stream order, written independently of the class.
        const QByteArray expected = stream_bytes::written([](QDataStream &out) {
            out << qint32(0x20746774) << qint32(103);
            out << qint32(64223) << qint32(101) << false << 0.0 << 0.0 << false; // white point
            out << 300.0 << 0.3 << 0.0;
            out << qint32(2) << qint32(2) << qint32(0) << qint32(2);
            out << 1.0 << false << false << QStringLiteral("blank");
            out << qint32(0) << qint32(0);
            for (int i = 0; i < 9; ++i)
                out << 0.0;
            out << qint32(0) << qint32(0) << -1.0 << 0.0;
        });
        const QByteArray bytes = target_bytes(CTargetValue());
        QCOMPARE(bytes.size(), 202);
        QCOMPARE(bytes.toHex(), expected.toHex());
        QCOMPARE(bytes.left(4), QByteArray(" tgt"));
        QCOMPARE(bytes.mid(84, 14).toHex(), QByteArray("0000000a0062006c0061006e006b"));

        CTargetValue read = full_target();
        QCOMPARE(read_target(bytes, read), 0);
        QCOMPARE(read.GetGammaType(), 2);
        QCOMPARE(read.GetName(), QStringLiteral("blank"));
        QVERIFY(!(read != CTargetValue()));
    }

    void curve_only_with_gamma_type_4()
    {
        CTargetValue t = full_target();
        const QByteArray withCurve = target_bytes(t);
        const int curveBytes = 4 + kFullCurveSize; // selection + curve record
        t.SetGammaType(CTargetValue::kGammaPower);
        const QByteArray withoutCurve = target_bytes(t);
        QCOMPARE(withCurve.size() - withoutCurve.size(), curveBytes);
        QCOMPARE(withCurve.mid(kFullSelectionAt - 4, 4).toHex(), QByteArray("00000004")); // gamma type
        QCOMPARE(withCurve.mid(kFullSelectionAt, 4).toHex(), QByteArray("00000005"));
        QCOMPARE(withCurve.mid(kFullCurveAt, 4).toHex(), QByteArray("0000fade"));
    }

    void round_trip_data()
    {
        QTest::addColumn<CTargetValue>("target");
        QTest::addColumn<int>("order");
        QTest::newRow("default") << CTargetValue() << int(QDataStream::BigEndian);
        QTest::newRow("every field") << full_target() << int(QDataStream::BigEndian);
        QTest::newRow("every field, little endian") << full_target() << int(QDataStream::LittleEndian);
        CTargetValue emptyName;
        emptyName.SetName(QString());
        QTest::newRow("empty name") << emptyName << int(QDataStream::BigEndian);
        CTargetValue native = full_target();
        native.SetWhitePoint(CColorTemperature(quint16(0)));
        native.SetGammaType(CTargetValue::kGammaNative);
        QTest::newRow("native") << native << int(QDataStream::BigEndian);
    }

    void round_trip()
    {
        QFETCH(CTargetValue, target);
        QFETCH(int, order);
        const auto byteOrder = QDataStream::ByteOrder(order);
        int code = -1;
        const QByteArray bytes =
            stream_bytes::written([&](QDataStream &out) { code = target.Write(out); }, byteOrder);
        QCOMPARE(code, 0);
        QDataStream in(bytes);
        stream_record::prepare(in);
        in.setByteOrder(byteOrder);
        CTargetValue read;
        QCOMPARE(read.Read(in), 0);
        QVERIFY(in.atEnd());
        compare_every_field(read, target, target.GetGammaType() == CTargetValue::kGammaCurve);
        QVERIFY(!(read != target));
        QCOMPARE(target_bytes(read), target_bytes(target));
    }

    void reading_without_a_curve_keeps_the_held_one()
    {
        CTargetValue source = full_target();
        source.SetGammaType(CTargetValue::kGammaPower);
        CTargetValue read;
        CSpline held;
        held.Init(CSpline::kBezier, 5, 0.0, 1.0);
        read.SetCurve(held);
        read.SetCurveSelection(CTargetValue::kCurveSrgb);
        QCOMPARE(read_target(target_bytes(source), read), 0);
        QVERIFY(read.GetCurve() == held);
        QCOMPARE(read.GetCurveSelection(), int(CTargetValue::kCurveSrgb));
        QCOMPARE(read.GetValueG(), 13.5);
    }

    void read_keeps_the_stored_curve_kind()
    {
        CTargetValue source = full_target();
        CSpline none; // kind 5
        none.AppendPoint(QPointF(0.0, 0.0));
        none.AppendPoint(QPointF(1.0, 1.0));
        QByteArray bytes = target_bytes(source);
        const QByteArray noneBytes = stream_bytes::written([&](QDataStream &out) { none.Write(out); });
        bytes.replace(kFullCurveAt, kFullCurveSize, noneBytes);
        CTargetValue read;
        QCOMPARE(read_target(bytes, read), 0);
        QCOMPARE(read.GetCurve().GetKind(), int(CSpline::kNone));
    }

    void null_name_is_held_as_empty()
    {
        CTargetValue t;
        t.SetName(QString());
        QVERIFY(!t.GetName().isNull());
        QVERIFY(t.GetName().isEmpty());
        const QByteArray bytes = target_bytes(t);
        QCOMPARE(bytes.mid(84, 4).toHex(), QByteArray("00000000"));

        // A stored null name reads back as empty too.
        QByteArray nullName = bytes;
        nullName.replace(84, 4, QByteArray::fromHex("ffffffff"));
        CTargetValue read;
        QCOMPARE(read_target(nullName, read), 0);
        QVERIFY(!read.GetName().isNull());
        QVERIFY(read.GetName().isEmpty());
    }

    void read_errors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        const QByteArray good = target_bytes(full_target());
        auto patched = [&](int at, const char *hex) {
            QByteArray b = good;
            const QByteArray patch = QByteArray::fromHex(hex);
            b.replace(at, patch.size(), patch);
            return b;
        };
        QTest::newRow("wrong magic") << patched(0, "20746775") << -1502;
        QTest::newRow("older version") << patched(4, "00000066") << -1501;
        QTest::newRow("newer version") << patched(4, "00000068") << -1501;
        QTest::newRow("white point magic") << patched(8, "0000fade") << -1502;
        QTest::newRow("white point version") << patched(12, "00000066") << -1501;
        QTest::newRow("curve magic") << patched(kFullCurveAt, "0000fadf") << -1502;
        QTest::newRow("curve version") << patched(kFullCurveAt + 4, "00000066") << -1501;
        QTest::newRow("cut in the primaries") << good.left(good.size() - 60) << -1503;
        QTest::newRow("cut at the end") << good.left(good.size() - 1) << -1503;
        QTest::newRow("empty") << QByteArray() << -1503;
    }

    void read_errors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        CTargetValue target;
        QCOMPARE(read_target(bytes, target), code);
        compare_every_field(target, CTargetValue()); // unchanged
    }

    void write_failure_is_reported()
    {
        stream_bytes::FailingStream failing;
        QCOMPARE(CTargetValue().Write(failing.stream), -1504);
    }

    void copies_take_every_field()
    {
        const CTargetValue source = full_target();
        const CTargetValue copy(source);
        compare_every_field(copy, source);
        CTargetValue assigned;
        assigned = source;
        compare_every_field(assigned, source);
        QCOMPARE(assigned.GetValueF(), 12);
    }

    void copies_pass_the_curve_through_its_assignment()
    {
        CTargetValue source;
        source.SetCurve(CSpline()); // kind 5 in the source...
        const CTargetValue copy(source);
        QCOMPARE(copy.GetCurve().GetKind(), int(CSpline::kCatmullRom)); // ...4 in every copy
    }

    void differs_data()
    {
        QTest::addColumn<CTargetValue>("base");
        QTest::addColumn<Mutator>("change");
        QTest::addColumn<bool>("differs");

        CTargetValue power; // mode 2, gamma type 2
        power.SetGamma(2.2);
        CTargetValue specified = power;
        specified.SetIntensityMode(CTargetValue::kIntensitySpecified);
        CTargetValue dicom = power;
        dicom.SetGammaType(CTargetValue::kGammaDicom);
        CTargetValue dicomScaled = dicom;
        dicomScaled.SetDicomScalingFlag(true);
        CTargetValue curve = power;
        curve.SetGammaType(CTargetValue::kGammaCurve);
        CTargetValue native = power;
        native.SetGammaType(CTargetValue::kGammaNative);
        CTargetValue custom = power;
        custom.SetGamutKind(CTargetValue::kGamutCustomPrimaries);
        custom.SetCustomPrimary(CTargetValue::kGreen, CCIEXYZ(10, 10, 10));

        QTest::newRow("nothing") << power << Mutator([](CTargetValue &) {}) << false;
        QTest::newRow("white point") << power << Mutator([](CTargetValue &t) { t.SetWhitePoint(CColorTemperature(quint16(6500))); }) << true;
        QTest::newRow("intensity mode") << power << Mutator([](CTargetValue &t) { t.SetIntensityMode(1); }) << true;
        QTest::newRow("mode 2: matching luminance") << power << Mutator([](CTargetValue &t) { t.SetMaxMatchingLuminance(100); }) << true;
        QTest::newRow("mode 2: value D") << power << Mutator([](CTargetValue &t) { t.SetValueD(1); }) << true;
        QTest::newRow("mode 2: specified luminance ignored") << power << Mutator([](CTargetValue &t) { t.SetSpecifiedLuminance(100); }) << false;
        QTest::newRow("mode 3: specified luminance") << specified << Mutator([](CTargetValue &t) { t.SetSpecifiedLuminance(100); }) << true;
        QTest::newRow("mode 3: matching luminance ignored") << specified << Mutator([](CTargetValue &t) { t.SetMaxMatchingLuminance(100); }) << false;
        QTest::newRow("mode 3: value D ignored") << specified << Mutator([](CTargetValue &t) { t.SetValueD(1); }) << false;
        QTest::newRow("gamma type") << power << Mutator([](CTargetValue &t) { t.SetGammaType(5); }) << true;
        QTest::newRow("type 2: gamma") << power << Mutator([](CTargetValue &t) { t.SetGamma(2.4); }) << true;
        QTest::newRow("type 3: gamma ignored") << dicom << Mutator([](CTargetValue &t) { t.SetGamma(2.4); }) << false;
        QTest::newRow("type 3: scaling flag") << dicom << Mutator([](CTargetValue &t) { t.SetDicomScalingFlag(true); }) << true;
        QTest::newRow("type 3 unscaled: factor ignored") << dicom << Mutator([](CTargetValue &t) { t.SetDicomScalingFactor(2); }) << false;
        QTest::newRow("type 3 scaled: factor") << dicomScaled << Mutator([](CTargetValue &t) { t.SetDicomScalingFactor(2); }) << true;
        QTest::newRow("type 2: scaling ignored") << power << Mutator([](CTargetValue &t) { t.SetDicomScalingFlag(true); }) << false;
        QTest::newRow("type 4: selection") << curve << Mutator([](CTargetValue &t) { t.SetCurveSelection(1); }) << true;
        QTest::newRow("type 4: curve") << curve << Mutator([](CTargetValue &t) { CSpline c = t.GetCurve(); c.SetY(3, 0.5); t.SetCurve(c); }) << true;
        QTest::newRow("type 2: curve ignored") << power << Mutator([](CTargetValue &t) { CSpline c = t.GetCurve(); c.SetY(3, 0.5); t.SetCurve(c); }) << false;
        QTest::newRow("contrast") << power << Mutator([](CTargetValue &t) { t.SetContrastRatio(1000); }) << true;
        QTest::newRow("native gamma: contrast ignored") << native << Mutator([](CTargetValue &t) { t.SetContrastRatio(1000); }) << false;
        QTest::newRow("gamut kind") << power << Mutator([](CTargetValue &t) { t.SetGamutKind(3); }) << true;
        QTest::newRow("custom gamut: other kind ignored") << custom << Mutator([](CTargetValue &t) { t.SetGamutKind(0); }) << false;
        QTest::newRow("custom gamut: other primary larger") << custom << Mutator([](CTargetValue &t) { t.SetCustomPrimary(CTargetValue::kGreen, CCIEXYZ(12, 10, 10)); }) << false;
        QTest::newRow("custom gamut: other primary smaller") << custom << Mutator([](CTargetValue &t) { t.SetCustomPrimary(CTargetValue::kGreen, CCIEXYZ(8, 10, 10)); }) << true;
        QTest::newRow("name, values A C E F G, flag B ignored") << power << Mutator([](CTargetValue &t) {
            t.SetName("x"); t.SetValueA(1); t.SetValueC(1); t.SetValueE(1); t.SetValueF(1); t.SetValueG(1); t.SetFlagB(true);
        }) << false;
    }

    void differs()
    {
        QFETCH(CTargetValue, base);
        QFETCH(Mutator, change);
        QFETCH(bool, differs);
        CTargetValue other = base;
        change(other);
        QCOMPARE(base != other, differs);
    }

    void custom_gamut_comparison_is_one_sided()
    {
        CTargetValue a;
        a.SetGamutKind(CTargetValue::kGamutCustomPrimaries);
        a.SetCustomPrimary(CTargetValue::kRed, CCIEXYZ(10, 10, 10));
        CTargetValue b = a;
        b.SetCustomPrimary(CTargetValue::kRed, CCIEXYZ(12, 10, 10));
        QVERIFY(!(a != b));
        QVERIFY(b != a);

        CTargetValue standard = a;
        standard.SetGamutKind(0);
        QVERIFY(!(a != standard)); // the other's kind is not looked at
        QVERIFY(standard != a);
    }

    void matches_except_curve_data()
    {
        QTest::addColumn<Mutator>("change");
        QTest::addColumn<bool>("matches");
        QTest::newRow("curve type instead of power") << Mutator([](CTargetValue &t) { t.SetGammaType(4); }) << true;
        QTest::newRow("gamma and contrast") << Mutator([](CTargetValue &t) { t.SetGamma(1.0); t.SetContrastRatio(9); }) << true;
        QTest::newRow("native instead of power") << Mutator([](CTargetValue &t) { t.SetGammaType(1); }) << false;
        QTest::newRow("white point") << Mutator([](CTargetValue &t) { t.SetWhitePoint(CColorTemperature(quint16(5000))); }) << false;
        QTest::newRow("matching luminance") << Mutator([](CTargetValue &t) { t.SetMaxMatchingLuminance(5); }) << false;
        QTest::newRow("value D") << Mutator([](CTargetValue &t) { t.SetValueD(5); }) << false;
        QTest::newRow("gamut") << Mutator([](CTargetValue &t) { t.SetGamutKind(2); }) << false;
    }

    void matches_except_curve()
    {
        QFETCH(Mutator, change);
        QFETCH(bool, matches);
        const CTargetValue base;
        CTargetValue other = base;
        change(other);
        QCOMPARE(base.MatchesExceptCurve(other), matches);

        CTargetValue nativeA;
        nativeA.SetGammaType(1);
        CTargetValue nativeB = nativeA;
        QVERIFY(nativeA.MatchesExceptCurve(nativeB));
    }

    void intensity_follows_the_mode()
    {
        CTargetValue t;
        t.SetIntensity(250.0);
        QCOMPARE(t.GetMaxMatchingLuminance(), 250.0);
        QCOMPARE(t.GetSpecifiedLuminance(), 300.0);
        QCOMPARE(t.GetIntensity(), 250.0);
        t.SetIntensityMode(CTargetValue::kIntensitySpecified);
        t.SetIntensity(120.0);
        QCOMPARE(t.GetSpecifiedLuminance(), 120.0);
        QCOMPARE(t.GetIntensity(), 120.0);
        t.SetIntensityMode(CTargetValue::kIntensityMaximumPossible);
        QCOMPARE(t.GetIntensity(), 120.0);
    }

    void contrast_ratio_text_data()
    {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<int>("gammaType");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << 2 << "Monitor Default";
        QTest::newRow("500") << 500 << 2 << "500:1";
        QTest::newRow("10000 without grouping") << 10000 << 3 << "10000:1";
        QTest::newRow("native gamma") << 500 << 1 << "Monitor Default";
    }

    void contrast_ratio_text()
    {
        QFETCH(int, ratio);
        QFETCH(int, gammaType);
        QFETCH(QString, text);
        CTargetValue t;
        t.SetContrastRatio(quint32(ratio));
        t.SetGammaType(gammaType);
        QCOMPARE(t.GetContrastRatioText(), text);
    }

    void gamma_text_data()
    {
        QTest::addColumn<int>("gammaType");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("plainText");
        QTest::addColumn<QString>("text");
        QTest::newRow("native") << 1 << 0 << "Native" << "Native";
        QTest::newRow("power") << 2 << 0 << "2.20" << "2.20";
        QTest::newRow("DICOM") << 3 << 0 << "DICOM" << "DICOM";
        QTest::newRow("BT.1886") << 5 << 0 << "BT.1886" << "BT.1886";
        QTest::newRow("no curve") << 4 << 0 << "None" << "None";
        QTest::newRow("sRGB") << 4 << 1 << "sRGB" << "sRGB";
        QTest::newRow("NTSC") << 4 << 2 << "NTSC SMPTE-170M" << "NTSC/SMPTE-170M";
        QTest::newRow("SMPTE-240M") << 4 << 3 << "SMPTE-240M" << "SMPTE-240M";
        QTest::newRow("L*") << 4 << 4 << "Lstar" << "L*";
        QTest::newRow("custom") << 4 << 5 << "Custom Curve" << "Custom Curve";
        QTest::newRow("unknown selection") << 4 << 6 << "" << "";
        QTest::newRow("unknown type") << 0 << 0 << "" << "";
    }

    void gamma_text()
    {
        QFETCH(int, gammaType);
        QFETCH(int, selection);
        QFETCH(QString, plainText);
        QFETCH(QString, text);
        CTargetValue t;
        t.SetGamma(2.2);
        t.SetGammaType(gammaType);
        t.SetCurveSelection(selection);
        QCOMPARE(t.GetGammaText(true), plainText);
        QCOMPARE(t.GetGammaText(false), text);
    }

    void intensity_text_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("luminance");
        QTest::addColumn<bool>("withUnit");
        QTest::addColumn<bool>("footLamberts");
        QTest::addColumn<QString>("text");
        const QString cd = QStringLiteral(" cd/m") + QChar(0x00B2);
        QTest::newRow("maximum possible") << 1 << 250.0 << true << false << "Maximum Possible";
        QTest::newRow("matching") << 2 << 250.0 << false << false << "250.0 (Maximum Matching)";
        QTest::newRow("matching with unit") << 2 << 250.0 << true << false << "250.0" + cd + " (Maximum Matching)";
        QTest::newRow("matching not computed") << 2 << -1.0 << true << false << "- (Maximum Matching)";
        QTest::newRow("matching 0") << 2 << 0.0 << false << false << "- (Maximum Matching)";
        QTest::newRow("specified") << 3 << 300.0 << false << false << "300.0";
        QTest::newRow("specified, small") << 3 << 0.25 << false << false << "0.25";
        QTest::newRow("specified in foot-lamberts") << 3 << 342.6 << true << true << "100.0 fL";
        QTest::newRow("unknown mode") << 4 << 300.0 << true << false << "";
    }

    void intensity_text()
    {
        QFETCH(int, mode);
        QFETCH(double, luminance);
        QFETCH(bool, withUnit);
        QFETCH(bool, footLamberts);
        QFETCH(QString, text);
        luminance_units::set_uses_foot_lamberts(footLamberts);
        CTargetValue t;
        t.SetIntensityMode(mode);
        t.SetIntensity(luminance);
        QCOMPARE(t.GetIntensityText(withUnit), text);
    }

    void white_point_text()
    {
        CTargetValue t;
        QCOMPARE(t.GetWhitePointText(), QString());
        t.SetWhitePoint(CColorTemperature(CIExy{0.3127, 0.3290}));
        QCOMPARE(t.GetWhitePointText(), QStringLiteral("D65"));
        t.SetWhitePoint(CColorTemperature(quint16(0)));
        QCOMPARE(t.GetWhitePointText(), QStringLiteral("Native"));
    }

    void custom_primary_channels_outside_are_ignored()
    {
        CTargetValue t;
        t.SetCustomPrimary(3, CCIEXYZ(1, 2, 3));
        t.SetCustomPrimary(-1, CCIEXYZ(1, 2, 3));
        QCOMPARE(t.GetCustomPrimary(3).Y, 0.0);
        QCOMPARE(target_bytes(t), target_bytes(CTargetValue()));
    }
};

QTEST_APPLESS_MAIN(tst_target_value)
#include "tst_target_value.moc"
