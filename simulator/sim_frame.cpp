#include "simulator/sim_frame.h"

#include "simulator/sim_hex.h"

namespace {

constexpr char kSoh = 0x01;
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kCr = 0x0D;
constexpr int kHeaderSize = 7;      // SOH through the length field
constexpr int kFrameOverhead = 9;   // header and STX ... ETX counted, plus check byte and CR

char xor_of(const QByteArray &bytes, int from, int to)
{
    char x = 0;
    for (int i = from; i < to; ++i)
        x = static_cast<char>(x ^ bytes.at(i));
    return x;
}

sim_frame make_frame(const QByteArray &raw)
{
    sim_frame frame;
    frame.raw = raw;
    const int count = raw.size() - kFrameOverhead;
    const int etx = kHeaderSize + count - 1;
    frame.destination = raw.at(2);
    frame.type = raw.at(4);
    frame.body = raw.mid(kHeaderSize + 1, count - 2);
    frame.valid = raw.at(1) == '0' && raw.at(kHeaderSize) == kStx && raw.at(etx) == kEtx
                  && raw.at(etx + 1) == xor_of(raw, 1, etx + 1) && raw.at(etx + 2) == kCr;
    return frame;
}

} // namespace

bool sim_frame_parser::feed(char byte, sim_frame *frame)
{
    if (m_pending.isEmpty() && byte != kSoh)
        return false;
    m_pending.append(byte);
    if (m_pending.size() == kHeaderSize) {
        quint32 count = 0;
        if (!sim_hex::decode(m_pending.mid(5, 2), &count) || count < 2) {
            m_pending.clear();
            return false;
        }
        m_expected = static_cast<int>(count) + kFrameOverhead;
    }
    if (m_pending.size() < kHeaderSize || m_pending.size() < m_expected)
        return false;
    *frame = make_frame(m_pending);
    m_pending.clear();
    m_expected = 0;
    return true;
}

namespace sim_frame_writer {

QByteArray write(const sim_reply &reply, char display_id, sim_fault_kind fault)
{
    QByteArray body = fault == sim_fault_kind::lower_case_hex ? reply.lower_case_body() : reply.body();
    if (fault == sim_fault_kind::wrong_length)
        body.chop(2);
    if (fault == sim_fault_kind::wrong_reply_code && body.size() >= 4)
        body[3] = body.at(3) == '0' ? '1' : '0';
    char type = reply.type();
    if (fault == sim_fault_kind::wrong_reply_type)
        type = type == 'B' ? 'D' : 'B';
    QByteArray length = sim_hex::encode(static_cast<quint32>(body.size() + 2), 2);
    if (fault == sim_fault_kind::lower_case_hex)
        length = length.toLower();

    QByteArray frame;
    frame.append(fault == sim_fault_kind::corrupt_soh ? 'X' : kSoh);
    frame.append(fault == sim_fault_kind::corrupt_reserved ? '1' : '0');
    frame.append(fault == sim_fault_kind::corrupt_destination ? display_id : '0');
    frame.append(display_id);
    frame.append(type);
    frame.append(length);
    frame.append(fault == sim_fault_kind::corrupt_stx ? 'X' : kStx);
    frame.append(body);
    frame.append(fault == sim_fault_kind::corrupt_etx ? 'X' : kEtx);
    const char check = xor_of(frame, 1, frame.size());
    frame.append(fault == sim_fault_kind::corrupt_check ? static_cast<char>(check ^ 0x5A) : check);
    frame.append(fault == sim_fault_kind::corrupt_cr ? '\n' : kCr);
    return frame;
}

} // namespace sim_frame_writer
