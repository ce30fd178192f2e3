#include "app/controller/display_commands.h"
#include "app/controller/layout_manager.h"
#include "app/services/folders.h"
#include "app/services/string_resource.h"
#include "app/window/KQ_About_Dialog.h"
#include "app/window/url_opener.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "main_window_fixture.h"
#include "progress_dialog_watch.h"
#include "simulator/loopback_block.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/icc/lcms_oracle.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QSignalSpy>
#include <QtTest>

#include <array>
#include <cmath>

namespace {

const QString kAddress = loopback_block::address(1);
const QByteArray kModel = "VW-5520L";
const QDateTime kWhen(QDate(2024, 3, 1), QTime(9, 30), Qt::UTC);

// Uncorrected primaries and the corrected white of the calibrated display.
const CCIEXYZ kRed(41.2, 21.3, 1.9);
const CCIEXYZ kGreen(35.8, 71.5, 11.9);
const CCIEXYZ kBlue(18.0, 7.2, 95.0);
const CCIEXYZ kCorrectedWhite(90.1, 95.0, 98.7);

CAdjustValue calibrated_record()
{
    CAdjustValue record = headless_controller::measured_record(kRed, kGreen, kBlue);
    record.measurements.uncorrected.red = kRed;
    record.measurements.uncorrected.green = kGreen;
    record.measurements.uncorrected.blue = kBlue;
    record.measurements.corrected.white = kCorrectedWhite;
    record.SetCalibrationDateTime(kWhen);
    return record;
}

QAction *action(Tessaline &window, const char *name)
{
    auto *found = window.findChild<QAction *>(QLatin1String(name));
    if (!found)
        qFatal("no action %s", name);
    return found;
}

const char *const kRuledActions[] = {
    "actionResetMeasurementsAll",        "actionResetMeasurementsSelected",
    "actionResetCalibrationAll",         "actionRestoreCalibrationAll",
    "actionResetCalibrationSelected",    "actionRestoreCalibrationSelected",
    "actionGenerate_ICC_Display_Profile", "actionTile_Matrix_Wizard",
    "actionSet_Calibration_Order",       "actionVerify_Monitor_Firmware",
    "actionVerify_RS232_COM_Port",       "actionCalibration_Target_Offset",
    "actionUpdate_Factory_Color_Calibration",
};

QStringList enabled_actions(Tessaline &window)
{
    QStringList names;
    for (const char *name : kRuledActions) {
        if (action(window, name)->isEnabled())
            names << QLatin1String(name);
    }
    return names;
}

std::array<double, 3> inverse_times(const double m[9], const double v[3])
{
    const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6])
                       + m[2] * (m[3] * m[7] - m[4] * m[6]);
    const double inv[9] = {(m[4] * m[8] - m[5] * m[7]) / det, (m[2] * m[7] - m[1] * m[8]) / det,
                           (m[1] * m[5] - m[2] * m[4]) / det, (m[5] * m[6] - m[3] * m[8]) / det,
                           (m[0] * m[8] - m[2] * m[6]) / det, (m[2] * m[3] - m[0] * m[5]) / det,
                           (m[3] * m[7] - m[4] * m[6]) / det, (m[1] * m[6] - m[0] * m[7]) / det,
                           (m[0] * m[4] - m[1] * m[3]) / det};
    return {inv[0] * v[0] + inv[1] * v[1] + inv[2] * v[2], inv[3] * v[0] + inv[4] * v[1] + inv[5] * v[2],
            inv[6] * v[0] + inv[7] * v[1] + inv[8] * v[2]};
}

// The chromaticity a profile's D50-adapted tag had before adaptation.
CIExy unadapted_xy(const LcmsProfile &profile, cmsTagSignature tag)
{
    const auto *chad = static_cast<const double *>(cmsReadTag(profile.get(), cmsSigChromaticAdaptationTag));
    const cmsCIEXYZ *adapted = lcms_xyz(profile, tag);
    if (!chad || !adapted)
        return {};
    const double v[3] = {adapted->X, adapted->Y, adapted->Z};
    const std::array<double, 3> xyz = inverse_times(chad, v);
    return CCIEXYZ(xyz[0], xyz[1], xyz[2]).ToCIExy();
}

// Runs |check| on the next modal dialog of type T and closes it.
template <typename T>
void on_next_dialog(std::function<void(T &)> check)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            check(*dialog);
            dialog->accept();
        }
    });
    timer->start();
}

} // namespace

