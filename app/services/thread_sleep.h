#pragma once

// Blocks the calling thread for |milliseconds|, through the wait service so
// that tests can shorten it.
void sleep_ms(int milliseconds);
