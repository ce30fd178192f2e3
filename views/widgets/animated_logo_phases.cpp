#include "views/widgets/animated_logo_phases.h"

#include <algorithm>

int animated_logo_next_phase(int phase)
{
    return phase >= kAnimatedLogoLastPhase ? 0 : phase + 1;
}

QVector<logo_drawing> animated_logo_drawings(int phase, int logoHeight)
{
    if (phase < 0 || phase > kAnimatedLogoLastPhase)
        return {};
    if (phase < 200)
        return {{0, 0, 1.0}};
    if (phase < 400) {
        const double t = (phase - 200) / 200.0;
        const double rise = 2.0 * logoHeight * t;
        return {{0, 0, 1.0 - std::min(1.0, (phase - 200) / 50.0)},
                {1, static_cast<int>(80 - rise), 1.0},
                {2, static_cast<int>(160 - rise), 1.0}};
    }
    if (phase < 600)
        return {{2, 0, 1.0}};
    if (phase < 700)
        return {{2, 0, 1.0 - (phase - 600) / 100.0}};
    if (phase < 800)
        return {{0, 0, std::min(1.0, (phase - 700) / 100.0)}};
    return {{0, 0, 1.0}};
}

bool animated_logo_is_dark(const QColor &window)
{
    return window.lightnessF() < 0.5;
}

QStringList animated_logo_frame_names(bool dark)
{
    const QString base = QStringLiteral(":/images/Resources/about_box_logo");
    const QString inverted = dark ? QStringLiteral("_inverted") : QString();
    return {base + QStringLiteral(".png"), base + QStringLiteral("_2") + inverted + QStringLiteral(".png"),
            base + QStringLiteral("_3") + inverted + QStringLiteral(".png")};
}
