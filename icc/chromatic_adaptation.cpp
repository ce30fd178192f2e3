#include "icc/chromatic_adaptation.h"

namespace {

using Vector3 = CChromaticAdaptation::Vector3;
using Matrix3 = CChromaticAdaptation::Matrix3;

Vector3 multiply(const Matrix3 &m, const Vector3 &v)
{
    Vector3 result{};
    for (int row = 0; row < 3; ++row)
        result[row] = m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2];
    return result;
}

Matrix3 multiply(const Matrix3 &a, const Matrix3 &b)
{
    Matrix3 result{};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            result[row][column] = a[row][0] * b[0][column] + a[row][1] * b[1][column] + a[row][2] * b[2][column];
    return result;
}

Matrix3 diagonal(const Vector3 &v)
{
    return Matrix3{{{v[0], 0, 0}, {0, v[1], 0}, {0, 0, v[2]}}};
}

// By cofactors; all zeros for a singular matrix.
Matrix3 inverse(const Matrix3 &m)
{
    const Matrix3 cofactorsTransposed{{
        {m[1][1] * m[2][2] - m[1][2] * m[2][1], m[0][2] * m[2][1] - m[0][1] * m[2][2],
         m[0][1] * m[1][2] - m[0][2] * m[1][1]},
        {m[1][2] * m[2][0] - m[1][0] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
         m[0][2] * m[1][0] - m[0][0] * m[1][2]},
        {m[1][0] * m[2][1] - m[1][1] * m[2][0], m[0][1] * m[2][0] - m[0][0] * m[2][1],
         m[0][0] * m[1][1] - m[0][1] * m[1][0]},
    }};
    const Matrix3 &c = cofactorsTransposed;
    const double determinant = m[0][0] * c[0][0] + m[0][1] * c[1][0] + m[0][2] * c[2][0];
    Matrix3 result{};
    if (determinant == 0.0)
        return result;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            result[row][column] = c[row][column] / determinant;
    return result;
}

CCIEXYZ to_xyz(const Vector3 &v)
{
    return CCIEXYZ(v[0], v[1], v[2]);
}

} // namespace

CChromaticAdaptation::CChromaticAdaptation()
    : m_bradford{{{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}},
      m_bradfordInverse{
          {{0.986993, -0.14705, 0.159963}, {0.432305, 0.51836, 0.049291}, {-0.00853, 0.040043, 0.968487}}},
      m_d50{0.964188, 1.0, 0.82489},
      m_sourceWhite(m_d50),
      m_adaptation(diagonal({1.0, 1.0, 1.0}))
{
}

void CChromaticAdaptation::SetSourceWhite(const CCIEXYZ &white)
{
    m_sourceWhite = white.Y == 0.0 ? Vector3{0.0, 1.0, 0.0} : Vector3{white.X / white.Y, 1.0, white.Z / white.Y};
    const Vector3 source = multiply(m_bradford, m_sourceWhite);
    const Vector3 destination = multiply(m_bradford, m_d50);
    const Matrix3 scale =
        diagonal({destination[0] / source[0], destination[1] / source[1], destination[2] / source[2]});
    m_adaptation = multiply(m_bradfordInverse, multiply(scale, m_bradford));
}

void CChromaticAdaptation::AdaptPrimaries(double xr, double yr, double xg, double yg, double xb, double yb,
                                          CCIEXYZ &red, CCIEXYZ &green, CCIEXYZ &blue) const
{
    const Vector3 chromaticities[3] = {{xr, yr, 1.0 - xr - yr}, {xg, yg, 1.0 - xg - yg}, {xb, yb, 1.0 - xb - yb}};
    Matrix3 columns{};
    for (int row = 0; row < 3; ++row)
        for (int channel = 0; channel < 3; ++channel)
            columns[row][channel] = chromaticities[channel][row];
    const Vector3 scales = multiply(inverse(columns), m_sourceWhite);
    CCIEXYZ *const primaries[3] = {&red, &green, &blue};
    for (int channel = 0; channel < 3; ++channel) {
        const Vector3 &c = chromaticities[channel];
        const Vector3 unadapted{scales[channel] * c[0], scales[channel] * c[1], scales[channel] * c[2]};
        *primaries[channel] = to_xyz(multiply(m_adaptation, unadapted));
    }
}

void CChromaticAdaptation::GetMatrix(double matrix[9]) const
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            matrix[3 * row + column] = m_adaptation[row][column];
}
