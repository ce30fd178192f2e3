#include "sensor_test_environment.h"

#include "sensors/i1d3_library.h"
#include "sensors/instrument_library.h"

#include <QCoreApplication>
#include <QFile>
#include <QtTest>

class tst_instrument_library : public QObject
{
    Q_OBJECT

private:
    sensor_test_environment m_environment;

private slots:
    void file_names_data()
    {
        QTest::addColumn<QString>("windowsName");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("i1Display Pro") << QStringLiteral("i1d3SDK.dll") << QStringLiteral("libi1d3sdk.so");
        QTest::newRow("i1Pro") << QStringLiteral("i1Pro.dll") << QStringLiteral("libi1pro.so");
        QTest::newRow("i1Studio") << QStringLiteral("i1Studio.dll") << QStringLiteral("libi1studio.so");
        QTest::newRow("i1Display 2") << QStringLiteral("EyeOne.dll") << QStringLiteral("libeyeone.so");
        QTest::newRow("Hubble") << QStringLiteral("SpotMeterSDK.dll") << QStringLiteral("libspotmetersdk.so");
        QTest::newRow("SpyderX") << QStringLiteral("dcxmtr.dll") << QStringLiteral("libdcxmtr.so");
        QTest::newRow("Spyder3/4/5") << QStringLiteral("dccmtr.dll") << QStringLiteral("libdccmtr.so");
        QTest::newRow("PL server") << QStringLiteral("PL200Srvr.dll") << QStringLiteral("libpl200srvr.so");
        QTest::newRow("PL link module") << QStringLiteral("Linkmod.dll") << QStringLiteral("liblinkmod.so");
        QTest::newRow("Probelink") << QStringLiteral("probelink.dll") << QStringLiteral("libprobelink.so");
        QTest::newRow("any case") << QStringLiteral("I1D3sdk.DLL") << QStringLiteral("libi1d3sdk.so");
        QTest::newRow("unknown") << QStringLiteral("other.dll") << QString();
    }

    void file_names()
    {
        QFETCH(QString, windowsName);
        QFETCH(QString, fileName);
        QCOMPARE(instrument_library_file_name(windowsName), fileName);
    }

    void folder_follows_the_environment()
    {
        sensor_test_environment::useLibraryFolder(m_environment.emptyFolder());
        QCOMPARE(instrument_library_folder(), m_environment.emptyFolder());
        QCOMPARE(instrument_library_path(QStringLiteral("dccmtr.dll")),
                 m_environment.emptyFolder() + QStringLiteral("/libdccmtr.so"));
        QCOMPARE(instrument_library_path(QStringLiteral("other.dll")), QString());
        qunsetenv("TESSALINE_SENSOR_LIBRARY_DIR");
        QCOMPARE(instrument_library_folder(), program_folder());
        QCOMPARE(program_folder(), QCoreApplication::applicationDirPath());
    }

    void presence_ignores_case()
    {
        sensor_test_environment::useLibraryFolder(m_environment.emptyFolder());
        QVERIFY(!instrument_library_present(QStringLiteral("PL200Srvr.dll")));
        QFile file(m_environment.emptyFolder() + QStringLiteral("/LibPL200Srvr.SO"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(instrument_library_present(QStringLiteral("PL200Srvr.dll")));
        QVERIFY(!instrument_library_present(QStringLiteral("other.dll")));
        QVERIFY(file.remove());
    }

    void binds_every_entry_point_or_none()
    {
        sensor_test_environment::useLibraryFolder(sensor_test_environment::simulatedLibraryFolder());
        i1d3_library library;
        QVERIFY(library.load());
        QVERIFY(library.isLoaded());
        QVERIFY(library.Initialize && library.MeasureXYZ && library.GetSerialNumber);

        instrument_library partial;
        void (*present)() = nullptr;
        void (*missing)() = nullptr;
        QVERIFY(!partial.load(QStringLiteral("i1d3SDK.dll"),
                              {library_symbol(present, "i1d3Initialize"), library_symbol(missing, "i1d3Missing")}));
        QVERIFY(!partial.isLoaded());
        QVERIFY(!missing);
    }

    void missing_library_binds_nothing()
    {
        sensor_test_environment::useLibraryFolder(m_environment.emptyFolder());
        i1d3_library library;
        QVERIFY(!library.load());
        QVERIFY(!library.isLoaded());
        QVERIFY(!library.Initialize);
    }

    void library_lacking_an_entry_point_binds_nothing()
    {
        const QString folder = m_environment.root() + QStringLiteral("/partial");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(QStringLiteral(PARTIAL_I1D3_LIBRARY), folder + QStringLiteral("/libi1d3sdk.so")));
        sensor_test_environment::useLibraryFolder(folder);
        i1d3_library library;
        QVERIFY(!library.load());
        QVERIFY(!library.isLoaded());
        // i1d3Initialize exists in that library, yet no pointer stays bound.
        QVERIFY(!library.Initialize);
        QVERIFY(!library.Destroy);
    }
};

QTEST_GUILESS_MAIN(tst_instrument_library)
#include "tst_instrument_library.moc"
