// The factory colour calibration dialog: the status of each display's
// internal colour reference from its history, which rows may take an
// operation, and the update, reset and history jobs on simulated displays.
#include "app/services/preferences.h"
#include "dialogs/KQ_update_factory_color_calibration_dialog.h"
#include "dialogs/calibration_history_scan.h"
#include "dialogs/factory_calibration_status.h"
#include "resources/tessaline_resources.h"
#include "sensors/CTargetSensor.h"
#include "tests/dialogs/adjustment_wall.h"
#include "tests/dialogs/modal_answer.h"

#include "app/controller/master_globals.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

Q_DECLARE_METATYPE(calibration_history_item)

namespace {

constexpr int kResetMessage = 5;
constexpr int kUpdateMessage = 7;

calibration_history_item history_item(quint8 type, const QString &sensor = QString())
{
    calibration_history_item item;
    item.type = type;
    item.date_time = QDateTime(QDate(2026, 3, 4), QTime(5, 6));
    item.sensor_model = sensor;
    item.sensor_serial = sensor.isEmpty() ? QString() : QStringLiteral("S-") + sensor;
    return item;
}

// A record of a display that supports the engine's reference updates.
CAdjustValue supported_record(const QList<calibration_history_item> &history)
{
    CAdjustValue record;
    record.engine_capability_word = 1;
    record.capability_flags = 1;
    record.SetCalibrationHistory(history);
    return record;
}

template <typename Widget>
Widget *child(QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

QString status_text(QWidget &dialog, int row)
{
    QTableWidgetItem *item = child<QTableWidget>(dialog, "status_tableWidget")->item(row, 1);
    return item ? item->text() : QString();
}

void select_rows(QWidget &dialog, const QList<int> &rows)
{
    auto *table = child<QTableWidget>(dialog, "status_tableWidget");
    table->clearSelection();
    for (int row : rows)
        table->selectRow(row);
}

// Answers the next confirmation with |button|, ticking "Don't show this
// again" first when asked; the text lands in |text|.
void answer_confirmation(QMessageBox::StandardButton button, bool dont_show, QString *text = nullptr)
{
    when_modal_shows<QMessageBox>([=](QMessageBox *box) {
        if (text)
            *text = box->text();
        if (auto *check = box->findChild<QCheckBox *>())
            check->setChecked(dont_show);
        box->button(button)->click();
    });
}

CPreferences &preferences()
{
    return *g_master->getPreferences();
}

} // namespace

class tst_factory_color_calibration_dialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        tessaline_init_resources();
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void history_decides_the_state_data();
    void history_decides_the_state();
    void unusable_displays_take_no_operation_data();
    void unusable_displays_take_no_operation();
    void an_unknown_state_reads_the_histories_on_opening();
    void the_table_shows_nine_rows_and_a_scroll_bar();
    void reset_without_a_sensor_and_the_kept_choice();
    void update_needs_a_sensor_and_leaves_a_user_calibration();
};

void tst_factory_color_calibration_dialog::history_decides_the_state_data()
{
    using H = QList<calibration_history_item>;
    QTest::addColumn<H>("history");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("undetermined");
    QTest::addColumn<QString>("sensor");
    QTest::newRow("user calibration") << H{history_item(3, QStringLiteral("i1d3")), history_item(2)}
                                      << "User Calibration" << 3 << false << "i1d3";
    QTest::newRow("user calibration, kind 0") << H{history_item(0, QStringLiteral("Spyder"))} << "User Calibration"
                                              << 3 << false << "Spyder";
    QTest::newRow("factory after a uniformity update")
        << H{history_item(4), history_item(2), history_item(3)} << "Factory Calibration" << 1 << false << "";
    QTest::newRow("another event passed on the way")
        << H{history_item(99), history_item(255)} << "Factory Calibration" << 1 << false << "";
    QTest::newRow("only other kinds") << H{history_item(1), history_item(4), history_item(255)} << "Unknown" << 3
                                      << true << "";
    QTest::newRow("empty history") << H{} << "Unknown" << 3 << true << "";
}

