#pragma once

#include <QString>

class CSpline;

// The custom curve points file: plain text, one number per line, 3 to 256
// values, the first exactly 0, never decreasing; the values are scaled by
// the last one. Blank lines are skipped.
namespace custom_curve_file {

constexpr int kMinimumPoints = 3;
constexpr int kMaximumPoints = 256;
// No real curve file comes near these: 256 numbers of a few dozen
// characters each. Anything larger is refused before it is read through.
constexpr qint64 kMaximumFileBytes = 64 * 1024;
constexpr int kMaximumLineBytes = 512;

enum Code {
    kErrNotEnoughPoints = -1030,
    kErrTooManyPoints = -1031,
    kErrInvalidData = -1032,
    kErrNotMonotonic = -1033,
    kErrFirstNotZero = -1034,
    kErrOpen = -1500,
};

} // namespace custom_curve_file

// Reads |path| into |curve| (kind 4, one point per value, x evenly spread
// over 0..1, y the value over the last value); 0 or a code of
// custom_curve_file. |curve| is untouched on failure.
int read_custom_curve_file(const QString &path, CSpline &curve);
