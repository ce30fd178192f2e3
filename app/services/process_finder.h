#pragma once

#include <QString>

// Finds a running program by its file name, compared without regard to
// case with the program named on each process's command line and with the
// file its executable link points to (the kernel's short name is cut at 15
// characters, so it is not used). With |terminate| the first match is
// killed. True when a match was found.
bool find_process_by_image_name(const QString &imageName, bool terminate);
