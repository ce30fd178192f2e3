#pragma once

#include <QString>

// Loopback addresses for fixtures that listen (simulated displays, raw
// servers, search responders). A display's TCP port is fixed (7142), so two
// test runs on one machine would collide on fixed addresses. Instead each
// process claims a block 127.A.B.0/24 of its own, with a search port of its
// own: the first block whose lock file it can lock (held until the process
// ends, however it ends) and whose first address and search port no one else
// listens on.
// The lock files live in <temp>/tessaline-loopback-blocks/ and are reused.
namespace loopback_block {

// "127.A.B.<host>" in this process's block (|host| 1..254), claiming the
// block on first use; empty when no block could be claimed.
QString address(int host);
// "127.A.B", or empty when no block could be claimed.
QString prefix();
// Why no block could be claimed; empty when one was.
QString claim_error();

// The UDP port of this process's network searches, one per block (the
// search listens on every address, which no block separates); 0 when no
// block could be claimed. Nobody else listened on it when the block was
// claimed.
quint16 search_port();

} // namespace loopback_block
