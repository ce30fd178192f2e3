#pragma once

#include "sensor_test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A folder that holds a copy of one simulated instrument library and
// nothing else, so that detection meets only that family whatever other
// families' libraries the build made. The copy is its own instrument:
// control it through path().
class single_library_folder
{
public:
    explicit single_library_folder(const char *fileName)
        : m_path(m_folder.path() + QLatin1Char('/') + QLatin1String(fileName))
    {
        m_copied = m_folder.isValid()
                   && QFile::copy(sensor_test_environment::simulatedLibrary(fileName), m_path);
    }

    bool isValid() const { return m_copied; }
    QString folder() const { return m_folder.path(); }
    QString path() const { return m_path; }

private:
    QTemporaryDir m_folder;
    QString m_path;
    bool m_copied = false;
};
