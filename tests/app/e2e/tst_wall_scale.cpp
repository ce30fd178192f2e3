// A full-size wall through the main window: 100 simulated LAN displays, the
// pool's 30 jobs at a time, ten displays faulty (silent, off the network,
// damaged replies). Verify from the Actions dock and one lookup-table upload
// (the restore a new tone curve asks for, from the Calibration Target
// command) run over the whole wall; the 90 sound displays complete, the ten
// faulty tiles and rows show their errors, and the progress dialog's own
// Retry brings the ten through once their faults are cleared. The longest
// stall of the user-interface thread is printed, not asserted.
#include "app/controller/layout_manager.h"
#include "app/services/frame_pacer.h"
#include "app/services/string_resource.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/monitor_tracker_item.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "display_protocol/wait_service.h"
#include "event_loop_stall_probe.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/app/window/main_window_fixture.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/layout_setup/layout_wizard_driver.h"
#include "tests/support/table_calibration.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int kColumns = 10;
constexpr int kRows = 10;
constexpr int kDisplays = kColumns * kRows;
constexpr int kStatusColumn = 4;
constexpr int kVerifyFailedText = 310;
constexpr int kVerifiedText = 309;
constexpr int kCalibratedText = 307;
constexpr quint16 kDisplayPort = 7142;
constexpr int kConnectPatienceMs = 1000;
// Long enough for the silent displays' time-outs with the machine busy.
constexpr int kOperationPatienceMs = 180000;
const QList<QByteArray> kModels {"VW-5530Q", "VW-5520L", "VW-4620L"};

struct fault
{
    int position;
    sim_fault_kind kind;
    int after;   // sound replies before the fault starts
};

// Verify meets its faults at once; the upload meets them partway through the
// table (the refusing display cannot even be reached).
const QList<fault> kVerifyFaults {
    {3, sim_fault_kind::silent, 0},           {18, sim_fault_kind::silent, 0},
    {27, sim_fault_kind::silent, 0},          {41, sim_fault_kind::refuse_connections, 0},
    {50, sim_fault_kind::refuse_connections, 0}, {66, sim_fault_kind::refuse_connections, 0},
    {72, sim_fault_kind::corrupt_check, 0},   {85, sim_fault_kind::corrupt_check, 0},
    {94, sim_fault_kind::corrupt_soh, 0},    {99, sim_fault_kind::corrupt_stx, 0},
};
const QList<fault> kUploadFaults {
    {0, sim_fault_kind::silent, 40},          {9, sim_fault_kind::silent, 12},
    {23, sim_fault_kind::refuse_connections, 0}, {37, sim_fault_kind::refuse_connections, 0},
    {44, sim_fault_kind::corrupt_check, 30},  {58, sim_fault_kind::corrupt_check, 5},
    {61, sim_fault_kind::close_mid_reply, 20}, {77, sim_fault_kind::corrupt_etx, 25},
    {83, sim_fault_kind::corrupt_destination, 35},   {90, sim_fault_kind::silent, 50},
};

QSet<int> positions_of(const QList<fault> &faults)
{
    QSet<int> positions;
    for (const fault &f : faults)
        positions.insert(f.position);
    return positions;
}

// The 10 x 10 wall: each display on its own address of this process's
// loopback block, monitor ID 1, the three models in turn, named after its place.
class simulated_big_wall
{
public:
    simulated_big_wall()
    {
        wall.set_time_scale(0.0);
        for (int i = 0; i < kDisplays; ++i) {
            const int endpoint = wall.add_lan_endpoint(loopback_block::address(i + 1));
            if (endpoint < 0) {
                m_error = loopback_block::claim_error();
                if (m_error.isEmpty())
                    m_error = QStringLiteral("cannot serve %1").arg(loopback_block::address(i + 1));
                return;
            }
            const int handle = wall.add_display(endpoint, 'A');
            wall.with_display(handle, [i](sim_display &d) {
                d.apply_model(kModels.at(i % kModels.size()));
                d.serial_number = QStringLiteral("SCALE-%1-%2").arg(i % kColumns).arg(i / kColumns).toLatin1();
            });
            handles << handle;
        }
    }
    QString error() const { return m_error; }

