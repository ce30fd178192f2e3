#pragma once

#include <QString>

#include <functional>

class QDataStream;

// Writes a file of stream records in one step: |write| fills a stream in the
// records' format, which goes into a temporary file beside |path| that
// replaces the file only once everything reached the disk. On any failure
// the previous file stays exactly as it was.
//
// Returns 0; kSaveFileCannotOpen when the temporary file cannot be made;
// kSaveFileWriteFailed when |write| returned non-zero, the stream failed or
// the data could not be written out.
enum save_file_code {
    kSaveFileCannotOpen = -1500,
    kSaveFileWriteFailed = -1504,
};
int save_stream_file(const QString &path, const std::function<int(QDataStream &)> &write);
