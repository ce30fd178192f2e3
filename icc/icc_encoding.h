#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// How values become ICC bytes: four-letter signatures, fixed-point numbers and
// the 7-bit text of version 2 text tags.
namespace icc_encoding {

constexpr uint32_t signature(const char (&text)[5])
{
    return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16)
           | (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3]));
}

// s15Fixed16Number, rounded to nearest and clamped to its range.
int32_t to_s15Fixed16(float value);
// u8Fixed8Number, rounded to nearest and clamped to its range.
uint16_t to_u8Fixed8(float value);
// A curve entry: the value clipped to 0..1, times 65535, rounded.
uint16_t to_u16_fraction(float value);

// 7-bit ASCII with '?' for every character (code point) it cannot hold (NUL included, which
// would end the text early), without a terminator.
QByteArray to_ascii(const QString &text);

} // namespace icc_encoding
