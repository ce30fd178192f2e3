#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// What a display tells about itself when it answers a network search.
struct sim_search_identity
{
    QByteArray name;                  // model name, Shift-JIS bytes as sent
    std::array<quint8, 6> mac {};
    QByteArray address_text;          // its IPv4 address as dotted text
};

// How a display answers, for tests of the searching side: by default as a
// sound display does.
struct sim_search_behaviour
{
    static constexpr qint64 kEchoKind = -1;

    bool answers = true;
    qint64 answer_kind = kEchoKind;   // kEchoKind: the kind the request asked for
    int sequence_shift = 0;           // -1: answers as if to the request before
    int answer_size = 256;            // other sizes are cut or padded with zeros
    QByteArray address_text;          // empty: the display's own address
    quint32 value = 0;                // the further word the answer carries
    quint32 word_c = 0;               // device-class words of a large-screen display
    quint32 word_d = 0x100;
};

// The answer to |request|; empty when |request| is not a search request
// (128 bytes starting with the magic) or the display does not answer.
QByteArray sim_search_answer(const QByteArray &request, const sim_search_identity &identity,
                             const sim_search_behaviour &behaviour);
