#pragma once

#include "colour/CColorTemperature.h"

#include <QString>

// The custom white point dialog without its widgets: the white that each
// entry gives, the distance text and the range OK accepts without asking.
namespace custom_white_point_rules {

constexpr int kMinimumKelvin = 2500;
constexpr int kMaximumKelvin = 12000;
constexpr int kXyDecimals = 4;

// The white the x and y boxes hold: xy-specified at their 4 decimals.
CColorTemperature white_at(double x, double y);
// "0.0032 Δuv": the absolute distance from the locus.
QString distance_text(const CColorTemperature &white);
// Whether OK accepts without the out-of-range question.
bool in_normal_range(const CColorTemperature &white);

} // namespace custom_white_point_rules