class tst_main_window_commands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { m_fixture = std::make_unique<main_window_fixture>(); }
    void cleanup() { m_fixture.reset(); }

    void enable_rules_data();
    void enable_rules();
    void identify_in_standby_shows_message_315();
    void display_commands_reach_the_display();
    void display_command_failure_is_shown_and_the_link_released();
    void icc_profile_of_the_selected_display_data();
    void icc_profile_of_the_selected_display();
    void icc_file_name_extension_data();
    void icc_file_name_extension();
    void icc_needs_a_record_and_a_name();
    void icc_failed_write_is_shown();
    void verify_commands_run_one_job_per_enabled_display_data();
    void verify_commands_run_one_job_per_enabled_display();
    void missing_users_guide_gives_a_notice();
    void users_guide_opens_the_file_beside_the_program_data();
    void users_guide_opens_the_file_beside_the_program();
    void about_runs_modally_over_the_window();

private:
    headless_controller &wall() { return m_fixture->wall(); }
    basic_monitor &monitor() { return *wall().controller().getMonitor(); }
    // The shared link's last port announcement names no port: back to none.
    bool link_released(const QSignalSpy &ports) const
    {
        return !ports.isEmpty() && ports.last().at(0).toString().isEmpty();
    }

    std::unique_ptr<main_window_fixture> m_fixture;
};

void tst_main_window_commands::enable_rules_data()
{
    QTest::addColumn<int>("displays");
    QTest::addColumn<bool>("rs232");
    QTest::addColumn<bool>("measured");
    QTest::addColumn<bool>("calibrated");
    QTest::addColumn<int>("record_at");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("enabled");

    QTest::newRow("one LAN display without record")
        << 1 << false << false << false << -1 << 0 << QStringList{"actionVerify_Monitor_Firmware"};
    QTest::newRow("one RS-232 display")
        << 1 << true << false << false << -1 << 0
        << QStringList{"actionVerify_Monitor_Firmware", "actionVerify_RS232_COM_Port"};
    QTest::newRow("two displays, the other one measured and calibrated")
        << 2 << false << true << true << 1 << 0
        << QStringList{"actionResetMeasurementsAll", "actionResetCalibrationAll", "actionRestoreCalibrationAll",
                       "actionTile_Matrix_Wizard", "actionSet_Calibration_Order", "actionVerify_Monitor_Firmware"};
    QTest::newRow("two displays, the selected one measured and calibrated")
        << 2 << false << true << true << 1 << 1
        << QStringList{"actionResetMeasurementsAll",         "actionResetMeasurementsSelected",
                       "actionResetCalibrationAll",          "actionRestoreCalibrationAll",
                       "actionResetCalibrationSelected",     "actionRestoreCalibrationSelected",
                       "actionGenerate_ICC_Display_Profile", "actionTile_Matrix_Wizard",
                       "actionSet_Calibration_Order",        "actionVerify_Monitor_Firmware",
                       "actionCalibration_Target_Offset"};
    QTest::newRow("selected display with a bare record")
        << 2 << false << false << false << 0 << 0
        << QStringList{"actionTile_Matrix_Wizard", "actionSet_Calibration_Order", "actionVerify_Monitor_Firmware",
                       "actionCalibration_Target_Offset"};
}

void tst_main_window_commands::enable_rules()
{
    QFETCH(int, displays);
    QFETCH(bool, rs232);
    QFETCH(bool, measured);
    QFETCH(bool, calibrated);
    QFETCH(int, record_at);
    QFETCH(int, selected);
    QFETCH(QStringList, enabled);

    Tessaline &window = m_fixture->window();
    wall().create_wall(displays, 1);
    if (rs232) {
        for (int index = 0; index < displays; ++index) {
            display_layout_item item;
            wall().layout().get_item(index, item);
            item.connection_type = display_layout_item::kRs232;
            wall().layout().set_item(index, item, false);
        }
    }
    if (record_at >= 0) {
        CAdjustValue record;
        if (measured)
            record.measurements.measurement_date_time = kWhen;
        if (calibrated)
            record.SetCalibrationDateTime(kWhen);
        wall().store_record(record_at, record);
    }
    // The store's change signal alone brings the actions up to date.
    window.selection_changed(selected);
    wall().layout().update_layout();
    QCOMPARE(enabled_actions(window), enabled);
}

void tst_main_window_commands::identify_in_standby_shows_message_315()
{
    wall_fixture display(kAddress);
    QVERIFY_FIXTURE(display);
    display.wall.with_display(display.display, [](sim_display &d) { d.apply_model(kModel); });
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1, kAddress);
    window.power_on_display(0, 0);
    QSignalSpy ports(&monitor(), &basic_monitor::com_port_changed);

    modal_box_answerer boxes({QMessageBox::Ok});
    window.identify_display(0);
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY2(boxes.seen().first().text.contains(string_resource(315)), qPrintable(boxes.seen().first().text));
    QVERIFY(link_released(ports));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(display.frames() > 0);
}

