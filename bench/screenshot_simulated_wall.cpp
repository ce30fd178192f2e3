// Takes the README's picture and the User's Guide's screenshots of the
// simulated 2 x 2 wall that scripts/simulated-wall.sh serves (127.0.0.60-63
// and the simulated i1Display Pro, whose folders that script exports). The
// program plays the newcomer: the wall as the README describes it, Verify and
// Calibrate All from the Actions dock, every question answered with its
// default. What is saved, as a PNG, depends on the scene:
//   calibrating  (default) the screen, scaled down, once the progress dialog
//                shows the calibration measuring; then the run is cancelled;
//   wizard       the Layout Wizard at its interconnection page;
//   calibrated   the main window with the wall's tiles once Calibrate All
//                has ended;
//   placement    the progress dialog while it asks for the sensor.
//
//   screenshot_simulated_wall OUTPUT.png [--width PIXELS] [--scene NAME]
//
// Needs a real display server (scripts/make-screenshot.sh runs it under Xvfb)
// and runs in a temporary home. Exits 0 once the picture is saved.

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/ui/file_dialogs.h"
#include "app/window/Tessaline.h"
#include "app/window/introduction_choices.h"
#include "calibration/calibration_task.h"
#include "colour/CTargetValue.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "layout_setup/layout_wizard_flow.h"
#include "resources/tessaline_resources.h"
#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"
#include "tests/layout_setup/layout_wizard_driver.h"
#include "tests/support/table_calibration.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr int kPlacementHintId = 1;
constexpr int kPollMs = 20;
constexpr int kSensorPatienceMs = 60000;
constexpr int kRunPatienceMs = 600000;
// Long enough into the measuring for the readings to show in the dialog.
constexpr int kMeasuringShownMs = 2500;
// Long enough for the tiles to take the stored records in, and for the
// placement prompt's patch to show.
constexpr int kSettleMs = 500;
const char kModelsTable[] = ":/files/Resources/models.txt";
const char kFirstAddress[] = "127.0.0.60";

bool wait_for(const std::function<bool()> &done, int patience_ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > patience_ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
    }
    return true;
}

void pause_for(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
}

bool sensor_open()
{
    CTargetSensor *factory = g_master->getTargetSensor();
    if (!factory || !factory->DriverMutex().tryLock())
        return false;
    const CSensor *sensor = factory->GetSensor();
    const bool open = sensor && sensor->IsOpen();
    factory->DriverMutex().unlock();
    return open;
}

// Answers whatever modal window the run opens as a newcomer pressing Enter
// would, and takes the picture once a calibration measures.
class newcomer : public QObject
{
public:
    newcomer(const QString &output, int width, bool placement)
        : m_output(output), m_width(width), m_placement(placement)
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { look(); });
        m_poll.start(kPollMs);
    }
    void expect_calibration() { m_calibrating = true; }
    bool saved() const { return m_saved; }

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto *progress = qobject_cast<KQ_multithreaded_operation_progress_dialog *>(modal)) {
            watch(progress);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            QAbstractButton *ok = box->button(QMessageBox::Ok);
            if (yes || ok)
                (yes ? yes : ok)->click();
            else
                box->accept();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialog->accept();
        }
    }

    void watch(KQ_multithreaded_operation_progress_dialog *progress)
    {
        auto *close = progress->findChild<QPushButton *>(QStringLiteral("close_pushButton"));
        if (m_calibrating && m_placement) {
            const auto *instruction = progress->findChild<QLabel *>(QStringLiteral("instruction_label"));
            if (!instruction || !instruction->text().contains(QLatin1String("POSITION COLOR SENSOR")))
                return;
            m_calibrating = false;
            pause_for(kSettleMs);
            save(progress->grab());
            progress->reject();
            return;
        }
        // Verify ends by itself; a failed job, or the cancelled calibration,
        // waits for Close.
        if (!m_calibrating) {
            if (close && close->isEnabled())
                progress->reject();
            return;
        }
        auto *readings = progress->findChild<QGroupBox *>(QStringLiteral("calibration_information_groupBox"));
        if (!readings || !readings->isEnabled()) {
            m_measuring.invalidate();
            return;
        }
        if (!m_measuring.isValid())
            m_measuring.start();
        if (m_measuring.elapsed() < kMeasuringShownMs)
            return;
        save(QGuiApplication::primaryScreen()->grabWindow(0).scaledToWidth(m_width, Qt::SmoothTransformation));
        m_calibrating = false;
        progress->reject();
    }

    void save(const QPixmap &picture)
    {
        m_saved = picture.save(m_output, "PNG", 9);
        if (!m_saved)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(m_output));
    }

    QString m_output;
    int m_width;
    bool m_placement;
    QTimer m_poll;
    QElapsedTimer m_measuring;
    bool m_calibrating = false;
    bool m_saved = false;
};

