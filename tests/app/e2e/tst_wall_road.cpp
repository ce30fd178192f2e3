// A wall's road through the main window, over simulated displays and the
// simulated i1Display Pro: the operator's own menus, docks, wizard and dialogs
// describe the wall, verify it, calibrate it with lookup tables, evaluate the
// calibration, save it, open it again from the recent list, write an ICC
// profile and the information report. Message boxes, file and print dialogs
// are answered by the test's scripts. Waits run at time scale 0.
#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/string_resource.h"
#include "app/window/Tessaline.h"
#include "app/window/information_dialog_host.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/tone_curves.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "simulator/loopback_block.h"
#include "tests/app/e2e/wall_road_fixture.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/icc/lcms_oracle.h"
#include "views/wall/KQ_central_display_widget.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr int kColumns = 3;
constexpr int kRows = 3;
constexpr int kDisplays = kColumns * kRows;
const QList<QByteArray> kModels {"VW-5530Q", "VW-5520L", "VW-4620L", "VW-5540QE"};
constexpr int kChainLength = 3;
constexpr int kChainPort = 3;
const QList<QByteArray> kChainModels {"VW-5530Q"};

// The calibration's own tolerances: the white loops hold x and y within
// 0.0005; the intensity loop ends within 1 % of the target (at least
// 1 cd/m²), to the nearest brightness setting.
constexpr double kWhiteTolerance = 0.0005;
constexpr double kLuminanceShare = 0.01;
constexpr double kLeastLuminanceTolerance = 1.0;
// The tone curve's largest departure, as a share of the white above black,
// at 16 grey levels of the input.
constexpr int kToneLevels = 16;
constexpr double kToneTolerance = 0.01;
// A table entry read back against the record: one step of the table's
// resolution either way.
constexpr double kTableSteps = 1.5;

constexpr int kEngineSwitch = 0x1147;
constexpr int kEngineOff = 1;
constexpr int kBrightness = 0x10;
constexpr int kContrast = 0x12;
constexpr int kColourMode = 0x268;
constexpr int kPatch = 0x2C3;
constexpr int kPatchOn = 2;
constexpr int kPatchLevels[] = {0x103A, 0x103B, 0x103C};
constexpr int kConfirmTargetText = 725;
// Long enough for the slowest dialog: the calibration of the whole wall.
constexpr int kCalibrationPatienceMs = 300000;

const road::target_choice kTarget;

QStringList described(layout_manager &layout)
{
    QStringList lines;
    for (int i = 0; i < layout.item_count(); ++i) {
        display_layout_item item;
        layout.get_item(i, item);
        lines << QStringLiteral("%1,%2 %3 %4 %5 %6 %7")
                     .arg(item.column)
                     .arg(item.row)
                     .arg(item.monitor_id)
                     .arg(item.connection_type)
                     .arg(item.connection_address, item.model_name, item.serial_number);
    }
    return lines;
}

template <class Record> QByteArray streamed(const Record &record)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_4_8);
    record.Write(stream);
    return bytes;
}

// Every display's record, as the project file keeps it.
QList<QByteArray> records_of(wall_road &road)
{
    QList<QByteArray> records;
    for (int i = 0; i < road.layout().item_count(); ++i) {
        monitor_tracker_item record;
        records << (road.record_of(i, record) ? streamed<CAdjustValue>(record) : QByteArray());
    }
    return records;
}

QString xy_text(const CCIEXYZ &xyz)
{
    const CIExy xy = xyz.ToCIExy();
    return QStringLiteral("x %1 y %2 Y %3").arg(xy.x, 0, 'f', 5).arg(xy.y, 0, 'f', 5).arg(xyz.Y, 0, 'f', 2);
}

// The white of the display at layout |index| within the target's
// chromaticity and luminance tolerances; one brightness step moves the
// light by the display's full white over the steps of its control.
void check_white(wall_road &road, int index, const CCIEXYZ &white, const QString &what)
{
    monitor_tracker_item record;
    QVERIFY(road.record_of(index, record));
    QVERIFY(record.backlight_maximum > 0);
    const double brightness_step = record.measurements.native.white.Y / record.backlight_maximum;
    const double tolerance =
        qMax(kTarget.luminance * kLuminanceShare, kLeastLuminanceTolerance) + brightness_step;
    const CIExy xy = white.ToCIExy();
    const QString text = QStringLiteral("display %1 %2: %3").arg(index).arg(what, xy_text(white));
    QVERIFY2(std::fabs(xy.x - 0.3127) <= kWhiteTolerance && std::fabs(xy.y - 0.3290) <= kWhiteTolerance,
             qPrintable(text));
    QVERIFY2(std::fabs(white.Y - kTarget.luminance) <= tolerance, qPrintable(text));
}

