#include "fake_probe_backend.h"

#include <algorithm>

namespace {

class CFakeProbePipe : public CProbePipe
{
public:
    CFakeProbePipe(std::shared_ptr<fake_probe> probe, int pipe)
        : m_probe(std::move(probe)), m_pipe(pipe)
    {
        ++m_probe->openPipes[m_pipe];
        m_probe->openOrder.push_back(m_pipe);
    }
    ~CFakeProbePipe() override { --m_probe->openPipes[m_pipe]; }

    bool Write(const void *data, std::int32_t count, std::int32_t *written) override
    {
        if (!Transfer(count, written))
            return false;
        const auto *bytes = static_cast<const std::uint8_t *>(data);
        auto &record = m_probe->written[m_pipe];
        record.insert(record.end(), bytes, bytes + std::min(*written, count));
        return true;
    }

    bool Read(void *data, std::int32_t count, std::int32_t *received) override
    {
        if (!Transfer(count, received))
            return false;
        auto *bytes = static_cast<std::uint8_t *>(data);
        const auto &source = m_probe->readData;
        for (std::int32_t i = 0; i < std::min(*received, count) && !source.empty(); ++i)
            bytes[i] = source[static_cast<std::size_t>(i) % source.size()];
        return true;
    }

private:
    bool Transfer(std::int32_t count, std::int32_t *transferred)
    {
        ++m_probe->transfers[m_pipe];
        if (m_probe->transferFails[m_pipe])
            return false;
        // A negative shortfall reports more than was asked, as a faulty transport might.
        *transferred = std::max(0, count - m_probe->shortBy[m_pipe]);
        return true;
    }

    std::shared_ptr<fake_probe> m_probe;
    int m_pipe;
};

} // namespace

std::shared_ptr<fake_probe> CFakeProbeBackend::AddProbes(int count)
{
    const auto first = m_probes.size();
    for (int i = 0; i < count; ++i)
        m_probes.push_back(std::make_shared<fake_probe>());
    return m_probes.at(first);
}

void CFakeProbeBackend::RemoveLastProbe()
{
    m_probes.pop_back();
}

bool CFakeProbeBackend::HasDevice(std::uint32_t device)
{
    ++m_calls;
    return device < m_probes.size();
}

bool CFakeProbeBackend::CanOpenDevice(std::uint32_t device)
{
    ++m_calls;
    return device < m_probes.size() && m_probes[device]->opens;
}

std::unique_ptr<CProbePipe> CFakeProbeBackend::OpenPipe(std::uint32_t device, int pipe)
{
    ++m_calls;
    if (device >= m_probes.size() || m_probes[device]->failingPipe == pipe)
        return nullptr;
    return std::make_unique<CFakeProbePipe>(m_probes[device], pipe);
}

void CFakeProbeBackend::Wait(int milliseconds)
{
    ++m_calls;
    m_waits.push_back(milliseconds);
}
