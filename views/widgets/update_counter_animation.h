#pragma once

#include <QString>

// The update counter's pop: the disc grows from a quarter size to full size
// at phase 10, overshoots with a thicker outline at 11 and settles at 0.9
// from 12, one phase per 20 ms.

constexpr int kUpdateCounterRestartPhase = 7;
constexpr int kUpdateCounterLastPhase = 12;

double update_counter_scale(int phase);
int update_counter_pen_width(int phase);
// The disc's radius before the painter's own scaling by the same factor.
int update_counter_radius(int side, int phase);
// "+n" for single digits, plain from 10 on.
QString update_counter_text(int count);
