#ifndef TESSALINE_DCCMTR_API_H
#define TESSALINE_DCCMTR_API_H

/* The Spyder3/4/5 measurement library as the driver uses it: the entry
 * points it calls, with the types it passes. The library is loaded at run
 * time (dccmtr_library.h); these declarations are only its contract, shared
 * with the simulated instrument that implements it. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    /* The answer of every call that succeeded; anything else failed, and
     * DC_GetDetailedError tells why. */
    DC_SUCCESS = 1,
    /* A refused start-up whose instrument is running nonetheless (it was
     * started before): the session is usable. */
    DC_ERROR_ALREADY_STARTED = 0x20001,
    /* Start-up codes, one per instrument model. */
    DC_MODEL_SPYDER3 = 768,
    DC_MODEL_SPYDER4 = 1024,
    DC_MODEL_SPYDER5 = 1280,
    /* Ambient control register: 3 switches the ambient sensor on, 0 off. */
    DC_AMBIENT_ON = 3,
    DC_AMBIENT_OFF = 0
};

/* The start-up information block the library fills: bytes 0..7 hold the
 * instrument's own data, bytes 8..11 its serial number text (NUL-padded
 * when shorter; no terminator when it takes all four bytes). */
#define DC_INFO_SIZE 12
#define DC_INFO_SERIAL_OFFSET 8

/* info: DC_INFO_SIZE bytes. */
int32_t DC_Startup(uint8_t *info, int32_t modelCode);
/* The time code sets how long the instrument integrates; X, Y and Z come
 * in thousandths (of cd/m² for Y). */
int32_t DC_GetXYZ(int32_t timeCode, int32_t *X, int32_t *Y, int32_t *Z);
void DC_Shutdown(void);
/* The error number of the last failed call; *lowLevel: the USB link's own
 * code behind it, 0 when there is none. */
int32_t DC_GetDetailedError(int32_t *lowLevel);
int32_t DC_ReadAmbientLightLevel(uint16_t *level);
int32_t DC_UseCalibration(int32_t entry);
int32_t DC_WriteAmbientLightControlRegVal(int32_t value);

#ifdef __cplusplus
}
#endif

#endif
