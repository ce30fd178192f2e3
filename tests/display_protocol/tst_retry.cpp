#include "display_protocol/PDCommProtocol_retry.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/wall_fixture.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <functional>
#include <thread>

namespace {

const QString kAddress = loopback_block::address(1);
const QString kOtherAddress = loopback_block::address(2);
constexpr double kScale = 0.1;

qint64 scaled(qint64 nominal_ms)
{
    return wait_service::scaled_ms(nominal_ms);
}

// Sets |stop| from a thread of its own once |when| holds (polled), as the
// user interface does while a job's link is busy.
class canceller
{
public:
    canceller(std::atomic<bool> &stop, std::function<bool()> when)
        : m_thread([&stop, when, this] {
              while (!m_done.load() && !when())
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              stop.store(true);
          })
    {
    }
    ~canceller()
    {
        m_done.store(true);
        m_thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

} // namespace

class tst_retry : public QObject
{
    Q_OBJECT

private slots:
    void init() { wait_service::set_time_scale(kScale); }

    void attempts_against_a_silent_display_data()
    {
        QTest::addColumn<int>("attempts");
        QTest::addColumn<int>("frames");
        QTest::newRow("count 0 still tries once") << 0 << 1;
        QTest::newRow("count 1") << 1 << 1;
        QTest::newRow("count 3 (default)") << 3 << 3;
    }

