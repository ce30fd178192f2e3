// The commands of the display command set that are pure layout: one table
// row each, run by PDCommProtocol::run_row.
#include "display_protocol/PDCommProtocol.h"

#include "display_protocol/command_row.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/link_status.h"

#include <initializer_list>

namespace {

namespace code = command_code;

constexpr int kWait = 2000;
constexpr int kLongWait = 6000;
constexpr int kReportWait = 60000;

enum row_id {
    kSetLogMode, kReadLogCounts,
    kStartCa0a1, kStartCa0a3, kWaitCa0aResult,
    kStartCa031, kStartCa033, kWaitCa03Result, kReadCa034, kWriteCa035,
    kReadCa0c2, kWriteC21d, kWriteCa1b,
    kWriteCa011, kReadCa010, kReadCa012, kWriteCa013,
    kReadCa042, kReadCa040, kWriteCa041, kWriteCa045, kReadCa043, kWriteCa044,
    kGetPowerSaveMode, kSetPowerSaveMode, kGetPowerSetting2, kSetPowerSetting3,
    kGetPowerSetting4, kSetPowerSetting5,
    kSendC206, kSendC207, kSendC208, kSendC209,
    kGetC22cChannel, kSetC22dChannel,
    kReadCa171, kWriteCa170, kWriteCa172,
    kWriteProfile, kSelectProfile,
    kSetWeekendSchedule, kGetWeekendSchedule,
    kEngineC257, kEngineC258, kWriteC259,
    kScheduleStatusC23f, kScheduleStatusC215,
};

// code, sub, request, wait, sends, exact, length, type 'B', reply code, reply
const command_row kRows[] = {
    {code::kLog, 0x00, "Sb", kWait, true, true, 8, false, code::reply(code::kLog), "CSb"},
    {code::kLog, 0x02, "S", kWait, true, true, 18, false, code::reply(code::kLog), "CSbwwb"},
    {code::kVendorCA0A, 0x01, "S", kWait, true, true, 8, false, code::reply(code::kVendorCA0A), "CSb"},
    {code::kVendorCA0A, 0x03, "S", kWait, true, true, 8, false, code::reply(code::kVendorCA0A), "CSb"},
    // The report of the finished process: code, sub-command 02 and one result
    // byte fill its eight characters.
    {code::kVendorCA0A, 0x02, "", kReportWait, false, true, 8, false, code::kVendorCA0A, "CSb"},
    {code::kVendorCA03, 0x01, "Sb", kWait, true, true, 8, false, code::reply(code::kVendorCA03), "CSb"},
    {code::kVendorCA03, 0x03, "S", kWait, true, true, 8, false, code::reply(code::kVendorCA03), "CSb"},
    {code::kVendorCA03, 0x02, "", kReportWait, false, true, 8, false, code::kVendorCA03, "CSb"},
    {code::kVendorCA03, 0x04, "S", kWait, true, true, 12, false, code::reply(code::kVendorCA03), "CSbbb"},
    {code::kVendorCA03, 0x05, "Sbb", kWait, true, true, 8, false, code::reply(code::kVendorCA03), "CSb"},
    {code::kVendorCA0C, 0x02, "S", kWait, true, true, 8, false, code::reply(code::kVendorCA0C), "CSb"},
    {code::kVendorC21D, -1, "bbbbb", kWait, true, true, 8, false, code::reply(code::kVendorC21D), "Cbb"},
    {code::kVendorCA1B, -1, "bbbbb", kWait, true, true, 8, false, code::reply(code::kVendorCA1B), "Cbb"},
    {code::kVendorCA01, 0x01, "Sbb", kWait, true, true, 8, false, code::reply(code::kVendorCA01), "CSb"},
    {code::kVendorCA01, 0x00, "S", kWait, true, true, 30, false, code::reply(code::kVendorCA01), "CSbbbbbbbbbbbb"},
    {code::kVendorCA01, 0x02, "S", kWait, true, true, 10, false, code::reply(code::kVendorCA01), "CSbb"},
    {code::kVendorCA01, 0x03, "Sb", kWait, true, true, 8, false, code::reply(code::kVendorCA01), "CSb"},
    {code::kVendorCA04, 0x02, "S", kWait, true, true, 8, false, code::reply(code::kVendorCA04), "CSb"},
    {code::kVendorCA04, 0x00, "S", kWait, true, false, 6, false, code::reply(code::kVendorCA04), "CS*"},
    {code::kVendorCA04, 0x01, "Sbbbbbbbbbbbbbb", kWait, true, true, 8, false, code::reply(code::kVendorCA04), "CSb"},
    {code::kVendorCA04, 0x05, "Sb", kWait, true, true, 8, false, code::reply(code::kVendorCA04), "CSb"},
    {code::kVendorCA04, 0x03, "Sb", kWait, true, false, 10, false, code::reply(code::kVendorCA04), "CSEs*"},
    {code::kVendorCA04, 0x04, "Sbb", kWait, true, true, 8, false, code::reply(code::kVendorCA04), "CSb"},
    {code::kPowerSaving, 0x00, "S", kWait, true, false, 8, false, code::reply(code::kPowerSaving), "CSb"},
    {code::kPowerSaving, 0x01, "Sb", kWait, true, false, 0, false, code::reply(code::kPowerSaving), "CSb"},
    {code::kPowerSaving, 0x02, "S", kWait, true, false, 8, false, code::reply(code::kPowerSaving), "CSb"},
    {code::kPowerSaving, 0x03, "Sb", kWait, true, false, 8, false, code::reply(code::kPowerSaving), "CSb"},
    {code::kPowerSaving, 0x04, "S", kWait, true, false, 8, false, code::reply(code::kPowerSaving), "CSb"},
    {code::kPowerSaving, 0x05, "Sb", kWait, true, false, 8, false, code::reply(code::kPowerSaving), "CSb"},
    {code::kCommitTable, -1, "", kLongWait, true, true, 6, false, code::reply(code::kCommitTable), "sC"},
    {code::kActivateTable, -1, "", kLongWait, true, true, 6, true, code::reply(code::kActivateTable), "sC"},
    {code::kTableC208, -1, "", kLongWait, true, true, 6, true, code::reply(code::kTableC208), "sC"},
    {code::kTableC209, -1, "", kLongWait, true, true, 6, true, code::reply(code::kTableC209), "sC"},
    {code::kChannelRead, -1, "", kWait, true, true, 16, false, code::reply(code::kChannelRead), "Cwww"},
    {code::kChannelWrite, -1, "www", kWait, true, true, 16, false, code::reply(code::kChannelWrite), "CEEE"},
    {code::kVendorCA17, 0x01, "Sb", kWait, true, true, 18, false, code::reply(code::kVendorCA17), "CSEsbbbb"},
    {code::kVendorCA17, 0x00, "Sb", kWait, true, true, 8, false, code::reply(code::kVendorCA17), "CSs"},
    {code::kVendorCA17, 0x02, "Sb", kWait, true, true, 8, false, code::reply(code::kVendorCA17), "CSs"},
    {code::kProfile, 0x00, "Sbbbbbbbbbbb", kWait, true, true, 8, false, code::reply(code::kProfile), "CSb"},
    {code::kProfile, 0x02, "Sb", kWait, true, true, 8, false, code::reply(code::kProfile), "CSb"},
    {code::kWeekendSchedule, 0x01, "Sb", kWait, true, true, 10, false, code::reply(code::kWeekendSchedule), "CSbb"},
    {code::kWeekendSchedule, 0x00, "S", kWait, true, true, 8, false, code::reply(code::kWeekendSchedule), "CSb"},
    {code::kEngineC257, -1, "", kWait, true, true, 28, false, code::reply(code::kEngineC257), "Cddd"},
    {code::kEngineMeasurement, -1, "ddd", kWait, true, true, 30, false, code::reply(code::kEngineMeasurement),
     "Cbbbbbbbbbbbbb"},
    {code::kEngineC259, -1, "wbbbbbbbbbbbbbb", kWait, true, false, 6, false, code::reply(code::kEngineC259), "Cb"},
    {code::kScheduleStatus12, -1, "bb", kWait, true, true, 10, true, code::reply(code::kScheduleStatus12), "CbEb"},
    {code::kScheduleStatus, -1, "bb", kWait, true, true, 10, true, code::reply(code::kScheduleStatus), "CbEb"},
};

template <typename T>
void clear_all(std::initializer_list<T *> outs)
{
    for (T *out : outs)
        *out = 0;
}

// Hands the decoded values to the caller's out-values in order.
template <typename T>
void deliver(const QVector<quint32> &values, std::initializer_list<T *> outs)
{
    int i = 0;
    for (T *out : outs) {
        if (i < values.size())
            *out = static_cast<T>(values.at(i));
        ++i;
    }
}

template <typename T, std::size_t N>
void deliver_array(const QVector<quint32> &values, int first, std::array<T, N> *out)
{
    out->fill(0);
    for (std::size_t i = 0; i < N && first + static_cast<int>(i) < values.size(); ++i)
        (*out)[i] = static_cast<T>(values.at(first + static_cast<int>(i)));
}

int width_of(char letter)
{
    return letter == 'w' ? 4 : letter == 'd' ? 8 : 2;
}

} // namespace

