// The main window on a real (virtual) X screen of a laptop's or a desktop's
// size, along the steps of a wall's road that change its contents: it stays
// inside the screen's free area, its docks never lie on one another, and
// every button a dock shows can be reached with the mouse; the Summary window
// opens showing as much of the wall as fits.
#include "app/window/information_dialog_host.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "tests/app/e2e/wall_road_fixture.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/dialogs/modal_answer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kColumns = 3;
constexpr int kRows = 3;
// Long enough for a machine busy with other test suites.
constexpr int kStepPatienceMs = 300000;
// Of the Summary window's two tables of a 3 x 3 wall, on the smallest screen.
constexpr int kSummaryRowsAtLeast = 8;
constexpr int kProgressPollMs = 50;

QList<QDockWidget *> docked_and_shown(Tessaline &window)
{
    QList<QDockWidget *> shown;
    for (int i = 0; i < kDockCount; ++i) {
        QDockWidget *dock = window.dock(main_window_dock(i));
        // A dock behind another's tab is moved out of sight, not hidden.
        if (dock->isVisible() && !dock->isFloating() && !dock->visibleRegion().isEmpty())
            shown << dock;
    }
    return shown;
}

QString describe(const QWidget &widget)
{
    return QStringLiteral("%1 \"%2\"").arg(widget.objectName(), widget.property("text").toString());
}

// The button is what the mouse finds at its centre, and it goes down under a
// press there; the release lands away from it, so nothing is run.
void check_reachable(Tessaline &window, QDockWidget &dock, QPushButton &button, const QString &step)
{
    if (auto *scroll = qobject_cast<QScrollArea *>(dock.widget()))
        scroll->ensureWidgetVisible(&button, 0, 0);
    QCoreApplication::processEvents();
    const QPoint centre = button.mapToGlobal(button.rect().center());
    const QString what = QStringLiteral("%1: %2 of dock %3").arg(step, describe(button), dock.objectName());
    QWidget *found = QApplication::widgetAt(centre);
    QVERIFY2(found == &button || button.isAncestorOf(found),
             qPrintable(QStringLiteral("%1 is covered by %2").arg(what, found ? describe(*found) : QStringLiteral("nothing"))));
    QWindow *handle = window.windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, handle->mapFromGlobal(centre));
    const bool down = button.isDown();
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QVERIFY2(down, qPrintable(what + QStringLiteral(" does not answer a press")));
}

void check_fits(Tessaline &window, const QString &step)
{
    QCoreApplication::processEvents();
    QTest::qWait(50);
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY2(screen.contains(window.frameGeometry()),
             qPrintable(QStringLiteral("%1: the window %2,%3 %4x%5 leaves the screen %6x%7")
                            .arg(step)
                            .arg(window.frameGeometry().x())
                            .arg(window.frameGeometry().y())
                            .arg(window.frameGeometry().width())
                            .arg(window.frameGeometry().height())
                            .arg(screen.width())
                            .arg(screen.height())));
    const QList<QDockWidget *> docks = docked_and_shown(window);
    QVERIFY(!docks.isEmpty());
    for (int i = 0; i < docks.size(); ++i)
        for (int j = i + 1; j < docks.size(); ++j)
            QVERIFY2(!docks.at(i)->geometry().intersects(docks.at(j)->geometry()),
                     qPrintable(QStringLiteral("%1: docks %2 and %3 overlap")
                                    .arg(step, docks.at(i)->objectName(), docks.at(j)->objectName())));
    for (QDockWidget *dock : docks) {
        for (QPushButton *button : dock->findChildren<QPushButton *>()) {
            if (!button->isVisible() || !button->isEnabled())
                continue;
            check_reachable(window, *dock, *button, step);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

// The rows of |table| shown whole.
int whole_rows(const QTableWidget &table);

// Looks at the operation progress dialog while it runs: the fewest of its
// job rows it showed whole, and whether it stayed inside the screen.
class progress_rows : public QObject
{
public:
    progress_rows()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] { look(); });
        m_poll.start(kProgressPollMs);
    }
    int fewest_shown() const { return m_fewest; }
    bool inside_screen() const { return m_inside; }

private:
    void look()
    {
        auto *dialog = qobject_cast<KQ_multithreaded_operation_progress_dialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        const auto *jobs = dialog->findChild<QTableWidget *>(QStringLiteral("job_tableWidget"));
        if (!jobs || jobs->rowCount() == 0)
            return;
        // The dialog follows a row or prompt that grows within a turn or
        // two of the event loop: a count is taken once two looks agree.
        const int shown = whole_rows(*jobs);
        if (shown == m_last)
            m_fewest = m_fewest < 0 ? shown : qMin(m_fewest, shown);
        m_last = shown;
        m_inside = m_inside && dialog->screen()->availableGeometry().contains(dialog->frameGeometry());
    }

    QTimer m_poll;
    int m_fewest = -1;
    int m_last = -1;
    bool m_inside = true;
};

