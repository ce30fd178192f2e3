#pragma once

// Registers the compiled-in pictures and the display model table (the
// resources live in a static library, so nothing registers them by itself).
// Safe to call more than once.
void tessaline_init_resources();
