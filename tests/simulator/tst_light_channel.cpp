#include "simulator/light/light_channel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_light_channel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        light_channel::set_channel_folder(m_folder.path() + QStringLiteral("/channel"));
        light_channel::clear_channel();
    }

    void round_trip_is_exact()
    {
        const QString key = light_channel::display_key(QStringLiteral("127.0.10.1"), 3);
        QCOMPARE(key, QStringLiteral("127.0.10.1/3"));
        light_channel::light_reading published{95.047, 100.0 / 3.0, 108.883};
        QVERIFY(light_channel::publish_light(key, published));
        light_channel::light_reading read;
        QVERIFY(light_channel::read_light(key, &read));
        // 17 significant digits make the text form exact.
        QCOMPARE(read.X, published.X);
        QCOMPARE(read.Y, published.Y);
        QCOMPARE(read.Z, published.Z);
    }

    void displays_are_kept_apart()
    {
        QVERIFY(light_channel::publish_light(QStringLiteral("/dev/pts/4/1"), {1, 2, 3}));
        QVERIFY(light_channel::publish_light(QStringLiteral("/dev/pts/4/2"), {4, 5, 6}));
        light_channel::light_reading read;
        QVERIFY(light_channel::read_light(QStringLiteral("/dev/pts/4/1"), &read));
        QCOMPARE(read.Y, 2.0);
        QVERIFY(!light_channel::read_light(QStringLiteral("/dev/pts/4/3"), &read));
    }

    void active_display_follows_last_publisher()
    {
        QVERIFY(light_channel::active_display().isEmpty());
        QVERIFY(light_channel::publish_active_display(QStringLiteral("127.0.10.2/1")));
        QVERIFY(light_channel::publish_active_display(QStringLiteral("127.0.10.3/1")));
        QCOMPARE(light_channel::active_display(), QStringLiteral("127.0.10.3/1"));
        light_channel::clear_channel();
        QVERIFY(light_channel::active_display().isEmpty());
    }

    void damaged_files_are_refused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("two values") << QByteArray("1 2\n");
        QTest::newRow("not numbers") << QByteArray("a b c\n");
        QTest::newRow("not finite") << QByteArray("nan 1 1\n");
    }

    void damaged_files_are_refused()
    {
        QFETCH(QByteArray, content);
        const QString key = QStringLiteral("127.0.10.9/1");
        QVERIFY(light_channel::publish_light(key, {1, 1, 1}));
        const QStringList files = QDir(light_channel::channel_folder()).entryList({"*.light"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QFile file(light_channel::channel_folder() + '/' + files.first());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        light_channel::light_reading read;
        QVERIFY(!light_channel::read_light(key, &read));
    }
};

QTEST_APPLESS_MAIN(tst_light_channel)
#include "tst_light_channel.moc"