// The display shows the table its record describes, in a colour mode that
// applies it, with the brightness and contrast the record keeps and the
// engine as the record says.
void check_display_against_record(wall_road &road, int index, const CTargetValue &target)
{
    const int handle = road.handles().at(index);
    monitor_tracker_item record;
    QVERIFY(road.record_of(index, record));
    const QString where = QStringLiteral("display %1 %2").arg(index).arg(record.model_name);
    QVERIFY2(record.calibrated, qPrintable(where));
    QCOMPARE(int(record.calibration_mode), int(CAdjustValue::kModeLookupTable));
    QCOMPARE(int(record.engine_calibrated_word), 0);
    QCOMPARE(road.control(handle, kBrightness), int(record.backlight_setting));
    QCOMPARE(road.control(handle, kContrast), int(record.contrast));
    const int engine = road.control(handle, kEngineSwitch);
    QVERIFY2(engine == -1 || engine == kEngineOff, qPrintable(where));
    QVERIFY2(QList<int>({6, 13, 14}).contains(road.control(handle, kColourMode)), qPrintable(where));

    // What the record computes for the table: each channel's correction
    // curve under its gain.
    CColorValue computed = record.measurements;
    QCOMPARE(make_target_curve(computed, target, computed.target_curve), 0);
    QCOMPARE(computed.BuildCorrectionCurves(target), 0);
    struct shown
    {
        bool active = false;
        std::array<std::vector<double>, 3> table;
        double full_scale = 0;
    };
    const shown display = road.wall().with_display(handle, [](sim_display &d) {
        return shown{d.lut_active, d.active_lut.normalised(d.active_lut_entries, d.active_lut_full_scale),
                     d.active_lut_full_scale};
    });
    QVERIFY2(display.active, qPrintable(where));
    for (int c = 0; c < 3; ++c) {
        const std::vector<double> &channel = display.table[size_t(c)];
        QVERIFY(channel.size() > 1);
        for (size_t i = 0; i < channel.size(); ++i) {
            const double x = double(i) / double(channel.size() - 1);
            const double expected = qBound(0.0, record.gain[size_t(c)] * computed.correction_curves[size_t(c)].Evaluate(x), 1.0);
            QVERIFY2(std::fabs(channel[i] - expected) <= kTableSteps / display.full_scale,
                     qPrintable(QStringLiteral("%1 channel %2 entry %3: %4 against %5")
                                    .arg(where).arg(c).arg(i).arg(channel[i]).arg(expected)));
        }
    }
}

// The calibrated white shown by the patch: each channel's level is the
// record's gain of that channel's maximum.
void check_patch_levels_against_gains(wall_road &road, int index)
{
    monitor_tracker_item record;
    QVERIFY(road.record_of(index, record));
    for (int c = 0; c < 3; ++c) {
        const auto [level, maximum] = road.wall().with_display(road.handles().at(index), [c](sim_display &d) {
            const sim_control *control = d.controls.find(quint16(kPatchLevels[c]));
            return control ? std::pair<int, int>(control->current, control->max) : std::pair<int, int>(-1, 0);
        });
        QVERIFY(maximum > 0);
        QVERIFY2(std::fabs(double(level) / maximum - record.gain[size_t(c)]) <= 1.0 / maximum,
                 qPrintable(QStringLiteral("display %1 channel %2: level %3 of %4, gain %5")
                                .arg(index).arg(c).arg(level).arg(maximum).arg(record.gain[size_t(c)])));
    }
}

// White, luminance and tone measured through the input signal.
void check_light_through_input(wall_road &road, int index, const CTargetValue &target)
{
    const int handle = road.handles().at(index);
    const QString where = QStringLiteral("display %1").arg(index);
    QCOMPARE(road.control(handle, kPatch) >= kPatchOn, false);
    const CCIEXYZ white = road.light_at(handle, 1.0);
    check_white(road, index, white, QStringLiteral("input white"));
    QVERIFY(!QTest::currentTestFailed());
    const CCIEXYZ black = road.light_at(handle, 0.0);
    CSpline curve;
    QCOMPARE(make_target_curve(CColorValue(), target, curve), 0);
    for (int i = 0; i < kToneLevels; ++i) {
        const double level = double(i) / (kToneLevels - 1);
        const double share = (road.light_at(handle, level).Y - black.Y) / (white.Y - black.Y);
        QVERIFY2(std::fabs(share - curve.Evaluate(level)) <= kToneTolerance,
                 qPrintable(QStringLiteral("%1 grey %2: %3 against %4").arg(where).arg(level).arg(share)
                                .arg(curve.Evaluate(level))));
    }
}

