#pragma once

#include <QByteArray>
#include <QList>

// Request arguments as the display side reads them.
namespace sim_args {

// |count| consecutive two-digit bytes from the start of |args|; false when
// any is missing or not hexadecimal.
bool take_bytes(const QByteArray &args, int count, QList<quint8> *bytes);

// Exactly |count| bytes and nothing after them.
bool exact_bytes(const QByteArray &args, int count, QList<quint8> *bytes);

// Each character of |text| as two hexadecimal digits.
QByteArray hex_text(const QByteArray &text);

} // namespace sim_args
