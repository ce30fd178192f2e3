#pragma once

// The wall view, the docks and the Actions dock sit below the dialogs they
// open; the main window installs those dialogs into their hooks here.
void install_dialog_hooks();
