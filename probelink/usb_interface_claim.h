#pragma once

#include <memory>

struct libusb_device;
struct libusb_device_handle;

// An open USB device with its interface 0 claimed: what the pipes of one
// probe share. Destroying it releases the interface and closes the device.
class CUsbInterfaceClaim
{
public:
    // Opens |device| and claims interface 0; null when either fails (for
    // instance when a kernel driver holds the interface: it is never detached).
    static std::shared_ptr<CUsbInterfaceClaim> Claim(libusb_device *device);

    ~CUsbInterfaceClaim();
    CUsbInterfaceClaim(const CUsbInterfaceClaim &) = delete;
    CUsbInterfaceClaim &operator=(const CUsbInterfaceClaim &) = delete;

    libusb_device_handle *Handle() const { return m_handle; }
    bool Holds(libusb_device *device) const;

private:
    CUsbInterfaceClaim() = default;

    libusb_device_handle *m_handle = nullptr;
    bool m_claimed = false;
};
