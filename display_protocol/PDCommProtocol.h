#pragma once

#include "display_protocol/TBasicComm.h"
#include "display_protocol/calibration_history_entry.h"
#include "display_protocol/display_clock_record.h"
#include "display_protocol/display_log_entry.h"
#include "display_protocol/display_profile_record.h"
#include "display_protocol/holiday_program_record.h"
#include "display_protocol/schedule_program_record.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QVector>

#include <array>
#include <initializer_list>
#include <memory>

struct command_row;

// Speaks the display control protocol to one display over one transport:
// builds each request frame, sends it, reads and checks the reply frame and
// decodes the reply body for the command that asked. One thread at a time,
// the one that opened the link; no locks. Every method returns 0 or a
// negative status (link_status.h); out-values are cleared first and are only
// meaningful on 0 unless a method says otherwise.
class PDCommProtocol : public QObject
{
    Q_OBJECT

public:
    enum link_kind : int { kLinkSerial = 0, kLinkLan = 1, kLinkNone = 2 };
    static constexpr int kMaxLutValues = 16;
    static constexpr int kCapabilityStopSpace = 35;

    explicit PDCommProtocol(QObject *parent = nullptr);
    ~PDCommProtocol() override;

    // --- link and frame ---------------------------------------------------
    // Replaces the transport: kind 0 serial, 1 LAN, any other the null link
    // (not opened). The new transport stays even when its open failed.
    virtual int open_link(QString name, int kind);
    virtual QString port_name() const;
    virtual void set_slow_link(bool slow);
    virtual void set_destination(int destination);
    virtual int get_destination() const;
    virtual int send_request();
    virtual int receive_reply(int timeout_ms, bool any_destination);
    virtual int write_raw(QList<char> bytes);
    // Reads at most 4096 bytes looking for |terminator|; -5002 when it never came.
    virtual int read_until(QList<char> *bytes, char terminator);

