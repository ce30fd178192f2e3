#pragma once

#include "app/controller/display_layout_item.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which displays the control panel's operations reach ("Apply to:"), and the
// texts of its display, row and column lists. Pure functions of the wall.
namespace control_targets {

enum apply_to : int { kIndividual = 0, kEntireRow = 1, kEntireColumn = 2, kAllDisplays = 3 };

// " - Row #r Column #c (edge)" for a display of a rows × columns wall; empty
// for a single display.
QString position_text(int row, int column, int rows, int columns);
// "#n: port ID m<position>" for the display at layout |index|.
QString display_entry_text(int index, const display_layout_item &item, int rows, int columns);
QString display_entry_tooltip(const display_layout_item &item);
QStringList row_entry_texts(int rows);
QStringList column_entry_texts(int columns);

// Layout indices the operations go to: the chosen display (enabled or not),
// or the enabled displays of the chosen row, column or wall, in layout order.
QList<int> target_indices(int kind, int choice, const QList<display_layout_item> &items);

// With two or more targets the Update buttons show and single-display
// controls are disabled.
inline bool several(int target_count) { return target_count >= 2; }
// Whether showing |page| reads the first target (never with no target;
// with several, only the pages that make sense for a group).
bool page_is_read(int page, int target_count);

} // namespace control_targets
