// What the main window installs below itself, driven through the window on
// simulated displays: a tile's offset action, the Actions dock's visual trim
// and uniformity update, and the Connection dock's network search.
#include "app/controller/MasterControl.h"
#include "app/services/preferences.h"
#include "app/window/Tessaline.h"
#include "calibration/calibration_task.h"
#include "calibration/ui/KQ_main_controller_dock_widget.h"
#include "colour/CColorTemperature.h"
#include "colour/CTargetValue.h"
#include "dialogs/KQ_update_uniformity_correction_dialog.h"
#include "dialogs/kq_calibration_offset_dialog.h"
#include "dialogs/kq_visual_trim_dialog.h"
#include "display_protocol/NetworkInterfaceCard.h"
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/PJSearchUdp.h"
#include "display_protocol/control_codes.h"
#include "jobs/job_task_type.h"
#include "layout_setup/CProjectorBrowseDlg.h"
#include "progress_dialog_watch.h"
#include "resources/tessaline_resources.h"
#include "tests/dialogs/adjustment_wall.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/support/modal_box_answerer.h"
#include "views/wall/KQ_central_display_widget.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

using namespace control_code;

const QDateTime kCalibrated(QDate(2026, 1, 2), QTime(3, 4));
constexpr int kPatternControl = 0x2C3; // 1 off, 2 on
// Within what the simulated panel gives (450 cd/m² at full white).
constexpr double kCalibratedLuminance = 200.0;
// The search's nominal waits at a fiftieth, and the quiet that ends
// collecting answers, in real time.
constexpr double kSearchTimeScale = 0.02;
constexpr qint64 kAnswerQuietMs = 1000;
// A box nobody answers is closed after this long instead of hanging the test.
constexpr int kBoxPatienceMs = 3000;

// A lookup-table calibration of a display without an engine, not trimmed.
CAdjustValue table_calibration()
{
    CAdjustValue record;
    record.calibration_mode = CAdjustValue::kModeLookupTable;
    record.gain = {{0.8, 0.9, 1.0}};
    record.backlight_setting = 60;
    record.backlight_maximum = 100;
    record.backlight_minimum = 10;
    record.visual_trim_multiplier = {{1.0, 1.0, 1.0}};
    record.SetCalibrationDateTime(kCalibrated);
    return record;
}

// A display with an engine and the uniformity update, on its factory
// uniformity reference.
CAdjustValue engine_with_factory_uniformity()
{
    calibration_history_item factory;
    factory.type = 2;
    factory.date_time = kCalibrated;
    CAdjustValue record;
    record.engine_capability_word = 1;
    record.capability_flags = 1;
    record.SetCalibrationHistory({factory});
    return record;
}

template <typename Widget>
Widget *child(QObject *parent, const char *name)
{
    auto *widget = parent->findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// The ways out of a dialog without OK.
enum leaving_kind { kCancelButton, kEscapeKey, kWindowClosed };

void leave(QDialog *dialog, int how)
{
    switch (how) {
    case kCancelButton:
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Cancel)->click();
        break;
    case kEscapeKey:
        QTest::keyClick(dialog, Qt::Key_Escape);
        break;
    default:
        dialog->close();
        break;
    }
}

QAction *action_named(QWidget *widget, const QString &text)
{
    for (QAction *action : widget->actions())
        if (action->text() == text)
            return action;
    qFatal("no action %s", qPrintable(text));
    return nullptr;
}

// The main window on the simulated displays of |wall|. The window starts
// with a wall of its own, so the displays are laid out again afterwards and
// the wall view rebuilt on them. The controller owns the window; it goes
// before the controller.
struct window_on_wall
{
    window_on_wall(int count, const QByteArray &model) : wall(count, model)
    {
        if (!wall.ok)
            return;
        auto made = std::make_unique<Tessaline>();
        window = made.get();
        controller().setMainWindow(std::move(made));
        wall.lay_out();
        window->create_central_widget();
    }
    ~window_on_wall() { controller().setMainWindow(nullptr); }

