#pragma once

#include <QLoggingCategory>

// Diagnostics of the main window's project handling and start-up: what was
// opened, restored or shown. Off unless enabled, e.g.
// QT_LOGGING_RULES="tessaline.mainwindow.info=true".
Q_DECLARE_LOGGING_CATEGORY(main_window_log)
