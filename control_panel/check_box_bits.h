#pragma once

#include <QCheckBox>
#include <QList>
#include <QSignalBlocker>

// A row of check boxes as a bit mask, the first box bit 0 (days Monday to
// Sunday, groups A to J).
inline quint32 checked_bits(const QList<QCheckBox *> &boxes)
{
    quint32 mask = 0;
    for (int bit = 0; bit < boxes.size(); ++bit)
        mask |= boxes.at(bit)->isChecked() ? 1u << bit : 0u;
    return mask;
}

// Bits beyond the row are ignored. |quietly|: no box signals its change.
inline void check_bits(const QList<QCheckBox *> &boxes, quint32 mask, bool quietly = false)
{
    for (int bit = 0; bit < boxes.size(); ++bit) {
        const QSignalBlocker blocker(quietly ? boxes.at(bit) : nullptr);
        boxes.at(bit)->setChecked(mask & (1u << bit));
    }
}
