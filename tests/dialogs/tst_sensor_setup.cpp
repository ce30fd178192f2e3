#include "app/services/preferences.h"
#include "dialogs/KQ_Sensor_Zero_Calibration_Dialog.h"
#include "dialogs/display_light_reading.h"
#include "dialogs/kq_color_sensor_setup_dialog.h"
#include "dialogs/sensor_setup_state.h"
#include "fake_sensor.h"
#include "modal_answer.h"
#include "sensors/CTargetSensor.h"
#include "simulated_instrument_control.h"
#include "simulator/light/light_channel.h"
#include "tests/support/headless_controller.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kReady = QStringLiteral("The color sensor is now ready to take measurements.");
const QString kClickOk = QStringLiteral("<br><br>Click <b>OK</b> when complete.");
const QString kNeedsCalibration = QStringLiteral("The color sensor needs to be zero calibrated.<br><br>");
const QString kDisplayKey = QStringLiteral("127.0.0.1/1");

using view = sensor_setup_state::view;

QPushButton *ok_button(QDialog *dialog)
{
    return dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok);
}

QString message(QDialog *dialog)
{
    return dialog->findChild<QLabel *>(QStringLiteral("sensor_zero_calibration_message_label"))->text();
}

} // namespace

class tst_sensor_setup : public QObject
{
    Q_OBJECT

    std::unique_ptr<headless_controller> m_wall;
    std::unique_ptr<simulated_instrument_control> m_control;
    QTemporaryDir m_light;

    // The controller with the simulated instrument of |kind| (its library
    // |library|) attached, configured with |settings|.
    void attach(int kind, const char *library, const QJsonObject &settings)
    {
        m_wall = std::make_unique<headless_controller>(headless_controller::simulated_instruments);
        m_control = std::make_unique<simulated_instrument_control>(headless_controller::simulated_instrument_folder()
                                                                   + QLatin1Char('/') + QLatin1String(library));
        QVERIFY(m_control->isLoaded());
        m_control->reset();
        light_channel::set_channel_folder(m_light.path());
        QJsonObject all = settings;
        all.insert(QStringLiteral("light_folder"), m_light.path());
        all.insert(QStringLiteral("time_scale"), 0.0);
        all.insert(QStringLiteral("display"), kDisplayKey);
        all.insert(QStringLiteral("device_count"), 1);
        QVERIFY2(m_control->configure(all), qPrintable(m_control->lastError()));
        QCOMPARE(m_wall->controller().getTargetSensor()->SetSensorType(kind), 0);
        m_control->clearCalls();
    }

    void configure(const QJsonObject &settings) { QVERIFY2(m_control->configure(settings), qPrintable(m_control->lastError())); }

