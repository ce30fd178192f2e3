#pragma once

#include "colour/colour_values.h"
#include "colour/kelvin_conversion.h"

#include <QCoreApplication>
#include <QString>

// A white point: set either as a temperature (its chromaticity derived from the
// kelvin value) or as a chromaticity (kelvin and locus distance derived from it),
// or the display's own native white.
class CColorTemperature
{
    Q_DECLARE_TR_FUNCTIONS(CColorTemperature)

public:
    static constexpr qint32 kMagic = 64223;
    static constexpr qint32 kVersion = 101;

    CColorTemperature() = default;
    explicit CColorTemperature(const CIExy &xy);
    // Kelvin 0 means the native white.
    explicit CColorTemperature(quint16 kelvin);
    CColorTemperature(const CColorTemperature &) = default;
    CColorTemperature &operator=(const CColorTemperature &) = default;
    virtual ~CColorTemperature() = default;

    // Deliberately not symmetric in the native flag: a native white equals any
    // other native white, and only this side's flag selects that rule.
    bool operator==(const CColorTemperature &other) const;
    bool operator!=(const CColorTemperature &other) const { return !(*this == other); }

    // "Native", "6500K", a standard illuminant's name, "x=0.313 y=0.329" or empty.
    QString ToString() const;

    CIExy GetCIExy() const { return m_xy; }
    double GetX() const { return m_xy.x; }
    double GetY() const { return m_xy.y; }
    quint16 GetKelvin() const { return m_kelvin; }
    bool IsKelvinSpecified() const { return m_kelvinSpecified; }
    // Distance from the locus in CIE 1960 uv.
    double GetDeviation() const { return m_deviation; }
    bool IsNative() const { return m_native; }

    // The value that defines the white is stored (kelvin or x, y); the rest is
    // derived again on reading. The object is unchanged when reading fails.
    int Read(QDataStream &stream);
    int Write(QDataStream &stream) const;

private:
    void SetFromXY(const CIExy &xy);
    void SetFromKelvin(quint16 kelvin);

    CIExy m_xy;
    quint16 m_kelvin = 0;
    bool m_kelvinSpecified = false;
    double m_deviation = 0.0;
    bool m_native = false;
};

Q_DECLARE_METATYPE(CColorTemperature)
