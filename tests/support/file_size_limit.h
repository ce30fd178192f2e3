#pragma once

#include <csignal>
#include <sys/resource.h>

// Simulates a full disk for the test process: while the object lives, no
// file can grow beyond |bytes| (writes past it fail with EFBIG instead of
// raising SIGXFSZ). Works for every user, root included.
class file_size_limit
{
public:
    explicit file_size_limit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_active = ::getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        if (!m_active)
            return;
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~file_size_limit()
    {
        if (m_active)
            ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    file_size_limit(const file_size_limit &) = delete;
    file_size_limit &operator=(const file_size_limit &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_previous{};
    bool m_active = false;
    void (*m_previousHandler)(int) = nullptr;
};
