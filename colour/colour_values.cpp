#include "colour/colour_values.h"

#include "colour/kelvin_conversion.h"
#include "colour/stream_record.h"

namespace {

// The one place where luminance plus chromaticity becomes XYZ.
CCIEXYZ xyz_from_Yxy(double Y, double x, double y)
{
    if (y == 0.0)
        return CCIEXYZ(0.0, Y, 0.0);
    return CCIEXYZ(x / y * Y, Y, (1.0 - x - y) / y * Y);
}

} // namespace

CCIEXYZ::CCIEXYZ(double X_, double Y_, double Z_)
    : X(X_), Y(Y_), Z(Z_)
{
}

CCIEXYZ::CCIEXYZ(const CIExy &xy)
    : CCIEXYZ(xyz_from_Yxy(1.0, xy.x, xy.y))
{
}

CCIEXYZ::CCIEXYZ(const CCIEYxy &Yxy)
    : CCIEXYZ(xyz_from_Yxy(Yxy.Y, Yxy.x, Yxy.y))
{
}

CCIEYxy CCIEXYZ::ToYxy() const
{
    const CIExy xy = ToCIExy();
    return CCIEYxy(Y, xy.x, xy.y);
}

CIExy CCIEXYZ::ToCIExy() const
{
    const double sum = X + Y + Z;
    if (sum == 0.0)
        return CIExy();
    return CIExy{X / sum, Y / sum};
}

quint16 CCIEXYZ::GetColorTemperature() const
{
    const CIExy xy = ToCIExy();
    if (xy.x == 0.0 && xy.y == 0.0)
        return 0;
    quint16 kelvin = 0;
    double deviation = 0.0;
    xy_to_kelvin(xy, kelvin, deviation);
    return kelvin;
}

bool CCIEXYZ::DiffersFrom(const CCIEXYZ &other) const
{
    return X - other.X > 1.0 || Y - other.Y > 1.0 || Z - other.Z > 1.0;
}

int CCIEXYZ::Read(QDataStream &stream)
{
    stream >> X >> Y >> Z;
    return stream_record::read_status(stream);
}

int CCIEXYZ::Write(QDataStream &stream) const
{
    stream << X << Y << Z;
    return stream_record::write_status(stream);
}

CCIEYxy::CCIEYxy(double Y_, double x_, double y_)
    : Y(Y_), x(x_), y(y_)
{
}

CCIEXYZ CCIEYxy::ToXYZ() const
{
    return CCIEXYZ(*this);
}
