#include "app/services/serial_number_date.h"

namespace {

int month_of(QChar code)
{
    if (code >= QLatin1Char('1') && code <= QLatin1Char('9'))
        return code.digitValue();
    switch (code.unicode()) {
    case 'X':
        return 10;
    case 'Y':
        return 11;
    case 'Z':
        return 12;
    default:
        return 0;
    }
}

} // namespace

QDate serial_number_manufacture_date(const QString &serial, const QDate &today)
{
    const QString code = serial.toUpper();
    if ((code.size() != 9 && code.size() != 10) || !code[0].isDigit() || !today.isValid())
        return QDate();
    const int month = month_of(code[1]);
    if (month == 0)
        return QDate();
    int year = today.year() - today.year() % 10 + code[0].digitValue();
    if (year > today.year() || (year == today.year() && month > today.month()))
        year -= 10;
    return QDate(year, month, 1);
}

QDate serial_number_manufacture_date(const QString &serial)
{
    return serial_number_manufacture_date(serial, QDate::currentDate());
}
