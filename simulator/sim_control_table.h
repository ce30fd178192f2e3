#pragma once

#include <QMap>
#include <QtGlobal>

// The controls of a simulated display by 16-bit code (page << 8 | opcode):
// whether it is supported, its type byte, maximum and current value.
struct sim_control
{
    bool supported = true;
    quint8 type = 0;
    quint16 max = 0;
    quint16 current = 0;
    bool read_only = false;   // a write is answered "unsupported" and changes nothing
};

class sim_control_table
{
public:
    void set(quint16 code, quint16 current, quint16 max, quint8 type = 0);
    void set_unsupported(quint16 code);
    void set_read_only(quint16 code, quint16 current, quint16 max);
    void remove(quint16 code);
    // The control, or nullptr when the display does not know it.
    sim_control *find(quint16 code);
    const sim_control *find(quint16 code) const;
    // The current value, or |fallback| for an unknown control.
    quint16 value(quint16 code, quint16 fallback = 0) const;

private:
    QMap<quint16, sim_control> m_controls;
};
