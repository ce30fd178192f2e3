#pragma once

#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_row.h"

class QWidget;

// Puts what a row read into its widgets, found by object name below |form|,
// with their signals blocked so that showing a value never writes it; and
// reads a row's value back from its widgets.
namespace control_row_binder {

// Adds a combo box row's items (signals blocked).
void add_items(QWidget *form, const control_row &row);
// A usable reading enables the row and shows its value and range; any other
// disables it (a label is emptied instead).
void show_reading(QWidget *form, const control_row &row, const row_reading &reading);
// Selects the item of a combo box row whose data is |value| (signals
// blocked); a value without an item leaves no current item.
void select_item(QWidget *form, const control_row &row, int value);
// The shown value of the row's widgets (a fraction in hundredths).
int shown_value(QWidget *form, const control_row &row);

} // namespace control_row_binder
