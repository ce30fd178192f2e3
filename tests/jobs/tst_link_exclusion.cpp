#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/jobs/installed_task.h"
#include "tests/jobs/pool_recorder.h"

#include <QHash>
#include <QtTest>

namespace {

constexpr int kSerial = 0;
constexpr int kLan = 1;

int succeed(CPDLANConnectionObject &)
{
    return 0;
}

// A job that identifies its display and reads a few controls, so that it
// talks to the display over several exchanges.
job_list_item talking_job(int job_id, const QString &key, int link_kind, int monitor_id)
{
    job_list_item job;
    job.job_id = job_id;
    job.position = job_id;
    job.connection_key = key;
    job.connection_type = link_kind;
    job.monitor_id = monitor_id;
    job.task_list = {JOB_TASK_CHECK_CAPABILITIES, JOB_TASK_VCP_LIST};
    job.vcp_list << vcp_list_item::read(0x10) << vcp_list_item::read(0x12) << vcp_list_item::read(0x60);
    return job;
}

// Whether, in the frames one endpoint received, each display's frames form
// one unbroken run: no job on the chain talked while another did.
bool one_display_at_a_time(const QList<sim_log_entry> &log, int endpoint, QString *why)
{
    QList<char> finished;
    char current = 0;
    for (const sim_log_entry &frame : log) {
        if (frame.endpoint != endpoint)
            continue;
        if (frame.destination == current)
            continue;
        if (finished.contains(frame.destination)) {
            *why = QStringLiteral("display %1 talked again after display %2 began")
                       .arg(QChar(frame.destination))
                       .arg(QChar(current));
            return false;
        }
        if (current)
            finished << current;
        current = frame.destination;
    }
    return true;
}

} // namespace

class tst_link_exclusion : public QObject
{
    Q_OBJECT

private slots:
    // Real time: a scaled reply time-out would be shorter than a reply takes
    // at 9600 baud.
    void initTestCase() { wait_service::set_time_scale(1.0); }

    void jobs_on_one_chain_never_overlap_while_other_links_run()
    {
        installed_task stand_in(JOB_TASK_CHECK_CAPABILITIES, &succeed);
        simulated_wall wall;
        const QString chain_address = loopback_block::address(1);
        const int lan_chain = wall.add_lan_endpoint(chain_address);
        const int serial_chain = wall.add_serial_endpoint();
        QVERIFY2(lan_chain >= 0 && serial_chain >= 0,
                 qPrintable(QStringLiteral("cannot listen on %1:7142").arg(chain_address)));
        for (char id : {'A', 'B', 'C', 'D'})
            QVERIFY(wall.add_display(lan_chain, id) >= 0);
        for (char id : {'A', 'B', 'C'})
            QVERIFY(wall.add_display(serial_chain, id) >= 0);
        QList<int> singles;
        for (int i = 0; i < 4; ++i) {
            const int endpoint = wall.add_lan_endpoint(loopback_block::address(10 + i));
            QVERIFY(endpoint >= 0);
            QVERIFY(wall.add_display(endpoint, 'A') >= 0);
            singles << endpoint;
        }
        qputenv("TESSALINE_SERIAL_PORT_COM7", wall.serial_path(serial_chain).toLocal8Bit());

        QueryThreadPool pool;
        pool_recorder seen(pool);
        QList<job_list_item> jobs;
        int id = 1;
        for (int monitor = 1; monitor <= 4; ++monitor)
            jobs << talking_job(id++, chain_address, kLan, monitor);
        for (int monitor = 1; monitor <= 3; ++monitor)
            jobs << talking_job(id++, monitor % 2 ? QStringLiteral("COM7") : QStringLiteral("com7"), kSerial, monitor);
        for (int i = 0; i < singles.size(); ++i)
            jobs << talking_job(id++, loopback_block::address(10 + i), kLan, 1);
        pool.add_job(jobs);
        QTRY_COMPARE_WITH_TIMEOUT(seen.results.size(), jobs.size(), 60000);
        QTRY_COMPARE(seen.running, 0);

        for (const job_list_item &job : seen.results) {
            QVERIFY2(job.job_parameters.error_code == 0,
                     qPrintable(QStringLiteral("job %1: %2").arg(job.job_id).arg(job.job_parameters.error_text)));
            QCOMPARE(job.job_parameters.vcp_list_result.size(), 3);
        }
        const QList<sim_log_entry> log = wall.log();
        QString why;
        QVERIFY2(one_display_at_a_time(log, lan_chain, &why), qPrintable(why));
        QVERIFY2(one_display_at_a_time(log, serial_chain, &why), qPrintable(why));

        // The single displays did not wait for the chains: each began before
        // the LAN chain's last display did.
        qint64 last_chain_start = 0;
        QHash<int, qint64> first_frame;
        for (const sim_log_entry &frame : log) {
            if (!first_frame.contains(frame.endpoint * 256 + frame.destination))
                first_frame.insert(frame.endpoint * 256 + frame.destination, frame.time_ms);
        }
        last_chain_start = first_frame.value(lan_chain * 256 + 'D');
        for (int endpoint : singles)
            QVERIFY(first_frame.value(endpoint * 256 + 'A') <= last_chain_start);
        qunsetenv("TESSALINE_SERIAL_PORT_COM7");
    }
};

QTEST_GUILESS_MAIN(tst_link_exclusion)
#include "tst_link_exclusion.moc"
