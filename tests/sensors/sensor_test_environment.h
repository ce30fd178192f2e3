#pragma once

#include "app/services/preferences.h"
#include "colour/stream_record.h"
#include "display_protocol/wait_service.h"
#include "simulator/light/light_channel.h"
#include "tests/app/preferences_file_builder.h"

#include <QDataStream>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// One sensor test process: its own home (for the preferences file), light
// channel folder and instrument library folder (the simulated libraries
// unless a test points elsewhere), and waits that take no time.
class sensor_test_environment
{
public:
    sensor_test_environment()
    {
        QVERIFY(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("home/.config"));
        QDir(m_root.path()).mkpath(QStringLiteral("empty"));
        qputenv("HOME", homeFolder().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (homeFolder() + QStringLiteral("/.config")).toLocal8Bit());
        light_channel::set_channel_folder(lightFolder());
        useLibraryFolder(simulatedLibraryFolder());
        wait_service::set_time_scale(0.0);
    }

    QString homeFolder() const { return m_root.path() + QStringLiteral("/home"); }
    QString lightFolder() const { return m_root.path() + QStringLiteral("/light"); }
    QString emptyFolder() const { return m_root.path() + QStringLiteral("/empty"); }
    QString root() const { return m_root.path(); }
    static QString simulatedLibraryFolder() { return QStringLiteral(SIM_INSTRUMENT_DIR); }
    static QString simulatedLibrary(const char *fileName)
    {
        return simulatedLibraryFolder() + QLatin1Char('/') + QLatin1String(fileName);
    }
    static void useLibraryFolder(const QString &folder)
    {
        qputenv("TESSALINE_SENSOR_LIBRARY_DIR", QFile::encodeName(folder));
    }

    // The program's preferences record with the low-light averaging flag
    // |on|; it is the registered one while it lives.
    static std::unique_ptr<CPreferences> preferences(bool lowLightAveraging)
    {
        auto preferences = std::make_unique<CPreferences>();
        preferences_fields fields;
        fields.lowLightAveraging = lowLightAveraging ? 1 : 0;
        const QByteArray bytes = build_preferences_file(fields, CPreferences::kVersion);
        QDataStream stream(bytes);
        stream_record::prepare(stream);
        if (preferences->Read(stream) != 0)
            return nullptr;
        return preferences;
    }

private:
    QTemporaryDir m_root;
};
