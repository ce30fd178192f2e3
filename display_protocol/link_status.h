#pragma once

// Status codes of the display link: transports (-3001 ... -3011) and the
// protocol on top of them (-5000 ... -5008). 0 is success everywhere.
namespace link_status {

enum : int {
    kOk = 0,
    kBaseOperation = -1,      // operation of the abstract transport
    kFragmentOffset = -1,     // capability fragment answered for another offset

    kNotOpen = -3001,
    kWriteFailed = -3002,
    kNoByte = -3003,
    kSocketAccess = -3004,
    kConnectionRefused = -3005,
    kHostNotFound = -3006,
    kConnectTimeout = -3007,
    kNetworkError = -3008,
    kSocketError = -3009,
    kSerialOpenFailed = -3011,

    kBadFrame = -5000,
    kBadLength = -5002,
    kNoTransport = -5003,
    kBadCheckByte = -5004,
    kTooManyValues = -5005,
    kNoValues = -5006,
    kRefused = -5007,
    kResultNotZero = -5008,

    kStopped = -9000,         // the job was stopped: no further attempt was made
};

} // namespace link_status
