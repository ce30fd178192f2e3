#include "icc/chromatic_adaptation.h"
#include "icc/icc_encoding.h"
#include "icc/icc_tag_vcgt.h"
#include "icc/write_icc_display_profile.h"
#include "app/services/string_resource.h"
#include "tests/icc/icc_test_support.h"
#include "tests/icc/lcms_oracle.h"

#include <QDir>
#include <QHash>
#include <QtTest>

#include <limits>

namespace {

// One s15Fixed16Number step plus the single-precision rounding before it.
constexpr double kFixedStep = 1.0 / 65536 + 1e-7;

const QString kDescription = QStringLiteral("PX-55 4Y0123456");
const QString kCopyright = QStringLiteral("Copyright test");

// The tag type each signature is written with.
const QHash<QByteArray, QByteArray> kTypeOfTag = {
    {"desc", "desc"}, {"cprt", "text"}, {"rXYZ", "XYZ "}, {"gXYZ", "XYZ "}, {"bXYZ", "XYZ "},
    {"chad", "sf32"}, {"wtpt", "XYZ "}, {"lumi", "XYZ "}, {"rTRC", "curv"}, {"gTRC", "curv"},
    {"bTRC", "curv"}, {"vcgt", "vcgt"}, {"mmod", "mmod"},
};

enum Variant { Standard, NoLuminance, NegativeLuminance, ModelId, Curves, MsftCmm };

IccDisplayProfileRequest standard_request(const QString &path)
{
    IccDisplayProfileRequest request;
    request.file_path = path;
    request.description = kDescription;
    request.copyright = kCopyright;
    request.date_time = QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26));
    request.gamma = 2.2;
    request.white_xy = {0.3127, 0.3290};
    request.red_xy = {0.64, 0.33};
    request.green_xy = {0.30, 0.60};
    request.blue_xy = {0.15, 0.06};
    request.luminance = 120.0;
    return request;
}

CSpline power_curve(double gamma)
{
    CSpline curve;
    curve.Init(CSpline::kCatmullRom, 11, 0.0, 1.0);
    curve.SetGamma(gamma);
    return curve;
}

IccDisplayProfileRequest variant_request(Variant variant, const QString &path)
{
    IccDisplayProfileRequest request = standard_request(path);
    switch (variant) {
    case NoLuminance: request.luminance = 0.0; break;
    case NegativeLuminance: request.luminance = -5.0; break;
    case ModelId: request.model_id = 0x12345678; break;
    case Curves:
        request.use_curves = true;
        request.red_curve = power_curve(2.4);
        request.green_curve = power_curve(1.0);
        request.blue_curve = power_curve(1.8);
        break;
    case Standard:
    case MsftCmm: break;
    }
    return request;
}

// textDescriptionType length for an ASCII text of n characters.
quint32 desc_size(int n)
{
    return 12 + quint32(n + 1) + 8 + 2 * quint32(n + 1) + 3 + 67;
}

QStringList signatures_of(const QVector<IccTagEntry> &table)
{
    QStringList signatures;
    for (const IccTagEntry &entry : table)
        signatures << QString::fromLatin1(entry.signature);
    return signatures;
}

