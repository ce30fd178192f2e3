#pragma once

#include "probelink/probe_backend.h"
#include "probelink/usb_device_id.h"

#include <memory>
#include <mutex>
#include <vector>

struct libusb_context;
struct libusb_device;
class CUsbInterfaceClaim;

// Probes on USB through libusb-1.0: every attached device whose vendor and
// product id is listed, numbered by bus and then port path. Pipe nn is the
// nn-th endpoint of interface 0. Without USB access (libusb cannot start)
// there are no probes.
class CLibUsbProbeBackend : public CProbeBackend
{
public:
    explicit CLibUsbProbeBackend(std::vector<usb_device_id> ids);
    ~CLibUsbProbeBackend() override;
    CLibUsbProbeBackend(const CLibUsbProbeBackend &) = delete;
    CLibUsbProbeBackend &operator=(const CLibUsbProbeBackend &) = delete;

    bool HasDevice(std::uint32_t device) override;
    bool CanOpenDevice(std::uint32_t device) override;
    std::unique_ptr<CProbePipe> OpenPipe(std::uint32_t device, int pipe) override;
    void Wait(int milliseconds) override;

private:
    struct DeviceUnref { void operator()(libusb_device *device) const; };
    using DeviceRef = std::unique_ptr<libusb_device, DeviceUnref>;

    // The probe with this number, or null.
    DeviceRef FindProbe(std::uint32_t device);
    // The claim that the probe's open pipes share, made when none is alive.
    std::shared_ptr<CUsbInterfaceClaim> SharedClaim(libusb_device *device);

    libusb_context *m_context = nullptr;
    std::vector<usb_device_id> m_ids;
    std::mutex m_claimsMutex; // pipes of different probes may open on different threads
    std::vector<std::weak_ptr<CUsbInterfaceClaim>> m_claims;
};
