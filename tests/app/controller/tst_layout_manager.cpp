#include "app/controller/layout_manager.h"
#include "app/services/preferences.h"
#include "colour/CMonitorTracker.h"
#include "colour/stream_record.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

display_layout_item item_at(int column, int row, int monitorId, const QString &address)
{
    display_layout_item item;
    item.column = column;
    item.row = row;
    item.monitor_id = monitorId;
    item.connection_address = address;
    return item;
}

QByteArray written(const layout_manager &layout)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    stream_record::prepare(out);
    layout.write(out);
    return bytes;
}

// A layout stream written field by field, for versions and damage the
// model never writes itself.
struct stream_writer
{
    QByteArray bytes;
    QDataStream out{&bytes, QIODevice::WriteOnly};

    stream_writer() { stream_record::prepare(out); }

    stream_writer &header(qint32 version, qint32 columns, qint32 rows, qint32 count, quint32 magic = 0xA0A0)
    {
        out << magic << version << columns << rows << qint32(0) << count;
        return *this;
    }
    stream_writer &item(qint32 version, const display_layout_item &item)
    {
        out << item.column << item.row << quint8(item.enabled) << item.monitor_id << item.verify_status
            << item.serial_number << item.model_name << item.connection_type << item.connection_address;
        if (version >= 101)
            out << item.display_text;
        if (version >= 102)
            out << item.orientation;
        return *this;
    }
};

int read_into(layout_manager &layout, const QByteArray &bytes)
{
    QDataStream in(bytes);
    stream_record::prepare(in);
    layout.read(in);
    return layout.get_status();
}

monitor_tracker_item record_of(const QString &model, const QString &serial)
{
    return monitor_tracker_item(model, serial);
}

} // namespace

