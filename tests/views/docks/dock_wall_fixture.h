#pragma once

#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "jobs/QueryThreadPool.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/support/headless_controller.h"

#include <QList>
#include <QObject>
#include <QtTest>

// A row of simulated LAN displays (monitor IDs 1, 2, ... in display order,
// one address each) laid out as the controller's wall, with a pool of real
// display workers whose finished jobs are recorded.
class dock_wall_fixture
{
public:
    static constexpr const char *kModel = "VW-5520L";

    explicit dock_wall_fixture(int displays)
    {
        m_sim.set_time_scale(0.0);
        for (int index = 0; index < displays; ++index) {
            const int endpoint = m_sim.add_lan_endpoint(loopback_block::address(index + 1));
            if (endpoint < 0) {
                m_error = loopback_block::claim_error();
                return;
            }
            m_handles << m_sim.add_display(endpoint, char('A' + index));
            m_sim.with_display(m_handles.last(), [index](sim_display &d) {
                d.apply_model(kModel);
                d.serial_number = serial(index).toLatin1();
            });
        }
        auto *pool = new QueryThreadPool;
        QObject::connect(pool, &QueryThreadPool::send_job_results, &m_recording,
                         [this](const job_list_item &job) { m_results << job; });
        m_controller.controller().setQueryThreadPool(pool);
        m_controller.create_wall(displays, 1, loopback_block::address(1));
    }

    bool ready() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    headless_controller &controller() { return m_controller; }
    layout_manager &layout() { return m_controller.layout(); }
    simulated_wall &sim() { return m_sim; }
    int handle(int index) const { return m_handles.value(index, -1); }

    static QString serial(int index) { return QStringLiteral("SN%1").arg(index); }

    // Identifies the display at |index| as the simulated one (verified) and
    // stores |record| under its key.
    void store(int index, const CAdjustValue &record)
    {
        m_controller.store_record(index, record, QLatin1String(kModel), serial(index));
    }

    // The finished jobs' positions, sorted.
    QList<int> job_positions() const
    {
        QList<int> positions;
        for (const job_list_item &job : m_results)
            positions << job.position;
        std::sort(positions.begin(), positions.end());
        return positions;
    }
    const QList<job_list_item> &results() const { return m_results; }
    void clear_results() { m_results.clear(); }
    // Whether display |index| received any frame.
    bool reached(int index) const
    {
        for (const sim_log_entry &frame : m_sim.log()) {
            if (frame.endpoint == index)
                return true;
        }
        return false;
    }

    // The values written to control |code| of display |index|, in order.
    QList<int> writes(int index, int code) const
    {
        const QByteArray prefix = 'E' + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
        QList<int> values;
        for (const sim_log_entry &frame : m_sim.log()) {
            const QByteArray body = frame.type + frame.body;
            if (frame.endpoint == index && body.startsWith(prefix) && body.size() == prefix.size() + 4)
                values << body.mid(prefix.size()).toInt(nullptr, 16);
        }
        return values;
    }

private:
    QString m_error;
    simulated_wall m_sim;
    QList<int> m_handles;
    QObject m_recording; // goes before the pool, which the controller destroys
    QList<job_list_item> m_results;
    headless_controller m_controller;
};
