// The main window's Display Settings command: the control panel, modal, for
// the display selected in the wall view, gone when it closes; then the wall
// view selects its first position.
#include "control_panel/kq_monitor_control_panel_dialog.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/app/window/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class tst_display_settings_command : public QObject
{
    Q_OBJECT

private slots:
    void opens_the_control_panel_for_the_selected_display()
    {
        wait_service::set_io_timeout_floor_ms(2000);
        const QString first_address = loopback_block::address(21);
        simulated_wall sim;
        QList<int> displays;
        for (int i = 0; i < 3; ++i) {
            const int endpoint = sim.add_lan_endpoint(loopback_block::address(21 + i));
            QVERIFY2(endpoint >= 0, qPrintable(loopback_block::claim_error()));
            displays << sim.add_display(endpoint, char('A' + i));
            sim.with_display(displays.last(), [](sim_display &d) { d.apply_model("VW-5530Q"); });
        }
        main_window_fixture fixture;
        Tessaline &window = fixture.window();   // starts on a layout of its own
        fixture.wall().create_wall(3, 1, first_address);
        window.selection_changed(1);

        QList<int> targets;
        bool modal = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<kq_monitor_control_panel_dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            targets = dialog->targets();
            modal = dialog->isModal() && dialog->parentWidget() == &window;
            dialog->accept();
        });
        poll.start(5);
        QSignalSpy first_position(&window, &Tessaline::select_first_position);
        window.findChild<QAction *>(QStringLiteral("actionDisplay_Settings"))->trigger();
        poll.stop();
        QCOMPARE(first_position.count(), 1);

        QCOMPARE(targets, QList<int>{1});
        QVERIFY(modal);
        QVERIFY(window.findChildren<kq_monitor_control_panel_dialog *>().isEmpty());
        // Construction read the power page of that display alone.
        const QByteArray led = QByteArray::number(control_code::kPowerLed, 16).toUpper().rightJustified(4, '0');
        int reads = 0;
        for (const sim_log_entry &entry : sim.log()) {
            if (entry.body == led) {
                QCOMPARE(entry.answered_by, 'B');
                ++reads;
            }
        }
        QCOMPARE(reads, 1);
    }
};

QTEST_MAIN(tst_display_settings_command)
#include "tst_display_settings_command.moc"