int fail(const char *what)
{
    std::fprintf(stderr, "screenshot: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    QDir(home.path()).mkpath(QStringLiteral("Documents"));
    tessaline_init_resources();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VARKEL"));
    QApplication::setApplicationName(QStringLiteral("Tessaline"));
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The PNG file to write."));
    parser.addOption({QStringLiteral("width"), QStringLiteral("Width of the picture."), QStringLiteral("pixels"),
                      QStringLiteral("960")});
    parser.addOption({QStringLiteral("scene"), QStringLiteral("calibrating, wizard, placement or calibrated."),
                      QStringLiteral("name"), QStringLiteral("calibrating")});
    parser.process(app);
    const QString scene = parser.value(QStringLiteral("scene"));
    if (!QStringList{QStringLiteral("calibrating"), QStringLiteral("wizard"), QStringLiteral("calibrated"),
                     QStringLiteral("placement")}
             .contains(scene))
        parser.showHelp(2);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QString output = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    const QString project = home.filePath(QStringLiteral("Documents/simulated-wall.tslw"));

    install_calibration_task();
    MasterControl controller;
    g_master = &controller;
    CPreferences &preferences = *controller.getPreferences();
    preferences.SetAutoCheckForUpdates(false);
    preferences.SuppressMessage(kIntroductionMessageId);
    preferences.SuppressMessage(kPlacementHintId);
    controller.setQueryThreadPool(new QueryThreadPool());
    controller.loadModelList(QString::fromLatin1(kModelsTable));
    auto owned = std::make_unique<Tessaline>();
    Tessaline &window = *owned;
    controller.setMainWindow(std::move(owned));
    set_file_dialog_answerer([&project](const file_dialog_request &) { return project; });
    newcomer answers(output, parser.value(QStringLiteral("width")).toInt(), scene == QLatin1String("placement"));

    controller.startSensorDetection();
    if (!wait_for(sensor_open, kSensorPatienceMs))
        return fail("the simulated i1Display Pro was not found (is scripts/simulated-wall.sh serving?)");
    controller.setTarget(table_calibration::d65_power_target());
    // The wall as the README has the newcomer describe it in the Layout Wizard.
    layout_manager &layout = *controller.getLayoutManager();
    bool wizard_saved = false;
    layout_wizard_driver::when_wizard_opens([&](display_layout_wizard_advanced &wizard) {
        layout_wizard_driver::wall_description wall;
        wall.columns = 2;
        wall.rows = 2;
        wall.link = layout_wizard_driver::separate_lan_one_id;
        wall.address = QString::fromLatin1(kFirstAddress);
        if (scene == QLatin1String("wizard")) {
            for (int guard = 0; guard < kLayoutWizardPageCount && wizard.currentId() != kInterConnectionPage; ++guard) {
                layout_wizard_driver::answer_page(wizard, wall);
                layout_wizard_driver::next(wizard);
            }
            layout_wizard_driver::answer_page(wizard, wall);
            // The wizard keeps the size of its first page; shown as the user
            // sees it once the window is enlarged to fit this page.
            wizard.adjustSize();
            pause_for(kSettleMs);
            wizard_saved = wizard.currentId() == kInterConnectionPage && wizard.grab().save(output, "PNG", 9);
            return;
        }
        layout_wizard_driver::describe_wall(wizard, wall);
        layout_wizard_driver::finish(wizard);
    });
    window.findChild<QAction *>(QStringLiteral("actionLayout"))->trigger();
    if (scene == QLatin1String("wizard")) {
        if (!wizard_saved)
            return fail("the Layout Wizard's interconnection page was not saved");
        std::printf("%s\n", qPrintable(output));
        return 0;
    }
    if (layout.item_count() != 4)
        return fail("the Layout Wizard did not describe the 2 x 2 wall");
    window.resize(1240, 760);
    window.show();
    if (!wait_for([&window] { return window.isVisible(); }, kSensorPatienceMs))
        return fail("the window does not show");

    auto *verify = window.findChild<QPushButton *>(QStringLiteral("verify_displays_pushButton"));
    auto *calibrate = window.findChild<QPushButton *>(QStringLiteral("calibrate_all_display_pushButton"));
    if (!verify || !calibrate)
        return fail("the Actions dock has no Verify or Calibrate All");
    if (!wait_for([verify] { return verify->isEnabled(); }, kSensorPatienceMs))
        return fail("Verify stays disabled");
    verify->click();
    if (layout.get_connected_display_indexes(false, true).size() != 4)
        return fail("not every display of the simulated wall answered Verify");
    window.findChild<QAction *>(QStringLiteral("actionSave_Project_As"))->trigger();

    if (!wait_for([calibrate] { return calibrate->isEnabled(); }, kSensorPatienceMs))
        return fail("Calibrate All stays disabled");
    if (scene == QLatin1String("calibrated")) {
        QTimer::singleShot(0, calibrate, &QPushButton::click);
        pause_for(kSettleMs);
        if (!wait_for([&controller] { return controller.getQueryThreadPool()->running_count() == 0; }, kRunPatienceMs))
            return fail("the calibration did not end");
        pause_for(kSettleMs); // the tiles take the calibrated records in
        if (!window.grab().save(output, "PNG", 9))
            return fail("cannot write the picture");
        std::printf("%s\n", qPrintable(output));
        return 0;
    }
    answers.expect_calibration();
    QTimer::singleShot(0, calibrate, &QPushButton::click);
    if (!wait_for([&answers] { return answers.saved(); }, kRunPatienceMs))
        return fail("no calibration was seen measuring");
    wait_for([&controller] { return controller.getQueryThreadPool()->running_count() == 0; }, kRunPatienceMs);
    set_file_dialog_answerer({});
    std::printf("%s\n", qPrintable(output));
    return 0;
}
