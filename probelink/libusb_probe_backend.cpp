#include "probelink/libusb_probe_backend.h"

#include "probelink/libusb_probe_pipe.h"
#include "probelink/probe_usb_ids.h"
#include "probelink/usb_device_location.h"
#include "probelink/usb_interface_claim.h"

#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace {

// USB 3 allows hub chains of at most 7 ports.
constexpr int kMaxPortDepth = 7;

struct DeviceListFree
{
    void operator()(libusb_device **list) const { libusb_free_device_list(list, 1); }
};

usb_device_location location_of(libusb_device *device)
{
    usb_device_location location;
    location.bus = libusb_get_bus_number(device);
    std::uint8_t ports[kMaxPortDepth];
    const int depth = libusb_get_port_numbers(device, ports, kMaxPortDepth);
    if (depth > 0)
        location.ports.assign(ports, ports + depth);
    return location;
}

// Address of the |index|-th endpoint of interface 0 when it is a bulk endpoint.
bool bulk_endpoint(libusb_device *device, int index, unsigned char *address)
{
    libusb_config_descriptor *config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS)
        return false;
    bool found = false;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor &setting = config->interface[0].altsetting[0];
        if (index < setting.bNumEndpoints) {
            const libusb_endpoint_descriptor &endpoint = setting.endpoint[index];
            found = (endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) == LIBUSB_TRANSFER_TYPE_BULK;
            *address = endpoint.bEndpointAddress;
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

} // namespace

void CLibUsbProbeBackend::DeviceUnref::operator()(libusb_device *device) const
{
    libusb_unref_device(device);
}

CLibUsbProbeBackend::CLibUsbProbeBackend(std::vector<usb_device_id> ids)
    : m_ids(std::move(ids))
{
    if (libusb_init(&m_context) != LIBUSB_SUCCESS)
        m_context = nullptr;
}

CLibUsbProbeBackend::~CLibUsbProbeBackend()
{
    if (m_context)
        libusb_exit(m_context);
}

bool CLibUsbProbeBackend::HasDevice(std::uint32_t device)
{
    return FindProbe(device) != nullptr;
}

bool CLibUsbProbeBackend::CanOpenDevice(std::uint32_t device)
{
    const DeviceRef probe = FindProbe(device);
    libusb_device_handle *handle = nullptr;
    if (!probe || libusb_open(probe.get(), &handle) != LIBUSB_SUCCESS)
        return false;
    libusb_close(handle);
    return true;
}

std::unique_ptr<CProbePipe> CLibUsbProbeBackend::OpenPipe(std::uint32_t device, int pipe)
{
    try {
        const DeviceRef probe = FindProbe(device);
        unsigned char endpoint = 0;
        if (!probe || !bulk_endpoint(probe.get(), pipe, &endpoint))
            return nullptr;
        std::shared_ptr<CUsbInterfaceClaim> claim = SharedClaim(probe.get());
        if (!claim)
            return nullptr;
        return std::make_unique<CLibUsbProbePipe>(std::move(claim), endpoint);
    } catch (...) { // out of memory: the pipe stays closed
        return nullptr;
    }
}

void CLibUsbProbeBackend::Wait(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

CLibUsbProbeBackend::DeviceRef CLibUsbProbeBackend::FindProbe(std::uint32_t device)
{
    if (!m_context)
        return nullptr;
    libusb_device **rawList = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &rawList);
    if (count < 0)
        return nullptr;
    const std::unique_ptr<libusb_device *, DeviceListFree> list(rawList);
    try {
        std::vector<std::pair<usb_device_location, libusb_device *>> probes;
        for (ssize_t i = 0; i < count; ++i) {
            libusb_device_descriptor descriptor;
            if (libusb_get_device_descriptor(list.get()[i], &descriptor) == LIBUSB_SUCCESS
                && probe_usb_ids::contains(m_ids, {descriptor.idVendor, descriptor.idProduct}))
                probes.emplace_back(location_of(list.get()[i]), list.get()[i]);
        }
        if (device >= probes.size())
            return nullptr;
        std::sort(probes.begin(), probes.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        return DeviceRef(libusb_ref_device(probes[device].second));
    } catch (...) { // out of memory: no probe can be told apart
        return nullptr;
    }
}

std::shared_ptr<CUsbInterfaceClaim> CLibUsbProbeBackend::SharedClaim(libusb_device *device)
{
    const std::lock_guard<std::mutex> lock(m_claimsMutex);
    m_claims.erase(std::remove_if(m_claims.begin(), m_claims.end(),
                                  [](const auto &claim) { return claim.expired(); }),
                   m_claims.end());
    for (const auto &weak : m_claims) {
        if (auto claim = weak.lock(); claim && claim->Holds(device))
            return claim;
    }
    std::shared_ptr<CUsbInterfaceClaim> claim = CUsbInterfaceClaim::Claim(device);
    if (claim)
        m_claims.push_back(claim);
    return claim;
}
