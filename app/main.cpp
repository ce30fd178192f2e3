#include "resources/tessaline_resources.h"

#include <QApplication>
#include <QLabel>

// Start-up of the shell; the application controller and main window join here.
int main(int argc, char *argv[])
{
    tessaline_init_resources();
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VARKEL"));
    QApplication::setApplicationName(QStringLiteral("Tessaline"));
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);

    QLabel window(QObject::tr("Tessaline"));
    window.setWindowTitle(QObject::tr("Tessaline"));
    window.setMinimumSize(480, 240);
    window.setAlignment(Qt::AlignCenter);
    window.show();
    return app.exec();
}