int PDCommProtocol::run_row(const command_row &row, const QVector<quint32> &arguments, QVector<quint32> *values)
{
    values->clear();
    QVector<int> widths;
    if (row.sends) {
        begin_request('A');
        append_hex_word(row.code);
        int next = 0;
        for (const char *f = row.request; *f; ++f) {
            if (*f == 'S') {
                append_hex_byte(static_cast<quint8>(row.sub));
                continue;
            }
            const quint32 value = next < arguments.size() ? arguments.at(next) : 0;
            ++next;
            widths << width_of(*f);
            if (*f == 'b')
                append_hex_byte(static_cast<quint8>(value));
            else if (*f == 'w')
                append_hex_word(static_cast<quint16>(value));
            else
                append_hex_dword(value);
        }
        if (const int status = exchange(row.wait_ms))
            return status;
    } else if (const int status = receive_reply(row.wait_ms, true)) {
        return status;
    }
    if (const int status = row.exact_length ? expect_length(row.length) : expect_min_length(row.length))
        return status;
    if (row.type_b) {
        if (const int status = expect_type('B'))
            return status;
    }
    int echoed = 0;
    bool result_not_zero = false;
    for (const char *f = row.reply; *f; ++f) {
        switch (*f) {
        case 'C':
            if (const int status = expect_word(row.reply_code))
                return status;
            break;
        case 'S':
            if (const int status = expect_byte(static_cast<quint8>(row.sub)))
                return status;
            break;
        case 'E': {
            const quint32 want = echoed < arguments.size() ? arguments.at(echoed) : 0;
            const int width = echoed < widths.size() ? widths.at(echoed) : 2;
            ++echoed;
            const quint32 got = width == 2 ? take_hex_byte() : width == 4 ? take_hex_word() : take_hex_dword();
            if (reply_status())
                return reply_status();
            if (got != want)
                return link_status::kBadFrame;
            break;
        }
        case 's':
            *values << take_hex_byte();
            result_not_zero = result_not_zero || values->last() != 0;
            break;
        case 'w':
            *values << take_hex_word();
            break;
        case 'd':
            *values << take_hex_dword();
            break;
        case '*':
            while (remaining() >= 2)
                *values << take_hex_byte();
            break;
        default:
            *values << take_hex_byte();
            break;
        }
    }
    if (const int status = reply_status())
        return status;
    return result_not_zero ? link_status::kResultNotZero : link_status::kOk;
}

