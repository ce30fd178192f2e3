#pragma once

#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"

#include <QByteArray>
#include <QString>
#include <QtTest>

// Fails the running test with the fixture's reason when it is not ready.
#define QVERIFY_FIXTURE(fixture) QVERIFY2((fixture).ready(), qPrintable((fixture).failure()))

// The simulated displays of these tests always answer: a reply may take as
// long as on a real link before it counts as lost, however short the time
// scale, so that a display thread starved on a busy machine is not taken for a
// silent display. Set in the initTestCase of test programs whose displays
// always answer.
constexpr qint64 kAnsweringDisplayFloorMs = 2000;

// A simulated wall with one LAN display (monitor ID 'A' unless told
// otherwise) listening on |address| (of the process's loopback block), port 7142.
struct wall_fixture
{
    explicit wall_fixture(const QString &address, char monitor_id = 'A') : address(address)
    {
        endpoint = wall.add_lan_endpoint(address);
        display = wall.add_display(endpoint, monitor_id);
        if (!ready())
            qWarning("%s", qPrintable(failure()));
    }

    bool ready() const { return endpoint >= 0 && display >= 0; }
    // Why the fixture is not ready; empty when it is.
    QString failure() const
    {
        if (ready())
            return QString();
        if (address.isEmpty())
            return QStringLiteral("no loopback address: %1").arg(loopback_block::claim_error());
        return QStringLiteral("cannot listen on %1:7142").arg(address);
    }
    int frames() const { return wall.log().size(); }
    sim_log_entry last_frame() const
    {
        const QList<sim_log_entry> log = wall.log();
        return log.isEmpty() ? sim_log_entry() : log.last();
    }
    void script(const QByteArray &request_body, const QByteArray &reply_body)
    {
        wall.with_display(display, [&](sim_display &d) { d.scripted_replies.insert(request_body, reply_body); });
    }

    void report(const QByteArray &request_body, const QByteArray &report_body)
    {
        wall.with_display(display, [&](sim_display &d) { d.scripted_reports.insert(request_body, report_body); });
    }

    QString address;
    simulated_wall wall;
    int endpoint = -1;
    int display = -1;
};
