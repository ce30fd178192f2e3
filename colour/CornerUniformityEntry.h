#pragma once

#include <QDataStream>

// One corner's uniformity setting as the display holds it; a first span of 0
// means the corner was never read from the display.
struct CornerUniformityEntry
{
    enum SizeLevel { kSizeMedium = 1, kSizeSmall = 2 }; // any other value: large

    qint32 first_offset = 0;
    qint32 second_offset = 0;
    qint32 first_span = 0;
    qint32 second_span = 0;
    qint32 size_level = 0;

    // The offsets as the display's corner area control takes them: the low
    // byte of the first offset high, of the second low.
    int PackedArea() const { return (first_offset & 0xFF) * 256 + (second_offset & 0xFF); }
    // A corner that was read from the display (a first span of 0 was not).
    bool IsRead() const { return first_span != 0; }

    bool operator==(const CornerUniformityEntry &other) const;
    bool operator!=(const CornerUniformityEntry &other) const { return !(*this == other); }

    // Five int32 values, no header; the caller checks the stream's status.
    void Read(QDataStream &stream);
    void Write(QDataStream &stream) const;
};
