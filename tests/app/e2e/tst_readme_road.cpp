// The README's "Try it without hardware" road, followed as written: the
// simulated 2 x 2 wall of scripts/simulated-wall.sh (its settings, on this
// process's loopback addresses), described in the Layout Wizard with the
// answers the README gives and the wizard's own defaults for the rest, then
// Verify, Initialize, Measure (after the save it asks for) and Calibrate from
// the Actions dock.
#include "app/services/string_resource.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "simulator/loopback_block.h"
#include "simulator/sim_wall_builder.h"
#include "tests/app/e2e/wall_road_fixture.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/dialogs/modal_answer.h"
#include "views/wall/KQ_central_display_widget.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// scripts/simulated-wall.sh's wall, but for the address.
const char kReadmeWall[] = "rows=2;columns=2;address=%1;ids=wall;models=VW-5530Q,VW-5520L,VW-5540QE,VW-4620L;seed=7";
constexpr int kDisplays = 4;
constexpr int kSaveProjectFirstText = 728;
constexpr int kConfirmTargetText = 725;
constexpr int kCalibrationPatienceMs = 300000;

void run_step(KQ_main_controller_dock_widget &actions, const char *button, const QList<QMessageBox::StandardButton> &answers,
              int patience_ms = 20000)
{
    progress_dialog_watch watch(patience_ms);
    modal_box_answerer boxes(answers);
    road::click(actions, button);
    QCOMPARE(watch.closed_by_watch(), 0);
    QCOMPARE(boxes.seen().size(), answers.size());
}

QString step_status(KQ_main_controller_dock_widget &actions, const char *label)
{
    return road::named<QLabel>(actions, label)->text();
}

} // namespace

class tst_readme_road : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { cancel_pending_modal_answers(); }
    void simulated_wall_verified_initialized_measured_calibrated();
};

void tst_readme_road::simulated_wall_verified_initialized_measured_calibrated()
{
    wall_road road;
    QVERIFY2(road.error().isEmpty(), qPrintable(road.error()));
    sim_wall_config config;
    QString error;
    QVERIFY2(config.parse_line(QString::fromLatin1(kReadmeWall).arg(loopback_block::address(1)), &error),
             qPrintable(error));
    QList<sim_wall_position> placed;
    QVERIFY2(build_wall(config, road.wall(), &placed, &error), qPrintable(error + loopback_block::claim_error()));
    QVERIFY2(road.attach_sensor(), qPrintable(road.error()));
    Tessaline &window = road.window();

    // Only what the README names; every other page keeps the wizard's default.
    layout_wizard_driver::wall_description readme;
    readme.columns = 2;
    readme.rows = 2;
    readme.link = layout_wizard_driver::separate_lan;
    readme.address = loopback_block::address(1);
    road::describe_wall(window, readme);
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(road.layout().item_count(), kDisplays);

    KQ_main_controller_dock_widget &actions = *window.controller_dock();
    run_step(actions, "verify_displays_pushButton", {});
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(road.layout().get_connected_display_indexes(false, true).size(), kDisplays);

    run_step(actions, "initialize_displays_pushButton", {});
    QVERIFY(!QTest::currentTestFailed());

    // Measure wants a named project first.
    {
        modal_box_answerer boxes({QMessageBox::Ok});
        road::click(actions, "measure_all_display_pushButton");
        QCOMPARE(boxes.texts(), QStringList{string_resource(kSaveProjectFirstText)});
    }
    QTemporaryDir files;
    road.app().answer_file_dialog(files.filePath(QStringLiteral("simulated wall.tslw")));
    road::trigger(window, "actionSave_Project");
    run_step(actions, "measure_all_display_pushButton", {}, kCalibrationPatienceMs);
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(step_status(actions, "measure_all_display_status_label"), QStringLiteral("Complete"));

    {
        progress_dialog_watch watch(kCalibrationPatienceMs);
        modal_box_answerer boxes({QMessageBox::Yes});
        road::click(actions, "calibrate_all_display_pushButton");
        QCOMPARE(watch.closed_by_watch(), 0);
        QCOMPARE(boxes.texts(), QStringList{string_resource(kConfirmTargetText)});
    }
    QCOMPARE(step_status(actions, "calibrate_display_status_label"), QStringLiteral("Complete"));
    for (KQ_display_layout_widget *tile : window.wall_view()->tiles())
        QTRY_VERIFY(tile->view().facts.calibrated);
}

QTEST_MAIN(tst_readme_road)
#include "tst_readme_road.moc"