QStringList file_names(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class tst_write_icc_display_profile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_files.isValid()); }

    void header_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArray>("cmm");
        QTest::newRow("Adobe CMM") << int(Standard) << QByteArray("ADBE");
        QTest::newRow("Microsoft CMM") << int(MsftCmm) << QByteArray("MSFT");
    }

    void header()
    {
        QFETCH(int, variant);
        QFETCH(QByteArray, cmm);
        const QString path = m_files.path(QStringLiteral("header.icc"));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, variant_request(Variant(variant), path), variant != MsftCmm), 0);
        const QByteArray bytes = IccTestFiles::contents(path);
        QVERIFY(bytes.size() > 128);
        QCOMPARE(int(be32_at(bytes, 0)), bytes.size());
        const QByteArray expected = cmm + be32(0x02100000) + "mntr" + "RGB " + "XYZ " + be16(2026) + be16(3)
                                    + be16(14) + be16(15) + be16(9) + be16(26) + "acsp" + "MSFT" + be32(0) + be32(0)
                                    + be32(0) + be32(0) + be32(1) + be32(0) + be32(0xF6D6) + be32(0x10000)
                                    + be32(0xD32D) + "VRKd" + QByteArray(16 + 28, '\0');
        QCOMPARE(bytes.mid(4, 124), expected);
    }

    void tag_table_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QStringList>("signatures");
        QTest::addColumn<QList<quint32>>("sizes");
        const QStringList twelve = {"desc", "cprt", "rXYZ", "gXYZ", "bXYZ", "chad", "wtpt", "lumi",
                                    "rTRC", "gTRC", "bTRC", "vcgt"};
        QStringList eleven = twelve;
        eleven.removeAll(QStringLiteral("lumi"));
        const quint32 desc = desc_size(kDescription.size());
        const quint32 cprt = quint32(8 + kCopyright.size() + 1);
        const QList<quint32> standard = {desc, cprt, 20, 20, 20, 44, 20, 20, 14, 14, 14, 786};
        QList<quint32> withoutLumi = standard;
        withoutLumi.removeAt(7);
        QTest::newRow("standard") << int(Standard) << twelve << standard;
        QTest::newRow("no luminance") << int(NoLuminance) << eleven << withoutLumi;
        QTest::newRow("negative luminance") << int(NegativeLuminance) << eleven << withoutLumi;
        QTest::newRow("model id") << int(ModelId) << twelve + QStringList{"mmod"} << standard + QList<quint32>{40};
        QTest::newRow("curves from a table")
            << int(Curves) << twelve << QList<quint32>{desc, cprt, 20, 20, 20, 44, 20, 20, 524, 524, 524, 786};
    }

    void tag_table()
    {
        QFETCH(int, variant);
        QFETCH(QStringList, signatures);
        QFETCH(QList<quint32>, sizes);
        const QString path = m_files.path(QStringLiteral("table.icc"));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, variant_request(Variant(variant), path), true), 0);
        const QByteArray bytes = IccTestFiles::contents(path);
        const QVector<IccTagEntry> table = icc_tag_table(bytes);
        QCOMPARE(signatures_of(table), signatures);
        // Data in table order, each tag on a 4-byte boundary, exact sizes,
        // zero padding, and nothing after the last tag's padding.
        quint32 offset = 128 + 4 + 12 * quint32(table.size());
        for (int i = 0; i < table.size(); ++i) {
            QCOMPARE(table[i].offset, offset);
            QCOMPARE(table[i].size, sizes[i]);
            QCOMPARE(bytes.mid(int(offset), 4), kTypeOfTag.value(table[i].signature));
            const quint32 padded = (sizes[i] + 3) / 4 * 4;
            const int padding = int(padded - sizes[i]);
            QCOMPARE(bytes.mid(int(offset + sizes[i]), padding), QByteArray(padding, '\0'));
            offset += padded;
        }
        QCOMPARE(int(offset), bytes.size());
    }

    void tag_contents()
    {
        const QString path = m_files.path(QStringLiteral("contents.icc"));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, variant_request(ModelId, path), true), 0);
        const QByteArray bytes = IccTestFiles::contents(path);

        QByteArray ramp;
        for (int k = 0; k < 768; ++k)
            ramp.append(char(k % 256));
        QCOMPARE(icc_tag_bytes(bytes, "vcgt"),
                 QByteArray("vcgt") + be32(0) + be32(0) + be16(3) + be16(256) + be16(1) + ramp);
        QCOMPARE(icc_tag_bytes(bytes, "mmod"),
                 QByteArray("mmod") + be32(0) + be32(0x3412) + be32(0x5678) + QByteArray(24, '\0'));
        // wtpt holds 0.964188 / 0.82489, not the header's rounder 0.9642 / 0.8249.
        QCOMPARE(icc_tag_bytes(bytes, "wtpt"),
                 QByteArray("XYZ ") + be32(0) + be32(0xF6D5) + be32(0x10000) + be32(0xD32C));
        QCOMPARE(icc_tag_bytes(bytes, "lumi"), QByteArray("XYZ ") + be32(0) + be32(0) + be32(120 << 16) + be32(0));
        for (const QByteArray trc : {"rTRC", "gTRC", "bTRC"})
            QCOMPARE(icc_tag_bytes(bytes, trc), QByteArray("curv") + be32(0) + be32(1) + be16(0x0233));
        QCOMPARE(icc_tag_bytes(bytes, "cprt"), QByteArray("text") + be32(0) + kCopyright.toLatin1() + '\0');
    }

    void sampled_curves()
    {
        const QString path = m_files.path(QStringLiteral("curves.icc"));
        const IccDisplayProfileRequest request = variant_request(Curves, path);
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, request, true), 0);
        const QByteArray bytes = IccTestFiles::contents(path);
        const QByteArray trcs[3] = {icc_tag_bytes(bytes, "rTRC"), icc_tag_bytes(bytes, "gTRC"),
                                    icc_tag_bytes(bytes, "bTRC")};
        const CSpline *curves[3] = {&request.red_curve, &request.green_curve, &request.blue_curve};
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(be32_at(trcs[c], 8), 256u);
            for (int i = 0; i < 256; ++i) {
                const double expected = curves[c]->Evaluate(i / 255.0);
                // One 16-bit step: the entry is the sample rounded to 1/65535.
                QVERIFY2(qAbs(be16_at(trcs[c], 12 + 2 * i) / 65535.0 - expected) <= 0.5 / 65535 + 1e-7,
                         qPrintable(QStringLiteral("channel %1 entry %2").arg(c).arg(i)));
            }
            QCOMPARE(be16_at(trcs[c], 12), quint16(0));
            QCOMPARE(be16_at(trcs[c], 12 + 2 * 255), quint16(65535));
        }
        // A power curve of 2.4 lies well below the diagonal half way.
        QVERIFY(be16_at(trcs[0], 12 + 2 * 128) < 0.2 * 65535);
    }

    void lcms_reads_what_was_written()
    {
        const QString path = m_files.path(QStringLiteral("lcms.icc"));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, standard_request(path), true), 0);
        const LcmsProfile lcms = open_with_lcms(path);
        QVERIFY(lcms);
        QCOMPARE(cmsGetDeviceClass(lcms.get()), cmsSigDisplayClass);
        QCOMPARE(cmsGetColorSpace(lcms.get()), cmsSigRgbData);
        QCOMPARE(cmsGetPCS(lcms.get()), cmsSigXYZData);
        QVERIFY(qAbs(cmsGetProfileVersion(lcms.get()) - 2.1) < 1e-9);

        CChromaticAdaptation adaptation;
        adaptation.SetSourceWhite(CCIEXYZ(CIExy{0.3127, 0.3290}));
        CCIEXYZ primaries[3];
        adaptation.AdaptPrimaries(0.64, 0.33, 0.30, 0.60, 0.15, 0.06, primaries[0], primaries[1], primaries[2]);
        const cmsTagSignature colorants[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
        const double reference[3][3] = {{0.4360, 0.2225, 0.0139}, {0.3851, 0.7169, 0.0971}, {0.1430, 0.0606, 0.7139}};
        for (int p = 0; p < 3; ++p) {
            const cmsCIEXYZ *read = lcms_xyz(lcms, colorants[p]);
            QVERIFY(read);
            QVERIFY(qAbs(read->X - primaries[p].X) <= kFixedStep);
            QVERIFY(qAbs(read->Y - primaries[p].Y) <= kFixedStep);
            QVERIFY(qAbs(read->Z - primaries[p].Z) <= kFixedStep);
            // The worked example, rounded to four decimals there.
            QVERIFY(qAbs(read->X - reference[p][0]) <= 0.00005 + kFixedStep);
            QVERIFY(qAbs(read->Y - reference[p][1]) <= 0.00005 + kFixedStep);
            QVERIFY(qAbs(read->Z - reference[p][2]) <= 0.00005 + kFixedStep);
        }

        const auto *chad = static_cast<const double *>(cmsReadTag(lcms.get(), cmsSigChromaticAdaptationTag));
        QVERIFY(chad);
        const double expectedChad[9] = {1.0479, 0.0229, -0.0502, 0.0296, 0.9905, -0.0171, -0.0093, 0.0151, 0.7517};
        for (int i = 0; i < 9; ++i)
            QVERIFY2(qAbs(chad[i] - expectedChad[i]) <= 0.00005 + kFixedStep, qPrintable(QString::number(i)));

        const cmsCIEXYZ *white = lcms_xyz(lcms, cmsSigMediaWhitePointTag);
        QVERIFY(white);
        QVERIFY(qAbs(white->X - 0.964188) <= kFixedStep && qAbs(white->Y - 1.0) <= kFixedStep
                && qAbs(white->Z - 0.82489) <= kFixedStep);
        const cmsCIEXYZ *lumi = lcms_xyz(lcms, cmsSigLuminanceTag);
        QVERIFY(lumi);
        QCOMPARE(lumi->Y, 120.0);

        const cmsTagSignature trcs[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
        for (const cmsTagSignature trc : trcs) {
            const auto *curve = static_cast<cmsToneCurve *>(cmsReadTag(lcms.get(), trc));
            QVERIFY(curve);
            QCOMPARE(cmsGetToneCurveParametricType(curve), 1);
            QCOMPARE(cmsGetToneCurveParams(const_cast<cmsToneCurve *>(curve))[0], 563.0 / 256); // 0x0233
        }

        const auto *vcgt = static_cast<cmsToneCurve **>(cmsReadTag(lcms.get(), cmsSigVcgtTag));
        QVERIFY(vcgt);
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; i += 15) // 8-bit entries widen exactly to 16 bits
                QVERIFY(qAbs(cmsEvalToneCurveFloat(vcgt[c], float(i / 255.0)) - i / 255.0) < 1e-5);
        }
        const QString errors = take_lcms_errors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
    }

    void lcms_transform_gives_white_and_primaries()
    {
        const QString path = m_files.path(QStringLiteral("transform.icc"));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, standard_request(path), true), 0);
        const LcmsProfile display = open_with_lcms(path);
        QVERIFY(display);
        const LcmsProfile xyz(cmsCreateXYZProfile());
        cmsHTRANSFORM transform = cmsCreateTransform(display.get(), TYPE_RGB_DBL, xyz.get(), TYPE_XYZ_DBL,
                                                     INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOCACHE);
        QVERIFY(transform);
        const double rgb[4][3] = {{1, 1, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        // D50, then the worked example's adapted primaries.
        const double expected[4][3] = {{0.9642, 1.0, 0.8249},
                                       {0.4360, 0.2225, 0.0139},
                                       {0.3851, 0.7169, 0.0971},
                                       {0.1430, 0.0606, 0.7139}};
        for (int i = 0; i < 4; ++i) {
            cmsCIEXYZ out{};
            cmsDoTransform(transform, rgb[i], &out, 1);
            // Four-decimal references, three fixed-point sums and the rounded
            // inverse Bradford matrix: a few 1e-4 at most.
            QVERIFY2(qAbs(out.X - expected[i][0]) < 5e-4 && qAbs(out.Y - expected[i][1]) < 5e-4
                         && qAbs(out.Z - expected[i][2]) < 5e-4,
                     qPrintable(QStringLiteral("%1: %2 %3 %4").arg(i).arg(out.X).arg(out.Y).arg(out.Z)));
        }
        cmsDeleteTransform(transform);
    }

    void iccdump_decodes_every_variant_data()
    {
        QTest::addColumn<int>("variant");
        QTest::newRow("standard") << int(Standard);
        QTest::newRow("no luminance") << int(NoLuminance);
        QTest::newRow("model id") << int(ModelId);
        QTest::newRow("curves") << int(Curves);
    }

    void iccdump_decodes_every_variant()
    {
        QFETCH(int, variant);
        const QString path = m_files.path(QStringLiteral("dump.icc"));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, variant_request(Variant(variant), path), true), 0);
        QVERIFY(open_with_lcms(path));
        const QString errors = take_lcms_errors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
        const IccdumpResult dump = run_iccdump(path);
        if (!dump.available)
            QSKIP("iccdump is not installed");
        QCOMPARE(dump.exitCode, 0);
        QVERIFY2(!dump.output.contains(QStringLiteral("rror")) && !dump.output.contains(QStringLiteral("arning")),
                 qPrintable(dump.output));
        QVERIFY(dump.output.contains(QStringLiteral("vcgt")));
    }

    void description_keeps_unicode()
    {
        const QString path = m_files.path(QStringLiteral("unicode.icc"));
        IccDisplayProfileRequest request = standard_request(path);
        request.description = QString::fromUtf8("Mod\u00e8le \u2713");
        request.copyright = QString::fromUtf8("\u00a9 VARKEL");
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, request, true), 0);
        const QByteArray bytes = IccTestFiles::contents(path);
        const QByteArray desc = icc_tag_bytes(bytes, "desc");
        QCOMPARE(be32_at(desc, 8), 9u);
        QCOMPARE(desc.mid(12, 9), QByteArray("Mod?le ?\0", 9));
        QCOMPARE(icc_tag_bytes(bytes, "cprt").mid(8), QByteArray("? VARKEL\0", 9));

        // The Unicode part holds the full text as UTF-16BE, language code 0.
        const QString description = request.description;
        QCOMPARE(be32_at(desc, 21), 0u);
        QCOMPARE(be32_at(desc, 25), quint32(description.size() + 1));
        for (int i = 0; i < description.size(); ++i)
            QCOMPARE(be16_at(desc, 29 + 2 * i), description[i].unicode());
        QCOMPARE(be16_at(desc, 29 + 2 * description.size()), quint16(0));

        // LittleCMS reads the 7-bit part.
        const LcmsProfile lcms = open_with_lcms(path);
        QVERIFY(lcms);
        char ascii[64] = {};
        QVERIFY(cmsGetProfileInfoASCII(lcms.get(), cmsInfoDescription, "en", "US", ascii, sizeof ascii) > 0);
        QCOMPARE(QByteArray(ascii), QByteArray("Mod?le ?"));
    }

    void defaults_for_copyright_and_date()
    {
        const QString path = m_files.path(QStringLiteral("defaults.icc"));
        IccDisplayProfileRequest request = standard_request(path);
        request.copyright.clear();
        request.date_time = QDateTime();
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, request, true), 0);
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        const QByteArray bytes = IccTestFiles::contents(path);
        const QString copyright = string_resource(15);
        QVERIFY(!copyright.isEmpty());
        QCOMPARE(icc_tag_bytes(bytes, "cprt").mid(8), icc_encoding::to_ascii(copyright) + '\0');
        // Local time as it stands, no conversion to UTC.
        const QDateTime written(QDate(be16_at(bytes, 24), be16_at(bytes, 26), be16_at(bytes, 28)),
                                QTime(be16_at(bytes, 30), be16_at(bytes, 32), be16_at(bytes, 34)));
        QVERIFY2(written >= before.addMSecs(-before.time().msec()) && written <= after,
                 qPrintable(written.toString(Qt::ISODate)));
    }

    void white_with_zero_y_and_singular_primaries()
    {
        const QString path = m_files.path(QStringLiteral("edge.icc"));
        IccDisplayProfileRequest request = standard_request(path);
        request.white_xy = {0.3, 0.0};
        request.red_xy = request.green_xy = request.blue_xy = {0.3, 0.3};
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, request, true), 0);
        const QByteArray bytes = IccTestFiles::contents(path);
        for (const QByteArray tag : {"rXYZ", "gXYZ", "bXYZ"})
            QCOMPARE(icc_tag_bytes(bytes, tag), QByteArray("XYZ ") + QByteArray(16, '\0'));
    }

    void refused_requests_touch_nothing_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("code");
        QTest::newRow("empty path") << 0 << -1;
        QTest::newRow("empty description") << 1 << -1;
        QTest::newRow("white at infinity") << 2 << -1015;
        QTest::newRow("infinite luminance") << 3 << -1015;
        QTest::newRow("NaN gamma") << 4 << -1015;
        QTest::newRow("missing folder") << 5 << -1015;
    }

    void refused_requests_touch_nothing()
    {
        QFETCH(int, field);
        QFETCH(int, code);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("refused.icc"));
        IccDisplayProfileRequest request = standard_request(target);
        switch (field) {
        case 0: request.file_path.clear(); break;
        case 1: request.description.clear(); break;
        case 2: request.white_xy = {0.3, 1e-310}; break; // X and Z overflow to infinity
        case 3: request.luminance = std::numeric_limits<double>::infinity(); break;
        case 4: request.gamma = std::numeric_limits<double>::quiet_NaN(); break;
        case 5: request.file_path = dir.filePath(QStringLiteral("missing/refused.icc")); break;
        }
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, request, true), code);
        if (field != 5)
            QCOMPARE(profile.TagCount(), 0);
        QCOMPARE(file_names(dir.path()), QStringList());
    }

    void replaces_an_existing_profile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("display.icm"));
        QVERIFY(IccTestFiles::store(target, QByteArray(5000, 'x')));
        IccDisplayProfileRequest request = standard_request(target);
        request.description = QStringLiteral("second");
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, request, true), 0);
        const QByteArray bytes = IccTestFiles::contents(target);
        QCOMPARE(int(be32_at(bytes, 0)), bytes.size());
        QCOMPARE(icc_tag_bytes(bytes, "desc").mid(12, 7), QByteArray("second\0", 7));
        QCOMPARE(file_names(dir.path()), QStringList{"display.icm"}); // nothing left beside it
    }

    void relative_path_counts_from_the_current_folder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        CIccProfile profile;
        const int result = write_icc_display_profile(profile, standard_request(QStringLiteral("relative.icc")), true);
        QDir::setCurrent(previous);
        QCOMPARE(result, 0);
        QCOMPARE(file_names(dir.path()), QStringList{"relative.icc"});
    }

    void a_target_that_cannot_be_replaced_stays()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("display.icc"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("display.icc")));
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, standard_request(target), true), -1013);
        QVERIFY(QFileInfo(target).isDir());
        QCOMPARE(file_names(dir.path()), QStringList{"display.icc"});
    }

    void a_read_only_target_stays()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("display.icc"));
        const QByteArray old("previous profile");
        QVERIFY(IccTestFiles::store(target, old));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        if (QFileInfo(target).isWritable())
            QSKIP("this account may write read-only files");
        CIccProfile profile;
        QCOMPARE(write_icc_display_profile(profile, standard_request(target), true), -1013);
        QCOMPARE(IccTestFiles::contents(target), old);
        QCOMPARE(file_names(dir.path()), QStringList{"display.icc"});
    }

    void a_failed_write_keeps_the_previous_profile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("display.icc"));
        const QByteArray old("previous profile");
        QVERIFY(IccTestFiles::store(target, old));
        CIccProfile profile;
        // A tag that refuses to be written makes the profile's write fail part way.
        auto *broken = new CIccTagvcgt;
        broken->SetTable(3, 256, 3, nullptr);
        QVERIFY(profile.AttachTag(icc_encoding::signature("zzzz"), broken));
        QCOMPARE(write_icc_display_profile(profile, standard_request(target), true), -1015);
        QCOMPARE(IccTestFiles::contents(target), old);
        QCOMPARE(file_names(dir.path()), QStringList{"display.icc"});
    }

private:
    IccTestFiles m_files;
};

QTEST_APPLESS_MAIN(tst_write_icc_display_profile)
#include "tst_write_icc_display_profile.moc"
