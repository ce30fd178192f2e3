#pragma once

#include <QtGlobal>

#include <atomic>

// Every pause the system makes between display commands, settle times and
// loop pauses goes through here, so that one process-wide time scale can turn
// a minute-long calibration into seconds under test. The scale starts at the
// value of the environment variable TESSALINE_TIME_SCALE (1.0 when unset or
// not a finite number >= 0).
namespace wait_service {

// Sets the scale for the whole process; negative or non-finite values are ignored.
void set_time_scale(double scale);
double time_scale();

// The real duration, in milliseconds, of a nominal wait of |ms|.
qint64 scaled_ms(qint64 ms);

// A real I/O time-out (socket or serial wait) for a nominal |ms|: scaled, so
// that tests of silent displays stay fast, but never below a floor that a
// loaded machine can still meet, nor above one day.
int io_timeout_ms(qint64 ms);

// The floor of io_timeout_ms, 100 ms unless set. Tests whose displays always
// answer raise it, so that a simulated display starved for a while on a
// machine whose every core is busy is not taken for a silent one; tests of
// silent displays keep it low. Values outside 1 ms .. one day are ignored.
void set_io_timeout_floor_ms(qint64 ms);

// A QTimer interval for a nominal |ms|: scaled, but at least 1 ms so that a
// repeating timer never spins on a zero interval.
int timer_interval_ms(qint64 ms);

// The nominal milliseconds of every wait made through this service so far,
// process-wide: what the waits would have taken at scale 1.
qint64 nominal_ms_waited();
// Counts a wait of |ms| that its caller makes in slices of its own (to
// notice a stop between them).
void count_wait(qint64 ms);

// Blocks the calling thread for the scaled duration of |ms|.
void sleep_ms(qint64 ms);

// As sleep_ms, in slices of 100 ms (nominal) that each look at |stop| first;
// only the slices waited are counted. False when |stop| cut the wait short.
bool sleep_ms_unless(qint64 ms, const std::atomic<bool> &stop);

// Waits the scaled duration of |ms| while processing the calling thread's
// events, for waits on a thread that must stay responsive.
void wait_processing_events(qint64 ms);

} // namespace wait_service
