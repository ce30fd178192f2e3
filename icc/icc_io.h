#pragma once

#include <cstdint>

// The byte stream a profile is written to and its tags are read from. Numbers
// travel big-endian, as ICC prescribes; the typed helpers do the byte order so
// that tag types only name their fields.
class CIccIO
{
public:
    virtual ~CIccIO() = default;

    virtual void Close() = 0;
    // Bytes transferred, -1 on a device error.
    virtual int32_t Read8(void *buffer, int32_t count) = 0;
    virtual int32_t Write8(const void *buffer, int32_t count) = 0;
    virtual int32_t GetLength() = 0;
    // origin 0: from the start, 1: from the current position, 2: from the end.
    // The new position, or -1.
    virtual int32_t Seek(int32_t offset, int origin) = 0;
    virtual int32_t Tell() = 0;

    bool WriteUInt8(uint8_t value);
    bool WriteUInt16(uint16_t value);
    bool WriteUInt32(uint32_t value);
    bool WriteInt32(int32_t value) { return WriteUInt32(static_cast<uint32_t>(value)); }
    bool ReadUInt8(uint8_t &value);
    bool ReadUInt16(uint16_t &value);
    bool ReadUInt32(uint32_t &value);

    // Writes zero bytes up to the next 4-byte boundary.
    bool Align32();
    // Bytes left between the current position and the end, 0 when unknown.
    int64_t Remaining();
};
