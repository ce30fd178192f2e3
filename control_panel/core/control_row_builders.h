#pragma once

#include "control_panel/core/control_row.h"

#include <QString>

// The shapes most rows share, for the page tables. Each returns a row that a
// page then adjusts (its failure policy, its Update rule, what follows a write).
namespace control_row_builders {

// A text the dialog's own code sets, translated in the dialog's context.
QString dialog_tr(const char *text, const char *disambiguation = nullptr);

// A slider with its spin box, "<stem>_horizontalSlider" and "<stem>_spinBox",
// written through the slider debounce; Update "update_<stem>_pushButton".
control_row slider_pair(int code, const QString &stem, read_policy policy);
// "<stem>_enable_radioButton" (on) and "<stem>_disable_radioButton" (off) in
// "<stem>_groupBox", read with get_vcp.
control_row radio_pair(int code, const QString &stem, int on_value, int off_value, read_policy policy);
// A combo box whose items carry the display's values, read with its maximum;
// nothing more is read when it fails.
control_row combo_box(int code, const QString &combo, const QString &update_button, QList<control_item> items = {});

} // namespace control_row_builders
