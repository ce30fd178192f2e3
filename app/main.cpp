#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/single_instance_lock.h"
#include "app/start.h"
#include "calibration/calibration_task.h"
#include "resources/tessaline_resources.h"

#include <QApplication>
#include <QDesktopWidget>

int main(int argc, char *argv[])
{
    tessaline_init_resources();
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VARKEL"));
    QApplication::setOrganizationDomain(QStringLiteral("varkel.invalid"));
    QApplication::setApplicationName(QStringLiteral("Tessaline"));
    QDesktopWidget desktop;
    g_desktop = &desktop;
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);

    // Held until the process ends.
    const single_instance_lock instance;
    if (instance.another_instance_runs()) {
        QApplication::beep();
        g_desktop = nullptr;
        return 0;
    }

    install_calibration_task();
    int result = 0;
    {
        MasterControl controller;
        g_master = &controller;
        start(controller);
        result = app.exec();
    }
    g_desktop = nullptr;
    return result;
}
