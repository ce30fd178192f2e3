#pragma once

#include <cstdint>

// One open data pipe of a probe. Destroying it closes the pipe. Transfers
// block until the transport completes them and never throw.
class CProbePipe
{
public:
    virtual ~CProbePipe() = default;

    // Sends up to |count| bytes (|data| may be null only when |count| is 0).
    // False when the transfer failed; otherwise |*written| holds the bytes sent.
    virtual bool Write(const void *data, std::int32_t count, std::int32_t *written) = 0;

    // Receives up to |count| bytes into |data| (null only when |count| is 0).
    // False when the transfer failed; otherwise |*received| holds the bytes read.
    virtual bool Read(void *data, std::int32_t count, std::int32_t *received) = 0;
};
