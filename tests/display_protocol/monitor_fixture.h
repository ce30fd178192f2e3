#pragma once

#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/basic_monitor.h"
#include "tests/display_protocol/wall_fixture.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A basic_monitor linked over LAN to one simulated display of |model| (or
// the generic simulated display when |model| is empty).
struct monitor_fixture
{
    monitor_fixture(const QString &address, const QByteArray &model, char monitor_id = 'A')
        : fx(address, monitor_id)
    {
        if (!model.isEmpty())
            modelled = fx.wall.with_display(fx.display, [&](sim_display &d) { return d.apply_model(model); });
        opened = monitor.open_link(address, PDCommProtocol::kLinkLan);
        monitor.set_monitor_id(static_cast<quint8>(monitor_id));
    }

    bool ready() const { return fx.ready() && modelled && opened == 0; }
    // Why the fixture is not ready; empty when it is.
    QString failure() const
    {
        if (!fx.ready())
            return fx.failure();
        if (!modelled)
            return QStringLiteral("no simulated model of that name");
        if (opened != 0)
            return QStringLiteral("cannot open the link to %1: %2").arg(fx.address).arg(opened);
        return QString();
    }

    template <typename F>
    auto display(F &&f)
    {
        return fx.wall.with_display(fx.display, std::forward<F>(f));
    }

    // The bodies of the frames received since the last clear, in order.
    QList<QByteArray> bodies() const
    {
        QList<QByteArray> out;
        for (const sim_log_entry &e : fx.wall.log())
            out << e.body;
        return out;
    }
    QList<sim_log_entry> frames() const { return fx.wall.log(); }
    void clear_log() { fx.wall.clear_log(); }

    wall_fixture fx;
    basic_monitor monitor;
    bool modelled = true;
    int opened = -1;
};