void tst_main_window_commands::display_commands_reach_the_display()
{
    wall_fixture display(kAddress);
    QVERIFY_FIXTURE(display);
    display.wall.with_display(display.display, [](sim_display &d) { d.apply_model(kModel); });
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1, kAddress);
    QSignalSpy ports(&monitor(), &basic_monitor::com_port_changed);
    modal_box_answerer boxes;

    window.power_on_display(0, 0);
    QVERIFY(!display.wall.with_display(display.display, [](sim_display &d) { return d.video.power_on; }));
    QVERIFY(link_released(ports));
    window.power_on_display(0, 1);
    QVERIFY(display.wall.with_display(display.display, [](sim_display &d) { return d.video.power_on; }));
    window.identify_display(0);
    window.set_osd_orientation(0, 1);
    QCOMPARE(display.wall.with_display(display.display,
                                       [](sim_display &d) { return d.controls.value(control_code::kOsdOrientation); }),
             quint16(1));
    QVERIFY(link_released(ports));
    QVERIFY(boxes.seen().isEmpty());
    for (const sim_log_entry &frame : display.wall.log())
        QCOMPARE(frame.destination, 'A');
}

void tst_main_window_commands::display_command_failure_is_shown_and_the_link_released()
{
    // Nobody listens at the display's address.
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1, loopback_block::address(2));
    QSignalSpy ports(&monitor(), &basic_monitor::com_port_changed);
    modal_box_answerer boxes({QMessageBox::Ok});
    window.power_on_display(0, 1);
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY(link_released(ports));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // An index outside the layout does nothing.
    window.identify_display(5);
    QCOMPARE(boxes.seen().size(), 1);
}

void tst_main_window_commands::icc_profile_of_the_selected_display_data()
{
    QTest::addColumn<int>("gamma_type");
    QTest::addColumn<double>("gamma");
    QTest::newRow("power curve 2.4") << int(CTargetValue::kGammaPower) << 2.4;
    QTest::newRow("the target's own curve, 2.6") << int(CTargetValue::kGammaCurve) << 2.6;
    QTest::newRow("other curves: 2.2") << int(CTargetValue::kGammaDicom) << 2.2;
}

void tst_main_window_commands::icc_profile_of_the_selected_display()
{
    QFETCH(int, gamma_type);
    QFETCH(double, gamma);
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1);
    wall().store_record(0, calibrated_record(), QStringLiteral("P555"), QStringLiteral("7A012345"));
    CTargetValue target = wall().controller().getTarget();
    target.SetGammaType(gamma_type);
    if (gamma_type == CTargetValue::kGammaPower)
        target.SetGamma(gamma);
    if (gamma_type == CTargetValue::kGammaCurve) {
        CSpline curve;
        curve.Init(CSpline::kCatmullRom, 11, 0.0, 1.0);
        curve.SetGamma(gamma);
        target.SetCurve(curve);
    }
    wall().controller().setTarget(target);

    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("wall.icm"));
    m_fixture->answer_file_dialog(path);
    modal_box_answerer boxes;
    window.on_actionGenerate_ICC_Display_Profile_triggered();
    QVERIFY(boxes.seen().isEmpty());

    const file_dialog_request asked = m_fixture->file_dialogs().last();
    QCOMPARE(asked.kind, file_dialog_request::save_file);
    QCOMPARE(asked.caption, string_resource(24));
    QCOMPARE(asked.filter, string_resource(23));
    QCOMPARE(asked.directory, common_documents_folder() + QStringLiteral("/P555 7A012345.icm"));

    take_lcms_errors();
    const LcmsProfile profile = open_with_lcms(path);
    QVERIFY(profile);
    char description[64] = {};
    QVERIFY(cmsGetProfileInfoASCII(profile.get(), cmsInfoDescription, "en", "US", description, sizeof description));
    QCOMPARE(QString::fromLatin1(description), QStringLiteral("P555 7A012345"));
    // Stored as s15.16 numbers and adapted to D50 and back: 1e-3 in xy.
    constexpr double kXyTolerance = 1e-3;
    const std::pair<cmsTagSignature, CCIEXYZ> expected[] = {{cmsSigMediaWhitePointTag, kCorrectedWhite},
                                                            {cmsSigRedColorantTag, kRed},
                                                            {cmsSigGreenColorantTag, kGreen},
                                                            {cmsSigBlueColorantTag, kBlue}};
    for (const auto &[tag, xyz] : expected) {
        const CIExy read = unadapted_xy(profile, tag);
        const CIExy want = xyz.ToCIExy();
        QVERIFY2(qAbs(read.x - want.x) < kXyTolerance && qAbs(read.y - want.y) < kXyTolerance,
                 qPrintable(QStringLiteral("%1 %2 against %3 %4").arg(read.x).arg(read.y).arg(want.x).arg(want.y)));
    }
    const cmsCIEXYZ *luminance = lcms_xyz(profile, cmsSigLuminanceTag);
    QVERIFY(luminance);
    QVERIFY(qAbs(luminance->Y - kCorrectedWhite.Y) < 1e-3); // s15.16
    const auto *trc = static_cast<cmsToneCurve *>(cmsReadTag(profile.get(), cmsSigGreenTRCTag));
    QVERIFY(trc);
    for (double x : {0.25, 0.5, 0.75}) {
        const double expected = gamma_type == CTargetValue::kGammaCurve ? target.GetCurve().Evaluate(x)
                                                                        : std::pow(x, gamma);
        const double read = cmsEvalToneCurveFloat(trc, float(x));
        // A gamma is kept as u8.8 (2.4 reads 2.3984), a curve in 256 16-bit
        // samples: 2e-3 covers either.
        QVERIFY2(qAbs(read - expected) < 2e-3, qPrintable(QStringLiteral("%1: %2 against %3").arg(x).arg(read).arg(expected)));
    }
    const QString errors = take_lcms_errors();
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void tst_main_window_commands::icc_file_name_extension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow(".icm kept") << "a.icm" << "a.icm";
    QTest::newRow(".icc kept") << "a.icc" << "a.icc";
    QTest::newRow("capitals kept") << "a.ICC" << "a.ICC";
    QTest::newRow("mixed case kept") << "a.IcM" << "a.IcM";
    QTest::newRow("no extension") << "a" << "a.icm";
    QTest::newRow("another extension") << "a.pdf" << "a.pdf.icm";
}

