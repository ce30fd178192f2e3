// The status page's texts from the display's codes and readings, and its
// clipboard text.
#include "control_panel/core/status_texts.h"

#include <QtTest>

class tst_status_texts : public QObject
{
    Q_OBJECT

private slots:
    void diagnostic_reports_data()
    {
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QString>("text");
        QTest::newRow("normal") << QByteArray(1, '\0') << "Normal";
        QTest::newRow("first and last of the table")
            << QByteArray("\x70\xE4", 2) << "Standby-power +3.3V abnormality. CPLD error. ";
        QTest::newRow("fans in report order")
            << QByteArray("\x82\x80", 2) << "Cooling fan-3 abnormality. Cooling fan-1 abnormality. ";
        QTest::newRow("unknown codes as two upper-case digits")
            << QByteArray("\x05\xFF\x79", 3) << "Unknown error code 05. Unknown error code FF. Unknown error code 79. ";
        QTest::newRow("24 V and compute module")
            << QByteArray("\x78\x83", 2)
            << "Inverter power/Option slot2 power +24V Abnormality. COMPUTE MODULE Cooling fan abnormality. ";
        QTest::newRow("temperature and signal")
            << QByteArray("\xA2\xB0", 2) << "SENSOR reached user specified temperature. No signal. ";
        QTest::newRow("empty report") << QByteArray() << "";
    }
    void diagnostic_reports()
    {
        QFETCH(QByteArray, report);
        QFETCH(QString, text);
        QCOMPARE(status_texts::diagnostic_text(report), text);
    }

    void fan_states_data()
    {
        QTest::addColumn<uint>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("off") << 0u << "Off";
        QTest::newRow("on") << 1u << "On";
        QTest::newRow("error") << 2u << "Error";
        QTest::newRow("garbled") << 3u << "";
        QTest::newRow("garbled word") << 0xFFFFu << "";
    }
    void fan_states()
    {
        QFETCH(uint, state);
        QFETCH(QString, text);
        QCOMPARE(status_texts::fan_state_text(state), text);
    }

    void temperatures_data()
    {
        QTest::addColumn<uint>("half_degrees");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0u << QStringLiteral("0.0\u00B0C (32.0\u00B0F)");
        QTest::newRow("half degree") << 77u << QStringLiteral("38.5\u00B0C (101.3\u00B0F)");
        QTest::newRow("largest word") << 0xFFFFu << QStringLiteral("32,767.5\u00B0C (59,013.5\u00B0F)");
    }
    void temperatures()
    {
        QFETCH(uint, half_degrees);
        QFETCH(QString, text);
        QCOMPARE(status_texts::temperature_text(half_degrees), text);
    }

    void sync_status_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("both negative") << 0x00 << "-V Sync. -H Sync. ";
        QTest::newRow("both positive") << 0x03 << "+V Sync. +H Sync. ";
        QTest::newRow("unstable") << 0x42 << "-V Sync. +H Sync. Unstable Sync. ";
        QTest::newRow("out of range") << 0x81 << "+V Sync. -H Sync. Sync out of range. ";
        QTest::newRow("every bit") << 0xFF << "+V Sync. +H Sync. Unstable Sync. Sync out of range. ";
    }
    void sync_status()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        QCOMPARE(status_texts::sync_status_text(static_cast<quint8>(status)), text);
    }

    void frequencies_and_hours()
    {
        QCOMPARE(status_texts::horizontal_frequency_text(67.5f), QStringLiteral("67.50 kHz"));
        QCOMPARE(status_texts::vertical_frequency_text(6.f), QStringLiteral(" 6.00 Hz"));
        QCOMPARE(status_texts::hours_text(1234.56), QStringLiteral("1,234.6"));
        QCOMPARE(status_texts::hours_text(0), QStringLiteral("0.0"));
    }

    void clipboard_text()
    {
        display_layout_item lan;
        lan.connection_type = 1;
        lan.connection_address = QStringLiteral("127.0.0.5");
        lan.monitor_id = 3;
        const QList<QPair<QString, QString>> rows = {{"Model Name:", "VW-5530Q"}, {"Fan 1:", ""}};
        QCOMPARE(status_texts::clipboard_text(lan, rows),
                 QStringLiteral("IP Address: 127.0.0.5\nMonitor ID: 3\nModel Name: VW-5530Q\nFan 1: \n"));
        display_layout_item serial;
        serial.connection_type = 0;
        serial.connection_address = QStringLiteral("/dev/ttyS1");
        serial.monitor_id = 12;
        QCOMPARE(status_texts::clipboard_text(serial, {}), QStringLiteral("COM Port: /dev/ttyS1\nMonitor ID: 12\n"));
    }
};

QTEST_GUILESS_MAIN(tst_status_texts)
#include "tst_status_texts.moc"
