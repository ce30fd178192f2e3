#pragma once

#include "simulator/sim_fault.h"
#include "simulator/sim_reply.h"

#include <QByteArray>

// One request frame as the display side receives it.
struct sim_frame
{
    QByteArray raw;
    bool valid = false;       // SOH, STX, ETX, check byte and CR as they must be
    char destination = 0;
    char type = 0;
    QByteArray body;
};

// Cuts request frames out of the byte stream of one link. Bytes before an
// SOH are dropped; a frame whose length field is not hexadecimal is dropped
// at once.
class sim_frame_parser
{
public:
    // Takes one byte; true when it completed a frame, which is then in |frame|.
    bool feed(char byte, sim_frame *frame);

private:
    QByteArray m_pending;
    int m_expected = 0;   // total frame size once the length is known
};

// Writes reply frames, with the fault of the moment if any.
namespace sim_frame_writer {

QByteArray write(const sim_reply &reply, char display_id, sim_fault_kind fault);

} // namespace sim_frame_writer
