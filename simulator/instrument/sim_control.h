#ifndef TESSALINE_SIM_CONTROL_H
#define TESSALINE_SIM_CONTROL_H

/* The control API every simulated instrument library exports beside its
 * family's entry points, for tests and tools in the same process. */

#ifdef __cplusplus
extern "C" {
#endif

/* Merges a JSON object into the instrument's configuration (README.md).
 * 0, or -1 when it is refused; sim_instrument_last_error tells why. */
int sim_instrument_configure(const char *json);
const char *sim_instrument_last_error(void);
/* Family defaults, no session, empty call log. */
void sim_instrument_reset(void);
/* The calls so far as a JSON array; valid until the next call of this
 * function on the same thread. */
const char *sim_instrument_call_log(void);
void sim_instrument_clear_call_log(void);

#ifdef __cplusplus
}
#endif

#endif
