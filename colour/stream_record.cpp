#include "colour/stream_record.h"

#include <QIODevice>

namespace stream_record {

void prepare(QDataStream &stream)
{
    stream.setVersion(kStreamFormatVersion);
}

int write_header(QDataStream &stream, quint32 magic, qint32 version)
{
    stream << magic << version;
    return write_status(stream);
}

int read_header(QDataStream &stream, quint32 magic, qint32 minVersion, qint32 maxVersion,
                qint32 *version)
{
    quint32 readMagic = 0;
    qint32 readVersion = 0;
    if (version)
        *version = 0;
    stream >> readMagic;
    if (stream.status() != QDataStream::Ok)
        return kErrRead;
    if (readMagic != magic)
        return kErrMagic;
    stream >> readVersion;
    if (stream.status() != QDataStream::Ok)
        return kErrRead;
    if (version)
        *version = readVersion;
    if (readVersion < minVersion || readVersion > maxVersion)
        return kErrVersion;
    return kOk;
}

int status_code(const QDataStream &stream, int errorCode)
{
    return stream.status() == QDataStream::Ok ? kOk : errorCode;
}

bool read_count(QDataStream &stream, qint32 *count, qint32 maxCount, qint64 minElementBytes)
{
    qint32 value = 0;
    stream >> value;
    *count = 0;
    if (stream.status() != QDataStream::Ok)
        return false;
    bool sane = value >= 0 && value <= maxCount;
    // A sequential device cannot tell what is left; the per-element status
    // checks of the caller still stop a short stream.
    const QIODevice *device = stream.device();
    if (sane && device && !device->isSequential() && minElementBytes > 0)
        sane = static_cast<qint64>(value) * minElementBytes <= device->bytesAvailable();
    if (!sane) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    *count = value;
    return true;
}

} // namespace stream_record
