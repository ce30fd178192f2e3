#include "icc/icc_tag_curve.h"
#include "icc/icc_tag_fixed_num.h"
#include "icc/icc_tag_mmod.h"
#include "icc/icc_tag_text.h"
#include "icc/icc_tag_text_description.h"
#include "icc/icc_tag_vcgt.h"
#include "icc/icc_tag_xyz.h"
#include "tests/icc/icc_test_support.h"

#include <QtTest>

#include <memory>
#include <vector>

namespace {

QByteArray identity_ramp()
{
    QByteArray ramp;
    for (int channel = 0; channel < 3; ++channel)
        for (int i = 0; i < 256; ++i)
            ramp.append(char(i));
    return ramp;
}

QByteArray vcgt_header(quint32 tagType, quint16 channels, quint16 entryCount, quint16 entrySize)
{
    return QByteArray("vcgt") + be32(0) + be32(tagType) + be16(channels) + be16(entryCount) + be16(entrySize);
}

} // namespace

class tst_icc_tags : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_files.isValid()); }

    void vcgt_identity_table_layout()
    {
        const QByteArray ramp = identity_ramp();
        CIccTagvcgt tag;
        tag.SetTable(3, 256, 1, ramp.constData());
        bool ok = false;
        const QByteArray bytes = m_files.writeTag(tag, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.size(), 786);
        QCOMPARE(bytes, vcgt_header(0, 3, 256, 1) + ramp);
    }

    void vcgt_round_trip_data()
    {
        QTest::addColumn<int>("entrySize");
        QTest::newRow("bytes") << 1;
        QTest::newRow("16-bit") << 2;
    }

    void vcgt_round_trip()
    {
        QFETCH(int, entrySize);
        std::vector<quint16> words;
        std::vector<quint8> bytes;
        for (int k = 0; k < 3 * 4; ++k) {
            words.push_back(quint16(0x0102 * k + 0x8001));
            bytes.push_back(quint8(17 * k));
        }
        const void *source = entrySize == 1 ? static_cast<const void *>(bytes.data()) : words.data();
        CIccTagvcgt written;
        written.SetTable(3, 4, quint16(entrySize), source);
        bool ok = false;
        const QByteArray file = m_files.writeTag(written, &ok);
        QVERIFY(ok);
        QCOMPARE(file.size(), 18 + 12 * entrySize);
        if (entrySize == 2) {
            QCOMPARE(be16_at(file, 18), words[0]); // big-endian on file
            QCOMPARE(be16_at(file, 18 + 2 * 11), words[11]);
        }

        CIccTagvcgt read;
        QVERIFY(m_files.readTag(read, file, quint32(file.size())));
        QCOMPARE(read.tagType(), 0u);
        QCOMPARE(read.channels(), quint16(3));
        QCOMPARE(read.entryCount(), quint16(4));
        QCOMPARE(read.entrySize(), quint16(entrySize));
        QCOMPARE(read.table(), written.table());
    }

    void vcgt_read_refuses_crafted_tags_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<quint32>("size");
        const QByteArray twelve(12, '\x5A');
        QTest::newRow("one byte short of the table")
            << vcgt_header(0, 3, 4, 1) + twelve << quint32(18 + 12 - 1);
        QTest::newRow("formula form") << vcgt_header(1, 3, 4, 1) + twelve << quint32(30);
        QTest::newRow("entry size 0") << vcgt_header(0, 3, 4, 0) + twelve << quint32(30);
        QTest::newRow("entry size 3") << vcgt_header(0, 3, 4, 3) + twelve + twelve + twelve << quint32(54);
        QTest::newRow("truncated header") << vcgt_header(0, 3, 4, 1).left(15) << quint32(30);
        QTest::newRow("table larger than the file")
            << vcgt_header(0, 3, 4, 2) + twelve << quint32(18 + 24);
        // 65535 × 65535 × 2 bytes wrap a 32-bit product to a small number.
        QTest::newRow("counts overflowing 32 bits")
            << vcgt_header(0, 0xFFFF, 0xFFFF, 2) + twelve << quint32(0xFFFFFFFF);
    }

    void vcgt_read_refuses_crafted_tags()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(quint32, size);
        const QByteArray ramp = identity_ramp();
        CIccTagvcgt tag;
        tag.SetTable(3, 256, 1, ramp.constData());
        QVERIFY(!m_files.readTag(tag, bytes, size));
        // A refused read leaves the tag as it was.
        QCOMPARE(tag.entryCount(), quint16(256));
        QCOMPARE(tag.table().size(), size_t(768));
    }

    void vcgt_read_allocates_only_the_entries()
    {
        const QByteArray bytes = vcgt_header(0, 1, 2, 1) + QByteArray("\x01\x02", 2) + QByteArray(100, '\0');
        CIccTagvcgt tag;
        QVERIFY(m_files.readTag(tag, bytes, quint32(bytes.size())));
        QCOMPARE(tag.table(), (std::vector<uint8_t>{1, 2}));
    }

    void vcgt_write_refuses_inconsistent_tables_data()
    {
        QTest::addColumn<int>("entrySize");
        QTest::addColumn<bool>("withSource");
        QTest::newRow("entry size 3") << 3 << true;
        QTest::newRow("entry size 0") << 0 << true;
        QTest::newRow("no table") << 1 << false;
    }

    void vcgt_write_refuses_inconsistent_tables()
    {
        QFETCH(int, entrySize);
        QFETCH(bool, withSource);
        const QByteArray source(3 * 4 * 3, '\x11');
        CIccTagvcgt tag;
        tag.SetTable(3, 4, quint16(entrySize), withSource ? source.constData() : nullptr);
        bool ok = true;
        const QByteArray bytes = m_files.writeTag(tag, &ok);
        QVERIFY(!ok);
        QVERIFY(bytes.isEmpty());
        QVERIFY(!tag.Write(nullptr));
    }

    void vcgt_copy_owns_its_table()
    {
        const QByteArray ramp = identity_ramp();
        auto original = std::make_unique<CIccTagvcgt>();
        original->SetTable(3, 256, 1, ramp.constData());
        std::unique_ptr<CIccTag> copy(original->NewCopy());
        original.reset();
        bool ok = false;
        QCOMPARE(m_files.writeTag(*copy, &ok), vcgt_header(0, 3, 256, 1) + ramp);
        QVERIFY(ok);
    }

    void describe_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("vcgt")
            << 0 << "vcgt:tagType = 0\r\nchannels = 3\r\nentryCount = 256\r\nentrySize = 1\r\n";
        QTest::newRow("mmod") << 1
                              << "mmod:model = 2\r\nserialNumber = 3\r\nmanufactureDate = 4\r\n"
                                 "reserved1 = 5\r\nreserved2 = 6\r\nreserved3 = 7\r\nreserved4 = 4294967295\r\n";
    }

    void describe()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        const QByteArray ramp = identity_ramp();
        CIccTagvcgt vcgt;
        vcgt.SetTable(3, 256, 1, ramp.constData());
        CIccTagmmod mmod;
        mmod.SetValues(1, 2, 3, 4, 5, 6, 7, 0xFFFFFFFF);
        QString described = QStringLiteral("replaced");
        (kind == 0 ? static_cast<CIccTag &>(vcgt) : mmod).Describe(described);
        QCOMPARE(described, text);
    }

    void mmod_layout_and_round_trip()
    {
        CIccTagmmod empty;
        bool ok = false;
        QCOMPARE(m_files.writeTag(empty, &ok), QByteArray("mmod") + QByteArray(36, '\0'));
        QVERIFY(ok);

        CIccTagmmod tag;
        tag.SetValues(0x3412, 0x5678, 9, 10, 11, 12, 13, 14);
        const QByteArray bytes = m_files.writeTag(tag, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes, QByteArray("mmod") + be32(0) + be32(0x3412) + be32(0x5678) + be32(9) + be32(10) + be32(11)
                            + be32(12) + be32(13) + be32(14));
        CIccTagmmod read;
        QVERIFY(m_files.readTag(read, bytes, 0)); // the size is not needed
        QCOMPARE(read.values(), tag.values());
        QVERIFY(!m_files.readTag(read, bytes.left(39), 40));
        QCOMPARE(read.values(), tag.values());
        QVERIFY(!tag.Write(nullptr));
    }

    void standard_tag_layouts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray header0 = be32(0);
        QTest::newRow("desc keeps the full text in UTF-16")
            << 0
            << QByteArray("desc") + header0 + be32(3) + QByteArray("A?\0", 3) + be32(0) + be32(3) + be16('A')
                   + be16(0xE9) + be16(0) + be16(0) + QByteArray(1 + 67, '\0');
        QTest::newRow("text") << 1 << QByteArray("text") + header0 + QByteArray("A?\0", 3);
        QTest::newRow("XYZ") << 2 << QByteArray("XYZ ") + header0 + be32(0xF6D5) + be32(0x10000) + be32(0xFFFF0000);
        QTest::newRow("sf32") << 3 << QByteArray("sf32") + header0 + be32(0x8000) + be32(0xFFFF8000);
        QTest::newRow("curv gamma") << 4 << QByteArray("curv") + header0 + be32(1) + be16(0x0233);
        QTest::newRow("curv table clipped")
            << 5 << QByteArray("curv") + header0 + be32(3) + be16(0) + be16(0x8000) + be16(0xFFFF);
        QTest::newRow("curv identity") << 6 << QByteArray("curv") + header0 + be32(0);
    }

    void standard_tag_layouts()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        const QString text = QStringLiteral("A") + QChar(0xE9);
        CIccTagTextDescription desc;
        desc.SetText(text);
        CIccTagText cprt;
        cprt.SetText(text);
        CIccTagXYZ xyz;
        xyz.SetXYZ(0.964188, 1.0, -1.0);
        CIccTagFixedNum sf32;
        sf32.SetValues({0.5, -0.5});
        CIccTagCurve gamma, table, identity;
        gamma.SetEntries({2.2});
        table.SetEntries({-0.25, 0.5, 1.5});
        CIccTag *tags[] = {&desc, &cprt, &xyz, &sf32, &gamma, &table, &identity};
        bool ok = false;
        QCOMPARE(m_files.writeTag(*tags[kind], &ok), bytes);
        QVERIFY(ok);
        QVERIFY(!tags[kind]->Write(nullptr));
    }

private:
    IccTestFiles m_files;
};

QTEST_APPLESS_MAIN(tst_icc_tags)
#include "tst_icc_tags.moc"
