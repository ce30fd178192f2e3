#pragma once

#include "sensors/CTargetSensor.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QStringList>

// Detection through the factory with the simulated libraries.
namespace detection {

// Fills |folder| with symbolic links to the simulated libraries
// |fileNames| in |libraryFolder|, so that the program finds only those; a
// link loads the same instance the test controls. False when a link
// cannot be made.
inline bool link_libraries(const QString &folder, const QString &libraryFolder, const QStringList &fileNames)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const QString &fileName : fileNames) {
        const QString link = folder + QLatin1Char('/') + fileName;
        QFile::remove(link);
        if (!QFile::link(libraryFolder + QLatin1Char('/') + fileName, link))
            return false;
    }
    return true;
}

// The factory's signals in the order they arrived.
class recorder : public QObject
{
public:
    explicit recorder(CTargetSensor &factory)
    {
        connect(&factory, &CTargetSensor::detectedSensor, this,
                [this](const QString &name) { events << QStringLiteral("detected:") + name; });
        connect(&factory, &CTargetSensor::sensorDetectionComplete, this,
                [this] { events << QStringLiteral("complete"); });
        connect(&factory, &CTargetSensor::sensorChanged, this, [this] { events << QStringLiteral("changed"); });
    }

    QStringList events;
};

// What a detection that finds |name| after |failed| kinds reports.
inline QStringList found_after(int failed, const QString &name)
{
    QStringList events;
    for (int i = 0; i < failed; ++i)
        events << QStringLiteral("changed");
    return events + QStringList{QStringLiteral("detected:") + name, QStringLiteral("complete"),
                                QStringLiteral("changed")};
}

} // namespace detection
