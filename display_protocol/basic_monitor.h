#pragma once

#include "display_protocol/calibration_history_entry.h"
#include "display_protocol/holiday_program_record.h"
#include "display_protocol/monitor_capabilities.h"
#include "display_protocol/schedule_program_record.h"
#include "display_protocol/vcp_list_item.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QVector>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

class CAdjustValue;
class CSpline;
class CTargetValue;
class PDCommProtocol_retry;
struct CornerUniformityEntry;

// One display as the rest of the program sees it: owns a retrying protocol
// link, keeps the display's capability string, and offers every display
// operation as a blocking call returning 0 or a negative status. Used by one
// thread at a time; only stop_job may be called from another thread. Every
// pause goes through the wait service.
class basic_monitor : public QObject
{
    Q_OBJECT

public:
    enum status : int {
        kOk = 0,
        kNoCorrectionCurve = -1014,
        kBusy = -1005,              // called from events processed inside a command of this object
        kNotSupported = -1027,
        kWaitGaveUp = -1038,
        kProcedureNotSupported = -1039,
        kStopped = -9000,
    };
    enum rgb_family : int { kFamilyUnknown = 0, kFamilyPaged = 1, kFamilyExpertMode = 2 };
    // Pseudo control codes of set_vcp: power-setting writes, not controls.
    enum power_pseudo_code : int { kPowerSaveTime = 0xFFF0, kStandbyTime = 0xFFF1, kPowerSaveMode = 0xFFF2 };
    static constexpr int kCapabilityBufferSize = 8192;

    explicit basic_monitor(QObject *parent = nullptr);
    ~basic_monitor() override;

    // --- link and identity -------------------------------------------------
    virtual void set_retry_count(int attempts);
    virtual int get_retry_count() const;
    // Kind 0 serial port, 1 LAN host, any other the null link. Forgets the
    // capability string and the level register family.
    virtual int open_link(QString port, int link_kind);
    virtual QString model_name_hint() const;
    virtual bool is_link_open() const;
    // The destination byte of the display with monitor ID n (1, 2, ...) is
    // kMonitorIdBase + n: ID 1 is 'A'.
    static constexpr quint8 kMonitorIdBase = 0x40;
    // Also forgets the capability string and the level register family: the
    // next display may be of another model.
    virtual void set_monitor_id(quint8 destination);
    virtual quint8 get_monitor_id() const;
    virtual int read_capabilities();
    virtual int get_capabilities_string(char *dst, int len) const;
    const monitor_capabilities &capabilities() const { return m_capabilities; }
    virtual int save_current_settings();
    virtual int send_c207();
    virtual int send_c206();
    virtual int get_serial_number(QString &text);
    virtual int get_model_name(QString &text);
    virtual int get_identity_strings(QString &first, QString &second, QString &third, QString &fourth);
    virtual int get_identity_string(QString &text, int selector);
    virtual int get_capability_mpu_version(QString &text);

    // --- controls ----------------------------------------------------------
    virtual int get_vcp(int code, uint &value);
    virtual int get_vcp_with_max(int code, int &value, int &max);
    virtual int get_vcp_raw(int code, int &current, int &max, quint8 &result, quint8 &type);
    // |value| in: wanted; out: what the display reports back.
    virtual int set_vcp(int code, uint &value);
    virtual int set_vcp_raw(int code, uint value, quint8 &result, quint8 &type, int &max, int &current);
    virtual int get_brightness(int &value, int &max);
    virtual int get_contrast(int &value, int &max);
    virtual int get_vcp_92(int &value, int &max);
    virtual int get_video_gain_red(int &value, int &max);
    virtual int get_video_gain_green(int &value, int &max);
    virtual int get_video_gain_blue(int &value, int &max);
    virtual int set_brightness(int value);
    virtual int set_contrast(int value);
    virtual int set_vcp_92(int value);
    virtual int set_video_gain_red(int value);
    virtual int set_video_gain_green(int value);
    virtual int set_video_gain_blue(int value);
    virtual int get_color_preset(int &value, int &max);
    virtual int set_color_preset(int value);
    virtual int get_vcp_268(int &value, int &max);
    virtual int set_vcp_268(int value);
    virtual int restore_factory_color_defaults();
    virtual bool supports_vcp_2f8();
    virtual int set_vcp_2f8_and_commit();

