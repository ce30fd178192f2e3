#pragma once

#include "colour/CSpline.h"
#include "colour/colour_values.h"

#include <QDataStream>
#include <QDateTime>
#include <QVector>

#include <array>

class CTargetValue;

// Everything measured on one display and the curves derived from it; the
// correction curves become the display's lookup table.
class CColorValue
{
public:
    static constexpr qint32 kMagic = 48879; // 0xBEEF
    static constexpr qint32 kVersion = 104;
    static constexpr int kErrGreyscaleUnusable = -1;
    static constexpr int kErrCurveMissing = -1014;

    enum Channel { kRed = 0, kGreen = 1, kBlue = 2, kChannelCount = 3 };

    // Full red, green, blue, white and black of one display state.
    struct Patches
    {
        CCIEXYZ red;
        CCIEXYZ green;
        CCIEXYZ blue;
        CCIEXYZ white;
        CCIEXYZ black;

        int Read(QDataStream &stream);
        int Write(QDataStream &stream) const;
    };

    using ChannelCurves = std::array<CSpline, kChannelCount>;

    CColorValue() = default;
    CColorValue(const CColorValue &other) = default;
    // Every streamed field and the second further integer; the curves go
    // through CSpline's assignment.
    CColorValue &operator=(const CColorValue &other);
    virtual ~CColorValue() = default;

    // Response and inverse response curves per channel from the uncorrected
    // greyscale through the uncorrected primaries. -1 with nothing changed for
    // an empty greyscale; -1 with the six curves marked not valid when the
    // greyscale cannot give curves (one entry, a channel without range, values
    // that are not finite); the transform's code when the primaries are singular.
    int BuildMeasuredChannelCurves(bool commonBlack);
    // Correction curves toward the target tone curve, with the black lifted to
    // reach the target's contrast ratio; -1014 when a usable inverse response
    // curve is missing. The correction curves stay not valid on failure.
    int BuildCorrectionCurves(const CTargetValue &target);

    // Reading stops at the first failing part and returns its code; the two
    // further integers are not streamed.
    int Read(QDataStream &stream);
    int Write(QDataStream &stream) const;

    Patches native;                 // before any correction
    QDateTime measurement_date_time; // null until measured
    Patches uncorrected;            // settings adjusted, no lookup-table correction
    Patches corrected;              // after correction
    QVector<CCIEXYZ> corrected_greyscale;
    // One entry per evenly spaced drive level from black to full white.
    QVector<CCIEXYZ> uncorrected_greyscale;
    ChannelCurves response_curves;         // x drive level, y normalised output
    ChannelCurves inverse_response_curves; // x normalised output, y drive level
    ChannelCurves further_curves;
    ChannelCurves correction_curves;       // x input level, y drive level to send
    CSpline target_curve;
    CCIEXYZ adjusted_white; // white after the white-point and intensity adjustment
    CCIEXYZ adjusted_black; // black after the black-level adjustment
    CCIEXYZ further_value;
    qint32 further_integer_a = 1; // not streamed, not copied
    qint32 further_integer_b = 0; // not streamed, copied

private:
    void SetMeasuredCurvesValid(bool valid);
};
