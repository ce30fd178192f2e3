// tessaline-simulated-wall: simulated displays for manual runs of Tessaline.
#include "simulator/light/light_channel.h"
#include "simulator/sim_wall_builder.h"
#include "simulator/simulated_wall.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signal_pipe[2] = {-1, -1};

void on_signal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signal_pipe[1], &c, 1);
}

// "A,B,C" -> the monitor IDs; "" -> just 'A'.
QList<char> monitor_ids(const QString &text)
{
    QList<char> ids;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << part.at(0).toLatin1();
    if (ids.isEmpty())
        ids << 'A';
    return ids;
}

QString mac_text(const simulated_wall::mac_address &mac)
{
    QStringList parts;
    for (quint8 byte : mac)
        parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char('-'));
}

void describe(simulated_wall &wall, int handle, char id, const QString &where, QTextStream &out)
{
    const QByteArray model = wall.with_display(handle, [](sim_display &d) { return d.model_name; });
    out << "display " << handle << ": " << model << ", monitor ID '" << id << "' on " << where << ", MAC "
        << mac_text(wall.mac(handle)) << ", light key " << wall.light_key(handle) << Qt::endl;
}

bool add_chain(simulated_wall &wall, int endpoint, const QString &ids, QTextStream &out, const QString &where)
{
    if (endpoint < 0)
        return false;
    for (char id : monitor_ids(ids))
        describe(wall, wall.add_display(endpoint, id), id, where, out);
    return true;
}

// The wall of --wall-file and --wall (the line's settings over the file's).
bool read_config(const QCommandLineParser &parser, sim_wall_config *config, bool *given, QString *error)
{
    const QString file = parser.value(QStringLiteral("wall-file"));
    const QString line = parser.value(QStringLiteral("wall"));
    *given = !file.isEmpty() || !line.isEmpty();
    return (file.isEmpty() || config->read_file(file, error)) && (line.isEmpty() || config->parse_line(line, error));
}

bool build_configured(const sim_wall_config &config, simulated_wall &wall, QTextStream &out, QString *error)
{
    QList<sim_wall_position> placed;
    if (!build_wall(config, wall, &placed, error))
        return false;
    for (const sim_wall_position &p : placed) {
        const QString where = QStringLiteral("row %1 column %2, %3").arg(p.row).arg(p.column).arg(p.endpoint_name);
        describe(wall, p.handle, p.monitor_id, where, out);
    }
    return true;
}

bool apply_fault(simulated_wall &wall, const QString &setting)
{
    // DISPLAY=KIND[:COUNT[:AFTER]]
    const QStringList parts = setting.split(QLatin1Char('='));
    if (parts.size() != 2)
        return false;
    bool numeric = false;
    const int display = parts.at(0).toInt(&numeric);
    if (!numeric || display < 0 || display >= wall.display_count())
        return false;
    const QStringList fields = parts.at(1).split(QLatin1Char(':'));
    sim_fault_kind kind = sim_fault_kind::none;
    if (!sim_fault_kind_from_name(fields.at(0).toLatin1(), &kind))
        return false;
    const int count = fields.size() > 1 ? fields.at(1).toInt() : sim_fault::kForever;
    const int after = fields.size() > 2 ? fields.at(2).toInt() : 0;
    wall.set_fault(display, kind, count, after);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Ctrl+C and SIGTERM end the event loop, so that every endpoint is closed.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_pipe) != 0)
        return 1;
    QSocketNotifier notifier(g_signal_pipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, on_signal);
    std::signal(SIGTERM, on_signal);
    QCoreApplication::setApplicationName(QStringLiteral("tessaline-simulated-wall"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated displays for Tessaline."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("lan"), QStringLiteral("TCP endpoint ADDRESS[=IDS] on port 7142, IDS like A,B,C."),
                      QStringLiteral("setting")});
    parser.addOption({QStringLiteral("serial"), QStringLiteral("RS-232 chain on a new pseudo-terminal, IDS like A,B."),
                      QStringLiteral("ids")});
    parser.addOption({QStringLiteral("wall"),
                      QStringLiteral("A whole wall: settings separated by ';', e.g. \"rows=2;columns=3;address=127.0.0.60\"."),
                      QStringLiteral("settings")});
    parser.addOption({QStringLiteral("wall-file"), QStringLiteral("A whole wall from a settings file."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("fault"),
                      QStringLiteral("DISPLAY=KIND[:COUNT[:AFTER]]; kinds: ") + QString::fromLatin1(sim_fault_kind_names().join(", ")),
                      QStringLiteral("setting")});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    sim_wall_config config;
    bool configured = false;
    QString error;
    if (!read_config(parser, &config, &configured, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    simulated_wall wall;
    wall.set_imperfections(config.seed, config.spread);
    wall.set_light_publishing(true);
    if (configured && !build_configured(config, wall, out, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    for (const QString &setting : parser.values(QStringLiteral("lan"))) {
        const QString address = setting.section(QLatin1Char('='), 0, 0);
        if (!add_chain(wall, wall.add_lan_endpoint(address), setting.section(QLatin1Char('='), 1), out, address + ":7142")) {
            err << "cannot listen on " << address << ":7142" << Qt::endl;
            return 1;
        }
    }
    for (const QString &ids : parser.values(QStringLiteral("serial"))) {
        const int endpoint = wall.add_serial_endpoint();
        if (!add_chain(wall, endpoint, ids, out, wall.serial_path(endpoint))) {
            err << "cannot create a pseudo-terminal" << Qt::endl;
            return 1;
        }
    }
    for (const QString &setting : parser.values(QStringLiteral("fault"))) {
        if (!apply_fault(wall, setting)) {
            err << "bad fault: " << setting << Qt::endl;
            return 1;
        }
    }
    // Searches on loopback broadcast to 127.255.255.255: the displays answer them too.
    if (!wall.set_broadcast_search(true))
        err << "cannot answer searches on 127.255.255.255:5320; searches of single addresses still work" << Qt::endl;
    out << "light published in " << light_channel::channel_folder() << Qt::endl;
    out << "running; Ctrl+C stops" << Qt::endl;
    const int result = app.exec();
    wall.stop();
    return result;
}
