#pragma once

#include "probelink/probe_pipe.h"

#include <memory>

class CUsbInterfaceClaim;

// A probe pipe as one bulk endpoint of the probe's interface 0. Transfers
// have no time-out. A transfer against the endpoint's direction fails
// without touching the bus.
class CLibUsbProbePipe : public CProbePipe
{
public:
    CLibUsbProbePipe(std::shared_ptr<CUsbInterfaceClaim> claim, unsigned char endpoint);

    bool Write(const void *data, std::int32_t count, std::int32_t *written) override;
    bool Read(void *data, std::int32_t count, std::int32_t *received) override;

private:
    bool Transfer(bool in, unsigned char *data, std::int32_t count, std::int32_t *transferred);

    std::shared_ptr<CUsbInterfaceClaim> m_claim;
    unsigned char m_endpoint;
};
