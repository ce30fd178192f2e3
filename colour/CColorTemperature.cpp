#include "colour/CColorTemperature.h"

#include "colour/stream_record.h"

#include <cmath>

namespace {

struct StandardIlluminant
{
    const char *name;
    double x;
    double y;
};

constexpr StandardIlluminant kStandardIlluminants[] = {
    {"D50", 0.3457, 0.3585},
    {"D55", 0.3324, 0.3474},
    {"D65", 0.3127, 0.3290},
    {"D75", 0.2990, 0.3149},
};

// Rounded to thousandths; compared as doubles so that NaN never matches.
double thousandths(double value)
{
    return std::trunc(value * 1000.0 + 0.5);
}

} // namespace

CColorTemperature::CColorTemperature(const CIExy &xy)
{
    SetFromXY(xy);
}

CColorTemperature::CColorTemperature(quint16 kelvin)
{
    SetFromKelvin(kelvin);
    m_native = kelvin == 0;
}

void CColorTemperature::SetFromXY(const CIExy &xy)
{
    m_kelvinSpecified = false;
    m_xy = xy;
    xy_to_kelvin(xy, m_kelvin, m_deviation);
}

void CColorTemperature::SetFromKelvin(quint16 kelvin)
{
    m_kelvinSpecified = true;
    m_kelvin = kelvin;
    kelvin_to_xy(kelvin, m_xy);
    m_deviation = 0.0;
}

bool CColorTemperature::operator==(const CColorTemperature &other) const
{
    if (m_native)
        return other.m_native;
    if (m_kelvinSpecified != other.m_kelvinSpecified)
        return false;
    if (m_kelvinSpecified)
        return m_kelvin == other.m_kelvin;
    return thousandths(m_xy.x) == thousandths(other.m_xy.x)
        && thousandths(m_xy.y) == thousandths(other.m_xy.y);
}

QString CColorTemperature::ToString() const
{
    if (m_native)
        return tr("Native");
    if (m_kelvinSpecified)
        return QStringLiteral("%L1K").arg(m_kelvin);
    if (m_xy.x == 0.0)
        return QString();
    for (const StandardIlluminant &illuminant : kStandardIlluminants) {
        if (m_xy.x == illuminant.x && m_xy.y == illuminant.y)
            return QString::fromLatin1(illuminant.name);
    }
    return tr("x=%L1 y=%L2").arg(m_xy.x, 0, 'f', 3).arg(m_xy.y, 0, 'f', 3);
}

int CColorTemperature::Read(QDataStream &stream)
{
    const int header = stream_record::read_header(stream, kMagic, kVersion, kVersion);
    if (header != stream_record::kOk)
        return header;
    CColorTemperature value;
    bool kelvinSpecified = false;
    stream >> kelvinSpecified;
    if (kelvinSpecified) {
        quint16 kelvin = 0;
        stream >> kelvin;
        value.SetFromKelvin(kelvin);
    } else {
        CIExy xy;
        stream >> xy.x >> xy.y;
        value.SetFromXY(xy);
    }
    stream >> value.m_native;
    const int status = stream_record::read_status(stream);
    if (status == stream_record::kOk)
        *this = value;
    return status;
}

int CColorTemperature::Write(QDataStream &stream) const
{
    const int header = stream_record::write_header(stream, kMagic, kVersion);
    if (header != stream_record::kOk)
        return header;
    stream << m_kelvinSpecified;
    if (m_kelvinSpecified)
        stream << m_kelvin;
    else
        stream << m_xy.x << m_xy.y;
    stream << m_native;
    return stream_record::write_status(stream);
}
