#include "probelink/usb_interface_claim.h"

#include <libusb.h>

std::shared_ptr<CUsbInterfaceClaim> CUsbInterfaceClaim::Claim(libusb_device *device)
{
    libusb_device_handle *handle = nullptr;
    if (libusb_open(device, &handle) != LIBUSB_SUCCESS)
        return nullptr;
    if (libusb_claim_interface(handle, 0) != LIBUSB_SUCCESS) {
        libusb_close(handle);
        return nullptr;
    }
    return std::make_shared<CUsbInterfaceClaim>(handle);
}

CUsbInterfaceClaim::~CUsbInterfaceClaim()
{
    libusb_release_interface(m_handle, 0);
    libusb_close(m_handle);
}

bool CUsbInterfaceClaim::Holds(libusb_device *device) const
{
    return libusb_get_device(m_handle) == device;
}
