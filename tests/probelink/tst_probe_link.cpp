#include "probelink/probe_link.h"

#include "fake_probe_backend.h"

#include <QtTest>

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace {

using TransferRun = std::int32_t (*)(CProbeLink &, std::uint32_t, std::uint8_t *, std::uint32_t);

// The four transfer calls, with the pipe each must use.
struct transfer_call
{
    const char *name;
    int pipe;
    bool reads;
    TransferRun run;
};

const transfer_call kTransferCalls[] = {
    {"write16", 0, false, [](CProbeLink &l, std::uint32_t d, std::uint8_t *b, std::uint32_t c) { return l.Write16(d, b, c); }},
    {"read16", 1, true, [](CProbeLink &l, std::uint32_t d, std::uint8_t *b, std::uint32_t c) { return l.Read16(d, b, c); }},
    {"write64", 2, false, [](CProbeLink &l, std::uint32_t d, std::uint8_t *b, std::uint32_t c) { return l.Write64(d, b, c); }},
    {"read64", 3, true, [](CProbeLink &l, std::uint32_t d, std::uint8_t *b, std::uint32_t c) { return l.Read64(d, b, c); }},
};

const std::array<int, 4> kAllOpen = {1, 1, 1, 1};
const std::array<int, 4> kAllClosed = {0, 0, 0, 0};

int transfer_count(const fake_probe &probe)
{
    return probe.transfers[0] + probe.transfers[1] + probe.transfers[2] + probe.transfers[3];
}

} // namespace

class tst_probe_link : public QObject
{
    Q_OBJECT

    CFakeProbeBackend *m_fake = nullptr;
    std::unique_ptr<CProbeLink> m_link;

    std::int32_t transfer(int call, std::uint32_t device, std::uint8_t *buffer, std::uint32_t count)
    {
        return kTransferCalls[call].run(*m_link, device, buffer, count);
    }

    // One row per transfer call for a case: the call, then the case's values.
    template <typename... Values>
    static void add_transfer_rows(const char *caseName, Values... values)
    {
        for (int call = 0; call < 4; ++call)
            ((QTest::addRow("%s, %s", kTransferCalls[call].name, caseName) << call) << ... << values);
    }

private slots:
    void init()
    {
        auto fake = std::make_unique<CFakeProbeBackend>();
        m_fake = fake.get();
        m_link = std::make_unique<CProbeLink>(std::move(fake));
    }

    void cleanup()
    {
        m_link.reset();
        m_fake = nullptr;
    }

    void device_number_out_of_range_data()
    {
        QTest::addColumn<int>("call"); // 0..3 transfers, 4 int_usb, 5 end_usb
        QTest::addColumn<quint32>("device");
        const char *names[] = {"write16", "read16", "write64", "read64", "int_usb", "end_usb"};
        for (int call = 0; call < 6; ++call) {
            for (quint32 device : {127u, 128u, std::numeric_limits<quint32>::max()})
                QTest::addRow("%s(%u)", names[call], device) << call << device;
        }
    }

    void device_number_out_of_range()
    {
        QFETCH(int, call);
        QFETCH(quint32, device);
        // More probes than numbers: the refusal must come from the number alone.
        m_fake->AddProbes(130);
        std::uint8_t buffer[16] = {};
        const int callsBefore = m_fake->Calls();
        const std::int32_t result = call < 4 ? transfer(call, device, buffer, sizeof buffer)
                                   : call == 4 ? m_link->IntUsb(device)
                                               : m_link->EndUsb(device);
        QCOMPARE(result, std::int32_t(CProbeLink::kErrDeviceNumber));
        QCOMPARE(m_fake->Calls(), callsBefore);
    }

    void highest_device_number_is_126()
    {
        m_fake->AddProbes(127);
        QCOMPARE(m_link->IntUsb(126), 0);
        QCOMPARE(m_fake->Probe(126)->openPipes, kAllOpen);
        QCOMPARE(m_link->EndUsb(126), 0);
        QCOMPARE(m_fake->Probe(126)->openPipes, kAllClosed);
    }

    void get_num_data()
    {
        QTest::addColumn<int>("probes");
        QTest::addColumn<int>("unopenable"); // index of a probe that does not open, or -1
        QTest::addColumn<int>("count");
        QTest::newRow("no probe") << 0 << -1 << 0;
        QTest::newRow("all open") << 3 << -1 << 3;
        QTest::newRow("stops at the first that does not open") << 4 << 2 << 2;
        QTest::newRow("first does not open") << 2 << 0 << 0;
        QTest::newRow("capped at 127") << 130 << -1 << 127;
        QTest::newRow("unopenable beyond the cap") << 130 << 128 << 127;
    }

