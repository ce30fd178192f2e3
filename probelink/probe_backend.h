#pragma once

#include "probelink/probe_pipe.h"

#include <cstdint>
#include <memory>

// How the library reaches the probes of one machine. Probes are numbered
// 0, 1, 2, ... in an order that stays the same while the attached probes do.
// No method throws: a failure is a false or null result.
class CProbeBackend
{
public:
    virtual ~CProbeBackend() = default;

    // True when a probe with this number is attached.
    virtual bool HasDevice(std::uint32_t device) = 0;

    // Opens the probe itself and closes it again; true when that worked.
    virtual bool CanOpenDevice(std::uint32_t device) = 0;

    // Opens data pipe |pipe| (0 to 3) of the probe; null when it cannot be opened.
    virtual std::unique_ptr<CProbePipe> OpenPipe(std::uint32_t device, int pipe) = 0;

    // Blocks the calling thread for |milliseconds|.
    virtual void Wait(int milliseconds) = 0;
};
