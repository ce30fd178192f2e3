#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Names and housekeeping of the automatic backup copies of projects. A copy
// of project "wall.tslw" written at 15:30:12 on 8 February 2021 is
// "~tslw_backup_wall_2021-02-08T153012.tslw" in the backups folder.

constexpr int kMaxBackupCopiesPerProject = 10;

// The copy of |project_path| written at |when| (local time), in |folder|
// (which ends with a slash).
QString backup_copy_path(const QString &folder, const QString &project_path, const QDateTime &when);

// The names of the copies of |project_path| in |folder|, oldest first. Only
// names of exactly the copy form count, the base name taken literally: the
// copies of "wall_2.tslw" are not copies of "wall.tslw".
QStringList backup_copies_of(const QString &folder, const QString &project_path);

// Removes the oldest copy of |project_path| when there are more than
// kMaxBackupCopiesPerProject. One copy goes per call, as one is written per call.
void prune_backup_copies(const QString &folder, const QString &project_path);

// The full path of the most recently written copy of any project in
// |folder|, or an empty string when there is none.
QString newest_backup_copy(const QString &folder);

// Renames a copy that cannot be opened so that it no longer counts as a copy
// ("<name>.unreadable", replacing an older one of that name); its new path,
// or an empty string when it cannot be renamed.
QString set_backup_copy_aside(const QString &path);
