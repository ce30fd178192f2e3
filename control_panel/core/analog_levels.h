#pragma once

#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_row.h"

#include <QVector>

class basic_monitor;

// The analog offsets (bias) and gains of the advanced analog page as rows,
// and the page's reading walk. Some displays answer the offsets only on
// alternate codes; the walk finds out which from the red offset.
namespace analog_levels {

enum channel : int { kOffsetRed, kOffsetGreen, kOffsetBlue, kGainRed, kGainGreen, kGainBlue, kChannelCount };

bool is_offset(int channel);
int code(int channel, bool alternate_offsets);
// The channel's slider and spin box.
control_row row(int channel, bool alternate_offsets);

struct reading
{
    bool available = false;           // the display answers the analog probe (0x1E)
    bool alternate_offsets = false;
    QVector<row_reading> rows = QVector<row_reading>(kChannelCount);
    bool show_status = false;         // the status line shows |status|
    int status = 0;
};

// Probes the display, then reads the six channels in order: a channel the
// display does not support is passed over; a failure of the red offset is
// shown and ends the walk, any later failure ends it quietly.
reading read(basic_monitor &monitor);

} // namespace analog_levels
