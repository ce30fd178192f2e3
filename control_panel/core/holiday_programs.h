#pragma once

#include "display_protocol/holiday_program_record.h"
#include "jobs/holiday_job_entry.h"

#include <QList>
#include <QString>

// Holiday programs as the holiday page shows them: the fields of the page,
// what the display reports, what the holiday job writes, and the sentence
// that describes a holiday to the operator.
namespace holiday_programs {

constexpr int kHolidays = 50;
// A field whose combo box shows no item (a value the display garbled).
constexpr int kUnset = -1;

// The page's holiday. Year 0 is every year, else 15..99 for 2015..2099;
// month and day 0 are every month and every day.
struct fields
{
    int kind = 0;        // holiday_job_entry::kind_code, 0 none
    int year = 0;
    int month = 0;
    int day = 0;
    int nth = 0;         // 1..5
    int weekday = 0;     // 1 Monday ... 7 Sunday
    int end_month = 0;   // 1..12
    int end_day = 0;     // 1..31
};

// What the page shows for a record: which of Day, End Day and Week are
// checked and the fields their combo boxes select (others stay as they are).
struct shown
{
    bool end_day_checked = false;
    bool day_checked = false;
    bool week_checked = false;
    fields values;
};
shown from_record(const holiday_program_record &record);

// The kind the page's buttons make: Day is a single day, Day with End Day a
// span, Week the n-th weekday; none of them 0.
int kind_of(bool day_checked, bool end_day_checked, bool week_checked);

// A single day of every year, month and day: nothing happens on it.
bool is_disabled(const fields &holiday);
// The sentence for |holiday|; empty for a holiday that cannot be written.
QString description(const fields &holiday);
// The sentence for a single day (year, month, day as in |fields|).
QString date_description(int year, int month, int day);
// "1st" to "5th"; empty for any other number.
QString week_nth_name(int nth);

holiday_job_entry entry(const fields &holiday, int program);
// What Clear-all writes: programs 1..50 each cleared.
QList<holiday_job_entry> cleared_holidays();

} // namespace holiday_programs
