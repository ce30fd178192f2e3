#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/wall_fixture.h"

#include <QtTest>

#include <functional>

namespace {

const QString kAddress = loopback_block::address(1);

// Reaches the frame pieces that command methods use, to test the reply
// reader on its own.
class probe_protocol : public PDCommProtocol
{
public:
    int model_name_any_destination()
    {
        begin_request('A');
        append_hex_word(0xC217);
        if (const int status = send_request())
            return status;
        return receive_reply(2000, true);
    }
};

struct wire_row
{
    const char *name;
    int destination;
    std::function<void(PDCommProtocol &)> send;
    const char *frame_hex;   // the whole request frame as it must travel
};

const wire_row kWireRows[] = {
    {"get parameter 0x010", 'A',
     [](PDCommProtocol &p) { quint8 r, t; quint16 m, c; p.get_parameter(0x00, 0x10, &r, &t, &m, &c); },
     "01304130433036023030313003040D"},
    {"set parameter 0x010 = 0x32 (8-character body)", 'A',
     [](PDCommProtocol &p) { quint8 r, t; quint16 m, c; p.set_parameter_code(0x010, 0x32, &r, &t, &m, &c); },
     "0130413045304102303031303030333203740D"},
    {"paged get parameter to every display", '*',
     [](PDCommProtocol &p) { quint8 r, t; quint16 m, c; p.get_parameter_code(0x1192, &r, &t, &m, &c); },
     "01302A30433036023131393203650D"},
    {"command: model name", 'A', [](PDCommProtocol &p) { QByteArray t; p.get_model_name(&t); },
     "01304130413036024332313703700D"},
    {"command: power read to monitor B", 'B', [](PDCommProtocol &p) { quint16 a, b; p.get_power_state(&a, &b); },
     "01304230413036023031443603770D"},
    {"command: remote key with repeat count", 'A', [](PDCommProtocol &p) { p.send_ir_key(0x0015, 3); },
     "01304130413043024332313030303135303303050D"},
    {"command: capability fragment", 'A',
     [](PDCommProtocol &p) { char b[64]; int n; p.read_capability_fragment(0x20, b, sizeof b, &n); },
     "0130413041303802463330303230037E0D"},
    {"text command: plain characters padded with spaces", 'A',
     [](PDCommProtocol &p) { quint8 r; char c; p.write_c227(1, "HELLO", &r, &c); },
     "0130413041313402433232373148454C4C4F202020202020202003030D"},
};

struct reply_row
{
    const char *name;
    sim_fault_kind fault;
    int expected;
    bool parameter;   // checked on a get parameter, else on the model name command
};

const reply_row kReplyRows[] = {
    {"sound reply", sim_fault_kind::none, link_status::kOk, false},
    {"bad SOH", sim_fault_kind::corrupt_soh, link_status::kBadFrame, false},
    {"reserved byte", sim_fault_kind::corrupt_reserved, link_status::kBadFrame, false},
    {"destination not the controller", sim_fault_kind::corrupt_destination, link_status::kBadFrame, false},
    {"bad STX", sim_fault_kind::corrupt_stx, link_status::kBadFrame, false},
    {"bad ETX", sim_fault_kind::corrupt_etx, link_status::kBadFrame, false},
    {"bad CR", sim_fault_kind::corrupt_cr, link_status::kBadFrame, false},
    {"bad check byte", sim_fault_kind::corrupt_check, link_status::kBadCheckByte, false},
    {"BE refusal", sim_fault_kind::refuse_be, link_status::kRefused, false},
    {"wrong length", sim_fault_kind::wrong_length, link_status::kBadLength, true},
    {"parameter reply, sound", sim_fault_kind::none, link_status::kOk, true},
    {"parameter reply, bad check byte", sim_fault_kind::corrupt_check, link_status::kBadCheckByte, true},
    {"wrong reply code", sim_fault_kind::wrong_reply_code, link_status::kBadFrame, false},
    {"silent display", sim_fault_kind::silent, link_status::kNoByte, false},
    {"connection closed mid-reply", sim_fault_kind::close_mid_reply, link_status::kNoByte, false},
};

QByteArray bytes_of(const QList<char> &list)
{
    QByteArray bytes;
    for (char c : list)
        bytes.append(c);
    return bytes;
}

} // namespace

