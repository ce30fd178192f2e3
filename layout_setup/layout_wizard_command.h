#pragma once

class layout_manager;
class QWidget;

// The Layout Wizard command: runs the display layout wizard modally, preset
// with the wall's size and lowest monitor ID, and only when it is accepted
// replaces the wall's displays by the layout it describes. The per-display
// records stay. Returns the wizard's result (QDialog::Accepted or Rejected).
int run_layout_wizard(layout_manager &layout, QWidget *parent = nullptr);
