#pragma once

#include "app/controller/startup_views.h"

#include <QSplashScreen>

// The start-up splash: the blank splash picture, sized for the logo and
// three lines of text, showing the controller's message.
class splash_screen_view : public splash_view
{
public:
    splash_screen_view();

    void show_message(const QString &html) override;

private:
    QSplashScreen m_splash;
};
