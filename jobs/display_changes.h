#pragma once

#include <functional>
#include <vector>

// What a task changed on a display only for its own time, with how to put
// each change back. The changes are undone in reverse order by restore, or
// at the latest when the object goes, so that no way out of the task (an
// error, a rejected measurement, a stop) leaves them behind.
class display_changes
{
public:
    display_changes() = default;
    ~display_changes() { restore(); }
    display_changes(const display_changes &) = delete;
    display_changes &operator=(const display_changes &) = delete;

    // |undo| puts one change back: 0 or the display's error.
    void remember(std::function<int()> undo) { m_undo.push_back(std::move(undo)); }
    bool any() const { return !m_undo.empty(); }
    // Undoes every change, the last first; the first error met, else 0.
    int restore();

private:
    std::vector<std::function<int()>> m_undo;
};
