#pragma once

#include "display_protocol/PDCommProtocol.h"

#include <atomic>

// The protocol object a display model owns: remembers how its link was
// opened and repeats a chosen set of commands. Before each repeat it pauses
// (the command's repeat pause) and opens the link afresh; the caller sees
// only the final outcome. A command is tried get_attempt_count() times, and
// at least once. Once the stop flag is set no repeat starts: a repeat pause
// in progress ends early and the command returns link_status::kStopped.
class PDCommProtocol_retry : public PDCommProtocol
{
    Q_OBJECT

public:
    explicit PDCommProtocol_retry(QObject *parent = nullptr);

    int open_link(QString name, int kind) override;

    virtual void set_attempt_count(quint32 count);
    virtual quint32 get_attempt_count() const;
    virtual int saved_link_kind() const;
    // The owner's stop flag (may be set from another thread); none by default.
    void set_stop_flag(const std::atomic<bool> *stop);

    int set_power_state(quint16 mode, quint16 *mode_now) override;
    int get_power_state(quint16 *mode, quint16 *max) override;
    int save_current_settings() override;
    int get_timing_report(quint8 *status, float *horizontal_khz, float *vertical_hz) override;
    int read_capability_string(char *buffer, int *length) override;
    int read_c00b_text(char *buffer, int *length) override;
    int write_c00e_blocks(const QByteArray &data, quint8 step) override;
    int set_parameter_code(int code, quint16 value, quint8 *result, quint8 *type, quint16 *max,
                           quint16 *current) override;
    int set_parameter(quint8 page, quint8 opcode, quint16 value, quint8 *result, quint8 *type, quint16 *max,
                      quint16 *current) override;
    int get_parameter_code(int code, quint8 *result, quint8 *type, quint16 *max, quint16 *current) override;
    int get_parameter(quint8 page, quint8 opcode, quint8 *result, quint8 *type, quint16 *max,
                      quint16 *current) override;
    int get_serial_number(QByteArray *text) override;
    int get_model_name(QByteArray *text) override;
    int get_self_test_report(quint8 *report, int *count) override;
    int get_date_time(display_clock_record *clock) override;
    int set_date_time(display_clock_record *clock) override;
    int get_schedule_extended(int family, quint8 program, schedule_program_record *entry) override;
    int set_schedule_extended(int family, quint8 program, schedule_program_record *entry) override;
    int get_schedule_status(int family, quint8 program, quint8 value, quint8 *state) override;
    int get_identity_string(quint8 selector, QByteArray *text) override;
    int set_log_mode(quint8 value, quint8 *status) override;
    int read_latest_log(display_log_entry *entry) override;
    int read_log_counts(quint8 *status, quint16 *total, quint16 *maximum, quint8 *current_status) override;
    int read_log_entry(quint16 first, quint16 second, display_log_entry *entry) override;
    int get_lan_text_c22a(quint8 *first, quint8 *second, QByteArray *text) override;
    int get_mac_address(quint8 index, quint8 *value, QByteArray *text) override;
    int get_power_save_mode(quint8 *value) override;
    int set_power_save_mode(quint8 value, quint8 *acknowledged) override;
    int get_power_setting_2(quint8 *value) override;
    int set_power_setting_3(quint8 value, quint8 *acknowledged) override;
    int get_power_setting_4(quint8 *value) override;
    int set_power_setting_5(quint8 value, quint8 *acknowledged) override;
    int send_c206() override;
    int send_c207() override;
    int write_lut_block(int offset, const quint16 *values, int count) override;
    int get_c22c_channel(quint16 *major_high, quint16 *major_low, quint16 *minor) override;
    int set_c22d_channel(quint16 major_high, quint16 major_low, quint16 minor) override;

private:
    template <typename Attempt>
    int retried(int repeat_pause_ms, Attempt &&attempt);
    bool stopped() const;
    // False when a stop cut the pause short.
    bool repeat_pause(int ms);

    QString m_saved_port_name;
    int m_saved_link_kind = 3;
    const std::atomic<bool> *m_stop = nullptr;
};