void tst_factory_color_calibration_dialog::history_decides_the_state()
{
    QFETCH(QList<calibration_history_item>, history);
    QFETCH(QString, status);
    QFETCH(int, code);
    QFETCH(bool, undetermined);
    QFETCH(QString, sensor);
    headless_controller controller;
    controller.create_wall(1, 1);
    controller.store_record(0, supported_record(history));
    const factory_status_row row = factory_status_row_for(0, controller.layout(), controller.records());
    QCOMPARE(row.status, status);
    QCOMPARE(row.code, code);
    QCOMPARE(row.undetermined, undetermined);
    QCOMPARE(row.has_entry, !sensor.isEmpty());
    if (row.has_entry) {
        QCOMPARE(row.entry.sensor_model, sensor);
        QCOMPARE(row.entry.date_time, history.first().date_time);
    }
}

void tst_factory_color_calibration_dialog::unusable_displays_take_no_operation_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("status");
    QTest::newRow("disabled") << 0 << "Disabled";
    QTest::newRow("ID conflict") << 1 << "ID Conflict";
    QTest::newRow("not verified") << 2 << "Not verified";
    QTest::newRow("no record") << 3 << "";
    QTest::newRow("not supported") << 4 << "Not supported";
}

// Whatever the operator selects, such a row never reaches an operation.
void tst_factory_color_calibration_dialog::unusable_displays_take_no_operation()
{
    QFETCH(int, change);
    QFETCH(QString, status);
    headless_controller controller;
    controller.create_wall(2, 1);
    controller.store_record(0, supported_record({history_item(2)}));
    CAdjustValue record = supported_record({history_item(3)});
    if (change == 4)
        record.capability_flags = 0;
    if (change != 3)
        controller.store_record(1, record);
    display_layout_item item;
    controller.layout().get_item(1, item);
    item.enabled = change != 0;
    item.verify_status = change == 2 || change == 3 ? display_layout_item::kNotVerified : item.verify_status;
    if (change == 3)
        item.verify_status = display_layout_item::kVerified;
    controller.layout().set_item(1, item, false);
    if (change == 1) {
        // The same ID on the same address as display 1.
        display_layout_item first;
        controller.layout().get_item(0, first);
        item.connection_address = first.connection_address;
        item.monitor_id = first.monitor_id;
        controller.layout().set_item(1, item, false);
    }

    const factory_status_row row = factory_status_row_for(1, controller.layout(), controller.records());
    QCOMPARE(row.status, status);
    QCOMPARE(row.code, 0);

    if (change == 1)
        return; // both rows conflict: the dialog would list neither
    KQ_update_factory_color_calibration_dialog dialog;
    select_rows(dialog, {0, 1});
    QCOMPARE(dialog.selected_display_indexes(), QList<int>{0});
    QVERIFY(child<QPushButton>(dialog, "reset_to_factory_pushButton")->isEnabled());
    select_rows(dialog, {1});
    QVERIFY(dialog.selected_display_indexes().isEmpty());
    QVERIFY(!child<QPushButton>(dialog, "reset_to_factory_pushButton")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "update_calibration_pushButton")->isEnabled());
}

void tst_factory_color_calibration_dialog::an_unknown_state_reads_the_histories_on_opening()
{
    adjustment_wall wall(2, "VW-5540QE");
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    wall.store(0, supported_record({history_item(1)}));
    wall.store(1, supported_record({history_item(2)}));
    wall.on_display(0, [](sim_display &d) {
        d.history.clear();
        d.history << sim_history_entry();
        d.history.first().calibration_type = 2;
    });
    modal_watchdog watchdog(60000);
    KQ_update_factory_color_calibration_dialog dialog;
    QCOMPARE(watchdog.closed, 0);
    QCOMPARE(status_text(dialog, 0), QStringLiteral("Factory Calibration"));
    QCOMPARE(wall.record(0).GetCalibrationHistory().first().type, quint8(2));
    // Every eligible display was read, the known one too.
    QVERIFY(wall.frames(1).join(' ').contains("C25A"));
}

