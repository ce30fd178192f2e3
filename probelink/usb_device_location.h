#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

// Where a USB device sits: its bus and the hub ports from the root hub down.
// Probes are numbered in this order (bus first, then port path), which stays
// the same however the system happens to list the devices.
struct usb_device_location
{
    std::uint8_t bus = 0;
    std::vector<std::uint8_t> ports;

    friend bool operator<(const usb_device_location &a, const usb_device_location &b)
    {
        return std::tie(a.bus, a.ports) < std::tie(b.bus, b.ports);
    }
};
