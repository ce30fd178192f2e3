#ifndef TESSALINE_SPOTMETER_API_H
#define TESSALINE_SPOTMETER_API_H

/* The spot meter's measurement library as the driver uses it: the entry
 * points it calls, with the types it passes. The library is bound at run
 * time (spotmeter_library.h); these declarations are only its contract,
 * shared with the simulated instrument that implements it. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Every call answers 0 on success and a negative number on failure. */
typedef int32_t gmbSpotStatus;

enum {
    GMB_SPOT_SUCCESS = 0,
    GMB_SPOT_ERR_FAILED = -1,
    /* The measurement has no value: too little light to tell luminance and
     * chromaticity. */
    GMB_SPOT_ERR_NO_VALUE = -90,
    /* A dark-current measurement that saw light: the lens is not capped. */
    GMB_SPOT_ERR_TOO_BRIGHT = -91,
    /* Luminance units: 1 cd/m². */
    GMB_SPOT_UNITS_CANDELA = 1,
    /* The longest calibration name, without its terminator. */
    GMB_SPOT_NAME_SIZE = 255
};

/* An opened instrument; null when none. */
typedef struct gmbSpotDevice *gmbSpotHandle;

gmbSpotStatus gmbSpotInitialize(void);
/* The number of instruments attached; negative on failure. */
int32_t gmbSpotGetNumberOfDevices(void);
gmbSpotStatus gmbSpotGetDeviceHandle(int32_t index, gmbSpotHandle *handle);
gmbSpotStatus gmbSpotDeviceOpen(gmbSpotHandle handle);
gmbSpotStatus gmbSpotGetSerialNumber(gmbSpotHandle handle, uint32_t *serial);
gmbSpotStatus gmbSpotSetLuminanceUnits(gmbSpotHandle handle, int32_t units);
gmbSpotStatus gmbSpotGetNumberOfCalibrations(gmbSpotHandle handle, int32_t *count);
/* Walks the instrument's calibration names: *index -1 asks for the first;
 * the call writes the name (at most size characters, NUL-terminated in a
 * buffer of size + 1) and sets *index to the next one, -1 after the last. */
gmbSpotStatus gmbSpotGetCalibrationName(gmbSpotHandle handle, int32_t *index, char *name, int32_t size);
gmbSpotStatus gmbSpotSetIntegrationTime(gmbSpotHandle handle, double seconds);
/* on: 1 lets the instrument average dim readings, 0 not. */
gmbSpotStatus gmbSpotSetLowLightAveraging(gmbSpotHandle handle, int32_t on);
/* Y in the luminance units set, x and y the chromaticity. */
gmbSpotStatus gmbSpotMeasureYxy(gmbSpotHandle handle, double *Y, double *x, double *y);
/* Zero calibration: the lens must be capped. */
gmbSpotStatus gmbSpotMeasureDarkCurrent(gmbSpotHandle handle);

#ifdef __cplusplus
}
#endif

#endif
