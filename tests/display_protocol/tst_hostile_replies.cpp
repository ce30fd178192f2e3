// Damaged, short, long and nonsensical display replies fed through the real
// frame reader and every reply decoder, from a bare loopback display of the
// test's own. Every call must end in bounded time with 0 or a
// negative status and keep its out-values inside the caller's buffers; a
// reply cut below what the command needs must fail. Fixed seeds: every run
// feeds the same replies.
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/link_status.h"
#include "display_protocol/monitor_capabilities.h"
#include "display_protocol/wait_service.h"
#include "simulator/loopback_block.h"
#include "tests/display_protocol/raw_reply_server.h"

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

const QString kAddress = loopback_block::address(1);
// Waits run at a twentieth; a call that still takes this long hangs.
constexpr double kTimeScale = 0.05;
constexpr qint64 kCallLimitMs = 3000;
constexpr int kMutationsPerRow = 40;
constexpr int kMultiRequestRounds = 20;
constexpr int kMaxBody = 253;   // the most a two-digit length field can carry
// A call that wrote outside the buffers the test gave it.
constexpr int kOutOfBounds = 1;

QByteArray frame(char type, const QByteArray &body, int claimed_count = -1)
{
    const int count = claimed_count >= 0 ? claimed_count : body.size() + 2;
    QByteArray f;
    f += '\x01';
    f += '0';
    f += '0';
    f += 'A';
    f += type;
    f += QByteArray::number(count & 0xFF, 16).toUpper().rightJustified(2, '0');
    f += '\x02';
    f += body;
    f += '\x03';
    char check = 0;
    for (int i = 1; i < f.size(); ++i)
        check ^= f.at(i);
    f += check;
    f += '\r';
    return f;
}

// |capacity| elements with guard zones on both sides.
template <typename T>
struct guarded
{
    static constexpr int kGuard = 16;
    explicit guarded(int capacity, T pattern)
        : capacity(capacity), pattern(pattern), storage(static_cast<size_t>(capacity + 2 * kGuard), pattern)
    {
    }
    T *data() { return storage.data() + kGuard; }
    bool intact() const
    {
        for (int i = 0; i < kGuard; ++i) {
            if (storage[static_cast<size_t>(i)] != pattern
                || storage[static_cast<size_t>(kGuard + capacity + i)] != pattern)
                return false;
        }
        return true;
    }
    int capacity;
    T pattern;
    std::vector<T> storage;
};

using command_call = std::function<int(PDCommProtocol &)>;

struct decoder_row
{
    const char *name;
    char type;              // message type of the sound reply
    QByteArray body;        // a sound reply body
    int min_length;         // a body shorter than this must fail
    command_call call;      // returns the status, or kOutOfBounds
    bool unsolicited = false;
};

int in_bounds(int status, bool ok)
{
    return ok ? status : kOutOfBounds;
}

// Byte buffers of the text reads: the count stays below the capacity and
// the text is terminated inside it.
int text_read(int capacity, const std::function<int(char *, int, int *)> &read)
{
    guarded<char> buffer(capacity, 'Z');
    int count = -1;
    const int status = read(buffer.data(), capacity, &count);
    const bool ok = buffer.intact() && count >= 0 && count < capacity && buffer.data()[count] == '\0';
    return in_bounds(status, ok);
}

QByteArray hex_of(const QByteArray &text)
{
    return text.toHex().toUpper();
}

const QByteArray kFortyTwo = QByteArray("0007") + "01" + "00000000" + "01020304" + "07E8" + "0102030405" + "000000";
const QByteArray kHistory = QByteArray("1801020304") + "00010002" + "03" + QByteArray("0100").repeated(6) + "01"
                            + QByteArray("41").repeated(13) + "0506" + QByteArray("42").repeated(13);

