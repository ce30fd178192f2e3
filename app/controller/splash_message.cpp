#include "app/controller/splash_message.h"

#include <QCoreApplication>

namespace {

const char kNoSensor[] = "-";

QString detection_state(const QString &sensorName)
{
    if (sensorName.isEmpty())
        return QCoreApplication::translate("MasterControl", "<br>Detecting color sensor...",
                                           "splashscreen message when looking for sensor");
    if (sensorName == QLatin1String(kNoSensor))
        return QCoreApplication::translate(
            "MasterControl",
            "<br><img src=\":/images/Resources/alerts_yellow_icon_12.png\">&nbsp;No color sensor detected",
            "splashscreen message when no sensor detected");
    return QCoreApplication::translate("MasterControl", "<br>Detected ", "splashscreen message when sensor detected")
           + sensorName;
}

} // namespace

QString splash_message_html(const QString &logoPath, const QString &version, const QString &sensorName)
{
    return QStringLiteral("<img src=\"") + logoPath
           + QStringLiteral("\"><span style=\"font-size:12px;\"><br><font COLOR=black>") + version
           + detection_state(sensorName);
}
