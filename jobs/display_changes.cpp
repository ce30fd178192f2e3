#include "jobs/display_changes.h"

int display_changes::restore()
{
    int first_error = 0;
    while (!m_undo.empty()) {
        const int status = m_undo.back()();
        m_undo.pop_back();
        if (first_error == 0)
            first_error = status;
    }
    return first_error;
}
