#pragma once

#include <QDataStream>
#include <QMetaType>

class CCIEYxy;

// A CIE 1931 chromaticity.
struct CIExy
{
    double x = 0.0;
    double y = 0.0;
};

// CIE 1931 tristimulus value; Y is luminance in cd/m² when it comes from a sensor.
class CCIEXYZ
{
public:
    CCIEXYZ() = default;
    CCIEXYZ(double X, double Y, double Z);
    // The tristimulus value of a chromaticity at Y = 1; y = 0 gives (0, 1, 0).
    explicit CCIEXYZ(const CIExy &xy);
    // y = 0 gives (0, Y, 0).
    explicit CCIEXYZ(const CCIEYxy &Yxy);
    CCIEXYZ(const CCIEXYZ &) = default;
    CCIEXYZ &operator=(const CCIEXYZ &) = default;
    virtual ~CCIEXYZ() = default;

    // A zero sum gives (Y, 0, 0) and (0, 0) rather than a division by zero.
    CCIEYxy ToYxy() const;
    CIExy ToCIExy() const;
    // Correlated colour temperature in kelvin; 0 for black or an out-of-range chromaticity.
    quint16 GetColorTemperature() const;

    // One-sided on purpose: only components that exceed |other|'s by more than 1
    // count, which the target's primary comparison relies on.
    bool DiffersFrom(const CCIEXYZ &other) const;

    // Three doubles, no header. Read overwrites the fields even when the stream
    // fails; -1503 / -1504 on a stream error.
    int Read(QDataStream &stream);
    int Write(QDataStream &stream) const;

    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

// Luminance plus chromaticity.
class CCIEYxy
{
public:
    CCIEYxy() = default;
    CCIEYxy(double Y, double x, double y);
    CCIEYxy(const CCIEYxy &) = default;
    CCIEYxy &operator=(const CCIEYxy &) = default;
    virtual ~CCIEYxy() = default;

    // y = 0 gives (0, Y, 0).
    CCIEXYZ ToXYZ() const;

    double Y = 0.0;
    double x = 0.0;
    double y = 0.0;
};

Q_DECLARE_METATYPE(CIExy)
Q_DECLARE_METATYPE(CCIEXYZ)
Q_DECLARE_METATYPE(CCIEYxy)
