#ifndef TESSALINE_EYEONE_API_H
#define TESSALINE_EYEONE_API_H

/* The i1Display 2 measurement library (EyeOne.dll, loaded at run time) as
 * the i1Display driver uses it: the type of each entry point it looks up.
 * The library serves one instrument and has no handles. The i1Pro library
 * exports entry points of the same names with other types, so neither
 * header declares the functions themselves; the exported name of each is
 * given beside it. */

#include "sensors/xrite_option_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* "I1_GetOption": the option's text, valid until the next call of this
 * entry point on the same thread; null for an unknown option or a failure. */
typedef const char *eyeone_get_option_fn(const char *name);
/* "I1_SetOption". */
typedef xrite_result eyeone_set_option_fn(const char *name, const char *value);
/* "I1_IsConnected": 0 when the instrument is connected. */
typedef xrite_result eyeone_is_connected_fn(void);
/* "I1_Calibrate", "I1_TriggerMeasurement". */
typedef xrite_result eyeone_calibrate_fn(void);
typedef xrite_result eyeone_trigger_measurement_fn(void);
/* "I1_GetTriStimulus": X, Y, Z of measurement |index| (0: the last). */
typedef xrite_result eyeone_get_tristimulus_fn(float xyz[XRITE_TRISTIMULUS_COUNT], int32_t index);

#ifdef __cplusplus
}
#endif

#endif
