#pragma once

#include <QString>

// The power state label's text for a display power mode (1 on, 2 and 3
// standby, 4 off); empty for any other.
QString power_state_text(int mode);