void tst_main_window_commands::icc_file_name_extension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1);
    wall().store_record(0, calibrated_record());
    QTemporaryDir files;
    m_fixture->answer_file_dialog(files.filePath(chosen));
    modal_box_answerer boxes;
    window.on_actionGenerate_ICC_Display_Profile_triggered();
    QCOMPARE(QDir(files.path()).entryList(QDir::Files), QStringList{written});
    QVERIFY(boxes.seen().isEmpty());
}

void tst_main_window_commands::icc_needs_a_record_and_a_name()
{
    Tessaline &window = m_fixture->window();
    wall().create_wall(2, 1);
    wall().store_record(1, calibrated_record());
    modal_box_answerer boxes;
    window.on_actionGenerate_ICC_Display_Profile_triggered(); // display 0 has no record
    QVERIFY(m_fixture->file_dialogs().isEmpty());
    window.selection_changed(1);
    window.on_actionGenerate_ICC_Display_Profile_triggered(); // the dialog cancelled
    QCOMPARE(m_fixture->file_dialogs().size(), 1);
    QVERIFY(boxes.seen().isEmpty());
}

void tst_main_window_commands::icc_failed_write_is_shown()
{
    Tessaline &window = m_fixture->window();
    wall().create_wall(1, 1);
    wall().store_record(0, calibrated_record());
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("no such folder/wall.icm"));
    m_fixture->answer_file_dialog(path);
    modal_box_answerer boxes({QMessageBox::Ok});
    window.on_actionGenerate_ICC_Display_Profile_triggered();
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY2(boxes.seen().first().text.contains(string_resource(127)), qPrintable(boxes.seen().first().text));
    QVERIFY(!QFile::exists(path));
}

void tst_main_window_commands::verify_commands_run_one_job_per_enabled_display_data()
{
    QTest::addColumn<bool>("firmware");
    QTest::addColumn<int>("task");
    QTest::addColumn<QString>("title");
    QTest::newRow("Verify Monitor Firmware") << true << int(JOB_TASK_CHECK_CAPABILITIES_FULL)
                                             << "Verifying Monitor Firmware";
    QTest::newRow("Verify RS232 COM Port") << false << int(JOB_TASK_LUT_READ_TEST) << "Verifying RS232 COM Port";
}