QList<decoder_row> decoder_rows()
{
    QList<decoder_row> rows;
    const auto add = [&](const char *name, char type, const QByteArray &body, int min_length, command_call call,
                         bool unsolicited = false) {
        rows.append({name, type, body, min_length, std::move(call), unsolicited});
    };
    const auto byte_out = [](std::function<int(PDCommProtocol &, quint8 *)> f) {
        return [f](PDCommProtocol &p) {
            quint8 v = 0;
            return f(p, &v);
        };
    };
    add("set_mode_c011", 'B', "00C01101", 8, [](PDCommProtocol &p) { quint8 r, m; return p.set_mode_c011(1, &r, &m); });
    add("set_power_state", 'B', "00C203D60001", 12, [](PDCommProtocol &p) { quint16 m; return p.set_power_state(1, &m); });
    add("get_power_state", 'B', "0200D6000004" "0001", 16,
        [](PDCommProtocol &p) { quint16 m, x; return p.get_power_state(&m, &x); });
    add("save_current_settings", 'B', "000C", 4, [](PDCommProtocol &p) { return p.save_current_settings(); });
    add("get_timing_report", 'B', "4E001F401770", 12, [](PDCommProtocol &p) {
        quint8 s;
        float h, v;
        return p.get_timing_report(&s, &h, &v);
    });
    add("send_ir_key short form", 'B', "C3100015", 8, [](PDCommProtocol &p) { return p.send_ir_key(0x15, 3); });
    add("send_ir_key long form", 'B', "00C210001503", 12, [](PDCommProtocol &p) { return p.send_ir_key(0x15, 3); });
    add("read_capability_fragment", 'B', "E30020vcp(10 12 14(05 06))", 6, [](PDCommProtocol &p) {
        return text_read(12, [&](char *b, int c, int *n) { return p.read_capability_fragment(0x20, b, c, n); });
    });
    add("read_c00b_block", 'B', "C10BSOME TEXT OF THE DISPLAY", 4, [](PDCommProtocol &p) {
        return text_read(9, [&](char *b, int c, int *n) { return p.read_c00b_block(0, b, c, n); });
    });
    add("write_c00e_block", 'B', QByteArray("00C00E02ABC") + QByteArray(29, '\0'), 40,
        [](PDCommProtocol &p) { quint8 r; return p.write_c00e_block(2, "ABC", &r); });
    add("get_parameter", 'D', "0000100000640032", 16, [](PDCommProtocol &p) {
        quint8 r, t;
        quint16 m, c;
        return p.get_parameter(0, 0x10, &r, &t, &m, &c);
    });
    add("set_parameter", 'F', "0000100000640032", 16, [](PDCommProtocol &p) {
        quint8 r, t;
        quint16 m, c;
        return p.set_parameter(0, 0x10, 0x32, &r, &t, &m, &c);
    });
    add("get_serial_number", 'B', "C316" + hex_of("SN-1234"), 4, [](PDCommProtocol &p) { QByteArray t; return p.get_serial_number(&t); });
    add("get_model_name", 'B', "C317" + hex_of("QX-5500"), 4, [](PDCommProtocol &p) { QByteArray t; return p.get_model_name(&t); });
    add("get_self_test_report", 'B', "A100010203040506", 2, [](PDCommProtocol &p) {
        guarded<quint8> report(4, 0x5A);
        int count = report.capacity;
        const int status = p.get_self_test_report(report.data(), &count);
        return in_bounds(status, report.intact() && count >= 0 && count <= report.capacity);
    });
    add("get_date_time", 'B', "C31118061E0208" "1E00", 18,
        [](PDCommProtocol &p) { display_clock_record c; return p.get_date_time(&c); });
    add("set_date_time", 'B', "00C31218061E0208" "1E00", 20,
        [](PDCommProtocol &p) { display_clock_record c; return p.set_date_time(&c); });
    add("get_schedule_extended family 12", 'B', "C33D" "00" "0301081E0101000118" "0C1F", 28,
        [](PDCommProtocol &p) { schedule_program_record e; return p.get_schedule_extended(12, 3, &e); });
    add("get_schedule_extended", 'B', "C321" "00" "03" "16000800" "01010001180C1F", 30,
        [](PDCommProtocol &p) { schedule_program_record e; return p.get_schedule_extended(1, 3, &e); });
    add("set_schedule_extended family 12", 'B', "C33E000301081E" "01010001180C1F", 28, [](PDCommProtocol &p) {
        schedule_program_record e;
        e.event_type = schedule_program_record::kEventOn;
        return p.set_schedule_extended(12, 3, &e);
    });
    add("set_schedule_extended", 'B', "C3220003" "16000800" "01010001180C1F", 30,
        [](PDCommProtocol &p) { schedule_program_record e; return p.set_schedule_extended(1, 3, &e); });
    add("get_schedule", 'B', "C31303" "16000800010101", 20,
        [](PDCommProtocol &p) { schedule_program_record e; return p.get_schedule(3, &e); });
    add("get_schedule_long", 'B', "C31303" "1600080001010102", 22,
        [](PDCommProtocol &p) { schedule_program_record e; return p.get_schedule_long(3, &e); });
    add("set_schedule", 'B', "00C31403" "16000800010101", 22,
        [](PDCommProtocol &p) { schedule_program_record e; return p.set_schedule(3, &e); });
    add("set_schedule_long", 'B', "00C31403" "1600080001010102", 22,
        [](PDCommProtocol &p) { schedule_program_record e; return p.set_schedule_long(3, &e); });
    add("get_schedule_status family 12", 'B', "C33F010305", 10, byte_out([](PDCommProtocol &p, quint8 *s) { return p.get_schedule_status(12, 3, 5, s); }));
    add("get_schedule_status", 'B', "C315010305", 10, byte_out([](PDCommProtocol &p, quint8 *s) { return p.get_schedule_status(1, 3, 5, s); }));
    add("get_identity_string", 'B', "CB020000MPU 1.02", 8,
        [](PDCommProtocol &p) { QByteArray t; return p.get_identity_string(1, &t); });
    add("set_log_mode", 'B', "CB150000", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.set_log_mode(1, s); }));
    add("read_latest_log", 'B', "CB150100" + kFortyTwo, 50,
        [](PDCommProtocol &p) { display_log_entry e; return p.read_latest_log(&e); });
    add("read_log_counts", 'B', "CB1502000010010000", 18, [](PDCommProtocol &p) {
        quint8 s, c;
        quint16 t, m;
        return p.read_log_counts(&s, &t, &m, &c);
    });
    add("read_log_entry", 'B', "CB150300" + kFortyTwo, 50,
        [](PDCommProtocol &p) { display_log_entry e; return p.read_log_entry(1, 2, &e); });
    add("get_lan_text_c22a", 'B', "C32A02010002001122334455", 12, [](PDCommProtocol &p) {
        quint8 a, b;
        QByteArray t;
        return p.get_lan_text_c22a(&a, &b, &t);
    });
    add("get_mac_address", 'B', "C32000001A2B3C4D5E", 6,
        [](PDCommProtocol &p) { quint8 v; QByteArray t; return p.get_mac_address(0, &v, &t); });
    add("get_lan_setting_c22a", 'B', "C32A014502C0A80001", 18, [](PDCommProtocol &p) {
        quint8 a, b;
        std::array<quint8, 4> g;
        return p.get_lan_setting_c22a(&a, &b, &g);
    });
    add("start_ca0a_1", 'B', "CB0A0100", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.start_ca0a_1(s); }));
    add("start_ca0a_3", 'B', "CB0A0300", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.start_ca0a_3(s); }));
    add("wait_ca0a_result", 'B', "CA0A0200", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.wait_ca0a_result(s); }), true);
    add("start_ca03_1", 'B', "CB030100", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.start_ca03_1(4, s); }));
    add("start_ca03_3", 'B', "CB030300", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.start_ca03_3(s); }));
    add("wait_ca03_result", 'B', "CA030200", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.wait_ca03_result(s); }), true);
    add("read_ca03_4", 'B', "CB0304010203", 12, [](PDCommProtocol &p) { std::array<quint8, 3> v; return p.read_ca03_4(&v); });
    add("write_ca03_5", 'B', "CB030500", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca03_5(1, 2, s); }));
    add("write_ca0c_1", 'B', "CB0C0100", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca0c_1(1, {1, 2, 3, 4}, s); }));
    add("read_ca0c_2", 'B', "CB0C0200", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.read_ca0c_2(s); }));
    add("write_c21d", 'B', "C31D0102", 8, [](PDCommProtocol &p) { std::array<quint8, 2> r; return p.write_c21d(1, 1234, &r); });
    add("write_ca1b", 'B', "CB1B0102", 8, [](PDCommProtocol &p) { std::array<quint8, 2> r; return p.write_ca1b(1, 1234, &r); });
    add("write_ca01_1", 'B', "CB010100", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca01_1(1, 2, s); }));
    add("read_ca01_0", 'B', "CB0100" + QByteArray("0102030405060708090A0B0C"), 30,
        [](PDCommProtocol &p) { std::array<quint8, 12> v; return p.read_ca01_0(&v); });
    add("read_ca01_2", 'B', "CB01020102", 10, [](PDCommProtocol &p) { std::array<quint8, 2> v; return p.read_ca01_2(&v); });
    add("write_ca01_3", 'B', "CB010300", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca01_3(1, s); }));
    add("read_ca04_2", 'B', "CB040200", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.read_ca04_2(s); }));
    add("read_ca04_0", 'B', "CB04000102", 6, [](PDCommProtocol &p) { QByteArray v; return p.read_ca04_0(&v); });
    add("write_ca04_1", 'B', "CB040100", 8, [](PDCommProtocol &p) {
        quint8 s;
        return p.write_ca04_1({}, &s);
    });
    add("write_ca04_5", 'B', "CB040500", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca04_5(1, s); }));
    add("read_ca04_3", 'B', "CB04030700AABB", 10, [](PDCommProtocol &p) { QByteArray v; return p.read_ca04_3(7, &v); });
    add("write_ca04_4", 'B', "CB040400", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca04_4(1, 2, s); }));
    add("get_power_save_mode", 'B', "CB0B0001", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.get_power_save_mode(s); }));
    add("set_power_save_mode", 'B', "CB0B0101", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.set_power_save_mode(1, s); }));
    add("get_power_setting_2", 'B', "CB0B0201", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.get_power_setting_2(s); }));
    add("set_power_setting_3", 'B', "CB0B0301", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.set_power_setting_3(1, s); }));
    add("get_power_setting_4", 'B', "CB0B0401", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.get_power_setting_4(s); }));
    add("set_power_setting_5", 'B', "CB0B0501", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.set_power_setting_5(1, s); }));
    add("send_c206", 'B', "00C306", 6, [](PDCommProtocol &p) { return p.send_c206(); });
    add("send_c207", 'B', "00C307", 6, [](PDCommProtocol &p) { return p.send_c207(); });
    add("send_c208", 'B', "00C308", 6, [](PDCommProtocol &p) { return p.send_c208(); });
    add("send_c209", 'B', "00C309", 6, [](PDCommProtocol &p) { return p.send_c209(); });
    add("write_lut_block", 'B', "C3050010" "0001000200030004", 24, [](PDCommProtocol &p) {
        const quint16 v[] = {1, 2, 3, 4};
        return p.write_lut_block(0x10, v, 4);
    });
    add("write_lut_block_c20b", 'B', "C30B0010" "0001000200030004", 24, [](PDCommProtocol &p) {
        const quint16 v[] = {1, 2, 3, 4};
        return p.write_lut_block_c20b(0x10, v, 4);
    });
    add("read_lut_block", 'B', "C304" "0001000200030004", 20, [](PDCommProtocol &p) {
        guarded<quint16> v(4, 0xA55A);
        return in_bounds(p.read_lut_block(0x10, v.data(), 4), v.intact());
    });
    add("read_lut_block_c20a", 'B', "C30A" "0001000200030004", 20, [](PDCommProtocol &p) {
        guarded<quint16> v(4, 0xA55A);
        return in_bounds(p.read_lut_block_c20a(0x10, v.data(), 4), v.intact());
    });
    add("read_c226_text", 'B', "00C326SOME TEXT", 6,
        [](PDCommProtocol &p) { quint8 r; QByteArray t; return p.read_c226_text(1, &r, &t); });
    add("write_c227", 'B', "00C327X12", 9, [](PDCommProtocol &p) { quint8 r; char c; return p.write_c227(1, "HI", &r, &c); });
    add("read_c22e_points", 'B', "00C32E" "000100020003" "000400050006" "000700080009", 6, [](PDCommProtocol &p) {
        guarded<quint16> points(3 * 2, 0xA55A);
        int received = -1;
        const int status = p.read_c22e_points(0, 0, 0, 3, points.data(), 2, &received);
        return in_bounds(status, points.intact() && received >= 0 && received <= 2);
    });
    add("get_c22c_channel", 'B', "C32C000100020003", 16, [](PDCommProtocol &p) {
        quint16 a, b, c;
        return p.get_c22c_channel(&a, &b, &c);
    });
    add("set_c22d_channel", 'B', "C32D000100020003", 16, [](PDCommProtocol &p) { return p.set_c22d_channel(1, 2, 3); });
    add("read_ca17_1", 'B', "CB1701040001020304", 18, [](PDCommProtocol &p) { std::array<quint8, 5> v; return p.read_ca17_1(4, &v); });
    add("write_ca17_0", 'B', "CB170000", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca17_0(1, s); }));
    add("write_ca17_2", 'B', "CB170200", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_ca17_2(1, s); }));
    add("write_profile", 'B', "CB200000", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_profile(2, {}, s); }));
    add("read_profile", 'B', "CB20010002" "01" + QByteArray("07").repeated(32), 76,
        [](PDCommProtocol &p) { display_profile_record r; return p.read_profile(2, &r); });
    add("select_profile", 'B', "CB200200", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.select_profile(2, s); }));
    add("set_weekend_schedule", 'B', "CB1A010003", 10, [](PDCommProtocol &p) {
        quint8 s, b;
        return p.set_weekend_schedule(3, &s, &b);
    });
    add("get_weekend_schedule", 'B', "CB1A0003", 8, byte_out([](PDCommProtocol &p, quint8 *s) { return p.get_weekend_schedule(s); }));
    add("set_holiday_schedule", 'B', "CB19010005" "0319" "0C180000" "0000", 26, [](PDCommProtocol &p) {
        holiday_program_record e;
        e.program_number = 5;
        return p.set_holiday_schedule(&e);
    });
    add("get_holiday_schedule", 'B', "CB190005" "0719" "0C180000" "0000", 24,
        [](PDCommProtocol &p) { holiday_program_record e; return p.get_holiday_schedule(5, &e); });
    add("engine_command_c257", 'B', "C357" "000000010000000200000003", 28,
        [](PDCommProtocol &p) { std::array<quint32, 3> v; return p.engine_command_c257(&v); });
    add("engine_command_c258", 'B', "C358" "00" "0102030405060708090A0B0C", 30, [](PDCommProtocol &p) {
        quint8 s;
        std::array<quint8, 12> r;
        return p.engine_command_c258({1, 2, 3}, &s, &r);
    });
    add("read_calibration_history_entry", 'B', "C35A0001" + kHistory, 110,
        [](PDCommProtocol &p) { calibration_history_entry e; return p.read_calibration_history_entry(1, &e); });
    add("write_c259", 'B', "C35900", 6, byte_out([](PDCommProtocol &p, quint8 *s) { return p.write_c259(1, 2, {}, s); }));
    add("read_sensor_info", 'B', "C355" + hex_of(QByteArray("i1Display").leftJustified(16, '\0')) + hex_of(QByteArray("SN42").leftJustified(16, '\0')), 68,
        [](PDCommProtocol &p) { QByteArray n, s; return p.read_sensor_info(&n, &s); });
    add("write_sensor_info", 'B', "C35600" + hex_of(QByteArray("i1Display").leftJustified(16, '\0')) + hex_of(QByteArray("SN42").leftJustified(16, '\0')), 70,
        [](PDCommProtocol &p) {
            quint8 s;
            QByteArray n, r;
            return p.write_sensor_info("i1Display", "SN42", &s, &n, &r);
        });
    return rows;
}

