// Compiles the generated form once in the library that owns it, so that uic
// runs for this target and a fault in the form shows up here.
#include "control_panel/kq_monitor_control_panel_form.h"
