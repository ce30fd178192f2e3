// The control panel's one read and write mechanism, row kind by row kind,
// against a simulated display: what a row reads, what a write sends (the
// frames in order), what the display reports back, what a failed read does
// to the page refresh, and the job template that writes to many displays.
#include "control_panel/core/control_page_reader.h"
#include "control_panel/core/control_page_rows.h"
#include "control_panel/core/control_row_writer.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "tests/display_protocol/monitor_fixture.h"

#include <QtTest>

namespace {

const QString kAddress = loopback_block::address(1);
const QByteArray kModel = "VW-5530Q";
constexpr double kScale = 0.01;

QByteArray hex4(int value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}
QByteArray write_body(int code, int value)
{
    return hex4(code) + hex4(value);
}
QByteArray read_body(int code)
{
    return hex4(code);
}
// The save-current-settings request.
const QByteArray kSave = "0C";

const control_row &row_of(int page, const QString &widget)
{
    for (const control_row &row : control_page::rows(page)) {
        if (row.widget == widget)
            return row;
    }
    qFatal("no row %s", qPrintable(widget));
    return control_page::rows(page).first();
}

int index_of(int page, const QString &widget)
{
    const QList<control_row> &rows = control_page::rows(page);
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).widget == widget)
            return i;
    }
    return -1;
}

} // namespace

