#include "display_protocol/PJSearchUdp.h"

#include "display_protocol/wait_service.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QTextCodec>
#include <QtEndian>

#include <algorithm>
#include <atomic>

namespace {

const char kMagic[] = "KWTD";
constexpr int kMagicSize = 4;

// Request layout.
constexpr int kRequestMarkOffset = 4;
constexpr char kRequestMark = 0x14;
constexpr int kRequestSequenceOffset = 8;
constexpr int kRequestWordOffset = 10;
constexpr quint16 kRequestWord = 0x0070;
constexpr int kRequestTimeOffset = 12;
constexpr int kRequestKindOffset = 16;
constexpr int kRequestWordAOffset = 24;
constexpr int kRequestWordBOffset = 28;

// Answer layout.
constexpr int kAnswerSequenceOffset = 8;
constexpr int kAnswerKindOffset = 16;
constexpr int kAnswerValueOffset = 20;
constexpr int kAnswerAddressOffset = 32;
constexpr int kAnswerAddressSize = 24;
constexpr int kAnswerMacOffset = 56;
constexpr int kMacSize = 6;
constexpr int kAnswerNameOffset = 96;
constexpr int kAnswerNameSize = 48;
constexpr int kAnswerWordCOffset = 144;
constexpr int kAnswerWordDOffset = 148;

// Answer kinds handled apart.
constexpr quint32 kKindResend = 2;
constexpr quint32 kKindUnchecked = 8;

// Nominal times (the wait service scales them).
constexpr int kWriteWaitMs = 3000;
constexpr int kAnswerWaitMs = 500;
constexpr int kRepeatIntervalMs = 500;
constexpr int kLastRepeat = 3;
// However the network behaves, collecting the answers to one request ends
// after this long: a sender that never stops must not hang the search.
constexpr int kCollectLimitMs = 10000;

std::atomic<quint16> process_search_port {PJSearchUdp::kPort};

struct request_words
{
    int device_class;
    qint32 word_a;
    qint32 word_b;
};

const request_words kRequestWords[] = {
    {PJSearchUdp::kProjectors, 49, 0},
    {PJSearchUdp::kLargeScreenDisplays, 0, 256},
};

template <typename T>
T read_le(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

template <typename T>
void write_le(QByteArray &bytes, int offset, T value)
{
    qToLittleEndian<T>(value, bytes.data() + offset);
}

// The bytes of a text field up to its first NUL, never past the field.
QByteArray field_text(const QByteArray &answer, int offset, int size)
{
    const QByteArray field = answer.mid(offset, size);
    const int end = field.indexOf('\0');
    return end < 0 ? field : field.left(end);
}

QString decode_name(const QByteArray &bytes)
{
    QTextCodec *codec = QTextCodec::codecForName("Shift-JIS");
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
}

QString mac_text(const QByteArray &answer)
{
    QStringList parts;
    for (int i = 0; i < kMacSize; ++i)
        parts << QStringLiteral("%1").arg(static_cast<quint8>(answer.at(kAnswerMacOffset + i)), 2, 16, QLatin1Char('0'));
    return parts.join(QLatin1Char('-')).toUpper();
}

bool same_address(const QHostAddress &a, const QHostAddress &b)
{
    return a.isEqual(b, QHostAddress::TolerantConversion);
}

bool has_ipv4(const QHostAddress &address)
{
    bool ok = false;
    address.toIPv4Address(&ok);
    return ok;
}

} // namespace

PJSearchUdp::PJSearchUdp(QObject *parent, int device_class, const QList<QHostAddress> &targets)
    : QObject(parent), m_device_class(device_class), m_targets(targets), m_request(kRequestSize, '\0'),
      m_port(search_port())
{
    std::copy(kMagic, kMagic + kMagicSize, m_request.begin());
    m_request[kRequestMarkOffset] = kRequestMark;
    write_le<quint16>(m_request, kRequestWordOffset, kRequestWord);
    m_repeat_timer.setInterval(wait_service::timer_interval_ms(kRepeatIntervalMs));
    connect(&m_socket, &QAbstractSocket::errorOccurred, this, &PJSearchUdp::UdpSocketError);
    connect(&m_socket, &QAbstractSocket::disconnected, this, &PJSearchUdp::UdpSocketDisconnect);
    connect(&m_repeat_timer, &QTimer::timeout, this, &PJSearchUdp::UdpSendTimeout);
}

PJSearchUdp::~PJSearchUdp()
{
    m_repeat_timer.stop();
    m_socket.close();
}

void PJSearchUdp::set_search_port(quint16 port)
{
    process_search_port.store(port);
}

quint16 PJSearchUdp::search_port()
{
    return process_search_port.load();
}

void PJSearchUdp::set_addresses(const QList<QHostAddress> &targets)
{
    m_targets = targets;
}

int PJSearchUdp::search(int kind)
{
    if (kind == kNewSearch)
        m_results.clear();
    if (m_targets.isEmpty() || !has_ipv4(m_targets.first()))
        return 0;
    ++m_sequence;
    m_search_kind = kind;
    m_time_stamp = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
    m_searching = true;
    m_resent_to.clear();
    // Shared, as is the platform default elsewhere: a display or another
    // program may already listen on the port.
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        m_socket.bind(QHostAddress::AnyIPv4, m_port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
    fill_request();
    for (int i = 1; i < m_targets.size(); ++i) {
        send_request(m_targets.at(i));
        collect_answers();
    }
    m_repeat_count = 1;
    m_repeat_timer.start();
    return 1;
}

int PJSearchUdp::stop()
{
    m_repeat_timer.stop();
    m_searching = false;
    m_socket.close();
    return 1;
}

bool PJSearchUdp::is_searching() const
{
    return m_searching;
}

int PJSearchUdp::result_count() const
{
    return m_results.size();
}

bool PJSearchUdp::result_at(int i, PJSearchResult &result) const
{
    if (i < 0 || i >= m_results.size())
        return false;
    result = m_results.at(i);
    return true;
}

void PJSearchUdp::UdpSocketError(QAbstractSocket::SocketError) {}

void PJSearchUdp::UdpSocketDisconnect() {}

void PJSearchUdp::UdpSendTimeout()
{
    // Without a target after the PC's own address there is nobody to repeat to.
    if (m_targets.size() < 2 || m_search_kind != kNewSearch || m_repeat_count > kLastRepeat) {
        stop();
        return;
    }
    send_request(m_targets.at(1));
    ++m_repeat_count;
}

void PJSearchUdp::fill_request()
{
    qint32 word_a = m_default_word_a;
    qint32 word_b = m_default_word_b;
    for (const request_words &row : kRequestWords) {
        if (row.device_class == m_device_class) {
            word_a = row.word_a;
            word_b = row.word_b;
        }
    }
    write_le<quint16>(m_request, kRequestSequenceOffset, m_sequence);
    write_le<quint32>(m_request, kRequestTimeOffset, m_time_stamp);
    write_le<qint32>(m_request, kRequestKindOffset, m_search_kind);
    write_le<qint32>(m_request, kRequestWordAOffset, word_a);
    write_le<qint32>(m_request, kRequestWordBOffset, word_b);
}

void PJSearchUdp::send_request(const QHostAddress &to)
{
    m_socket.writeDatagram(m_request, to, m_port);
    m_socket.waitForBytesWritten(wait_service::io_timeout_ms(kWriteWaitMs));
}

void PJSearchUdp::collect_answers()
{
    const QDeadlineTimer limit(wait_service::scaled_ms(kCollectLimitMs));
    // One byte more than an answer, so that longer datagrams show as such.
    QByteArray datagram(kAnswerSize + 1, '\0');
    while (!limit.hasExpired() && m_socket.waitForReadyRead(wait_service::io_timeout_ms(kAnswerWaitMs))) {
        while (m_socket.hasPendingDatagrams() && !limit.hasExpired()) {
            QHostAddress sender;
            const qint64 size = m_socket.readDatagram(datagram.data(), datagram.size(), &sender);
            if (size == kAnswerSize)
                take_answer(datagram.left(kAnswerSize), sender);
        }
    }
}

void PJSearchUdp::take_answer(const QByteArray &answer, const QHostAddress &sender)
{
    if (same_address(sender, m_targets.first()) || !accepts(answer, sender))
        return;
    if (read_le<quint32>(answer, kAnswerKindOffset) == kKindResend)
        resend_once(sender);
    PJSearchResult result;
    result.name = decode_name(field_text(answer, kAnswerNameOffset, kAnswerNameSize));
    result.mac = mac_text(answer);
    result.value = read_le<quint32>(answer, kAnswerValueOffset);
    const QHostAddress named(QString::fromLatin1(field_text(answer, kAnswerAddressOffset, kAnswerAddressSize)));
    if (named.protocol() == QAbstractSocket::IPv4Protocol && !same_address(named, sender)) {
        result.address = named;
        add_result(result);
    }
    result.address = sender;
    add_result(result);
}

bool PJSearchUdp::accepts(const QByteArray &answer, const QHostAddress &sender) const
{
    const quint32 kind = read_le<quint32>(answer, kAnswerKindOffset);
    if (kind == kKindUnchecked)
        return true;
    if (!answer.startsWith(kMagic) || read_le<quint16>(answer, kAnswerSequenceOffset) != m_sequence)
        return false;
    const quint32 word_c = read_le<quint32>(answer, kAnswerWordCOffset);
    const quint32 word_d = read_le<quint32>(answer, kAnswerWordDOffset);
    if (m_device_class == kProjectors && (word_c & 0x31u) == 0)
        return false;
    if (m_device_class == kLargeScreenDisplays && ((word_d & 0x100u) == 0 || word_c != 0))
        return false;
    return kind == kKindResend || is_target(sender);
}

void PJSearchUdp::resend_once(const QHostAddress &sender)
{
    const bool resent = std::any_of(m_resent_to.cbegin(), m_resent_to.cend(),
                                    [&](const QHostAddress &a) { return same_address(a, sender); });
    if (resent)
        return;
    m_resent_to.append(sender);
    send_request(sender);
}

bool PJSearchUdp::is_target(const QHostAddress &address) const
{
    return std::any_of(m_targets.cbegin(), m_targets.cend(),
                       [&](const QHostAddress &t) { return same_address(t, address); });
}

void PJSearchUdp::add_result(const PJSearchResult &result)
{
    const bool known = std::any_of(m_results.cbegin(), m_results.cend(),
                                   [&](const PJSearchResult &r) { return same_address(r.address, result.address); });
    if (!known)
        m_results.append(result);
}
