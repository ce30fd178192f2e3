#include "app/window/recent_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList with_recent_file(QStringList files, const QString &path)
{
    const QString entry = QDir::fromNativeSeparators(path);
    files.removeAll(entry);
    files.prepend(entry);
    while (files.size() > kMaxRecentFiles)
        files.removeLast();
    return files;
}

QString recent_file_caption(int index, const QString &path)
{
    return QCoreApplication::translate("Tessaline", "&%1: %2").arg(index + 1).arg(QFileInfo(path).fileName());
}