    void get_num()
    {
        QFETCH(int, probes);
        QFETCH(int, unopenable);
        QFETCH(int, count);
        if (probes > 0)
            m_fake->AddProbes(probes);
        if (unopenable >= 0)
            m_fake->Probe(unopenable)->opens = false;
        QCOMPARE(m_link->GetNum(), count);
        for (int i = 0; i < probes; ++i)
            QVERIFY(m_fake->Probe(i)->openOrder.empty()); // counting opens no pipe
    }

    void int_usb_opens_four_pipes_in_order_then_settles()
    {
        const auto probe = m_fake->AddProbes(2);
        QCOMPARE(m_link->IntUsb(0), 0);
        QCOMPARE(probe->openOrder, (std::vector<int>{0, 1, 2, 3}));
        QCOMPARE(probe->openPipes, kAllOpen);
        QCOMPARE(m_fake->Probe(1)->openPipes, kAllClosed);
        QCOMPARE(m_fake->Waits(), std::vector<int>{CProbeLink::kSettleMs});
        QCOMPARE(CProbeLink::kSettleMs, 100);
    }

    void int_usb_without_probe()
    {
        m_fake->AddProbes(2);
        QCOMPARE(m_link->IntUsb(2), -2);
        QCOMPARE(m_link->IntUsb(126), -2);
        QVERIFY(m_fake->Probe(0)->openOrder.empty());
        QVERIFY(m_fake->Probe(1)->openOrder.empty());
        QVERIFY(m_fake->Waits().empty());
    }

    void no_such_probe_is_checked_before_already_open()
    {
        m_fake->AddProbes(2);
        const auto unplugged = m_fake->Probe(1);
        QCOMPARE(m_link->IntUsb(1), 0);
        m_fake->RemoveLastProbe();
        QCOMPARE(m_link->IntUsb(1), -2);
        QCOMPARE(unplugged->openPipes, kAllOpen); // left as they were
        QCOMPARE(m_link->EndUsb(1), 0);
        QCOMPARE(unplugged->openPipes, kAllClosed);
    }

    void int_usb_on_open_device()
    {
        const auto probe = m_fake->AddProbes(1);
        QCOMPARE(m_link->IntUsb(0), 0);
        QCOMPARE(m_link->IntUsb(0), -3);
        QCOMPARE(probe->openOrder.size(), std::size_t(4)); // nothing reopened
        QCOMPARE(probe->openPipes, kAllOpen);
        QCOMPARE(m_fake->Waits().size(), std::size_t(1));
        std::uint8_t byte = 0x5A;
        QCOMPARE(m_link->Write16(0, &byte, 1), 1); // still usable
    }

    void pipe_open_failure_data()
    {
        QTest::addColumn<int>("pipe");
        QTest::addColumn<int>("result");
        QTest::newRow("pipe 00") << 0 << -3;
        QTest::newRow("pipe 01") << 1 << -4;
        QTest::newRow("pipe 02") << 2 << -5;
        QTest::newRow("pipe 03") << 3 << -6;
    }

    void pipe_open_failure()
    {
        QFETCH(int, pipe);
        QFETCH(int, result);
        const auto probe = m_fake->AddProbes(1);
        probe->failingPipe = pipe;
        QCOMPARE(m_link->IntUsb(0), result);
        std::vector<int> tried;
        for (int p = 0; p < pipe; ++p)
            tried.push_back(p);
        QCOMPARE(probe->openOrder, tried); // stopped at the failing pipe
        QCOMPARE(probe->openPipes, kAllClosed);
        QVERIFY(m_fake->Waits().empty());
        std::uint8_t buffer[4] = {};
        for (int call = 0; call < 4; ++call)
            QCOMPARE(transfer(call, 0, buffer, sizeof buffer), -2);

        // The device was left closed, not half open: once the pipe opens, so does the device.
        probe->failingPipe = -1;
        QCOMPARE(m_link->IntUsb(0), 0);
        QCOMPARE(probe->openPipes, kAllOpen);
    }

