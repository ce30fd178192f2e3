#include "sensors/i1d3_library.h"

#include "sensors/sensor_kinds.h"

bool i1d3_library::load()
{
    const bool loaded = m_library.load(QLatin1String(sensor_kind_library(kSensorI1DisplayPro)), {
        library_symbol(Initialize, "i1d3Initialize"),
        library_symbol(Destroy, "i1d3Destroy"),
        library_symbol(GetNumberOfDevices, "i1d3GetNumberOfDevices"),
        library_symbol(GetDeviceHandle, "i1d3GetDeviceHandle"),
        library_symbol(DeviceOpen, "i1d3DeviceOpen"),
        library_symbol(DeviceClose, "i1d3DeviceClose"),
        library_symbol(GetDeviceInfo, "i1d3GetDeviceInfo"),
        library_symbol(SetSupportFilePath, "i1d3SetSupportFilePath"),
        library_symbol(GetCalibrationList, "i1d3GetCalibrationList"),
        library_symbol(SetCalibration, "i1d3SetCalibration"),
        library_symbol(SetMeasurementMode, "i1d3SetMeasurementMode"),
        library_symbol(SetIntegrationTime, "i1d3SetIntegrationTime"),
        library_symbol(SetTargetLCDTime, "i1d3SetTargetLCDTime"),
        library_symbol(SupportsAIOMode, "i1d3SupportsAIOMode"),
        library_symbol(MeasureXYZ, "i1d3MeasureXYZ"),
        library_symbol(MeasureAmbient, "i1d3MeasureAmbient"),
        library_symbol(ReadDiffuserPosition, "i1d3ReadDiffuserPosition"),
        library_symbol(SetLEDControl, "i1d3SetLEDControl"),
        library_symbol(GetSerialNumber, "i1d3GetSerialNumber"),
    });
    if (!loaded)
        static_cast<i1d3_entry_points &>(*this) = i1d3_entry_points();
    return loaded;
}