// Calibrate All from the Actions dock: the target confirmed, the jobs and
// their follow-up table jobs run by the progress dialog.
void calibrate_all(KQ_main_controller_dock_widget &dock)
{
    progress_dialog_watch watch(kCalibrationPatienceMs);
    modal_box_answerer boxes({QMessageBox::Yes, QMessageBox::Ok});
    road::click(dock, "calibrate_all_display_pushButton");
    QCOMPARE(watch.closed_by_watch(), 0);
    QVERIFY2(!boxes.texts().isEmpty() && boxes.texts().first() == string_resource(kConfirmTargetText),
             qPrintable(boxes.texts().join(QLatin1Char('\n'))));
}

void verify_all(KQ_main_controller_dock_widget &dock)
{
    progress_dialog_watch watch;
    road::click(dock, "verify_displays_pushButton");
    QCOMPARE(watch.closed_by_watch(), 0);
    QVERIFY2(watch.title().contains(QStringLiteral("Verifying displays")), qPrintable(watch.title()));
}

// The jobs of |tasks| finished without error on every display of |count|.
void check_jobs(const pool_jobs &jobs, const QList<qint32> &tasks, int count)
{
    QVERIFY2(jobs.failures().isEmpty(), qPrintable(jobs.failures().join(QLatin1Char('\n'))));
    QSet<int> displays;
    for (const pool_jobs::job &job : jobs.jobs())
        if (job.tasks == tasks)
            displays.insert(job.position);
    QCOMPARE(displays.size(), count);
}

void prepare(wall_road &road, Tessaline &window, const QString &project)
{
    road::describe_wall(window, road.description());
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(road.layout().item_count(), road.handles().size());

    road::choose_preferences(window, road::preference_choice());
    QVERIFY(!QTest::currentTestFailed());
    CPreferences &prefs = road.app().preferences();
    QCOMPARE(int(prefs.GetCalibrationSteps()), road::preference_choice().grey_steps);
    QCOMPARE(int(prefs.GetCalibrationMethod()), int(CAdjustValue::kModeLookupTable));
    QVERIFY(!prefs.GetUseQuillonEngine());
    QVERIFY(prefs.GetMeasureDisplaysAfterCalibration());

    road::choose_target(window, kTarget);
    QVERIFY(!QTest::currentTestFailed());
    const CTargetValue target = g_master->getTarget();
    QCOMPARE(target.GetWhitePoint().ToString(), kTarget.white_point);
    QCOMPARE(target.GetIntensityMode(), int(CTargetValue::kIntensitySpecified));
    QCOMPARE(target.GetSpecifiedLuminance(), kTarget.luminance);
    QCOMPARE(target.GetGammaType(), int(CTargetValue::kGammaPower));
    QCOMPARE(target.GetGamma(), kTarget.gamma);

    // Calibration asks for a named project.
    road.app().answer_file_dialog(project);
    road::trigger(window, "actionSave_Project_As");
    QVERIFY(QFile::exists(project));
}

// How many times the destination of the frames on |endpoint| changes, plus
// one: the stretches of frames that one display received in a row.
int destination_stretches(const QList<sim_log_entry> &log, int endpoint)
{
    int stretches = 0;
    char last = 0;
    for (const sim_log_entry &frame : log) {
        if (frame.endpoint != endpoint || !frame.valid)
            continue;
        if (frame.destination != last)
            ++stretches;
        last = frame.destination;
    }
    return stretches;
}

} // namespace

class tst_wall_road : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The simulated displays always answer: a busy machine is no silent display.
        wait_service::set_io_timeout_floor_ms(2000);
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void lan_wall_calibrated_saved_reopened_and_reported();
    void rs232_chain_runs_one_job_at_a_time();
};

