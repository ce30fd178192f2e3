#include "app/services/save_file.h"

#include "colour/stream_record.h"

#include <QDataStream>
#include <QSaveFile>

int save_stream_file(const QString &path, const std::function<int(QDataStream &)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return kSaveFileCannotOpen;
    QDataStream stream(&file);
    stream_record::prepare(stream);
    const int written = write(stream);
    // Flush before committing: Qt 5 commits a cut-short file when only the
    // final flush fails (a full disk, a file size limit). An uncommitted file
    // is discarded.
    if (written != 0 || stream.status() != QDataStream::Ok || !file.flush() || !file.commit())
        return kSaveFileWriteFailed;
    return 0;
}
