#pragma once

#include <QString>

// What the controller needs of the start-up objects that are built above
// this widget-free library and handed to it.

// The splash screen; destroying the view removes it.
class splash_view
{
public:
    virtual ~splash_view() = default;
    // Shows |html| centred in black.
    virtual void show_message(const QString &html) = 0;
};

// The main window.
class main_window_view
{
public:
    virtual ~main_window_view() = default;
    virtual void show_main_window() = 0;
    // The current project file's path; empty while the project has none.
    virtual QString project_file_path() const = 0;
};

// The program's sound and speech output over the speech engine, registered
// with the shell services; destroying it withdraws it.
class speech_output_registration
{
public:
    virtual ~speech_output_registration() = default;
};
