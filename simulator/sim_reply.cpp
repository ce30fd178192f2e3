#include "simulator/sim_reply.h"

#include "simulator/sim_hex.h"

sim_reply sim_reply::refusal(char type)
{
    sim_reply reply(type);
    reply.text("BE");
    return reply;
}

sim_reply &sim_reply::hex(quint32 value, int digits)
{
    m_body += sim_hex::encode(value, digits);
    m_hex_mask += QByteArray(digits, 'h');
    return *this;
}

sim_reply &sim_reply::text(const QByteArray &plain)
{
    m_body += plain;
    m_hex_mask += QByteArray(plain.size(), '.');
    return *this;
}

QByteArray sim_reply::lower_case_body() const
{
    QByteArray lowered = m_body;
    for (int i = 0; i < lowered.size(); ++i) {
        if (m_hex_mask.at(i) == 'h' && lowered.at(i) >= 'A' && lowered.at(i) <= 'F')
            lowered[i] = static_cast<char>(lowered.at(i) - 'A' + 'a');
    }
    return lowered;
}
