#include "simulator/sim_wall_config.h"

#include <QFile>

#include <cmath>

namespace {

constexpr int kMaxDisplays = 100;
constexpr int kMaxChainLength = 100;
constexpr double kMaxSpread = 5.0;
// A wall file is a few lines; anything larger is not one.
constexpr qint64 kMaxFileSize = 64 * 1024;

bool to_int(const QString &text, int low, int high, int *out)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    *out = value;
    return true;
}

bool to_unit(const QString &text, double *out)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0.0 || value > 1.0)
        return false;
    *out = value;
    return true;
}

// An IPv4 address as dotted text, to a number.
bool to_ipv4(const QString &text, quint32 *out)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QString &part : parts) {
        int octet = 0;
        if (!to_int(part, 0, 255, &octet))
            return false;
        value = value << 8 | static_cast<quint32>(octet);
    }
    *out = value;
    return true;
}

bool set_rows(sim_wall_config &c, const QString &v) { return to_int(v, 1, kMaxDisplays, &c.rows); }
bool set_columns(sim_wall_config &c, const QString &v) { return to_int(v, 1, kMaxDisplays, &c.columns); }
bool set_chain(sim_wall_config &c, const QString &v) { return to_int(v, 1, kMaxChainLength, &c.chain_length); }

bool set_ids(sim_wall_config &c, const QString &v)
{
    if (v == QLatin1String("chain"))
        c.ids = sim_wall_config::id_numbering::chain;
    else if (v == QLatin1String("wall"))
        c.ids = sim_wall_config::id_numbering::wall;
    else
        return false;
    return true;
}

bool set_link(sim_wall_config &c, const QString &v)
{
    if (v == QLatin1String("lan"))
        c.link = sim_wall_config::link_kind::lan;
    else if (v == QLatin1String("serial"))
        c.link = sim_wall_config::link_kind::serial;
    else
        return false;
    return true;
}

bool set_address(sim_wall_config &c, const QString &v)
{
    quint32 unused = 0;
    if (!to_ipv4(v, &unused))
        return false;
    c.first_address = v;
    return true;
}

bool set_models(sim_wall_config &c, const QString &v)
{
    QStringList models;
    for (const QString &model : v.split(QLatin1Char(',')))
        models << model.trimmed();
    if (models.contains(QString()))
        return false;
    c.models = models;
    return true;
}

bool set_seed(sim_wall_config &c, const QString &v)
{
    bool ok = false;
    const quint64 seed = v.toULongLong(&ok);
    if (ok)
        c.seed = seed;
    return ok;
}

bool set_spread(sim_wall_config &c, const QString &v)
{
    bool ok = false;
    const double spread = v.toDouble(&ok);
    if (!ok || !std::isfinite(spread) || spread < 0.0 || spread > kMaxSpread)
        return false;
    c.spread = spread;
    return true;
}

// One level for all channels, or three.
bool set_input(sim_wall_config &c, const QString &v)
{
    const QStringList parts = v.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != 3)
        return false;
    std::array<double, 3> level {};
    for (int i = 0; i < 3; ++i) {
        if (!to_unit(parts.at(parts.size() == 1 ? 0 : i).trimmed(), &level[static_cast<std::size_t>(i)]))
            return false;
    }
    c.input_level = level;
    return true;
}

struct setting
{
    const char *key;
    bool (*apply)(sim_wall_config &, const QString &);
};

const setting kSettings[] = {
    {"rows", set_rows},       {"columns", set_columns}, {"link", set_link},     {"address", set_address},
    {"chain", set_chain},     {"models", set_models},   {"seed", set_seed},     {"spread", set_spread},
    {"input", set_input},     {"ids", set_ids},
};

bool apply_line(sim_wall_config &c, const QString &line, QString *problem)
{
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) {
        *problem = QStringLiteral("expected key = value");
        return false;
    }
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    for (const setting &s : kSettings) {
        if (key == QLatin1String(s.key)) {
            if (!s.apply(c, value))
                *problem = QStringLiteral("bad value for %1: %2").arg(key, value);
            return problem->isEmpty();
        }
    }
    *problem = QStringLiteral("unknown setting %1").arg(key);
    return false;
}

bool parse_lines(sim_wall_config &c, const QStringList &lines, const QString &what, QString *error)
{
    sim_wall_config read = c;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).section(QLatin1Char('#'), 0, 0).trimmed();
        QString problem;
        if (!line.isEmpty() && !apply_line(read, line, &problem)) {
            *error = QStringLiteral("%1 %2: %3").arg(what).arg(i + 1).arg(problem);
            return false;
        }
    }
    if (read.display_count() > kMaxDisplays) {
        *error = QStringLiteral("a wall has at most %1 displays").arg(kMaxDisplays);
        return false;
    }
    if (read.link == sim_wall_config::link_kind::lan && read.chain_address(read.chain_count() - 1).isEmpty()) {
        *error = QStringLiteral("the addresses from %1 do not reach %2 chains").arg(read.first_address).arg(read.chain_count());
        return false;
    }
    c = read;
    return true;
}

} // namespace

QString sim_wall_config::chain_address(int chain) const
{
    quint32 first = 0;
    if (!to_ipv4(first_address, &first) || chain < 0)
        return QString();
    // The last octet counts up; 255 would be a broadcast address.
    const quint32 last_octet = (first & 0xFF) + static_cast<quint32>(chain);
    if (last_octet > 254)
        return QString();
    const quint32 address = (first & 0xFFFFFF00u) | last_octet;
    return QStringLiteral("%1.%2.%3.%4").arg(address >> 24).arg(address >> 16 & 0xFF).arg(address >> 8 & 0xFF).arg(address & 0xFF);
}

bool sim_wall_config::parse(const QString &text, QString *error)
{
    return parse_lines(*this, text.split(QLatin1Char('\n')), QStringLiteral("line"), error);
}

bool sim_wall_config::parse_line(const QString &text, QString *error)
{
    return parse_lines(*this, text.split(QLatin1Char(';')), QStringLiteral("setting"), error);
}

bool sim_wall_config::read_file(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    if (file.size() > kMaxFileSize) {
        *error = QStringLiteral("%1 is too large for a wall file").arg(path);
        return false;
    }
    return parse(QString::fromUtf8(file.readAll()), error);
}
