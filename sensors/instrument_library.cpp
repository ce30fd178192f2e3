#include "sensors/instrument_library.h"

#include "sensors/sensor_kinds.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char kFolderVariable[] = "TESSALINE_SENSOR_LIBRARY_DIR";

bool names(const instrument_library_name &name, const QString &windowsName)
{
    return name.windowsName && windowsName.compare(QLatin1String(name.windowsName), Qt::CaseInsensitive) == 0;
}

} // namespace

QString instrument_library_file_name(const QString &windowsName)
{
    for (const sensor_kind_entry &kind : sensor_kinds()) {
        if (names(kind.library, windowsName))
            return QLatin1String(kind.library.fileName);
    }
    for (const instrument_library_name &file : {kPlLinkModule, kPlProbelink}) {
        if (names(file, windowsName))
            return QLatin1String(file.fileName);
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
    unload_library(&m_handle);
}
