#include "colour/CornerUniformityEntry.h"

bool CornerUniformityEntry::operator==(const CornerUniformityEntry &other) const
{
    return first_offset == other.first_offset && second_offset == other.second_offset
        && first_span == other.first_span && second_span == other.second_span
        && size_level == other.size_level;
}

void CornerUniformityEntry::Read(QDataStream &stream)
{
    stream >> first_offset >> second_offset >> first_span >> second_span >> size_level;
}

void CornerUniformityEntry::Write(QDataStream &stream) const
{
    stream << first_offset << second_offset << first_span << second_span << size_level;
}
