#pragma once

#include "sensors/i1studio_api.h"
#include "sensors/instrument_library.h"

// The i1Studio library's entry points, all null until bound.
struct i1studio_entry_points
{
    decltype(&::i1studio_Calibrate) Calibrate = nullptr;
    decltype(&::i1studio_GetOption) GetOption = nullptr;
    decltype(&::i1studio_GetDialPosition) GetDialPosition = nullptr;
    decltype(&::i1studio_GetTriStimulus) GetTriStimulus = nullptr;
    decltype(&::i1studio_CheckConnection) CheckConnection = nullptr;
    decltype(&::i1studio_GetDeviceState) GetDeviceState = nullptr;
    decltype(&::i1studio_SetOption) SetOption = nullptr;
    decltype(&::i1studio_TriggerMeasurement) TriggerMeasurement = nullptr;
    decltype(&::i1studio_RegisterEventCallback) RegisterEventCallback = nullptr;
    decltype(&::i1studio_UnregisterEventCallback) UnregisterEventCallback = nullptr;
};

// i1Studio.dll, its ordinal imports bound by our names. Either every entry
// point is bound or none.
class i1studio_library : public i1studio_entry_points
{
public:
    bool load();
    bool isLoaded() const { return m_library.isLoaded(); }

private:
    instrument_library m_library;
};
