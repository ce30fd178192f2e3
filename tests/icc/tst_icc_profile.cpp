#include "icc/icc_encoding.h"
#include "icc/icc_profile.h"
#include "icc/icc_tag_curve.h"
#include "icc/icc_tag_text.h"
#include "icc/icc_tag_vcgt.h"
#include "icc/icc_tag_xyz.h"
#include "tests/icc/icc_test_support.h"
#include "tests/icc/lcms_oracle.h"

#include <QtTest>

namespace {

using icc_encoding::signature;

// Fails every write once |budget| bytes have gone out.
class FailingIO : public CIccFileIOQt
{
public:
    explicit FailingIO(int32_t budget) : m_budget(budget) {}
    int32_t Write8(const void *buffer, int32_t count) override
    {
        if (count > m_budget)
            return -1;
        m_budget -= count;
        return CIccFileIOQt::Write8(buffer, count);
    }

private:
    int32_t m_budget;
};

// A small but complete RGB display profile, with tag lengths that need padding.
void fill_small_profile(CIccProfile &profile)
{
    profile.InitHeader();
    profile.m_Header.deviceClass = signature("mntr");
    profile.m_Header.colorSpace = signature("RGB ");
    profile.m_Header.pcs = signature("XYZ ");
    auto xyz = [](double X, double Y, double Z) {
        auto *tag = new CIccTagXYZ;
        tag->SetXYZ(X, Y, Z);
        return tag;
    };
    auto *cprt = new CIccTagText;
    cprt->SetText(QStringLiteral("odd")); // 12 bytes: no padding
    auto *desc = new CIccTagText;
    desc->SetText(QStringLiteral("x")); // 10 bytes: 2 bytes of padding
    auto *gamma = new CIccTagCurve;
    gamma->SetEntries({2.2}); // 14 bytes
    QVERIFY(profile.AttachTag(signature("cprt"), cprt));
    QVERIFY(profile.AttachTag(signature("dmnd"), desc));
    QVERIFY(profile.AttachTag(signature("wtpt"), xyz(0.9642, 1.0, 0.8249)));
    QVERIFY(profile.AttachTag(signature("rXYZ"), xyz(0.4361, 0.2225, 0.0139)));
    QVERIFY(profile.AttachTag(signature("gXYZ"), xyz(0.3851, 0.7169, 0.0971)));
    QVERIFY(profile.AttachTag(signature("bXYZ"), xyz(0.1431, 0.0606, 0.7141)));
    QVERIFY(profile.AttachTag(signature("rTRC"), gamma));
    QVERIFY(profile.AttachTag(signature("gTRC"), gamma->NewCopy()));
    QVERIFY(profile.AttachTag(signature("bTRC"), gamma->NewCopy()));
}

bool write_profile(CIccProfile &profile, CIccFileIOQt &io, const QString &path)
{
    const bool written = io.Open(path, "w+") && profile.Write(&io);
    io.Close();
    return written;
}

} // namespace

