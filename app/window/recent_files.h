#pragma once

#include <QString>
#include <QStringList>

// The recent-project list of the File menu, most recent first.

constexpr int kMaxRecentFiles = 5;

// |files| with |path| (in forward-slash form) moved or added to the front,
// each path once, cut to kMaxRecentFiles.
QStringList with_recent_file(QStringList files, const QString &path);

// The caption of the recent-file entry at |index| (0-based): "&1: wall.tslw".
QString recent_file_caption(int index, const QString &path);