// Damage that keeps a sound frame around the body.
QByteArray damaged_body(const QByteArray &body, std::mt19937 &random)
{
    static const char kHex[] = "0123456789ABCDEFabcdef";
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray out = body;
    const auto position = [&](int size) { return std::uniform_int_distribution<int>(0, qMax(0, size - 1))(random); };
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
    case 0: {   // longer, with hex digits
        const int extra = std::uniform_int_distribution<int>(1, 60)(random);
        for (int i = 0; i < extra; ++i)
            out += kHex[position(16)];
        break;
    }
    case 1:     // nonsense values: random hex digits in place
        for (int i = std::uniform_int_distribution<int>(1, 6)(random); i > 0 && !out.isEmpty(); --i)
            out[position(out.size())] = kHex[position(22)];
        break;
    case 2:     // bytes that are not hex digits, control bytes included
        for (int i = std::uniform_int_distribution<int>(1, 4)(random); i > 0 && !out.isEmpty(); --i)
            out[position(out.size())] = static_cast<char>(byte(random));
        break;
    case 3:     // cut and then lengthened with random bytes
        out.truncate(position(out.size() + 1));
        for (int i = std::uniform_int_distribution<int>(0, 40)(random); i > 0; --i)
            out += static_cast<char>(byte(random));
        break;
    default:    // every value field all ones
        for (int i = 6; i < out.size(); ++i)
            out[i] = 'F';
        break;
    }
    return out.left(kMaxBody);
}

} // namespace

