#pragma once

#include <QByteArray>

// A reply as the display model composes it: message type and body, with the
// positions of hexadecimal digits marked so that a fault can turn exactly
// those into lower case.
class sim_reply
{
public:
    static sim_reply none() { return sim_reply(); }
    static sim_reply refusal(char type);
    explicit sim_reply(char type = 0) : m_type(type) {}

    sim_reply &hex(quint32 value, int digits);
    sim_reply &text(const QByteArray &plain);
    // The display takes |ms| (real milliseconds) before it answers.
    sim_reply &delay(int ms)
    {
        m_delay_ms = ms;
        return *this;
    }
    int delay_ms() const { return m_delay_ms; }

    bool silent() const { return m_type == 0; }
    char type() const { return m_type; }
    const QByteArray &body() const { return m_body; }
    // The body with its hexadecimal digits in lower case.
    QByteArray lower_case_body() const;

private:
    char m_type = 0;
    QByteArray m_body;
    QByteArray m_hex_mask;
    int m_delay_ms = 0;
};
