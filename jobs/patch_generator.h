#pragma once

class basic_monitor;

// Which test patch generator a display shows now: while its internal
// calibration engine is switched on, the engine's own generator (pattern
// control 0x2C8, levels 0x1192-0x1194) takes the place of the plain one
// (0x2C3 with its level registers). The answer is the engine flag of
// basic_monitor's pattern and level calls; false for a display without the
// engine or whose switch cannot be read.
bool engine_patch_generator_on(basic_monitor &link);

// Values of the pattern control.
enum pattern_control_value : int { kPatternOff = 1, kPatternOn = 2 };
