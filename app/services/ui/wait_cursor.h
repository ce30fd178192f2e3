#pragma once

#include <QApplication>

// The wait cursor for the length of one display operation (a scope).
class wait_cursor
{
public:
    wait_cursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~wait_cursor() { QApplication::restoreOverrideCursor(); }
    wait_cursor(const wait_cursor &) = delete;
    wait_cursor &operator=(const wait_cursor &) = delete;
};