class tst_hostile_replies : public QObject
{
    Q_OBJECT

    int run(PDCommProtocol &protocol, const command_call &call, const QString &address)
    {
        const int opened = protocol.open_link(address, PDCommProtocol::kLinkLan);
        if (opened)
            return opened;
        QElapsedTimer timer;
        timer.start();
        const int status = call(protocol);
        if (timer.elapsed() > kCallLimitMs)
            return kOutOfBounds + 1;   // reported as a hang by the caller's check
        return status;
    }

    // Feeds |bytes| as the reply to whatever the command sends.
    int feed(const decoder_row &row, const QByteArray &bytes, bool close = true)
    {
        m_server->set_responder([bytes, close](const QByteArray &) { return raw_reply {bytes, close}; },
                                row.unsolicited);
        return run(m_protocol, row.call, kAddress);
    }

    std::unique_ptr<raw_reply_server> m_server;
    PDCommProtocol m_protocol;

private slots:
    void initTestCase()
    {
        wait_service::set_time_scale(kTimeScale);
        m_server = std::make_unique<raw_reply_server>(kAddress);
        QVERIFY2(m_server->listening(), qPrintable(QStringLiteral("cannot listen on %1:7142").arg(kAddress)));
    }

    void cleanupTestCase() { m_server.reset(); }

