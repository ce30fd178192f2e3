#ifndef TESSALINE_DCXMTR_API_H
#define TESSALINE_DCXMTR_API_H

/* The SpyderX measurement library as the driver uses it: the entry points
 * it calls, with the types it passes. The library is bound at run time
 * (dcxmtr_library.h); these declarations are only its contract, shared with
 * the simulated instrument that implements it. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    /* The answer of every call that succeeded; anything else failed, and
     * DCX_GetDetailedError tells why. */
    DCX_SUCCESS = 1,
    /* A refused start-up whose instrument is running nonetheless (it was
     * started before): the session is usable. */
    DCX_ERROR_ALREADY_STARTED = 0x20001,
    /* The start-up code of the SpyderX. */
    DCX_MODEL_SPYDERX = 2560
};

/* The start-up information block the library fills, laid out as the
 * Spyder3/4/5 library's: bytes 0..7 the instrument's own data, bytes 8..11
 * its serial number text (NUL-padded when shorter; no terminator when it
 * takes all four bytes). */
#define DCX_INFO_SIZE 12
#define DCX_INFO_SERIAL_OFFSET 8

/* info: DCX_INFO_SIZE bytes. */
int32_t DCX_Startup(uint8_t *info, int32_t modelCode);
/* X, Y and Z in thousandths (of cd/m² for Y). */
int32_t DCX_GetXYZ(int32_t *X, int32_t *Y, int32_t *Z);
void DCX_Shutdown(void);
/* The error number of the last failed call; *lowLevel: the USB link's own
 * code behind it, 0 when there is none. */
int32_t DCX_GetDetailedError(int32_t *lowLevel);
int32_t DCX_ReadAmbientLightLevel(uint16_t *level);
int32_t DCX_UseCalibration(int32_t entry);

#ifdef __cplusplus
}
#endif

#endif