int PDCommProtocol::run_bytes(const command_row &row, const QVector<quint32> &arguments,
                              std::initializer_list<quint8 *> outs)
{
    clear_all(outs);
    QVector<quint32> values;
    const int status = run_row(row, arguments, &values);
    deliver(values, outs);
    return status;
}

int PDCommProtocol::set_log_mode(quint8 value, quint8 *status)
{
    return run_bytes(kRows[kSetLogMode], {value}, {status});
}

int PDCommProtocol::read_log_counts(quint8 *status, quint16 *total, quint16 *maximum, quint8 *current_status)
{
    clear_all({total, maximum});
    QVector<quint32> v;
    const int result = run_row(kRows[kReadLogCounts], {}, &v);
    clear_all({status, current_status});
    deliver(v, {status});
    deliver(v.mid(1), {total, maximum});
    deliver(v.mid(3), {current_status});
    return result;
}

int PDCommProtocol::start_ca0a_1(quint8 *status)
{
    return run_bytes(kRows[kStartCa0a1], {}, {status});
}

int PDCommProtocol::start_ca0a_3(quint8 *status)
{
    return run_bytes(kRows[kStartCa0a3], {}, {status});
}

int PDCommProtocol::wait_ca0a_result(quint8 *result)
{
    return run_bytes(kRows[kWaitCa0aResult], {}, {result});
}

