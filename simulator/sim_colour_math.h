#pragma once

#include <array>

// Small colorimetry shared by the light model and the internal engine's
// white balance.
struct sim_chromaticity
{
    double x = 0.0;
    double y = 0.0;
};

using sim_xyz = std::array<double, 3>;

// |value| clamped to [0, 1]; 0 when it is not a number.
double unit_interval(double value);

// XYZ of chromaticity |c| at luminance |Y|; black when y is not positive.
sim_xyz xyz_of(const sim_chromaticity &c, double Y);

// The weights w with columns[0] w0 + columns[1] w1 + columns[2] w2 = |sum|;
// false (weights untouched) when the columns are (nearly) dependent.
bool solve_columns(const std::array<sim_xyz, 3> &columns, const sim_xyz &sum, sim_xyz *weights);
