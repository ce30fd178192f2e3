#include "simulator/sim_search_answer.h"

#include <QtEndian>

#include <algorithm>

namespace {

const char kMagic[] = "KWTD";
constexpr int kRequestSize = 128;
constexpr int kAnswerSize = 256;
constexpr int kSequenceOffset = 8;
constexpr int kKindOffset = 16;
constexpr int kValueOffset = 20;
constexpr int kAddressOffset = 32;
constexpr int kAddressField = 24;
constexpr int kMacOffset = 56;
constexpr int kNameOffset = 96;
constexpr int kNameField = 48;
constexpr int kWordCOffset = 144;
constexpr int kWordDOffset = 148;

// Copies |text| into its field; a text that fills the field gets no NUL.
void put_text(QByteArray &answer, int offset, int field, const QByteArray &text)
{
    std::copy_n(text.constData(), std::min(text.size(), field), answer.data() + offset);
}

template <typename T>
void put(QByteArray &answer, int offset, T value)
{
    qToLittleEndian<T>(value, answer.data() + offset);
}

} // namespace

QByteArray sim_search_answer(const QByteArray &request, const sim_search_identity &identity,
                             const sim_search_behaviour &behaviour)
{
    if (!behaviour.answers || request.size() != kRequestSize || !request.startsWith(kMagic))
        return QByteArray();
    QByteArray answer(kAnswerSize, '\0');
    put_text(answer, 0, 4, kMagic);
    const quint16 sequence = qFromLittleEndian<quint16>(request.constData() + kSequenceOffset);
    put<quint16>(answer, kSequenceOffset, static_cast<quint16>(sequence + behaviour.sequence_shift));
    const quint32 asked = qFromLittleEndian<quint32>(request.constData() + kKindOffset);
    const bool echo = behaviour.answer_kind == sim_search_behaviour::kEchoKind;
    put<quint32>(answer, kKindOffset, echo ? asked : static_cast<quint32>(behaviour.answer_kind));
    put<quint32>(answer, kValueOffset, behaviour.value);
    put_text(answer, kAddressOffset, kAddressField,
             behaviour.address_text.isEmpty() ? identity.address_text : behaviour.address_text);
    std::copy(identity.mac.cbegin(), identity.mac.cend(), answer.begin() + kMacOffset);
    put_text(answer, kNameOffset, kNameField, identity.name);
    put<quint32>(answer, kWordCOffset, behaviour.word_c);
    put<quint32>(answer, kWordDOffset, behaviour.word_d);
    answer.resize(std::max(behaviour.answer_size, 0));
    return answer;
}
