#include "display_protocol/PDCommProtocol.h"

#include "display_protocol/TDummyComm.h"
#include "display_protocol/TLANComm.h"
#include "display_protocol/TRS232Comm.h"
#include "display_protocol/hex_digit.h"
#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"

namespace {

constexpr char kSoh = 0x01;
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kCr = 0x0D;
constexpr char kController = '0';
constexpr char kLengthPlaceholder[] = "63";
constexpr int kLengthOffset = 5;
constexpr int kHeaderSize = 7;

constexpr int kSendWaitMs = 1000;
constexpr int kSlowSendWaitMs = 6000;
constexpr int kNextByteWaitMs = 2000;
constexpr int kSlowFirstByteExtraMs = 8000;
constexpr int kReadUntilFirstByteMs = 2000;
constexpr int kSlowReadUntilFirstByteMs = 8000;
// A device that streams bytes without ever sending the terminator must not
// keep read_until going for ever.
constexpr int kReadUntilLimit = 4096;

// A character that is no hexadecimal digit counts as 0 in a reply field.
int hex_value(char c)
{
    return qMax(hex_digit_value(c), 0);
}

QByteArray until_line_end(const QByteArray &text)
{
    int end = text.size();
    for (char stop : {'\n', '\0'}) {
        const int at = text.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return text.left(end);
}

} // namespace

PDCommProtocol::PDCommProtocol(QObject *parent)
    : QObject(parent), m_transport(std::make_unique<TDummyComm>())
{
}

PDCommProtocol::~PDCommProtocol() = default;

int PDCommProtocol::open_link(QString name, int kind)
{
    m_transport.reset();
    switch (kind) {
    case kLinkSerial:
        m_transport = std::make_unique<TRS232Comm>();
        return m_transport->open(name);
    case kLinkLan:
        m_transport = std::make_unique<TLANComm>();
        return m_transport->open(name);
    default:
        m_transport = std::make_unique<TDummyComm>();
        return link_status::kOk;
    }
}

QString PDCommProtocol::port_name() const
{
    return m_transport ? m_transport->port_name() : QStringLiteral("None");
}

void PDCommProtocol::set_slow_link(bool slow)
{
    m_slow_link = slow;
}

void PDCommProtocol::set_destination(int destination)
{
    m_destination = destination;
}

int PDCommProtocol::get_destination() const
{
    return m_destination;
}

QList<char> PDCommProtocol::build_header(char type) const
{
    return {kSoh, '0', static_cast<char>(m_destination & 0xFF), kController, type,
            kLengthPlaceholder[0], kLengthPlaceholder[1], kStx};
}

char PDCommProtocol::hex_digit(int value)
{
    return "0123456789ABCDEF"[value & 0x0F];
}

void PDCommProtocol::begin_request(char type)
{
    m_request = build_header(type);
}

void PDCommProtocol::append_hex_byte(quint8 value)
{
    m_request << hex_digit(value >> 4) << hex_digit(value);
}

void PDCommProtocol::append_hex_word(quint16 value)
{
    append_hex_byte(static_cast<quint8>(value >> 8));
    append_hex_byte(static_cast<quint8>(value));
}

void PDCommProtocol::append_hex_dword(quint32 value)
{
    append_hex_word(static_cast<quint16>(value >> 16));
    append_hex_word(static_cast<quint16>(value));
}

void PDCommProtocol::append_plain(const QByteArray &text)
{
    for (char c : text)
        m_request << c;
}

void PDCommProtocol::append_hex_text(const QByteArray &text, int width)
{
    // From the first zero byte on (or past the text) the field is filled with zeros.
    const QByteArray field = text.left(text.indexOf('\0') >= 0 ? text.indexOf('\0') : text.size());
    for (int i = 0; i < width; ++i)
        append_hex_byte(i < field.size() ? static_cast<quint8>(field.at(i)) : 0);
}

quint8 PDCommProtocol::check_byte() const
{
    quint8 x = 0;
    for (int i = 1; i < m_request.size(); ++i)
        x ^= static_cast<quint8>(m_request.at(i));
    return x;
}

int PDCommProtocol::send_request()
{
    if (!m_transport)
        return link_status::kNoTransport;
    m_request << kEtx;
    if (m_request.size() > kHeaderSize - 1) {
        const int length = m_request.size() - kHeaderSize;
        m_request[kLengthOffset] = hex_digit(length >> 4);
        m_request[kLengthOffset + 1] = hex_digit(length);
    }
    m_request << static_cast<char>(check_byte()) << kCr;
    return m_transport->write(m_request, m_slow_link ? kSlowSendWaitMs : kSendWaitMs);
}

int PDCommProtocol::write_raw(QList<char> bytes)
{
    if (!m_transport)
        return link_status::kNoTransport;
    return m_transport->write(bytes, m_slow_link ? kSlowSendWaitMs : kSendWaitMs);
}

int PDCommProtocol::read_until(QList<char> *bytes, char terminator)
{
    if (!m_transport)
        return link_status::kNoTransport;
    int wait = m_slow_link ? kSlowReadUntilFirstByteMs : kReadUntilFirstByteMs;
    for (int read = 0; read < kReadUntilLimit; ++read) {
        char c = 0;
        if (const int status = m_transport->read_byte(&c, wait))
            return status;
        bytes->append(c);
        if (c == terminator)
            return link_status::kOk;
        wait = kNextByteWaitMs;
    }
    return link_status::kBadLength;
}

int PDCommProtocol::read_checked(char expected, int timeout_ms)
{
    char c = 0;
    if (const int status = m_transport->read_byte(&c, timeout_ms))
        return status;
    return c == expected ? link_status::kOk : link_status::kBadFrame;
}

int PDCommProtocol::receive_reply(int timeout_ms, bool any_destination)
{
    m_reply.clear();
    m_reply_short = false;
    m_reply_type = 0;
    if (!m_transport)
        return link_status::kNoTransport;
    TBasicComm &link = *m_transport;
    const int first_wait = m_slow_link ? timeout_ms + kSlowFirstByteExtraMs : timeout_ms;
    if (const int status = read_checked(kSoh, first_wait))
        return status;
    quint8 check = 0;
    char header[6] = {};
    for (char &c : header) {
        if (const int status = link.read_byte(&c, kNextByteWaitMs))
            return status;
        check ^= static_cast<quint8>(c);
    }
    if (header[0] != '0' || (!any_destination && header[1] != kController))
        return link_status::kBadFrame;
    m_reply_type = header[3];
    const int count = hex_value(header[4]) * 16 + hex_value(header[5]);
    if (const int status = read_checked(kStx, kNextByteWaitMs))
        return status;
    check ^= static_cast<quint8>(kStx);
    for (int i = 0; i < count - 2; ++i) {
        char c = 0;
        if (const int status = link.read_byte(&c, kNextByteWaitMs))
            return status;
        check ^= static_cast<quint8>(c);
        m_reply << c;
    }
    if (const int status = read_checked(kEtx, kNextByteWaitMs))
        return status;
    check ^= static_cast<quint8>(kEtx);
    char received_check = 0;
    if (const int status = link.read_byte(&received_check, kNextByteWaitMs))
        return status;
    if (static_cast<quint8>(received_check) != check)
        return link_status::kBadCheckByte;
    if (const int status = read_checked(kCr, kNextByteWaitMs))
        return status;
    if (m_reply.size() == 2 && m_reply.at(0) == 'B' && m_reply.at(1) == 'E')
        return link_status::kRefused;
    return link_status::kOk;
}

void PDCommProtocol::pause(int ms)
{
    wait_service::sleep_ms(ms);
}

quint8 PDCommProtocol::take_hex_byte()
{
    if (m_reply.size() < 2) {
        m_reply_short = true;
        m_reply.clear();
        return 0;
    }
    const int high = hex_value(m_reply.takeFirst());
    return static_cast<quint8>(high * 16 + hex_value(m_reply.takeFirst()));
}

quint16 PDCommProtocol::take_hex_word()
{
    const quint16 high = take_hex_byte();
    return static_cast<quint16>(high << 8 | take_hex_byte());
}

quint32 PDCommProtocol::take_hex_dword()
{
    const quint32 high = take_hex_word();
    return high << 16 | take_hex_word();
}

char PDCommProtocol::take_byte()
{
    if (m_reply.isEmpty()) {
        m_reply_short = true;
        return 0;
    }
    return m_reply.takeFirst();
}

QByteArray PDCommProtocol::take_plain_rest()
{
    QByteArray text;
    while (!m_reply.isEmpty())
        text.append(m_reply.takeFirst());
    return until_line_end(text);
}

QByteArray PDCommProtocol::take_hex_text_rest()
{
    QByteArray text;
    while (m_reply.size() >= 2)
        text.append(static_cast<char>(take_hex_byte()));
    m_reply.clear();
    return until_line_end(text);
}

int PDCommProtocol::reply_status() const
{
    return m_reply_short ? link_status::kBadLength : link_status::kOk;
}

int PDCommProtocol::exchange(int wait_ms)
{
    if (const int status = send_request())
        return status;
    return receive_reply(wait_ms, false);
}

int PDCommProtocol::expect_length(int length) const
{
    return m_reply.size() == length ? link_status::kOk : link_status::kBadLength;
}

int PDCommProtocol::expect_min_length(int length) const
{
    return m_reply.size() >= length ? link_status::kOk : link_status::kBadLength;
}

int PDCommProtocol::expect_type(char type) const
{
    return m_reply_type == type ? link_status::kOk : link_status::kBadFrame;
}

int PDCommProtocol::expect_word(quint16 word)
{
    const quint16 got = take_hex_word();
    if (m_reply_short)
        return link_status::kBadLength;
    return got == word ? link_status::kOk : link_status::kBadFrame;
}

int PDCommProtocol::expect_byte(quint8 byte)
{
    const quint8 got = take_hex_byte();
    if (m_reply_short)
        return link_status::kBadLength;
    return got == byte ? link_status::kOk : link_status::kBadFrame;
}
