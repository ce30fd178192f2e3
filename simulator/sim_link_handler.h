#pragma once

#include "simulator/sim_frame.h"
#include "simulator/sim_reply_gate.h"

#include <QByteArray>

#include <memory>

// What an endpoint sends back for one request frame.
struct sim_outgoing
{
    QByteArray bytes;
    int send_count = -1;      // bytes to send before the link is dropped; -1: all, keep the link
    int reply_delay_ms = 0;   // delay before the first byte
    int byte_delay_ms = 0;    // extra delay before each byte
    std::shared_ptr<sim_reply_gate> gate;   // when set, the reply waits until it opens
};

// The side of the wall that the endpoints (sockets, serial lines) talk to.
// Called from the endpoints' own threads.
class sim_link_handler
{
public:
    virtual ~sim_link_handler() = default;
    virtual sim_outgoing on_frame(int endpoint, const sim_frame &frame) = 0;
    virtual bool refusing_connections(int endpoint) = 0;
    virtual void on_connection(int endpoint) = 0;
};
