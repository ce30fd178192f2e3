#pragma once

#include <QDataStream>

// Shared rules of the persistent records' binary stream form: every record is
// written in QDataStream format version 12 and starts with a 32-bit magic and
// a 32-bit version.
namespace stream_record {

constexpr int kStreamFormatVersion = QDataStream::Qt_4_6; // == 12

enum Code {
    kOk = 0,
    kErrVersion = -1501,   // newer or otherwise unsupported version
    kErrMagic = -1502,     // not this record
    kErrRead = -1503,      // the stream failed while reading
    kErrWrite = -1504,     // the stream failed while writing
};

// Puts |stream| into the record format (version 12).
void prepare(QDataStream &stream);

// Writes magic and version; kErrWrite when the stream fails.
int write_header(QDataStream &stream, quint32 magic, qint32 version);

// Reads magic and version. kErrMagic for a wrong magic, kErrRead when the
// stream failed, kErrVersion when |version| lies outside [minVersion, maxVersion].
// |version| receives the version read (0 when nothing could be read).
int read_header(QDataStream &stream, quint32 magic, qint32 minVersion, qint32 maxVersion,
                qint32 *version = nullptr);

// 0 when the stream is Ok, else the given error code.
int status_code(const QDataStream &stream, int errorCode);
inline int read_status(const QDataStream &stream) { return status_code(stream, kErrRead); }
inline int write_status(const QDataStream &stream) { return status_code(stream, kErrWrite); }

// Reads a 32-bit element count and checks it before anything is allocated:
// false (and the stream marked corrupt) when the read failed, the count is
// negative or larger than |maxCount|, or the stream cannot hold |count| elements
// of at least |minElementBytes| bytes each.
bool read_count(QDataStream &stream, qint32 *count, qint32 maxCount, qint64 minElementBytes = 1);

} // namespace stream_record
