#ifndef TESSALINE_SIM_PL200SRVR_CONTROL_H
#define TESSALINE_SIM_PL200SRVR_CONTROL_H

/* What the simulated PL-series probe server offers tests beside
 * sim_control.h. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Raises the server exception |code| on every advised instrument object
 * from a thread of the server's own, the way the server reports a probe
 * that went away between calls. Returns once every handler has had it: the
 * number of objects reached. */
int32_t plsrvSimRaiseException(uint32_t code);

#ifdef __cplusplus
}
#endif

#endif
