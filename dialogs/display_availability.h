#pragma once

#include <QString>

struct display_layout_item;

// Why a display of the wall cannot take a procedure, as the status columns
// show it: "Disabled", "ID Conflict" or "Not verified"; empty when it can.
QString display_unavailable_text(const display_layout_item &item);
