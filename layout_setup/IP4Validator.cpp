#include "layout_setup/IP4Validator.h"

#include <QStringList>

namespace {

constexpr int kAddressParts = 4;
constexpr int kHighestPart = 255;

} // namespace

IP4Validator::IP4Validator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State IP4Validator::validate(QString &input, int &) const
{
    const QStringList parts = input.split(QLatin1Char('.'));
    if (parts.size() > kAddressParts)
        return Invalid;
    bool anyEmpty = false;
    for (const QString &part : parts) {
        if (part.isEmpty()) {
            anyEmpty = true;
            continue;
        }
        bool isNumber = false;
        const qlonglong value = part.toLongLong(&isNumber, 10);
        if (!isNumber)
            return Intermediate;
        if (value < 0 || value > kHighestPart)
            return Invalid;
    }
    return parts.size() == kAddressParts && !anyEmpty ? Acceptable : Intermediate;
}
