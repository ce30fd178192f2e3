#include "probelink/usb_interface_claim.h"

#include <libusb.h>

std::shared_ptr<CUsbInterfaceClaim> CUsbInterfaceClaim::Claim(libusb_device *device)
{
    // Made before anything is opened, so that running out of memory leaks nothing.
    std::shared_ptr<CUsbInterfaceClaim> claim(new CUsbInterfaceClaim);
    if (libusb_open(device, &claim->m_handle) != LIBUSB_SUCCESS)
        return nullptr;
    claim->m_claimed = libusb_claim_interface(claim->m_handle, 0) == LIBUSB_SUCCESS;
    return claim->m_claimed ? claim : nullptr;
}

CUsbInterfaceClaim::~CUsbInterfaceClaim()
{
    if (m_claimed)
        libusb_release_interface(m_handle, 0);
    if (m_handle)
        libusb_close(m_handle);
}

bool CUsbInterfaceClaim::Holds(libusb_device *device) const
{
    return libusb_get_device(m_handle) == device;
}
