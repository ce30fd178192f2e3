#pragma once

#include "colour/stream_record.h"

#include <QBuffer>
#include <QByteArray>
#include <QDataStream>

// Stream helpers shared by the record tests.
namespace stream_bytes {

// Bytes written by |write| on a record-format stream.
template <typename WriteFn>
QByteArray written(WriteFn write, QDataStream::ByteOrder order = QDataStream::BigEndian)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    stream_record::prepare(out);
    out.setByteOrder(order);
    write(out);
    return bytes;
}

// A stream whose every write fails: its buffer was never opened.
struct FailingStream
{
    QBuffer buffer;
    QDataStream stream{&buffer};
};

} // namespace stream_bytes