    void set_faults(const QList<fault> &faults)
    {
        for (const fault &f : faults)
            wall.set_fault(handles.at(f.position), f.kind, sim_fault::kForever, f.after);
    }
    void clear_faults(const QList<fault> &faults)
    {
        for (const fault &f : faults)
            wall.set_fault(handles.at(f.position), sim_fault_kind::none);
    }

    simulated_wall wall;
    QList<int> handles;

private:
    QString m_error;
};

// A display calibrated through its lookup table: a linear response, so that
// a new tone curve gives every channel a table of its own.
CAdjustValue table_calibrated_record()
{
    CAdjustValue record = table_calibration::linear_response_record(CAdjustValue::kModeLookupTable, Qt::UTC);
    record.measurements.uncorrected.white = CCIEXYZ(190.1, 200.0, 217.8);
    record.measurements.uncorrected.black = CCIEXYZ(0.19, 0.2, 0.22);
    record.measurements.native.white = record.measurements.uncorrected.white;
    record.measurements.measurement_date_time = record.GetCalibrationDateTime();
    return record;
}

template <typename T> T *named(QObject &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

std::map<int, KQ_display_layout_widget *> tiles_of(QWidget &window)
{
    std::map<int, KQ_display_layout_widget *> tiles;
    for (KQ_display_layout_widget *tile : window.findChildren<KQ_display_layout_widget *>())
        tiles[tile->layout_index()] = tile;
    return tiles;
}

// The rows of the progress dialog showing an error (red status), by position.
std::map<int, QString> failed_rows(QTableWidget &table)
{
    std::map<int, QString> failed;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QTableWidgetItem *status = table.item(row, kStatusColumn);
        if (status && status->foreground().color() == QColor(Qt::red))
            failed[table.item(row, 0)->data(Qt::UserRole).toInt()] = status->text();
    }
    return failed;
}

// Whether a display accepts a connection again.
bool reachable(const QString &address)
{
    QTcpSocket socket;
    socket.connectToHost(address, kDisplayPort);
    const bool connected = socket.waitForConnected(kConnectPatienceMs);
    socket.abort();
    return connected;
}

QColor fault_fill()
{
    display_layout_item failed;
    failed.verify_status = display_layout_item::kVerifyFailed;
    return tile_view_from(failed, tile_facts(), false).fill;
}

} // namespace

class tst_wall_scale : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tessaline_init_resources();
        // Under a full wall's load a sound display can be slow to be served:
        // only the faulty ones may time out.
        wait_service::set_io_timeout_floor_ms(3000);
    }
    void cleanup() { cancel_pending_modal_answers(); }

    void full_wall_with_faulty_displays_completes_and_retries();

private:
    // The wall view takes the layout's last changes in within a frame.
    static void settle_tiles() { QTest::qWait(8 * frame_pacer::kFrameMs); }
    // Runs |start| (which opens the progress dialog modally) and, in the
    // dialog, checks that exactly |faults| failed, each showing its error, and
    // that |check_tiles| holds for the wall meanwhile; then clears the faults
    // and retries the failed rows through the dialog's Retry button. The
    // dialog must close by itself once the retried jobs succeed.
    void run_with_faults(const QList<fault> &faults, const std::function<void()> &start,
                         const std::function<void(const QSet<int> &failed)> &check_tiles);
    void retry_in(KQ_multithreaded_operation_progress_dialog *dialog, const QList<fault> &faults,
                  const std::function<void(const QSet<int> &)> &check_tiles);

    simulated_big_wall *m_sim = nullptr;
    Tessaline *m_window = nullptr;
    bool m_retried = false;
};