class tst_protocol_frame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { wait_service::set_time_scale(0.1); }

    void request_frames_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kWireRows)); ++i)
            QTest::newRow(kWireRows[i].name) << i;
    }

    // The frame on the wire is compared with literal bytes, and the display
    // side must have received exactly that.
    void request_frames()
    {
        QFETCH(int, row);
        const wire_row &r = kWireRows[row];
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.with_display(fx.display, [&](sim_display &d) { d.monitor_id = static_cast<char>(r.destination == '*' ? 'A' : r.destination); });
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        link.set_destination(r.destination);
        r.send(link);
        const QByteArray expected = QByteArray::fromHex(r.frame_hex);
        QCOMPARE(bytes_of(link.last_request()).toHex(), expected.toHex());
        const sim_log_entry frame = fx.last_frame();
        QCOMPARE(frame.raw.toHex(), expected.toHex());
        QVERIFY(frame.valid);
    }

    void length_and_check_byte_of_an_eight_character_body()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        quint8 r, t;
        quint16 m, c;
        QCOMPARE(link.set_parameter(0x00, 0x10, 0x0032, &r, &t, &m, &c), 0);
        const QByteArray frame = fx.last_frame().raw;
        QCOMPARE(frame.mid(5, 2), QByteArray("0A"));
        // The check byte covers offset 1 through ETX: 16 bytes for this frame.
        const int etx = frame.size() - 3;
        QCOMPARE(frame.at(etx), char(0x03));
        QCOMPARE(etx, 16);
        char x = 0;
        for (int i = 1; i <= etx; ++i)
            x ^= frame.at(i);
        QCOMPARE(frame.at(etx + 1), x);
    }

    void reply_checks_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kReplyRows)); ++i)
            QTest::newRow(kReplyRows[i].name) << i;
    }

    void reply_checks()
    {
        QFETCH(int, row);
        const reply_row &r = kReplyRows[row];
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, r.fault);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        if (r.parameter) {
            quint8 result = 9, type = 9;
            quint16 max = 9, current = 9;
            QCOMPARE(link.get_parameter(0x00, 0x10, &result, &type, &max, &current), r.expected);
            QCOMPARE(current, quint16(r.expected == link_status::kOk ? 50 : 0));
            return;
        }
        QByteArray model;
        QCOMPARE(link.get_model_name(&model), r.expected);
        QCOMPARE(model, r.expected == link_status::kOk ? QByteArray("SIM-WALL 55") : QByteArray());
    }

    void any_destination_accepts_a_reply_from_a_display()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::corrupt_destination);
        probe_protocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QCOMPARE(link.model_name_any_destination(), link_status::kOk);
    }

    void reply_type_is_checked()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.set_fault(fx.display, sim_fault_kind::wrong_reply_type);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        quint8 r, t;
        quint16 m, c;
        QCOMPARE(link.get_parameter(0x00, 0x10, &r, &t, &m, &c), link_status::kBadFrame);
    }

    void non_zero_result_byte()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        // A power mode the display does not have: its result byte is not 0.
        quint16 now = 0;
        QCOMPARE(link.set_power_state(9, &now), link_status::kResultNotZero);
        // For a get parameter the caller decides: the frame is sound.
        quint8 result = 0, type = 0;
        quint16 max = 0, current = 0;
        QCOMPARE(link.get_parameter_code(0x2F9, &result, &type, &max, &current), link_status::kOk);
        QVERIFY(result != 0);
    }

    void lower_case_hexadecimal_decodes_like_upper_case()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.with_display(fx.display, [](sim_display &d) { d.controls.set(0x10AB, 0xBEEF, 0xFACE, 0xCD); });
        fx.wall.set_fault(fx.display, sim_fault_kind::lower_case_hex);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        quint8 result = 1, type = 0;
        quint16 max = 0, current = 0;
        QCOMPARE(link.get_parameter_code(0x10AB, &result, &type, &max, &current), link_status::kOk);
        QVERIFY(fx.last_frame().valid);
        QCOMPARE(result, quint8(0));
        QCOMPARE(type, quint8(0xCD));
        QCOMPARE(max, quint16(0xFACE));
        QCOMPARE(current, quint16(0xBEEF));
    }

    void slow_link_waits_longer_for_the_first_byte_only()
    {
        // Scale 0.1: reply wait 200 ms, next bytes 200 ms, slow link +800 ms.
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        quint8 r, t;
        quint16 m, c;
        fx.wall.set_delays(fx.display, 500, 0);
        QCOMPARE(link.get_parameter(0x00, 0x10, &r, &t, &m, &c), link_status::kNoByte);
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        link.set_slow_link(true);
        QCOMPARE(link.get_parameter(0x00, 0x10, &r, &t, &m, &c), link_status::kOk);
        // Later bytes keep their own wait, slow link or not.
        fx.wall.set_delays(fx.display, 0, 400);
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QCOMPARE(link.get_parameter(0x00, 0x10, &r, &t, &m, &c), link_status::kNoByte);
    }

    void raw_write_and_read_until()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QList<char> request;
        for (char c : QByteArray::fromHex("01302A304130360243323137031B0D"))
            request << c;
        QCOMPARE(link.write_raw(request), 0);
        QList<char> reply;
        QCOMPARE(link.read_until(&reply, 0x03), 0);
        QCOMPARE(reply.size(), 35);
        QCOMPARE(reply.last(), char(0x03));
        reply.clear();
        QCOMPARE(link.read_until(&reply, 0x03), link_status::kNoByte);
        QCOMPARE(reply.size(), 2); // check byte and CR, then nothing more
    }

    void null_link_swallows_requests()
    {
        PDCommProtocol link;
        QCOMPARE(link.port_name(), QString());
        QByteArray text;
        QCOMPARE(link.get_model_name(&text), link_status::kNoByte);
        QCOMPARE(link.open_link(QString(), PDCommProtocol::kLinkNone), 0);
    }
};

QTEST_APPLESS_MAIN(tst_protocol_frame)
#include "tst_protocol_frame.moc"
