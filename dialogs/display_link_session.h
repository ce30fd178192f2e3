#pragma once

#include "app/services/ui/wait_cursor.h"

#include <QString>

class basic_monitor;
struct display_layout_item;

// The shared display link held for one display: open() switches it to the
// display's port and monitor ID, release() hands it back (the null link),
// and the destructor releases whatever is still held, so that no path out
// of a dialog leaves a serial port or a connection occupied. A link that is
// still held blocks every job on that chain.
class display_link_session
{
public:
    explicit display_link_session(basic_monitor *monitor);
    ~display_link_session();
    display_link_session(const display_link_session &) = delete;
    display_link_session &operator=(const display_link_session &) = delete;

    // 0, or the code of the failed open (nothing is held then).
    int open(const display_layout_item &item);
    void release();
    bool held() const { return m_held; }
    basic_monitor *monitor() const { return m_monitor; }

private:
    basic_monitor *m_monitor;
    bool m_held = false;
};

// One short exchange with a display under the wait cursor: opens the shared
// link, runs |body| (which returns 0 or a code) and releases the link on
// every way out. Returns the open's code when the link does not open (body
// not run), else the body's.
template <typename Body>
int run_display_exchange(basic_monitor *monitor, const display_layout_item &item, Body &&body)
{
    wait_cursor cursor;
    display_link_session link(monitor);
    const int status = link.open(item);
    if (status != 0)
        return status;
    return body(*monitor);
}
