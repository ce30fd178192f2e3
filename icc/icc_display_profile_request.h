#pragma once

#include "colour/CSpline.h"
#include "colour/colour_values.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

// What write_icc_display_profile needs to describe one display; the caller
// sets every field.
struct IccDisplayProfileRequest
{
    QString file_path;   // must not be empty
    QString description; // the "desc" tag; must not be empty
    QString copyright;   // the "cprt" tag; empty: the string table's copyright line
    QDateTime date_time; // header creation date; invalid: now, local time
    double gamma = 2.2;  // all three channels, when use_curves is false
    CIExy white_xy;
    CIExy red_xy;
    CIExy green_xy;
    CIExy blue_xy;
    // 0: no "mmod" tag; else upper 16 bits manufacturer, lower 16 bits model.
    uint32_t model_id = 0;
    // x and y in 0..1, used when use_curves is true.
    CSpline red_curve;
    CSpline green_curve;
    CSpline blue_curve;
    bool use_curves = false;
    double luminance = 0.0; // of the white in cd/m²; not positive: no "lumi" tag
};