    // --- commands (in the order of the command set) -----------------------
    virtual int set_mode_c011(quint8 mode, quint8 *result, quint8 *mode_now);
    virtual int set_power_state(quint16 mode, quint16 *mode_now);
    virtual int get_power_state(quint16 *mode, quint16 *max);
    virtual int save_current_settings();
    virtual int get_timing_report(quint8 *status, float *horizontal_khz, float *vertical_hz);
    // Sleeps the calling thread through the wait service.
    virtual void pause(int ms);
    virtual int send_ir_key(quint16 key, quint8 repeat);
    // |buffer| holds |*length| bytes on entry; on return |*length| is the
    // length of the zero-terminated string read.
    virtual int read_capability_string(char *buffer, int *length);
    virtual int read_capability_fragment(int offset, char *buffer, int capacity, int *count);
    virtual int read_c00b_text(char *buffer, int *length);
    virtual int read_c00b_block(int offset, char *buffer, int capacity, int *count);
    virtual int write_c00e_block(quint8 selector, const QByteArray &block, quint8 *result);
    // Writes |data| in blocks of 32 bytes with selectors 0, step, 2 * step ...
    virtual int write_c00e_blocks(const QByteArray &data, quint8 step);
    virtual int set_parameter_code(int code, quint16 value, quint8 *result, quint8 *type, quint16 *max,
                                   quint16 *current);
    virtual int set_parameter(quint8 page, quint8 opcode, quint16 value, quint8 *result, quint8 *type,
                              quint16 *max, quint16 *current);
    virtual int get_parameter_code(int code, quint8 *result, quint8 *type, quint16 *max, quint16 *current);
    virtual int get_parameter(quint8 page, quint8 opcode, quint8 *result, quint8 *type, quint16 *max,
                              quint16 *current);
    virtual int get_serial_number(QByteArray *text);
    virtual int get_model_name(QByteArray *text);
    // |report| holds |*count| bytes on entry; on return |*count| bytes were stored.
    virtual int get_self_test_report(quint8 *report, int *count);
    virtual int get_date_time(display_clock_record *clock);
    virtual int set_date_time(display_clock_record *clock);
    // |family| 12 selects the C23D/C23E command pair, any other C221/C222.
    virtual int get_schedule_extended(int family, quint8 program, schedule_program_record *entry);
    virtual int get_schedule(quint8 program, schedule_program_record *entry);
    virtual int get_schedule_long(quint8 program, schedule_program_record *entry);
    virtual int set_schedule_extended(int family, quint8 program, schedule_program_record *entry);
    virtual int set_schedule(quint8 program, schedule_program_record *entry);
    virtual int set_schedule_long(quint8 program, schedule_program_record *entry);
    virtual int get_schedule_status(int family, quint8 program, quint8 value, quint8 *state);
    // Returns the text with -5008 too when the display's result byte is not 0.
    virtual int get_identity_string(quint8 selector, QByteArray *text);
    virtual int set_log_mode(quint8 value, quint8 *status);
    virtual int read_latest_log(display_log_entry *entry);
    virtual int read_log_counts(quint8 *status, quint16 *total, quint16 *maximum, quint8 *current_status);
    virtual int read_log_entry(quint16 first, quint16 second, display_log_entry *entry);
    virtual int get_lan_text_c22a(quint8 *first, quint8 *second, QByteArray *text);
    virtual int get_mac_address(quint8 index, quint8 *value, QByteArray *text);
    virtual int get_lan_setting_c22a(quint8 *first, quint8 *second, std::array<quint8, 4> *group);
    virtual int start_ca0a_1(quint8 *status);
    virtual int start_ca0a_3(quint8 *status);
    virtual int wait_ca0a_result(quint8 *result);
    virtual int start_ca03_1(quint8 value, quint8 *status);
    virtual int start_ca03_3(quint8 *status);
    virtual int wait_ca03_result(quint8 *result);
    virtual int read_ca03_4(std::array<quint8, 3> *values);
    virtual int write_ca03_5(quint8 first, quint8 second, quint8 *status);
    virtual int write_ca0c_1(quint8 value, const std::array<quint8, 4> &bytes, quint8 *status);
    virtual int read_ca0c_2(quint8 *value);
    // |number| travels as four decimal digits, 0 to 9999.
    virtual int write_c21d(quint8 value, int number, std::array<quint8, 2> *reply);
    virtual int write_ca1b(quint8 value, int number, std::array<quint8, 2> *reply);
    virtual int write_ca01_1(quint8 first, quint8 second, quint8 *status);
    virtual int read_ca01_0(std::array<quint8, 12> *values);
    virtual int read_ca01_2(std::array<quint8, 2> *values);
    virtual int write_ca01_3(quint8 value, quint8 *status);
    virtual int read_ca04_2(quint8 *value);
    virtual int read_ca04_0(QByteArray *values);
    virtual int write_ca04_1(const std::array<quint8, 14> &values, quint8 *status);
    virtual int write_ca04_5(quint8 value, quint8 *status);
    // The first byte after the echo is the display's result byte.
    virtual int read_ca04_3(quint8 value, QByteArray *values);
    virtual int write_ca04_4(quint8 first, quint8 second, quint8 *status);
    virtual int get_power_save_mode(quint8 *value);
    virtual int set_power_save_mode(quint8 value, quint8 *acknowledged);
    virtual int get_power_setting_2(quint8 *value);
    virtual int set_power_setting_3(quint8 value, quint8 *acknowledged);
    virtual int get_power_setting_4(quint8 *value);
    virtual int set_power_setting_5(quint8 value, quint8 *acknowledged);
    virtual int send_c206();
    virtual int send_c207();
    virtual int send_c208();
    virtual int send_c209();
    virtual int write_lut_block_verified(int offset, const quint16 *values, int count);
    virtual int write_lut_block(int offset, const quint16 *values, int count);
    virtual int write_lut_block_c20b(int offset, const quint16 *values, int count);
    virtual int read_lut_block(int offset, quint16 *values, int count);
    virtual int read_lut_block_c20a(int offset, quint16 *values, int count);
    virtual int read_c226_text(quint8 index, quint8 *result, QByteArray *text);
    virtual int write_c227(quint8 index, const QByteArray &text, quint8 *result, char *reply);
    // Reads up to |count| points (three values each) into |points|, which
    // holds |capacity| points; |*received| tells how many came.
    virtual int read_c22e_points(quint8 first, quint8 second, quint8 third, quint8 count, quint16 *points,
                                 int capacity, int *received);
    // Reads a cube of |side|^3 points into |points| (|capacity| points).
    virtual int read_c22e_cube(int side, quint16 *points, int capacity);
    virtual int get_c22c_channel(quint16 *major_high, quint16 *major_low, quint16 *minor);
    virtual int set_c22d_channel(quint16 major_high, quint16 major_low, quint16 minor);
    virtual int read_ca17_1(quint8 value, std::array<quint8, 5> *values);
    virtual int write_ca17_0(quint8 value, quint8 *status);
    virtual int write_ca17_2(quint8 value, quint8 *status);
    virtual int write_profile(quint8 profile, const std::array<quint8, 10> &values, quint8 *status);
    virtual int read_profile(quint8 profile, display_profile_record *record);
    virtual int select_profile(quint8 profile, quint8 *status);
    virtual int set_weekend_schedule(quint8 bitfield, quint8 *status, quint8 *bitfield_now);
    virtual int get_weekend_schedule(quint8 *bitfield);
    virtual int set_holiday_schedule(holiday_program_record *entry);
    virtual int get_holiday_schedule(quint8 number, holiday_program_record *entry);
    virtual int engine_command_c257(std::array<quint32, 3> *values);
    virtual int engine_command_c258(const std::array<quint32, 3> &values, quint8 *status,
                                    std::array<quint8, 12> *reply);
    virtual int read_calibration_history_entry(quint8 number, calibration_history_entry *entry);
    virtual int write_c259(quint16 value, quint8 byte, const std::array<quint8, 13> &bytes, quint8 *status);
    virtual int read_sensor_info(QByteArray *sensor_name, QByteArray *sensor_serial);
    virtual int write_sensor_info(const QByteArray &sensor_name, const QByteArray &sensor_serial, quint8 *status,
                                  QByteArray *name_back, QByteArray *serial_back);

