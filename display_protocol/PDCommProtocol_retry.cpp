#include "display_protocol/PDCommProtocol_retry.h"

#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"

namespace {
constexpr int kLongPause = 2000;
constexpr int kPause = 1000;
constexpr int kShortPause = 500;
constexpr int kSuccessPauseMs = 50;
} // namespace

PDCommProtocol_retry::PDCommProtocol_retry(QObject *parent) : PDCommProtocol(parent)
{
    m_attempt_count = 3;
}

int PDCommProtocol_retry::open_link(QString name, int kind)
{
    m_saved_port_name = name;
    m_saved_link_kind = kind;
    return PDCommProtocol::open_link(name, kind);
}

void PDCommProtocol_retry::set_attempt_count(quint32 count)
{
    m_attempt_count = count;
}

quint32 PDCommProtocol_retry::get_attempt_count() const
{
    return m_attempt_count;
}

int PDCommProtocol_retry::saved_link_kind() const
{
    return m_saved_link_kind;
}

void PDCommProtocol_retry::set_stop_flag(const std::atomic<bool> *stop)
{
    m_stop = stop;
}

bool PDCommProtocol_retry::stopped() const
{
    return m_stop && m_stop->load();
}

bool PDCommProtocol_retry::repeat_pause(int ms)
{
    if (!m_stop) {
        pause(ms);
        return true;
    }
    return wait_service::sleep_ms_unless(ms, *m_stop);
}

// A command already under way is never cut: a stop is seen only between
// attempts, so no frame is left half sent.
template <typename Attempt>
int PDCommProtocol_retry::retried(int repeat_pause_ms, Attempt &&attempt)
{
    int status = link_status::kOk;
    quint32 index = 0;
    do {
        status = link_status::kOk;
        if (index > 0) {
            if (!repeat_pause(repeat_pause_ms))
                return link_status::kStopped;
            status = PDCommProtocol::open_link(m_saved_port_name, m_saved_link_kind);
        }
        if (status == link_status::kOk)
            status = attempt();
        if (status == link_status::kOk) {
            pause(kSuccessPauseMs);
            return link_status::kOk;
        }
        if (stopped())
            return link_status::kStopped;
        ++index;
    } while (index < m_attempt_count);
    return status;
}

int PDCommProtocol_retry::set_power_state(quint16 mode, quint16 *mode_now)
{
    return retried(kPause, [&] { return PDCommProtocol::set_power_state(mode, mode_now); });
}

int PDCommProtocol_retry::get_power_state(quint16 *mode, quint16 *max)
{
    return retried(kPause, [&] { return PDCommProtocol::get_power_state(mode, max); });
}

int PDCommProtocol_retry::save_current_settings()
{
    return retried(kPause, [&] { return PDCommProtocol::save_current_settings(); });
}

int PDCommProtocol_retry::get_timing_report(quint8 *status, float *horizontal_khz, float *vertical_hz)
{
    return retried(kPause, [&] { return PDCommProtocol::get_timing_report(status, horizontal_khz, vertical_hz); });
}

int PDCommProtocol_retry::read_capability_string(char *buffer, int *length)
{
    // Every attempt starts with the caller's full space.
    const int capacity = *length;
    return retried(kPause, [&] {
        *length = capacity;
        return PDCommProtocol::read_capability_string(buffer, length);
    });
}

int PDCommProtocol_retry::read_c00b_text(char *buffer, int *length)
{
    const int capacity = *length;
    return retried(kPause, [&] {
        *length = capacity;
        return PDCommProtocol::read_c00b_text(buffer, length);
    });
}

int PDCommProtocol_retry::write_c00e_blocks(const QByteArray &data, quint8 step)
{
    return retried(kPause, [&] { return PDCommProtocol::write_c00e_blocks(data, step); });
}

int PDCommProtocol_retry::set_parameter_code(int code, quint16 value, quint8 *result, quint8 *type, quint16 *max,
                                             quint16 *current)
{
    return retried(kPause,
                   [&] { return PDCommProtocol::set_parameter_code(code, value, result, type, max, current); });
}

int PDCommProtocol_retry::set_parameter(quint8 page, quint8 opcode, quint16 value, quint8 *result, quint8 *type,
                                        quint16 *max, quint16 *current)
{
    return retried(kPause,
                   [&] { return PDCommProtocol::set_parameter(page, opcode, value, result, type, max, current); });
}

int PDCommProtocol_retry::get_parameter_code(int code, quint8 *result, quint8 *type, quint16 *max,
                                             quint16 *current)
{
    return retried(kPause, [&] { return PDCommProtocol::get_parameter_code(code, result, type, max, current); });
}

int PDCommProtocol_retry::get_parameter(quint8 page, quint8 opcode, quint8 *result, quint8 *type, quint16 *max,
                                        quint16 *current)
{
    return retried(kPause, [&] { return PDCommProtocol::get_parameter(page, opcode, result, type, max, current); });
}

int PDCommProtocol_retry::get_serial_number(QByteArray *text)
{
    return retried(kPause, [&] { return PDCommProtocol::get_serial_number(text); });
}

int PDCommProtocol_retry::get_model_name(QByteArray *text)
{
    return retried(kPause, [&] { return PDCommProtocol::get_model_name(text); });
}

