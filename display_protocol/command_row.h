#pragma once

#include <QtGlobal>

// One command of the display command set that needs no logic beyond its
// layout: the request body after the code and the reply fields after the
// length check, each as a string of field letters.
//
// Request letters: 'S' the row's sub-command byte; 'b', 'w', 'd' the next
// argument as 2, 4 or 8 hexadecimal digits.
// Reply letters: 'C' the reply code (else -5000); 'S' the sub-command echo
// (else -5000); 'E' the echo of the next echoed argument, in its request
// width (else -5000); 'b', 'w', 'd' a value of 2, 4 or 8 digits; 's' a
// status byte that gives -5008 when not 0; '*' every remaining byte as a value.
struct command_row
{
    quint16 code;
    int sub;              // -1: none
    const char *request;
    int wait_ms;
    bool sends;           // false: only waits for a report of the display (any destination)
    bool exact_length;    // else: at least |length|
    int length;
    bool type_b;          // the reply must be a command reply ('B')
    quint16 reply_code;
    const char *reply;
};
