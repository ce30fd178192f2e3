// The schedule and holiday pages' rules without widgets: programs from what
// a display reports into what the jobs write, and the holiday descriptions.
#include "control_panel/core/holiday_programs.h"
#include "control_panel/core/schedule_programs.h"

#include <QLocale>
#include <QtTest>

using holiday = holiday_programs::fields;
Q_DECLARE_METATYPE(holiday)

namespace {

holiday make(int kind, int year, int month, int day, int nth = 0, int weekday = 0, int end_month = 0, int end_day = 0)
{
    return {kind, year, month, day, nth, weekday, end_month, end_day};
}

// Off hour, on hour, off minute, on minute, as the entry holds them.
QByteArray times_of(const schedule_job_entry &e)
{
    const char times[] = {char(e.off_hour), char(e.on_hour), char(e.off_minute), char(e.on_minute)};
    return QByteArray(times, 4);
}

QString short_date(int y, int m, int d)
{
    return QLocale().toString(QDate(y, m, d), QLocale::ShortFormat);
}

} // namespace

class tst_schedule_rules : public QObject
{
    Q_OBJECT

private slots:
    void holiday_descriptions_data()
    {
        QTest::addColumn<holiday>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("disabled");
        const int single = holiday_job_entry::kSingleDay, span = holiday_job_entry::kSpanOfDays,
                  nth = holiday_job_entry::kNthWeekday;
        QTest::newRow("one date") << make(single, 17, 6, 3) << short_date(2017, 6, 3) << false;
        QTest::newRow("a month of a year") << make(single, 17, 6, 0) << "Every day in June 2017" << false;
        QTest::newRow("a day of every month of a year") << make(single, 17, 0, 3) << "Day 3 of every month in 2017"
                                                        << false;
        QTest::newRow("a whole year") << make(single, 17, 0, 0) << "Every day in 2017" << false;
        QTest::newRow("a day of a month every year") << make(single, 0, 6, 3) << "Day 3 in June of every year"
                                                     << false;
        QTest::newRow("a month every year") << make(single, 0, 6, 0) << "Every day in June of every year" << false;
        QTest::newRow("a day of every month") << make(single, 0, 0, 3) << "Day 3 of every month of every year"
                                              << false;
        QTest::newRow("every day: disabled") << make(single, 0, 0, 0) << "" << true;
        QTest::newRow("an impossible date") << make(single, 17, 2, 30) << "" << false;
        QTest::newRow("span in a year") << make(span, 17, 6, 1, 0, 0, 6, 5)
                                        << short_date(2017, 6, 1) + " to " + short_date(2017, 6, 5) << false;
        QTest::newRow("span of one day in a year") << make(span, 17, 6, 5, 0, 0, 6, 5)
                                                   << short_date(2017, 6, 5) + " to " + short_date(2017, 6, 5)
                                                   << false;
        QTest::newRow("span from an impossible date") << make(span, 17, 2, 30, 0, 0, 3, 2) << "" << false;
        QTest::newRow("span ending before it starts") << make(span, 17, 6, 5, 0, 0, 6, 1) << "" << false;
        QTest::newRow("span every year") << make(span, 0, 3, 1, 0, 0, 4, 2) << "March 1 to April 2 every year"
                                         << false;
        QTest::newRow("span of one day every year") << make(span, 0, 6, 5, 0, 0, 6, 5) << "" << false;
        QTest::newRow("span every year, end month first") << make(span, 0, 4, 1, 0, 0, 3, 2) << "" << false;
        QTest::newRow("span every year from every month") << make(span, 0, 0, 1, 0, 0, 3, 2) << "" << false;
        QTest::newRow("nth weekday of a month and year") << make(nth, 17, 6, 0, 2, 1)
                                                         << "The 2nd Monday in June 2017" << false;
        QTest::newRow("nth weekday of every month of a year") << make(nth, 17, 0, 0, 2, 1)
                                                              << "The 2nd Monday of every month in 2017" << false;
        QTest::newRow("nth weekday of a month every year") << make(nth, 0, 6, 0, 5, 7)
                                                           << "The 5th Sunday in June of every year" << false;
        QTest::newRow("nth weekday of every month every year")
            << make(nth, 0, 0, 0, 2, 1) << "The 2nd Monday of every month of every year" << false;
        QTest::newRow("nth weekday without an n-th") << make(nth, 0, 0, 0, 0, 1) << "" << false;
        QTest::newRow("nth weekday without a weekday") << make(nth, 0, 0, 0, 2, 0) << "" << false;
        QTest::newRow("no kind") << make(0, 17, 6, 3) << "" << false;
        // Fields a display garbled, or combo boxes left without an item.
        QTest::newRow("garbled year") << make(single, 7, 6, 3) << "" << false;
        QTest::newRow("garbled month") << make(single, 17, 13, 3) << "" << false;
        QTest::newRow("garbled day") << make(single, 0, 0, 40) << "" << false;
        QTest::newRow("unset year") << make(single, holiday_programs::kUnset, 0, 0) << "" << false;
        QTest::newRow("garbled weekday") << make(nth, 17, 6, 0, 2, 9) << "" << false;
        QTest::newRow("unset end day") << make(span, 0, 3, 1, 0, 0, 4, holiday_programs::kUnset) << "" << false;
    }
    void holiday_descriptions()
    {
        QFETCH(holiday, value);
        QFETCH(QString, text);
        QFETCH(bool, disabled);
        QCOMPARE(holiday_programs::description(value), text);
        QCOMPARE(holiday_programs::is_disabled(value), disabled);
    }