    QList<bool> led_calls() const
    {
        QList<bool> leds;
        for (const QJsonValue &call : m_control->calls()) {
            const QJsonObject object = call.toObject();
            // i1d3SetLEDControl(mode, off seconds, on seconds, count): lit while it flashes.
            if (object.value(QStringLiteral("call")).toString() == QLatin1String("i1d3SetLEDControl"))
                leds << (object.value(QStringLiteral("args")).toArray().at(3).toInt() != 0);
        }
        return leds;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_light.isValid());
        install_color_sensor_setup_dialog();
    }

    void cleanup()
    {
        cancel_pending_modal_answers();
        m_wall.reset();
        m_control.reset();
    }

    // --- the state machine on a sensor the test controls ---

    void needed_data()
    {
        QTest::addColumn<bool>("requires");
        QTest::addColumn<bool>("calibrated");
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("selector");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("ambient");
        QTest::addColumn<bool>("needed");
        QTest::newRow("ready, no selector") << true << true << false << false << 0 << false << false;
        QTest::newRow("not calibrated") << true << false << false << false << 0 << false << true;
        QTest::newRow("forced") << true << true << true << false << 0 << false << true;
        QTest::newRow("never needs calibration") << false << false << true << false << 0 << false << false;
        QTest::newRow("selector at display") << false << false << false << true << 0 << false << false;
        QTest::newRow("selector at ambient") << false << false << false << true << 3 << false << true;
        QTest::newRow("ambient wanted, at ambient") << false << false << false << true << 3 << true << false;
        QTest::newRow("ambient wanted, at display") << false << false << false << true << 0 << true << true;
        QTest::newRow("selector unreadable") << false << false << false << true << -1000 << false << true;
    }

    void needed()
    {
        QFETCH(bool, requires);
        QFETCH(bool, calibrated);
        QFETCH(bool, force);
        QFETCH(bool, selector);
        QFETCH(int, position);
        QFETCH(bool, ambient);
        fake_sensor sensor;
        sensor.requires = requires;
        sensor.setCalibrated(calibrated);
        sensor.hasSelector = selector;
        sensor.position = position;
        QTEST(sensor_setup_state::needed(sensor, ambient, force), "needed");
    }

    void no_selector_calibrates_then_shows_ready()
    {
        fake_sensor sensor;
        sensor_setup_state state(guarded_sensor(&sensor, nullptr), false, false, kNeedsCalibration);
        const view first = state.initial_view();
        QCOMPARE(first.picture, view::file_picture);
        QCOMPARE(first.picture_file, sensor.info.calibrationPicture);
        QCOMPARE(*first.text, kNeedsCalibration + sensor.info.calibrationMessage + kClickOk);

        sensor_setup_state::ok_result result = state.ok();
        QCOMPARE(sensor.calibrations, 1);
        QCOMPARE(result.result, sensor_setup_state::ok_result::stay);
        QCOMPARE(*result.shown.text, kReady);
        QCOMPARE(result.shown.picture, view::clear_picture);
        result = state.ok();
        QCOMPARE(result.result, sensor_setup_state::ok_result::accept);
        QCOMPARE(sensor.calibrations, 1);
    }

    void failed_calibration_stays_and_retries()
    {
        fake_sensor sensor;
        sensor.calibrateResults = {-1002};
        sensor_setup_state state(guarded_sensor(&sensor, nullptr), false, false, kNeedsCalibration);
        sensor_setup_state::ok_result result = state.ok();
        QCOMPARE(result.error, -1002);
        QCOMPARE(result.result, sensor_setup_state::ok_result::stay);
        QVERIFY(!result.shown.text);
        result = state.ok();
        QCOMPARE(result.error, 0);
        QCOMPARE(sensor.calibrations, 2);
        QCOMPARE(*result.shown.text, kReady);
    }

    void selector_calibration_then_turn_back()
    {
        fake_sensor sensor;
        sensor.hasSelector = true;
        sensor.position = sensor_setup_state::kCalibrationPosition;
        sensor_setup_state state(guarded_sensor(&sensor, nullptr), false, false, kNeedsCalibration);
        QCOMPARE(state.initial_view().selector_position, 1);
        QCOMPARE(*state.initial_view().ok_enabled, true);

        sensor_setup_state::ok_result result = state.ok();
        QCOMPARE(sensor.calibrations, 1);
        QCOMPARE(state.wanted_position(), 0);
        QCOMPARE(*result.shown.text, sensor.info.selectorMessage + kClickOk);
        QCOMPARE(result.shown.selector_position, 0);
        QCOMPARE(*result.shown.ok_enabled, false);
        // Still at the calibration position: OK does nothing.
        QCOMPARE(state.ok().result, sensor_setup_state::ok_result::stay);
        QVERIFY(!state.ok().shown.text);
        sensor.position = 0;
        QCOMPARE(*state.selector_settled().ok_enabled, true);
        result = state.ok();
        QCOMPARE(*result.shown.text, kReady);
        QCOMPARE(state.ok().result, sensor_setup_state::ok_result::accept);
    }

    void ambient_is_wanted_after_calibration()
    {
        fake_sensor sensor;
        sensor.hasSelector = true;
        sensor.position = 1;
        sensor_setup_state state(guarded_sensor(&sensor, nullptr), true, false, kNeedsCalibration);
        const sensor_setup_state::ok_result result = state.ok();
        QCOMPARE(state.wanted_position(), 3);
        QCOMPARE(*result.shown.text, sensor.info.beforeAmbientMessage + kClickOk);
    }

    void polled_selector_drives_light_and_ok()
    {
        fake_sensor sensor;
        sensor.requires = false;
        sensor.hasSelector = true;
        sensor.polls = true;
        sensor.position = 3;
        sensor_setup_state state(guarded_sensor(&sensor, nullptr), false, false, QString());
        QVERIFY(state.polls_selector());
        QCOMPARE(*state.initial_view().ok_enabled, false);
        QCOMPARE(*state.initial_view().text, sensor.info.selectorMessage + kClickOk);
        QCOMPARE(*state.poll().ok_enabled, false);
        sensor.position = 0;
        const view there = state.poll();
        QCOMPARE(*there.ok_enabled, true);
        QVERIFY(there.focus_ok);
        QCOMPARE(sensor.leds, (QList<bool>{true, false}));
        QCOMPARE(state.ok().result, sensor_setup_state::ok_result::stay);
        QCOMPARE(state.ok().result, sensor_setup_state::ok_result::accept);
    }

    void zero_calibration_always_calibrates()
    {
        fake_sensor sensor;
        sensor.setCalibrated(true);
        sensor.hasSelector = true;
        sensor.position = 1;
        sensor_setup_state state = sensor_setup_state::zero_calibration(guarded_sensor(&sensor, nullptr),
                                                                        QStringLiteral("Back to measuring."));
        const sensor_setup_state::ok_result result = state.ok();
        QCOMPARE(sensor.calibrations, 1);
        QCOMPARE(*result.shown.text, QStringLiteral("Back to measuring.") + kClickOk);
        QCOMPARE(state.ok().result, sensor_setup_state::ok_result::stay);
        sensor.position = 0;
        QCOMPARE(*state.ok().shown.text, kReady);
        QCOMPARE(state.ok().result, sensor_setup_state::ok_result::accept);
    }

    void a_replaced_sensor_is_never_called()
    {
        auto sensor = std::make_unique<fake_sensor>();
        const guarded_sensor guarded(sensor.get(), nullptr);
        sensor_setup_state state(guarded, false, false, QString());
        sensor.reset();
        QVERIFY(guarded.isNull());
        state.ok(); // never reaches the deleted driver
        CCIEXYZ reading;
        QVERIFY(read_display_light(guarded, 0, reading) != 0);
    }

    void reading_takes_no_negative_light()
    {
        fake_sensor sensor;
        sensor.light = CCIEXYZ(-1.0, -0.5, 2.0);
        CCIEXYZ reading(1, 1, 1);
        QCOMPARE(read_display_light(guarded_sensor(&sensor, nullptr), 2, reading), 0);
        QCOMPARE(reading.Y, 0.0);
        QCOMPARE(reading.X, 0.0);
        QCOMPARE(sensor.displayTypes, QList<int>{102});
        sensor.measureResult = -1003;
        QCOMPARE(read_display_light(guarded_sensor(&sensor, nullptr), 2, reading), -1003);
    }

    // --- the dialog with simulated instruments ---

    void no_sensor_means_no_setup()
    {
        m_wall = std::make_unique<headless_controller>();
        QCOMPARE(run_color_sensor_setup_dialog(false, false, nullptr), -1);
    }

    void signalled_selector_needing_calibration()
    {
        attach(4, "libi1studio.so",
               {{QStringLiteral("selector"), QStringLiteral("calibration")}, {QStringLiteral("calibration_fails"), true}});
        if (QTest::currentTestFailed())
            return;
        QStringList steps;
        when_modal_shows<kq_color_sensor_setup_dialog>([&](kq_color_sensor_setup_dialog *dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Color Sensor Preparation"));
            QVERIFY(message(dialog).startsWith(kNeedsCalibration));
            QTRY_VERIFY(ok_button(dialog)->isEnabled());
            // The calibration fails: the error is shown and the dialog stays.
            answer_message_box(QMessageBox::Ok);
            ok_button(dialog)->click();
            QVERIFY(dialog->isVisible());
            steps << QStringLiteral("failed");
            configure({{QStringLiteral("calibration_fails"), false}});
            ok_button(dialog)->click();
            QVERIFY(message(dialog).startsWith(QStringLiteral("<br><br>Turn the instrument dial")));
            QVERIFY(!ok_button(dialog)->isEnabled());
            configure({{QStringLiteral("selector"), QStringLiteral("display")}});
            QTRY_VERIFY(ok_button(dialog)->isEnabled());
            ok_button(dialog)->click();
            QCOMPARE(message(dialog), kReady);
            steps << QStringLiteral("ready");
            ok_button(dialog)->click();
        });
        QCOMPARE(run_color_sensor_setup_dialog(false, false, nullptr), 0);
        QCOMPARE(steps, (QStringList{"failed", "ready"}));
        QVERIFY(m_wall->controller().getTargetSensor()->GetSensor()->IsCalibrated());
    }

    void cancelled_setup_reports_minus_one()
    {
        attach(4, "libi1studio.so", {{QStringLiteral("selector"), QStringLiteral("display")}});
        if (QTest::currentTestFailed())
            return;
        when_modal_shows<kq_color_sensor_setup_dialog>([](kq_color_sensor_setup_dialog *dialog) { dialog->reject(); });
        QCOMPARE(run_color_sensor_setup_dialog(false, false, nullptr), -1);
    }

    void a_burst_of_selector_changes_is_drawn_once()
    {
        attach(4, "libi1studio.so", {{QStringLiteral("selector"), QStringLiteral("calibration")}});
        if (QTest::currentTestFailed())
            return;
        CSensor *sensor = m_wall->controller().getTargetSensor()->GetSensor();
        kq_color_sensor_setup_dialog dialog(false, false);
        auto *timer = dialog.findChild<QTimer *>(QStringLiteral("selector_timer"));
        QVERIFY(timer);
        QSignalSpy redraws(timer, &QTimer::timeout);
        for (int position : {3, 2, 0, 1})
            emit sensor->SensorMeasurementSelectorPositionChanged(position);
        QTRY_COMPARE(redraws.count(), 1);
        QTest::qWait(30);
        QCOMPARE(redraws.count(), 1);
    }

    void polled_selector_lights_the_sensor()
    {
        attach(3, "libi1d3sdk.so", {{QStringLiteral("selector"), QStringLiteral("ambient")}});
        if (QTest::currentTestFailed())
            return;
        bool accepted = false;
        when_modal_shows<kq_color_sensor_setup_dialog>([&](kq_color_sensor_setup_dialog *dialog) {
            QVERIFY(!ok_button(dialog)->isEnabled());
            QTRY_VERIFY(led_calls().contains(true));
            QVERIFY(!ok_button(dialog)->isEnabled());
            configure({{QStringLiteral("selector"), QStringLiteral("display")}});
            QTRY_VERIFY(ok_button(dialog)->isEnabled());
            QVERIFY(!led_calls().isEmpty() && !led_calls().last());
            ok_button(dialog)->click();
            QCOMPARE(message(dialog), kReady);
            ok_button(dialog)->click();
            accepted = true;
        });
        QCOMPARE(run_color_sensor_setup_dialog(false, false, nullptr), 0);
        QVERIFY(accepted);
        // Closing the dialog switches the light off.
        QVERIFY(!led_calls().last());
    }

    void ready_sensor_shows_no_dialog()
    {
        attach(3, "libi1d3sdk.so", {{QStringLiteral("selector"), QStringLiteral("display")}});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(run_color_sensor_setup_dialog(false, false, nullptr), 0);
        QVERIFY(led_calls().isEmpty());
    }

    void placement_hint_once_and_suppressible()
    {
        attach(1, "libeyeone.so", {});
        if (QTest::currentTestFailed())
            return;
        CSensor *sensor = m_wall->controller().getTargetSensor()->GetSensor();
        CPreferences *preferences = m_wall->controller().getPreferences();
        QVERIFY(sensor->ShowsPlacementHint());
        QString shown;
        when_modal_shows<QMessageBox>([&](QMessageBox *box) {
            shown = box->text();
            box->findChild<QCheckBox *>()->setChecked(true);
            box->button(QMessageBox::Ok)->click();
        });
        show_sensor_placement_hint(nullptr);
        QVERIFY(!shown.isEmpty());
        QVERIFY(!sensor->IsPlacementHintPending());
        QVERIFY(preferences->IsMessageSuppressed(1));
        sensor->SetPlacementHintPending(true);
        show_sensor_placement_hint(nullptr); // suppressed: no box, nothing waits
        QVERIFY(sensor->IsPlacementHintPending());
    }
};

QTEST_MAIN(tst_sensor_setup)
#include "tst_sensor_setup.moc"
