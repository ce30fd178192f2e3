#include "display_protocol/serial_port_path.h"

#include <QRegularExpression>

namespace {
constexpr int kHighestPortNumber = 256;
}

QString serial_port_path(const QString &name)
{
    if (name.startsWith(QLatin1Char('/')))
        return name;
    static const QRegularExpression logical(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = logical.match(name);
    if (!match.hasMatch())
        return QString();
    const int number = match.captured(1).toInt();
    if (number > kHighestPortNumber)
        return QString();
    const QByteArray override_path =
        qgetenv(QStringLiteral("TESSALINE_SERIAL_PORT_COM%1").arg(number).toLatin1().constData());
    if (!override_path.isEmpty())
        return QString::fromLocal8Bit(override_path);
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}
