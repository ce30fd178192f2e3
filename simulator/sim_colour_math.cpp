#include "simulator/sim_colour_math.h"

#include <algorithm>
#include <cmath>

namespace {

double determinant(const std::array<sim_xyz, 3> &columns)
{
    const sim_xyz &a = columns[0], &b = columns[1], &c = columns[2];
    return a[0] * (b[1] * c[2] - b[2] * c[1]) - b[0] * (a[1] * c[2] - a[2] * c[1])
           + c[0] * (a[1] * b[2] - a[2] * b[1]);
}

} // namespace

double unit_interval(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

sim_xyz xyz_of(const sim_chromaticity &c, double Y)
{
    if (!(c.y > 0.0))
        return {0.0, 0.0, 0.0};
    return {c.x / c.y * Y, Y, (1.0 - c.x - c.y) / c.y * Y};
}

bool solve_columns(const std::array<sim_xyz, 3> &columns, const sim_xyz &sum, sim_xyz *weights)
{
    const double det = determinant(columns);
    if (!std::isfinite(det) || std::abs(det) <= 1e-12)
        return false;
    // Cramer's rule: each weight is the determinant with its column replaced.
    for (std::size_t c = 0; c < 3; ++c) {
        std::array<sim_xyz, 3> replaced = columns;
        replaced[c] = sum;
        (*weights)[c] = determinant(replaced) / det;
    }
    return true;
}
