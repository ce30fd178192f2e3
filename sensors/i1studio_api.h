#ifndef TESSALINE_I1STUDIO_API_H
#define TESSALINE_I1STUDIO_API_H

/* The i1Studio / ColorMunki measurement library (i1Studio.dll) as the
 * i1Studio driver uses it. The maker's library exports these by ordinal
 * only; here they carry names of our own, with the ordinal beside each.
 * The library serves one instrument and has no handles. */

#include "sensors/xrite_option_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Dial positions. */
enum {
    I1STUDIO_DIAL_DISPLAY = 2000,
    I1STUDIO_DIAL_CALIBRATE = 2001,
    I1STUDIO_DIAL_FOURTH = 2002,
    I1STUDIO_DIAL_AMBIENT = 2003
};

/* Device states. */
enum {
    I1STUDIO_STATE_READY = 1000,
    I1STUDIO_STATE_BUSY = 1001
};

/* Events delivered to the registered callback. */
enum {
    I1STUDIO_EVENT_DEVICE = 1, /* attached or detached; |value| 1 or 0 */
    I1STUDIO_EVENT_DIAL = 2    /* the dial turned; |value| the new position */
};

/* Called on a thread of the library's own, never on the caller's. */
typedef void (*i1studio_event_callback)(void *context, int32_t event, int32_t value);

/* Ordinal 1: calibrates the current measurement mode. */
xrite_result i1studio_Calibrate(void);
/* Ordinal 5: the option's text, valid until the next call of this entry
 * point on the same thread; null for an unknown option or a failure. */
const char *i1studio_GetOption(const char *name);
/* Ordinal 6: the dial position (I1STUDIO_DIAL_…); negative on failure. */
int32_t i1studio_GetDialPosition(void);
/* Ordinal 8: X, Y, Z of measurement |index| (0: the last). */
xrite_result i1studio_GetTriStimulus(float xyz[XRITE_TRISTIMULUS_COUNT], int32_t index);
/* Ordinal 9: 0 when the instrument is connected. */
int32_t i1studio_CheckConnection(void);
/* Ordinal 10: the device state (I1STUDIO_STATE_…); negative on failure. */
int32_t i1studio_GetDeviceState(void);
/* Ordinal 11. */
xrite_result i1studio_SetOption(const char *name, const char *value);
/* Ordinal 14: measures in the current measurement mode. */
xrite_result i1studio_TriggerMeasurement(void);
/* Ordinal 17: one callback at a time; a new one replaces the old. */
xrite_result i1studio_RegisterEventCallback(i1studio_event_callback callback, void *context);
/* Ordinal 18: once it returns, the callback is not called any more. */
xrite_result i1studio_UnregisterEventCallback(void);

#ifdef __cplusplus
}
#endif

#endif