class tst_layout_manager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    CMonitorTracker m_records;
    std::unique_ptr<layout_manager> m_layout;

    // A 2 x 2 LAN wall, IDs 1 to 4 on 192.168.0.10 to .13.
    void build_lan_wall()
    {
        QCOMPARE(m_layout->create_layout(2, 2, 1, 0, QStringLiteral("192.168.0.10"), 1, true, true, false, true, 1), 0);
    }

    void identify(int index, const QString &model, const QString &serial, int verifyStatus = 1)
    {
        m_layout->update_display_model_info_status_item(index, model, serial, verifyStatus);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    }

    void init()
    {
        m_records.Clear();
        m_layout = std::make_unique<layout_manager>(&m_records, nullptr);
    }

    void starts_empty()
    {
        int columns = -1, rows = -1;
        QCOMPARE(m_layout->get_size(columns, rows), 0);
        QCOMPARE(columns, 0);
        QCOMPARE(rows, 0);
        QCOMPARE(m_layout->get_lowest_monitor_id(), 1);
        QVERIFY(!m_layout->is_modified());
        QVERIFY(m_layout->get_display_indexes(true, false).isEmpty());
        display_layout_item item;
        QCOMPARE(m_layout->get_item(0, item), -1);
    }

    void create_layout_checks_the_size_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("corner");
        QTest::addColumn<int>("result");
        QTest::newRow("10 x 10") << 10 << 10 << 0 << 0;
        QTest::newRow("10 x 11") << 10 << 11 << 0 << -1;
        QTest::newRow("31 x 1") << 31 << 1 << 0 << -1;
        QTest::newRow("0 x 1") << 0 << 1 << 0 << -1;
        QTest::newRow("corner 4") << 2 << 2 << 4 << -1;
    }

    void create_layout_checks_the_size()
    {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, corner);
        QFETCH(int, result);
        build_lan_wall();
        m_layout->set_modified(false);
        QSignalSpy changed(m_layout.get(), &layout_manager::layout_changed);
        QCOMPARE(m_layout->create_layout(columns, rows, 1, corner, QStringLiteral("COM1"), 0, true, true, false,
                                         false, 0),
                 result);
        int c = 0, r = 0;
        QCOMPARE(m_layout->get_size(c, r), result == 0 ? columns * rows : 4);
        QCOMPARE(c, result == 0 ? columns : 2);
        QCOMPARE(r, result == 0 ? rows : 2);
        QCOMPARE(m_layout->is_modified(), result == 0);
        QCOMPARE(changed.count(), result == 0 ? 1 : 0);
    }

    void build_layout_is_create_layout()
    {
        QCOMPARE(m_layout->build_layout(3, 1, 7, 1, QStringLiteral("192.168.0.254"), true, false, true, false, true, 2), 0);
        display_layout_item item;
        QCOMPARE(m_layout->get_item(2, item), 0);
        QCOMPARE(item.connection_type, 1);
        QCOMPARE(item.connection_address, QStringLiteral("192.168.1.0"));
        QCOMPARE(item.monitor_id, 7);
        QCOMPARE(item.column, 0); // from the top-right corner
        QCOMPARE(item.orientation, 2);
    }

    void items_copy_in_and_out()
    {
        build_lan_wall();
        m_layout->set_modified(false);
        QSignalSpy changed(m_layout.get(), &layout_manager::layout_changed);
        display_layout_item item;
        QCOMPARE(m_layout->get_item(1, item), 0);
        item.display_text = QStringLiteral("left of the door");
        QCOMPARE(m_layout->set_item(1, item, false), 0);
        QCOMPARE(changed.count(), 0);
        QVERIFY(m_layout->is_modified());
        QCOMPARE(m_layout->set_item(1, item, true), 0);
        QCOMPARE(changed.count(), 1);
        display_layout_item back;
        m_layout->get_item(1, back);
        QCOMPARE(back.display_text, item.display_text);
        QCOMPARE(m_layout->set_item(4, item, true), -1);
        QCOMPARE(m_layout->set_item(-1, item, true), -1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_layout->find_item_by_position(1, 1), 3);
        QCOMPARE(m_layout->find_item_by_position(2, 0), -1);
    }

    void address_conflicts_both_ways_and_after_disabling()
    {
        QCOMPARE(m_layout->create_layout(3, 1, 1, 0, QStringLiteral("COM1"), 0, true, true, false, false, 0), 0);
        display_layout_item third;
        m_layout->get_item(2, third);
        third.monitor_id = 1; // the same ID as the first on the same port
        m_layout->set_item(2, third, true);
        display_layout_item a, b, c;
        m_layout->get_item(0, a);
        m_layout->get_item(1, b);
        m_layout->get_item(2, c);
        QVERIFY(a.id_conflict);
        QVERIFY(!b.id_conflict);
        QVERIFY(c.id_conflict);
        QVERIFY(m_layout->any_address_conflict());
        QCOMPARE(m_layout->get_display_indexes(false, false), QList<int>{1});

        c.enabled = false;
        m_layout->set_item(2, c, true);
        m_layout->get_item(0, a);
        m_layout->get_item(2, c);
        QVERIFY(!a.id_conflict);
        QVERIFY(!c.id_conflict);
        QVERIFY(!m_layout->any_address_conflict());
        QCOMPARE(m_layout->get_display_indexes(false, false), (QList<int>{0, 1, 2}));
        QCOMPARE(m_layout->get_display_indexes(false, true), (QList<int>{0, 1}));
    }

    void a_daisy_chain_on_one_address_is_no_conflict()
    {
        QCOMPARE(m_layout->create_layout(3, 1, 1, 0, QStringLiteral("192.168.0.10"), 1, true, true, false, false, 0), 0);
        QVERIFY(!m_layout->any_address_conflict());
        QCOMPARE(m_layout->get_display_indexes(false, true).size(), 3);
    }

    void duplicates_ignore_letter_case_data()
    {
        QTest::addColumn<QString>("model1");
        QTest::addColumn<QString>("serial1");
        QTest::addColumn<QString>("model2");
        QTest::addColumn<QString>("serial2");
        QTest::addColumn<bool>("duplicate");
        QTest::newRow("same") << "P555" << "ABC" << "P555" << "ABC" << true;
        QTest::newRow("serial case") << "P555" << "ABC" << "P555" << "abc" << true;
        QTest::newRow("model case") << "p555" << "ABC" << "P555" << "ABC" << true;
        QTest::newRow("other serial") << "P555" << "ABC" << "P555" << "ABD" << false;
        QTest::newRow("one empty model") << "" << "ABC" << "P555" << "ABC" << false;
        QTest::newRow("both empty models") << "" << "ABC" << "" << "ABC" << false;
        QTest::newRow("empty serials") << "P555" << "" << "P555" << "" << false;
    }

    void duplicates_ignore_letter_case()
    {
        QFETCH(QString, model1);
        QFETCH(QString, serial1);
        QFETCH(QString, model2);
        QFETCH(QString, serial2);
        QFETCH(bool, duplicate);
        build_lan_wall();
        identify(0, model1, serial1);
        identify(3, model2, serial2);
        QCOMPARE(m_layout->any_identity_conflict(), duplicate);
        display_layout_item first, last, other;
        m_layout->get_item(0, first);
        m_layout->get_item(3, last);
        m_layout->get_item(1, other);
        QCOMPARE(first.duplicate_display, duplicate);
        QCOMPARE(last.duplicate_display, duplicate);
        QVERIFY(!other.duplicate_display);
        // Duplicates still take part in operations; only ID conflicts are left out.
        QCOMPARE(m_layout->get_display_indexes(false, true).size(), 4);
    }

    void disabled_duplicates_are_not_flagged()
    {
        build_lan_wall();
        identify(0, QStringLiteral("P555"), QStringLiteral("ABC"));
        identify(1, QStringLiteral("P555"), QStringLiteral("ABC"));
        display_layout_item item;
        m_layout->get_item(1, item);
        item.enabled = false;
        m_layout->set_item(1, item, false);
        QVERIFY(!m_layout->any_identity_conflict());
    }

    void current_index_is_checked_where_used()
    {
        build_lan_wall();
        m_layout->selection_changed(3);
        QCOMPARE(m_layout->get_display_indexes(true, true), QList<int>{3});
        m_layout->selection_changed(7);
        QVERIFY(m_layout->get_display_indexes(true, false).isEmpty());
        m_layout->selection_changed(-2);
        QVERIFY(m_layout->get_display_indexes(true, false).isEmpty());
        m_layout->selection_changed(3);
        QCOMPARE(m_layout->create_layout(1, 1, 1, 0, QStringLiteral("COM1"), 0, true, true, false, false, 0), 0);
        QVERIFY(m_layout->get_display_indexes(true, false).isEmpty());
        m_layout->selection_changed(0);
        display_layout_item item;
        m_layout->get_item(0, item);
        item.enabled = false;
        m_layout->set_item(0, item, false);
        QVERIFY(m_layout->get_display_indexes(true, true).isEmpty());
        QCOMPARE(m_layout->get_display_indexes(true, false), QList<int>{0});
    }

    void lowest_monitor_id_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("lowest");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("42") << 42 << 42;
        QTest::newRow("120") << 120 << 99;
    }

    void lowest_monitor_id()
    {
        QFETCH(int, first);
        QFETCH(int, lowest);
        QCOMPARE(m_layout->create_layout(2, 1, first, 0, QStringLiteral("COM1"), 0, true, true, false, false, 0), 0);
        QCOMPARE(m_layout->get_lowest_monitor_id(), lowest);
    }

    void ip_address_list()
    {
        QCOMPARE(m_layout->get_ip_address_list(), QStringList{QStringLiteral("192.168.0.10")});
        QCOMPARE(m_layout->create_layout(3, 1, 1, 0, QStringLiteral("COM2"), 0, true, true, false, false, 0), 0);
        QCOMPARE(m_layout->get_ip_address_list(), QStringList{QStringLiteral("192.168.0.10")});
        QCOMPARE(m_layout->create_layout(3, 1, 1, 0, QStringLiteral("10.0.0.1"), 1, true, true, false, false, 0), 0);
        display_layout_item item;
        m_layout->get_item(1, item);
        item.connection_address = QStringLiteral("10.0.0.2");
        m_layout->set_item(1, item, false);
        m_layout->get_item(2, item);
        item.connection_address.clear();
        m_layout->set_item(2, item, false);
        QCOMPARE(m_layout->get_ip_address_list(),
                 (QStringList{QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2"), QStringLiteral("192.168.0.10")}));
        QCOMPARE(m_layout->create_layout(2, 1, 1, 0, QStringLiteral("192.168.0.9"), 1, true, true, false, true, 0), 0);
        QCOMPARE(m_layout->get_ip_address_list(),
                 (QStringList{QStringLiteral("192.168.0.9"), QStringLiteral("192.168.0.10")}));
    }

    void reset_items_forgets_the_displays()
    {
        CPreferences preferences; // defaults: the first serial port
        layout_manager layout(&m_records, &preferences);
        QCOMPARE(layout.create_layout(2, 1, 4, 0, QStringLiteral("192.168.0.10"), 1, true, true, false, true, 2), 0);
        layout.update_display_model_info_status_item(0, QStringLiteral("P555"), QStringLiteral("S1"), 1);
        display_job_status_info_item status;
        status.pending = 3;
        layout.update_display_job_status_info_item(0, status);
        display_layout_item item;
        layout.get_item(1, item);
        item.enabled = false;
        item.display_text = QStringLiteral("text");
        layout.set_item(1, item, false);
        layout.set_modified(false);
        QSignalSpy changed(&layout, &layout_manager::layout_changed);

        layout.reset_items();
        QCOMPARE(changed.count(), 1);
        QVERIFY(layout.is_modified());
        for (int i = 0; i < 2; ++i) {
            layout.get_item(i, item);
            QCOMPARE(item.column, i);
            QCOMPARE(item.monitor_id, 4 + i);
            QVERIFY(item.enabled);
            QCOMPARE(item.verify_status, 0);
            QVERIFY(item.model_name.isEmpty() && item.serial_number.isEmpty() && item.display_text.isEmpty());
            QCOMPARE(item.connection_type, 0);
            QCOMPARE(item.connection_address, preferences.GetSerialPortName());
            QVERIFY(item.job_status == display_layout_item::job_status_block());
            QCOMPARE(item.orientation, 0);
        }
    }

    void job_status_takes_its_block()
    {
        build_lan_wall();
        QSignalSpy changed(m_layout.get(), &layout_manager::display_job_status_info_item_changed);
        display_job_status_info_item status;
        status.last_result = -5001;
        status.running = 1;
        status.pending = 2;
        status.reserved = 99;
        status.task_total = 4;
        status.task_step = 3;
        status.sub_task_total = 10;
        status.sub_task_step = 7;
        status.task_text = QStringLiteral("Measuring");
        m_layout->update_display_job_status_info_item(2, status);
        m_layout->update_display_job_status_info_item(4, status);
        m_layout->update_display_job_status_info_item(-1, status);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 2);
        display_layout_item item;
        m_layout->get_item(2, item);
        QCOMPARE(item.job_status.pending, 2);
        QCOMPARE(item.job_status.running, 1);
        QCOMPARE(item.job_status.last_result, -5001);
        QCOMPARE(item.job_status.task_total, 4);
        QCOMPARE(item.job_status.task_step, 3);
        QCOMPARE(item.job_status.sub_task_total, 10);
        QCOMPARE(item.job_status.sub_task_step, 7);

        // A record copied out, changed and written back keeps its block.
        item.display_text = QStringLiteral("x");
        m_layout->set_item(2, item, true);
        display_layout_item back;
        m_layout->get_item(2, back);
        QVERIFY(back.job_status == item.job_status);

        changed.clear();
        m_layout->reset_all_display_job_status_info_item();
        QCOMPARE(changed.count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(changed.at(i).at(0).toInt(), i);
        m_layout->get_item(2, item);
        QVERIFY(item.job_status == display_layout_item::job_status_block());
    }

    void model_info_updates()
    {
        build_lan_wall();
        QSignalSpy changed(m_layout.get(), &layout_manager::layout_changed);
        identify(1, QStringLiteral("P555"), QStringLiteral("S1"), 2);
        identify(1, QStringLiteral("P556"), QStringLiteral("S2"), -1);
        identify(9, QStringLiteral("P557"), QStringLiteral("S3"), 1);
        QCOMPARE(changed.count(), 2);
        display_layout_item item;
        m_layout->get_item(1, item);
        QCOMPARE(item.model_name, QStringLiteral("P556"));
        QCOMPARE(item.serial_number, QStringLiteral("S2"));
        QCOMPARE(item.verify_status, 2);
    }

    void record_joined_queries()
    {
        QCOMPARE(m_layout->create_layout(3, 2, 1, 0, QStringLiteral("COM1"), 0, true, true, false, false, 0), 0);
        // 0: verified, calibrated by gains, measured, engine, uniformity, MAC
        // 1: verified, uncalibrated, engine
        // 2: not verified, calibrated by lookup table
        // 3: verified, no record
        // 4: verified, calibrated, disabled
        // 5: verified, measured only, no engine
        const QDateTime when(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
        auto add = [&](int index, const char *serial, std::function<void(monitor_tracker_item &)> fill) {
            identify(index, QStringLiteral("P555"), QString::fromLatin1(serial), index == 2 ? 0 : 1);
            if (!fill)
                return;
            monitor_tracker_item record = record_of(QStringLiteral("P555"), QString::fromLatin1(serial));
            fill(record);
            m_records.SetAdjustValue(record);
        };
        add(0, "S0", [&](monitor_tracker_item &r) {
            r.SetCalibrationDateTime(when);
            r.SetCalibrationMode(CAdjustValue::kModeGains);
            r.measurements.measurement_date_time = when;
            r.engine_capability_word = 1;
            r.capability_flags = 1;
            r.SetMacAddress(QStringLiteral("00:11:22:33:44:55"));
        });
        add(1, "S1", [&](monitor_tracker_item &r) { r.engine_capability_word = 3; });
        add(2, "S2", [&](monitor_tracker_item &r) {
            r.SetCalibrationDateTime(when);
            r.engine_capability_word = 1;
            r.capability_flags = 1;
        });
        add(3, "S3", nullptr);
        add(4, "S4", [&](monitor_tracker_item &r) {
            r.SetCalibrationDateTime(when);
            r.measurements.measurement_date_time = when;
            r.engine_capability_word = 1;
            r.SetMacAddress(QStringLiteral("00-11-22-33-44-56"));
        });
        add(5, "S5", [&](monitor_tracker_item &r) { r.measurements.measurement_date_time = when; });
        display_layout_item disabled;
        m_layout->get_item(4, disabled);
        disabled.enabled = false;
        m_layout->set_item(4, disabled, false);

        QCOMPARE(m_layout->get_calibrated_display_indexes(false, false), (QList<int>{0, 2, 4}));
        QCOMPARE(m_layout->get_calibrated_display_indexes(false, true), (QList<int>{0, 2}));
        QCOMPARE(m_layout->get_calibrated_display_indexes_by_mode(1, false, false), QList<int>{0});
        QCOMPARE(m_layout->get_calibrated_display_indexes_by_mode(0, false, false), (QList<int>{2, 4}));
        QCOMPARE(m_layout->get_uncalibrated_display_indexes(false, false), (QList<int>{1, 5}));
        QCOMPARE(m_layout->get_unmeasured_display_indexes(false, false), (QList<int>{1, 2}));
        QCOMPARE(m_layout->get_display_indexes_by_calibration_state(false, false, false, false), (QList<int>{0, 1, 4}));
        QCOMPARE(m_layout->get_display_indexes_by_calibration_state(false, false, true, true), (QList<int>{0, 1, 4}));
        QCOMPARE(m_layout->get_display_indexes_by_calibration_state(false, false, true, false), QList<int>{1});
        QCOMPARE(m_layout->get_display_indexes_by_calibration_state(false, true, false, true), QList<int>{0});
        QCOMPARE(m_layout->get_display_indexes_with_record_flag(false, false), QList<int>{0});
        QCOMPARE(m_layout->get_connected_display_indexes(false, false), (QList<int>{0, 1, 3, 4, 5}));
        QCOMPARE(m_layout->get_connected_display_indexes(false, true), (QList<int>{0, 1, 3, 5}));
        QCOMPARE(m_layout->count_measured_displays(false, false), 3);
        QCOMPARE(m_layout->count_measured_displays(false, true), 2);
        const QStringList both {QStringLiteral("00:11:22:33:44:55"), QStringLiteral("00-11-22-33-44-56")};
        QCOMPARE(m_layout->get_display_mac_addresses(), both);
        QCOMPARE(m_layout->get_display_device_texts(false, false), both);
        QCOMPARE(m_layout->get_display_device_texts(false, true), QStringList{both.first()});

        m_layout->selection_changed(3);
        QVERIFY(m_layout->get_uncalibrated_display_indexes(true, false).isEmpty());
        QCOMPARE(m_layout->get_status(), -1);
        m_layout->selection_changed(1);
        QCOMPARE(m_layout->get_uncalibrated_display_indexes(true, false), QList<int>{1});
        QCOMPARE(m_layout->get_status(), 0);
        QVERIFY(m_layout->get_display_device_texts(true, false).isEmpty());
        m_layout->selection_changed(4);
        QCOMPARE(m_layout->get_display_device_texts(true, false), QStringList{both.last()});
    }

    void record_keys_are_case_sensitive()
    {
        build_lan_wall();
        identify(0, QStringLiteral("P555"), QStringLiteral("abc"));
        m_records.SetAdjustValue(record_of(QStringLiteral("P555"), QStringLiteral("ABC")));
        QVERIFY(m_layout->get_uncalibrated_display_indexes(false, false).isEmpty());
    }

    void stream_round_trip()
    {
        QCOMPARE(m_layout->create_layout(3, 2, 5, 3, QStringLiteral("10.1.2.3"), 1, true, false, true, true, 2), 0);
        identify(0, QStringLiteral("P555"), QStringLiteral("S0"), 4);
        display_layout_item item;
        m_layout->get_item(1, item);
        item.enabled = false;
        item.display_text = QStringLiteral("spare");
        item.connection_type = 0;
        item.connection_address = QStringLiteral("COM4");
        m_layout->set_item(1, item, false);
        display_job_status_info_item status;
        status.pending = 9;
        m_layout->update_display_job_status_info_item(2, status);

        const QByteArray bytes = written(*m_layout);
        layout_manager copy(&m_records, nullptr);
        QCOMPARE(read_into(copy, bytes), 0);
        int columns = 0, rows = 0;
        QCOMPARE(copy.get_size(columns, rows), 6);
        QCOMPARE(columns, 3);
        QCOMPARE(rows, 2);
        for (int i = 0; i < 6; ++i) {
            display_layout_item a, b;
            m_layout->get_item(i, a);
            copy.get_item(i, b);
            QCOMPARE(b.column, a.column);
            QCOMPARE(b.row, a.row);
            QCOMPARE(b.enabled, a.enabled);
            QCOMPARE(b.verify_status, a.verify_status);
            QCOMPARE(b.monitor_id, a.monitor_id);
            QCOMPARE(b.serial_number, a.serial_number);
            QCOMPARE(b.model_name, a.model_name);
            QCOMPARE(b.connection_type, a.connection_type);
            QCOMPARE(b.connection_address, a.connection_address);
            QCOMPARE(b.display_text, a.display_text);
            QCOMPARE(b.orientation, a.orientation);
            QVERIFY(b.job_status == display_layout_item::job_status_block()); // never stored
        }
        QCOMPARE(written(copy), bytes);
    }

    void stream_byte_positions()
    {
        QCOMPARE(m_layout->create_layout(2, 1, 7, 1, QStringLiteral("COM2"), 0, true, true, false, false, 1), 0);
        identify(0, QStringLiteral("M"), QStringLiteral("S"), 1);
        display_layout_item first;
        m_layout->get_item(0, first);
        first.display_text = QStringLiteral("T");
        m_layout->set_item(0, first, false);
        const QByteArray bytes = written(*m_layout);
        const QByteArray header = QByteArray::fromHex("0000a0a0" "00000066" "00000002" "00000001" "00000001" "00000002");
        QCOMPARE(bytes.left(24).toHex(), header.toHex());
        // First item: column 1, row 0, enabled, ID 7 before the verification status 1,
        // then serial "S", model "M", RS-232, "COM2", text "T", orientation 1.
        const QByteArray item = QByteArray::fromHex("00000001" "00000000" "01" "00000007" "00000001"
                                                    "00000002" "0053" "00000002" "004d" "00000000"
                                                    "00000008" "0043004f004d0032" "00000002" "0054" "00000001");
        QCOMPARE(bytes.mid(24, item.size()).toHex(), item.toHex());
        // Second item: column 0, enabled, the next ID, not verified.
        QCOMPARE(bytes.mid(24 + item.size(), 17).toHex(),
                 QByteArray::fromHex("00000000" "00000000" "01" "00000008" "00000000").toHex());
    }

    void version_gates_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<bool>("hasOrientation");
        QTest::newRow("100") << 100 << false << false;
        QTest::newRow("101") << 101 << true << false;
        QTest::newRow("102") << 102 << true << true;
    }

    void version_gates()
    {
        QFETCH(int, version);
        QFETCH(bool, hasText);
        QFETCH(bool, hasOrientation);
        display_layout_item item = item_at(1, 0, 3, QStringLiteral("COM1"));
        item.display_text = QStringLiteral("text");
        item.orientation = 2;
        stream_writer w;
        w.header(version, 2, 1, 2).item(version, item_at(0, 0, 3, QStringLiteral("COM1"))).item(version, item);
        QCOMPARE(read_into(*m_layout, w.bytes), 0);
        display_layout_item back;
        m_layout->get_item(1, back);
        QCOMPARE(back.display_text, hasText ? QStringLiteral("text") : QString());
        QCOMPARE(back.orientation, hasOrientation ? 2 : 0);
        // Conflicts are recomputed on reading: both items share ID 3 on COM1.
        QVERIFY(back.id_conflict);
        QVERIFY(m_layout->any_address_conflict());
    }

    void refused_and_damaged_streams_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        const display_layout_item item = item_at(0, 0, 1, QStringLiteral("COM1"));
        QTest::newRow("wrong magic") << stream_writer().header(102, 1, 1, 1, 0xA0A1).item(102, item).bytes << -1502;
        QTest::newRow("version 103") << stream_writer().header(103, 1, 1, 1).item(102, item).bytes << -1501;
        QTest::newRow("negative version") << stream_writer().header(-1, 1, 1, 1).item(102, item).bytes << -1501;
        QTest::newRow("empty") << QByteArray() << -1503;
        QTest::newRow("header cut short") << stream_writer().header(102, 1, 1, 1).bytes.left(14) << -1503;
        QTest::newRow("negative count") << stream_writer().header(102, 1, 1, -1).item(102, item).bytes << -1503;
        QTest::newRow("101 items") << stream_writer().header(102, 10, 10, 101).item(102, item).bytes << -1503;
        QTest::newRow("second item missing") << stream_writer().header(102, 2, 1, 2).item(102, item).bytes << -1503;
        QByteArray cut = stream_writer().header(102, 2, 1, 2).item(102, item).item(102, item_at(1, 0, 2, "COM1")).bytes;
        cut.chop(3);
        QTest::newRow("last item cut short") << cut << -1503;
        QTest::newRow("item outside the wall")
            << stream_writer().header(102, 2, 1, 2).item(102, item).item(102, item_at(2, 0, 2, "COM1")).bytes << -1503;
        QTest::newRow("negative row")
            << stream_writer().header(102, 2, 1, 1).item(102, item_at(0, -1, 2, "COM1")).bytes << -1503;
        QTest::newRow("impossible wall") << stream_writer().header(102, 0, 0, 1).item(102, item).bytes << -1503;
        // The wall's size is checked with or without displays in it.
        const struct
        {
            const char *name;
            qint32 columns, rows;
        } emptyWalls[] = {
            {"-5 x -7, no displays", -5, -7},   {"0x7fffffff x 1, no displays", 0x7fffffff, 1},
            {"0 x 5, no displays", 0, 5},       {"1000 x 1000, no displays", 1000, 1000},
            {"10 x 11, no displays", 10, 11},   {"31 x 1, no displays", 31, 1},
        };
        for (const auto &wall : emptyWalls)
            QTest::newRow(wall.name) << stream_writer().header(102, wall.columns, wall.rows, 0).bytes << -1503;
    }

    void refused_and_damaged_streams()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        build_lan_wall();
        QCOMPARE(read_into(*m_layout, bytes), status);
        QCOMPARE(m_layout->item_count(), 0);
        QVERIFY(m_layout->get_display_indexes(false, false).isEmpty());
    }

    // The smallest records: version 100 with null strings, 33 bytes each.
    void smallest_records_read()
    {
        display_layout_item bare;
        bare.serial_number = bare.model_name = bare.connection_address = QString();
        display_layout_item second = bare;
        second.column = 1;
        stream_writer w;
        w.header(100, 2, 1, 2).item(100, bare).item(100, second);
        QCOMPARE(w.bytes.size(), 24 + 2 * 33);
        QCOMPARE(read_into(*m_layout, w.bytes), 0);
        QCOMPARE(m_layout->item_count(), 2);
    }

    void empty_walls_that_can_exist_are_read_data()
    {
        QTest::addColumn<qint32>("columns");
        QTest::addColumn<qint32>("rows");
        QTest::newRow("0 x 0, as a new project writes it") << 0 << 0;
        QTest::newRow("1 x 1") << 1 << 1;
        QTest::newRow("10 x 10") << 10 << 10;
        QTest::newRow("30 x 3") << 30 << 3;
    }

    void empty_walls_that_can_exist_are_read()
    {
        QFETCH(qint32, columns);
        QFETCH(qint32, rows);
        QCOMPARE(read_into(*m_layout, stream_writer().header(102, columns, rows, 0).bytes), 0);
        int readColumns = -1;
        int readRows = -1;
        QCOMPARE(m_layout->get_size(readColumns, readRows), 0);
        QCOMPARE(readColumns, columns);
        QCOMPARE(readRows, rows);
    }

    void empty_layout_round_trip()
    {
        const QByteArray bytes = written(*m_layout);
        QCOMPARE(bytes.size(), 24);
        build_lan_wall();
        QCOMPARE(read_into(*m_layout, bytes), 0);
        QCOMPARE(m_layout->item_count(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_layout_manager)
#include "tst_layout_manager.moc"