    void end_usb_closes_only_its_device()
    {
        m_fake->AddProbes(2);
        QCOMPARE(m_link->IntUsb(0), 0);
        QCOMPARE(m_link->IntUsb(1), 0);
        QCOMPARE(m_link->EndUsb(0), 0);
        QCOMPARE(m_fake->Probe(0)->openPipes, kAllClosed);
        QCOMPARE(m_fake->Probe(1)->openPipes, kAllOpen);
        std::uint8_t buffer[4] = {};
        for (int call = 0; call < 4; ++call) {
            QCOMPARE(transfer(call, 0, buffer, sizeof buffer), -2);
            QCOMPARE(transfer(call, 1, buffer, sizeof buffer), 4);
        }
        QCOMPARE(transfer_count(*m_fake->Probe(0)), 0);

        const int callsBefore = m_fake->Calls();
        QCOMPARE(m_link->EndUsb(0), 0); // already closed
        QCOMPARE(m_link->EndUsb(5), 0); // never opened, no such probe
        QCOMPARE(m_fake->Calls(), callsBefore);
        QCOMPARE(m_fake->Probe(1)->openPipes, kAllOpen);
    }

    void transfer_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<int>("shortBy");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("result");
        // Ten bytes asked each time.
        const struct { const char *name; int shortBy; bool fails; int writeResult; int readResult; } cases[] = {
            {"complete", 0, false, 10, 10},
            {"short", 3, false, 7, -3},
            {"nothing moved", 10, false, 0, -3},
            {"failed", 0, true, -3, -3},
            // A transport that claims more than it was given is not believed.
            {"more than asked", -2, false, -3, -3},
        };
        for (const auto &c : cases) {
            for (int call = 0; call < 4; ++call) {
                QTest::addRow("%s, %s", kTransferCalls[call].name, c.name)
                    << call << c.shortBy << c.fails
                    << (kTransferCalls[call].reads ? c.readResult : c.writeResult);
            }
        }
    }

    void transfer()
    {
        QFETCH(int, call);
        QFETCH(int, shortBy);
        QFETCH(bool, fails);
        QFETCH(int, result);
        const transfer_call &info = kTransferCalls[call];
        const std::int32_t count = 10;

        const auto probe = m_fake->AddProbes(1);
        probe->readData = {0xA1, 0xB2, 0xC3};
        probe->shortBy[info.pipe] = shortBy;
        probe->transferFails[info.pipe] = fails;
        QCOMPARE(m_link->IntUsb(0), 0);

        std::vector<std::uint8_t> buffer = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QCOMPARE(transfer(call, 0, buffer.data(), count), result);
        QCOMPARE(probe->transfers[info.pipe], 1);
        QCOMPARE(transfer_count(*probe), 1);
        if (!info.reads && result >= 0)
            QCOMPARE(probe->written[info.pipe], std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + result));
        if (info.reads && result >= 0)
            QCOMPARE(buffer, (std::vector<std::uint8_t>{0xA1, 0xB2, 0xC3, 0xA1, 0xB2, 0xC3, 0xA1, 0xB2, 0xC3, 0xA1}));
        QCOMPARE(probe->openPipes, kAllOpen); // a failed transfer closes nothing
    }

    void unusable_count_or_buffer_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<bool>("withBuffer");
        QTest::addColumn<quint32>("count");
        const quint32 aboveInt32 = quint32(std::numeric_limits<std::int32_t>::max()) + 1;
        add_transfer_rows("count 2^31", true, aboveInt32);
        add_transfer_rows("count 2^32-1", true, std::numeric_limits<quint32>::max());
        add_transfer_rows("no buffer", false, quint32(1));
    }

    void unusable_count_or_buffer()
    {
        QFETCH(int, call);
        QFETCH(bool, withBuffer);
        QFETCH(quint32, count);
        const auto probe = m_fake->AddProbes(1);
        QCOMPARE(m_link->IntUsb(0), 0);
        std::uint8_t buffer[8] = {};
        QCOMPARE(transfer(call, 0, withBuffer ? buffer : nullptr, count), -3);
        QCOMPARE(transfer_count(*probe), 0);
        QCOMPARE(probe->openPipes, kAllOpen);
    }

    void unusable_count_on_closed_device_is_not_open()
    {
        m_fake->AddProbes(1);
        for (int call = 0; call < 4; ++call)
            QCOMPARE(transfer(call, 0, nullptr, std::numeric_limits<quint32>::max()), -2);
    }

    void empty_transfer_needs_no_buffer()
    {
        const auto probe = m_fake->AddProbes(1);
        QCOMPARE(m_link->IntUsb(0), 0);
        for (int call = 0; call < 4; ++call)
            QCOMPARE(transfer(call, 0, nullptr, 0), 0);
        QCOMPARE(probe->transfers, (std::array<int, 4>{1, 1, 1, 1})); // one on each pipe
    }
};

QTEST_APPLESS_MAIN(tst_probe_link)
#include "tst_probe_link.moc"
