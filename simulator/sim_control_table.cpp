#include "simulator/sim_control_table.h"

#include <algorithm>

quint16 sim_control::stored(quint32 value) const
{
    const quint32 kept = value <= 0xFFFF ? stored_as.value(static_cast<quint16>(value), static_cast<quint16>(value))
                                         : value;
    return static_cast<quint16>(std::clamp<quint32>(kept, minimum, std::max(minimum, max)));
}

void sim_control_table::set(quint16 code, quint16 current, quint16 max, quint8 type)
{
    sim_control c;
    c.type = type;
    c.max = max;
    c.current = current;
    m_controls[code] = c;
}

void sim_control_table::set_unsupported(quint16 code)
{
    sim_control c;
    c.supported = false;
    m_controls[code] = c;
}

void sim_control_table::set_read_only(quint16 code, quint16 current, quint16 max)
{
    set(code, current, max);
    m_controls[code].read_only = true;
}

void sim_control_table::remove(quint16 code)
{
    m_controls.remove(code);
}

bool sim_control_table::force(quint16 code, quint16 value)
{
    sim_control *control = find(code);
    if (control)
        control->current = value;
    return control;
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

double sim_control_table::fraction(quint16 code, double fallback) const
{
    const sim_control *c = find(code);
    return c && c->supported && c->max ? static_cast<double>(c->current) / c->max : fallback;
}