    void decoders_survive_damaged_replies_data()
    {
        QTest::addColumn<int>("row");
        const QList<decoder_row> rows = decoder_rows();
        for (int i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void decoders_survive_damaged_replies()
    {
        QFETCH(int, row);
        const decoder_row r = decoder_rows().at(row);
        // The sound reply is taken: the damage below is what fails.
        QCOMPARE(feed(r, frame(r.type, r.body)), 0);
        const QByteArray sound = frame(r.type, r.body);
        for (int cut = 0; cut < sound.size(); ++cut) {
            const int status = feed(r, sound.left(cut));
            QVERIFY2(status < 0, qPrintable(QStringLiteral("frame cut at %1 gave %2").arg(cut).arg(status)));
        }
        for (int cut = 0; cut < r.body.size(); ++cut) {
            const int status = feed(r, frame(r.type, r.body.left(cut)));
            QVERIFY2(status <= 0, qPrintable(QStringLiteral("body cut at %1 gave %2").arg(cut).arg(status)));
            if (cut < r.min_length)
                QVERIFY2(status < 0, qPrintable(QStringLiteral("body cut at %1 taken").arg(cut)));
        }
        // Length fields that claim more or less than the frame carries.
        for (int shift : {1, 2, 7, 200}) {
            const int more = feed(r, frame(r.type, r.body, r.body.size() + 2 + shift));
            QVERIFY2(more < 0, qPrintable(QStringLiteral("length %1 over taken").arg(shift)));
            const int less = feed(r, frame(r.type, r.body, qMax(0, r.body.size() + 2 - shift)));
            QVERIFY2(less <= 0, qPrintable(QStringLiteral("length %1 under gave %2").arg(shift).arg(less)));
        }
        for (char type : {'A', 'D', 'b', '\0'}) {
            const int status = feed(r, frame(type, r.body));
            QVERIFY2(status <= 0, qPrintable(QStringLiteral("type %1 gave %2").arg(int(type)).arg(status)));
        }
        std::mt19937 random(0x7E55A11u + static_cast<unsigned>(row));
        for (int i = 0; i < kMutationsPerRow; ++i) {
            const QByteArray body = damaged_body(r.body, random);
            const int status = feed(r, frame(r.type, body));
            QVERIFY2(status <= 0, qPrintable(QStringLiteral("body %1 gave %2").arg(QString::fromLatin1(body.toHex())).arg(status)));
        }
        // Line noise instead of a frame, and a sound frame with noise after it.
        std::uniform_int_distribution<int> byte(0, 255);
        for (int i = 0; i < 8; ++i) {
            QByteArray noise;
            for (int n = std::uniform_int_distribution<int>(0, 300)(random); n > 0; --n)
                noise += static_cast<char>(byte(random));
            QVERIFY(feed(r, noise) < 0);
            QCOMPARE(feed(r, sound + noise), 0);
        }
    }

    // A display that starts a reply and then stays silent without closing
    // the connection: the reader gives up after its byte time-out.
    void a_reply_that_stops_half_way_ends_in_time()
    {
        const decoder_row r = decoder_rows().first();
        const QByteArray sound = frame(r.type, r.body);
        for (int cut : {0, 1, 7, sound.size() - 1}) {
            const int status = feed(r, sound.left(cut), false);
            QVERIFY2(status < 0 && status != kOutOfBounds + 1,
                     qPrintable(QStringLiteral("cut at %1 gave %2").arg(cut).arg(status)));
        }
    }

    // The drivers that send several requests, against a display answering
    // each with a sound frame around a damaged or sound body.
    void multi_request_commands_survive_damaged_replies_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("read_capability_string") << 0;
        QTest::newRow("read_c00b_text") << 1;
        QTest::newRow("write_c00e_blocks") << 2;
        QTest::newRow("write_lut_block_verified") << 3;
        QTest::newRow("read_c22e_cube") << 4;
    }

    void multi_request_commands_survive_damaged_replies()
    {
        QFETCH(int, which);
        std::mt19937 random(0xC0FFEEu + static_cast<unsigned>(which));
        std::uniform_int_distribution<int> chance(0, 3);
        // The sound reply body for a request body.
        const std::function<QByteArray(const QByteArray &)> sound_replies[] = {
            [](const QByteArray &req) { return "E3" + req.mid(2, 4) + QByteArray("vcp(10 12 14(05 06)) model(QX)"); },
            [](const QByteArray &) { return QByteArray("C10BTEXT OF THE DISPLAY"); },
            [](const QByteArray &req) { return "00" + req.left(6) + req.mid(6); },
            [](const QByteArray &req) {
                const QByteArray values("0001000200030004");
                return req.startsWith("C204") ? "C304" + values : "C305" + req.mid(4);
            },
            [](const QByteArray &req) {
                const int count = req.mid(10, 2).toInt(nullptr, 16);
                return "00C32E" + QByteArray("0123").repeated(3 * count);
            },
        };
        const command_call calls[] = {
            [](PDCommProtocol &p) {
                guarded<char> buffer(300, 'Z');
                int length = buffer.capacity;
                const int status = p.read_capability_string(buffer.data(), &length);
                return in_bounds(status, buffer.intact() && length >= 0 && length < buffer.capacity);
            },
            [](PDCommProtocol &p) {
                guarded<char> buffer(100, 'Z');
                int length = buffer.capacity;
                const int status = p.read_c00b_text(buffer.data(), &length);
                return in_bounds(status, buffer.intact() && length >= 0 && length < buffer.capacity);
            },
            [](PDCommProtocol &p) { return p.write_c00e_blocks(QByteArray(40, 'x'), 1); },
            [](PDCommProtocol &p) {
                const quint16 v[] = {1, 2, 3, 4};
                return p.write_lut_block_verified(0x10, v, 4);
            },
            [](PDCommProtocol &p) {
                guarded<quint16> points(3 * 27, 0xA55A);
                return in_bounds(p.read_c22e_cube(3, points.data(), 27), points.intact());
            },
        };
        PDCommProtocol protocol;
        int taken = 0;
        for (int i = 0; i < kMultiRequestRounds; ++i) {
            m_server->set_responder([&](const QByteArray &request) {
                const QByteArray body = sound_replies[which](request);
                const bool damage = chance(random) == 0;
                return raw_reply {frame('B', damage ? damaged_body(body, random) : body), false};
            });
            const int status = run(protocol, calls[which], kAddress);
            QVERIFY2(status <= 0, qPrintable(QStringLiteral("round %1 gave %2").arg(i).arg(status)));
            taken += status == 0;
        }
        m_server->set_responder(nullptr);
        // Some rounds went through undamaged: the damage is what failed the others.
        QVERIFY(taken > 0);
    }

    // A chunk answered with fewer points than asked leaves the cube
    // part-read: the read fails instead of handing back stale points.
    void colour_cube_with_a_short_chunk_fails_data()
    {
        QTest::addColumn<int>("missing");
        QTest::addColumn<int>("expected");
        QTest::newRow("every point") << 0 << 0;
        QTest::newRow("one point short") << 1 << int(link_status::kBadLength);
        QTest::newRow("no points") << 8 << int(link_status::kBadLength);
    }

    void colour_cube_with_a_short_chunk_fails()
    {
        QFETCH(int, missing);
        QFETCH(int, expected);
        m_server->set_responder([missing](const QByteArray &request) {
            const int count = qMax(0, request.mid(10, 2).toInt(nullptr, 16) - missing);
            return raw_reply {frame('B', "00C32E" + QByteArray("0ABC").repeated(3 * count)), false};
        });
        guarded<quint16> points(3 * 27, 0xA55A);
        QCOMPARE(run(m_protocol, [&](PDCommProtocol &p) { return p.read_c22e_cube(3, points.data(), 27); }, kAddress),
                 expected);
        QVERIFY(points.intact());
        if (expected == 0)
            QCOMPARE(std::count(points.data(), points.data() + 3 * 27, quint16(0x0ABC)), 3 * 27);
    }

    void colour_cube_side_is_checked_before_it_is_cubed()
    {
        quint16 point[3] = {};
        QCOMPARE(m_protocol.read_c22e_cube(2000, point, std::numeric_limits<int>::max()),
                 int(link_status::kTooManyValues));
        QCOMPARE(m_protocol.read_c22e_cube(0x100, point, std::numeric_limits<int>::max()),
                 int(link_status::kTooManyValues));
    }

    // A device that streams bytes and never sends the terminator.
    void read_until_stops_on_an_endless_stream()
    {
        m_server->set_responder([](const QByteArray &) { return raw_reply {QByteArray(10000, 'x'), false}; }, true);
        QVERIFY(m_protocol.open_link(kAddress, PDCommProtocol::kLinkLan) == 0);
        QList<char> bytes;
        QCOMPARE(m_protocol.read_until(&bytes, '\r'), int(link_status::kBadLength));
        QCOMPARE(bytes.size(), 4096);
        m_server->set_responder(nullptr);
    }

    void capability_parser_survives_hostile_strings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("deep nesting") << "vcp(" + QByteArray(100000, '(') + "10" + QByteArray(100000, ')') + ")";
        QTest::newRow("deep nesting, never closed") << "vcp(10 " + QByteArray(200000, '(');
        QTest::newRow("closing only") << "vcp(10)" + QByteArray(100000, ')');
        QTest::newRow("huge code count") << "vcp(" + QByteArray("FF ").repeated(100000) + ")";
        QTest::newRow("huge value count") << "vcp(10(" + QByteArray("01 ").repeated(100000) + "))";
        QTest::newRow("huge numbers") << QByteArray("vcp(10) asset_eep(FFFFFFFFFFFFFFFF) c_tmp_ofst(FFFFFFFFFFFFFFFFFF) "
                                                    "gamma_table(size(FFFFFFFFFFFF) r_ofs(-1) g_ofs(80000000) b_ofs(FFFFFFFF))");
        QTest::newRow("every paged group") << [] {
            QByteArray text;
            for (int page = 0; page < 0x100; ++page)
                text += "vcp_p" + QByteArray::number(page, 16).toUpper().rightJustified(2, '0') + "(10 20(01 02)) ";
            return text;
        }();
        QTest::newRow("keywords without values") << QByteArray("model( mccs_ver( type( vcp( gamma_table( asset_eep( c_tmp_ofst(");
        QTest::newRow("values at depth one first") << QByteArray("vcp((01 02) 10)");
        QTest::newRow("white space of every kind") << QByteArray("vcp(\t10\n12\r\v14\f( 05\t06 ))");
        QTest::newRow("empty") << QByteArray();
    }

