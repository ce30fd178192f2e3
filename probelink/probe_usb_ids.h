#pragma once

#include "probelink/usb_device_id.h"

#include <vector>

// Which USB devices are probes: the family's own id, extended by the
// environment variable PROBELINK_USB_IDS ("vvvv:pppp[,vvvv:pppp...]", hex).
namespace probe_usb_ids {

constexpr const char *kEnvironmentVariable = "PROBELINK_USB_IDS";
constexpr usb_device_id kDefaultId = {0x0686, 0x1002};

// The default id followed by every well-formed entry of |extension| (may be
// null) that is not listed yet. Malformed entries are skipped.
std::vector<usb_device_id> with_extension(const char *extension);

// The list for this process, from its environment.
std::vector<usb_device_id> from_environment();

bool contains(const std::vector<usb_device_id> &ids, usb_device_id id);

} // namespace probe_usb_ids
