#include "colour/CXYZ2RGBTransform.h"

#include <cmath>

namespace {

bool all_finite(const AffineMatrix &m)
{
    for (const auto &row : m) {
        for (double v : row) {
            if (!std::isfinite(v))
                return false;
        }
    }
    return true;
}

// Column of the primaries matrix through the primary's chromaticity, which
// gives back the measured value up to rounding. False for a zero-sum or
// non-finite primary, which has no chromaticity.
bool primary_column(double X, double Y, double Z, std::array<double, 3> &column)
{
    const double sum = X + Y + Z;
    if (sum == 0.0 || !std::isfinite(sum))
        return false;
    const double x = X / sum;
    const double y = Y / sum;
    column = {x * sum, y * sum, (1.0 - x - y) * sum};
    return std::isfinite(column[0]) && std::isfinite(column[1]) && std::isfinite(column[2]);
}

} // namespace

int invert_affine_matrix(const AffineMatrix &in, AffineMatrix &out)
{
    if (!all_finite(in))
        return -1;
    const auto &a = in;
    // Summing positive and negative terms apart lets the determinant be judged
    // against the size of its terms rather than against an absolute threshold.
    const double terms[] = {
        a[0][0] * a[1][1] * a[2][2],  a[0][1] * a[1][2] * a[2][0],  a[0][2] * a[1][0] * a[2][1],
        -a[0][2] * a[1][1] * a[2][0], -a[0][1] * a[1][0] * a[2][2], -a[0][0] * a[1][2] * a[2][1],
    };
    double positive = 0.0;
    double negative = 0.0;
    for (double term : terms)
        (term >= 0.0 ? positive : negative) += term;
    const double det = positive + negative;
    if (det == 0.0 || !std::isfinite(det) || std::fabs(det / (positive - negative)) < 1e-15)
        return -1;

    AffineMatrix inverse{};
    inverse[0][0] = (a[1][1] * a[2][2] - a[1][2] * a[2][1]) / det;
    inverse[0][1] = -(a[0][1] * a[2][2] - a[0][2] * a[2][1]) / det;
    inverse[0][2] = (a[0][1] * a[1][2] - a[0][2] * a[1][1]) / det;
    inverse[1][0] = -(a[1][0] * a[2][2] - a[1][2] * a[2][0]) / det;
    inverse[1][1] = (a[0][0] * a[2][2] - a[0][2] * a[2][0]) / det;
    inverse[1][2] = -(a[0][0] * a[1][2] - a[0][2] * a[1][0]) / det;
    inverse[2][0] = (a[1][0] * a[2][1] - a[1][1] * a[2][0]) / det;
    inverse[2][1] = -(a[0][0] * a[2][1] - a[0][1] * a[2][0]) / det;
    inverse[2][2] = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) / det;
    for (int j = 0; j < 3; ++j) {
        double sum = 0.0;
        for (int k = 0; k < 3; ++k)
            sum += a[3][k] * inverse[k][j];
        inverse[3][j] = -sum;
    }
    inverse[3][3] = 1.0;
    if (!all_finite(inverse))
        return -1;
    out = inverse;
    return 0;
}

int CXYZ2RGBTransform::SetPrimariesXYZ(double Xr, double Yr, double Zr,
                                       double Xg, double Yg, double Zg,
                                       double Xb, double Yb, double Zb)
{
    std::array<std::array<double, 3>, 3> columns;
    if (!primary_column(Xr, Yr, Zr, columns[0]) || !primary_column(Xg, Yg, Zg, columns[1])
        || !primary_column(Xb, Yb, Zb, columns[2]))
        return -1;

    AffineMatrix affine{};
    Matrix3 primaries{};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            primaries[row][col] = columns[col][row];
            affine[row][col] = primaries[row][col];
        }
    }
    affine[3][3] = 1.0;

    AffineMatrix inverse;
    if (invert_affine_matrix(affine, inverse) != 0)
        return -1;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            m_xyzToRgb[row][col] = inverse[row][col];
    }
    m_primaries = primaries;
    m_valid = true;
    return 0;
}

int CXYZ2RGBTransform::SetPrimaries(CCIEXYZ red, CCIEXYZ green, CCIEXYZ blue)
{
    return SetPrimariesXYZ(red.X, red.Y, red.Z, green.X, green.Y, green.Z, blue.X, blue.Y, blue.Z);
}

RGBTriple CXYZ2RGBTransform::XYZToRGB(const CCIEXYZ &xyz) const
{
    if (!m_valid)
        return RGBTriple();
    const double in[3] = {xyz.X, xyz.Y, xyz.Z};
    double rgb[3];
    for (int row = 0; row < 3; ++row)
        rgb[row] = m_xyzToRgb[row][0] * in[0] + m_xyzToRgb[row][1] * in[1] + m_xyzToRgb[row][2] * in[2];
    return RGBTriple{rgb[0], rgb[1], rgb[2]};
}

RGBTriple CXYZ2RGBTransform::xyYToRGB(const xyYTriple &xyY) const
{
    // Unlike the Yxy conversion, a zero y drops the luminance too.
    if (xyY.y == 0.0)
        return XYZToRGB(CCIEXYZ());
    return XYZToRGB(CCIEYxy(xyY.Y, xyY.x, xyY.y).ToXYZ());
}