    void capability_parser_survives_hostile_strings()
    {
        QFETCH(QByteArray, text);
        QElapsedTimer timer;
        timer.start();
        monitor_capabilities caps;
        const int status = caps.parse(text.constData());
        QVERIFY(timer.elapsed() < kCallLimitMs);
        QVERIFY(status == 0 || status == -1 || status == -2);
        QCOMPARE(caps.parsed(), status == 0);
        // Every entry and every value takes at least one character.
        qint64 numbers = 0;
        for (const monitor_capabilities::code_entry &e : caps.control_list() + caps.command_list())
            numbers += 1 + e.values.size();
        QVERIFY(numbers <= text.size());
    }

    void capability_parser_survives_random_strings()
    {
        static const char kAlphabet[] = "()()() 0123456789ABCDEFabcdef\t\nvcp_p02(vcp(cmds(model(type(gamma_table(size(xyz";
        std::mt19937 random(0xCA9Au);
        std::uniform_int_distribution<int> letter(0, sizeof kAlphabet - 2);
        std::uniform_int_distribution<int> byte(1, 255);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 2000; ++i) {
            QByteArray text;
            const bool raw = i % 4 == 0;
            for (int n = std::uniform_int_distribution<int>(0, 400)(random); n > 0; --n)
                text += raw ? static_cast<char>(byte(random)) : kAlphabet[letter(random)];
            monitor_capabilities caps;
            const int status = caps.parse(text.constData());
            QVERIFY2(status == 0 || status == -1 || status == -2, text.constData());
        }
        QVERIFY(timer.elapsed() < 10 * kCallLimitMs);
    }
};

QTEST_APPLESS_MAIN(tst_hostile_replies)
#include "tst_hostile_replies.moc"
