#pragma once

#include <QVector>
#include <QtGlobal>

#include <array>
#include <vector>

// The programmable gamma table of a simulated display: three channels of
// 1024 cells. It is addressed two ways: the long form puts each channel at a
// multiple of 0x400 (red 0x000, green 0x400, blue 0x800), the short form at
// a multiple of 256 (red 0, green 256, blue 512). Writes land in the memory;
// the display shows the table from its last activation.
class sim_lut_memory
{
public:
    static constexpr int kCells = 1024;
    static constexpr int kLongStride = 0x400;
    static constexpr int kShortStride = 256;

    enum addressing { kLong, kShort };

    // False (nothing stored) when any cell falls outside the memory.
    bool write(addressing form, int offset, const QVector<quint16> &values);
    bool read(addressing form, int offset, int count, QVector<quint16> *values) const;

    // The table of |entries| cells per channel as the display would use it
    // now, each cell divided by |full_scale|.
    std::array<std::vector<double>, 3> normalised(int entries, double full_scale) const;

    // One channel's first |entries| cells (for tests).
    QVector<quint16> channel(int c, int entries) const;
    // The channel block as a table of |entries| cells per channel, red first.
    QVector<int> table(int entries) const;

    bool last_write_short() const { return m_last_short; }

private:
    static bool locate(addressing form, int address, int *channel, int *cell);

    std::array<std::array<quint16, kCells>, 3> m_cells {};
    bool m_last_short = false;
};
