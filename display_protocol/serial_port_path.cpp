#include "display_protocol/serial_port_path.h"

#include <QRegularExpression>

namespace {

constexpr int kHighestPortNumber = 256;

// n of a logical name "COMn" (any letter case), or 0 for any other name.
int logical_port_number(const QString &name)
{
    static const QRegularExpression logical(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = logical.match(name);
    if (!match.hasMatch())
        return 0;
    const int number = match.captured(1).toInt();
    return number <= kHighestPortNumber ? number : 0;
}

QString override_path_of(int number)
{
    return QString::fromLocal8Bit(
        qgetenv(QStringLiteral("TESSALINE_SERIAL_PORT_COM%1").arg(number).toLatin1().constData()));
}

} // namespace

QString serial_port_path(const QString &name)
{
    if (name.startsWith(QLatin1Char('/')))
        return name;
    const int number = logical_port_number(name);
    if (number == 0)
        return QString();
    const QString override_path = override_path_of(number);
    if (!override_path.isEmpty())
        return override_path;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

QString serial_port_override_path(const QString &name)
{
    const int number = logical_port_number(name);
    return number == 0 ? QString() : override_path_of(number);
}
