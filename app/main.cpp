#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/single_instance_lock.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "app/start.h"
#include "calibration/calibration_task.h"
#include "resources/tessaline_resources.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopWidget>

namespace {

constexpr int kExitLockUnavailable = 1;

void report_unavailable_lock(const QString &failure)
{
    const QString text = QCoreApplication::translate("main", "%1 cannot make sure that it is the only copy "
                                                             "running, so it closes. The lock file cannot be "
                                                             "used: %2.")
                             .arg(string_resource(string_id::kApplicationName), failure);
    qCritical().noquote() << text;
    show_notice_box(nullptr, text, nullptr, QMessageBox::Critical, true, false);
}

} // namespace

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
    if (instance.lock_state() == single_instance_lock::held_elsewhere) {
        QApplication::beep();
        g_desktop = nullptr;
        return 0;
    }
    // Two copies unaware of each other would share the preferences, the
    // backups and the unclean-shutdown mark: without the lock, none runs.
    if (instance.lock_state() == single_instance_lock::unavailable) {
        report_unavailable_lock(instance.failure());
        g_desktop = nullptr;
        return kExitLockUnavailable;
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
