#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "tests/display_protocol/raw_reply_server.h"
#include "tests/display_protocol/wall_fixture.h"

#include <QtTest>

#include <functional>

namespace {

const QString kAddress = loopback_block::address(1);
const QString kRawAddress = loopback_block::address(2);

// A whole reply frame from its literal bytes (NUL included).
template <std::size_t N>
QByteArray frame_bytes(const char (&bytes)[N])
{
    return QByteArray(bytes, static_cast<int>(N - 1));
}

QString hex_list(std::initializer_list<quint32> values)
{
    QStringList parts;
    for (quint32 v : values)
        parts << QString::number(v, 16).toUpper();
    return parts.join(QLatin1Char(' '));
}

template <typename T, std::size_t N>
QString hex_array(const std::array<T, N> &values)
{
    QStringList parts;
    for (T v : values)
        parts << QString::number(v, 16).toUpper();
    return parts.join(QLatin1Char(' '));
}

QString hex_bytes(const QByteArray &bytes)
{
    QStringList parts;
    for (char c : bytes)
        parts << QString::number(static_cast<quint8>(c), 16).toUpper();
    return parts.join(QLatin1Char(' '));
}

QByteArray repeat(const char *unit, int times)
{
    return QByteArray(unit).repeated(times);
}

// One command: the request body it must send, the reply body the display
// gives, the status and the decoded outputs (as text) it must return.
struct command_case
{
    const char *name;
    QByteArray request;
    QByteArray reply;
    int status;
    QString outputs;
    std::function<int(PDCommProtocol &, QString *)> run;
};

using P = PDCommProtocol;

const QByteArray kLogFields = "0102" "03" "0780" "0438" "04" "05" "06" "07" "07EA" "0C" "19" "17" "3B" "1E" "00" "00" "00";
const QByteArray kHistoryFields = "1A" "0C" "19" "0A" "1E" "0001" "0002" "03" "0100" "0200" "0300" "0400" "0500" "0600"
                                  "07" + repeat("41", 13) + "05" "06" + repeat("42", 13);

const QList<command_case> &cases()
{
    static const QList<command_case> list = {
        {"set_log_mode", "CA150005", "CB150000", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.set_log_mode(5, &s); *o = hex_list({s}); return r; }},
        {"read_log_counts", "CA1502", "CB1502000010010001", 0, "0 10 100 1",
         [](P &p, QString *o) { quint8 s, c; quint16 t, m; int r = p.read_log_counts(&s, &t, &m, &c); *o = hex_list({s, t, m, c}); return r; }},
        {"read_latest_log", "CA1501", "CB150100" + kLogFields, 0, "102 3 780 438 7EA C 19 3B 1E",
         [](P &p, QString *o) { display_log_entry e; int r = p.read_latest_log(&e);
             *o = hex_list({e.log_number, e.video_input, e.input_signal_h, e.input_signal_v, e.year, e.month, e.day, e.minute, e.second}); return r; }},
        {"read_log_entry, short", "CA150300010002", "CB150300" + kLogFields.left(40), link_status::kBadLength, "0",
         [](P &p, QString *o) { display_log_entry e; int r = p.read_log_entry(1, 2, &e); *o = hex_list({e.log_number}); return r; }},
        {"start_ca0a_1", "CA0A01", "CB0A0100", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.start_ca0a_1(&s); *o = hex_list({s}); return r; }},
        {"start_ca0a_3, wrong echo", "CA0A03", "CB0A0100", link_status::kBadFrame, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.start_ca0a_3(&s); *o = hex_list({s}); return r; }},
        {"start_ca03_1", "CA030107", "CB030100", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.start_ca03_1(7, &s); *o = hex_list({s}); return r; }},
        {"start_ca03_3", "CA0303", "CB030301", 0, "1",
         [](P &p, QString *o) { quint8 s = 9; int r = p.start_ca03_3(&s); *o = hex_list({s}); return r; }},
        {"read_ca03_4", "CA0304", "CB0304010203", 0, "1 2 3",
         [](P &p, QString *o) { std::array<quint8, 3> v; int r = p.read_ca03_4(&v); *o = hex_array(v); return r; }},
        {"write_ca03_5", "CA03050102", "CB030500", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca03_5(1, 2, &s); *o = hex_list({s}); return r; }},
        {"write_ca0c_1: digits sent as character codes", "CA0C011200" "4142" "3031" "3032" "3033", "CB0C0100", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca0c_1(0x12, {0xAB, 0x01, 0x02, 0x03}, &s); *o = hex_list({s}); return r; }},
        {"read_ca0c_2", "CA0C02", "CB0C0207", 0, "7",
         [](P &p, QString *o) { quint8 v = 0; int r = p.read_ca0c_2(&v); *o = hex_list({v}); return r; }},
        {"write_c21d: decimal digits", "C21D0901020304", "C31D0A0B", 0, "A B",
         [](P &p, QString *o) { std::array<quint8, 2> v; int r = p.write_c21d(9, 1234, &v); *o = hex_array(v); return r; }},
        {"write_ca1b", "CA1B0900000506", "CB1B0102", 0, "1 2",
         [](P &p, QString *o) { std::array<quint8, 2> v; int r = p.write_ca1b(9, 56, &v); *o = hex_array(v); return r; }},
        {"write_ca01_1", "CA01010102", "CB010100", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca01_1(1, 2, &s); *o = hex_list({s}); return r; }},
        {"read_ca01_0", "CA0100", "CB0100" "0102030405060708090A0B0C", 0, "1 2 3 4 5 6 7 8 9 A B C",
         [](P &p, QString *o) { std::array<quint8, 12> v; int r = p.read_ca01_0(&v); *o = hex_array(v); return r; }},
        {"read_ca01_0, one byte short", "CA0100", "CB0100" "0102030405060708090A0B", link_status::kBadLength, "0 0 0 0 0 0 0 0 0 0 0 0",
         [](P &p, QString *o) { std::array<quint8, 12> v; v.fill(7); int r = p.read_ca01_0(&v); *o = hex_array(v); return r; }},
        {"read_ca01_2", "CA0102", "CB0102AABB", 0, "AA BB",
         [](P &p, QString *o) { std::array<quint8, 2> v; int r = p.read_ca01_2(&v); *o = hex_array(v); return r; }},
        {"write_ca01_3", "CA010305", "CB010300", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca01_3(5, &s); *o = hex_list({s}); return r; }},
        {"read_ca04_2", "CA0402", "CB040209", 0, "9",
         [](P &p, QString *o) { quint8 v = 0; int r = p.read_ca04_2(&v); *o = hex_list({v}); return r; }},
        {"read_ca04_0", "CA0400", "CB04000102FF", 0, "1 2 FF",
         [](P &p, QString *o) { QByteArray v; int r = p.read_ca04_0(&v); *o = hex_bytes(v); return r; }},
        {"write_ca04_1", "CA0401" "0102030405060708090A0B0C0D0E", "CB040100", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca04_1({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, &s); *o = hex_list({s}); return r; }},
        {"write_ca04_5", "CA040501", "CB040500", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca04_5(1, &s); *o = hex_list({s}); return r; }},
        {"read_ca04_3", "CA040305", "CB04030500AA", 0, "0 AA",
         [](P &p, QString *o) { QByteArray v; int r = p.read_ca04_3(5, &v); *o = hex_bytes(v); return r; }},
        {"read_ca04_3, non-zero result", "CA040305", "CB04030501AA", link_status::kResultNotZero, "1 AA",
         [](P &p, QString *o) { QByteArray v; int r = p.read_ca04_3(5, &v); *o = hex_bytes(v); return r; }},
        {"read_ca04_3, wrong echo", "CA040305", "CB04030600AA", link_status::kBadFrame, "",
         [](P &p, QString *o) { QByteArray v; int r = p.read_ca04_3(5, &v); *o = hex_bytes(v); return r; }},
        {"write_ca04_4", "CA04040102", "CB040400", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca04_4(1, 2, &s); *o = hex_list({s}); return r; }},
        {"get_power_save_mode", "CA0B00", "CB0B0002", 0, "2",
         [](P &p, QString *o) { quint8 v = 0; int r = p.get_power_save_mode(&v); *o = hex_list({v}); return r; }},
        {"set_power_save_mode", "CA0B0101", "CB0B0101", 0, "1",
         [](P &p, QString *o) { quint8 v = 0; int r = p.set_power_save_mode(1, &v); *o = hex_list({v}); return r; }},
        {"set_power_save_mode, reply ends early", "CA0B0101", "CB0B01", link_status::kBadLength, "0",
         [](P &p, QString *o) { quint8 v = 9; int r = p.set_power_save_mode(1, &v); *o = hex_list({v}); return r; }},
        {"get_power_setting_2", "CA0B02", "CB0B020C", 0, "C",
         [](P &p, QString *o) { quint8 v = 0; int r = p.get_power_setting_2(&v); *o = hex_list({v}); return r; }},
        {"set_power_setting_3", "CA0B030C", "CB0B030C", 0, "C",
         [](P &p, QString *o) { quint8 v = 0; int r = p.set_power_setting_3(12, &v); *o = hex_list({v}); return r; }},
        {"get_power_setting_4", "CA0B04", "CB0B0418", 0, "18",
         [](P &p, QString *o) { quint8 v = 0; int r = p.get_power_setting_4(&v); *o = hex_list({v}); return r; }},
        {"set_power_setting_5", "CA0B0518", "CB0B0518", 0, "18",
         [](P &p, QString *o) { quint8 v = 0; int r = p.set_power_setting_5(24, &v); *o = hex_list({v}); return r; }},
        {"send_c206", "C206", "00C306", 0, "", [](P &p, QString *) { return p.send_c206(); }},
        {"send_c206, non-zero result", "C206", "01C306", link_status::kResultNotZero, "", [](P &p, QString *) { return p.send_c206(); }},
        {"send_c207", "C207", "00C307", 0, "", [](P &p, QString *) { return p.send_c207(); }},
        {"send_c208", "C208", "00C308", 0, "", [](P &p, QString *) { return p.send_c208(); }},
        {"send_c209, wrong code", "C209", "00C308", link_status::kBadFrame, "", [](P &p, QString *) { return p.send_c209(); }},
        {"get_c22c_channel", "C22C", "C32C000100020003", 0, "1 2 3",
         [](P &p, QString *o) { quint16 a, b, c; int r = p.get_c22c_channel(&a, &b, &c); *o = hex_list({a, b, c}); return r; }},
        {"set_c22d_channel", "C22D000100020003", "C32D000100020003", 0, "", [](P &p, QString *) { return p.set_c22d_channel(1, 2, 3); }},
        {"set_c22d_channel, echo differs", "C22D000100020003", "C32D000100020004", link_status::kBadFrame, "",
         [](P &p, QString *) { return p.set_c22d_channel(1, 2, 3); }},
        {"read_ca17_1", "CA170104", "CB17010400" "01020304", 0, "0 1 2 3 4",
         [](P &p, QString *o) { std::array<quint8, 5> v; int r = p.read_ca17_1(4, &v); *o = hex_array(v); return r; }},
        {"write_ca17_0", "CA170001", "CB170000", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca17_0(1, &s); *o = hex_list({s}); return r; }},
        {"write_ca17_2, non-zero status", "CA170201", "CB170203", link_status::kResultNotZero, "3",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_ca17_2(1, &s); *o = hex_list({s}); return r; }},
        {"write_profile", "CA200002" "0102030405060708090A", "CB200000", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_profile(2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, &s); *o = hex_list({s}); return r; }},
        {"read_profile", "CA200102", "CB2001" "00" "02" "03" + repeat("11", 9) + repeat("22", 4) + repeat("33", 8) + repeat("44", 11), 0,
         "0 2 3 11 22 33 44",
         [](P &p, QString *o) { display_profile_record e; int r = p.read_profile(2, &e);
             *o = hex_list({e.status, e.profile_number, e.mode, e.video_input[8], e.aspect[3], e.position[7], e.reserved[10]}); return r; }},
        {"read_profile, reply ends early", "CA200102", "CB2001" "00" "02" "03" "1111", link_status::kBadLength, "0 0",
         [](P &p, QString *o) { display_profile_record e; int r = p.read_profile(2, &e); *o = hex_list({e.mode, e.video_input[0]}); return r; }},
        {"select_profile", "CA200203", "CB200200", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.select_profile(3, &s); *o = hex_list({s}); return r; }},
        {"set_weekend_schedule", "CA1A0160", "CB1A010060", 0, "0 60",
         [](P &p, QString *o) { quint8 s = 9, b = 0; int r = p.set_weekend_schedule(0x60, &s, &b); *o = hex_list({s, b}); return r; }},
        {"get_weekend_schedule", "CA1A00", "CB1A0060", 0, "60",
         [](P &p, QString *o) { quint8 b = 0; int r = p.get_weekend_schedule(&b); *o = hex_list({b}); return r; }},
        {"get_holiday_schedule, date range", "CA190003", "CB1900" "03" "03" "1A" "0C" "19" "00" "00" "0C" "1F", 0, "3 3 1A C 19 0 0 C 1F",
         [](P &p, QString *o) { holiday_program_record h; int r = p.get_holiday_schedule(3, &h);
             *o = hex_list({h.program_number, h.flags, h.year, h.month, h.day, h.nth, h.weekday, h.end_month, h.end_day}); return r; }},
        {"get_holiday_schedule, week of month", "CA190004", "CB1900" "04" "04" "00" "05" "00" "02" "01" "00" "00", 0, "4 4 0 5 0 2 1 0 0",
         [](P &p, QString *o) { holiday_program_record h; int r = p.get_holiday_schedule(4, &h);
             *o = hex_list({h.program_number, h.flags, h.year, h.month, h.day, h.nth, h.weekday, h.end_month, h.end_day}); return r; }},
        {"get_holiday_schedule, other number", "CA190004", "CB1900" "05" "04" "00" "05" "00" "02" "01" "00" "00", link_status::kBadFrame, "",
         [](P &p, QString *) { holiday_program_record h; return p.get_holiday_schedule(4, &h); }},
        {"set_holiday_schedule", "CA190107" "02" "1B" "01" "01" "00" "00" "00" "00", "CB1901" "00" "07" "02" "1B" "01" "01" "00" "00" "00" "00", 0,
         "7 2 1B 1 1",
         [](P &p, QString *o) { holiday_program_record h; h.program_number = 7; h.flags = 2; h.year = 27; h.month = 1; h.day = 1;
             int r = p.set_holiday_schedule(&h); *o = hex_list({h.program_number, h.flags, h.year, h.month, h.day}); return r; }},
        {"engine_command_c257", "C257", "C357" "00000001" "0000FFFF" "12345678", 0, "1 FFFF 12345678",
         [](P &p, QString *o) { std::array<quint32, 3> v; int r = p.engine_command_c257(&v); *o = hex_array(v); return r; }},
        {"engine_command_c258", "C258" "00000001" "00000002" "00000003", "C358" "00" "0102030405060708090A0B0C", 0, "0 C",
         [](P &p, QString *o) { quint8 s = 9; std::array<quint8, 12> v; int r = p.engine_command_c258({1, 2, 3}, &s, &v); *o = hex_list({s, v[11]}); return r; }},
        {"read_calibration_history_entry", "C25A01", "C35A" "00" "07" + kHistoryFields, 0, "7 1A A 1 2 3 100 600 7 41 5 6 42",
         [](P &p, QString *o) { calibration_history_entry e; int r = p.read_calibration_history_entry(1, &e);
             *o = hex_list({e.command_id, e.year, e.hour, e.hours_running_high, e.hours_running_low, e.hours_running_minutes,
                            e.before_rgb[0], e.after_rgb[2], e.calibration_type, e.first_text[12], e.measurement_points_h,
                            e.measurement_points_v, e.second_text[0]}); return r; }},
        {"read_calibration_history_entry, no entry", "C25A02", "C35A" "01" "07", link_status::kResultNotZero, "1",
         [](P &p, QString *o) { calibration_history_entry e; int r = p.read_calibration_history_entry(2, &e); *o = hex_list({e.status}); return r; }},
        {"read_calibration_history_entry, short entry", "C25A03", "C35A" "00" "07" + kHistoryFields.left(100), link_status::kBadLength, "0",
         [](P &p, QString *o) { calibration_history_entry e; int r = p.read_calibration_history_entry(3, &e); *o = hex_list({e.year}); return r; }},
        {"write_c259", "C259" "1234" "05" + repeat("00", 12) + "01", "C35900", 0, "0",
         [](P &p, QString *o) { quint8 s = 9; std::array<quint8, 13> b {}; b[12] = 1; int r = p.write_c259(0x1234, 5, b, &s); *o = hex_list({s}); return r; }},
        {"read_sensor_info", "C255", "C355" "69314433" + repeat("00", 12) + "3132" + repeat("00", 14), 0, "i1D3/12",
         [](P &p, QString *o) { QByteArray n, s; int r = p.read_sensor_info(&n, &s); *o = QString::fromLatin1(n + "/" + s); return r; }},
        {"write_sensor_info", "C256" "4944" + repeat("00", 14) + "53" + repeat("00", 15),
         "C356" "00" "4944" + repeat("00", 14) + "53" + repeat("00", 15), 0, "0 ID/S",
         [](P &p, QString *o) { quint8 s = 9; QByteArray n, sn; int r = p.write_sensor_info("ID", "S", &s, &n, &sn);
             *o = hex_list({s}) + QLatin1Char(' ') + QString::fromLatin1(n + "/" + sn); return r; }},
        {"get_lan_text_c22a", "C22A02", "C32A02" "01" "00" "02" "001122334455", 0, "1 2 00-11-22-33-44-55",
         [](P &p, QString *o) { quint8 a, b; QByteArray t; int r = p.get_lan_text_c22a(&a, &b, &t); *o = hex_list({a, b}) + QLatin1Char(' ') + QString::fromLatin1(t); return r; }},
        {"get_mac_address", "C22000", "C320" "00" "0A0B0C0D0E0F", 0, "0 0A-0B-0C-0D-0E-0F",
         [](P &p, QString *o) { quint8 a; QByteArray t; int r = p.get_mac_address(0, &a, &t); *o = hex_list({a}) + QLatin1Char(' ') + QString::fromLatin1(t); return r; }},
        {"get_lan_setting_c22a", "C22A45", "C32A" "01" "45" "02" "C0A80001", 0, "1 2 C0 A8 0 1",
         [](P &p, QString *o) { quint8 a, b; std::array<quint8, 4> g; int r = p.get_lan_setting_c22a(&a, &b, &g); *o = hex_list({a, b}) + QLatin1Char(' ') + hex_array(g); return r; }},
        {"get_schedule_extended, family 12", "C23D03", "C33D" "00" "03" "01" "07" "1E" "05" "7F" "05" "02" "1A" "0C" "19", 0, "1 18 3C 7 1E 5 7F 5 2 1A C 19",
         [](P &p, QString *o) { schedule_program_record e; int r = p.get_schedule_extended(12, 3, &e);
             *o = hex_list({e.event_type, e.off_hour, e.off_minute, e.on_hour, e.on_minute, e.input, e.day_mask, e.flags, e.picture_mode, e.year, e.month, e.day}); return r; }},
        {"get_schedule_extended, other family", "C22103", "C321" "00" "03" "16" "00" "07" "1E" "05" "7F" "05" "02" "64" "0D" "20", 0, "16 0 7 1E 5 7F 5 2 64 D 20",
         [](P &p, QString *o) { schedule_program_record e; int r = p.get_schedule_extended(0, 3, &e);
             *o = hex_list({e.off_hour, e.off_minute, e.on_hour, e.on_minute, e.input, e.day_mask, e.flags, e.picture_mode, e.year, e.month, e.day}); return r; }},
        {"get_schedule_extended, code of the other family", "C23D03", "C321" "00" "03" "16" "00" "07" "1E" "05" "7F" "05" "02" "64" "0D" "20", link_status::kBadFrame, "",
         [](P &p, QString *) { schedule_program_record e; return p.get_schedule_extended(12, 3, &e); }},
        {"get_schedule_extended, non-zero status", "C22103", "C321" "01" "03" "16" "00" "07" "1E" "05" "7F" "05" "02" "64" "0D" "20",
         link_status::kResultNotZero, "18 3C 18 3C",
         [](P &p, QString *o) { schedule_program_record e; int r = p.get_schedule_extended(0, 3, &e);
             *o = hex_list({e.off_hour, e.off_minute, e.on_hour, e.on_minute}); return r; }},
        {"set_schedule_extended, off event", "C23E04" "02" "16" "2D" "00" "1F" "04" "00" "64" "0D" "20", "C33E" "00" "04" "02" "16" "2D" "00" "1F" "04" "00" "64" "0D" "20", 0,
         "2 16 2D 18 3C",
         [](P &p, QString *o) { schedule_program_record e; e.event_type = 2; e.off_hour = 22; e.off_minute = 45; e.day_mask = 0x1F; e.flags = 4;
             e.year = 100; e.month = 13; e.day = 32; int r = p.set_schedule_extended(12, 4, &e);
             *o = hex_list({e.event_type, e.off_hour, e.off_minute, e.on_hour, e.on_minute}); return r; }},
        {"set_schedule_extended, non-zero status", "C22204" "18" "3C" "08" "00" "00" "00" "00" "00" "00" "00" "00", "C322" "01" "04" "18" "3C" "08" "00" "00" "00" "00" "00" "00" "00" "00",
         link_status::kResultNotZero, "",
         [](P &p, QString *) { schedule_program_record e; e.on_hour = 8; e.on_minute = 0; return p.set_schedule_extended(0, 4, &e); }},
        {"get_schedule_status", "C23F0301", "C33F" "05" "03" "01", 0, "5",
         [](P &p, QString *o) { quint8 s = 0; int r = p.get_schedule_status(12, 3, 1, &s); *o = hex_list({s}); return r; }},
        {"get_schedule_status, other family", "C2150301", "C315" "05" "03" "01", 0, "5",
         [](P &p, QString *o) { quint8 s = 0; int r = p.get_schedule_status(0, 3, 1, &s); *o = hex_list({s}); return r; }},
        {"read_c226_text", "C2262", "00C326" "TEXT\nrest", 0, "0 TEXT",
         [](P &p, QString *o) { quint8 s = 9; QByteArray t; int r = p.read_c226_text(2, &s, &t); *o = hex_list({s}) + QLatin1Char(' ') + QString::fromLatin1(t); return r; }},
        {"write_c227", "C2271ABCDEFGHIJKLM", "00C327" "X" "00", 0, "0 X",
         [](P &p, QString *o) { quint8 s = 9; char c = 0; int r = p.write_c227(1, "ABCDEFGHIJKLMNOP", &s, &c); *o = hex_list({s}) + QLatin1Char(' ') + QLatin1Char(c); return r; }},
        {"read_c22e_points", "C22E01020302", "00C32E" "000100020003" "000400050006", 0, "2 1 2 3 4 5 6",
         [](P &p, QString *o) { quint16 pts[6] = {}; int n = 0; int r = p.read_c22e_points(1, 2, 3, 2, pts, 2, &n);
             *o = hex_list({quint32(n), pts[0], pts[1], pts[2], pts[3], pts[4], pts[5]}); return r; }},
        {"read_c22e_points: no more than asked", "C22E01020301", "00C32E" "000100020003" "000400050006", 0, "1 1 2 3 0",
         [](P &p, QString *o) { quint16 pts[6] = {}; int n = 0; int r = p.read_c22e_points(1, 2, 3, 1, pts, 2, &n);
             *o = hex_list({quint32(n), pts[0], pts[1], pts[2], pts[3]}); return r; }},
        {"read_c22e_points: no more than the buffer holds", "C22E01020302", "00C32E" "000100020003" "000400050006", 0, "1 1 2 3",
         [](P &p, QString *o) { quint16 pts[3] = {}; int n = 0; int r = p.read_c22e_points(1, 2, 3, 2, pts, 1, &n);
             *o = hex_list({quint32(n), pts[0], pts[1], pts[2]}); return r; }},
        {"read_c22e_cube of side 2", "C22E00000008", "00C32E" + repeat("00010002FFFF", 8), 0, "1 2 FFFF 1 2 FFFF",
         [](P &p, QString *o) { quint16 pts[24] = {}; int r = p.read_c22e_cube(2, pts, 8);
             *o = hex_list({pts[0], pts[1], pts[2], pts[21], pts[22], pts[23]}); return r; }},
        {"read_c22e_cube larger than the buffer", "", "", link_status::kTooManyValues, "",
         [](P &p, QString *) { quint16 pts[24] = {}; return p.read_c22e_cube(3, pts, 8); }},
        {"write_lut_block", "C2050010" "0001" "0FFF", "C3050010" "0001" "0FFF", 0, "",
         [](P &p, QString *) { const quint16 v[] = {1, 0xFFF}; return p.write_lut_block(0x10, v, 2); }},
        {"write_lut_block, 17 values", "", "", link_status::kTooManyValues, "",
         [](P &p, QString *) { const quint16 v[17] = {}; return p.write_lut_block(0, v, 17); }},
        {"write_lut_block_c20b, none", "", "", link_status::kNoValues, "",
         [](P &p, QString *) { const quint16 v[1] = {}; return p.write_lut_block_c20b(0, v, 0); }},
        {"read_lut_block", "C204040002", "C304" "0FFF" "0ABC", 0, "FFF ABC",
         [](P &p, QString *o) { quint16 v[2] = {}; int r = p.read_lut_block(0x400, v, 2); *o = hex_list({v[0], v[1]}); return r; }},
        {"read_lut_block_c20a, wrong count", "C20A000003", "C30A" "0FFF" "0ABC", link_status::kBadLength, "",
         [](P &p, QString *) { quint16 v[3] = {}; return p.read_lut_block_c20a(0, v, 3); }},
        {"send_ir_key, short reply form", "C210001503", "C3100015", 0, "", [](P &p, QString *) { return p.send_ir_key(0x15, 3); }},
        {"send_ir_key, long reply form", "C210001503", "00C210001503", 0, "", [](P &p, QString *) { return p.send_ir_key(0x15, 3); }},
        {"read_c00b_text: ends on a refusal", "C00B0020", "C10B" + repeat("a", 32), 0, "32",
         [](P &p, QString *o) { char b[128]; int n = sizeof b; int r = p.read_c00b_text(b, &n); *o = QString::number(n); return r; }},
        {"write_c00e_block", "C00E07" + repeat("z", 32), "00C00E07" + repeat("z", 32), 0, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_c00e_block(7, repeat("z", 32), &s); *o = hex_list({s}); return r; }},
        {"write_c00e_block, echo short", "C00E07" + repeat("z", 32), "00C00E07" + repeat("z", 31), link_status::kBadLength, "0",
         [](P &p, QString *o) { quint8 s = 9; int r = p.write_c00e_block(7, repeat("z", 32), &s); *o = hex_list({s}); return r; }},
    };
    return list;
}

} // namespace