class tst_icc_profile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_files.isValid()); }

    void layout()
    {
        CIccProfile profile;
        fill_small_profile(profile);
        CIccFileIOQt io;
        const QString path = m_files.path(QStringLiteral("layout.icc"));
        QVERIFY(write_profile(profile, io, path));
        const QByteArray bytes = IccTestFiles::contents(path);

        QCOMPARE(int(be32_at(bytes, 0)), bytes.size());
        QCOMPARE(bytes.size() % 4, 0);
        QCOMPARE(be32_at(bytes, 36), signature("acsp"));
        QCOMPARE(be32_at(bytes, 8), 0x02100000u);
        QCOMPARE(be32_at(bytes, 68), 0xF6D6u);
        QCOMPARE(be32_at(bytes, 72), 0x10000u);
        QCOMPARE(be32_at(bytes, 76), 0xD32Du);
        QCOMPARE(bytes.mid(84, 44), QByteArray(44, '\0')); // profile ID and reserved
        QCOMPARE(be32_at(bytes, 128), 9u);

        // Data follows the table in attachment order, each tag on a 4-byte
        // boundary; sizes are exact, padding is zero.
        const quint32 sizes[] = {12, 10, 20, 20, 20, 20, 14, 14, 14};
        const char *const signatures[] = {"cprt", "dmnd", "wtpt", "rXYZ", "gXYZ", "bXYZ", "rTRC", "gTRC", "bTRC"};
        quint32 expectedOffset = 128 + 4 + 9 * 12;
        for (int i = 0; i < 9; ++i) {
            const int entry = 132 + 12 * i;
            QCOMPARE(QByteArray(bytes.constData() + entry, 4), QByteArray(signatures[i]));
            QCOMPARE(be32_at(bytes, entry + 4), expectedOffset);
            QCOMPARE(be32_at(bytes, entry + 8), sizes[i]);
            const quint32 padded = (sizes[i] + 3) / 4 * 4;
            QCOMPARE(bytes.mid(int(expectedOffset + sizes[i]), int(padded - sizes[i])),
                     QByteArray(int(padded - sizes[i]), '\0'));
            expectedOffset += padded;
        }
        QCOMPARE(int(expectedOffset), bytes.size());
    }

    void lcms_and_iccdump_read_it()
    {
        CIccProfile profile;
        fill_small_profile(profile);
        CIccFileIOQt io;
        const QString path = m_files.path(QStringLiteral("oracle.icc"));
        QVERIFY(write_profile(profile, io, path));

        const LcmsProfile lcms = open_with_lcms(path);
        QVERIFY(lcms);
        QCOMPARE(cmsGetDeviceClass(lcms.get()), cmsSigDisplayClass);
        const cmsCIEXYZ *red = lcms_xyz(lcms, cmsSigRedColorantTag);
        QVERIFY(red);
        QVERIFY(qAbs(red->X - 0.4361) < 1.0 / 65536); // one s15Fixed16 step
        const auto *curve = static_cast<const cmsToneCurve *>(cmsReadTag(lcms.get(), cmsSigGreenTRCTag));
        QVERIFY(curve);
        // u8Fixed8 holds 563/256, not 2.2 exactly.
        QVERIFY(qAbs(cmsEstimateGamma(curve, 0.001) - 563.0 / 256) < 0.01);
        const QString errors = take_lcms_errors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors));

        const IccdumpResult dump = run_iccdump(path);
        if (!dump.available)
            QSKIP("iccdump is not installed");
        QCOMPARE(dump.exitCode, 0);
        QVERIFY2(!dump.output.contains(QStringLiteral("rror")) && !dump.output.contains(QStringLiteral("arning")),
                 qPrintable(dump.output));
    }

    void attach_refuses_null_and_duplicates()
    {
        CIccProfile profile;
        QVERIFY(!profile.AttachTag(signature("vcgt"), nullptr));
        QVERIFY(profile.AttachTag(signature("vcgt"), new CIccTagvcgt));
        CIccTagvcgt second;
        QVERIFY(!profile.AttachTag(signature("vcgt"), &second)); // caller keeps it
        QCOMPARE(profile.TagCount(), 1);
        QVERIFY(profile.FindTag(signature("vcgt")));
        QVERIFY(!profile.FindTag(signature("mmod")));
    }

    void write_failures_data()
    {
        QTest::addColumn<int>("budget");
        QTest::newRow("in the header") << 40;
        QTest::newRow("in the tag table") << 140;
        QTest::newRow("in the tag data") << 300;
    }

    void write_failures()
    {
        QFETCH(int, budget);
        CIccProfile profile;
        fill_small_profile(profile);
        FailingIO io(budget);
        QVERIFY(!write_profile(profile, io, m_files.path(QStringLiteral("failing.icc"))));
        QVERIFY(!profile.Write(nullptr));
    }

    void a_tag_that_refuses_fails_the_profile()
    {
        CIccProfile profile;
        fill_small_profile(profile);
        auto *vcgt = new CIccTagvcgt;
        vcgt->SetTable(3, 256, 3, nullptr);
        QVERIFY(profile.AttachTag(signature("vcgt"), vcgt));
        CIccFileIOQt io;
        QVERIFY(!write_profile(profile, io, m_files.path(QStringLiteral("refused.icc"))));
    }

private:
    IccTestFiles m_files;
};

QTEST_APPLESS_MAIN(tst_icc_profile)
#include "tst_icc_profile.moc"
