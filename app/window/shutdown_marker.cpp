#include "app/window/shutdown_marker.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

namespace shutdown_marker {

namespace {

const char kKey[] = "shutdown_error";

} // namespace

QString settings_file_path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + QCoreApplication::organizationName() + QLatin1Char('/') + QCoreApplication::applicationName()
           + QStringLiteral(".conf");
}

bool read()
{
    const QSettings settings(settings_file_path(), QSettings::IniFormat);
    return settings.value(QLatin1String(kKey), false).toBool();
}

void write(bool unclean)
{
    QSettings settings(settings_file_path(), QSettings::IniFormat);
    settings.setValue(QLatin1String(kKey), unclean);
    settings.sync();
}

} // namespace shutdown_marker
