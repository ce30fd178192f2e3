#pragma once

#include "simulator/sim_control_table.h"
#include "simulator/sim_engine.h"
#include "simulator/sim_fault.h"
#include "simulator/sim_history_entry.h"
#include "simulator/sim_lut_memory.h"
#include "simulator/sim_model_profile.h"
#include "simulator/sim_reply.h"
#include "simulator/sim_video_state.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>

#include <array>

// The display side of the display control protocol: one display's state
// and how it answers a request. Knows nothing of sockets or serial lines;
// the endpoints hand it the message type and body of each request meant
// for it. Every field is plain state that tests may read and change (under
// the wall's lock, see simulated_wall::with_display).
class sim_display
{
public:
    struct clock_state
    {
        quint8 year = 26, month = 1, day = 1, weekday = 4, hour = 12, minute = 0, daylight_saving = 0;
    };
    // A basic schedule program in wire order: off hour, off minute, on hour,
    // on minute, input, day mask, flags, picture mode.
    using schedule_program = std::array<quint8, 8>;
    static constexpr int kPrograms = 7;

    // An advanced (extended) schedule program: the event type and the one
    // time it switches at, then the basic fields and a date.
    struct advanced_program
    {
        quint8 event_type = 0, hour = 24, minute = 60, input = 0, day_mask = 0, flags = 0, picture_mode = 0;
        quint8 year = 100, month = 13, day = 32;
    };
    struct corner_state
    {
        quint16 area = 0x2020;       // offsets, high and low byte
        quint16 area_max = 0x4040;   // spans, high and low byte
        quint16 size = 0;
    };
    static constexpr int kAdvancedPrograms = 30;
    static constexpr int kHolidays = 50;

    explicit sim_display(char monitor_id = 'A');

    // A fault: the display answers writes (set parameter) of |code| "BE" and
    // leaves them undone, only those of |value| unless it is kAnyValue, for
    // |remaining| writes (sim_fault::kForever: until cleared).
    struct write_refusal
    {
        static constexpr int kAnyValue = -1;
        quint16 code = 0;
        int value = kAnyValue;
        int remaining = 0;
    };

    // Turns this display into the simulated model |name| (sim_model_profile):
    // its name, firmware, capability string, controls with their maxima,
    // read-only and unsupported controls, inputs and commands. False for an
    // unknown name.
    bool apply_model(const QByteArray &name);

    sim_reply handle(char type, const QByteArray &body);

    char monitor_id;
    QByteArray model_name = "SIM-WALL 55";
    QByteArray serial_number = "SIM0000001";
    QByteArray capability_string;
    int capability_fragment_size = 32;
    std::array<QByteArray, 4> identity_texts {{"R1.000", "R2.000", "R3.000", "R4.000"}};
    QByteArray self_test_report = QByteArray(1, '\0');
    quint8 timing_status = 0x03;
    quint16 horizontal_khz_x100 = 6750;
    quint16 vertical_hz_x100 = 6000;
    clock_state clock;
    std::array<schedule_program, kPrograms> programs {};
    int schedule_entry_bytes = 7;   // 8 for displays with the long program form
    sim_control_table controls;
    // Command replies by request body, answered before the model's own
    // commands: for commands the model does not know yet (message type 'B').
    QMap<QByteArray, QByteArray> scripted_replies;
    // Reports that follow the reply to a request body at once, as a display
    // sends when a process it started has finished (message type 'B').
    QMap<QByteArray, QByteArray> scripted_reports;

    const sim_model_profile *profile = nullptr;   // nullptr: the generic display

    // Lookup table: what was written, and the table the display shows since
    // its last activation (C206 or C207).
    sim_lut_memory lut;
    sim_lut_memory active_lut;
    bool lut_active = false;
    int active_lut_entries = 0;      // per channel
    double active_lut_full_scale = 0;
    int lut_commits = 0;             // C206
    int lut_activations = 0;         // C207

    sim_engine engine;
    std::array<corner_state, 4> corners {};
    std::array<quint8, kPrograms * 3> program_dates {};   // year, month, day of each basic program
    std::array<advanced_program, kAdvancedPrograms> advanced_programs {};
    // Holidays 1..50 in wire order: type, year, month, day, week of month,
    // day of week, end month, end day.
    std::array<std::array<quint8, 8>, kHolidays> holidays {};
    quint8 weekend_mask = 0x60;
    bool extended_schedules = true;  // C221/C222 and C23D/C23E
    QByteArray mac_address = "0011223344AB";   // simulated_wall gives each display its own
    // Newest first; read as entries 1, 2 …
    QList<sim_history_entry> history;
    QByteArray sensor_name;
    QByteArray sensor_serial;
    quint8 power_save_mode = 2, power_save_time = 0, standby_time = 0;