// The rows of |table| shown whole.
int whole_rows(const QTableWidget &table)
{
    int rows = 0;
    for (int row = 0; row < table.rowCount(); ++row)
        if (table.viewport()->rect().contains(table.visualRect(table.model()->index(row, 0))))
            ++rows;
    return rows;
}

// The Summary window, opened for the first time, shows as much of the wall
// as the screen has room for.
void check_summary_window(Tessaline &window, int displays)
{
    KQ_Information_Dialog *summary = create_information_dialog(window);
    window.findChild<QAction *>(QStringLiteral("action_Information_Window"))->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(summary));
    QCoreApplication::processEvents();
    QVERIFY(summary->screen()->availableGeometry().contains(summary->frameGeometry()));
    auto *connection = summary->findChild<QTableWidget *>(QStringLiteral("connection_summary_tableWidget"));
    auto *calibration = summary->findChild<QTableWidget *>(QStringLiteral("calibration_summary_tableWidget"));
    QCOMPARE(connection->rowCount(), displays);
    const int shown = whole_rows(*connection) + whole_rows(*calibration);
    QVERIFY2(shown >= kSummaryRowsAtLeast, qPrintable(QStringLiteral("%1 rows shown").arg(shown)));
    summary->close();
}

} // namespace

class tst_window_on_screen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
                 "runs on an X server (xvfb-run), where windows take real screen geometry");
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void stays_inside_the_screen_along_the_road();
};

void tst_window_on_screen::stays_inside_the_screen_along_the_road()
{
    wall_road road;
    QVERIFY2(road.build_lan_wall(kColumns, kRows, {QByteArrayLiteral("VW-5530Q")}), qPrintable(road.error()));
    QVERIFY2(road.attach_sensor(), qPrintable(road.error()));
    Tessaline &window = road.window();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    check_fits(window, QStringLiteral("first start"));
    QVERIFY(!QTest::currentTestFailed());
    // The rest on a window that fills the screen, where growing would push
    // its bottom off the screen.
    window.setGeometry(window.screen()->availableGeometry());
    check_fits(window, QStringLiteral("filling the screen"));
    QVERIFY(!QTest::currentTestFailed());

    road::describe_wall(window, road.description());
    QVERIFY(!QTest::currentTestFailed());
    check_fits(window, QStringLiteral("after the Layout Wizard"));
    QVERIFY(!QTest::currentTestFailed());

    QTemporaryDir files;
    const QString project = files.filePath(QStringLiteral("screen.tslw"));
    road.app().answer_file_dialog(project);
    road::trigger(window, "actionSave_Project_As");
    QVERIFY(QFile::exists(project));

    KQ_main_controller_dock_widget &actions = *window.controller_dock();
    {
        progress_dialog_watch watch(kStepPatienceMs);
        road::click(actions, "verify_displays_pushButton");
        QCOMPARE(watch.closed_by_watch(), 0);
    }
    check_fits(window, QStringLiteral("after Verify"));
    QVERIFY(!QTest::currentTestFailed());
    {
        progress_dialog_watch watch(kStepPatienceMs);
        modal_box_answerer boxes({QMessageBox::Yes, QMessageBox::Ok});
        progress_rows rows;
        road::click(actions, "measure_all_display_pushButton");
        QCOMPARE(watch.closed_by_watch(), 0);
        QVERIFY2(rows.inside_screen(), "the progress dialog leaves the screen");
        QCOMPARE(rows.fewest_shown(), kColumns * kRows);
    }
    check_fits(window, QStringLiteral("after Measure"));
    QVERIFY(!QTest::currentTestFailed());
    check_summary_window(window, kColumns * kRows);
    QVERIFY(!QTest::currentTestFailed());
    {
        progress_dialog_watch watch(kStepPatienceMs);
        modal_box_answerer boxes({QMessageBox::Yes});
        progress_rows rows;
        road::click(actions, "calibrate_all_display_pushButton");
        QCOMPARE(watch.closed_by_watch(), 0);
        QVERIFY2(rows.inside_screen(), "the calibration's progress dialog leaves the screen");
        QCOMPARE(rows.fewest_shown(), kColumns * kRows);
    }
    check_fits(window, QStringLiteral("after Calibrate"));
    QVERIFY(!QTest::currentTestFailed());

    {
        modal_box_answerer boxes({QMessageBox::Discard});
        road::trigger(window, "actionNew_Project");
    }
    check_fits(window, QStringLiteral("after New Project"));
    QVERIFY(!QTest::currentTestFailed());

    {
        modal_box_answerer boxes({QMessageBox::Discard});
        road.app().answer_file_dialog(project);
        road::trigger(window, "actionOpen_Project");
    }
    check_fits(window, QStringLiteral("after Open"));
}

QTEST_MAIN(tst_window_on_screen)
#include "tst_window_on_screen.moc"