    // Each repeat costs one reply wait (2000 ms) and, before it, the repeat
    // pause (1000 ms for the model name) and a reconnect.
    void attempts_against_a_silent_display()
    {
        QFETCH(int, attempts);
        QFETCH(int, frames);
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::silent);
        PDCommProtocol_retry link;
        QCOMPARE(link.get_attempt_count(), 3u);
        link.set_attempt_count(static_cast<quint32>(attempts));
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QElapsedTimer timer;
        timer.start();
        const qint64 paused_before = wait_service::nominal_ms_waited();
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), link_status::kNoByte);
        const qint64 elapsed = timer.elapsed();
        QTRY_COMPARE_WITH_TIMEOUT(fx.frames(), frames, 1000);
        QCOMPARE(fx.wall.connection_count(fx.endpoint), frames);
        // Waits: |frames| reply waits and |frames| - 1 pauses, and no other
        // pause (counted, not timed: a busy machine only makes it slower).
        QCOMPARE(wait_service::nominal_ms_waited() - paused_before, qint64(1000) * (frames - 1));
        const qint64 nominal = scaled(2000) * frames + scaled(1000) * (frames - 1);
        QVERIFY2(elapsed >= nominal - 5, qPrintable(QString::number(elapsed)));
        // The frames are spaced by one reply wait plus one pause.
        const QList<sim_log_entry> log = fx.wall.log();
        for (int i = 1; i < log.size(); ++i)
            QVERIFY(log[i].time_ms - log[i - 1].time_ms >= scaled(2000) + scaled(1000) - 5);
    }

    void display_that_answers_on_the_second_try()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::silent, 1);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), link_status::kOk);
        QCOMPARE(model, QByteArray("SIM-WALL 55"));
        QCOMPARE(fx.frames(), 2);
        QCOMPARE(fx.wall.connection_count(fx.endpoint), 2);
    }

    void refusal_is_repeated_and_returned()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::refuse_be);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        quint16 mode = 0, max = 0;
        QCOMPARE(link.get_power_state(&mode, &max), link_status::kRefused);
        QCOMPARE(fx.frames(), 3);
    }

    void commands_without_retry_are_sent_once()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::refuse_be);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        schedule_program_record entry;
        QCOMPARE(link.get_schedule(0, &entry), link_status::kRefused);
        QCOMPARE(fx.frames(), 1);
    }

    void a_failed_reopen_is_a_failed_attempt()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QTRY_COMPARE(fx.wall.connection_count(fx.endpoint), 1);
        // The display drops off the network while the link is open.
        fx.wall.set_fault(fx.display, sim_fault_kind::refuse_connections);
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), link_status::kConnectionRefused);
        QCOMPARE(fx.frames(), 1);
    }

    void reopens_use_the_link_last_opened()
    {
        wall_fixture first(kAddress);
        QVERIFY_FIXTURE(first);
        wall_fixture second(kOtherAddress);
        QVERIFY_FIXTURE(second);
        second.wall.set_fault(second.display, sim_fault_kind::silent, 1);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QCOMPARE(link.open_link(kOtherAddress, PDCommProtocol::kLinkLan), 0);
        QCOMPARE(link.saved_link_kind(), int(PDCommProtocol::kLinkLan));
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), link_status::kOk);
        QCOMPARE(first.frames(), 0);
        QCOMPARE(second.frames(), 2);
        QCOMPARE(second.wall.connection_count(second.endpoint), 2);
    }

    void parameter_code_multiplies_the_attempts()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::silent);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        quint8 r, t;
        quint16 m, c;
        QCOMPARE(link.get_parameter_code(0x10, &r, &t, &m, &c), link_status::kNoByte);
        QTRY_COMPARE_WITH_TIMEOUT(fx.frames(), 9, 1000);
    }

    void stop_ends_the_retries_data()
    {
        QTest::addColumn<bool>("in_pause");
        QTest::addColumn<bool>("nested");
        QTest::newRow("stop in the reply wait") << false << false;
        QTest::newRow("stop in the repeat pause") << true << false;
        QTest::newRow("stop in a pause of a parameter code") << true << true;
    }

    // A stop starts no further attempt and cuts a repeat pause short: one
    // frame, no reopen, and less of the 1000 ms pause waited than it lasts
    // (counted, not timed). The pause runs slow enough (2 s) that the
    // canceller sees it begin even on a machine whose every core is busy.
    void stop_ends_the_retries()
    {
        QFETCH(bool, in_pause);
        QFETCH(bool, nested);
        wait_service::set_time_scale(in_pause ? 2.0 : 0.5);
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::silent);
        PDCommProtocol_retry link;
        std::atomic<bool> stop {false};
        link.set_stop_flag(&stop);
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        const qint64 paused_before = wait_service::nominal_ms_waited();
        int result = 0;
        {
            const canceller cancel(stop, [&] {
                return in_pause ? wait_service::nominal_ms_waited() > paused_before : fx.frames() > 0;
            });
            quint8 r, t;
            quint16 m, c;
            QByteArray model;
            result = nested ? link.get_parameter_code(0x10, &r, &t, &m, &c) : link.get_model_name(&model);
        }
        QCOMPARE(result, int(link_status::kStopped));
        const qint64 paused = wait_service::nominal_ms_waited() - paused_before;
        QVERIFY2(in_pause ? paused > 0 && paused < 1000 : paused == 0, qPrintable(QString::number(paused)));
        QCOMPARE(fx.frames(), 1);
        QCOMPARE(fx.wall.connection_count(fx.endpoint), 1);
    }

    void success_still_pauses()
    {
        wait_service::set_time_scale(1.0);
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QElapsedTimer timer;
        timer.start();
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), link_status::kOk);
        QVERIFY(timer.elapsed() >= 50);
    }

    void capability_attempts_start_with_the_full_space()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        // The first try reads two fragments, then the display falls silent.
        fx.wall.with_display(fx.display, [](sim_display &d) { d.capability_fragment_size = 16; });
        fx.wall.set_fault(fx.display, sim_fault_kind::silent, 1, 2);
        PDCommProtocol_retry link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QByteArray buffer(400, 'x');
        int length = buffer.size();
        QCOMPARE(link.read_capability_string(buffer.data(), &length), link_status::kOk);
        const QByteArray expected = fx.wall.with_display(fx.display, [](sim_display &d) { return d.capability_string; });
        QCOMPARE(length, expected.size());
        QCOMPARE(QByteArray(buffer.constData()), expected);
        QVERIFY(fx.wall.connection_count(fx.endpoint) == 2);
    }
};

QTEST_APPLESS_MAIN(tst_retry)
#include "tst_retry.moc"
