#pragma once

#include "jobs/control_list.h"

// The control lists of a calibration run, as tables (jobs/control_list.h).
namespace calibration_control_lists {

// Without the engine, every row reading first: the user colour preset, full
// brightness (unless the brightness is left alone), half contrast, and in
// gain mode the colour mode for the target and full video gains; with reads
// of what the loops start from.
const control_list_rows &configuration();
// With the engine, after its native gamut was read: its picture mode, the
// target's luminance, black level and white, the preferred primaries (or the
// panel's own), and reads of the uniformity level and the luminance's lower
// limit.
const control_list_rows &engine_configuration();
// What a failed run puts back.
const control_list_rows &restore();
const control_list_rows &engine_restore();

} // namespace calibration_control_lists
