#pragma once

// Faults a simulated display can show, one at a time, for a number of
// replies (or until cleared).
enum class sim_fault_kind {
    none,
    refuse_connections,   // off the network: its endpoint stops listening, open links stay mute
    silent,               // requests are taken in and never answered
    close_mid_reply,      // half a reply, then the connection is closed
    corrupt_soh,
    corrupt_reserved,
    corrupt_destination,  // the reply is addressed to another than the controller
    corrupt_stx,
    corrupt_etx,
    corrupt_check,
    corrupt_cr,
    wrong_length,         // the body loses its last two characters (the frame stays sound)
    wrong_reply_type,     // a command reply type letter that does not belong to the request
    wrong_reply_code,     // the reply code of a command reply is off by one
    lower_case_hex,
    refuse_be,            // every request is answered "BE"
};

struct sim_fault
{
    static constexpr int kForever = -1;

    sim_fault_kind kind = sim_fault_kind::none;
    int remaining = kForever;   // replies still to be spoilt; kForever: until cleared
    int after = 0;              // sound replies before the fault starts

    bool active() const { return kind != sim_fault_kind::none && remaining != 0 && after == 0; }
    // Called once per reply: whether the fault spoils this one.
    bool consume()
    {
        if (kind == sim_fault_kind::none || remaining == 0)
            return false;
        if (after > 0) {
            --after;
            return false;
        }
        if (remaining > 0)
            --remaining;
        return true;
    }
};

#include <QByteArray>
#include <QList>

// The fault kinds by name ("silent", "corrupt_check" ...), for the command line.
bool sim_fault_kind_from_name(const QByteArray &name, sim_fault_kind *kind);
QList<QByteArray> sim_fault_kind_names();
