#include "dialogs/calibration_order.h"

#include <QVector>

bool reorder_by_positions(const QList<display_layout_item> &items, const QList<display_position> &order,
                          QList<display_layout_item> &reordered)
{
    if (order.size() != items.size())
        return false;
    QList<display_layout_item> result;
    QVector<bool> placed(items.size(), false);
    for (const display_position &position : order) {
        int found = -1;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i].column != position.column || items[i].row != position.row)
                continue;
            if (found >= 0)
                return false; // two records at one position
            found = i;
        }
        if (found < 0 || placed[found])
            return false;
        placed[found] = true;
        result.append(items[found]);
    }
    reordered = result;
    return true;
}
