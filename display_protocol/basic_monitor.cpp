// The display link, identity, controls, control lists with their settle
// times, usage counters, clock, power and remote-control keys.
#include "display_protocol/basic_monitor.h"

#include "display_protocol/PDCommProtocol_retry.h"
#include "display_protocol/control_codes.h"
#include "display_protocol/display_clock_record.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

#include <cstring>

namespace {

constexpr int kEventProcessingMs = 100;
constexpr int kIrRepeatCount = 3;
constexpr uint kIrPauseMs = 1000;
constexpr uint kIrKeyPauseMs = 200;
constexpr uint kEngineSwitchPauseMs = 2000;
// Written even when it already holds the value.
constexpr int kAlwaysWrittenControl = control_code::kEngineLuminance;

struct settle_row
{
    std::initializer_list<int> codes;
    int ms;
};

const settle_row kSettleTimes[] = {
    {{control_code::kColorPreset, control_code::kColorMode, control_code::kVcp2E8, control_code::kEnginePictureMode,
      control_code::kVcp1051, control_code::kEngineBlackLevel, control_code::kVcp105B,
      control_code::kNativeGamutEnable, control_code::kVcp105F, control_code::kVcp1069, control_code::kVcp1071},
     2000},
    {{control_code::kEngineLuminance}, 1000},
    {{control_code::kInputResolution}, 10000},
    {{control_code::kVcp1107, control_code::kVcp113F, control_code::kVcp1142, control_code::kVcp1143}, 3000},
};

struct luminance_row
{
    double above;
    int ms;
};

const luminance_row kLuminanceSettle[] = {{150.0, 4000}, {100.0, 5000}};
constexpr int kLowLuminanceSettleMs = 10000;

QString text_of(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

basic_monitor::basic_monitor(QObject *parent)
    : QObject(parent), m_link(std::make_unique<PDCommProtocol_retry>())
{
    m_capability_string[0] = '\0';
    m_link->set_stop_flag(&m_stop);
}

basic_monitor::~basic_monitor() = default;

void basic_monitor::stop_job()
{
    m_stop.store(true);
}

void basic_monitor::forget_display()
{
    m_capability_string[0] = '\0';
    m_capabilities.clear();
    m_rgb_family = kFamilyUnknown;
}

// --- link and identity -------------------------------------------------------

void basic_monitor::set_retry_count(int attempts)
{
    m_link->set_attempt_count(static_cast<quint32>(qMax(0, attempts)));
}

int basic_monitor::get_retry_count() const
{
    return static_cast<int>(m_link->get_attempt_count());
}

int basic_monitor::open_link(QString port, int link_kind)
{
    if (m_processing_events)
        return kBusy;
    forget_display();
    const int status = m_link->open_link(port, link_kind);
    emit com_port_changed(status == kOk ? port
                                        : QStringLiteral("<font COLOR=red>Unable to open ") + port
                                              + QStringLiteral("</font>"));
    return status;
}

QString basic_monitor::model_name_hint() const
{
    return QString();
}

bool basic_monitor::is_link_open() const
{
    return m_link->transport() && m_link->transport()->is_open();
}

void basic_monitor::set_monitor_id(quint8 destination)
{
    if (m_processing_events)
        return;
    forget_display();
    m_link->set_destination(destination);
}

quint8 basic_monitor::get_monitor_id() const
{
    return static_cast<quint8>(m_link->get_destination());
}

int basic_monitor::read_capabilities()
{
    m_capabilities.clear();
    m_capability_string[0] = '\0';
    int length = kCapabilityBufferSize;
    const int status = link_command([&] { return m_link->read_capability_string(m_capability_string, &length); });
    m_capability_string[kCapabilityBufferSize - 1] = '\0';
    if (status < 0)
        return status;
    return m_capabilities.parse(m_capability_string);
}

int basic_monitor::get_capabilities_string(char *dst, int len) const
{
    if (!dst || len <= 0)
        return kOk;
    const int length = static_cast<int>(qstrnlen(m_capability_string, kCapabilityBufferSize));
    const int copied = qMin(len, length + 1);
    std::memcpy(dst, m_capability_string, static_cast<size_t>(copied));
    return kOk;
}

int basic_monitor::save_current_settings()
{
    const int status = link_command([&] { return m_link->save_current_settings(); });
    pause(m_pause_after_save);
    return status;
}

int basic_monitor::send_c207()
{
    const int status = link_command([&] { return m_link->send_c207(); });
    pause(m_pause_after_c207);
    return status;
}

int basic_monitor::send_c206()
{
    const int status = link_command([&] { return m_link->send_c206(); });
    pause(m_pause_after_c206);
    return status;
}

int basic_monitor::get_serial_number(QString &text)
{
    QByteArray bytes;
    const int status = link_command([&] { return m_link->get_serial_number(&bytes); });
    text = status == kOk ? text_of(bytes) : QString();
    return status;
}

int basic_monitor::get_model_name(QString &text)
{
    QByteArray bytes;
    const int status = link_command([&] { return m_link->get_model_name(&bytes); });
    text = status == kOk ? text_of(bytes) : QString();
    return status;
}

int basic_monitor::get_identity_string(QString &text, int selector)
{
    QByteArray bytes;
    const int status = link_command([&] { return m_link->get_identity_string(static_cast<quint8>(selector), &bytes); });
    text = status == kOk ? text_of(bytes) : QString();
    return status;
}

int basic_monitor::get_identity_strings(QString &first, QString &second, QString &third, QString &fourth)
{
    first.clear();
    second.clear();
    third.clear();
    fourth.clear();
    const int status = get_identity_string(first, 0);
    if (status != kOk) {
        if (m_capability_string[0] == '\0')
            read_capabilities();
        first = text_of(m_capabilities.mpu_version());
        return status;
    }
    QString *rest[] = {&second, &third, &fourth};
    for (int selector = 1; selector <= 3; ++selector) {
        if (get_identity_string(*rest[selector - 1], selector) != kOk)
            break;
    }
    return kOk;
}

int basic_monitor::get_capability_mpu_version(QString &text)
{
    int status = kOk;
    if (m_capability_string[0] == '\0')
        status = read_capabilities();
    text = text_of(m_capabilities.mpu_version());
    return status;
}

// --- controls ---------------------------------------------------------------

int basic_monitor::get_vcp_raw(int code, int &current, int &max, quint8 &result, quint8 &type)
{
    quint16 current16 = 0, max16 = 0;
    result = type = 0;
    const int status = link_command(
        [&] { return m_link->get_parameter_code(code, &result, &type, &max16, &current16); });
    current = current16;
    max = max16;
    return status;
}

int basic_monitor::get_vcp_with_max(int code, int &value, int &max)
{
    quint8 result = 0, type = 0;
    const int status = get_vcp_raw(code, value, max, result, type);
    if (status != kOk)
        return status;
    return result == 0 ? kOk : kNotSupported;
}

int basic_monitor::get_vcp(int code, uint &value)
{
    int current = 0, max = 0;
    const int status = get_vcp_with_max(code, current, max);
    value = static_cast<uint>(current);
    return status;
}

int basic_monitor::set_vcp_raw(int code, uint value, quint8 &result, quint8 &type, int &max, int &current)
{
    quint16 current16 = 0, max16 = 0;
    result = type = 0;
    const int status = link_command([&] {
        return m_link->set_parameter_code(code, static_cast<quint16>(value), &result, &type, &max16, &current16);
    });
    current = current16;
    max = max16;
    if (!m_processing_events) {
        // Slots run here may reach this object again; they are refused (kBusy)
        // rather than interleave a second command with this one.
        QScopedValueRollback<bool> guard(m_processing_events, true);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kEventProcessingMs);
    }
    return status;
}

int basic_monitor::set_vcp(int code, uint &value)
{
    using power_writer = int (basic_monitor::*)(int, int &);
    struct pseudo_row
    {
        int code;
        power_writer write;
    };
    static const pseudo_row kPseudoCodes[] = {
        {kPowerSaveTime, &basic_monitor::set_power_setting_ca0b_3},
        {kStandbyTime, &basic_monitor::set_power_setting_ca0b_5},
        {kPowerSaveMode, &basic_monitor::set_power_save_mode},
    };
    for (const pseudo_row &row : kPseudoCodes) {
        if (row.code != code)
            continue;
        int acknowledged = 0;
        const int status = (this->*row.write)(static_cast<int>(value), acknowledged);
        if (status == kOk)
            value = static_cast<uint>(acknowledged);
        return status;
    }
    quint8 result = 0, type = 0;
    int max = 0, current = 0;
    const int status = set_vcp_raw(code, value, result, type, max, current);
    if (status != kOk)
        return status;
    if (result != 0)
        return kNotSupported;
    value = static_cast<uint>(current);
    return kOk;
}

int basic_monitor::get_pair(int code, int &value, int &max)
{
    return get_vcp_with_max(code, value, max);
}

int basic_monitor::set_value(int code, int value)
{
    uint v = static_cast<uint>(value);
    return set_vcp(code, v);
}

int basic_monitor::set_then_pause(int code, int value, uint pause_ms)
{
    const int status = set_value(code, value);
    pause(pause_ms);
    return status;
}

bool basic_monitor::raw_read_supported(int code)
{
    int current = 0, max = 0;
    quint8 result = 0, type = 0;
    return get_vcp_raw(code, current, max, result, type) == kOk && result == 0;
}

int basic_monitor::get_brightness(int &value, int &max) { return get_pair(control_code::kBrightness, value, max); }
int basic_monitor::get_contrast(int &value, int &max) { return get_pair(control_code::kContrast, value, max); }
int basic_monitor::get_vcp_92(int &value, int &max) { return get_pair(control_code::kBlackLevel, value, max); }
int basic_monitor::get_video_gain_red(int &value, int &max)
{
    return get_pair(control_code::kVideoGainRed, value, max);
}
int basic_monitor::get_video_gain_green(int &value, int &max)
{
    return get_pair(control_code::kVideoGainGreen, value, max);
}
int basic_monitor::get_video_gain_blue(int &value, int &max)
{
    return get_pair(control_code::kVideoGainBlue, value, max);
}
int basic_monitor::set_brightness(int value) { return set_value(control_code::kBrightness, value); }
int basic_monitor::set_contrast(int value) { return set_value(control_code::kContrast, value); }
int basic_monitor::set_vcp_92(int value) { return set_value(control_code::kBlackLevel, value); }
int basic_monitor::set_video_gain_red(int value) { return set_value(control_code::kVideoGainRed, value); }
int basic_monitor::set_video_gain_green(int value) { return set_value(control_code::kVideoGainGreen, value); }
int basic_monitor::set_video_gain_blue(int value) { return set_value(control_code::kVideoGainBlue, value); }
int basic_monitor::get_color_preset(int &value, int &max) { return get_pair(control_code::kColorPreset, value, max); }
int basic_monitor::set_color_preset(int value)
{
    return set_then_pause(control_code::kColorPreset, value, m_pause_after_color_preset);
}
int basic_monitor::get_vcp_268(int &value, int &max) { return get_pair(control_code::kColorMode, value, max); }
int basic_monitor::set_vcp_268(int value) { return set_then_pause(control_code::kColorMode, value, m_pause_after_268); }
int basic_monitor::set_osd_orientation(int value) { return set_value(control_code::kOsdOrientation, value); }

int basic_monitor::restore_factory_color_defaults()
{
    return set_then_pause(control_code::kRestoreFactoryColor, 1, m_pause_after_factory_reset);
}

bool basic_monitor::supports_vcp_2f8()
{
    return raw_read_supported(control_code::kVcp2F8);
}

int basic_monitor::set_vcp_2f8_and_commit()
{
    const int status = set_value(control_code::kVcp2F8, 1);
    return status == kOk ? send_c206() : status;
}

int basic_monitor::reset_vcp_268()
{
    const int status = set_vcp_268(1);
    broadcast_message(1, 0);
    return status;
}

int basic_monitor::reapply_video_gains()
{
    int red = 0, green = 0, blue = 0;
    return read_and_reapply_video_gains(red, green, blue);
}

int basic_monitor::read_and_reapply_video_gains(int &red, int &green, int &blue)
{
    int max = 0;
    if (const int status = get_video_gain_red(red, max))
        return status;
    if (const int status = get_video_gain_green(green, max))
        return status;
    if (const int status = get_video_gain_blue(blue, max))
        return status;
    if (const int status = set_video_gain_red(red))
        return status;
    if (const int status = set_video_gain_green(green))
        return status;
    return set_video_gain_blue(blue);
}

void basic_monitor::pause(uint ms)
{
    wait_service::sleep_ms(ms);
}

void basic_monitor::broadcast_message(int message, int value)
{
    emit Broadcast_MessageOut(message, value);
}

// --- control lists ----------------------------------------------------------

int basic_monitor::settle_time_for_control(int code, int value)
{
    if (code == control_code::kEngineMode)
        return value == 3 ? 0 : 5000;
    if (code == control_code::kEngineSwitch) {
        pause(kEngineSwitchPauseMs);
        return 0;
    }
    for (const settle_row &row : kSettleTimes) {
        for (int c : row.codes) {
            if (c == code)
                return row.ms;
        }
    }
    return 0;
}

int basic_monitor::settle_time_for_luminance(double luminance)
{
    for (const luminance_row &row : kLuminanceSettle) {
        if (luminance > row.above)
            return row.ms;
    }
    return kLowLuminanceSettleMs;
}

int basic_monitor::apply_item(vcp_list_item &item)
{
    if (item.action == vcp_list_item::kRead)
        return get_vcp_with_max(item.code, item.value, item.max);
    const bool reads = item.read_first || item.action == vcp_list_item::kWriteMax
                       || item.action == vcp_list_item::kWriteHalfMax;
    if (reads) {
        int current = 0, max = 0;
        if (const int status = get_vcp_with_max(item.code, current, max))
            return status;
        item.max = max;
        switch (item.action) {
        case vcp_list_item::kWriteMax: item.value = max; break;
        case vcp_list_item::kWriteZero: item.value = 0; break;
        case vcp_list_item::kWriteHalfMax: item.value = max / 2; break;
        default: break;
        }
        if (item.value == current && item.code != kAlwaysWrittenControl)
            return kOk;
    }
    uint written = static_cast<uint>(item.value);
    // The display answers an input resolution write only once it has
    // switched: the write alone gets the slow link's reply waits.
    const bool slow = item.code == control_code::kInputResolution;
    if (slow)
        set_slow_link(true);
    const int status = set_vcp(item.code, written);
    if (slow)
        set_slow_link(false);
    const bool settles = !(item.code == control_code::kEngineMode && (item.value == 2 || item.value == 3));
    if (settles)
        pause(static_cast<uint>(settle_time_for_control(item.code, item.value)));
    return status;
}

int basic_monitor::apply_vcp_list(QList<vcp_list_item> &list, bool progress)
{
    const int n = list.size();
    for (int i = 0; i < n; ++i) {
        if (m_stop.load())
            return kStopped;
        if (progress)
            emit set_get_vcp_progess(i, n);
        vcp_list_item item = list.at(i);
        item.result = apply_item(item);
        list[i] = item;
        if (item.result != kOk && item.result != kNotSupported)
            return item.result;
    }
    if (progress)
        emit set_get_vcp_progess(n, n);
    return kOk;
}

// --- usage counters ---------------------------------------------------------

int basic_monitor::get_usage_half_hours(int code, double &hours)
{
    uint value = 0;
    const int status = get_vcp(code, value);
    hours = status == kOk ? value * 0.5 : 0.0;
    return status;
}

int basic_monitor::get_usage_minutes(int high_code, int low_code, double &hours)
{
    hours = 0.0;
    uint high = 0, low = 0;
    if (const int status = get_vcp(high_code, high))
        return status;
    if (const int status = get_vcp(low_code, low))
        return status;
    hours = static_cast<double>((high & 0xFFFFu) << 16 | (low & 0xFFFFu)) / 60.0;
    return kOk;
}

int basic_monitor::get_usage_hours(int (basic_monitor::*minutes)(double &),
                                   int (basic_monitor::*half_hours)(double &), double &hours)
{
    const int status = (this->*minutes)(hours);
    return status == kOk ? kOk : (this->*half_hours)(hours);
}

int basic_monitor::get_usage_half_hours_a(double &hours)
{
    return get_usage_half_hours(control_code::kUsageHalfHoursA, hours);
}
int basic_monitor::get_usage_half_hours_b(double &hours)
{
    return get_usage_half_hours(control_code::kUsageHalfHoursB, hours);
}
int basic_monitor::get_usage_minutes_a(double &hours)
{
    return get_usage_minutes(control_code::kUsageMinutesAHigh, control_code::kUsageMinutesALow, hours);
}
int basic_monitor::get_usage_minutes_b(double &hours)
{
    return get_usage_minutes(control_code::kUsageMinutesBHigh, control_code::kUsageMinutesBLow, hours);
}

int basic_monitor::get_usage_hours_a(double &hours)
{
    return get_usage_hours(&basic_monitor::get_usage_minutes_a, &basic_monitor::get_usage_half_hours_a, hours);
}

int basic_monitor::get_usage_hours_b(double &hours)
{
    return get_usage_hours(&basic_monitor::get_usage_minutes_b, &basic_monitor::get_usage_half_hours_b, hours);
}

// --- clock, power, timing, keys ---------------------------------------------------

int basic_monitor::get_date_time(QDateTime &date_time, quint8 &daylight_saving)
{
    display_clock_record clock;
    if (const int status = link_command([&] { return m_link->get_date_time(&clock); }))
        return status;
    const QDate date(2000 + clock.year, clock.month, clock.day);
    const QTime time(clock.hour, clock.minute, 0);
    if (!date.isValid() || !time.isValid())
        return link_status::kBadFrame;
    date_time = QDateTime(date, time);
    daylight_saving = clock.daylight_saving;
    return kOk;
}

int basic_monitor::set_date_time(const QDateTime &date_time, quint8 daylight_saving)
{
    const QDate date = date_time.date();
    const QTime time = date_time.time();
    if (!date.isValid() || !time.isValid() || date.year() < 2000 || date.year() > 2000 + 0xFF)
        return link_status::kBadFrame;
    display_clock_record clock;
    clock.year = static_cast<quint8>(date.year() - 2000);
    clock.month = static_cast<quint8>(date.month());
    clock.day = static_cast<quint8>(date.day());
    clock.weekday = static_cast<quint8>(date.dayOfWeek());
    clock.hour = static_cast<quint8>(time.hour());
    clock.minute = static_cast<quint8>(time.minute());
    clock.daylight_saving = daylight_saving;
    return link_command([&] { return m_link->set_date_time(&clock); });
}

int basic_monitor::set_mode_c011(quint8 mode)
{
    quint8 result = 0, mode_now = 0;
    return link_command([&] { return m_link->set_mode_c011(mode, &result, &mode_now); });
}

int basic_monitor::set_power_state(quint8 mode)
{
    quint16 mode_now = 0;
    return link_command([&] { return m_link->set_power_state(mode, &mode_now); });
}

int basic_monitor::get_power_state(quint8 &mode)
{
    quint16 mode16 = 0, max = 0;
    const int status = link_command([&] { return m_link->get_power_state(&mode16, &max); });
    mode = static_cast<quint8>(mode16);
    return status;
}

int basic_monitor::get_timing_report(quint8 &status_byte, float &horizontal_khz, float &vertical_hz)
{
    return link_command([&] { return m_link->get_timing_report(&status_byte, &horizontal_khz, &vertical_hz); });
}

int basic_monitor::get_self_test_report(quint8 *report, int &count)
{
    return link_command([&] { return m_link->get_self_test_report(report, &count); });
}

int basic_monitor::send_ir_sequence(const QByteArray &keys)
{
    for (char key : keys) {
        const quint8 code = static_cast<quint8>(key);
        if (code == 0) {
            pause(kIrPauseMs);
            continue;
        }
        if (const int status = link_command([&] { return m_link->send_ir_key(code, kIrRepeatCount); }))
            return status;
        pause(kIrKeyPauseMs);
    }
    return kOk;
}

void basic_monitor::set_slow_link(bool slow)
{
    m_link->set_slow_link(slow);
}

// --- power settings -----------------------------------------------------------

int basic_monitor::get_power_save_mode(quint8 &mode)
{
    return link_command([&] { return m_link->get_power_save_mode(&mode); });
}

int basic_monitor::set_power_save_mode(int mode, int &acknowledged)
{
    quint8 ack = 0;
    const int status = link_command([&] { return m_link->set_power_save_mode(static_cast<quint8>(mode), &ack); });
    acknowledged = ack;
    return status;
}

int basic_monitor::get_power_setting_ca0b_2(quint8 &value)
{
    return link_command([&] { return m_link->get_power_setting_2(&value); });
}

int basic_monitor::set_power_setting_ca0b_3(int value, int &acknowledged)
{
    quint8 ack = 0;
    const int status = link_command([&] { return m_link->set_power_setting_3(static_cast<quint8>(value), &ack); });
    acknowledged = ack;
    return status;
}

int basic_monitor::get_power_setting_ca0b_4(quint8 &value)
{
    return link_command([&] { return m_link->get_power_setting_4(&value); });
}

int basic_monitor::set_power_setting_ca0b_5(int value, int &acknowledged)
{
    quint8 ack = 0;
    const int status = link_command([&] { return m_link->set_power_setting_5(static_cast<quint8>(value), &ack); });
    acknowledged = ack;
    return status;
}
