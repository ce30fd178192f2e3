#ifndef TESSALINE_I1PRO_API_H
#define TESSALINE_I1PRO_API_H

/* The i1Pro measurement library (i1Pro.dll, bound by name) as the i1Pro
 * driver uses it: the type of each entry point it calls. The i1Display 2
 * library exports entry points of the same names with other types, so
 * neither header declares the functions themselves; the exported name of
 * each is given beside it. Every call answers an xrite_result. */

#include "sensors/xrite_option_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* An attached instrument; null when none. */
typedef struct i1pro_device *i1pro_handle;

/* "I1_GetDevices": *devices points into the library and stays valid until
 * the next call; *count instruments are attached. */
typedef xrite_result i1pro_get_devices_fn(const i1pro_handle **devices, int32_t *count);
/* "I1_OpenDevice", "I1_CloseDevice". */
typedef xrite_result i1pro_open_device_fn(i1pro_handle device);
typedef xrite_result i1pro_close_device_fn(i1pro_handle device);
/* "I1_GetOption": on entry *size is the size of |text|; the text is written
 * NUL-terminated and *size set to its length without the terminator. A
 * buffer too small answers XRITE_ERR_BUFFER_TOO_SMALL with *size the size
 * needed, terminator included. */
typedef xrite_result i1pro_get_option_fn(i1pro_handle device, const char *name, char *text, uint32_t *size);
/* "I1_SetOption". */
typedef xrite_result i1pro_set_option_fn(i1pro_handle device, const char *name, const char *value);
/* "I1_GetGlobalOption", "I1_SetGlobalOption": options of the library rather
 * than of one instrument ("LastErrorText", "Reset" …). */
typedef xrite_result i1pro_get_global_option_fn(const char *name, char *text, uint32_t *size);
typedef xrite_result i1pro_set_global_option_fn(const char *name, const char *value);
/* "I1_Calibrate": calibrates the current measurement mode. */
typedef xrite_result i1pro_calibrate_fn(i1pro_handle device);
/* "I1_TriggerMeasurement": measures in the current measurement mode. */
typedef xrite_result i1pro_trigger_measurement_fn(i1pro_handle device);
/* "I1_GetTriStimulus": X, Y, Z of measurement |index| (0: the last). */
typedef xrite_result i1pro_get_tristimulus_fn(i1pro_handle device, float xyz[XRITE_TRISTIMULUS_COUNT], int32_t index);

#ifdef __cplusplus
}
#endif

#endif
