#pragma once

#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_row.h"

class QComboBox;
class QWidget;

// Puts what a row read into its widgets, found by object name below |form|,
// with their signals blocked so that showing a value never writes it; and
// reads a row's value back from its widgets.
namespace control_row_binder {

// Adds a combo box row's items (signals blocked).
void add_items(QWidget *form, const control_row &row);
void add_items(QComboBox *combo, const QList<control_item> &items);
// A usable reading enables the row and shows its value and range; any other
// disables it (a label is emptied instead).
void show_reading(QWidget *form, const control_row &row, const row_reading &reading);
// Selects the item of a combo box row whose data is |value| (signals
// blocked); a value without an item leaves no current item.
void select_item(QWidget *form, const control_row &row, int value);
// Selects the item whose data is |value|, signalling the change.
void select_data(QComboBox *combo, int value);
// The shown value of the row's widgets (a fraction in hundredths).
int shown_value(QWidget *form, const control_row &row);

} // namespace control_row_binder
