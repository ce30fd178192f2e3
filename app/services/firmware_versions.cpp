#include "app/services/firmware_versions.h"

#include "app/services/minimum_firmware_table.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

QStringList parts_of(const QString &version)
{
    return version.split(QLatin1Char('.'), Qt::SkipEmptyParts);
}

// A part that is not a number counts as 0.
uint number_of(const QString &part)
{
    return part.toUInt();
}

bool two_part_version_at_least(const QStringList &current, const QStringList &minimum)
{
    const uint major = number_of(current[0]);
    const uint minimumMajor = number_of(minimum[0]);
    if (major != minimumMajor)
        return major > minimumMajor;
    QString minor = current[1];
    minor.remove(QRegularExpression(QStringLiteral("[A-Z]")));
    return number_of(minor) >= number_of(minimum[1]);
}

} // namespace

bool firmware_version_at_least(const QString &current, const QString &minimum)
{
    const QStringList currentParts = parts_of(current.toUpper());
    const QStringList minimumParts = parts_of(minimum);
    // A display that reports no version at all is not held back.
    if (currentParts.isEmpty())
        return true;
    if (minimumParts.size() == 2 && currentParts.size() == 2)
        return two_part_version_at_least(currentParts, minimumParts);
    const int length = std::max(currentParts.size(), minimumParts.size());
    for (int i = 0; i < length; ++i) {
        const uint have = number_of(currentParts.value(i));
        const uint need = number_of(minimumParts.value(i));
        if (have != need)
            return have > need;
    }
    return true;
}

bool minimum_firmware_for_model(const QString &model, const QString &current, QString &minimum)
{
    const QString found = minimum_firmware_of(model);
    if (found.isEmpty())
        return true;
    minimum = found;
    return firmware_version_at_least(current, minimum);
}
