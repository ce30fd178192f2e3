#pragma once

#include "probelink/probe_backend.h"

#include <array>
#include <cstdint>
#include <memory>

// The probe pipe tables and the rules of the library's seven calls, over a
// backend that reaches the probes. A device is either closed (no pipe open)
// or open (all four pipes open); only IntUsb and EndUsb change that. No
// locking: calls for the same device number must not overlap.
class CProbeLink
{
public:
    static constexpr std::uint32_t kDeviceCount = 127;
    static constexpr int kSettleMs = 100; // lets a probe settle after its pipes open

    enum Pipe { kPipe00, kPipe01, kPipe02, kPipe03, kPipeCount };

    enum Result : std::int32_t {
        kOk = 0,
        kErrDeviceNumber = -1, // device number above 126
        kErrNoDevice = -2,     // no probe with that number
        kErrNotOpen = -2,      // the pipe of a transfer is not open
        kErrAlreadyOpen = -3,
        kErrOpenPipe00 = -3,
        kErrOpenPipe01 = -4,
        kErrOpenPipe02 = -5,
        kErrOpenPipe03 = -6,
        kErrTransfer = -3,     // transfer failed, short read, or unusable count or buffer
    };

    explicit CProbeLink(std::unique_ptr<CProbeBackend> backend);

    // Number of probes that open, counting from 0 up to the first that does not.
    std::int32_t GetNum();
    std::int32_t IntUsb(std::uint32_t device);
    std::int32_t EndUsb(std::uint32_t device);

    // Write: bytes written, also fewer than |count|. Read: |count| when exactly
    // that many bytes arrived.
    std::int32_t Write16(std::uint32_t device, const void *buffer, std::uint32_t count);
    std::int32_t Read16(std::uint32_t device, void *buffer, std::uint32_t count);
    std::int32_t Write64(std::uint32_t device, const void *buffer, std::uint32_t count);
    std::int32_t Read64(std::uint32_t device, void *buffer, std::uint32_t count);

private:
    bool IsOpen(std::uint32_t device) const;
    std::int32_t Write(Pipe pipe, std::uint32_t device, const void *buffer, std::uint32_t count);
    std::int32_t Read(Pipe pipe, std::uint32_t device, void *buffer, std::uint32_t count);
    // kOk and |*target| set when a transfer of |count| bytes may start.
    std::int32_t CheckTransfer(Pipe pipe, std::uint32_t device, const void *buffer,
                               std::uint32_t count, CProbePipe **target) const;

    std::unique_ptr<CProbeBackend> m_backend;
    std::array<std::array<std::unique_ptr<CProbePipe>, kDeviceCount>, kPipeCount> m_pipes;
};