    MasterControl &controller() { return wall.f.controller().controller(); }
    KQ_main_controller_dock_widget &actions() { return *window->controller_dock(); }
    KQ_display_layout_widget *tile(int index) { return window->wall_view()->tiles().at(index); }
    // The operator's click on a tile, with the docks' states brought up to date.
    void select(int index)
    {
        tile(index)->click();
        window->updateControlsStatus();
    }

    adjustment_wall wall;
    Tessaline *window = nullptr;
};

} // namespace

class tst_main_window_hooks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QCoreApplication::setOrganizationName(QStringLiteral("VARKEL"));
        QCoreApplication::setApplicationName(QStringLiteral("Tessaline"));
        tessaline_init_resources();
        install_calibration_task();
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void offset_action_edits_that_display_data();
    void offset_action_edits_that_display();
    void visual_trim_rewrites_the_table_from_the_trimmed_record_data();
    void visual_trim_rewrites_the_table_from_the_trimmed_record();
    void uniformity_update_opens_for_the_selected_display();
    void search_puts_the_chosen_address_into_the_connection_dock();
};

void tst_main_window_hooks::offset_action_edits_that_display_data()
{
    QTest::addColumn<int>("leaving");
    QTest::newRow("Cancel") << int(kCancelButton);
    QTest::newRow("Esc") << int(kEscapeKey);
    QTest::newRow("window closed") << int(kWindowClosed);
}

void tst_main_window_hooks::offset_action_edits_that_display()
{
    QFETCH(int, leaving);
    window_on_wall w(2, "VW-5530Q");
    QVERIFY2(w.wall.ok, qPrintable(w.wall.f.error()));
    w.wall.store(1, table_calibration());
    modal_box_answerer stray({}, kBoxPatienceMs);
    progress_dialog_watch watch;
    w.wall.clear_log();

    QString title;
    QWidget *parent = nullptr;
    bool pattern_on = false;
    when_modal_shows<kq_calibration_offset_dialog>([&](kq_calibration_offset_dialog *dialog) {
        title = dialog->windowTitle();
        parent = dialog->parentWidget();
        child<QCheckBox>(dialog, "show_calibrated_white_test_pattern_checkBox")->setChecked(true);
        pattern_on = w.wall.control(1, kPatternControl) == 2;
        leave(dialog, leaving);
    });
    action_named(w.tile(1), QStringLiteral("&Edit Calibration Target Offset..."))->trigger();

    QCOMPARE(title, QStringLiteral("Calibration Target Offset for display # 2"));
    QCOMPARE(parent, static_cast<QWidget *>(w.tile(1)));
    // The pattern goes on and, however the dialog is left, off again, as
    // display jobs.
    QVERIFY(pattern_on);
    QVERIFY2(watch.title().contains(QStringLiteral("Setting Test Patterns")), qPrintable(watch.title()));
    QCOMPARE(watch.closed_by_watch(), 0);
    QCOMPARE(w.wall.control(1, kPatternControl), 1);
    QVERIFY(w.wall.frames(0).isEmpty());
    QVERIFY(stray.seen().isEmpty());
}

void tst_main_window_hooks::visual_trim_rewrites_the_table_from_the_trimmed_record_data()
{
    QTest::addColumn<bool>("evaluate");
    QTest::addColumn<bool>("tone_curve");
    QTest::newRow("pattern switched off") << false << false;
    QTest::newRow("calibrated white shown") << true << false;
    QTest::newRow("tone curve of a calibration run") << false << true;
}

