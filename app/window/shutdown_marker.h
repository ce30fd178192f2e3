#pragma once

#include <QString>

// The mark of a run that has not ended cleanly: the key "shutdown_error" of
// the program's settings store, true from the construction of the main window
// until its destruction. A run that dies in between leaves it true for the
// next start. Each write reaches the disk at once.
namespace shutdown_marker {

// The settings store: <config folder>/<organisation>/<application>.conf, an
// INI file, found afresh on every call (it follows XDG_CONFIG_HOME).
QString settings_file_path();

// false when the key or the file is missing.
bool read();
void write(bool unclean);

} // namespace shutdown_marker
