#pragma once

#include <QDate>
#include <QString>

// The month a display was made, from its 9- or 10-character serial number:
// the first character is the last digit of the year, the second the month
// (1-9, X, Y, Z). The decade is the one of |today|, ten years earlier when
// that would lie in the future. The first day of that month, or a null date
// when the serial number does not encode one.
QDate serial_number_manufacture_date(const QString &serial, const QDate &today);
QDate serial_number_manufacture_date(const QString &serial);
