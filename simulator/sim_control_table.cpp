#include "simulator/sim_control_table.h"

void sim_control_table::set(quint16 code, quint16 current, quint16 max, quint8 type)
{
    m_controls[code] = sim_control {true, type, max, current};
}

void sim_control_table::set_unsupported(quint16 code)
{
    m_controls[code] = sim_control {false, 0, 0, 0};
}

void sim_control_table::set_read_only(quint16 code, quint16 current, quint16 max)
{
    m_controls[code] = sim_control {true, 0, max, current, true};
}

void sim_control_table::remove(quint16 code)
{
    m_controls.remove(code);
}

sim_control *sim_control_table::find(quint16 code)
{
    auto it = m_controls.find(code);
    return it == m_controls.end() ? nullptr : &it.value();
}

const sim_control *sim_control_table::find(quint16 code) const
{
    auto it = m_controls.constFind(code);
    return it == m_controls.constEnd() ? nullptr : &it.value();
}

quint16 sim_control_table::value(quint16 code, quint16 fallback) const
{
    const sim_control *control = find(code);
    return control ? control->current : fallback;
}
