#include "icc/icc_encoding.h"

#include <QVector>

#include <algorithm>
#include <cmath>

namespace icc_encoding {

namespace {

// Scales, rounds half away from zero and clamps; NaN becomes the low bound.
template <typename T>
T to_fixed(float value, double scale, double low, double high)
{
    const double scaled = std::round(double(value) * scale);
    if (!(scaled >= low))
        return T(low);
    return T(std::min(scaled, high));
}

} // namespace

int32_t to_s15Fixed16(float value)
{
    return to_fixed<int32_t>(value, 65536.0, -2147483648.0, 2147483647.0);
}

uint16_t to_u8Fixed8(float value)
{
    return to_fixed<uint16_t>(value, 256.0, 0.0, 65535.0);
}

uint16_t to_u16_fraction(float value)
{
    return to_fixed<uint16_t>(value, 65535.0, 0.0, 65535.0);
}

QByteArray to_ascii(const QString &text)
{
    QByteArray ascii;
    for (const uint codePoint : text.toUcs4())
        ascii.append(codePoint > 0 && codePoint < 0x80 ? char(codePoint) : '?');
    return ascii;
}

} // namespace icc_encoding
