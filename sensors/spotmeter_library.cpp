#include "sensors/spotmeter_library.h"

#include "sensors/sensor_kinds.h"

bool spotmeter_library::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorHubble)), {
        library_symbol(Initialize, "gmbSpotInitialize"),
        library_symbol(GetNumberOfDevices, "gmbSpotGetNumberOfDevices"),
        library_symbol(GetDeviceHandle, "gmbSpotGetDeviceHandle"),
        library_symbol(DeviceOpen, "gmbSpotDeviceOpen"),
        library_symbol(GetSerialNumber, "gmbSpotGetSerialNumber"),
        library_symbol(SetLuminanceUnits, "gmbSpotSetLuminanceUnits"),
        library_symbol(GetNumberOfCalibrations, "gmbSpotGetNumberOfCalibrations"),
        library_symbol(GetCalibrationName, "gmbSpotGetCalibrationName"),
        library_symbol(SetIntegrationTime, "gmbSpotSetIntegrationTime"),
        library_symbol(SetLowLightAveraging, "gmbSpotSetLowLightAveraging"),
        library_symbol(MeasureYxy, "gmbSpotMeasureYxy"),
        library_symbol(MeasureDarkCurrent, "gmbSpotMeasureDarkCurrent"),
    });
    if (!loaded)
        static_cast<spotmeter_entry_points &>(*this) = spotmeter_entry_points();
    return loaded;
}
