#include "app/controller/master_globals.h"
#include "app/window/Tessaline.h"
#include "app/window/information_dialog_host.h"
#include "dialogs/KQ_Information_Dialog.h"
#include "dialogs/KQ_Preferences_Dialog.h"
#include "dialogs/set_calibration_order_dialog.h"
#include "main_window_fixture.h"
#include "tests/dialogs/modal_answer.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {

QAction *action(Tessaline &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

QTableWidget *table(KQ_Information_Dialog &dialog, const char *name)
{
    return dialog.findChild<QTableWidget *>(QLatin1String(name));
}

int selected_row(QTableWidget *table)
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

CAdjustValue measured()
{
    return headless_controller::measured_record(CCIEYxy(42.0, 0.64, 0.33).ToXYZ(), CCIEYxy(143.0, 0.30, 0.60).ToXYZ(),
                                                CCIEYxy(15.0, 0.15, 0.06).ToXYZ());
}

} // namespace

// The main window hosts the one information dialog: it shows and hides it,
// refreshes it after its own dialogs and shares the selected display with it.
class tst_information_dialog_host : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { cancel_pending_modal_answers(); }

    void created_hidden_and_published();
    void selection_follows_between_the_tables_and_the_window();
    void summary_command_shows_and_hides();
    void refreshed_after_accepted_preferences_data();
    void refreshed_after_accepted_preferences();
};

void tst_information_dialog_host::created_hidden_and_published()
{
    main_window_fixture fixture;
    Tessaline &window = fixture.window();
    KQ_Information_Dialog *dialog = create_information_dialog(window);
    QCOMPARE(g_information_dialog, dialog);
    QCOMPARE(dialog->parent(), &window);
    QVERIFY(!dialog->isVisible());
    fixture.close_window();
    QVERIFY(!g_information_dialog);
}

void tst_information_dialog_host::selection_follows_between_the_tables_and_the_window()
{
    main_window_fixture fixture;
    Tessaline &window = fixture.window();
    KQ_Information_Dialog &dialog = *create_information_dialog(window);
    QTableWidget *connection = table(dialog, "connection_summary_tableWidget");
    QTableWidget *calibration = table(dialog, "calibration_summary_tableWidget");
    fixture.wall().create_wall(3, 1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(connection->rowCount(), 3);

    window.selection_changed(2);
    QCOMPARE(selected_row(connection), 2);
    QCOMPARE(selected_row(calibration), 2);

    QSignalSpy windowSelection(&window, &Tessaline::selection_changed_out);
    const QRect cell = connection->visualItemRect(connection->item(1, 0));
    QTest::mouseClick(connection->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(window.selected_display_index(), 1);
    QCOMPARE(selected_row(calibration), 1);
    QVERIFY(!windowSelection.isEmpty());
    for (const QList<QVariant> &signal : windowSelection)
        QCOMPARE(signal.at(0).toInt(), 1);

    // Back from the window, after a refill.
    window.selection_changed(0);
    dialog.update_info();
    QCOMPARE(selected_row(connection), 0);
    QCOMPARE(selected_row(calibration), 0);
}

void tst_information_dialog_host::summary_command_shows_and_hides()
{
    main_window_fixture fixture;
    Tessaline &window = fixture.window();
    KQ_Information_Dialog &dialog = *create_information_dialog(window);
    QAction *summary = action(window, "action_Information_Window");

    summary->trigger();
    QVERIFY(dialog.isVisible());
    window.itemMenuAboutToShow();
    QVERIFY(summary->isChecked());
    dialog.setGeometry(QRect(dialog.geometry().topLeft(), QSize(701, 433)));
    summary->trigger();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!fixture.preferences().GetInformationDialogGeometry().isEmpty());
    window.itemMenuAboutToShow();
    QVERIFY(!summary->isChecked());

    dialog.resize(300, 200);
    summary->trigger();
    QCOMPARE(dialog.size(), QSize(701, 433));

    // Closing the window keeps the open dialog's geometry and closes it.
    fixture.preferences().SetInformationDialogGeometry(QByteArray());
    QVERIFY(window.close());
    QVERIFY(!dialog.isVisible());
    QVERIFY(!fixture.preferences().GetInformationDialogGeometry().isEmpty());
}

void tst_information_dialog_host::refreshed_after_accepted_preferences_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

// The luminance unit changes the tables' texts without a change signal of
// the records, the layout or the target.
void tst_information_dialog_host::refreshed_after_accepted_preferences()
{
    QFETCH(bool, accepted);
    main_window_fixture fixture;
    Tessaline &window = fixture.window();
    KQ_Information_Dialog &dialog = *create_information_dialog(window);
    QTableWidget *calibration = table(dialog, "calibration_summary_tableWidget");
    fixture.wall().create_wall(1, 1);
    fixture.wall().store_record(0, measured());
    QTRY_VERIFY(calibration->item(0, 0));
    QVERIFY(calibration->item(0, 0)->text().endsWith(QStringLiteral("cd/m²")));

    when_modal_shows<KQ_Preferences_Dialog>([accepted](KQ_Preferences_Dialog *preferences) {
        preferences->findChild<QRadioButton *>(QStringLiteral("preferences_LuminanceUnits_FootLamberts_radioButton"))
            ->setChecked(true);
        preferences->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))
            ->button(accepted ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
            ->click();
    });
    action(window, "actionPreferences")->trigger();
    QVERIFY(calibration->item(0, 0));
    QCOMPARE(calibration->item(0, 0)->text().endsWith(QStringLiteral("fL")), accepted);
}

QTEST_MAIN(tst_information_dialog_host)
#include "tst_information_dialog_host.moc"
