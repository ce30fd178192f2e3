#include "app/window/Tessaline.h"
#include "colour/CMonitorTracker.h"
#include "colour/monitor_tracker_item.h"
#include "dialogs/KQ_Preferences_Dialog.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "dialogs/kq_calibration_offset_dialog.h"
#include "dialogs/set_calibration_order_dialog.h"
#include "layout_setup/KQ_set_display_order_grid_widget.h"
#include "main_window_fixture.h"
#include "tests/dialogs/modal_answer.h"
#include "views/wall/KQ_central_display_widget.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QGridLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

QAction *action(Tessaline &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

template <class Dialog> void press(QDialogButtonBox::StandardButton which)
{
    when_modal_shows<Dialog>([which](Dialog *dialog) {
        dialog->template findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(which)->click();
    });
}

} // namespace

// The main window's dialog commands follow up only when their dialog is accepted.
class tst_dialog_commands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { cancel_pending_modal_answers(); }

    void preferences_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void preferences()
    {
        QFETCH(bool, accepted);
        main_window_fixture fixture;
        Tessaline &window = fixture.window();
        QSignalSpy targetInfo(&window, &Tessaline::updateTargetInfo);
        fixture.preferences().SetCalibrationSteps(32);
        when_modal_shows<KQ_Preferences_Dialog>([accepted](KQ_Preferences_Dialog *dialog) {
            auto *steps = dialog->findChild<QComboBox *>(QStringLiteral("preferences_CalibrationSteps_comboBox"));
            steps->setCurrentIndex(steps->findData(8));
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))
                ->button(accepted ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
        });
        action(window, "actionPreferences")->trigger();
        QCOMPARE(fixture.preferences().GetCalibrationSteps(), quint8(accepted ? 8 : 32));
        QCOMPARE(targetInfo.count(), accepted ? 1 : 0);
    }

    // Accepted preferences that changed the expansion (as "Defaults" does)
    // set both the action's check mark and the view.
    void preferences_set_the_view_expansion()
    {
        main_window_fixture fixture;
        Tessaline &window = fixture.window();
        QAction *zoom = action(window, "actionZoom_main_view");
        auto *view = window.findChild<KQ_central_display_widget *>();
        QVERIFY(view);
        if (!zoom->isChecked())
            zoom->trigger();
        QVERIFY(view->view_expansion());
        CPreferences &preferences = fixture.preferences();
        when_modal_shows<KQ_Preferences_Dialog>([&preferences](KQ_Preferences_Dialog *dialog) {
            preferences.SetExpandMainView(false);
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
        });
        action(window, "actionPreferences")->trigger();
        QVERIFY(!zoom->isChecked());
        QVERIFY(!view->view_expansion());
    }

    void calibration_target_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void calibration_target()
    {
        QFETCH(bool, accepted);
        main_window_fixture fixture;
        Tessaline &window = fixture.window();
        CTargetValue target = fixture.wall().controller().getTarget();
        target.SetContrastRatio(0);
        fixture.wall().controller().setTarget(target);
        QSignalSpy status(&window, &Tessaline::out_updateControlsStatus);
        when_modal_shows<KQ_edit_target_dialog>([accepted](KQ_edit_target_dialog *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("target_Contrast_Radio_comboBox"))->setCurrentIndex(1);
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))
                ->button(accepted ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
        });
        action(window, "actionTarget")->trigger();
        QCOMPARE(fixture.wall().controller().getTarget().GetContrastRatio(), accepted ? 500u : 0u);
        QCOMPARE(status.count() > 0, accepted);
    }

    void calibration_order_data()
    {
        QTest::addColumn<bool>("applied");
        QTest::newRow("Apply") << true;
        QTest::newRow("Cancel") << false;
    }

    void calibration_order()
    {
        QFETCH(bool, applied);
        main_window_fixture fixture;
        fixture.wall().create_wall(2, 1);
        Tessaline &window = fixture.window();
        QSignalSpy targetInfo(&window, &Tessaline::updateTargetInfo);
        when_modal_shows<set_calibration_order_dialog>([applied](set_calibration_order_dialog *dialog) {
            auto *grid = dialog->findChild<KQ_set_display_order_grid_widget *>(QStringLiteral("grid_widget"));
            auto *layout = qobject_cast<QGridLayout *>(grid->layout());
            for (int column : {1, 0})
                QTest::mouseClick(layout->itemAtPosition(0, column)->widget(), Qt::LeftButton);
            dialog->findChild<QPushButton *>(applied ? QStringLiteral("ok_pushButton") : QStringLiteral("cancel_pushButton"))
                ->click();
        });
        action(window, "actionSet_Calibration_Order")->trigger();
        display_layout_item first;
        fixture.wall().layout().get_item(0, first);
        QCOMPARE(first.column, applied ? 1 : 0);
        QCOMPARE(targetInfo.count(), applied ? 1 : 0);
    }

    void target_offset_of_the_selected_display()
    {
        main_window_fixture fixture;
        fixture.wall().create_wall(2, 1);
        Tessaline &window = fixture.window();
        fixture.wall().store_record(1, CAdjustValue(), QStringLiteral("P555"), QStringLiteral("SN1"));
        window.selection_changed(1);
        QString title;
        when_modal_shows<kq_calibration_offset_dialog>([&title](kq_calibration_offset_dialog *dialog) {
            title = dialog->windowTitle();
            dialog->findChild<QGroupBox *>(QStringLiteral("groupBox"))->setChecked(true);
            dialog->findChild<QDoubleSpinBox *>(QStringLiteral("delta_Y_doubleSpinBox"))->setValue(90.0);
            dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
        });
        action(window, "actionCalibration_Target_Offset")->trigger();
        QCOMPARE(title, QStringLiteral("Calibration Target Offset for display # 2"));
        monitor_tracker_item record(QStringLiteral("P555"), QStringLiteral("SN1"));
        QVERIFY(fixture.wall().records().GetAdjustValue(record) >= 0);
        QCOMPARE(record.target_offset_enabled, qint16(1));
        QCOMPARE(record.target_intensity_offset, 0.9);
    }
};

QTEST_MAIN(tst_dialog_commands)
#include "tst_dialog_commands.moc"