int PDCommProtocol::start_ca03_1(quint8 value, quint8 *status)
{
    return run_bytes(kRows[kStartCa031], {value}, {status});
}

int PDCommProtocol::start_ca03_3(quint8 *status)
{
    return run_bytes(kRows[kStartCa033], {}, {status});
}

int PDCommProtocol::wait_ca03_result(quint8 *result)
{
    return run_bytes(kRows[kWaitCa03Result], {}, {result});
}

int PDCommProtocol::read_ca03_4(std::array<quint8, 3> *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kReadCa034], {}, &v);
    deliver_array(v, 0, values);
    return status;
}

int PDCommProtocol::write_ca03_5(quint8 first, quint8 second, quint8 *status)
{
    return run_bytes(kRows[kWriteCa035], {first, second}, {status});
}

int PDCommProtocol::read_ca0c_2(quint8 *value)
{
    return run_bytes(kRows[kReadCa0c2], {}, {value});
}

namespace {

// Four decimal digits, most significant first, each sent as a byte.
QVector<quint32> digits_of(quint8 value, int number)
{
    const int n = qBound(0, number, 9999);
    return {value, quint32(n / 1000), quint32(n / 100 % 10), quint32(n / 10 % 10), quint32(n % 10)};
}

} // namespace

int PDCommProtocol::write_c21d(quint8 value, int number, std::array<quint8, 2> *reply)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kWriteC21d], digits_of(value, number), &v);
    deliver_array(v, 0, reply);
    return status;
}

int PDCommProtocol::write_ca1b(quint8 value, int number, std::array<quint8, 2> *reply)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kWriteCa1b], digits_of(value, number), &v);
    deliver_array(v, 0, reply);
    return status;
}

int PDCommProtocol::write_ca01_1(quint8 first, quint8 second, quint8 *status)
{
    return run_bytes(kRows[kWriteCa011], {first, second}, {status});
}

int PDCommProtocol::read_ca01_0(std::array<quint8, 12> *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kReadCa010], {}, &v);
    deliver_array(v, 0, values);
    return status;
}

int PDCommProtocol::read_ca01_2(std::array<quint8, 2> *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kReadCa012], {}, &v);
    deliver_array(v, 0, values);
    return status;
}

int PDCommProtocol::write_ca01_3(quint8 value, quint8 *status)
{
    return run_bytes(kRows[kWriteCa013], {value}, {status});
}

int PDCommProtocol::read_ca04_2(quint8 *value)
{
    return run_bytes(kRows[kReadCa042], {}, {value});
}

namespace {

QByteArray as_bytes(const QVector<quint32> &values, int first)
{
    QByteArray bytes;
    for (int i = first; i < values.size(); ++i)
        bytes.append(static_cast<char>(values.at(i)));
    return bytes;
}

} // namespace

int PDCommProtocol::read_ca04_0(QByteArray *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kReadCa040], {}, &v);
    *values = as_bytes(v, 0);
    return status;
}

int PDCommProtocol::write_ca04_1(const std::array<quint8, 14> &values, quint8 *status)
{
    return run_bytes(kRows[kWriteCa041], QVector<quint32>(values.begin(), values.end()), {status});
}

int PDCommProtocol::write_ca04_5(quint8 value, quint8 *status)
{
    return run_bytes(kRows[kWriteCa045], {value}, {status});
}

int PDCommProtocol::read_ca04_3(quint8 value, QByteArray *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kReadCa043], {value}, &v);
    *values = as_bytes(v, 0);
    return status;
}

int PDCommProtocol::write_ca04_4(quint8 first, quint8 second, quint8 *status)
{
    return run_bytes(kRows[kWriteCa044], {first, second}, {status});
}

int PDCommProtocol::get_power_save_mode(quint8 *value)
{
    return run_bytes(kRows[kGetPowerSaveMode], {}, {value});
}

int PDCommProtocol::set_power_save_mode(quint8 value, quint8 *acknowledged)
{
    return run_bytes(kRows[kSetPowerSaveMode], {value}, {acknowledged});
}

int PDCommProtocol::get_power_setting_2(quint8 *value)
{
    return run_bytes(kRows[kGetPowerSetting2], {}, {value});
}

