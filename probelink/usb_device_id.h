#pragma once

#include <cstdint>

// A USB vendor and product id pair.
struct usb_device_id
{
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;

    friend bool operator==(const usb_device_id &a, const usb_device_id &b)
    {
        return a.vendor == b.vendor && a.product == b.product;
    }
};
