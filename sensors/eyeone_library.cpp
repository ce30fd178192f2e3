#include "sensors/eyeone_library.h"

#include "sensors/instrument_library.h"
#include "sensors/sensor_kinds.h"

#include <QMutex>
#include <QMutexLocker>

namespace eyeone_library {
namespace {

// Drivers are made on the detection thread and on the user-interface thread.
QMutex g_mutex;
instrument_library g_library;
eyeone_entry_points g_entryPoints;
int g_users = 0;

bool bind()
{
    eyeone_entry_points bound;
    const bool loaded = g_library.load(QLatin1String(sensor_kind_library(kSensorI1Display)), {
        library_symbol(bound.GetOption, "I1_GetOption"),
        library_symbol(bound.SetOption, "I1_SetOption"),
        library_symbol(bound.IsConnected, "I1_IsConnected"),
        library_symbol(bound.Calibrate, "I1_Calibrate"),
        library_symbol(bound.TriggerMeasurement, "I1_TriggerMeasurement"),
        library_symbol(bound.GetTriStimulus, "I1_GetTriStimulus"),
    });
    g_entryPoints = loaded ? bound : eyeone_entry_points();
    return loaded;
}

} // namespace

const eyeone_entry_points *acquire()
{
    QMutexLocker lock(&g_mutex);
    if (g_users == 0 && !bind())
        return nullptr;
    ++g_users;
    return &g_entryPoints;
}

void release()
{
    QMutexLocker lock(&g_mutex);
    if (g_users == 0 || --g_users > 0)
        return;
    g_library.unload();
    g_entryPoints = eyeone_entry_points();
}

} // namespace eyeone_library
