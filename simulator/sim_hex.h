#pragma once

#include <QByteArray>

// Hexadecimal text of the display side, kept apart from the application's
// frame code on purpose: the two sides must not share a mistake.
namespace sim_hex {

// |value| as |digits| upper-case hexadecimal digits.
QByteArray encode(quint32 value, int digits);

// The number in |text| (any case); false when a character is not a hex digit.
bool decode(const QByteArray &text, quint32 *value);

// Reads |digits| digits at |*pos| and advances; false when too short or not hex.
bool take(const QByteArray &text, int *pos, int digits, quint32 *value);

} // namespace sim_hex
