#pragma once

#include "sensors/instrument_library.h"
#include "sensors/pl200srvr_api.h"

// The PL-series probe server's entry points, all null until bound.
struct pl_server_entry_points
{
    decltype(&::plsrvCreateObject) CreateObject = nullptr;
    decltype(&::plsrvRelease) Release = nullptr;
    decltype(&::plsrvAdvise) Advise = nullptr;
    decltype(&::plsrvGetProperty) GetProperty = nullptr;
    decltype(&::plsrvPutProperty) PutProperty = nullptr;
    decltype(&::plsrvInvoke) Invoke = nullptr;
};

// The automation server PL200Srvr.dll, loaded and bound by name; either
// every entry point is bound or none. Loading it is what starting COM is on
// Windows: the objects it hands out (pl_automation_object) must be gone
// before it is unloaded.
class pl_automation_server : public pl_server_entry_points
{
public:
    bool load();
    bool isLoaded() const { return m_library.isLoaded(); }
    void unload();

private:
    instrument_library m_library;
};
