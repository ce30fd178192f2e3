#pragma once

#include <QString>

// Loopback addresses for fixtures that listen (simulated displays, raw
// servers, search responders). Every address and port of a display is fixed
// (TCP 7142, UDP 5320), so two test runs on one machine would collide on
// fixed addresses. Instead each process claims a block 127.A.B.0/24 of its
// own: the first block whose lock file it can lock (held until the process
// ends, however it ends) and whose first address no one else listens on.
// The lock files live in <temp>/tessaline-loopback-blocks/ and are reused.
namespace loopback_block {

// "127.A.B.<host>" in this process's block (|host| 1..254), claiming the
// block on first use; empty when no block could be claimed.
QString address(int host);
// "127.A.B", or empty when no block could be claimed.
QString prefix();
// Why no block could be claimed; empty when one was.
QString claim_error();

// The network search listens for answers on UDP port 5320 of every address,
// which no block can separate: a process that searches holds this
// machine-wide claim for the rest of its life. Waits up to |wait_ms| for
// another process to end its searches; false, with the reason in |error|,
// when it cannot be had.
bool claim_search_port(int wait_ms, QString *error);

} // namespace loopback_block