    void holiday_kinds()
    {
        QCOMPARE(holiday_programs::kind_of(false, false, false), 0);
        QCOMPARE(holiday_programs::kind_of(true, false, false), int(holiday_job_entry::kSingleDay));
        QCOMPARE(holiday_programs::kind_of(true, true, false), int(holiday_job_entry::kSpanOfDays));
        QCOMPARE(holiday_programs::kind_of(false, true, true), int(holiday_job_entry::kNthWeekday));
        QCOMPARE(holiday_programs::week_nth_name(3), QStringLiteral("3rd"));
        QVERIFY(holiday_programs::week_nth_name(6).isEmpty());
    }

    void a_holiday_record_shows_and_writes_back()
    {
        holiday_program_record record;
        record.flags = holiday_program_record::kDateRange | holiday_program_record::kDayOfMonth;
        record.year = 17;
        record.month = 6;
        record.day = 1;
        record.end_month = 6;
        record.end_day = 5;
        const holiday_programs::shown shown = holiday_programs::from_record(record);
        QVERIFY(shown.day_checked && shown.end_day_checked && !shown.week_checked);
        QCOMPARE(shown.values.kind, int(holiday_job_entry::kSpanOfDays));
        const holiday_job_entry entry = holiday_programs::entry(shown.values, 9);
        QCOMPARE(int(entry.program_number), 9);
        QCOMPARE(int(entry.kind), int(holiday_job_entry::kSpanOfDays));
        QCOMPARE(entry.year, 17);
        QCOMPARE(int(entry.end_day), 5);
        QCOMPARE(int(entry.write), 1);
        QCOMPARE(int(entry.clear), 0);
        // A value no combo box shows is never written as 255.
        holiday unset = shown.values;
        unset.nth = holiday_programs::kUnset;
        QCOMPARE(int(holiday_programs::entry(unset, 9).nth), 0);
    }

