#pragma once

#include "sensors/i1pro_api.h"
#include "sensors/instrument_library.h"

// The i1Pro library's entry points, all null until bound.
struct i1pro_entry_points
{
    i1pro_get_devices_fn *GetDevices = nullptr;
    i1pro_open_device_fn *OpenDevice = nullptr;
    i1pro_close_device_fn *CloseDevice = nullptr;
    i1pro_get_option_fn *GetOption = nullptr;
    i1pro_set_option_fn *SetOption = nullptr;
    i1pro_get_global_option_fn *GetGlobalOption = nullptr;
    i1pro_set_global_option_fn *SetGlobalOption = nullptr;
    i1pro_calibrate_fn *Calibrate = nullptr;
    i1pro_trigger_measurement_fn *TriggerMeasurement = nullptr;
    i1pro_get_tristimulus_fn *GetTriStimulus = nullptr;
};

// i1Pro.dll, bound by name. Either every entry point is bound or none.
class i1pro_library : public i1pro_entry_points
{
public:
    bool load();
    bool isLoaded() const { return m_library.isLoaded(); }

private:
    instrument_library m_library;
};
