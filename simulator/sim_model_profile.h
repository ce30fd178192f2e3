#pragma once

#include <QByteArray>
#include <QList>

// What sets the simulated display models apart: their patch-level
// registers, lookup-table geometry, counters, internal engine, corner
// uniformity and schedule commands. One row per model name. Their light
// comes from the display's panel (sim_panel), as does the native gamut the
// engine models report.
struct sim_model_profile
{
    enum level_family : int { kPagedLevels = 1, kExpertModeLevels = 2 };

    const char *name;
    bool older_generation;    // older input codes, seven-byte schedule programs only
    int levels;               // level_family
    bool short_table;         // 768-entry table (control 0x2F9)
    int table_max;            // value of control 0x2CA; 0: control unsupported
    bool minute_counters;     // 0x11FA-0x11FF besides the half-hour counters
    bool engine;              // internal calibration engine and its controls
    bool corner_uniformity;   // 0x11C7-0x11C9

    // The profile of |name|, or nullptr.
    static const sim_model_profile *find(const QByteArray &name);
    static QList<QByteArray> names();
};