// Three displays on the simulated wall, the middle one disabled.
void tst_main_window_commands::verify_commands_run_one_job_per_enabled_display()
{
    QFETCH(bool, firmware);
    QFETCH(int, task);
    QFETCH(QString, title);
    simulated_wall sim;
    sim.set_time_scale(0.0);
    int handles[3] = {-1, -1, -1};
    for (int index = 0; index < 3; ++index) {
        const int endpoint = sim.add_lan_endpoint(loopback_block::address(index + 1));
        QVERIFY2(endpoint >= 0, qPrintable(loopback_block::claim_error()));
        // The wall's monitor IDs count from 1 in display order.
        handles[index] = sim.add_display(endpoint, char('A' + index));
        sim.with_display(handles[index], [&](sim_display &d) {
            d.apply_model(kModel);
            d.serial_number = QByteArray("SN") + QByteArray::number(index);
        });
    }
    auto *pool = new QueryThreadPool;
    QList<job_list_item> results;
    QObject recording; // goes before the pool, which the fixture destroys
    connect(pool, &QueryThreadPool::send_job_results, &recording,
            [&](const job_list_item &job) { results << job; });
    wall().controller().setQueryThreadPool(pool);
    Tessaline &window = m_fixture->window();
    wall().create_wall(3, 1, loopback_block::address(1));
    display_layout_item middle;
    wall().layout().get_item(1, middle);
    middle.enabled = false;
    wall().layout().set_item(1, middle, false);
    QSignalSpy refreshed(&window, &Tessaline::out_updateControlsStatus);

    progress_dialog_watch watch;
    if (firmware)
        window.verify_Monitor_Firmware();
    else
        window.verify_RS232_COM_Port();

    QCOMPARE(results.size(), 2);
    QList<int> positions;
    for (const job_list_item &job : results) {
        positions << job.position;
        QCOMPARE(job.task_list, QList<qint32>{task});
        QCOMPARE(job.job_parameters.error_code, 0);
    }
    QVERIFY2(watch.title().contains(title), qPrintable(watch.title()));
    QCOMPARE(watch.closed_by_watch(), 0);
    std::sort(positions.begin(), positions.end());
    QCOMPARE(positions, (QList<int>{0, 2}));
    QVERIFY(refreshed.count() >= 1);
    for (const sim_log_entry &frame : sim.log())
        QVERIFY(frame.endpoint != 1); // nothing reached the disabled display
}

void tst_main_window_commands::missing_users_guide_gives_a_notice()
{
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Users Guide.pdf")));
    QList<QUrl> opened;
    replace_url_opener([&opened](const QUrl &url) { opened << url; return true; });
    auto restore = qScopeGuard([] { replace_url_opener({}); });
    Tessaline &window = m_fixture->window();
    modal_box_answerer boxes({QMessageBox::Ok});
    window.on_actionUser_s_Guide_triggered();
    QCOMPARE(boxes.seen().size(), 1);
    QVERIFY(boxes.seen().first().text.startsWith(QStringLiteral("Unable to open the User's Guide file.")));
    QVERIFY(opened.isEmpty()); // a desktop reports success even for a missing file
}

// The guide beside the program goes to the desktop's PDF viewer; when the
// desktop cannot open it, the notice says so.
void tst_main_window_commands::users_guide_opens_the_file_beside_the_program_data()
{
    QTest::addColumn<bool>("desktop_opens");
    QTest::newRow("opened") << true;
    QTest::newRow("no viewer") << false;
}

void tst_main_window_commands::users_guide_opens_the_file_beside_the_program()
{
    QFETCH(bool, desktop_opens);
    const QString guide = QCoreApplication::applicationDirPath() + QStringLiteral("/Users Guide.pdf");
    QFile file(guide);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
    file.close();
    auto remove = qScopeGuard([&guide] { QFile::remove(guide); });
    QList<QUrl> opened;
    replace_url_opener([&](const QUrl &url) { opened << url; return desktop_opens; });
    auto restore = qScopeGuard([] { replace_url_opener({}); });

    Tessaline &window = m_fixture->window();
    modal_box_answerer boxes({QMessageBox::Ok});
    window.on_actionUser_s_Guide_triggered();
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(guide)});
    QCOMPARE(opened.first().toString(), QStringLiteral("file://") + guide);
    QCOMPARE(boxes.seen().size(), desktop_opens ? 0 : 1);
}

void tst_main_window_commands::about_runs_modally_over_the_window()
{
    Tessaline &window = m_fixture->window();
    bool seen = false;
    on_next_dialog<KQ_About_Dialog>([&](KQ_About_Dialog &dialog) {
        seen = dialog.isModal() && dialog.parentWidget() == &window;
    });
    window.on_actionAbout_triggered();
    QVERIFY(seen);
}

QTEST_MAIN(tst_main_window_commands)
#include "tst_main_window_commands.moc"
