// The Actions dock's trim operations: which dialog a display gets, and when
// an accepted trim has the display's lookup tables written again.
#include "dialogs/kq_visual_trim_dialog.h"
#include "dialogs/kq_visual_trim_kqe_dialog.h"
#include "dialogs/trim_operation_rules.h"
#include "dialogs/trim_operations.h"
#include "display_protocol/control_codes.h"
#include "jobs/job_task_type.h"
#include "resources/tessaline_resources.h"
#include "tests/dialogs/adjustment_wall.h"
#include "tests/dialogs/modal_answer.h"

#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>

namespace {

using namespace control_code;

enum dialog_kind { kNone, kGains, kEngine };
enum answer { kCancel, kOkUnchanged, kOkTrimmed, kOkRemoveAll };

CAdjustValue trim_record(int mode, bool engine, bool trimmed)
{
    CAdjustValue record;
    record.calibration_mode = qint16(mode);
    record.engine_calibrated_word = engine ? 1 : 0;
    record.engine_capability_word = engine ? 1 : 0;
    record.gain = {{0.8, 0.9, 1.0}};
    record.backlight_setting = 60;
    record.backlight_maximum = 100;
    record.engine_white_x = 313;
    record.engine_white_y = 329;
    record.backlight_minimum = 10;
    record.visual_trim_multiplier = {{0.5, 0.5, 0.5}};
    if (trimmed)
        record.visual_trim_flags = CAdjustValue::kTrimGains;
    record.SetCalibrationDateTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4)));
    return record;
}

struct recorded_run
{
    job_list_item job;
    QList<int> positions;
    QString title;
};

} // namespace

