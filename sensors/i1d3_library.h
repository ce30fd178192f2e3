#pragma once

#include "sensors/i1d3_api.h"
#include "sensors/instrument_library.h"

// The i1Display Pro library's entry points, all null until bound.
struct i1d3_entry_points
{
    decltype(&::i1d3Initialize) Initialize = nullptr;
    decltype(&::i1d3Destroy) Destroy = nullptr;
    decltype(&::i1d3GetNumberOfDevices) GetNumberOfDevices = nullptr;
    decltype(&::i1d3GetDeviceHandle) GetDeviceHandle = nullptr;
    decltype(&::i1d3DeviceOpen) DeviceOpen = nullptr;
    decltype(&::i1d3DeviceClose) DeviceClose = nullptr;
    decltype(&::i1d3GetDeviceInfo) GetDeviceInfo = nullptr;
    decltype(&::i1d3SetSupportFilePath) SetSupportFilePath = nullptr;
    decltype(&::i1d3GetCalibrationList) GetCalibrationList = nullptr;
    decltype(&::i1d3SetCalibration) SetCalibration = nullptr;
    decltype(&::i1d3SetMeasurementMode) SetMeasurementMode = nullptr;
    decltype(&::i1d3SetIntegrationTime) SetIntegrationTime = nullptr;
    decltype(&::i1d3SetTargetLCDTime) SetTargetLCDTime = nullptr;
    decltype(&::i1d3SupportsAIOMode) SupportsAIOMode = nullptr;
    decltype(&::i1d3MeasureXYZ) MeasureXYZ = nullptr;
    decltype(&::i1d3MeasureAmbient) MeasureAmbient = nullptr;
    decltype(&::i1d3ReadDiffuserPosition) ReadDiffuserPosition = nullptr;
    decltype(&::i1d3SetLEDControl) SetLEDControl = nullptr;
    decltype(&::i1d3GetSerialNumber) GetSerialNumber = nullptr;
};

// i1d3SDK.dll, bound by name. Either every entry point is bound or none.
class i1d3_library : public i1d3_entry_points
{
public:
    bool load();
    bool isLoaded() const { return m_library.isLoaded(); }

private:
    instrument_library m_library;
};
