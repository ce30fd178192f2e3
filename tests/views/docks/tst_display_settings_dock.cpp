#include "app/services/string_resource.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "dock_wall_fixture.h"
#include "jobs/job_task_type.h"
#include "tests/app/window/progress_dialog_watch.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/support/form_child.h"
#include "views/docks/KQ_display_settings_widget.h"
#include "views/docks/display_settings_rules.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class tst_display_settings_dock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }

    void video_inputs();
    void enabling_data();
    void enabling();
    void nothing_selected_disables_everything();
    void power_off_then_on();
    void video_input_goes_out_and_the_list_returns_to_its_prompt();
};

void tst_display_settings_dock::video_inputs()
{
    const QList<video_input_choice> choices = video_input_choices();
    QCOMPARE(choices.size(), 24);
    QCOMPARE(choices.first().value, 0);
    QCOMPARE(choices.first().text, QStringLiteral("Select Video Input..."));
    QCOMPARE(choices.at(2).value, 18);
    QCOMPARE(choices.at(2).text, QStringLiteral("HDMI2"));
    QCOMPARE(choices.at(10).text, QStringLiteral("VGA (D-SUB)"));
    QCOMPARE(choices.last().value, 134);
    for (const video_input_choice &choice : choices.mid(1))
        QCOMPARE(choice.text, string_resource(1200 + choice.value));
}

void tst_display_settings_dock::enabling_data()
{
    QTest::addColumn<int>("displays");
    QTest::addColumn<int>("input");
    QTest::addColumn<bool>("power");
    QTest::addColumn<bool>("update");
    QTest::newRow("no display") << 0 << 18 << false << false;
    QTest::newRow("no input chosen") << 2 << 0 << true << false;
    QTest::newRow("an input chosen") << 1 << 18 << true << true;
}

void tst_display_settings_dock::enabling()
{
    QFETCH(int, displays);
    QFETCH(int, input);
    const display_settings_enabling enabling = display_settings_enabling_for(displays, input);
    QTEST(enabling.power, "power");
    QTEST(enabling.update_input, "update");
}

void tst_display_settings_dock::nothing_selected_disables_everything()
{
    headless_controller wall;
    wall.create_wall(2, 1);
    KQ_display_settings_widget dock;
    form_child<QRadioButton>(dock, "selected_radioButton")->setChecked(true);
    dock.selection_changed(-1);
    QVERIFY(!form_child<QPushButton>(dock, "power_on_pushButton")->isEnabled());
    QVERIFY(!form_child<QPushButton>(dock, "power_off_pushButton")->isEnabled());
    QVERIFY(!form_child<QComboBox>(dock, "video_input_comboBox")->isEnabled());
    QVERIFY(!form_child<QPushButton>(dock, "video_input_update_pushButton")->isEnabled());
    form_child<QRadioButton>(dock, "all_radioButton")->setChecked(true);
    QVERIFY(form_child<QPushButton>(dock, "power_on_pushButton")->isEnabled());
    QVERIFY(!form_child<QPushButton>(dock, "video_input_update_pushButton")->isEnabled());
}

void tst_display_settings_dock::power_off_then_on()
{
    dock_wall_fixture f(2);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    KQ_display_settings_widget dock;
    dock.selection_changed(0);
    progress_dialog_watch watch;
    form_child<QPushButton>(dock, "power_off_pushButton")->click();
    QCOMPARE(f.job_positions(), (QList<int>{0, 1}));
    for (const job_list_item &job : f.results()) {
        QCOMPARE(job.task_list, QList<qint32>{JOB_TASK_POWER_STATE});
        QCOMPARE(job.power.mode, 4);
        QCOMPARE(job.job_parameters.error_code, 0);
    }
    QVERIFY2(watch.title().contains(QStringLiteral("Updating display settings")), qPrintable(watch.title()));
    for (int index = 0; index < 2; ++index)
        QVERIFY(!f.sim().with_display(f.handle(index), [](sim_display &d) { return d.video.power_on; }));

    f.clear_results();
    form_child<QRadioButton>(dock, "selected_radioButton")->setChecked(true);
    dock.selection_changed(1);
    form_child<QPushButton>(dock, "power_on_pushButton")->click();
    QCOMPARE(f.job_positions(), QList<int>{1});
    QCOMPARE(f.results().first().power.mode, 1);
    QVERIFY(!f.sim().with_display(f.handle(0), [](sim_display &d) { return d.video.power_on; }));
    QVERIFY(f.sim().with_display(f.handle(1), [](sim_display &d) { return d.video.power_on; }));
}

void tst_display_settings_dock::video_input_goes_out_and_the_list_returns_to_its_prompt()
{
    dock_wall_fixture f(2);
    QVERIFY2(f.ready(), qPrintable(f.error()));
    KQ_display_settings_widget dock;
    dock.selection_changed(0);
    QComboBox *inputs = form_child<QComboBox>(dock, "video_input_comboBox");
    QPushButton *update = form_child<QPushButton>(dock, "video_input_update_pushButton");
    QVERIFY(!update->isEnabled());
    inputs->setCurrentIndex(inputs->findText(QStringLiteral("HDMI2")));
    QVERIFY(update->isEnabled());
    progress_dialog_watch watch;
    update->click();
    QCOMPARE(f.job_positions(), (QList<int>{0, 1}));
    for (const job_list_item &job : f.results()) {
        QCOMPARE(job.task_list, QList<qint32>{JOB_TASK_SELECT_INPUT});
        QCOMPARE(job.input_list, QList<qint32>{18});
    }
    for (int index = 0; index < 2; ++index)
        QVERIFY(f.writes(index, control_code::kInputSource).contains(18));
    QCOMPARE(inputs->currentIndex(), 0);
    QCOMPARE(inputs->currentText(), QStringLiteral("Select Video Input..."));
    QVERIFY(!update->isEnabled());
}

QTEST_MAIN(tst_display_settings_dock)
#include "tst_display_settings_dock.moc"
