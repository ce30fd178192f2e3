#include "app/window/main_window_log.h"

Q_LOGGING_CATEGORY(main_window_log, "tessaline.mainwindow", QtWarningMsg)
