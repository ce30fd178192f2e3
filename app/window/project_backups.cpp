#include "app/window/project_backups.h"

#include "app/services/string_resource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace {

QString base_name_of(const QString &project_path)
{
    return QFileInfo(project_path).completeBaseName();
}

} // namespace

QString backup_copy_path(const QString &folder, const QString &project_path, const QDateTime &when)
{
    const QString stamp = when.toString(Qt::ISODate).remove(QLatin1Char(':'));
    return QStringLiteral("%1%2%3_%4%5")
        .arg(folder, string_resource(string_id::kBackupFilePrefix), base_name_of(project_path), stamp,
             string_resource(string_id::kProjectFileExtension));
}

QStringList backup_copies_of(const QString &folder, const QString &project_path)
{
    const QRegularExpression copy_name(
        QStringLiteral("^%1%2_\\d{4}-\\d{2}-\\d{2}T\\d{6}%3$")
            .arg(QRegularExpression::escape(string_resource(string_id::kBackupFilePrefix)),
                 QRegularExpression::escape(base_name_of(project_path)),
                 QRegularExpression::escape(string_resource(string_id::kProjectFileExtension))));
    // Time stamps sort by name; within the folder they are the only difference.
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList copies;
    for (const QString &name : names) {
        if (copy_name.match(name).hasMatch())
            copies.append(name);
    }
    return copies;
}

void prune_backup_copies(const QString &folder, const QString &project_path)
{
    const QStringList copies = backup_copies_of(folder, project_path);
    if (copies.size() > kMaxBackupCopiesPerProject)
        QFile::remove(QDir(folder).filePath(copies.first()));
}

QString newest_backup_copy(const QString &folder)
{
    const QString all_copies = string_resource(string_id::kBackupFilePrefix) + QLatin1Char('*')
                               + string_resource(string_id::kProjectFileExtension);
    const QFileInfoList copies =
        QDir(folder).entryInfoList(QStringList{all_copies}, QDir::Files, QDir::Time);
    return copies.isEmpty() ? QString() : copies.first().absoluteFilePath();
}

QString set_backup_copy_aside(const QString &path)
{
    const QString aside = path + QStringLiteral(".unreadable");
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(aside);
    return std::rename(from.constData(), to.constData()) == 0 ? aside : QString();
}