void tst_wall_road::lan_wall_calibrated_saved_reopened_and_reported()
{
    wall_road road;
    QVERIFY2(road.build_lan_wall(kColumns, kRows, kModels), qPrintable(road.error()));
    QVERIFY2(road.attach_sensor(), qPrintable(road.error()));
    Tessaline &window = road.window();
    pool_jobs jobs(road.pool());
    QTemporaryDir files;
    const QString project = files.filePath(QStringLiteral("road.tslw"));
    prepare(road, window, project);
    QVERIFY(!QTest::currentTestFailed());
    KQ_main_controller_dock_widget &dock = *window.controller_dock();

    verify_all(dock);
    QVERIFY(!QTest::currentTestFailed());
    check_jobs(jobs, {JOB_TASK_CHECK_CAPABILITIES}, kDisplays);
    QCOMPARE(road.layout().get_connected_display_indexes(false, true).size(), kDisplays);

    jobs.clear();
    calibrate_all(dock);
    QVERIFY(!QTest::currentTestFailed());
    check_jobs(jobs, {JOB_TASK_CALIBRATE}, kDisplays);
    check_jobs(jobs, {JOB_TASK_UPDATE_LUTS}, kDisplays);
    const CTargetValue target = g_master->getTarget();
    for (int i = 0; i < kDisplays; ++i) {
        check_display_against_record(road, i, target);
        QVERIFY(!QTest::currentTestFailed());
    }
    // What the window shows of it: the step done, every tile calibrated on target.
    QCOMPARE(road::named<QLabel>(dock, "calibrate_display_status_label")->text(), QStringLiteral("Complete"));
    for (KQ_display_layout_widget *tile : window.wall_view()->tiles()) {
        QTRY_VERIFY(tile->view().facts.calibrated);
        QVERIFY(!tile->view().facts.intensity_off_target);
    }

    // Evaluate Calibration: every display shows its calibrated white.
    {
        progress_dialog_watch watch;
        road::click(dock, "evaluate_calibration_mode_checkBox");
        QVERIFY(dock.is_evaluate_calibration_mode());
        QCOMPARE(watch.closed_by_watch(), 0);
    }
    for (int i = 0; i < kDisplays; ++i) {
        QVERIFY(road.control(road.handles().at(i), kPatch) >= kPatchOn);
        check_patch_levels_against_gains(road, i);
        QVERIFY(!QTest::currentTestFailed());
        const light_channel::light_reading shown = road.wall().light(road.handles().at(i));
        check_white(road, i, CCIEXYZ(shown.X, shown.Y, shown.Z), QStringLiteral("evaluation white"));
        QVERIFY(!QTest::currentTestFailed());
    }
    {
        progress_dialog_watch watch;
        road::click(dock, "evaluate_calibration_mode_checkBox");
        QCOMPARE(watch.closed_by_watch(), 0);
    }
    for (int i = 0; i < kDisplays; ++i) {
        check_light_through_input(road, i, target);
        QVERIFY(!QTest::currentTestFailed());
    }

    // Save, close, and open it again from the recent list in a new window.
    road::trigger(window, "actionSave_Project");
    const QStringList layout = described(road.layout());
    const QList<QByteArray> records = records_of(road);
    const QByteArray saved_target = streamed(target);
    Tessaline &again = road.new_window();
    {
        modal_box_answerer boxes({QMessageBox::Discard});
        road::trigger(again, "actionNew_Project");
    }
    QVERIFY(described(road.layout()) != layout);
    {
        // The new project is not worth keeping.
        modal_box_answerer boxes({QMessageBox::Discard});
        road::trigger(again, "action_recent_file_1");
    }
    QCOMPARE(described(road.layout()), layout);
    QCOMPARE(records_of(road), records);
    QCOMPARE(streamed(g_master->getTarget()), saved_target);

    // An ICC profile for the display in the middle, chosen on the wall view.
    const int middle = 4;
    QTest::mouseClick(again.wall_view()->tiles().at(middle), Qt::LeftButton);
    const QString profile_path = files.filePath(QStringLiteral("middle.icm"));
    road.app().answer_file_dialog(profile_path);
    road::trigger(again, "actionGenerate_ICC_Display_Profile");
    monitor_tracker_item record;
    QVERIFY(road.record_of(middle, record));
    take_lcms_errors();
    const LcmsProfile profile = open_with_lcms(profile_path);
    QVERIFY2(profile, qPrintable(take_lcms_errors()));
    char description[64] = {};
    QVERIFY(cmsGetProfileInfoASCII(profile.get(), cmsInfoDescription, "en", "US", description, sizeof description));
    QCOMPARE(QString::fromLatin1(description), record.model_name + QLatin1Char(' ') + record.serial_number);
    QCOMPARE(cmsGetDeviceClass(profile.get()), cmsSigDisplayClass);
    const cmsCIEXYZ *luminance = lcms_xyz(profile, cmsSigLuminanceTag);
    QVERIFY(luminance);
    QVERIFY(std::fabs(luminance->Y - record.measurements.corrected.white.Y) < 1e-3);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM to_srgb =
        cmsCreateTransform(profile.get(), TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    QVERIFY2(to_srgb, qPrintable(take_lcms_errors()));
    cmsDeleteTransform(to_srgb);
    cmsCloseProfile(srgb);

    // The information report as PDF, from the Summary window.
    QWidget *summary = create_information_dialog(again);
    road::trigger(again, "action_Information_Window");
    const QString report_path = files.filePath(QStringLiteral("report.pdf"));
    road::save_report_as_pdf(*summary, report_path);
    QVERIFY(!QTest::currentTestFailed());
    const QString report = road::pdf_text(report_path);
    // The table's narrow cells wrap their values: each is looked for on
    // its own, in the order of the rows.
    QStringList expected{QStringLiteral("Display Physical Layout:"), QStringLiteral("#1 ID 1"),
                         QStringLiteral("#9 ID 1")};
    for (int i = 0; i < kDisplays; ++i) {
        QVERIFY(road.record_of(i, record));
        expected << record.serial_number;
    }
    // The report's font shrinks to keep words whole, so the gaps between a
    // label and its value vary.
    expected << QStringLiteral("Calibration Target:") << QStringLiteral("White Point:") << QStringLiteral("D65")
             << QStringLiteral("Gamma:") << QStringLiteral("2.20");
    for (int i = 0; i < kDisplays; ++i) {
        QVERIFY(road.record_of(i, record));
        const CCIEXYZ &white = record.measurements.corrected.white;
        const CIExy xy = white.ToCIExy();
        expected << QStringLiteral("%L1").arg(white.Y, 0, 'f', 1) << QStringLiteral("(%L1,").arg(xy.x, 0, 'f', 3)
                 << QStringLiteral("%L1)").arg(xy.y, 0, 'f', 3);
    }
    int from = 0;
    for (const QString &text : expected) {
        from = report.indexOf(text, from);
        QVERIFY2(from >= 0, qPrintable(text));
    }
}

void tst_wall_road::rs232_chain_runs_one_job_at_a_time()
{
    wall_road road;
    QVERIFY2(road.build_serial_chain(kChainLength, kChainModels, kChainPort), qPrintable(road.error()));
    QVERIFY2(road.attach_sensor(), qPrintable(road.error()));
    Tessaline &window = road.window();
    pool_jobs jobs(road.pool());
    QTemporaryDir files;
    prepare(road, window, files.filePath(QStringLiteral("chain.tslw")));
    QVERIFY(!QTest::currentTestFailed());
    KQ_main_controller_dock_widget &dock = *window.controller_dock();
    road.wall().clear_log();

    verify_all(dock);
    QVERIFY(!QTest::currentTestFailed());
    check_jobs(jobs, {JOB_TASK_CHECK_CAPABILITIES}, kChainLength);
    calibrate_all(dock);
    QVERIFY(!QTest::currentTestFailed());
    check_jobs(jobs, {JOB_TASK_CALIBRATE}, kChainLength);
    check_jobs(jobs, {JOB_TASK_UPDATE_LUTS}, kChainLength);
    const CTargetValue target = g_master->getTarget();
    for (int i = 0; i < kChainLength; ++i) {
        check_display_against_record(road, i, target);
        QVERIFY(!QTest::currentTestFailed());
        check_light_through_input(road, i, target);
        QVERIFY(!QTest::currentTestFailed());
    }

    // One job at a time on the one line: as the pool saw them, and as the
    // displays did (each job's frames in one stretch).
    QCOMPARE(jobs.overlaps(), 0);
    const int stretches = destination_stretches(road.wall().log(), road.chain_endpoint());
    QVERIFY2(stretches <= jobs.jobs().size(),
             qPrintable(QStringLiteral("%1 stretches for %2 jobs").arg(stretches).arg(jobs.jobs().size())));
}

QTEST_MAIN(tst_wall_road)
#include "tst_wall_road.moc"
