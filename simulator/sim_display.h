#pragma once

#include "simulator/sim_control_table.h"
#include "simulator/sim_fault.h"
#include "simulator/sim_reply.h"
#include "simulator/sim_video_state.h"

#include <QByteArray>
#include <QList>
#include <QMap>

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

    explicit sim_display(char monitor_id = 'A');

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

    // What the display was asked to do, for tests to check.
    int saves = 0;
    quint8 expert_mode = 0;
    QList<quint16> ir_keys;

    // What the display's light output depends on; every change goes through
    // publish_video so that the observer (the light model) follows it.
    sim_video_state video;
    sim_video_observer *video_observer = nullptr;
    void publish_video(bool became_active = false);

    // Fault injection.
    sim_fault fault;
    int reply_delay_ms = 0;         // delay before a reply starts
    int byte_delay_ms = 0;          // extra delay before each reply byte

private:
    using handler = sim_reply (sim_display::*)(const QByteArray &args);
    struct command { const char *prefix; handler run; };
    static const command kCommands[];

    sim_reply command_reply(const QByteArray &body);
    sim_reply parameter_reply(char type, const QByteArray &body);

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
};
