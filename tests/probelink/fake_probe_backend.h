#pragma once

#include "probelink/probe_backend.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// One scripted probe of the fake backend, and what happened to it.
struct fake_probe
{
    static constexpr int kPipeCount = 4;

    // Script.
    bool opens = true;                              // the probe itself opens
    int failingPipe = -1;                           // this pipe cannot be opened
    std::array<bool, kPipeCount> transferFails = {};
    std::array<std::int32_t, kPipeCount> shortBy = {}; // bytes each transfer falls short
    std::vector<std::uint8_t> readData;             // what reads deliver, repeated

    // Record.
    std::array<int, kPipeCount> openPipes = {};     // pipes currently open
    std::vector<int> openOrder;                     // pipes in the order they were opened
    std::array<std::vector<std::uint8_t>, kPipeCount> written = {};
    std::array<int, kPipeCount> transfers = {};     // transfers that reached the pipe
};

// Scripted probes behind the backend interface: the library's rules run
// against them without USB. Waits are recorded, not slept.
class CFakeProbeBackend : public CProbeBackend
{
public:
    // Adds |count| probes that open and transfer fully; returns the first.
    std::shared_ptr<fake_probe> AddProbes(int count = 1);
    // Unplugs the last probe; its open pipes stay (and fail) until closed.
    void RemoveLastProbe();
    std::shared_ptr<fake_probe> Probe(int index) const { return m_probes.at(index); }

    // Backend calls seen so far (every method counts).
    int Calls() const { return m_calls; }
    const std::vector<int> &Waits() const { return m_waits; }

    bool HasDevice(std::uint32_t device) override;
    bool CanOpenDevice(std::uint32_t device) override;
    std::unique_ptr<CProbePipe> OpenPipe(std::uint32_t device, int pipe) override;
    void Wait(int milliseconds) override;

private:
    std::vector<std::shared_ptr<fake_probe>> m_probes;
    std::vector<int> m_waits;
    int m_calls = 0;
};