void tst_wall_scale::retry_in(KQ_multithreaded_operation_progress_dialog *dialog, const QList<fault> &faults,
                              const std::function<void(const QSet<int> &)> &check_tiles)
{
    auto *table = named<QTableWidget>(*dialog, "job_tableWidget");
    auto *close = named<QPushButton>(*dialog, "close_pushButton");
    auto *retry = named<QPushButton>(*dialog, "retry_pushButton");
    QVERIFY(table && close && retry);
    QCOMPARE(table->rowCount(), kDisplays);
    // Every job has ended once Close is offered.
    QTRY_VERIFY_WITH_TIMEOUT(close->isEnabled(), kOperationPatienceMs);

    const std::map<int, QString> failed = failed_rows(*table);
    QSet<int> failed_positions;
    for (const auto &[position, text] : failed) {
        failed_positions.insert(position);
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(position)));
    }
    QCOMPARE(failed_positions, positions_of(faults));
    settle_tiles();
    check_tiles(failed_positions);
    if (QTest::currentTestFailed())
        return;

    m_sim->clear_faults(faults);
    // A display taken off the network listens again at its next turn.
    for (const fault &f : faults) {
        if (f.kind == sim_fault_kind::refuse_connections)
            QTRY_VERIFY_WITH_TIMEOUT(reachable(loopback_block::address(f.position + 1)), kOperationPatienceMs);
    }
    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    QVERIFY(retry->isEnabled());
    QTest::mouseClick(retry, Qt::LeftButton);
    m_retried = true;
    // The dialog closes by itself once every retried job has succeeded; a
    // job failing again keeps it open, showing why.
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible() || (close->isEnabled() && !failed_rows(*table).empty()),
                             kOperationPatienceMs);
    QStringList retried;
    for (int row = 0; row < table->rowCount(); ++row) {
        const int position = table->item(row, 0)->data(Qt::UserRole).toInt();
        if (positions_of(faults).contains(position))
            retried << QStringLiteral("%1: %2").arg(position).arg(table->item(row, kStatusColumn)->text());
    }
    QVERIFY2(!dialog->isVisible(), qPrintable(retried.join(QStringLiteral("; "))));
}

void tst_wall_scale::run_with_faults(const QList<fault> &faults, const std::function<void()> &start,
                                     const std::function<void(const QSet<int> &)> &check_tiles)
{
    m_sim->set_faults(faults);
    m_retried = false;
    when_modal_shows<KQ_multithreaded_operation_progress_dialog>(
        [this, faults, check_tiles](KQ_multithreaded_operation_progress_dialog *dialog) {
            retry_in(dialog, faults, check_tiles);
            // A failed check must not leave the operation waiting for the operator.
            while (dialog->isVisible()) {
                dialog->reject();
                QTest::qWait(50);
            }
        },
        kOperationPatienceMs / 2);
    start();
    QVERIFY(m_retried);
}

