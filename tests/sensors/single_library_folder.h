#pragma once

#include "sensor_test_environment.h"
#include "simulated_instrument_control.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A folder that holds a copy of one simulated instrument library and
// nothing else, so that detection meets only that family whatever other
// families' libraries the build made. The program looks for its libraries
// there while the folder is valid; the copy is its own instrument, driven
// through control().
class single_library_folder
{
public:
    explicit single_library_folder(const char *fileName)
    {
        const QString path = m_folder.path() + QLatin1Char('/') + QLatin1String(fileName);
        if (!m_folder.isValid() || !QFile::copy(sensor_test_environment::simulatedLibrary(fileName), path))
            return;
        sensor_test_environment::useLibraryFolder(m_folder.path());
        m_control = std::make_unique<simulated_instrument_control>(path);
    }

    bool isValid() const { return m_control && m_control->isLoaded(); }
    simulated_instrument_control &control() { return *m_control; }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<simulated_instrument_control> m_control;
};
