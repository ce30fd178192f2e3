#pragma once

#include <QRect>
#include <QString>

// The picture of a calibration task code; empty for a code without one, which
// leaves the picture shown before.
QString calibration_step_picture(int task);

// Only the luminance settling wait (task 8) keeps a countdown.
int calibration_step_wait_time(int task, int wait_seconds);

// Where the countdown's shadow is drawn over a picture of |side| pixels; the
// number itself sits one pixel up and to the left.
QRect calibration_step_countdown_rect(int side);