void tst_factory_color_calibration_dialog::the_table_shows_nine_rows_and_a_scroll_bar()
{
    headless_controller controller;
    controller.create_wall(12, 1);
    for (int i = 0; i < 12; ++i)
        controller.store_record(i, supported_record({history_item(2)}));
    KQ_update_factory_color_calibration_dialog dialog;
    auto *table = child<QTableWidget>(dialog, "status_tableWidget");
    QCOMPARE(table->rowCount(), 12);
    int height = table->horizontalHeader()->height() + 2;
    int width = table->verticalScrollBar()->sizeHint().width();
    for (int r = 0; r < 9; ++r)
        height += table->rowHeight(r) + 2;
    for (int c = 0; c < table->columnCount(); ++c)
        width += table->columnWidth(c) + 2;
    QCOMPARE(table->minimumHeight(), height);
    QCOMPARE(table->minimumWidth(), width);
    QCOMPARE(table->item(3, 0)->text(), QStringLiteral("4"));
    QCOMPARE(table->item(3, 0)->data(Qt::UserRole).toInt(), 3);
    QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Color Sensor Serial #"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
}

void tst_factory_color_calibration_dialog::reset_without_a_sensor_and_the_kept_choice()
{
    adjustment_wall wall(1, "VW-5540QE");
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    wall.store(0, supported_record({history_item(3, QStringLiteral("i1d3"))}));
    wall.on_display(0, [](sim_display &d) { d.history.clear(); });
    modal_watchdog watchdog(60000);
    KQ_update_factory_color_calibration_dialog dialog;
    QCOMPARE(status_text(dialog, 0), QStringLiteral("User Calibration"));
    select_rows(dialog, {0});
    QVERIFY(!child<QPushButton>(dialog, "update_calibration_pushButton")->isEnabled());
    auto *reset = child<QPushButton>(dialog, "reset_to_factory_pushButton");
    QVERIFY(reset->isEnabled());

    // No, with the box ticked: nothing runs, and the question is not asked again.
    QString text;
    answer_confirmation(QMessageBox::No, true, &text);
    wall.clear_log();
    reset->click();
    QVERIFY(text.startsWith(QStringLiteral("This restores the display's original factory calibration")));
    QVERIFY(wall.frames(0).isEmpty());
    QVERIFY(preferences().IsMessageSuppressed(kResetMessage));
    QVERIFY(!preferences().IsMessageSuppressed(kUpdateMessage));

    reset->click();
    QCOMPARE(watchdog.closed, 0);
    const auto history = wall.on_display(0, [](sim_display &d) { return d.history; });
    QCOMPARE(history.size(), 1);
    QCOMPARE(int(history.first().calibration_type), 2);
    QCOMPARE(status_text(dialog, 0), QStringLiteral("Factory Calibration"));
}

void tst_factory_color_calibration_dialog::update_needs_a_sensor_and_leaves_a_user_calibration()
{
    adjustment_wall wall(1, "VW-5540QE");
    QVERIFY2(wall.ok, qPrintable(wall.f.error()));
    QVERIFY(wall.f.attach_sensor());
    QVERIFY(wall.f.place_sensor(wall.displays.at(0)));
    wall.store(0, supported_record({history_item(2)}));
    wall.on_display(0, [](sim_display &d) {
        d.history.clear();
        d.controls.set(0x1147, 2, 2); // the engine on
        d.engine.config.positions = 2;
    });
    preferences().SetAutoSetRealTimeClock(true);
    preferences().SuppressMessage(1); // the sensor placement hint
    modal_watchdog watchdog(30000);
    KQ_update_factory_color_calibration_dialog dialog;
    select_rows(dialog, {0});
    auto *update = child<QPushButton>(dialog, "update_calibration_pushButton");
    QVERIFY(update->isEnabled());
    answer_confirmation(QMessageBox::Yes, false);
    wall.clear_log();
    update->click();
    QCOMPARE(watchdog.closed, 0);
    QVERIFY(!preferences().IsMessageSuppressed(kUpdateMessage));
    // The clock is set before the procedure.
    QVERIFY(wall.frames(0).first().startsWith("A"));
    const auto history = wall.on_display(0, [](sim_display &d) { return d.history; });
    QCOMPARE(history.size(), 1);
    QCOMPARE(int(history.first().calibration_type), 3);
    QCOMPARE(status_text(dialog, 0), QStringLiteral("User Calibration"));
    auto *table = child<QTableWidget>(dialog, "status_tableWidget");
    QVERIFY(!table->item(0, 3)->text().isEmpty());
    QVERIFY(!table->item(0, 2)->text().isEmpty());
}

QTEST_MAIN(tst_factory_color_calibration_dialog)
#include "tst_factory_color_calibration_dialog.moc"
