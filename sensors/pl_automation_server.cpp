#include "sensors/pl_automation_server.h"

#include "sensors/sensor_kinds.h"

bool pl_automation_server::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorPlSeries)), {
        library_symbol(CreateObject, "plsrvCreateObject"),
        library_symbol(Release, "plsrvRelease"),
        library_symbol(Advise, "plsrvAdvise"),
        library_symbol(GetProperty, "plsrvGetProperty"),
        library_symbol(PutProperty, "plsrvPutProperty"),
        library_symbol(Invoke, "plsrvInvoke"),
    });
    if (!loaded)
        unload();
    return loaded;
}

void pl_automation_server::unload()
{
    m_library.unload();
    static_cast<pl_server_entry_points &>(*this) = pl_server_entry_points();
}
