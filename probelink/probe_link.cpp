#include "probelink/probe_link.h"

#include <limits>

namespace {

// What IntUsb answers when a pipe cannot be opened, by pipe.
constexpr std::array<std::int32_t, CProbeLink::kPipeCount> kOpenFailure = {
    CProbeLink::kErrOpenPipe00,
    CProbeLink::kErrOpenPipe01,
    CProbeLink::kErrOpenPipe02,
    CProbeLink::kErrOpenPipe03,
};

} // namespace

CProbeLink::CProbeLink(std::unique_ptr<CProbeBackend> backend)
    : m_backend(std::move(backend))
{
}

std::int32_t CProbeLink::GetNum()
{
    std::uint32_t count = 0;
    while (count < kDeviceCount && m_backend->HasDevice(count) && m_backend->CanOpenDevice(count))
        ++count;
    return static_cast<std::int32_t>(count);
}

std::int32_t CProbeLink::IntUsb(std::uint32_t device)
{
    if (device >= kDeviceCount)
        return kErrDeviceNumber;
    if (!m_backend->HasDevice(device))
        return kErrNoDevice;
    if (IsOpen(device))
        return kErrAlreadyOpen;
    for (int pipe = kPipe00; pipe < kPipeCount; ++pipe) {
        m_pipes[pipe][device] = m_backend->OpenPipe(device, pipe);
        if (!m_pipes[pipe][device]) {
            EndUsb(device);
            return kOpenFailure[pipe];
        }
    }
    m_backend->Wait(kSettleMs);
    return kOk;
}

std::int32_t CProbeLink::EndUsb(std::uint32_t device)
{
    if (device >= kDeviceCount)
        return kErrDeviceNumber;
    for (auto &table : m_pipes)
        table[device].reset();
    return kOk;
}

std::int32_t CProbeLink::Write16(std::uint32_t device, const void *buffer, std::uint32_t count)
{
    return Write(kPipe00, device, buffer, count);
}

std::int32_t CProbeLink::Read16(std::uint32_t device, void *buffer, std::uint32_t count)
{
    return Read(kPipe01, device, buffer, count);
}

std::int32_t CProbeLink::Write64(std::uint32_t device, const void *buffer, std::uint32_t count)
{
    return Write(kPipe02, device, buffer, count);
}

std::int32_t CProbeLink::Read64(std::uint32_t device, void *buffer, std::uint32_t count)
{
    return Read(kPipe03, device, buffer, count);
}

bool CProbeLink::IsOpen(std::uint32_t device) const
{
    for (const auto &table : m_pipes) {
        if (!table[device])
            return false;
    }
    return true;
}

std::int32_t CProbeLink::Write(Pipe pipe, std::uint32_t device, const void *buffer,
                               std::uint32_t count)
{
    CProbePipe *target = nullptr;
    const std::int32_t checked = CheckTransfer(pipe, device, buffer, count, &target);
    if (checked != kOk)
        return checked;
    const auto wanted = static_cast<std::int32_t>(count);
    std::int32_t written = 0;
    if (!target->Write(buffer, wanted, &written) || written < 0 || written > wanted)
        return kErrTransfer;
    return written;
}

std::int32_t CProbeLink::Read(Pipe pipe, std::uint32_t device, void *buffer, std::uint32_t count)
{
    CProbePipe *target = nullptr;
    const std::int32_t checked = CheckTransfer(pipe, device, buffer, count, &target);
    if (checked != kOk)
        return checked;
    const auto wanted = static_cast<std::int32_t>(count);
    std::int32_t received = 0;
    if (!target->Read(buffer, wanted, &received) || received != wanted)
        return kErrTransfer;
    return received;
}

std::int32_t CProbeLink::CheckTransfer(Pipe pipe, std::uint32_t device, const void *buffer,
                                       std::uint32_t count, CProbePipe **target) const
{
    if (device >= kDeviceCount)
        return kErrDeviceNumber;
    *target = m_pipes[pipe][device].get();
    if (!*target)
        return kErrNotOpen;
    // A result is a signed 32-bit byte count, so larger transfers cannot be
    // reported; and a missing buffer must never be handed to the transport.
    if (count > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
        || (buffer == nullptr && count != 0))
        return kErrTransfer;
    return kOk;
}
