#pragma once

#include "sensor_test_environment.h"
#include "simulated_instrument_control.h"

#include "sensors/CTargetSensor.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QThread>

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

// The factory's signals in the order they arrived, and the thread each
// arrived on.
class recorder : public QObject
{
public:
    explicit recorder(CTargetSensor &factory)
    {
        connect(&factory, &CTargetSensor::detectedSensor, this,
                [this](const QString &name) { note(QStringLiteral("detected:") + name); });
        connect(&factory, &CTargetSensor::sensorDetectionComplete, this, [this] { note(QStringLiteral("complete")); });
        connect(&factory, &CTargetSensor::sensorChanged, this, [this] { note(QStringLiteral("changed")); });
    }

    int count(const QString &event) const { return events.count(event); }
    // The name the last detection reported ("-" when it found none).
    QString lastDetected() const
    {
        for (auto event = events.crbegin(); event != events.crend(); ++event) {
            if (event->startsWith(QLatin1String("detected:")))
                return event->mid(int(qstrlen("detected:")));
        }
        return QString();
    }

    QStringList events;
    QList<QThread *> threads;

private:
    void note(const QString &event)
    {
        events << event;
        threads << QThread::currentThread();
    }
};

// |count| reports of a changed sensor: one for each kind tried in vain.
inline QStringList changed_times(int count)
{
    QStringList events;
    for (int i = 0; i < count; ++i)
        events << QStringLiteral("changed");
    return events;
}

// What a detection that finds |name| after |failed| kinds reports.
inline QStringList found_after(int failed, const QString &name)
{
    return changed_times(failed) + QStringList{QStringLiteral("detected:") + name, QStringLiteral("complete"),
                                               QStringLiteral("changed")};
}

// Detects with |folder| holding the simulated i1Display Pro library (its
// instrument attached) and, when given, |libraryFile|: the i1Display Pro
// is what a detection that passes over |libraryFile|'s kind finds.
inline bool detect_beside_i1d3(CTargetSensor &factory, const QString &folder, const char *libraryFile)
{
    QStringList libraries{QStringLiteral("libi1d3sdk.so")};
    if (libraryFile)
        libraries << QLatin1String(libraryFile);
    if (!link_libraries(folder, sensor_test_environment::simulatedLibraryFolder(), libraries))
        return false;
    sensor_test_environment::useLibraryFolder(folder);
    simulated_instrument_control i1d3(sensor_test_environment::simulatedLibrary("libi1d3sdk.so"));
    i1d3.reset();
    return factory.DetectSensor();
}

} // namespace detection