int PDCommProtocol::set_power_setting_3(quint8 value, quint8 *acknowledged)
{
    return run_bytes(kRows[kSetPowerSetting3], {value}, {acknowledged});
}

int PDCommProtocol::get_power_setting_4(quint8 *value)
{
    return run_bytes(kRows[kGetPowerSetting4], {}, {value});
}

int PDCommProtocol::set_power_setting_5(quint8 value, quint8 *acknowledged)
{
    return run_bytes(kRows[kSetPowerSetting5], {value}, {acknowledged});
}

int PDCommProtocol::send_c206()
{
    QVector<quint32> v;
    return run_row(kRows[kSendC206], {}, &v);
}

int PDCommProtocol::send_c207()
{
    QVector<quint32> v;
    return run_row(kRows[kSendC207], {}, &v);
}

int PDCommProtocol::send_c208()
{
    QVector<quint32> v;
    return run_row(kRows[kSendC208], {}, &v);
}

int PDCommProtocol::send_c209()
{
    QVector<quint32> v;
    return run_row(kRows[kSendC209], {}, &v);
}

int PDCommProtocol::get_c22c_channel(quint16 *major_high, quint16 *major_low, quint16 *minor)
{
    clear_all({major_high, major_low, minor});
    QVector<quint32> v;
    const int status = run_row(kRows[kGetC22cChannel], {}, &v);
    deliver(v, {major_high, major_low, minor});
    return status;
}

int PDCommProtocol::set_c22d_channel(quint16 major_high, quint16 major_low, quint16 minor)
{
    QVector<quint32> v;
    return run_row(kRows[kSetC22dChannel], {major_high, major_low, minor}, &v);
}

int PDCommProtocol::read_ca17_1(quint8 value, std::array<quint8, 5> *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kReadCa171], {value}, &v);
    deliver_array(v, 0, values);
    return status;
}

int PDCommProtocol::write_ca17_0(quint8 value, quint8 *status)
{
    return run_bytes(kRows[kWriteCa170], {value}, {status});
}

int PDCommProtocol::write_ca17_2(quint8 value, quint8 *status)
{
    return run_bytes(kRows[kWriteCa172], {value}, {status});
}

int PDCommProtocol::write_profile(quint8 profile, const std::array<quint8, 10> &values, quint8 *status)
{
    QVector<quint32> arguments {profile};
    for (quint8 b : values)
        arguments << b;
    return run_bytes(kRows[kWriteProfile], arguments, {status});
}

int PDCommProtocol::select_profile(quint8 profile, quint8 *status)
{
    return run_bytes(kRows[kSelectProfile], {profile}, {status});
}

int PDCommProtocol::set_weekend_schedule(quint8 bitfield, quint8 *status, quint8 *bitfield_now)
{
    return run_bytes(kRows[kSetWeekendSchedule], {bitfield}, {status, bitfield_now});
}

int PDCommProtocol::get_weekend_schedule(quint8 *bitfield)
{
    return run_bytes(kRows[kGetWeekendSchedule], {}, {bitfield});
}

int PDCommProtocol::engine_command_c257(std::array<quint32, 3> *values)
{
    QVector<quint32> v;
    const int status = run_row(kRows[kEngineC257], {}, &v);
    deliver_array(v, 0, values);
    return status;
}

int PDCommProtocol::engine_command_c258(const std::array<quint32, 3> &values, quint8 *status,
                                        std::array<quint8, 12> *reply)
{
    QVector<quint32> v;
    *status = 0;
    const int result = run_row(kRows[kEngineC258], {values[0], values[1], values[2]}, &v);
    deliver(v, {status});
    deliver_array(v, 1, reply);
    return result;
}

int PDCommProtocol::write_c259(quint16 value, quint8 byte, const std::array<quint8, 13> &bytes, quint8 *status)
{
    QVector<quint32> arguments {value, byte};
    for (quint8 b : bytes)
        arguments << b;
    return run_bytes(kRows[kWriteC259], arguments, {status});
}

int PDCommProtocol::get_schedule_status(int family, quint8 program, quint8 value, quint8 *state)
{
    const command_row &row = kRows[family == 12 ? kScheduleStatusC23f : kScheduleStatusC215];
    return run_bytes(row, {program, value}, {state});
}
