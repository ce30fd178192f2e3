#include "simulator/sim_args.h"

#include "simulator/sim_hex.h"

namespace sim_args {

bool take_bytes(const QByteArray &args, int count, QList<quint8> *bytes)
{
    int pos = 0;
    for (int i = 0; i < count; ++i) {
        quint32 value = 0;
        if (!sim_hex::take(args, &pos, 2, &value))
            return false;
        bytes->append(static_cast<quint8>(value));
    }
    return true;
}

bool exact_bytes(const QByteArray &args, int count, QList<quint8> *bytes)
{
    return args.size() == 2 * count && take_bytes(args, count, bytes);
}

QByteArray hex_text(const QByteArray &text)
{
    QByteArray out;
    for (char c : text)
        out += sim_hex::encode(static_cast<quint8>(c), 2);
    return out;
}

} // namespace sim_args
