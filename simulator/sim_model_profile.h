#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <initializer_list>

// What sets the simulated display models apart, one row per model name:
// their controls (which they have, with which maxima), patch-level
// registers, lookup-table geometry, counters, internal engine, corner
// uniformity, inputs, cooling, commands and firmware. Their light comes from
// the display's panel (sim_panel), as does the native gamut the engine
// models report.
struct sim_model_profile
{
    enum level_family : int { kPagedLevels = 1, kExpertModeLevels = 2 };
    enum analog_form : int {
        kNoAnalog = 0,
        kAnalogLevels = 1,          // offsets 0x1098-0x109A, gains 0x109E-0x10A0
        kAlternateOffsets = 2,      // the offsets answered on 0x109B-0x109D only
    };

    const char *name;
    const char *firmware;     // first identity text, at least the model's minimum
    bool older_generation;    // older input and schedule codes, seven-byte programs,
                              // auto set-up, no MAC address read (C220)
    int levels;               // level_family
    int level_max;            // the patch generator's top level: 255 (8 bits) or 1023
    bool short_table;         // 768-entry table (control 0x2F9)
    int table_max;            // value of control 0x2CA; 0: control unsupported
    bool minute_counters;     // 0x11FA-0x11FF besides the half-hour counters
    bool engine;              // internal calibration engine and its controls
    bool corner_uniformity;   // 0x11C7-0x11C9 (and 0x11C6 with the engine)
    int tile_matrix_max;      // maximum of 0x2D3 (off is 1 when 2, else 3); 0: no tile matrix
    std::initializer_list<quint16> inputs;   // the display's own input codes (0x60), first the default
    int power_on_delay_max;   // seconds, 0x2D8
    int temperature_sensors;  // 1-3, 0x278
    int fans;                 // 1-3, 0x27A
    int fan_mode_max;         // 1-7, 0x27D
    bool sharpness;           // 0x8C
    int analog;               // analog_form
    quint16 refused_ir_key;   // a remote-control key it refuses; 0: none

    // The profile of |name|, or nullptr.
    static const sim_model_profile *find(const QByteArray &name);
    static QList<QByteArray> names();
};