class tst_trim_operations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        tessaline_init_resources();
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void trim_comparison_data()
    {
        QTest::addColumn<int>("before_flags");
        QTest::addColumn<double>("before_red");
        QTest::addColumn<int>("after_flags");
        QTest::addColumn<double>("after_red");
        QTest::addColumn<bool>("changed");
        QTest::newRow("off in both, values differ") << 0 << 0.5 << 0 << 1.0 << false;
        QTest::newRow("switched on, equal values") << 0 << 1.0 << 1 << 1.0 << true;
        QTest::newRow("switched off") << 1 << 0.5 << 0 << 0.5 << true;
        QTest::newRow("on in both, equal") << 1 << 0.5 << 1 << 0.5 << false;
        QTest::newRow("on in both, differ") << 1 << 0.5 << 1 << 0.6 << true;
        QTest::newRow("not a number never equals") << 1 << std::nan("") << 1 << std::nan("") << true;
        QTest::newRow("other trim bits do not count") << 2 << 0.5 << 0 << 0.5 << false;
    }
    void trim_comparison()
    {
        QFETCH(int, before_flags);
        QFETCH(double, before_red);
        QFETCH(int, after_flags);
        QFETCH(double, after_red);
        QFETCH(bool, changed);
        CAdjustValue before, after;
        before.visual_trim_flags = qint16(before_flags);
        before.visual_trim_multiplier[0] = before_red;
        after.visual_trim_flags = qint16(after_flags);
        after.visual_trim_multiplier[0] = after_red;
        QCOMPARE(colour_trim_changed(before, after), changed);
        QCOMPARE(trim_needs_table_rewrite(before, after, true), changed);
        QVERIFY(!trim_needs_table_rewrite(before, after, false));
        before.calibration_mode = CAdjustValue::kModeGains;
        QVERIFY(!trim_needs_table_rewrite(before, after, true));
    }

    void visual_trim_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("engine");
        QTest::addColumn<bool>("trimmed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("evaluate");
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QList<qint32>>("tasks");
        const QList<qint32> none;
        const QList<qint32> rewrite = {JOB_TASK_RESTORE_CALIBRATION_SETTINGS};
        QTest::newRow("engine, accepted") << 0 << true << false << int(kOkTrimmed) << false << int(kEngine) << none;
        QTest::newRow("engine, cancelled") << 0 << true << false << int(kCancel) << false << int(kEngine) << none;
        QTest::newRow("gains dialog cancelled") << 0 << false << false << int(kCancel) << false << int(kGains) << none;
        QTest::newRow("RGB gain calibration") << 1 << false << false << int(kOkTrimmed) << false << int(kGains)
                                              << none;
        QTest::newRow("trim stays off") << 0 << false << false << int(kOkUnchanged) << false << int(kGains) << none;
        QTest::newRow("trimmed") << 0 << false << false << int(kOkTrimmed) << false << int(kGains) << rewrite;
        QTest::newRow("trimmed, evaluated") << 0 << false << false << int(kOkTrimmed) << true << int(kGains)
                                            << (rewrite + QList<qint32>{JOB_TASK_TEST_PATTERNS});
        QTest::newRow("trim removed") << 0 << false << true << int(kOkRemoveAll) << false << int(kGains) << rewrite;
    }
    void visual_trim()
    {
        QFETCH(int, mode);
        QFETCH(bool, engine);
        QFETCH(bool, trimmed);
        QFETCH(int, answer);
        QFETCH(bool, evaluate);
        QFETCH(int, dialog);
        QFETCH(QList<qint32>, tasks);
        adjustment_wall wall(1, engine ? "VW-5540QE" : "VW-5530Q");
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        wall.store(0, trim_record(mode, engine, trimmed));
        wall.on_display(0, [&](sim_display &d) {
            d.controls.set(kColorMode, mode == 1 ? 1 : 6, 14);
            d.controls.set(kEngineSwitch, engine ? 2 : 1, 2);
        });

        int seen = kNone;
        when_modal_shows<QDialog>([&](QDialog *shown) {
            auto *gains = qobject_cast<kq_visual_trim_dialog *>(shown);
            auto *kqe = qobject_cast<kq_visual_trim_kqe_dialog *>(shown);
            seen = gains ? kGains : kqe ? kEngine : kNone;
            if (answer == kOkTrimmed && gains)
                gains->findChild<QDoubleSpinBox *>("custom_white_point_RGB_Red_doubleSpinBox")->setValue(40);
            if (answer == kOkTrimmed && kqe)
                kqe->findChild<QPushButton *>("too_blue_pushButton")->click();
            if (answer == kOkRemoveAll && gains)
                gains->findChild<QPushButton *>("reset_visual_trim_pushButton")->click();
            if (answer == kCancel) {
                shown->reject();
                return;
            }
            QVERIFY(QTest::qWaitFor([&] { return gains ? !gains->write_pending() : !kqe->write_pending(); }, 30000));
            if (gains)
                gains->onaccept();
            else
                kqe->onaccept();
        });
        QList<recorded_run> runs;
        QWidget dock;
        run_visual_trim(&dock, 0, evaluate, [&runs](const job_list_item &job, const QList<int> &positions,
                                                  const QString &title) { runs << recorded_run{job, positions, title}; });
        QCOMPARE(seen, dialog);
        QCOMPARE(runs.size(), tasks.isEmpty() ? 0 : 1);
        if (runs.isEmpty())
            return;
        QCOMPARE(runs.first().job.task_list, tasks);
        QCOMPARE(runs.first().positions, QList<int>{0});
        QCOMPARE(runs.first().title, QStringLiteral("Updating display calibration LUTs"));
        QCOMPARE(runs.first().job.test_pattern_mode, evaluate ? 3 : 0);
        QCOMPARE(runs.first().job.osd_orientation, -1);
    }

    void a_dialog_that_cannot_load_opens_nothing()
    {
        adjustment_wall wall(1, "VW-5530Q");
        QVERIFY2(wall.ok, qPrintable(wall.f.error()));
        wall.store(0, trim_record(0, false, false));
        wall.on_display(0, [](sim_display &d) { d.controls.set(kPowerMode, 4, 4); });
        QString text;
        answer_message_box(QMessageBox::Ok, &text);
        bool ran = false;
        QWidget dock;
        run_visual_trim(&dock, 0, false, [&ran](const job_list_item &, const QList<int> &, const QString &) {
            ran = true;
        });
        QVERIFY2(text.startsWith(QStringLiteral("Error: Display not powered on")), qPrintable(text));
        QVERIFY(!ran);
        QVERIFY(wall.link_released());

        // No record for the display: nothing at all.
        run_visual_trim(&dock, 5, false, [&ran](const job_list_item &, const QList<int> &, const QString &) {
            ran = true;
        });
        QVERIFY(!ran);

        text.clear();
        answer_message_box(QMessageBox::Ok, &text);
        run_uniformity_update(&dock, 7);
        QVERIFY(!text.isEmpty());
    }
};

QTEST_MAIN(tst_trim_operations)
#include "tst_trim_operations.moc"
