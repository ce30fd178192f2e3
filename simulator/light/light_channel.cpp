#include "simulator/light/light_channel.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSaveFile>
#include <QTextStream>

#include <cmath>
#include <unistd.h>

namespace light_channel {
namespace {

const char kActiveFile[] = "active-display";
const char kLightSuffix[] = ".light";

QMutex &folder_mutex()
{
    static QMutex mutex;
    return mutex;
}

QString &folder_value()
{
    static QString folder = [] {
        const QByteArray fromEnvironment = qgetenv("TESSALINE_SIM_LIGHT_DIR");
        if (!fromEnvironment.isEmpty())
            return QString::fromLocal8Bit(fromEnvironment);
        return QDir::tempPath() + QStringLiteral("/tessaline-sim-light-") + QString::number(getuid());
    }();
    return folder;
}

// Keys hold '/' and ':' (addresses, device paths); file names must not.
QString file_for_key(const QString &displayKey)
{
    return channel_folder() + QLatin1Char('/')
           + QString::fromLatin1(displayKey.toUtf8().toHex()) + QLatin1String(kLightSuffix);
}

bool write_text(const QString &path, const QString &text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool read_text(const QString &path, QString *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A published value is a few dozen bytes; anything large is not ours.
    const QByteArray bytes = file.read(4096);
    *text = QString::fromUtf8(bytes);
    return true;
}

} // namespace

void set_channel_folder(const QString &folder)
{
    QMutexLocker lock(&folder_mutex());
    folder_value() = folder;
}

QString channel_folder()
{
    QMutexLocker lock(&folder_mutex());
    return folder_value();
}

QString display_key(const QString &endpointAddress, int monitorId)
{
    return endpointAddress + QLatin1Char('/') + QString::number(monitorId);
}

bool publish_light(const QString &displayKey, const light_reading &reading)
{
    const QString text = QStringLiteral("%1 %2 %3\n")
                              .arg(reading.X, 0, 'g', 17)
                              .arg(reading.Y, 0, 'g', 17)
                              .arg(reading.Z, 0, 'g', 17);
    return write_text(file_for_key(displayKey), text);
}

bool publish_active_display(const QString &displayKey)
{
    return write_text(channel_folder() + QLatin1Char('/') + QLatin1String(kActiveFile),
                      displayKey + QLatin1Char('\n'));
}

bool read_light(const QString &displayKey, light_reading *reading)
{
    QString text;
    if (!read_text(file_for_key(displayKey), &text))
        return false;
    const QStringList fields = text.simplified().split(QLatin1Char(' '));
    if (fields.size() != 3)
        return false;
    double values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        values[i] = fields[i].toDouble(&ok);
        if (!ok || !std::isfinite(values[i]))
            return false;
    }
    reading->X = values[0];
    reading->Y = values[1];
    reading->Z = values[2];
    return true;
}

QString active_display()
{
    QString text;
    if (!read_text(channel_folder() + QLatin1Char('/') + QLatin1String(kActiveFile), &text))
        return QString();
    return text.trimmed();
}

void clear_channel()
{
    QDir folder(channel_folder());
    const QStringList files = folder.entryList(
        {QStringLiteral("*") + QLatin1String(kLightSuffix), QLatin1String(kActiveFile)}, QDir::Files);
    for (const QString &name : files)
        folder.remove(name);
}

} // namespace light_channel
