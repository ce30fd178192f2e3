#pragma once

#include <QColor>
#include <QStringList>
#include <QVector>

// The About box logo's loop: frame 0 slides up into frames 1 and 2, frame 2
// stays, fades out, frame 0 fades back in; 1201 ticks of 10 ms.

struct logo_drawing
{
    int frame = 0;
    int y = 0;
    double opacity = 1.0;
};

constexpr int kAnimatedLogoFirstPhase = 100;
constexpr int kAnimatedLogoLastPhase = 1200;

int animated_logo_next_phase(int phase);

// What to draw at |phase|, in order, for a logo |logoHeight| pixels tall.
QVector<logo_drawing> animated_logo_drawings(int phase, int logoHeight);

// The three frames' pictures; the inverted set on a dark window colour.
bool animated_logo_is_dark(const QColor &window);
QStringList animated_logo_frame_names(bool dark);
