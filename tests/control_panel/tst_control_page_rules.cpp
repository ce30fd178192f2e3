// The control panel's page rules without widgets or displays: the power-on
// delay and its stagger, what a power job leaves on the page, the fan mode
// and sensor choices, the tile matrix's position and cell, the frame
// compensation's hundredths, and the IR keypad, sequence text and check.
#include "control_panel/core/cooling_page.h"
#include "control_panel/core/ir_codes.h"
#include "control_panel/core/power_page_rules.h"
#include "control_panel/core/tile_matrix_rules.h"
#include "jobs/job_task_type.h"

#include <QLocale>
#include <QSet>
#include <QtTest>

Q_DECLARE_METATYPE(ir_codes::check)

class tst_control_page_rules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void delay_texts_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("targets");
        QTest::addColumn<QString>("text");
        QTest::newRow("one display, none") << 0 << 1 << "0 seconds";
        QTest::newRow("one display, one") << 1 << 1 << "1 second";
        QTest::newRow("one display, grouped digits") << 1200 << 1 << "1,200 seconds";
        QTest::newRow("no target") << 5 << 0 << "5 seconds";
        QTest::newRow("several, off") << 0 << 3 << "Disabled";
        QTest::newRow("several, 6 a second") << 1 << 3 << "6 displays per second";
        QTest::newRow("several, 4 a second") << 2 << 3 << "4 displays per second";
        QTest::newRow("several, 2 a second") << 3 << 3 << "2 displays per second";
        QTest::newRow("several, one second") << 4 << 3 << "Displays staggered by 1 second";
        QTest::newRow("several, seconds") << 9 << 3 << "Displays staggered by 6 seconds";
    }
    void delay_texts()
    {
        QFETCH(int, value);
        QFETCH(int, targets);
        QFETCH(QString, text);
        QCOMPARE(power_page_rules::delay_text(value, targets), text);
    }

    void slider_maxima_data()
    {
        QTest::addColumn<int>("display_maximum");
        QTest::addColumn<int>("targets");
        QTest::addColumn<int>("maximum");
        QTest::newRow("one display") << 20 << 1 << 20;
        QTest::newRow("three displays") << 20 << 3 << 13;
        QTest::newRow("thirty displays") << 20 << 30 << 3;
        QTest::newRow("one second each") << 20 << 21 << 4;
        QTest::newRow("one display too many") << 20 << 22 << 3;
        QTest::newRow("two displays") << 50 << 2 << 53;
    }
    void slider_maxima()
    {
        QFETCH(int, display_maximum);
        QFETCH(int, targets);
        QFETCH(int, maximum);
        QCOMPARE(power_page_rules::slider_maximum(display_maximum, targets), maximum);
    }

    void staggered_delays_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QList<int>>("delays");   // ten displays in target order
        QTest::newRow("off") << 0 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("6 a second") << 1 << QList<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
        QTest::newRow("4 a second") << 2 << QList<int>{0, 0, 0, 0, 1, 1, 1, 1, 2, 2};
        QTest::newRow("2 a second") << 3 << QList<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4};
        QTest::newRow("2 s apart") << 5 << QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18};
    }
    void staggered_delays()
    {
        QFETCH(int, value);
        QFETCH(QList<int>, delays);
        QList<int> seen;
        for (int i = 0; i < delays.size(); ++i)
            seen << power_page_rules::staggered_delay(value, i);
        QCOMPARE(seen, delays);
        // The last display never waits longer than the display allows.
        const int maximum = 20;
        const int slider = power_page_rules::slider_maximum(maximum, delays.size());
        QVERIFY(power_page_rules::staggered_delay(slider, delays.size() - 1) <= maximum);
    }

    // The first display's power job: its state, or its failure without a
    // state (the mode a failed job carries is only what was asked).
    void power_job_outcomes_data()
    {
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("power_result");
        QTest::addColumn<int>("cancelled");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("mode");
        QTest::newRow("switched off") << true << 0 << 0 << 0 << 0 << 4;
        QTest::newRow("switch refused") << true << -5002 << -5002 << 0 << -5002 << 0;
        QTest::newRow("read-back failed") << true << -5001 << -5001 << 0 << -5001 << 0;
        QTest::newRow("never ran") << false << 0 << 0 << int(JOB_RESULT_CANCELLED) << int(JOB_RESULT_CANCELLED) << 0;
        QTest::newRow("not done, no code") << false << 0 << 0 << 0 << int(JOB_RESULT_CANCELLED) << 0;
    }
    void power_job_outcomes()
    {
        QFETCH(bool, done);
        QFETCH(int, error);
        QFETCH(int, power_result);
        QFETCH(int, cancelled);
        QFETCH(int, status);
        QFETCH(int, mode);
        job_list_item first = power_page_rules::power_job(4, true);
        QCOMPARE(first.task_list, QList<qint32>{JOB_TASK_POWER_STATE});
        QVERIFY(first.power.set && first.power.read_back);
        first.job_parameters.power.done = done ? 1 : 0;
        first.job_parameters.power.result = power_result;
        first.job_parameters.power.mode = error == 0 && done ? 4 : 0;
        first.job_parameters.error_code = error;
        first.result = cancelled;
        job_list_item other = power_page_rules::power_job(4, false);
        other.job_parameters.power.done = 1;
        other.job_parameters.power.mode = 1;
        const power_page_rules::power_outcome outcome = power_page_rules::first_job_outcome({first, other});
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.mode, mode);
        QCOMPARE(power_page_rules::first_job_outcome({}).status, 0);
    }

    void fan_choices()
    {
        const auto values = [](const QList<control_item> &items) {
            QList<int> out;
            for (const control_item &item : items)
                out << item.data;
            return out;
        };
        QCOMPARE(values(cooling_page::fan_mode_items(1)), QList<int>{1});
        QCOMPARE(values(cooling_page::fan_mode_items(7)), (QList<int>{2, 1, 3, 4, 5, 6, 7}));
        QCOMPARE(values(cooling_page::fan_mode_items(0)), QList<int>{});
        QCOMPARE(cooling_page::fan_mode_items(7).at(2).text, QStringLiteral("Auto (-2\u00B0 offset)"));
        QCOMPARE(values(cooling_page::sensor_items(3)), (QList<int>{1, 2, 3}));
        QCOMPARE(cooling_page::sensor_items(3).at(1).text, QStringLiteral("2"));
        QVERIFY(cooling_page::sensor_items(0).isEmpty());
        QCOMPARE(cooling_page::sensor_items(0xFFFF).size(), 255);
    }

    void tile_positions_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("has_cell");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("first") << 1 << 4 << 2 << true << 0 << 0;
        QTest::newRow("second row") << 5 << 4 << 2 << true << 0 << 1;
        QTest::newRow("column 2, row 1") << 7 << 4 << 2 << true << 2 << 1;
        QTest::newRow("last") << 8 << 4 << 2 << true << 3 << 1;
        QTest::newRow("position 0") << 0 << 4 << 2 << false << -1 << -1;
        QTest::newRow("past the last") << 9 << 4 << 2 << false << -1 << -1;
        QTest::newRow("negative") << -3 << 4 << 2 << false << -1 << -1;
        QTest::newRow("no columns") << 1 << 0 << 2 << false << -1 << -1;
        QTest::newRow("no rows") << 1 << 4 << 0 << false << -1 << -1;
        QTest::newRow("one by one") << 1 << 1 << 1 << true << 0 << 0;
    }
    void tile_positions()
    {
        QFETCH(int, position);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, has_cell);
        QFETCH(int, column);
        QFETCH(int, row);
        int c = -1, r = -1;
        QCOMPARE(tile_matrix_rules::cell(position, columns, rows, c, r), has_cell);
        if (!has_cell)
            return;
        QCOMPARE(c, column);
        QCOMPARE(r, row);
        QCOMPARE(tile_matrix_rules::position(c, r, columns), position);
    }

    void tile_values()
    {
        QCOMPARE(tile_matrix_rules::diagram_count(0), 1);
        QCOMPARE(tile_matrix_rules::diagram_count(-2), 1);
        QCOMPARE(tile_matrix_rules::diagram_count(6), 6);
        QCOMPARE(tile_matrix_rules::off_value(2), 1);
        QCOMPARE(tile_matrix_rules::off_value(3), 3);
        QCOMPARE(tile_matrix_rules::off_value(0), 3);
        // 1.15 frames is 114.999… hundredths as a double: to the nearest.
        QCOMPARE(tile_matrix_rules::hundredths(1.15), 115);
        QCOMPARE(tile_matrix_rules::hundredths(0.29), 29);
        QCOMPARE(tile_matrix_rules::hundredths(1.5), 150);
        QCOMPARE(tile_matrix_rules::hundredths(2.0), 200);
    }

    void keypad()
    {
        const QVector<ir_codes::key> &keys = ir_codes::keypad();
        QCOMPARE(keys.size(), 65);
        QSet<QString> names;
        for (const ir_codes::key &key : keys)
            names << QLatin1String(key.button);
        QCOMPARE(names.size(), 65);
        const auto code_of = [&keys](const char *button) {
            for (const ir_codes::key &key : keys) {
                if (qstrcmp(key.button, button) == 0)
                    return int(key.code);
            }
            return -1;
        };
        QCOMPARE(code_of("ir_remote_ypbpr_pushButton"), 0x31);
        QCOMPARE(code_of("ir_remote_dvdhd_pushButton"), 0x31);
        QCOMPARE(code_of("ir_remote_wait1s_pushButton"), 0x00);
        QCOMPARE(code_of("ir_remote_0_pushButton"), 0x12);
        QCOMPARE(code_of("ir_remote_multipicture_rotateall_pushButton"), 0x61);
    }

    void appending_keys()
    {
        QString text;
        for (quint8 code : {quint8(0x08), quint8(0x09), ir_codes::kPause, quint8(0x45)})
            text = ir_codes::append(text, code);
        QCOMPARE(text, QStringLiteral("08 09 00 45"));
        QCOMPARE(ir_codes::append(QStringLiteral("08 "), 0xAB), QStringLiteral("08 AB"));
    }

    void sequence_checks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ir_codes::check>("check");
        QTest::newRow("empty") << "" << ir_codes::check::intermediate;
        QTest::newRow("one") << "08" << ir_codes::check::acceptable;
        QTest::newRow("short and long tokens") << "8 1f 008" << ir_codes::check::acceptable;
        QTest::newRow("trailing space") << "08 " << ir_codes::check::intermediate;
        QTest::newRow("leading space") << " 08" << ir_codes::check::intermediate;
        QTest::newRow("double space") << "08  09" << ir_codes::check::intermediate;
        QTest::newRow("not hexadecimal") << "G1" << ir_codes::check::intermediate;
        QTest::newRow("above FF") << "100" << ir_codes::check::invalid;
        QTest::newRow("above FF later") << "08 1FF" << ir_codes::check::invalid;
    }
    void sequence_checks()
    {
        QFETCH(QString, text);
        QFETCH(ir_codes::check, check);
        QCOMPARE(ir_codes::validate(text), check);
    }

    void sequences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("codes");
        QTest::addColumn<QString>("normal");
        QTest::newRow("short tokens") << "8 1f" << QByteArray("\x08\x1F", 2) << "08 1F";
        QTest::newRow("pause") << "08 00 45" << QByteArray("\x08\x00\x45", 3) << "08 00 45";
        QTest::newRow("extra spaces") << "  08   09 " << QByteArray("\x08\x09", 2) << "08 09";
        QTest::newRow("a bad token dropped") << "08 G1 09" << QByteArray("\x08\x09", 2) << "08 09";
        QTest::newRow("above FF dropped") << "08 100" << QByteArray("\x08", 1) << "08";
        QTest::newRow("nothing") << "" << QByteArray() << "";
    }
    void sequences()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, codes);
        QFETCH(QString, normal);
        const ir_codes::sequence sequence = ir_codes::parse(text);
        QCOMPARE(sequence.codes, codes);
        QCOMPARE(sequence.normal, normal);
    }
};

QTEST_GUILESS_MAIN(tst_control_page_rules)
#include "tst_control_page_rules.moc"
