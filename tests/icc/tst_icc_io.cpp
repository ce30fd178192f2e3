#include "icc/icc_encoding.h"
#include "icc/icc_file_io_qt.h"
#include "tests/icc/icc_test_support.h"

#include <QtTest>

#include <limits>

class tst_icc_io : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_files.isValid()); }

    void fixed_point_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<float>("value");
        QTest::addColumn<quint32>("encoded");
        QTest::newRow("s15 one") << 0 << 1.0f << 0x00010000u;
        QTest::newRow("s15 minus one") << 0 << -1.0f << 0xFFFF0000u;
        QTest::newRow("s15 header illuminant X") << 0 << 0.9642f << 0x0000F6D6u;
        QTest::newRow("s15 header illuminant Z") << 0 << 0.8249f << 0x0000D32Du;
        QTest::newRow("s15 rounds away from zero") << 0 << float(-1.5 / 65536) << 0xFFFFFFFEu;
        QTest::newRow("s15 clamps high") << 0 << 1e6f << 0x7FFFFFFFu;
        QTest::newRow("s15 clamps low") << 0 << -1e6f << 0x80000000u;
        QTest::newRow("u8Fixed8 gamma 2.2") << 1 << 2.2f << 0x0233u;
        QTest::newRow("u8Fixed8 negative") << 1 << -1.0f << 0u;
        QTest::newRow("u8Fixed8 clamps") << 1 << 300.0f << 0xFFFFu;
        QTest::newRow("fraction half") << 2 << 0.5f << 0x8000u;
        QTest::newRow("fraction clips below") << 2 << -0.1f << 0u;
        QTest::newRow("fraction clips above") << 2 << 1.1f << 0xFFFFu;
        QTest::newRow("fraction NaN") << 2 << std::numeric_limits<float>::quiet_NaN() << 0u;
    }

    void fixed_point()
    {
        QFETCH(int, kind);
        QFETCH(float, value);
        QFETCH(quint32, encoded);
        const quint32 actual = kind == 0   ? quint32(icc_encoding::to_s15Fixed16(value))
                               : kind == 1 ? icc_encoding::to_u8Fixed8(value)
                                           : icc_encoding::to_u16_fraction(value);
        QCOMPARE(actual, encoded);
    }

    void ascii_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("ascii");
        QTest::newRow("plain") << "Model 55 X" << QByteArray("Model 55 X");
        QTest::newRow("Latin-1 is not 7-bit") << QString::fromUtf8("Caf\u00e9") << QByteArray("Caf?");
        QTest::newRow("one mark per code point") << QString::fromUtf8("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("embedded NUL") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
                                      << QByteArray("a?b");
        QTest::newRow("empty") << QString() << QByteArray();
    }

    void ascii()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, ascii);
        QCOMPARE(icc_encoding::to_ascii(text), ascii);
    }

    void closed_adapter()
    {
        CIccFileIOQt io;
        char buffer[4] = {1, 2, 3, 4};
        QCOMPARE(io.Read8(buffer, 4), 0);
        QCOMPARE(io.Write8(buffer, 4), 0);
        QCOMPARE(io.GetLength(), 0);
        QCOMPARE(io.Seek(0, 0), -1);
        QCOMPARE(io.Tell(), -1);
        io.Close(); // harmless when nothing is open
    }

    void open_modes()
    {
        const QString file = m_files.path(QStringLiteral("modes.bin"));
        CIccFileIOQt io;
        QVERIFY(!io.Open(file, "r"));
        QVERIFY(!io.Open(file, "rb+")); // 'r' never creates

        QVERIFY(IccTestFiles::store(file, QByteArray("old contents")));
        QVERIFY(io.Open(file, "r"));
        char buffer[3];
        QCOMPARE(io.Write8("xyz", 3), -1); // read-only
        QCOMPARE(io.Read8(buffer, 3), 3);
        QCOMPARE(QByteArray(buffer, 3), QByteArray("old"));

        // Without 'r' (also a null mode) the old file is replaced by an empty one.
        for (const char *mode : {"w+", static_cast<const char *>(nullptr)}) {
            QVERIFY(IccTestFiles::store(file, QByteArray("old contents")));
            QVERIFY(io.Open(file, mode));
            QCOMPARE(io.GetLength(), 0);
            QCOMPARE(io.Write8("new", 3), 3);
            QCOMPARE(io.Seek(0, 0), 0);
            QCOMPARE(io.Read8(buffer, 3), 3); // opened for reading too
            io.Close();
            QCOMPARE(IccTestFiles::contents(file), QByteArray("new"));
        }
        QVERIFY(!io.Open(m_files.path(QStringLiteral("missing/dir/file.icc")), "w+"));
    }

    void seek_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("origin");
        QTest::addColumn<int>("position");
        // The file holds 10 bytes and the position is 4 before each seek.
        QTest::newRow("from start") << 6 << 0 << 6;
        QTest::newRow("from current") << 3 << 1 << 7;
        QTest::newRow("back from current") << -4 << 1 << 0;
        QTest::newRow("from end") << -2 << 2 << 8;
        QTest::newRow("before the start") << -5 << 1 << -1;
        QTest::newRow("unknown origin") << 0 << 3 << -1;
    }

    void seek()
    {
        QFETCH(int, offset);
        QFETCH(int, origin);
        QFETCH(int, position);
        CIccFileIOQt io;
        QVERIFY(io.Open(m_files.path(QStringLiteral("seek.bin")), "w+"));
        QCOMPARE(io.Write8("0123456789", 10), 10);
        QCOMPARE(io.Seek(4, 0), 4);
        QCOMPARE(io.Seek(offset, origin), position);
        if (position >= 0)
            QCOMPARE(io.Tell(), position);
    }

    void big_endian_helpers()
    {
        CIccFileIOQt io;
        const QString file = m_files.path(QStringLiteral("numbers.bin"));
        QVERIFY(io.Open(file, "w+"));
        QVERIFY(io.WriteUInt8(0x01) && io.WriteUInt16(0x0203) && io.WriteUInt32(0x04050607));
        QVERIFY(io.Align32());
        QCOMPARE(io.Tell(), 8);
        QVERIFY(io.Align32()); // already aligned: nothing added
        QCOMPARE(io.Tell(), 8);
        QCOMPARE(io.Seek(1, 0), 1);
        quint16 half = 0;
        quint32 word = 0;
        QVERIFY(io.ReadUInt16(half) && io.ReadUInt32(word));
        QCOMPARE(half, quint16(0x0203));
        QCOMPARE(word, 0x04050607u);
        QCOMPARE(io.Remaining(), qint64(1));
        QCOMPARE(io.Seek(0, 2), 8);
        QVERIFY(!io.ReadUInt32(word)); // short read
        io.Close();
        QCOMPARE(IccTestFiles::contents(file), QByteArray("\x01\x02\x03\x04\x05\x06\x07\x00", 8));
    }

private:
    IccTestFiles m_files;
};

QTEST_APPLESS_MAIN(tst_icc_io)
#include "tst_icc_io.moc"
