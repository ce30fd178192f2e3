#pragma once

#include "app/controller/display_layout_item.h"
#include "app/controller/display_position.h"

#include <QList>

// The layout's records in the order the operator clicked their positions.
// Each position takes the one record standing there. When the order does
// not place every record exactly once (a position named twice or holding
// no record, two records at one position, a count that differs) the result
// is false and |reordered| is left alone.
bool reorder_by_positions(const QList<display_layout_item> &items, const QList<display_position> &order,
                          QList<display_layout_item> &reordered);