    void clearing_every_holiday()
    {
        const QList<holiday_job_entry> entries = holiday_programs::cleared_holidays();
        QCOMPARE(entries.size(), 50);
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(int(entries.at(i).program_number), i + 1);
            QCOMPARE(int(entries.at(i).write), 1);
            QCOMPARE(int(entries.at(i).clear), 1);
            QCOMPARE(int(entries.at(i).kind), 0);
        }
    }

    void basic_programs_data()
    {
        QTest::addColumn<int>("off_hour");
        QTest::addColumn<int>("off_minute");
        QTest::addColumn<int>("on_hour");
        QTest::addColumn<int>("on_minute");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("repeat");     // written
        QTest::addColumn<QByteArray>("times");   // written: off hour, on hour, off minute, on minute
        QTest::newRow("both times, every week") << 22 << 30 << 7 << 5 << 0x06 << 2 << QByteArray("\x16\x07\x1e\x05", 4);
        QTest::newRow("no off time") << 24 << 0 << 7 << 5 << 0x05 << 1 << QByteArray("\x18\x07\x3c\x05", 4);
        QTest::newRow("off minute 60") << 22 << 60 << 7 << 5 << 0x04 << 0 << QByteArray("\x18\x07\x3c\x05", 4);
        QTest::newRow("garbled on hour") << 22 << 30 << 200 << 5 << 0x00 << 0 << QByteArray("\x16\x18\x1e\x3c", 4);
        QTest::newRow("every day and every week: week wins") << 1 << 2 << 3 << 4 << 0x03 << 2
                                                            << QByteArray("\x01\x03\x02\x04", 4);
    }
    void basic_programs()
    {
        QFETCH(int, off_hour);
        QFETCH(int, off_minute);
        QFETCH(int, on_hour);
        QFETCH(int, on_minute);
        QFETCH(int, flags);
        QFETCH(int, repeat);
        QFETCH(QByteArray, times);
        schedule_program_record record;
        record.off_hour = static_cast<quint32>(off_hour);
        record.off_minute = static_cast<quint8>(off_minute);
        record.on_hour = static_cast<quint32>(on_hour);
        record.on_minute = static_cast<quint8>(on_minute);
        record.flags = static_cast<quint8>(flags);
        record.day_mask = 0xA5;   // bit 7 is no day
        record.input = 17;
        record.picture_mode = 8;
        schedule_programs::basic_program program = schedule_programs::basic_from_record(record);
        program.program = 4;
        QCOMPARE(program.enabled, bool(flags & 0x04));
        if (!program.off_present)
            QCOMPARE(program.off_time, QTime(0, 0));
        const schedule_job_entry entry = schedule_programs::basic_entry(program);
        QCOMPARE(times_of(entry),
                 times);
        QCOMPARE(int(entry.repeat_mode), repeat);
        QCOMPARE(int(entry.day_mask), 0x25);
        QCOMPARE(int(entry.enabled), flags & 0x04 ? 1 : 0);
        QCOMPARE(int(entry.input), 17);
        QCOMPARE(int(entry.picture_mode), 8);
        QCOMPARE(int(entry.event_type), 0);
        QCOMPARE(entry.year, 0);
        QCOMPARE(entry.program_number, 4);
        QCOMPARE(int(entry.write), 1);
    }

    void advanced_programs_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QByteArray>("times");   // off hour, on hour, off minute, on minute
        QTest::addColumn<int>("year");
        QTest::newRow("on, every day") << 1 << 0x05 << 1 << QByteArray("\x18\x08\x3c\x0f", 4) << 0;
        QTest::newRow("off, weekday") << 2 << 0x0C << 3 << QByteArray("\x14\x18\x2d\x3c", 4) << 0;
        QTest::newRow("on, dated every year") << 1 << 0x44 << 6 << QByteArray("\x18\x08\x3c\x0f", 4) << 100;
        QTest::newRow("later flags win") << 1 << 0x31 << 5 << QByteArray("\x18\x08\x3c\x0f", 4) << 0;
        QTest::newRow("no repetition") << 1 << 0x00 << 0 << QByteArray("\x18\x08\x3c\x0f", 4) << 0;
    }
    void advanced_programs()
    {
        QFETCH(int, event);
        QFETCH(int, flags);
        QFETCH(int, repeat);
        QFETCH(QByteArray, times);
        QFETCH(int, year);
        schedule_program_record record;
        record.event_type = static_cast<quint8>(event);
        record.on_hour = 8;
        record.on_minute = 15;
        record.off_hour = 20;
        record.off_minute = 45;
        record.flags = static_cast<quint8>(flags);
        record.year = 100;
        record.month = 6;
        record.day = 32;
        const schedule_programs::advanced_program program = schedule_programs::advanced_from_record(record);
        QCOMPARE(program.time, event == 1 ? QTime(8, 15) : QTime(20, 45));
        QCOMPARE(program.repeat, repeat);
        const schedule_job_entry entry = schedule_programs::advanced_entry(program);
        QCOMPARE(times_of(entry),
                 times);
        QCOMPARE(int(entry.event_type), event);
        QCOMPARE(int(entry.repeat_mode), repeat);
        QCOMPARE(entry.year, year);
        QCOMPARE(int(entry.month), year ? 6 : 0);
        QCOMPARE(int(entry.day), year ? 32 : 0);
    }

    void clearing_every_advanced_program()
    {
        const QList<schedule_job_entry> entries = schedule_programs::cleared_advanced_programs();
        QCOMPARE(entries.size(), 30);
        for (int i = 0; i < entries.size(); ++i) {
            const schedule_job_entry &e = entries.at(i);
            QCOMPARE(e.program_number, i);
            QCOMPARE(times_of(e),
                     QByteArray("\x18\x18\x3c\x3c", 4));
            QCOMPARE(int(e.enabled), 0);
            QCOMPARE(int(e.event_type), 1);
            QCOMPARE(int(e.repeat_mode), 1);
            QCOMPARE(e.year, 100);
            QCOMPARE(int(e.month), 13);
            QCOMPARE(int(e.day), 32);
            QCOMPARE(int(e.write), 1);
        }
    }
};

QTEST_GUILESS_MAIN(tst_schedule_rules)
#include "tst_schedule_rules.moc"
