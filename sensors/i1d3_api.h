#ifndef TESSALINE_I1D3_API_H
#define TESSALINE_I1D3_API_H

/* The i1Display Pro measurement library as the driver uses it: the entry
 * points it calls, with the types it passes. The library itself is loaded at
 * run time (i1d3_library.h); these declarations are only its contract,
 * shared with the simulated instrument that implements it. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Every call answers 0 on success and a negative number on failure. */
typedef int32_t i1d3Status;

enum {
    I1D3_SUCCESS = 0,
    I1D3_ERR_FAILED = -1,
    /* The instrument went away (unplugged, USB reset): the session must be
     * torn down and opened again. */
    I1D3_ERR_DEVICE_NOT_CONNECTED = -101,
    I1D3_ERR_USB_DEVICE_LOST = -523,
    /* i1d3SupportsAIOMode's answer for an instrument that has the
     * all-in-one measurement mode. */
    I1D3_AIO_MODE = 8
};

/* An opened instrument; null when none. */
typedef struct i1d3Device *i1d3Handle;

#define I1D3_TEXT_SIZE 64

/* Texts are NUL-terminated within their arrays. */
typedef struct i1d3DeviceInfo {
    char productName[I1D3_TEXT_SIZE];
    char firmwareVersion[I1D3_TEXT_SIZE]; /* "v2.4.0" */
} i1d3DeviceInfo;

/* One calibration the instrument carries, for one kind of display. */
typedef struct i1d3CalibrationEntry {
    uint16_t key;
    char name[I1D3_TEXT_SIZE];
} i1d3CalibrationEntry;

i1d3Status i1d3Initialize(void);
i1d3Status i1d3Destroy(void);
/* The number of instruments attached; negative on failure. */
int32_t i1d3GetNumberOfDevices(void);
i1d3Status i1d3GetDeviceHandle(int32_t index, i1d3Handle *handle);
/* *makerBranded: non-zero for a unit branded for an instrument maker's
 * customer. */
i1d3Status i1d3DeviceOpen(i1d3Handle handle, int32_t *makerBranded);
i1d3Status i1d3DeviceClose(i1d3Handle handle);
i1d3Status i1d3GetDeviceInfo(i1d3Handle handle, i1d3DeviceInfo *info);
/* The folder of the library's support files, in the file-system encoding. */
i1d3Status i1d3SetSupportFilePath(const char *path);
/* *entries points into the library and stays valid until the next list
 * read or the end of the session. */
i1d3Status i1d3GetCalibrationList(i1d3Handle handle, int32_t *count, const i1d3CalibrationEntry **entries);
i1d3Status i1d3SetCalibration(i1d3Handle handle, const i1d3CalibrationEntry *entry);
i1d3Status i1d3SetMeasurementMode(i1d3Handle handle, int32_t mode);
i1d3Status i1d3SetIntegrationTime(i1d3Handle handle, double seconds);
i1d3Status i1d3SetTargetLCDTime(i1d3Handle handle, double seconds);
/* I1D3_AIO_MODE when the instrument has the all-in-one mode. */
int32_t i1d3SupportsAIOMode(i1d3Handle handle);
i1d3Status i1d3MeasureXYZ(i1d3Handle handle, double *X, double *Y, double *Z);
/* Y in lux, x and y the chromaticity of the light. */
i1d3Status i1d3MeasureAmbient(i1d3Handle handle, double *Y, double *x, double *y);
/* *position: non-zero when the diffuser is over the lens. */
i1d3Status i1d3ReadDiffuserPosition(i1d3Handle handle, uint8_t *position);
i1d3Status i1d3SetLEDControl(i1d3Handle handle, int32_t mode, double offSeconds, double onSeconds, uint8_t count);
i1d3Status i1d3GetSerialNumber(i1d3Handle handle, char *text, int32_t size);

#ifdef __cplusplus
}
#endif

#endif
