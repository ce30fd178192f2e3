#pragma once

#include "colour/colour_values.h"

#include <array>

// Bradford adaptation of a display's white to the D50 of the profile
// connection space, and the display's primaries adapted with it.
class CChromaticAdaptation
{
public:
    using Vector3 = std::array<double, 3>;
    using Matrix3 = std::array<Vector3, 3>; // row by row

    // Until a source white is set, the source is D50 and A the identity.
    CChromaticAdaptation();

    // A white of Y = 0 cannot be normalised and counts as (0, 1, 0), as a
    // chromaticity of y = 0 does.
    void SetSourceWhite(const CCIEXYZ &white);
    // The primaries' XYZ for the source white, adapted to D50.
    void AdaptPrimaries(double xr, double yr, double xg, double yg, double xb, double yb, CCIEXYZ &red,
                        CCIEXYZ &green, CCIEXYZ &blue) const;
    // A, row by row.
    void GetMatrix(double matrix[9]) const;

private:
    Matrix3 m_bradford;
    // Stored rounded as published, not computed from m_bradford.
    Matrix3 m_bradfordInverse;
    Vector3 m_d50;
    Vector3 m_sourceWhite;
    Matrix3 m_adaptation;
};
