#pragma once

#include "sensors/instrument_library.h"
#include "sensors/spotmeter_api.h"

// The spot meter library's entry points, all null until bound.
struct spotmeter_entry_points
{
    decltype(&::gmbSpotInitialize) Initialize = nullptr;
    decltype(&::gmbSpotGetNumberOfDevices) GetNumberOfDevices = nullptr;
    decltype(&::gmbSpotGetDeviceHandle) GetDeviceHandle = nullptr;
    decltype(&::gmbSpotDeviceOpen) DeviceOpen = nullptr;
    decltype(&::gmbSpotGetSerialNumber) GetSerialNumber = nullptr;
    decltype(&::gmbSpotSetLuminanceUnits) SetLuminanceUnits = nullptr;
    decltype(&::gmbSpotGetNumberOfCalibrations) GetNumberOfCalibrations = nullptr;
    decltype(&::gmbSpotGetCalibrationName) GetCalibrationName = nullptr;
    decltype(&::gmbSpotSetIntegrationTime) SetIntegrationTime = nullptr;
    decltype(&::gmbSpotSetLowLightAveraging) SetLowLightAveraging = nullptr;
    decltype(&::gmbSpotMeasureYxy) MeasureYxy = nullptr;
    decltype(&::gmbSpotMeasureDarkCurrent) MeasureDarkCurrent = nullptr;
};

// SpotMeterSDK.dll, bound by name. Either every entry point is bound or none.
class spotmeter_library : public spotmeter_entry_points
{
public:
    bool load();
    bool isLoaded() const { return m_library.isLoaded(); }

private:
    instrument_library m_library;
};
