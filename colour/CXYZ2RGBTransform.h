#pragma once

#include "colour/colour_values.h"

#include <array>

// Drive of the three primaries; 1.0 is the full measured output of a primary.
struct RGBTriple
{
    double R = 0.0;
    double G = 0.0;
    double B = 0.0;
};

// Chromaticity and luminance, in the order callers write them: {x, y, Y}.
struct xyYTriple
{
    double x = 0.0;
    double y = 0.0;
    double Y = 0.0;
};

// Row-vector affine matrix: upper-left 3 x 3 block, translation in row 3.
using AffineMatrix = std::array<std::array<double, 4>, 4>;

// Inverts |in| into |out|: 0, or -1 (|out| untouched) when the 3 x 3 block is
// singular relative to the size of its terms, or not finite.
int invert_affine_matrix(const AffineMatrix &in, AffineMatrix &out);

// Turns colours into the drive levels of one display's primaries, from the
// display's measured full red, green and blue.
class CXYZ2RGBTransform
{
public:
    using Matrix3 = std::array<std::array<double, 3>, 3>;

    CXYZ2RGBTransform() = default;
    virtual ~CXYZ2RGBTransform() = default;

    // 0, or -1 when the primaries cannot be inverted (zero-sum, non-finite or
    // linearly dependent). A failure changes nothing, not even the valid flag.
    int SetPrimariesXYZ(double Xr, double Yr, double Zr,
                        double Xg, double Yg, double Zg,
                        double Xb, double Yb, double Zb);
    int SetPrimaries(CCIEXYZ red, CCIEXYZ green, CCIEXYZ blue);

    // (0, 0, 0) while the transform is not valid.
    RGBTriple XYZToRGB(const CCIEXYZ &xyz) const;
    // y = 0 gives (0, 0, 0) whatever Y is.
    RGBTriple xyYToRGB(const xyYTriple &xyY) const;

    bool IsValid() const { return m_valid; }
    // Rows R, G, B, each with the coefficients of X, Y, Z.
    const Matrix3 &GetXYZToRGBMatrix() const { return m_xyzToRgb; }
    // Rows X, Y, Z; columns red, green, blue.
    const Matrix3 &GetPrimariesMatrix() const { return m_primaries; }

private:
    Matrix3 m_xyzToRgb{};
    Matrix3 m_primaries{};
    bool m_valid = false;
};
