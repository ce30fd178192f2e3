#include "app/services/model_table.h"

#include <QDate>
#include <QFile>
#include <QTextStream>

#include <functional>

namespace {

constexpr int kMinimumFields = 5;

struct model_line {
    QString model;
    int configuration;
    int backlightMark;
    int releaseYear;
    int releaseMonth;
};

bool released(const model_line &line, const QDate &today)
{
    return line.releaseYear < today.year()
           || (line.releaseYear == today.year() && today.month() >= line.releaseMonth);
}

// Calls |take| for every line with enough fields; -1 when the file cannot be
// opened, else the number of non-blank lines read.
int read_model_lines(const QString &path, const std::function<void(const model_line &)> &take)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    QTextStream in(&file);
    int nonBlankLines = 0;
    QString text;
    while (in.readLineInto(&text)) {
        text = text.trimmed();
        if (text.isEmpty())
            continue;
        ++nonBlankLines;
        if (text.startsWith(QLatin1Char(';')))
            continue;
        const QStringList fields = text.split(QLatin1Char(','));
        if (fields.size() < kMinimumFields)
            continue;
        // A field that is no number counts as 0.
        take({QString(fields[0]).remove(QLatin1Char('"')), fields[1].toInt(), fields[2].toInt(),
              fields[3].toInt(), fields[4].toInt()});
    }
    return nonBlankLines;
}

} // namespace

int read_model_list(const QString &path, QStringList &models)
{
    models.clear();
    const QDate today = QDate::currentDate();
    const int lines = read_model_lines(path, [&](const model_line &line) {
        if (line.backlightMark == 0 && released(line, today))
            models.append(line.model);
    });
    return lines < 0 ? -1 : 0;
}

qint8 read_models_file_entries(const QString &path, QList<QPair<QString, int>> &entries)
{
    entries.clear();
    const QDate today = QDate::currentDate();
    const int lines = read_model_lines(path, [&](const model_line &line) {
        if (released(line, today))
            entries.append(qMakePair(line.model, line.configuration));
    });
    if (lines < 0)
        return -1;
    return lines > 0 ? 1 : 0;
}