int PDCommProtocol_retry::get_self_test_report(quint8 *report, int *count)
{
    const int capacity = *count;
    return retried(kPause, [&] {
        *count = capacity;
        return PDCommProtocol::get_self_test_report(report, count);
    });
}

int PDCommProtocol_retry::get_date_time(display_clock_record *clock)
{
    return retried(kPause, [&] { return PDCommProtocol::get_date_time(clock); });
}

int PDCommProtocol_retry::set_date_time(display_clock_record *clock)
{
    const display_clock_record wanted = *clock;
    return retried(kPause, [&] {
        *clock = wanted;
        return PDCommProtocol::set_date_time(clock);
    });
}

int PDCommProtocol_retry::get_schedule_extended(int family, quint8 program, schedule_program_record *entry)
{
    return retried(kPause, [&] { return PDCommProtocol::get_schedule_extended(family, program, entry); });
}

int PDCommProtocol_retry::set_schedule_extended(int family, quint8 program, schedule_program_record *entry)
{
    const schedule_program_record wanted = *entry;
    return retried(kPause, [&] {
        *entry = wanted;
        return PDCommProtocol::set_schedule_extended(family, program, entry);
    });
}

int PDCommProtocol_retry::get_schedule_status(int family, quint8 program, quint8 value, quint8 *state)
{
    return retried(kPause, [&] { return PDCommProtocol::get_schedule_status(family, program, value, state); });
}

int PDCommProtocol_retry::get_identity_string(quint8 selector, QByteArray *text)
{
    return retried(kPause, [&] { return PDCommProtocol::get_identity_string(selector, text); });
}

int PDCommProtocol_retry::set_log_mode(quint8 value, quint8 *status)
{
    return retried(kLongPause, [&] { return PDCommProtocol::set_log_mode(value, status); });
}

int PDCommProtocol_retry::read_latest_log(display_log_entry *entry)
{
    return retried(kLongPause, [&] { return PDCommProtocol::read_latest_log(entry); });
}

int PDCommProtocol_retry::read_log_counts(quint8 *status, quint16 *total, quint16 *maximum, quint8 *current_status)
{
    return retried(kLongPause,
                   [&] { return PDCommProtocol::read_log_counts(status, total, maximum, current_status); });
}

int PDCommProtocol_retry::read_log_entry(quint16 first, quint16 second, display_log_entry *entry)
{
    return retried(kLongPause, [&] { return PDCommProtocol::read_log_entry(first, second, entry); });
}

int PDCommProtocol_retry::get_lan_text_c22a(quint8 *first, quint8 *second, QByteArray *text)
{
    return retried(kLongPause, [&] { return PDCommProtocol::get_lan_text_c22a(first, second, text); });
}

int PDCommProtocol_retry::get_mac_address(quint8 index, quint8 *value, QByteArray *text)
{
    return retried(kLongPause, [&] { return PDCommProtocol::get_mac_address(index, value, text); });
}

int PDCommProtocol_retry::get_power_save_mode(quint8 *value)
{
    return retried(kLongPause, [&] { return PDCommProtocol::get_power_save_mode(value); });
}

int PDCommProtocol_retry::set_power_save_mode(quint8 value, quint8 *acknowledged)
{
    return retried(kLongPause, [&] { return PDCommProtocol::set_power_save_mode(value, acknowledged); });
}

int PDCommProtocol_retry::get_power_setting_2(quint8 *value)
{
    return retried(kLongPause, [&] { return PDCommProtocol::get_power_setting_2(value); });
}

int PDCommProtocol_retry::set_power_setting_3(quint8 value, quint8 *acknowledged)
{
    return retried(kLongPause, [&] { return PDCommProtocol::set_power_setting_3(value, acknowledged); });
}

int PDCommProtocol_retry::get_power_setting_4(quint8 *value)
{
    return retried(kLongPause, [&] { return PDCommProtocol::get_power_setting_4(value); });
}

int PDCommProtocol_retry::set_power_setting_5(quint8 value, quint8 *acknowledged)
{
    return retried(kLongPause, [&] { return PDCommProtocol::set_power_setting_5(value, acknowledged); });
}

int PDCommProtocol_retry::send_c206()
{
    return retried(kLongPause, [&] { return PDCommProtocol::send_c206(); });
}

int PDCommProtocol_retry::send_c207()
{
    return retried(kLongPause, [&] { return PDCommProtocol::send_c207(); });
}

int PDCommProtocol_retry::write_lut_block(int offset, const quint16 *values, int count)
{
    return retried(kLongPause, [&] { return PDCommProtocol::write_lut_block(offset, values, count); });
}

int PDCommProtocol_retry::get_c22c_channel(quint16 *major_high, quint16 *major_low, quint16 *minor)
{
    return retried(kShortPause, [&] { return PDCommProtocol::get_c22c_channel(major_high, major_low, minor); });
}

int PDCommProtocol_retry::set_c22d_channel(quint16 major_high, quint16 major_low, quint16 minor)
{
    return retried(kLongPause, [&] { return PDCommProtocol::set_c22d_channel(major_high, major_low, minor); });
}
