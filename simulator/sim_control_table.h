#pragma once

#include <QMap>
#include <QtGlobal>

// The controls of a simulated display by 16-bit code (page << 8 | opcode):
// whether it is supported, its type byte, range and current value.
struct sim_control
{
    bool supported = true;
    quint8 type = 0;
    quint16 max = 0;
    quint16 current = 0;
    bool read_only = false;   // a write is answered "unsupported" and changes nothing
    quint16 minimum = 0;      // a write below it stores it
    // Written values the display keeps as another value (a display that
    // corrects what it is given); looked up before the range applies.
    QMap<quint16, quint16> stored_as;

    // What a write of |value| leaves in the control.
    quint16 stored(quint32 value) const;
};

class sim_control_table
{
public:
    void set(quint16 code, quint16 current, quint16 max, quint8 type = 0);
    void set_unsupported(quint16 code);
    void set_read_only(quint16 code, quint16 current, quint16 max);
    void remove(quint16 code);
    // Puts |value| straight into a known control, whatever its range (a
    // garbled value for tests); false for an unknown control.
    bool force(quint16 code, quint16 value);
    // The control, or nullptr when the display does not know it.
    sim_control *find(quint16 code);
    const sim_control *find(quint16 code) const;
    // The current value, or |fallback| for an unknown control.
    quint16 value(quint16 code, quint16 fallback = 0) const;
    // The current value as a share of the maximum, or |fallback| for an
    // unknown or unsupported control or a maximum of 0.
    double fraction(quint16 code, double fallback) const;

private:
    QMap<quint16, sim_control> m_controls;
};