    // The display's own input codes (control 0x60, older codes on older
    // models): a write of another is answered but not taken. Empty: any.
    QList<quint16> inputs;
    QSet<quint16> refused_ir_keys;   // answered with a non-zero result
    bool refuses_power_on = false;   // power mode 1 is answered with a non-zero result
    // Cooling readings: per temperature sensor (selected by 0x278, read in
    // 0x279) half degrees Celsius; per fan (0x27A, read in 0x27B) its state.
    std::array<quint16, 3> temperatures {{76, 82, 70}};
    std::array<quint16, 3> fan_states {{1, 1, 0}};

    // What the display was asked to do, for tests to check.
    int saves = 0;
    quint8 expert_mode = 0;
    QList<quint16> ir_keys;          // the keys it carried out

    // What the display's light output depends on; every change goes through
    // publish_video so that the observer (the light model) follows it.
    sim_video_state video;
    sim_video_observer *video_observer = nullptr;
    void publish_video(bool became_active = false);

    // Fault injection.
    sim_fault fault;
    int reply_delay_ms = 0;         // delay before a reply starts
    int byte_delay_ms = 0;          // extra delay before each reply byte
    write_refusal refused_writes;
    // Controls whose writes the display answers late: nominal milliseconds,
    // taken times time_scale. The models take their time over 0x2DA.
    QMap<quint16, int> write_reply_delays_ms;
    // The display's own processing times run at this scale, as the
    // application's waits do: TESSALINE_TIME_SCALE, else 1.
    double time_scale = 1.0;

private:
    using handler = sim_reply (sim_display::*)(const QByteArray &args);
    struct command { const char *prefix; handler run; };
    static const command kCommands[];

    sim_reply command_reply(const QByteArray &body);

    sim_reply set_expert_mode(const QByteArray &args);
    sim_reply set_power(const QByteArray &args);
    sim_reply get_power(const QByteArray &args);
    sim_reply save_settings(const QByteArray &args);
    sim_reply timing_report(const QByteArray &args);
    sim_reply ir_key(const QByteArray &args);
    sim_reply capability_fragment(const QByteArray &args);
    sim_reply serial_text(const QByteArray &args);
    sim_reply model_text(const QByteArray &args);
    sim_reply identity_text(const QByteArray &args);
    sim_reply self_test(const QByteArray &args);
    sim_reply read_clock(const QByteArray &args);
    sim_reply write_clock(const QByteArray &args);
    sim_reply read_program(const QByteArray &args);
    sim_reply write_program(const QByteArray &args);

    // Records and schedules (sim_display_records.cpp).
    sim_reply read_extended(const QByteArray &args, bool family12);
    sim_reply write_extended(const QByteArray &args, bool family12);
    sim_reply read_extended_c221(const QByteArray &args) { return read_extended(args, false); }
    sim_reply write_extended_c222(const QByteArray &args) { return write_extended(args, false); }
    sim_reply read_extended_c23d(const QByteArray &args) { return read_extended(args, true); }
    sim_reply write_extended_c23e(const QByteArray &args) { return write_extended(args, true); }
    sim_reply holiday(const QByteArray &args);
    sim_reply weekend(const QByteArray &args);
    sim_reply mac(const QByteArray &args);
    sim_reply lan_text(const QByteArray &args);
    sim_reply history_entry(const QByteArray &args);
    sim_reply read_sensor(const QByteArray &args);
    sim_reply write_sensor(const QByteArray &args);
    sim_reply power_setting(const QByteArray &args);

    // Controls (sim_display_controls.cpp).
    sim_reply parameter_reply(char type, const QByteArray &body);
    bool reachable(quint16 code) const;
    bool refuses_write(quint16 code, quint16 value);
    bool accept_write(quint16 code, quint16 value);
    quint16 kept_value(quint16 code, const sim_control &control, quint16 value) const;
    void before_read(quint16 code);
    void after_write(quint16 code);

    // Lookup table and video state (sim_display_video.cpp).
    sim_reply commit_settings(const QByteArray &args);
    sim_reply activate_table(const QByteArray &args);
    sim_reply lut_write(const QByteArray &args, sim_lut_memory::addressing form, quint16 reply_code);
    sim_reply lut_read(const QByteArray &args, sim_lut_memory::addressing form, quint16 reply_code);
    sim_reply lut_write_long(const QByteArray &args) { return lut_write(args, sim_lut_memory::kLong, 0xC305); }
    sim_reply lut_write_short(const QByteArray &args) { return lut_write(args, sim_lut_memory::kShort, 0xC30B); }
    sim_reply lut_read_long(const QByteArray &args) { return lut_read(args, sim_lut_memory::kLong, 0xC304); }
    sim_reply lut_read_short(const QByteArray &args) { return lut_read(args, sim_lut_memory::kShort, 0xC30A); }
    void activate_lut();
    void update_video();

    // The internal calibration engine (sim_display_engine.cpp).
    sim_reply engine_results(const QByteArray &args);
    sim_reply engine_measurement(const QByteArray &args);
    bool has_engine() const { return profile && profile->engine; }
    void sync_engine();
    void record_history(quint16 procedure);
    void report_native_panel();
    bool update_engine_video();
};
