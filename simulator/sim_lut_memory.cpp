#include "simulator/sim_lut_memory.h"

bool sim_lut_memory::locate(addressing form, int address, int *channel, int *cell)
{
    const int stride = form == kLong ? kLongStride : kShortStride;
    if (address < 0 || address >= 3 * stride)
        return false;
    *channel = address / stride;
    *cell = address % stride;
    return *cell < kCells;
}

bool sim_lut_memory::write(addressing form, int offset, const QVector<quint16> &values)
{
    int channel = 0, cell = 0;
    for (int i = 0; i < values.size(); ++i) {
        if (!locate(form, offset + i, &channel, &cell))
            return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        locate(form, offset + i, &channel, &cell);
        m_cells[static_cast<size_t>(channel)][static_cast<size_t>(cell)] = values.at(i);
    }
    m_last_short = form == kShort;
    return true;
}

bool sim_lut_memory::read(addressing form, int offset, int count, QVector<quint16> *values) const
{
    values->clear();
    int channel = 0, cell = 0;
    for (int i = 0; i < count; ++i) {
        if (!locate(form, offset + i, &channel, &cell))
            return false;
        values->append(m_cells[static_cast<size_t>(channel)][static_cast<size_t>(cell)]);
    }
    return true;
}

std::array<std::vector<double>, 3> sim_lut_memory::normalised(int entries, double full_scale) const
{
    std::array<std::vector<double>, 3> out;
    const int n = qBound(0, entries, kCells);
    for (size_t c = 0; c < 3; ++c) {
        for (int i = 0; i < n; ++i)
            out[c].push_back(full_scale > 0 ? qMin(1.0, m_cells[c][static_cast<size_t>(i)] / full_scale) : 0.0);
    }
    return out;
}

QVector<quint16> sim_lut_memory::channel(int c, int entries) const
{
    QVector<quint16> out;
    for (int i = 0; i < qBound(0, entries, kCells); ++i)
        out.append(m_cells[static_cast<size_t>(qBound(0, c, 2))][static_cast<size_t>(i)]);
    return out;
}

QVector<int> sim_lut_memory::table(int entries) const
{
    QVector<int> out;
    for (int c = 0; c < 3; ++c) {
        for (quint16 v : channel(c, entries))
            out.append(v);
    }
    return out;
}