void tst_main_window_hooks::visual_trim_rewrites_the_table_from_the_trimmed_record()
{
    QFETCH(bool, evaluate);
    QFETCH(bool, tone_curve);
    window_on_wall w(2, "VW-5530Q");
    QVERIFY2(w.wall.ok, qPrintable(w.wall.f.error()));
    for (int i = 0; i < 2; ++i) {
        w.wall.store(i, table_calibration());
        w.wall.on_display(i, [](sim_display &d) {
            d.controls.set(kColorMode, 6, 14);
            d.controls.set(kEngineSwitch, 1, 2);
        });
    }
    CTargetValue target = w.controller().getTarget();
    if (tone_curve) {
        // The display's record as the wall's own calibration leaves it: its
        // correction curves come from measurements.
        target.SetWhitePoint(CColorTemperature(CIExy{0.3127, 0.3290}));
        target.SetIntensityMode(CTargetValue::kIntensitySpecified);
        target.SetSpecifiedLuminance(kCalibratedLuminance);
        target.SetGammaType(CTargetValue::kGammaPower);
        target.SetGamma(2.2);
        w.controller().setTarget(target);
        w.controller().getPreferences()->SetCalibrationMethod(CAdjustValue::kModeLookupTable);
        w.controller().getPreferences()->SetUseQuillonEngine(false);
        QVERIFY2(w.wall.f.attach_sensor() && w.wall.f.place_sensor(w.wall.displays.at(1)),
                 qPrintable(w.wall.f.error()));
        const auto calibration = w.wall.f.run(w.wall.f.job(w.wall.displays.at(1), {JOB_TASK_CALIBRATE}));
        QCOMPARE(calibration->error_code(), 0);
        QCOMPARE(w.wall.record(1).calibration_mode, qint16(CAdjustValue::kModeLookupTable));
    } else {
        // Without a tone curve the table is the trimmed gains alone.
        target.SetGammaType(CTargetValue::kGammaNative);
        w.controller().setTarget(target);
    }
    w.select(1);
    w.actions().set_evaluate_calibration_mode_checkBox(evaluate);
    auto *trim = child<QPushButton>(&w.actions(), "visual_trim_display_pushButton");
    QVERIFY(trim->isEnabled());
    const CAdjustValue before = w.wall.record(1);
    modal_box_answerer stray({}, kBoxPatienceMs);
    progress_dialog_watch watch;
    w.wall.clear_log();

    bool trimmed = false;
    when_modal_shows<kq_visual_trim_dialog>([&](kq_visual_trim_dialog *dialog) {
        auto *red = child<QDoubleSpinBox>(dialog, "custom_white_point_RGB_Red_doubleSpinBox");
        red->setValue(red->value() * 0.9);
        trimmed = QTest::qWaitFor([dialog] { return !dialog->write_pending(); }, 30000);
        dialog->onaccept();
    });
    trim->click();

    QVERIFY(trimmed);
    QVERIFY2(watch.title().contains(QStringLiteral("Updating display calibration LUTs")), qPrintable(watch.title()));
    QCOMPARE(watch.closed_by_watch(), 0);
    const CAdjustValue after = w.wall.record(1);
    QVERIFY(after.visual_trim_flags & CAdjustValue::kTrimGains);

    basic_monitor link;
    QCOMPARE(link.open_link(loopback_block::address(2), PDCommProtocol::kLinkLan), 0);
    link.set_monitor_id('A');
    QVector<int> expected, untrimmed;
    QCOMPARE(link.build_lut_from_calibration(after, target, expected), 0);
    QCOMPARE(link.build_lut_from_calibration(before, target, untrimmed), 0);
    QVERIFY(expected != untrimmed);
    const QVector<int> shown =
        w.wall.on_display(1, [&](sim_display &d) { return d.lut.table(expected.size() / 3); });
    QCOMPARE(shown, expected);
    QCOMPARE(w.wall.control(1, kPatternControl), evaluate ? 2 : 1);
    QVERIFY(w.wall.frames(0).isEmpty());
    QVERIFY(stray.seen().isEmpty());
}

void tst_main_window_hooks::uniformity_update_opens_for_the_selected_display()
{
    window_on_wall w(2, "VW-5540QE");
    QVERIFY2(w.wall.ok, qPrintable(w.wall.f.error()));
    for (int i = 0; i < 2; ++i) {
        w.wall.store(i, engine_with_factory_uniformity());
        w.wall.on_display(i, [](sim_display &d) { d.controls.set(kEngineSwitch, 2, 2); });
    }
    w.select(1);
    auto *update = child<QPushButton>(&w.actions(), "update_uniformity_display_pushButton");
    QVERIFY(update->isEnabled());
    modal_box_answerer stray({}, kBoxPatienceMs);
    w.wall.clear_log();

    QString status;
    when_modal_shows<KQ_update_uniformity_correction_dialog>([&](KQ_update_uniformity_correction_dialog *dialog) {
        status = child<QLabel>(dialog, "status_label")->text();
        child<QPushButton>(dialog, "done_pushButton")->click();
    });
    update->click();

    QVERIFY2(status.contains(QStringLiteral("original factory uniformity calibration")), qPrintable(status));
    QVERIFY(!w.wall.frames(1).isEmpty());
    QVERIFY(w.wall.frames(0).isEmpty());
    QVERIFY(w.wall.link_released());
    QVERIFY(stray.seen().isEmpty());
}

