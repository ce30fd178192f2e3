#pragma once

#include "colour/CornerUniformityEntry.h"

#include <QtGlobal>

// One display's corner block as the corner uniformity diagram takes it: 24
// 32-bit values in this order.
struct CornerUniformitySet
{
    qint32 layout_index = 0;
    qint32 supported = 0; // low byte non-zero: the model supports corner correction
    qint32 selected_corner = -1;
    quint8 portrait = 0;     // the orientation word's first byte
    quint8 show_levels = 0;  // its second byte: draw the level triangles
    quint8 reserved[2] = {0, 0};
    CornerUniformityEntry corners[4]; // x value, y value, x span, y span, level

    bool isSupported() const { return (supported & 0xff) != 0; }
};

static_assert(sizeof(CornerUniformitySet) == 24 * sizeof(qint32), "the corner block is 24 values");