void tst_wall_scale::full_wall_with_faulty_displays_completes_and_retries()
{
    simulated_big_wall sim;
    QVERIFY2(sim.error().isEmpty(), qPrintable(sim.error()));
    m_sim = &sim;
    main_window_fixture fixture;
    MasterControl &controller = fixture.wall().controller();
    controller.setQueryThreadPool(new QueryThreadPool(QueryThreadPool::display_workers(), QueryThreadPool::kMaxRunning));
    controller.setTarget(table_calibration::d65_power_target(2.2));
    Tessaline &window = fixture.window();
    m_window = &window;
    window.show();
    layout_manager &layout = fixture.wall().layout();

    // Layout Wizard: each display on its own address from the block's first, all ID 1.
    using namespace layout_wizard_driver;
    when_wizard_opens([](display_layout_wizard_advanced &wizard) {
        wall_description description;
        description.columns = kColumns;
        description.rows = kRows;
        description.link = separate_lan_one_id;
        description.address = loopback_block::address(1);
        describe_wall(wizard, description);
        QVERIFY(finish(wizard));
    });
    named<QAction>(window, "actionLayout")->trigger();
    QCOMPARE(layout.item_count(), kDisplays);
    QCOMPARE(int(tiles_of(window).size()), kDisplays);
    const QColor faulty = fault_fill();

    event_loop_stall_probe verify_stalls;
    event_loop_stall_probe upload_stalls;

    // Verify from the Actions dock over the whole wall.
    auto *verify = named<QPushButton>(window, "verify_displays_pushButton");
    QVERIFY(verify);
    QTRY_VERIFY(verify->isEnabled());
    verify_stalls.start();
    run_with_faults(
        kVerifyFaults, [verify] { QTest::mouseClick(verify, Qt::LeftButton); },
        [this, faulty](const QSet<int> &failed) {
            for (const auto &[index, tile] : tiles_of(*m_window)) {
                const bool bad = failed.contains(index);
                QCOMPARE(tile->view().status_text_id, bad ? kVerifyFailedText : kVerifiedText);
                QCOMPARE(tile->view().fill == faulty, bad);
            }
        });
    verify_stalls.stop();
    if (QTest::currentTestFailed())
        return;
    settle_tiles();
    for (int i = 0; i < kDisplays; ++i) {
        display_layout_item item;
        QCOMPARE(layout.get_item(i, item), 0);
        QCOMPARE(item.verify_status, qint32(display_layout_item::kVerified));
        QCOMPARE(item.serial_number, QStringLiteral("SCALE-%1-%2").arg(i % kColumns).arg(i / kColumns));
    }
    for (const auto &[index, tile] : tiles_of(window))
        QCOMPARE(tile->view().status_text_id, kVerifiedText);

    // Every display calibrated through its table; a new tone curve restores
    // each calibration with a table built for it.
    for (int i = 0; i < kDisplays; ++i) {
        display_layout_item item;
        layout.get_item(i, item);
        monitor_tracker_item record(item.model_name, item.serial_number);
        static_cast<CAdjustValue &>(record) = table_calibrated_record();
        fixture.wall().records().SetAdjustValue(record);
    }
    layout.update_layout();
    when_modal_shows<KQ_edit_target_dialog>([](KQ_edit_target_dialog *dialog) {
        named<QDoubleSpinBox>(*dialog, "target_gamma_doubleSpinBox")->setValue(2.4);
        named<QDialogButtonBox>(*dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
    });
    modal_box_answerer restore({QMessageBox::Yes});
    upload_stalls.start();
    run_with_faults(
        kUploadFaults, [&window] { named<QAction>(window, "actionTarget")->trigger(); },
        [this, faulty](const QSet<int> &failed) {
            for (const auto &[index, tile] : tiles_of(*m_window)) {
                QCOMPARE(tile->view().fill == faulty, failed.contains(index));
                QCOMPARE(tile->view().status_text_id, kCalibratedText);
            }
        });
    upload_stalls.stop();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(restore.seen().size(), 1);
    QCOMPARE(controller.getTarget().GetGamma(), 2.4);

    // Each display holds the whole table of its model, the retried ones too.
    std::map<QByteArray, QVector<int>> table_of_model;
    for (int i = 0; i < kDisplays; ++i) {
        const auto [model, activations, table] = sim.wall.with_display(sim.handles.at(i), [](sim_display &d) {
            return std::make_tuple(d.model_name, d.lut_activations, d.active_lut.table(d.active_lut_entries));
        });
        QVERIFY2(activations >= 1, qPrintable(QString::number(i)));
        QVERIFY2(!table.isEmpty(), qPrintable(QString::number(i)));
        const auto known = table_of_model.emplace(model, table);
        QVERIFY2(known.first->second == table, qPrintable(QStringLiteral("%1 %2").arg(i).arg(QString(model))));
    }
    QCOMPARE(int(table_of_model.size()), kModels.size());
    settle_tiles();
    for (const auto &[index, tile] : tiles_of(window))
        QVERIFY(tile->view().fill != faulty);

    std::printf("100-tile wall, 30 jobs at a time: longest user-interface stall %.1f ms during Verify "
                "(p99 %.1f ms, %zu ticks), %.1f ms during the table upload (p99 %.1f ms, %zu ticks)\n",
                verify_stalls.longest(), verify_stalls.percentile(0.99), verify_stalls.ticks(),
                upload_stalls.longest(), upload_stalls.percentile(0.99), upload_stalls.ticks());
    std::fflush(stdout);
}

QTEST_MAIN(tst_wall_scale)
#include "tst_wall_scale.moc"
