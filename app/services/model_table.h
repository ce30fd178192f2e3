#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Readers of the display model table: a text file with one model per line,
// "model, connector configuration, backlight list mark, release year,
// release month"; blank lines and lines starting with ";" are skipped, lines
// with fewer than five fields ignored. A model counts once its release month
// has come.

// The released models whose backlight list mark is 0; 0, or -1 when the
// file cannot be opened.
int read_model_list(const QString &path, QStringList &models);

// (model, connector configuration) of every released model; 1 when the file
// held at least one non-blank line, 0 when it held none, -1 when it cannot
// be opened.
qint8 read_models_file_entries(const QString &path, QList<QPair<QString, int>> &entries);
