#include "colour/CSpline.h"
#include "dialogs/custom_curve_file.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace custom_curve_file;

using point_list = QVector<QPointF>;

class tst_custom_curve_file : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write_file(const QByteArray &bytes)
    {
        static int count = 0;
        const QString path = m_dir.filePath(QStringLiteral("curve%1.txt").arg(++count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return path;
    }

    static QByteArray lines(int count, const std::function<QByteArray(int)> &line)
    {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes += line(i) + '\n';
        return bytes;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void reads_file_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("code");
        QTest::addColumn<point_list>("points");

        const point_list three{{0, 0}, {0.5, 0.25}, {1, 1}};
        QTest::newRow("three values") << QByteArray("0\n0.25\n1\n") << 0 << three;
        QTest::newRow("scaled by the last value") << QByteArray("0\n25\n100\n") << 0 << three;
        QTest::newRow("CR-LF endings") << QByteArray("0\r\n0.25\r\n1\r\n") << 0 << three;
        QTest::newRow("no final line ending") << QByteArray("0\n0.25\n1") << 0 << three;
        QTest::newRow("blank lines anywhere") << QByteArray("\n\n0\n\n0.25\r\n\r\n1\n\n") << 0 << three;
        QTest::newRow("spaces around a number") << QByteArray("  0\n0.25 \n\t1\n") << 0 << three;
        QTest::newRow("equal neighbours") << QByteArray("0\n0.5\n0.5\n1\n") << 0
                                          << point_list{{0, 0}, {1.0 / 3, 0.5}, {2.0 / 3, 0.5}, {1, 1}};
        QTest::newRow("a line of spaces") << QByteArray("0\n0.5\n1\n   \n") << int(kErrInvalidData) << point_list();
        QTest::newRow("words") << QByteArray("0\n0.5\n1\nhalf\n") << int(kErrInvalidData) << point_list();
        QTest::newRow("comma decimal") << QByteArray("0\n0.1\n0.2\n0,5\n") << int(kErrInvalidData) << point_list();
        QTest::newRow("bad line with too few before") << QByteArray("0\n,\n0.5\n1\n") << int(kErrNotEnoughPoints)
                                                      << point_list();
        QTest::newRow("two values") << QByteArray("0\n1\n") << int(kErrNotEnoughPoints) << point_list();
        QTest::newRow("two values then garbage") << QByteArray("0\n1\nx\n2\n") << int(kErrNotEnoughPoints)
                                                 << point_list();
        QTest::newRow("empty") << QByteArray() << int(kErrNotEnoughPoints) << point_list();
        QTest::newRow("first not zero") << QByteArray("0.001\n0.5\n1\n") << int(kErrFirstNotZero) << point_list();
        QTest::newRow("decreasing") << QByteArray("0\n0.5\n0.4\n1\n") << int(kErrNotMonotonic) << point_list();
        QTest::newRow("negative") << QByteArray("0\n-0.5\n1\n") << int(kErrNotMonotonic) << point_list();
        // Hostile input: never a NaN point.
        QTest::newRow("nan") << QByteArray("0\n0.5\n1\nnan\n") << int(kErrInvalidData) << point_list();
        QTest::newRow("inf") << QByteArray("0\n0.5\n0.7\ninf\n") << int(kErrInvalidData) << point_list();
        QTest::newRow("-inf") << QByteArray("0\n0.5\n1\n-inf\n") << int(kErrInvalidData) << point_list();
        QTest::newRow("all zeros") << QByteArray("0\n0\n0\n") << int(kErrInvalidData) << point_list();
        QTest::newRow("overflow in single precision") << QByteArray("0\n1e100\n1e300\n") << int(kErrInvalidData)
                                                      << point_list();
        QTest::newRow("underflow in single precision") << QByteArray("0\n1e-60\n1e-50\n") << int(kErrInvalidData)
                                                       << point_list();
        QTest::newRow("binary") << QByteArray("0\n0.5\n1\n\x01\x02\xff\x00\x7f\n", 14) << int(kErrInvalidData)
                                << point_list();
        QTest::newRow("endless line") << (QByteArray("0\n0.5\n") + QByteArray(40000, '1') + "\n1\n")
                                      << int(kErrInvalidData) << point_list();
        QTest::newRow("huge file") << QByteArray(kMaximumFileBytes + 1, '\n') << int(kErrInvalidData)
                                   << point_list();
    }

    void reads_file()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, code);
        QFETCH(point_list, points);

        CSpline curve;
        curve.Init(4, 2, 0.0, 1.0);
        const CSpline before = curve;
        QCOMPARE(read_custom_curve_file(write_file(contents), curve), code);
        if (code != 0) {
            QVERIFY(!(curve != before));
            return;
        }
        QVERIFY(curve.IsValid());
        QCOMPARE(curve.GetKind(), 4);
        QCOMPARE(curve.GetRangeMinimum(), 0.0);
        QCOMPARE(curve.GetRangeMaximum(), 1.0);
        QCOMPARE(curve.GetSize(), points.size());
        for (int i = 0; i < points.size(); ++i) {
            // The scale is rounded to single precision: 1e-7 covers it.
            QVERIFY2(qAbs(curve.GetX(i) - points[i].x()) < 1e-7, qPrintable(QString::number(i)));
            QVERIFY2(qAbs(curve.GetY(i) - points[i].y()) < 1e-7, qPrintable(QString::number(i)));
        }
    }

    void point_count_limits_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("code");
        QTest::newRow("3") << 3 << 0;
        QTest::newRow("256") << 256 << 0;
        QTest::newRow("257") << 257 << int(kErrTooManyPoints);
        QTest::newRow("1000") << 1000 << int(kErrTooManyPoints);
    }

    void point_count_limits()
    {
        QFETCH(int, count);
        QFETCH(int, code);
        CSpline curve;
        const QString path = write_file(lines(count, [](int i) { return QByteArray::number(i); }));
        QCOMPARE(read_custom_curve_file(path, curve), code);
        if (code == 0) {
            QCOMPARE(curve.GetSize(), count);
            QCOMPARE(curve.GetY(count - 1), 1.0);
        }
    }

    void the_first_value_decides_before_too_many()
    {
        CSpline curve;
        const QString path = write_file(lines(300, [](int i) { return QByteArray::number(i + 1); }));
        QCOMPARE(read_custom_curve_file(path, curve), int(kErrFirstNotZero));
    }

    void missing_file_cannot_be_opened()
    {
        CSpline curve;
        QCOMPARE(read_custom_curve_file(m_dir.filePath(QStringLiteral("missing.txt")), curve), int(kErrOpen));
    }

    void a_special_file_is_read_bounded()
    {
        // A device that never ends must not hang the reader.
        CSpline curve;
        QVERIFY(read_custom_curve_file(QStringLiteral("/dev/zero"), curve) != 0);
        QCOMPARE(curve.GetSize(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_custom_curve_file)
#include "tst_custom_curve_file.moc"