    // XOR of the request from offset 1 to its current end.
    virtual quint8 check_byte() const;

    // The current transport (never null outside open_link).
    TBasicComm *transport() const { return m_transport.get(); }
    // The bytes of the last request frame as it went to the transport.
    QList<char> last_request() const { return m_request; }
    char last_reply_type() const { return m_reply_type; }

protected:
    // --- frame builders ---
    QList<char> build_header(char type) const;
    static char hex_digit(int value);
    void begin_request(char type);
    void append_hex_byte(quint8 value);
    void append_hex_word(quint16 value);
    void append_hex_dword(quint32 value);
    void append_plain(const QByteArray &text);
    void append_hex_text(const QByteArray &text, int width);

    // --- reply readers: consume the reply body from the front. Reading past
    // the end yields 0 and marks the reply short (reply_status() = -5002). ---
    quint8 take_hex_byte();
    quint16 take_hex_word();
    quint32 take_hex_dword();
    char take_byte();
    QByteArray take_plain_rest();
    QByteArray take_hex_text_rest();
    int remaining() const { return m_reply.size(); }
    int reply_status() const;

    // --- command pattern pieces ---
    int exchange(int wait_ms);
    int expect_length(int length) const;          // exactly
    int expect_min_length(int length) const;      // at least
    int expect_type(char type) const;
    int expect_word(quint16 word);
    int expect_byte(quint8 byte);
    int run_row(const command_row &row, const QVector<quint32> &arguments, QVector<quint32> *values);
    int run_bytes(const command_row &row, const QVector<quint32> &arguments, std::initializer_list<quint8 *> outs);
    int parse_extended_schedule(int family, quint8 program, schedule_program_record *entry);
    int lut_write(quint16 code, int offset, const quint16 *values, int count);
    int lut_read(quint16 code, int offset, quint16 *values, int count);
    int schedule_read(quint8 program, int entry_bytes, schedule_program_record *entry);
    int schedule_write(quint8 program, int entry_bytes, schedule_program_record *entry);
    int parse_holiday(bool with_status, quint8 sub, quint8 number, holiday_program_record *entry);
    int read_log(quint8 sub, quint16 first, quint16 second, bool with_words, display_log_entry *entry);
    int read_hex_text(quint16 code, QByteArray *text);
    int read_parameter_reply(quint8 *result, quint8 *type, quint16 *max, quint16 *current);
    int read_dashed_text(QByteArray *text);

    quint32 m_attempt_count = 3;

private:
    int read_checked(char expected, int timeout_ms);

    std::unique_ptr<TBasicComm> m_transport;
    int m_destination = 'A';
    QList<char> m_request;
    QList<char> m_reply;
    char m_reply_type = 0;
    bool m_slow_link = false;
    bool m_reply_short = false;
};
