#pragma once

#include <QString>

// One running program per user, in place of a named mutex: an exclusive
// flock on a file in the user's runtime folder. The kernel releases it when
// the process ends, however it ends, so a crash never locks the program out.
class single_instance_lock
{
public:
    // Tries to take the lock.
    single_instance_lock();
    ~single_instance_lock();
    single_instance_lock(const single_instance_lock &) = delete;
    single_instance_lock &operator=(const single_instance_lock &) = delete;

    // True when another process holds the lock. A lock that cannot be made
    // at all (no usable folder) never stops the program.
    bool another_instance_runs() const { return m_anotherInstance; }

    // $XDG_RUNTIME_DIR/<name>, else <temporary folder>/tessaline-<uid>/<name>
    // in a folder only the user may enter; empty when neither is usable.
    static QString lock_file_path();

private:
    int m_fd = -1;
    bool m_anotherInstance = false;
};
