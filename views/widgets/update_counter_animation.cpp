#include "views/widgets/update_counter_animation.h"

namespace {

constexpr int kFullSizePhase = 10;
constexpr int kOvershootPhase = 11;

} // namespace

double update_counter_scale(int phase)
{
    if (phase <= kFullSizePhase)
        return 0.25 + 0.075 * phase;
    return 1.0 - 0.05 * (phase - kFullSizePhase);
}

int update_counter_pen_width(int phase)
{
    return phase == kOvershootPhase ? 2 : 1;
}

int update_counter_radius(int side, int phase)
{
    return static_cast<int>(side * 0.5 * update_counter_scale(phase));
}

QString update_counter_text(int count)
{
    return count < 10 ? QStringLiteral("+%1").arg(count) : QStringLiteral("%1").arg(count);
}
