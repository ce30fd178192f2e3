#pragma once

#include "colour/CornerUniformityEntry.h"

#include <QString>
#include <QStringList>

// The texts of the engine trim dialog, without a widget.

// The luminance slider's range and value as the operator reads them.
struct luminance_scale
{
    int minimum = 0;
    int maximum = 0;
    bool candela = false;  // in cd/m², else per cent of the range
    // "%L1 cd/m²" or "%L1%" (one decimal); empty for a range it cannot show.
    QString text(int value) const;
    double percent(int value) const;
};

struct warning_text
{
    QString text;
    QString tooltip;
};

// The reduced-uniformity warning when |limit| is set and below |luminance|;
// empty otherwise.
warning_text reduced_uniformity_warning(const luminance_scale &scale, int limit, int luminance);
// The engine cannot reach |luminance|: it holds only |held|. Otherwise the
// reduced-uniformity warning, or nothing.
warning_text luminance_warning(const luminance_scale &scale, int held, int luminance, int limit);

// "Off" for 0, else the number.
QString uniformity_level_text(int level);
// "-" for a corner not read, "Offset: None" at its centre, else the signed
// distances of both offsets from the centre.
QString corner_offset_text(const CornerUniformityEntry &entry);
// The four corners' names, by corner number.
QStringList corner_names(bool portrait);