class tst_command_set : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        wait_service::set_time_scale(0.1);
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
    }

    void commands_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < cases().size(); ++i)
            QTest::newRow(cases().at(i).name) << i;
    }

    // Scripted replies: the request body must be the one given, and the
    // reply must decode to the outputs given.
    void commands()
    {
        QFETCH(int, index);
        const command_case &c = cases().at(index);
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        if (!c.request.isEmpty())
            fx.script(c.request, c.reply);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QString outputs;
        const int status = c.run(link, &outputs);
        if (c.request.isEmpty()) {
            QCOMPARE(fx.frames(), 0);
        } else {
            QVERIFY(fx.frames() >= 1);
            QCOMPARE(QString::fromLatin1(fx.wall.log().first().body), QString::fromLatin1(c.request));
        }
        QCOMPARE(status, c.status);
        if (!c.outputs.isEmpty())
            QCOMPARE(outputs, c.outputs);
    }

    void second_stage_waits_take_a_report_from_any_display()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.script("CA0A01", "CB0A0100");
        fx.report("CA0A01", "CA0A0205");
        fx.script("CA0301" "09", "CB030100");
        fx.report("CA0301" "09", "CA03020C");
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        link.set_destination('*');
        quint8 status = 9, result = 0;
        QCOMPARE(link.start_ca0a_1(&status), 0);
        QCOMPARE(link.wait_ca0a_result(&result), 0);
        QCOMPARE(result, quint8(5));
        QCOMPARE(link.start_ca03_1(9, &status), 0);
        QCOMPARE(link.wait_ca03_result(&result), 0);
        QCOMPARE(result, quint8(0x0C));
        QCOMPARE(fx.frames(), 2);
        // Nothing more comes: the wait runs out.
        QCOMPARE(link.wait_ca03_result(&result), link_status::kNoByte);
    }

    // Extended schedule replies as a display puts them on the wire, each
    // frame written out here byte by byte (its check byte worked out by
    // hand): code, status byte, program echo, entry, for reads and writes.
    void extended_schedule_frames_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("entry");
        QTest::newRow("read, family 12")
            << frame_bytes("\x01" "00AB1E" "\x02" "C33D" "00" "03" "01" "07" "1E" "05" "7F" "05" "02" "1A" "0C" "19" "\x03" "x" "\r")
            << 12 << false << 0 << "1 18 3C 7 1E 5 7F 5 2 1A C 19";
        QTest::newRow("read, other family")
            << frame_bytes("\x01" "00AB20" "\x02" "C321" "00" "03" "16" "00" "07" "1E" "05" "7F" "05" "02" "64" "0D" "20" "\x03" "\x03" "\r")
            << 0 << false << 0 << "0 16 0 7 1E 5 7F 5 2 64 D 20";
        QTest::newRow("read, refused")
            << frame_bytes("\x01" "00AB1E" "\x02" "C33D" "01" "03" "01" "07" "1E" "05" "7F" "05" "02" "1A" "0C" "19" "\x03" "y" "\r")
            << 12 << false << int(link_status::kResultNotZero) << "0 18 3C 18 3C 0 0 0 0 0 0 0";
        QTest::newRow("write, family 12")
            << frame_bytes("\x01" "00AB1E" "\x02" "C33E" "00" "04" "02" "16" "2D" "00" "1F" "04" "00" "64" "0D" "20" "\x03" "\x00" "\r")
            << 12 << true << 0 << "2 16 2D 18 3C 0 1F 4 0 64 D 20";
        QTest::newRow("write, other family, refused")
            << frame_bytes("\x01" "00AB20" "\x02" "C322" "01" "04" "18" "3C" "08" "00" "00" "00" "00" "00" "00" "00" "00" "\x03" "\x04" "\r")
            << 0 << true << int(link_status::kResultNotZero) << "2 16 2D 18 3C 0 1F 4 0 64 D 20";
    }

    void extended_schedule_frames()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, family);
        QFETCH(bool, write);
        QFETCH(int, status);
        QFETCH(QString, entry);
        raw_reply_server display(kRawAddress);
        QVERIFY2(display.listening(), qPrintable(QStringLiteral("cannot listen on %1:7142").arg(kRawAddress)));
        display.set_responder([reply](const QByteArray &) { return raw_reply {reply, false}; });
        PDCommProtocol link;
        QCOMPARE(link.open_link(kRawAddress, PDCommProtocol::kLinkLan), 0);
        schedule_program_record e;
        int result = 0;
        if (write) {
            e.event_type = schedule_program_record::kEventOff;
            e.off_hour = 22;
            e.off_minute = 45;
            e.day_mask = 0x1F;
            e.flags = 4;
            e.year = 100;
            e.month = 13;
            e.day = 32;
            result = link.set_schedule_extended(family, 4, &e);
        } else {
            result = link.get_schedule_extended(family, 3, &e);
        }
        QCOMPARE(result, status);
        QCOMPARE(hex_list({e.event_type, e.off_hour, e.off_minute, e.on_hour, e.on_minute, e.input, e.day_mask,
                           e.flags, e.picture_mode, e.year, e.month, e.day}),
                 entry);
    }

    void model_commands()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QByteArray text;
        QCOMPARE(link.get_serial_number(&text), 0);
        QCOMPARE(text, QByteArray("SIM0000001"));
        QCOMPARE(link.get_identity_string(1, &text), 0);
        QCOMPARE(text, QByteArray("R2.000"));
        QCOMPARE(link.get_identity_string(9, &text), link_status::kResultNotZero);
        QVERIFY(text.isEmpty());
        quint8 status = 0;
        float h = 0, v = 0;
        QCOMPARE(link.get_timing_report(&status, &h, &v), 0);
        QCOMPARE(status, quint8(3));
        QCOMPARE(h, 67.5f);  // 6750 / 100 is exact in binary floating point to the compared precision
        QCOMPARE(v, 60.0f);
        QCOMPARE(link.save_current_settings(), 0);
        QCOMPARE(fx.wall.with_display(fx.display, [](sim_display &d) { return d.saves; }), 1);
        quint8 result = 9, mode = 0;
        QCOMPARE(link.set_mode_c011(2, &result, &mode), 0);
        QCOMPARE(mode, quint8(2));
        quint16 now = 0;
        QCOMPARE(link.set_power_state(4, &now), 0);
        QCOMPARE(now, quint16(4));
        quint16 power = 0, max = 0;
        QCOMPARE(link.get_power_state(&power, &max), 0);
        QCOMPARE(power, quint16(4));
        QCOMPARE(max, quint16(4));
    }

    void clock_round_trip()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        display_clock_record clock {27, 2, 28, 7, 23, 59, 1};
        QCOMPARE(link.set_date_time(&clock), 0);
        display_clock_record read;
        QCOMPARE(link.get_date_time(&read), 0);
        QCOMPARE(read.year, quint8(27));
        QCOMPARE(read.day, quint8(28));
        QCOMPARE(read.minute, quint8(59));
        QCOMPARE(read.daylight_saving, quint8(1));
    }

    // Programs travel off hour, off minute, on hour, on minute, input, day
    // mask, flags (and the picture mode in the long form).
    void schedule_round_trip_data()
    {
        QTest::addColumn<int>("entry_bytes");
        QTest::newRow("seven bytes") << 7;
        QTest::newRow("long form") << 8;
    }

    void schedule_round_trip()
    {
        QFETCH(int, entry_bytes);
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.with_display(fx.display, [&](sim_display &d) { d.schedule_entry_bytes = entry_bytes; });
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        schedule_program_record entry;
        entry.off_hour = 22;
        entry.off_minute = 30;
        entry.on_hour = 7;
        entry.on_minute = 15;
        entry.input = 17;
        entry.day_mask = 0x1F;
        entry.flags = schedule_program_record::kEveryWeek | schedule_program_record::kEnabled;
        entry.picture_mode = 3;
        const bool long_form = entry_bytes == 8;
        QCOMPARE(long_form ? link.set_schedule_long(5, &entry) : link.set_schedule(5, &entry), 0);
        QCOMPARE(QString::fromLatin1(fx.last_frame().body),
                 QString::fromLatin1(long_form ? "C21405" "161E070F111F0603" : "C21405" "161E070F111F06"));
        schedule_program_record read;
        QCOMPARE(long_form ? link.get_schedule_long(5, &read) : link.get_schedule(5, &read), 0);
        QCOMPARE(read.off_hour, 22u);
        QCOMPARE(read.off_minute, quint8(30));
        QCOMPARE(read.on_hour, 7u);
        QCOMPARE(read.on_minute, quint8(15));
        QCOMPARE(read.input, quint8(17));
        QCOMPARE(read.day_mask, quint8(0x1F));
        QCOMPARE(read.flags, quint8(6));
        QCOMPARE(read.picture_mode, quint8(long_form ? 3 : 0));
    }

    void extended_schedule_of_unknown_kind_is_not_sent()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        schedule_program_record entry;
        entry.event_type = 3;
        QCOMPARE(link.set_schedule_extended(12, 0, &entry), link_status::kBadFrame);
        QCOMPARE(fx.frames(), 0);
    }

    void capability_string_is_bounded_by_the_buffer_data()
    {
        QTest::addColumn<int>("fragment");
        QTest::addColumn<int>("length");
        QTest::newRow("fragments fit") << 32 << 96;
        QTest::newRow("a fragment larger than the space left") << 60 << 99;
    }

    void capability_string_is_bounded_by_the_buffer()
    {
        QFETCH(int, fragment);
        QFETCH(int, length);
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.with_display(fx.display, [&](sim_display &d) {
            d.capability_string = QByteArray("vcp(10 12)").repeated(30);
            d.capability_fragment_size = fragment;
        });
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QByteArray storage(140, '#');
        int size = 100;
        QCOMPARE(link.read_capability_string(storage.data(), &size), 0);
        QCOMPARE(size, length);
        QCOMPARE(int(qstrlen(storage.constData())), length);
        QCOMPARE(storage.mid(100), QByteArray(40, '#'));
    }

    void capability_string_ends_on_an_empty_or_short_fragment()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        const QByteArray expected = fx.wall.with_display(fx.display, [](sim_display &d) { return d.capability_string; });
        QByteArray storage(8192, '#');
        int size = storage.size();
        QCOMPARE(link.read_capability_string(storage.data(), &size), 0);
        QCOMPARE(size, expected.size());
        QCOMPARE(QByteArray(storage.constData()), expected);
        // A display that signals the end with a short reply.
        fx.script("F30000", "E30000");
        fx.wall.with_display(fx.display, [](sim_display &d) { d.capability_string.clear(); });
        size = storage.size();
        QCOMPARE(link.read_capability_string(storage.data(), &size), 0);
        QCOMPARE(size, 0);
        // A space of 35 bytes or less is not read.
        size = 35;
        fx.wall.clear_log();
        QCOMPARE(link.read_capability_string(storage.data(), &size), 0);
        QCOMPARE(fx.frames(), 0);
    }

    void self_test_report_is_bounded_by_the_buffer()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.wall.with_display(fx.display, [](sim_display &d) { d.self_test_report = QByteArray(40, '\x07'); });
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        QByteArray storage(48, '#');
        int count = 32;
        QCOMPARE(link.get_self_test_report(reinterpret_cast<quint8 *>(storage.data()), &count), 0);
        QCOMPARE(count, 32);
        QCOMPARE(storage.left(32), QByteArray(32, '\x07'));
        QCOMPARE(storage.mid(32), QByteArray(16, '#'));
    }

    void text_blocks()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.script("C00E00" + repeat("a", 32), "00C00E00" + repeat("a", 32));
        fx.script("C00E02" + repeat("b", 8) + QByteArray(24, '\0'), "00C00E02" + repeat("b", 8) + QByteArray(24, '\0'));
        fx.script("C00B0420", "C10B" "tail\n");
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        // Selectors 0, step, 2 * step ...; the last block is filled with zeros.
        QCOMPARE(link.write_c00e_blocks(repeat("a", 32) + repeat("b", 8), 2), 0);
        QCOMPARE(fx.frames(), 2);
        char block[8];
        int count = 0;
        QCOMPARE(link.read_c00b_block(4, block, sizeof block, &count), 0);
        QCOMPARE(count, 4);
        QCOMPARE(QByteArray(block), QByteArray("tail"));
        QCOMPARE(link.read_c00b_block(4, block, 3, &count), 0);
        QCOMPARE(QByteArray(block), QByteArray("ta"));
    }

    void verified_lut_write_fails_when_the_display_keeps_other_values()
    {
        wall_fixture fx(kAddress);
        QVERIFY_FIXTURE(fx);
        fx.script("C2050000" "0100" "0200", "C3050000" "0100" "0200");
        fx.script("C204000002", "C304" "0100" "0201");
        PDCommProtocol link;
        QCOMPARE(link.open_link(kAddress, PDCommProtocol::kLinkLan), 0);
        const quint16 values[] = {0x100, 0x200};
        QCOMPARE(link.write_lut_block_verified(0, values, 2), link_status::kBadFrame);
        // Attempt count 3: four writes, each read back.
        QCOMPARE(fx.frames(), 8);
        fx.script("C204000002", "C304" "0100" "0200");
        fx.wall.clear_log();
        QCOMPARE(link.write_lut_block_verified(0, values, 2), 0);
        QCOMPARE(fx.frames(), 2);
    }
};

QTEST_APPLESS_MAIN(tst_command_set)
#include "tst_command_set.moc"
