#include "app/services/version_text.h"

#include <QObject>

namespace {

const char kVersion[] = "2.1.20";

} // namespace

QString version_text()
{
    return QObject::tr("Version %1 (Build %2)", "software version and build number")
        .arg(QLatin1String(kVersion), QString::number(kProgramBuildNumber));
}
