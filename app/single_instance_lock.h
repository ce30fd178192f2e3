#pragma once

#include <QString>

// One running program per user, in place of a named mutex: an exclusive
// flock on a file in the user's runtime folder. The kernel releases it when
// the process ends, however it ends, so a crash never locks the program out.
class single_instance_lock
{
public:
    enum state {
        held,              // this process holds the lock
        held_elsewhere,    // another process holds it
        unavailable,       // it cannot be taken: see failure()
    };

    // Tries to take the lock.
    single_instance_lock();
    ~single_instance_lock();
    single_instance_lock(const single_instance_lock &) = delete;
    single_instance_lock &operator=(const single_instance_lock &) = delete;

    state lock_state() const { return m_state; }
    // Why an unavailable lock could not be taken: the lock file and the
    // system's reason.
    QString failure() const { return m_failure; }

    // $XDG_RUNTIME_DIR/<name>, else <temporary folder>/tessaline-<uid>/<name>
    // in a folder only the user may enter; empty when neither is usable.
    static QString lock_file_path();

private:
    void fail(const QString &path, int error);

    int m_fd = -1;
    state m_state = unavailable;
    QString m_failure;
};
