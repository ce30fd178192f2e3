// A wall's road through the main window: a simulated 3 x 3 LAN wall of three
// models, driven only through the window's own actions, the wizard's
// controls and the Summary window's buttons; message boxes, file and print
// dialogs are answered by the test's scripts. Waits run at time scale 0.
#include "app/controller/layout_manager.h"
#include "app/window/information_dialog_host.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/app/window/main_window_fixture.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/layout_setup/layout_wizard_driver.h"
#include "tests/support/modal_box_answerer.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QtTest>

using namespace layout_wizard_driver;

namespace {

constexpr int kColumns = 3;
constexpr int kRows = 3;
constexpr int kDisplays = kColumns * kRows;
const QList<QByteArray> kModels {"VW-5530Q", "VW-5520L", "VW-4620L"};

QList<display_layout_item> items_of(layout_manager &layout)
{
    QList<display_layout_item> items;
    for (int i = 0; i < layout.item_count(); ++i) {
        display_layout_item item;
        layout.get_item(i, item);
        items << item;
    }
    return items;
}

QStringList described(const QList<display_layout_item> &items)
{
    QStringList lines;
    for (const display_layout_item &item : items)
        lines << QStringLiteral("%1,%2 %3 %4 %5 %6")
                     .arg(item.column)
                     .arg(item.row)
                     .arg(item.monitor_id)
                     .arg(item.connection_address, item.model_name, item.serial_number);
    return lines;
}

template <typename T> T *named(QWidget &window, const char *name)
{
    return window.findChild<T *>(QString::fromLatin1(name));
}

void trigger(QWidget &window, const char *action)
{
    QAction *found = named<QAction>(window, action);
    QVERIFY2(found, action);
    found->trigger();
}

void click(QWidget &window, const char *button)
{
    QPushButton *found = named<QPushButton>(window, button);
    QVERIFY2(found, button);
    QVERIFY2(found->isEnabled(), button);
    QTest::mouseClick(found, Qt::LeftButton);
}

// The simulated 3 x 3 wall: each display on its own address of this
// process's loopback block, monitor ID 1, models in turn, named after its
// place.
class simulated_lan_wall
{
public:
    simulated_lan_wall()
    {
        wall.set_time_scale(0.0);
        for (int i = 0; i < kDisplays; ++i) {
            const int endpoint = wall.add_lan_endpoint(loopback_block::address(i + 1));
            if (endpoint < 0) {
                m_error = loopback_block::claim_error();
                return;
            }
            const int handle = wall.add_display(endpoint, 'A');
            wall.with_display(handle, [i](sim_display &d) {
                d.apply_model(kModels.at(i % kModels.size()));
                d.serial_number = QStringLiteral("ROAD-%1-%2").arg(i % kColumns).arg(i / kColumns).toLatin1();
            });
            handles << handle;
        }
    }
    QString error() const { return m_error; }

    simulated_wall wall;
    QList<int> handles;

private:
    QString m_error;
};

QString pdf_text(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// The Summary window's report saved as PDF: its preview's Print action, the
// file named in the print dialog.
void save_report_as_pdf(QWidget &summary, const QString &file)
{
    when_modal_shows<QPrintPreviewDialog>([&file](QPrintPreviewDialog *preview) {
        when_modal_shows<QPrintDialog>([&file](QPrintDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(name);
            name->setText(file);
            dialog->accept();
        });
        for (QAction *action : preview->findChild<QToolBar *>()->actions())
            if (action->text() == QLatin1String("Print"))
                action->trigger();
    });
    click(summary, "pdf_pushButton");
}

// With TESSALINE_ROAD_SCREENSHOT naming a PNG file (scripts/make-screenshot.sh,
// under a real display server), the screen is saved there, scaled down, once
// a progress dialog over the window has been up for a moment.
class road_screenshot
{
public:
    static constexpr int kWidth = 960;
    static constexpr int kAfterMs = 150;

    explicit road_screenshot(QWidget &window) : m_path(qEnvironmentVariable("TESSALINE_ROAD_SCREENSHOT"))
    {
        if (m_path.isEmpty())
            return;
        window.resize(1260, 780);
        window.show();
        QObject::connect(&m_poll, &QTimer::timeout, [this] { look(); });
        m_poll.start(20);
    }
    void arm() { m_armed = true; }

private:
    void look()
    {
        if (!m_armed || !QApplication::activeModalWidget() || !QApplication::activeModalWidget()->inherits(
                                                                  "KQ_multithreaded_operation_progress_dialog")) {
            m_open.invalidate();
            return;
        }
        if (!m_open.isValid())
            m_open.start();
        if (m_open.elapsed() < kAfterMs)
            return;
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        screen.scaledToWidth(kWidth, Qt::SmoothTransformation).save(m_path, "PNG", 0);
        m_armed = false;
        m_poll.stop();
    }

    QString m_path;
    QTimer m_poll;
    QElapsedTimer m_open;
    bool m_armed = false;
};

} // namespace

class tst_wall_road : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        // The simulated displays always answer: a busy machine is no silent display.
        wait_service::set_io_timeout_floor_ms(2000);
    }

    void lan_wall_described_verified_saved_and_reopened();
};

