#pragma once

#include <QList>

// The docks with "Apply to: Selected display / All displays" enable each
// button from two facts about the wall: whether any counted display has a
// property, and whether the selected one has it.
struct scope_flags
{
    bool any = false;
    bool current = false;

    void note(bool is_current)
    {
        any = true;
        current = current || is_current;
    }
    bool holds(bool apply_to_all) const { return apply_to_all ? any : current; }
};

// Of |all| (the wall's displays that an action may reach), the ones in scope:
// all of them, or the selected display when it is among them. The dock's own
// selection decides, whatever order the selection reaches the layout in.
inline QList<int> in_scope(const QList<int> &all, int current, bool apply_to_all)
{
    if (apply_to_all)
        return all;
    return all.contains(current) ? QList<int>{current} : QList<int>();
}
