#include "simulator/sim_hex.h"

namespace sim_hex {

QByteArray encode(quint32 value, int digits)
{
    QByteArray text(digits, '0');
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = "0123456789ABCDEF"[value % 16];
        value /= 16;
    }
    return text;
}

bool decode(const QByteArray &text, quint32 *value)
{
    bool ok = false;
    *value = text.toUInt(&ok, 16);
    return ok && !text.isEmpty() && !text.contains(' ') && !text.contains('+') && !text.contains('-');
}

bool take(const QByteArray &text, int *pos, int digits, quint32 *value)
{
    if (*pos + digits > text.size())
        return false;
    if (!decode(text.mid(*pos, digits), value))
        return false;
    *pos += digits;
    return true;
}

} // namespace sim_hex