void tst_wall_road::lan_wall_described_verified_saved_and_reopened()
{
    simulated_lan_wall sim;
    QVERIFY2(sim.error().isEmpty(), qPrintable(sim.error()));
    main_window_fixture fixture;
    fixture.wall().controller().setQueryThreadPool(
        new QueryThreadPool(QueryThreadPool::display_workers(), QueryThreadPool::kMaxRunning));
    Tessaline &window = fixture.window();
    layout_manager &layout = fixture.wall().layout();
    road_screenshot screenshot(window);

    // Layout Wizard: nine displays, each on its own address from the block's first.
    when_wizard_opens([](display_layout_wizard_advanced &wizard) {
        wall_description description;
        description.columns = kColumns;
        description.rows = kRows;
        description.link = separate_lan_one_id;
        description.address = loopback_block::address(1);
        description.first_id = 1;
        describe_wall(wizard, description);
        QVERIFY(finish(wizard));
    });
    trigger(window, "actionLayout");
    QCOMPARE(layout.item_count(), kDisplays);

    // Tools > Verify Monitor Firmware: a job on every display through the
    // progress dialog, each display reached on its own address.
    screenshot.arm();
    progress_dialog_watch watch;
    sim.wall.clear_log();
    {
        modal_box_answerer boxes({}, 3000);
        trigger(window, "actionVerify_Monitor_Firmware");
        QCOMPARE(boxes.unexpected(), 0);
    }
    QCOMPARE(watch.closed_by_watch(), 0);
    QVERIFY2(watch.title().contains(QStringLiteral("Verifying Monitor Firmware")), qPrintable(watch.title()));
    QSet<int> reached;
    for (const sim_log_entry &frame : sim.wall.log())
        reached.insert(frame.endpoint);
    QCOMPARE(reached.size(), kDisplays);

    // Save, close, and open again from the recent list.
    QTemporaryDir projects;
    const QString path = projects.filePath(QStringLiteral("road.tslw"));
    fixture.answer_file_dialog(path);
    trigger(window, "actionSave_Project_As");
    QVERIFY(QFile::exists(path));
    const QStringList saved = described(items_of(layout));
    Tessaline &again = fixture.new_window();
    {
        modal_box_answerer boxes({QMessageBox::No}, 3000);
        trigger(again, "actionNew_Project");
    }
    QVERIFY(described(items_of(layout)) != saved);
    trigger(again, "action_recent_file_1");
    QCOMPARE(described(items_of(layout)), saved);

    // The information report as PDF, from the Summary window.
    QWidget *summary = create_information_dialog(again);
    trigger(again, "action_Information_Window");
    const QString reportPath = projects.filePath(QStringLiteral("report.pdf"));
    save_report_as_pdf(*summary, reportPath);
    const QString report = pdf_text(reportPath);
    for (const QString &expected : {QStringLiteral("Display Physical Layout:"), QStringLiteral("#1 ID 1"),
                                    QStringLiteral("#9 ID 1"), QStringLiteral("Connection Summary:"),
                                    loopback_block::address(kDisplays)})
        QVERIFY2(report.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + report));
}

QTEST_MAIN(tst_wall_road)
#include "tst_wall_road.moc"
