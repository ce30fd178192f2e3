#include "control_panel/core/holiday_programs.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include <algorithm>

namespace holiday_programs {
namespace {

constexpr int kCenturyStart = 2000;
constexpr int kFirstYear = 15;
constexpr int kLastYear = 99;

QString tr(const char *text, const char *comment)
{
    return QCoreApplication::translate("kq_monitor_control_panel_dialog", text, comment);
}

bool valid_year(int year)
{
    return year == 0 || (year >= kFirstYear && year <= kLastYear);
}
bool valid_month(int month)
{
    return month >= 0 && month <= 12;
}
bool valid_day(int day)
{
    return day >= 0 && day <= 31;
}

QString month_name(int month)
{
    return QLocale().monthName(month, QLocale::LongFormat);
}

QString short_date(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString span_description(const fields &h)
{
    if (h.year != 0) {
        const QDate start(kCenturyStart + h.year, h.month, h.day);
        const QDate end(kCenturyStart + h.year, h.end_month, h.end_day);
        if (!start.isValid() || !end.isValid() || end < start)
            return QString();
        return tr("%1 to %2", "EX: 6/1/2017 to 6/5/2017").arg(short_date(start), short_date(end));
    }
    const bool months = h.month >= 1 && h.month <= 12 && h.end_month >= 1 && h.end_month <= 12;
    const bool days = h.day >= 1 && h.day <= 31 && h.end_day >= 1 && h.end_day <= 31;
    if (!months || !days || h.end_month < h.month || (h.end_month == h.month && h.end_day <= h.day))
        return QString();
    return tr("%1 %2 to %3 %4 every year", "EX: March 1 to April 2 every year")
        .arg(month_name(h.month))
        .arg(h.day)
        .arg(month_name(h.end_month))
        .arg(h.end_day);
}

QString nth_weekday_description(const fields &h)
{
    if (h.nth < 1 || h.nth > 5 || h.weekday < 1 || h.weekday > 7)
        return QString();
    const QString nth = week_nth_name(h.nth);
    const QString weekday = QLocale().dayName(h.weekday, QLocale::LongFormat);
    const int year = kCenturyStart + h.year;
    if (h.year != 0 && h.month != 0)
        return tr("The %1 %2 in %3 %4", "EX: The 2nd Monday in June 2017").arg(nth, weekday, month_name(h.month))
            .arg(year);
    if (h.year != 0)
        return tr("The %1 %2 of every month in %3", "EX: The 2nd Monday of every month in 2017").arg(nth, weekday)
            .arg(year);
    if (h.month != 0)
        return tr("The %1 %2 in %3 of every year", "EX: The 2nd Monday in June of every year")
            .arg(nth, weekday, month_name(h.month));
    return tr("The %1 %2 of every month of every year", "EX: The 2nd Monday of every month of every year")
        .arg(nth, weekday);
}

} // namespace

shown from_record(const holiday_program_record &r)
{
    shown s;
    s.end_day_checked = r.flags & holiday_program_record::kDateRange;
    s.day_checked = r.flags & holiday_program_record::kDayOfMonth;
    s.week_checked = r.flags & holiday_program_record::kWeekOfMonth;
    s.values.kind = kind_of(s.day_checked, s.end_day_checked, s.week_checked);
    s.values.year = static_cast<int>(std::min<quint32>(r.year, 0xFFFF));
    s.values.month = r.month;
    s.values.day = r.day;
    s.values.nth = r.nth;
    s.values.weekday = r.weekday;
    s.values.end_month = r.end_month;
    s.values.end_day = r.end_day;
    return s;
}

int kind_of(bool day_checked, bool end_day_checked, bool week_checked)
{
    if (week_checked)
        return holiday_job_entry::kNthWeekday;
    if (day_checked)
        return end_day_checked ? holiday_job_entry::kSpanOfDays : holiday_job_entry::kSingleDay;
    return 0;
}

bool is_disabled(const fields &h)
{
    return h.kind == holiday_job_entry::kSingleDay && h.year == 0 && h.month == 0 && h.day == 0;
}

QString date_description(int year, int month, int day)
{
    if (!valid_year(year) || !valid_month(month) || !valid_day(day))
        return QString();
    const int full_year = kCenturyStart + year;
    if (year != 0 && month != 0 && day != 0) {
        const QDate date(full_year, month, day);
        return date.isValid() ? short_date(date) : QString();
    }
    if (year != 0 && month != 0)
        return tr("Every day in %1 %2", "EX: Every day in June 2017").arg(month_name(month)).arg(full_year);
    if (year != 0 && day != 0)
        return tr("Day %1 of every month in %2", "EX: Day 3 of every month in 2017").arg(day).arg(full_year);
    if (year != 0)
        return tr("Every day in %2", "EX: Every day in 2017").arg(full_year);
    if (month != 0 && day != 0)
        return tr("Day %1 in %2 of every year", "EX: Day 3 in June of every year").arg(day).arg(month_name(month));
    if (month != 0)
        return tr("Every day in %1 of every year", "EX: Every day in June of every year").arg(month_name(month));
    if (day != 0)
        return tr("Day %1 of every month of every year", "EX: Day 3 of every month of every year").arg(day);
    return QString();
}

QString description(const fields &h)
{
    if (!valid_year(h.year) || !valid_month(h.month))
        return QString();
    switch (h.kind) {
    case holiday_job_entry::kSingleDay:
        return date_description(h.year, h.month, h.day);
    case holiday_job_entry::kSpanOfDays:
        return span_description(h);
    case holiday_job_entry::kNthWeekday:
        return nth_weekday_description(h);
    default:
        return QString();
    }
}

QString week_nth_name(int nth)
{
    switch (nth) {
    case 1:
        return tr("1st", nullptr);
    case 2:
        return tr("2nd", nullptr);
    case 3:
        return tr("3rd", nullptr);
    case 4:
        return tr("4th", nullptr);
    case 5:
        return tr("5th", nullptr);
    default:
        return QString();
    }
}

holiday_job_entry entry(const fields &h, int program)
{
    // A field no combo box shows is written as 0, never as a wrapped 255.
    const auto byte = [](int value) { return static_cast<quint8>(std::clamp(value, 0, 0xFF)); };
    holiday_job_entry e;
    e.program_number = byte(program);
    e.kind = byte(h.kind);
    e.year = std::max(0, h.year);
    e.month = byte(h.month);
    e.day = byte(h.day);
    e.nth = byte(h.nth);
    e.weekday = byte(h.weekday);
    e.end_month = byte(h.end_month);
    e.end_day = byte(h.end_day);
    e.write = 1;
    return e;
}

QList<holiday_job_entry> cleared_holidays()
{
    QList<holiday_job_entry> entries;
    for (int program = 1; program <= kHolidays; ++program) {
        holiday_job_entry e;
        e.program_number = static_cast<quint8>(program);
        e.write = 1;
        e.clear = 1;
        entries << e;
    }
    return entries;
}

} // namespace holiday_programs
