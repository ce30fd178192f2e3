#include "colour/stream_record.h"

#include <QBuffer>
#include <QtTest>

class tst_stream_record : public QObject
{
    Q_OBJECT

private:
    static QByteArray header(quint32 magic, qint32 version)
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        stream_record::prepare(out);
        stream_record::write_header(out, magic, version);
        return bytes;
    }

private slots:
    void header_layout()
    {
        // Big-endian magic then version, no framing of Qt's own.
        QCOMPARE(header(0xDEADFADE, 117).toHex(), QByteArray("deadfade00000075"));
    }

    void read_header_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("version");
        QTest::newRow("match") << header(0xFEAB, 124) << 0 << 124;
        QTest::newRow("oldest accepted") << header(0xFEAB, 100) << 0 << 100;
        QTest::newRow("newer") << header(0xFEAB, 125) << -1501 << 125;
        QTest::newRow("older") << header(0xFEAB, 99) << -1501 << 99;
        QTest::newRow("wrong magic") << header(0xFEAC, 124) << -1502 << 0;
        QTest::newRow("empty") << QByteArray() << -1503 << 0;
        QTest::newRow("magic only") << header(0xFEAB, 124).left(4) << -1503 << 0;
        QTest::newRow("cut version") << header(0xFEAB, 124).left(6) << -1503 << 0;
    }

    void read_header()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QFETCH(int, version);
        QDataStream in(bytes);
        stream_record::prepare(in);
        qint32 read = -7;
        QCOMPARE(stream_record::read_header(in, 0xFEAB, 100, 124, &read), code);
        QCOMPARE(read, version);
    }

    void write_failure_is_reported()
    {
        QBuffer closed; // never opened: every write fails
        QDataStream out(&closed);
        QCOMPARE(stream_record::write_header(out, 1, 1), int(stream_record::kErrWrite));
    }

    void read_count_data()
    {
        QTest::addColumn<qint32>("stored");
        QTest::addColumn<int>("trailingBytes");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << 0 << 0 << true;
        QTest::newRow("fits") << 3 << 24 << true;
        QTest::newRow("negative") << -1 << 100 << false;
        QTest::newRow("above maximum") << 11 << 1000 << false;
        QTest::newRow("more than the stream holds") << 10 << 79 << false;
    }

    void read_count()
    {
        QFETCH(qint32, stored);
        QFETCH(int, trailingBytes);
        QFETCH(bool, accepted);
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out << stored;
        }
        bytes.append(QByteArray(trailingBytes, '\0'));
        QDataStream in(bytes);
        qint32 count = -1;
        QCOMPARE(stream_record::read_count(in, &count, 10, 8), accepted);
        QCOMPARE(count, accepted ? stored : 0);
        QCOMPARE(in.status() == QDataStream::Ok, accepted);
    }
};

QTEST_APPLESS_MAIN(tst_stream_record)
#include "tst_stream_record.moc"