class tst_control_rows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs); }
    void init() { wait_service::set_time_scale(kScale); }

    // One row of each kind: read from the display, write a new value, read
    // it back; the frames the display saw, in order.
    void read_write_read_back_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("value");      // what the display holds (its own unit)
        QTest::addColumn<int>("shown");      // what the row shows
        QTest::addColumn<int>("written");    // the shown value written
        QTest::addColumn<int>("kept");       // the shown value the write leaves
        QTest::addColumn<QList<QByteArray>>("frames");
        const int brightness = control_code::kBrightness;
        QTest::newRow("slider pair") << 4 << "brightness_horizontalSlider" << 70 << 70 << 40 << 40
                                     << QList<QByteArray>{write_body(brightness, 40), read_body(brightness), kSave};
        const int delay = control_code::kPowerOnDelay;
        QTest::newRow("slider") << 0 << "power_on_delay_horizontalSlider" << 3 << 3 << 12 << 12
                                << QList<QByteArray>{write_body(delay, 12), read_body(delay), kSave};
        const int led = control_code::kPowerLed;
        QTest::newRow("radio pair") << 0 << "power_led_enable_radioButton" << 2 << 2 << 1 << 1
                                    << QList<QByteArray>{write_body(led, 1), read_body(led), kSave};
        // Shown in seconds, sent in units of 5 s (integer division).
        QTest::newRow("scaled spin box") << 1 << "power_save_time_spinBox" << 4 << 20 << 602 << 602
                                         << QList<QByteArray>{"CA0B0378"};
        QTest::newRow("combo box, named operation") << 1 << "power_save_mode_comboBox" << 1 << 1 << 2 << 2
                                                    << QList<QByteArray>{"CA0B0102"};
    }
    void read_write_read_back()
    {
        QFETCH(int, page);
        QFETCH(QString, widget);
        QFETCH(int, value);
        QFETCH(int, shown);
        QFETCH(int, written);
        QFETCH(int, kept);
        QFETCH(QList<QByteArray>, frames);
        const control_row &row = row_of(page, widget);
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        m.display([&](sim_display &d) {
            if (row.read == read_operation::power_save_time)
                d.power_save_time = static_cast<quint8>(value);
            else if (row.read == read_operation::power_save_mode)
                d.power_save_mode = static_cast<quint8>(value);
            else
                d.controls.find(static_cast<quint16>(row.code))->current = static_cast<quint16>(value);
        });

        const row_reading before = read_control_row(m.monitor, row);
        QCOMPARE(before.status, 0);
        QVERIFY(before.usable());
        QCOMPARE(before.value, shown);

        m.clear_log();
        int now = written;
        QCOMPARE(write_control_row(m.monitor, row, now), 0);
        QCOMPARE(now, kept);
        QList<QByteArray> seen = m.bodies();
        // A saved setting is followed by the display's settle pause only.
        QCOMPARE(seen, frames);

        const row_reading after = read_control_row(m.monitor, row);
        QCOMPARE(after.status, 0);
        QCOMPARE(after.value, row.shown_value(row.wire_value(written)));
    }

    // A display that keeps another value than written (a per-control
    // minimum, a corrected value) reports it back through the write.
    void the_display_corrects_a_write()
    {
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        const control_row &brightness = row_of(4, "brightness_horizontalSlider");
        m.display([](sim_display &d) {
            d.controls.find(control_code::kBrightness)->minimum = 10;
            d.controls.find(control_code::kBrightness)->stored_as.insert(33, 30);
        });
        int value = 3;
        QCOMPARE(write_control_row(m.monitor, brightness, value), 0);
        QCOMPARE(value, 10);
        value = 33;
        QCOMPARE(write_control_row(m.monitor, brightness, value), 0);
        QCOMPARE(value, 30);
    }

    // The input resolution's write is answered late, after the display has
    // switched: only the slow link's waits cover it.
    void the_slow_link_write()
    {
        const double scale = 0.1;   // the late answer 1000 ms, normal wait 600 ms, slow wait 1400 ms
        wait_service::set_time_scale(scale);
        wait_service::set_io_timeout_floor_ms(100);
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        m.fx.wall.set_time_scale(scale);
        m.monitor.set_retry_count(1);
        control_row resolution = row_of(8, "input_resolution_comboBox");
        QVERIFY(resolution.slow_link);
        m.clear_log();
        int value = 3;
        const int status = write_control_row(m.monitor, resolution, value);
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        QCOMPARE(status, 0);
        QCOMPARE(value, 3);
        QCOMPARE(m.bodies(), (QList<QByteArray>{write_body(control_code::kInputResolution, 3),
                                                read_body(control_code::kInputResolution), kSave}));

        // The same write without the long waits gives up before the answer.
        resolution.slow_link = false;
        wait_service::set_io_timeout_floor_ms(100);
        value = 4;
        const int hurried = write_control_row(m.monitor, resolution, value);
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        QVERIFY(hurried != 0);
        QCOMPARE(value, 4);
    }

    // A refused write keeps the operator's value and saves nothing.
    void a_refused_write_saves_nothing()
    {
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        const control_row &brightness = row_of(4, "brightness_horizontalSlider");
        m.fx.wall.refuse_writes(m.fx.display, control_code::kBrightness);
        m.clear_log();
        int value = 44;
        QVERIFY(write_control_row(m.monitor, brightness, value) != 0);
        QCOMPARE(value, 44);
        QVERIFY(!m.bodies().contains(kSave));
    }

    // Page refreshes under each failure policy: which rows end up usable,
    // where the refresh ended and what the status line shows.
    void failed_reads_follow_the_row_policy_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("code");       // unsupported control; 0: garbled replies instead
        QTest::addColumn<int>("after");      // sound replies before every further one is garbled
        QTest::addColumn<int>("ended_at");   // -1: the refresh ran to the end
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QList<int>>("unusable");
        const auto from = [](int first, int last) {
            QList<int> rows;
            for (int i = first; i <= last; ++i)
                rows << i;
            return rows;
        };
        // Picture: -1027 skips a row; another failure ends the refresh,
        // shown only for the first row.
        const int last_picture = control_page::rows(4).size() - 1;
        QTest::newRow("picture, contrast unsupported")
            << 4 << control_code::kContrast << 0 << -1 << false << QList<int>{1};
        QTest::newRow("picture, contrast garbled") << 4 << 0 << 1 << 1 << false << from(1, last_picture);
        QTest::newRow("picture, brightness garbled") << 4 << 0 << 0 << 0 << true << from(0, last_picture);
        // Power: the power state is always shown and ends the refresh when
        // it fails; the LED only disables its group; the delay ends it.
        QTest::newRow("power, state garbled") << 0 << 0 << 0 << 0 << true << from(0, 2);
        QTest::newRow("power, LED unsupported") << 0 << control_code::kPowerLed << 0 << -1 << false << QList<int>{1};
        QTest::newRow("power, LED garbled") << 0 << 0 << 1 << 2 << false << from(1, 2);
        // Saving: -1027 of the saving mode goes on silently; another failure
        // is shown and ends the refresh.
        QTest::newRow("saving, mode unsupported")
            << 1 << control_code::kPowerSave << 0 << -1 << false << QList<int>{0};
        QTest::newRow("saving, mode garbled") << 1 << 0 << 0 << 0 << true << from(0, 4);
    }
    void failed_reads_follow_the_row_policy()
    {
        QFETCH(int, page);
        QFETCH(int, code);
        QFETCH(int, after);
        QFETCH(int, ended_at);
        QFETCH(bool, shown);
        QFETCH(QList<int>, unusable);
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        m.monitor.set_retry_count(1);
        if (code != 0)
            m.display([&](sim_display &d) { d.controls.set_unsupported(static_cast<quint16>(code)); });
        else
            m.fx.wall.set_fault(m.fx.display, sim_fault_kind::corrupt_check, sim_fault::kForever, after);

        const page_reading page_read = read_control_page(m.monitor, control_page::rows(page));
        QCOMPARE(page_read.ended_at, ended_at);
        const bool power_page = page == 0;   // the power state's result is always shown
        QCOMPARE(page_read.show_status, shown || power_page);
        if (shown)
            QVERIFY(page_read.status != 0);
        else if (power_page)
            QCOMPARE(page_read.status, 0);
        QList<int> not_usable;
        for (int i = 0; i < page_read.rows.size(); ++i) {
            if (!page_read.rows.at(i).usable())
                not_usable << i;
        }
        QCOMPARE(not_usable, unusable);
    }

    // A garbled value or range never gives a control a value it cannot show.
    void garbled_values_are_kept_in_range()
    {
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        const control_row &brightness = row_of(4, "brightness_horizontalSlider");
        const control_row &contrast = row_of(4, "contrast_horizontalSlider");
        m.display([](sim_display &d) {
            d.controls.force(control_code::kBrightness, 500);
            d.controls.set(control_code::kContrast, 7, 0);
        });
        const row_reading above = read_control_row(m.monitor, brightness);
        QCOMPARE(above.status, 0);
        QCOMPARE(above.value, 100);
        QCOMPARE(above.maximum, 100);
        const row_reading no_range = read_control_row(m.monitor, contrast);
        QCOMPARE(no_range.status, 0);
        QVERIFY(!no_range.usable());
        // A range the display gives no room in does not end the refresh.
        const page_reading page_read = read_control_page(m.monitor, control_page::rows(4));
        QCOMPARE(page_read.ended_at, -1);
        QVERIFY(page_read.rows.at(index_of(4, "sharpness_horizontalSlider")).usable());
    }

    // Several displays: the row's write as a control list (task 13), run
    // through apply_vcp_list; pseudo codes reach the CA0B writers; an
    // unsupported control does not stop the list.
    void job_templates_run_as_control_lists()
    {
        monitor_fixture m(kAddress, kModel);
        QVERIFY_FIXTURE(m);
        m.display([](sim_display &d) { d.controls.set_unsupported(control_code::kPowerLed); });
        const control_row &save_time = row_of(1, "power_save_time_spinBox");
        const job_list_item time_job = control_write_job(save_time.code, save_time.wire_value(600));
        QCOMPARE(time_job.task_list, QList<qint32>{JOB_TASK_VCP_LIST});
        QCOMPARE(time_job.vcp_list.size(), 1);
        QCOMPARE(time_job.vcp_list.first().action, int(vcp_list_item::kWrite));
        QCOMPARE(time_job.vcp_list.first().read_first, 0);
        QCOMPARE(time_job.vcp_list.first().value, 120);

        QList<vcp_list_item> list = time_job.vcp_list;
        list << control_write_job(control_code::kPowerLed, 2).vcp_list
             << control_write_job(control_code::kBrightness, 25).vcp_list;
        m.clear_log();
        QCOMPARE(m.monitor.apply_vcp_list(list, false), 0);
        QCOMPARE(list.at(0).result, 0);
        QCOMPARE(list.at(1).result, int(basic_monitor::kNotSupported));
        QCOMPARE(list.at(2).result, 0);
        const QList<QByteArray> seen = m.bodies();
        QVERIFY2(seen.contains("CA0B0378"), qPrintable(QString::fromLatin1(seen.join(' '))));
        QVERIFY(seen.contains(write_body(control_code::kBrightness, 25)));
        QCOMPARE(m.display([](sim_display &d) { return int(d.power_save_time); }), 120);
    }
};

QTEST_GUILESS_MAIN(tst_control_rows)
#include "tst_control_rows.moc"
