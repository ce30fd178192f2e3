#include "control_panel/core/schedule_page_items.h"

#include "app/services/string_resource.h"
#include "control_panel/core/holiday_programs.h"

#include <QCoreApplication>
#include <QLocale>

namespace schedule_page_items {
namespace {

constexpr int kLastInputText = 1901;
constexpr int kInputTextBase = 1200;
constexpr int kPictureModeTextBase = 2000;

QString tr(const char *text)
{
    return QCoreApplication::translate("kq_monitor_control_panel_dialog", text);
}

QList<control_item> numbers(int first, int last, int first_data)
{
    QList<control_item> items;
    for (int n = first; n <= last; ++n)
        items << control_item{QStringLiteral("%1").arg(n), first_data + n - first};
    return items;
}

QList<control_item> every(int data, const QList<control_item> &then)
{
    return QList<control_item>{{tr("Every"), data}} + then;
}

QList<control_item> months()
{
    QList<control_item> items;
    for (int month = 1; month <= 12; ++month)
        items << control_item{QLocale().monthName(month, QLocale::LongFormat), month};
    return items;
}

QList<control_item> years()
{
    return numbers(2015, 2099, 15);
}

// The input names by input code; 0 is "Last Input".
QList<control_item> inputs(std::initializer_list<int> codes)
{
    QList<control_item> items;
    for (int code : codes)
        items << control_item{string_resource(code == 0 ? kLastInputText : kInputTextBase + code), code};
    return items;
}

QList<control_item> picture_modes(std::initializer_list<int> codes)
{
    QList<control_item> items;
    for (int code : codes)
        items << control_item{string_resource(kPictureModeTextBase + code), code};
    return items;
}

QList<combo_items> build()
{
    QList<control_item> nth, weekdays;
    for (int n = 1; n <= 5; ++n)
        nth << control_item{holiday_programs::week_nth_name(n), n};
    for (int day = 1; day <= 7; ++day)
        weekdays << control_item{QLocale().dayName(day, QLocale::LongFormat), day};
    return {
        {QStringLiteral("schedule_number_comboBox"), numbers(1, 7, 0)},
        {QStringLiteral("schedule_input_comboBox"),
         inputs({0, 17, 18, 130, 131, 15, 16, 128, 1, 2, 3, 5, 6, 7, 9, 10, 12, 14, 13, 132, 133, 134})},
        {QStringLiteral("schedule_picture_mode_comboBox"), picture_modes({0, 1, 3, 4, 5, 6, 7, 8, 9, 11, 12})},
        {QStringLiteral("advanced_schedule_number_comboBox"), numbers(1, 30, 0)},
        {QStringLiteral("advanced_schedule_on_off_type_comboBox"), {{tr("On"), 1}, {tr("Off"), 2}}},
        {QStringLiteral("advanced_schedule_input_comboBox"),
         inputs({0, 17, 18, 130, 131, 15, 16, 128, 135, 136, 1, 2, 3, 5, 6, 7, 10, 12, 13, 14})},
        {QStringLiteral("advanced_schedule_picture_mode_comboBox"),
         picture_modes({0, 1, 3, 4, 5, 8, 9, 13, 14, 15, 16, 17})},
        {QStringLiteral("advanced_schedule_date_year_comboBox"), every(100, years())},
        {QStringLiteral("advanced_schedule_date_month_comboBox"), every(13, months())},
        {QStringLiteral("advanced_schedule_date_day_comboBox"), every(32, numbers(1, 31, 1))},
        {QStringLiteral("holiday_program_comboBox"), numbers(1, holiday_programs::kHolidays, 1)},
        {QStringLiteral("holiday_year_comboBox"), every(0, years())},
        {QStringLiteral("holiday_month_comboBox"), every(0, months())},
        {QStringLiteral("holiday_day_comboBox"), every(0, numbers(1, 31, 1))},
        {QStringLiteral("holiday_end_day_month_comboBox"), months()},
        {QStringLiteral("holiday_end_day_day_comboBox"), numbers(1, 31, 1)},
        {QStringLiteral("holiday_week_nth_comboBox"), nth},
        {QStringLiteral("holiday_week_weekday_comboBox"), weekdays},
    };
}

} // namespace

const QList<combo_items> &all()
{
    static const QList<combo_items> items = build();
    return items;
}

} // namespace schedule_page_items
