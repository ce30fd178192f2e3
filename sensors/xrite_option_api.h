#ifndef TESSALINE_XRITE_OPTION_API_H
#define TESSALINE_XRITE_OPTION_API_H

/* What the X-Rite option-interface libraries (i1Pro, i1Display 2, i1Studio)
 * have in common: an instrument configured by named text options, a
 * measurement that is a trigger followed by a read of X, Y and Z as floats,
 * and one set of result codes. Each library's own entry points are declared
 * in its header (i1pro_api.h, eyeone_api.h, i1studio_api.h). */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t xrite_result;

enum {
    XRITE_SUCCESS = 0,
    XRITE_ERR_FAILED = -1,
    XRITE_ERR_NO_DEVICE = -2,
    XRITE_ERR_UNKNOWN_OPTION = -3,
    XRITE_ERR_BAD_VALUE = -4,
    XRITE_ERR_READ_ONLY = -5,
    XRITE_ERR_BUFFER_TOO_SMALL = -6,
    XRITE_ERR_NOT_CALIBRATED = -7,
    XRITE_ERR_NO_MEASUREMENT = -8
};

/* A tristimulus read answers X, Y, Z in cd/m² (lux for ambient readings)
 * for the measurement |index|; 0 is the last one taken. */
#define XRITE_TRISTIMULUS_COUNT 3

#ifdef __cplusplus
}
#endif

#endif
