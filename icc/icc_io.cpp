#include "icc/icc_io.h"

#include <cstddef>

namespace {

template <typename T>
bool write_big_endian(CIccIO &io, T value)
{
    uint8_t bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * (sizeof(T) - 1 - i)));
    return io.Write8(bytes, sizeof(T)) == static_cast<int32_t>(sizeof(T));
}

template <typename T>
bool read_big_endian(CIccIO &io, T &value)
{
    uint8_t bytes[sizeof(T)];
    if (io.Read8(bytes, sizeof(T)) != static_cast<int32_t>(sizeof(T)))
        return false;
    T result = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        result = static_cast<T>((result << 8) | bytes[i]);
    value = result;
    return true;
}

} // namespace

bool CIccIO::WriteUInt8(uint8_t value) { return write_big_endian(*this, value); }
bool CIccIO::WriteUInt16(uint16_t value) { return write_big_endian(*this, value); }
bool CIccIO::WriteUInt32(uint32_t value) { return write_big_endian(*this, value); }
bool CIccIO::ReadUInt8(uint8_t &value) { return read_big_endian(*this, value); }
bool CIccIO::ReadUInt16(uint16_t &value) { return read_big_endian(*this, value); }
bool CIccIO::ReadUInt32(uint32_t &value) { return read_big_endian(*this, value); }

bool CIccIO::Align32()
{
    const int32_t position = Tell();
    if (position < 0)
        return false;
    static const uint8_t zeros[3] = {0, 0, 0};
    const int32_t padding = (4 - position % 4) % 4;
    return padding == 0 || Write8(zeros, padding) == padding;
}

int64_t CIccIO::Remaining()
{
    const int64_t position = Tell();
    const int64_t length = GetLength();
    return position < 0 || length < position ? 0 : length - position;
}
