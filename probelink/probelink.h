#pragma once

/* Probelink: finds the probes of the PL series on USB and writes and reads
   their four data pipes. Probes are numbered 0 to 126. Results are 0 or the
   byte count for success and small negative numbers for failures:
   -1 device number above 126, -2 no such probe or pipe not open,
   -3 to -6 open or transfer failures. No call throws, shows or logs. */

#include <stdint.h>

#define PROBELINK_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Number of probes that open, 0 to 127: counting ends at the first that does not. */
PROBELINK_EXPORT int32_t get_num(void);

/* Opens the four pipes of a probe: 0; -1; -2 no such probe; -3 already open or
   pipe 00 fails; -4, -5, -6 pipe 01, 02, 03 fails (nothing stays open). */
PROBELINK_EXPORT int32_t int_usb(uint32_t device);

/* Closes the pipes of a probe: 0; -1. */
PROBELINK_EXPORT int32_t end_usb(uint32_t device);

/* Writes on pipe 00 (16) or 02 (64): the bytes written, also when fewer than
   |count|; -1; -2 not open; -3 failed, |count| above INT32_MAX, or no buffer.
   |reserved| is ignored. */
PROBELINK_EXPORT int32_t write16_usb(uint32_t device, const uint8_t *buffer, uint32_t reserved,
                                     uint32_t count);
PROBELINK_EXPORT int32_t write64_usb(uint32_t device, const uint8_t *buffer, uint32_t reserved,
                                     uint32_t count);

/* Reads on pipe 01 (16) or 03 (64): |count| when exactly that many bytes
   arrived; -1; -2 not open; -3 failed, fewer bytes, |count| above INT32_MAX,
   or no buffer. |reserved| is ignored. */
PROBELINK_EXPORT int32_t read16_usb(uint32_t device, uint8_t *buffer, uint32_t reserved,
                                    uint32_t count);
PROBELINK_EXPORT int32_t read64_usb(uint32_t device, uint8_t *buffer, uint32_t reserved,
                                    uint32_t count);

#ifdef __cplusplus
}
#endif
