#include "probelink/probelink.h"

#include "probelink/libusb_probe_backend.h"
#include "probelink/probe_link.h"
#include "probelink/probe_usb_ids.h"

namespace {

// Made on first use and never destroyed: another thread of the host may
// still be inside a transfer when the process ends, and the library is
// linked not to unload, so its pipe tables live as long as the process.
CProbeLink &probe_link()
{
    static CProbeLink *const link =
        new CProbeLink(std::make_unique<CLibUsbProbeBackend>(probe_usb_ids::from_environment()));
    return *link;
}

// Only making the instance can throw (out of memory). An exception must not
// reach the host, and without an instance no probe is known and none is open.
template <typename Call>
int32_t guarded(int32_t withoutInstance, Call call) noexcept
{
    try {
        return call(probe_link());
    } catch (...) {
        return withoutInstance;
    }
}

} // namespace

extern "C" {

int32_t get_num(void)
{
    return guarded(0, [](CProbeLink &link) { return link.GetNum(); });
}

int32_t int_usb(uint32_t device)
{
    return guarded(CProbeLink::kErrNoDevice, [=](CProbeLink &link) { return link.IntUsb(device); });
}

int32_t end_usb(uint32_t device)
{
    return guarded(CProbeLink::kOk, [=](CProbeLink &link) { return link.EndUsb(device); });
}

int32_t write16_usb(uint32_t device, const uint8_t *buffer, uint32_t, uint32_t count)
{
    return guarded(CProbeLink::kErrNotOpen,
                   [=](CProbeLink &link) { return link.Write16(device, buffer, count); });
}

int32_t read16_usb(uint32_t device, uint8_t *buffer, uint32_t, uint32_t count)
{
    return guarded(CProbeLink::kErrNotOpen,
                   [=](CProbeLink &link) { return link.Read16(device, buffer, count); });
}

int32_t write64_usb(uint32_t device, const uint8_t *buffer, uint32_t, uint32_t count)
{
    return guarded(CProbeLink::kErrNotOpen,
                   [=](CProbeLink &link) { return link.Write64(device, buffer, count); });
}

int32_t read64_usb(uint32_t device, uint8_t *buffer, uint32_t, uint32_t count)
{
    return guarded(CProbeLink::kErrNotOpen,
                   [=](CProbeLink &link) { return link.Read64(device, buffer, count); });
}

} // extern "C"
