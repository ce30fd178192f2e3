#include "sensors/instrument_library.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

namespace {

const char kFolderVariable[] = "TESSALINE_SENSOR_LIBRARY_DIR";

struct library_name
{
    const char *windowsName;
    const char *fileName;
};

const library_name kLibraryNames[] = {
    {"i1d3SDK.dll", "libi1d3sdk.so"},
    {"i1Pro.dll", "libi1pro.so"},
    {"i1Studio.dll", "libi1studio.so"},
    {"EyeOne.dll", "libeyeone.so"},
    {"SpotMeterSDK.dll", "libspotmetersdk.so"},
    {"dcxmtr.dll", "libdcxmtr.so"},
    {"dccmtr.dll", "libdccmtr.so"},
    // The PL-series probe maker's automation server, looked for beside them.
    {"PL200Srvr.dll", "libpl200srvr.so"},
    // Files the PL server needs beside it; only their presence is checked.
    {"Linkmod.dll", "liblinkmod.so"},
    {"probelink.dll", "libprobelink.so"},
};

} // namespace

QString instrument_library_file_name(const QString &windowsName)
{
    for (const library_name &name : kLibraryNames) {
        if (windowsName.compare(QLatin1String(name.windowsName), Qt::CaseInsensitive) == 0)
            return QLatin1String(name.fileName);
    }
    return QString();
}

QString instrument_library_folder()
{
    const QByteArray folder = qgetenv(kFolderVariable);
    if (!folder.isEmpty())
        return QFile::decodeName(folder);
    return program_folder();
}

QString instrument_library_path(const QString &windowsName)
{
    const QString fileName = instrument_library_file_name(windowsName);
    if (fileName.isEmpty())
        return QString();
    return QDir(instrument_library_folder()).filePath(fileName);
}

bool instrument_library_present(const QString &windowsName)
{
    const QString fileName = instrument_library_file_name(windowsName);
    if (fileName.isEmpty())
        return false;
    const QStringList files = QDir(instrument_library_folder()).entryList(QDir::Files);
    for (const QString &file : files) {
        if (file.compare(fileName, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

instrument_library::~instrument_library()
{
    unload();
}

bool instrument_library::load(const QString &windowsName, std::initializer_list<library_function> functions)
{
    unload();
    const QString path = instrument_library_path(windowsName);
    // A missing file is the usual case (no instrument software installed):
    // skip the loader's search and its error text.
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    if (load_library_functions(&m_handle, path, functions))
        return true;
    unload();
    return false;
}

void instrument_library::unload()
{
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}
