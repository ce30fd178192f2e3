#include "probelink/libusb_probe_pipe.h"

#include "probelink/usb_interface_claim.h"

#include <libusb.h>

#include <utility>

CLibUsbProbePipe::CLibUsbProbePipe(std::shared_ptr<CUsbInterfaceClaim> claim, unsigned char endpoint)
    : m_claim(std::move(claim))
    , m_endpoint(endpoint)
{
}

bool CLibUsbProbePipe::Write(const void *data, std::int32_t count, std::int32_t *written)
{
    // libusb only reads the buffer of an OUT transfer.
    return Transfer(false, static_cast<unsigned char *>(const_cast<void *>(data)), count, written);
}

bool CLibUsbProbePipe::Read(void *data, std::int32_t count, std::int32_t *received)
{
    return Transfer(true, static_cast<unsigned char *>(data), count, received);
}

bool CLibUsbProbePipe::Transfer(bool in, unsigned char *data, std::int32_t count,
                                std::int32_t *transferred)
{
    if (((m_endpoint & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) != in)
        return false;
    *transferred = 0;
    // Nothing to move completes at once: an empty IN request would wait for a
    // zero-length packet that the probe may never send.
    if (count == 0)
        return true;
    int done = 0;
    const int result = libusb_bulk_transfer(m_claim->Handle(), m_endpoint, data, count, &done, 0);
    *transferred = done;
    return result == LIBUSB_SUCCESS;
}