    // --- usage counters (hours) ---------------------------------------------
    virtual int get_usage_hours_a(double &hours);
    virtual int get_usage_hours_b(double &hours);
    virtual int get_usage_half_hours_a(double &hours);
    virtual int get_usage_half_hours_b(double &hours);
    virtual int get_usage_minutes_a(double &hours);
    virtual int get_usage_minutes_b(double &hours);

    // --- lookup tables -------------------------------------------------------
    virtual int write_lut_channels(const QVector<int> &table, int &step, int total);
    virtual int upload_lut(const QVector<int> &table, int gamma_table_number);
    // The colour mode that shows programmable gamma table |number| (1 to 3).
    static int color_mode_for_gamma_table(int number);

    virtual void pause(uint ms);
    virtual void broadcast_message(int message, int value);
    virtual int reset_vcp_268();
    virtual int reapply_video_gains();
    virtual int read_and_reapply_video_gains(int &red, int &green, int &blue);
    // |count| in: capacity of |report|; out: bytes stored.
    virtual int get_self_test_report(quint8 *report, int &count);

    // --- clock, power, timing ------------------------------------------------
    virtual int get_date_time(QDateTime &date_time, quint8 &daylight_saving);
    virtual int set_date_time(const QDateTime &date_time, quint8 daylight_saving);
    virtual int set_mode_c011(quint8 mode);
    virtual int set_power_state(quint8 mode);
    virtual int get_power_state(quint8 &mode);
    virtual int get_timing_report(quint8 &status, float &horizontal_khz, float &vertical_hz);

    // --- patch generator levels -------------------------------------------
    virtual int set_rgb_levels(int red, int green, int blue, bool engine);
    virtual int set_vcp_2c8_or_2c3(int value, bool engine);
    virtual int get_vcp_2c8_or_2c3(int &value, bool engine);
    virtual int get_rgb_levels(int &red, int &green, int &blue, int &red_max, int &green_max, int &blue_max,
                               bool engine);
    virtual int set_rgb_level_red(int value, bool engine);
    virtual int set_rgb_level_green(int value, bool engine);
    virtual int set_rgb_level_blue(int value, bool engine);
    virtual int detect_rgb_level_registers();
    // Byte 0 pauses one second; any other byte is a remote-control key code.
    virtual int send_ir_sequence(const QByteArray &keys);
    virtual int cycle_rgb_levels();

    // --- internal calibration engine ----------------------------------------
    virtual int is_vcp_1017_supported();
    virtual int get_vcp_1017(int &value, int &max);
    virtual int set_vcp_1017(int value);
    virtual int get_vcp_1018(int &value, int &max);
    virtual int set_vcp_1018(int value);
    // Current high and low byte, maximum high and low byte of 0x11C5.
    virtual int get_vcp_11c5(quint8 &current_high, quint8 &current_low, quint8 &max_high, quint8 &max_low);
    virtual int get_vcp_11ce(int &value, int &max);
    virtual int engine_command_c257(std::array<quint32, 3> &values);
    // Hands the engine one measurement: X, Y and Z, each an unsigned 32-bit
    // count of thousandths of cd/m² (rounded; negative values as 0, values
    // beyond the word capped at 0xFFFFFFFF). The caller encodes them.
    virtual int engine_command_c258(const std::array<quint32, 3> &values, quint8 &status,
                                    std::array<quint8, 12> &reply);

    // --- power settings ------------------------------------------------------
    int get_power_save_mode(quint8 &mode);
    int set_power_save_mode(int mode, int &acknowledged);
    int get_power_setting_ca0b_2(quint8 &value);
    int set_power_setting_ca0b_3(int value, int &acknowledged);
    int get_power_setting_ca0b_4(quint8 &value);
    int set_power_setting_ca0b_5(int value, int &acknowledged);