void tst_main_window_hooks::search_puts_the_chosen_address_into_the_connection_dock()
{
    PJSearchUdp::set_search_port(loopback_block::search_port());
    window_on_wall w(3, "VW-5520L");
    QVERIFY2(w.wall.ok, qPrintable(w.wall.f.error()));
    w.wall.f.wall().set_search_port(loopback_block::search_port());
    QVERIFY(w.wall.f.wall().set_broadcast_search(true));
    wait_service::set_time_scale(kSearchTimeScale);
    wait_service::set_io_timeout_floor_ms(kAnswerQuietMs);
    CProjectorBrowseDlg::reset_search_ticks_for_tests();
    QNetworkAddressEntry own;
    own.setIp(QHostAddress(loopback_block::address(254)));
    own.setNetmask(QHostAddress(QStringLiteral("255.0.0.0")));
    own.setBroadcast(QHostAddress(QStringLiteral("127.255.255.255")));
    w.window->networkInterfaces()->set_source(
        [own] { return QList<network_interface_source>{{QStringLiteral("Test loopback"), true, {own}}}; });

    // The layout uses the first two displays' addresses; it knows the first
    // display also by its MAC address; the third display is elsewhere.
    display_layout_item third;
    w.wall.layout().get_item(2, third);
    third.connection_address = loopback_block::address(200);
    w.wall.layout().set_item(2, third, true);
    QStringList mac;
    for (quint8 byte : w.wall.f.wall().mac(w.wall.displays.at(0)))
        mac << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    CAdjustValue known;
    known.SetMacAddress(mac.join(QLatin1Char('-')));
    w.wall.store(0, known);
    w.select(0);
    modal_box_answerer stray({}, kBoxPatienceMs);

    const QString used_tip = QStringLiteral("IP address already used in current layout");
    const QString known_tip = QStringLiteral("Display already exists in current layout");
    QStringList addresses, address_tips, name_tips;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<CProjectorBrowseDlg *>(QApplication::activeModalWidget());
        if (!dialog || dialog->findChild<QProgressDialog *>())
            return;
        auto *table = child<QTableWidget>(dialog, "tableWidget");
        if (table->rowCount() < 3)
            return;
        poll.stop();
        for (int row = 0; row < table->rowCount(); ++row) {
            addresses << table->item(row, 0)->text();
            address_tips << table->item(row, 0)->toolTip();
            name_tips << table->item(row, 1)->toolTip();
        }
        table->selectRow(addresses.indexOf(loopback_block::address(3)));
        child<QPushButton>(dialog, "ok_pushButton")->click();
    });
    poll.start(5);
    QWidget *connection = w.window->dock_content(kConnectionDock);
    QTimer patience;
    patience.setSingleShot(true);
    connect(&patience, &QTimer::timeout, [] {
        if (auto *dialog = qobject_cast<CProjectorBrowseDlg *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    patience.start(30000);
    child<QPushButton>(connection, "lan_search_pushButton")->click();
    patience.stop();

    QCOMPARE(addresses.size(), 3);
    for (int host = 1; host <= 3; ++host) {
        const int row = addresses.indexOf(loopback_block::address(host));
        QVERIFY(row >= 0);
        QCOMPARE(address_tips.at(row), host < 3 ? used_tip : QString());
        QCOMPARE(name_tips.at(row), host == 1 ? known_tip : QString());
    }
    QCOMPARE(child<QLineEdit>(connection, "ip_address_lineEdit")->text(), loopback_block::address(3));
    QVERIFY(child<QPushButton>(connection, "update_pushButton")->isEnabled());
    QVERIFY(stray.seen().isEmpty());
}

QTEST_MAIN(tst_main_window_hooks)
#include "tst_main_window_hooks.moc"
