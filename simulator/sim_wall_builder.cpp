#include "simulator/sim_wall_builder.h"

namespace {

constexpr char kMonitorIdZero = '@';   // ID 1 is 'A'

int add_chain_endpoint(const sim_wall_config &config, simulated_wall &wall, int chain, QString *error)
{
    if (config.link == sim_wall_config::link_kind::serial) {
        const int endpoint = wall.add_serial_endpoint();
        if (endpoint < 0)
            *error = QStringLiteral("cannot create a pseudo-terminal");
        return endpoint;
    }
    const QString address = config.chain_address(chain);
    const int endpoint = address.isEmpty() ? -1 : wall.add_lan_endpoint(address);
    if (endpoint < 0)
        *error = QStringLiteral("cannot listen on %1:7142").arg(address);
    return endpoint;
}

} // namespace

bool build_wall(const sim_wall_config &config, simulated_wall &wall, QList<sim_wall_position> *placed, QString *error)
{
    wall.set_imperfections(config.seed, config.spread);
    int endpoint = -1;
    for (int i = 0; i < config.display_count(); ++i) {
        const int place_in_chain = i % config.chain_length;
        if (place_in_chain == 0) {
            endpoint = add_chain_endpoint(config, wall, i / config.chain_length, error);
            if (endpoint < 0)
                return false;
        }
        sim_wall_position position;
        position.row = i / config.columns;
        position.column = i % config.columns;
        position.endpoint = endpoint;
        position.endpoint_name = wall.endpoint_name(endpoint);
        position.monitor_id = static_cast<char>(kMonitorIdZero + config.monitor_id(i));
        position.handle = wall.add_display(endpoint, position.monitor_id);
        const QByteArray model = config.models.at(i % config.models.size()).toLatin1();
        const QByteArray serial = QStringLiteral("SIM%1").arg(position.handle + 1, 7, 10, QLatin1Char('0')).toLatin1();
        // A model of the profile table comes with its whole profile; another
        // name is the generic display under that name.
        wall.with_display(position.handle, [&](sim_display &d) {
            if (!d.apply_model(model))
                d.model_name = model;
            d.serial_number = serial;
        });
        wall.set_input_level(position.handle, config.input_level);
        placed->append(position);
    }
    return true;
}