    // --- records ---------------------------------------------------------------
    // -5008 when the display answers with a non-zero status.
    int write_sensor_info(const QByteArray &sensor_name, const QByteArray &sensor_serial);
    int read_lut_block(int start, int count, QVector<int> &values);
    int read_calibration_history_entry(int index, calibration_history_entry &entry);
    int get_holiday_schedule(int number, holiday_program_record &entry);
    // |entry| takes what the display confirms.
    int set_holiday_schedule(holiday_program_record &entry);
    int get_weekend_schedule(quint8 &mask);
    // -1027 when the display answers with a non-zero status.
    int set_weekend_schedule(quint8 mask);
    int get_schedule_status(int selector, int program, int value, quint8 &state);
    int get_schedule_extended(int index, schedule_program_record &entry);
    int get_schedule(int index, schedule_program_record &entry, int selector);
    int set_schedule(int index, schedule_program_record &entry, int selector);
    int get_mac_address(int index, QString &text);
    int get_lan_text_c22a(int &first, int &second, QString &text);
    int get_input_source(uint &value);
    int set_input_source(uint &value);
    int set_osd_orientation(int value);
    void set_slow_link(bool slow);

    // --- engine switch, uniformity ---------------------------------------------
    int set_vcp_1147_and_wait(bool on);
    bool supports_vcp_1147_and_1192();
    bool supports_corner_uniformity();
    int get_corner_uniformity(int corner, CornerUniformityEntry &entry);
    int set_corner_uniformity(int corner, const CornerUniformityEntry &entry);
    int set_corner_uniformity_checked(int corner, const CornerUniformityEntry &entry, bool &changed);
    int set_vcp_if_changed(int code, int value, int &max, bool &changed);
    int is_vcp_27f_near_max(bool &near);
    int wait_for_vcp_2aa(uint &value, int wanted);
    // Reads the engine's native gamut into the record's native_gamut.
    int configure_for_calibration(CAdjustValue &record);

    // --- control lists and settle times -----------------------------------------
    int apply_vcp_list(QList<vcp_list_item> &list, bool progress);
    int settle_time_for_control(int code, int value);
    static int settle_time_for_luminance(double luminance);

    // --- lookup-table building and upload ------------------------------------
    int get_lut_size(int &entries, int &max);
    int build_lut_from_calibration(const CAdjustValue &record, const CTargetValue &target, QVector<int> &table);
    int build_lut_from_calibration_ex(int kind, QVector<int> &table);
    int build_lut_from_curves(const CSpline &red, const CSpline &green, const CSpline &blue, QVector<int> &table);
    int upload_lut_c20b(const std::vector<int> &table);

    bool is_fixed_list_model();

    bool stop_requested() const { return m_stop.load(); }

signals:
    void Broadcast_MessageOut(int message, int value);
    void com_port_changed(QString text);
    void set_get_vcp_progess(int step, int total_steps);

public slots:
    void stop_job();

private:
    struct level_registers
    {
        std::array<int, 3> codes;
        bool expert_mode;   // reachable only between set_mode_c011(2) and (0)
    };
    level_registers level_registers_for(bool engine);
    template <typename Body>
    int in_level_mode(const level_registers &registers, Body &&body);
    int set_rgb_level(int channel, int value, bool engine);
    // Runs one link command unless this object is already inside one.
    template <typename Command>
    int link_command(Command &&command);
    int get_pair(int code, int &value, int &max);
    int set_value(int code, int value);
    int set_then_pause(int code, int value, uint pause_ms);
    bool raw_read_supported(int code);
    int get_usage_half_hours(int code, double &hours);
    int get_usage_minutes(int high_code, int low_code, double &hours);
    int get_usage_hours(int (basic_monitor::*minutes)(double &), int (basic_monitor::*half_hours)(double &),
                        double &hours);
    int apply_item(vcp_list_item &item);
    void progress(int &step, int total);
    void forget_display();
    template <typename Command>
    int schedule_with_extended_codes(schedule_program_record &entry, Command &&command);

    char m_capability_string[kCapabilityBufferSize];
    monitor_capabilities m_capabilities;
    std::unique_ptr<PDCommProtocol_retry> m_link;
    uint m_pause_after_save = 2000;
    uint m_pause_after_c207 = 2000;
    uint m_pause_after_c206 = 100;
    uint m_pause_after_color_preset = 1000;
    uint m_pause_after_268 = 1000;
    uint m_pause_after_factory_reset = 1000;
    int m_rgb_family = kFamilyUnknown;
    std::atomic<bool> m_stop{false};
    bool m_processing_events = false;
};

template <typename Command>
int basic_monitor::link_command(Command &&command)
{
    if (m_processing_events)
        return kBusy;
    return command();
}
