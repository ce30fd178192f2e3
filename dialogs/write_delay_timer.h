#pragma once

#include <QTimer>

// The single-shot timer after which an adjustment dialog sends a control
// change: every change restarts it, so the display gets one write once the
// operator pauses. Intervals run on the wait service's time scale. While
// held (a display is being loaded) restart() only stops it.
//
// The shared display link refuses a command issued from the events that
// another command processes (basic_monitor::kBusy). A timeout that meets
// that calls retry_if_busy(): the timer is armed again shortly, so the write
// is delayed, never lost, and OK or Cancel keep waiting for it.
class write_delay_timer : public QTimer
{
public:
    static constexpr int kDelayMs = 1500;

    explicit write_delay_timer(QObject *parent = nullptr, int nominal_ms = kDelayMs);

    void set_held(bool held) { m_held = held; }
    bool held() const { return m_held; }
    void restart();
    void restart(int nominal_ms);
    // True (and armed again) when |status| is the busy link's.
    bool retry_if_busy(int status);

private:
    int m_nominalMs;
    bool m_held = false;
};
