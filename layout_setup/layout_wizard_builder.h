#pragma once

#include "app/controller/display_layout_item.h"
#include "app/controller/layout_builder.h"
#include "layout_setup/layout_wizard_answers.h"

#include <QList>
#include <QString>

class layout_manager;

// The wall the layout wizard's answers describe, numbered and addressed by
// the controller's rules (layout_builder).

// The port name at |index| of the fixed COM port list, empty outside it.
QString layout_wizard_com_port(int index);

// The layout the summary lists: RS-232 on the chosen port, or LAN from the
// entered address, one address per display except behind an RS-232 daisy
// chain, one ID per display except for separate LAN links that share one.
layout_parameters summary_layout_parameters(const layout_wizard_answers &answers);

// The layout the wall gets after Finish: as the summary's, except that every
// display of a LAN daisy chain translated through the first display is
// reached at the first display's address (the summary lists the address to
// set on each display instead).
layout_parameters wall_layout_parameters(const layout_wizard_answers &answers);

// The summary's display list, in the order IDs and addresses are handed out.
QList<display_layout_item> build_summary_layout_list(const layout_wizard_answers &answers);

// Replaces the displays of |layout| by the wall of the answers; 0, or -1 with
// nothing changed for a size the model refuses.
int create_layout_from_answers(layout_manager &layout, const layout_wizard_answers &answers);
