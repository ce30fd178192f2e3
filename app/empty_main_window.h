#pragma once

#include "app/controller/startup_views.h"

#include <QLabel>

// The window shown when start-up completes, until the main window exists.
class empty_main_window : public QLabel, public main_window_view
{
public:
    empty_main_window();

    void show_main_window() override { show(); }
    QString project_file_path() const override { return QString(); }
};
