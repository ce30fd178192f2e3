#include "app/services/folders.h"

#include "app/services/string_resource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString existing_or_created(const QString &folder, bool create)
{
    if (QFileInfo(folder).isDir())
        return folder;
    if (!create || !QDir().mkpath(folder))
        return QString();
    return folder;
}

QString folder_below_documents(const QString &relative, bool create)
{
    if (common_documents_folder().isEmpty())
        return QString();
    return existing_or_created(application_data_folder() + relative, create);
}

} // namespace

QString program_folder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString common_documents_folder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty())
        return documents;
    // The program's folder, not the program file itself.
    return program_folder();
}

QString application_data_folder()
{
    return common_documents_folder() + QLatin1Char('/') + string_resource(string_id::kCompanyName)
           + QLatin1Char('/') + string_resource(string_id::kApplicationName);
}

QString projects_folder(bool create)
{
    return folder_below_documents(string_resource(string_id::kProjectsFolderName), create);
}

QString backups_folder(bool create)
{
    return folder_below_documents(string_resource(string_id::kProjectsFolderName)
                                      + QStringLiteral("backups/"),
                                  create);
}
