#include "jobs/job_list_item.h"
#include "jobs/job_meta_types.h"
#include "jobs/job_task_type.h"

#include <QThread>
#include <QtTest>

#include <algorithm>

// Sends a job from another thread through a queued signal.
class job_sender : public QObject
{
    Q_OBJECT
signals:
    void sent(job_list_item job);
};

class tst_job_records : public QObject
{
    Q_OBJECT

private slots:
    void a_new_job_is_empty()
    {
        const job_list_item job;
        QCOMPARE(job.job_id, -1);
        QCOMPARE(job.position, -1);
        QCOMPARE(job.priority, 0u);
        QCOMPARE(job.osd_orientation, -1);
        QCOMPARE(job.weekend.mode, -1);
        QCOMPARE(job.job_parameters.verify_status, -1);
        QCOMPARE(job.job_parameters.weekend.mode, -1);
        QVERIFY(job.task_list.isEmpty());
        QCOMPARE(job.effective_result(), 0);
    }

    void the_effective_result_prefers_the_pools_code()
    {
        job_list_item job;
        job.job_parameters.error_code = -1027;
        QCOMPARE(job.effective_result(), -1027);
        job.result = JOB_RESULT_CANCELLED;
        QCOMPARE(job.effective_result(), qint32(JOB_RESULT_CANCELLED));
    }

    void finished_jobs_sort_by_id_and_equal_ids_keep_their_order()
    {
        QList<job_list_item> jobs;
        for (int id : {5, 2, 9, 2}) {
            job_list_item job;
            job.job_id = id;
            job.connection_key = QString::number(jobs.size());
            jobs << job;
        }
        std::stable_sort(jobs.begin(), jobs.end(), job_id_less);
        QStringList order;
        for (const job_list_item &job : jobs)
            order << QStringLiteral("%1/%2").arg(job.job_id).arg(job.connection_key);
        QCOMPARE(order, (QStringList{"2/1", "2/3", "5/0", "9/2"}));
        QVERIFY(!job_id_less(jobs.at(0), jobs.at(1)) && !job_id_less(jobs.at(1), jobs.at(0)));
    }

    void a_job_crosses_threads_whole()
    {
        register_job_meta_types();
        job_list_item job;
        job.job_id = 12;
        job.task_list = {JOB_TASK_VCP_LIST, JOB_TASK_SCHEDULE};
        job.vcp_list << vcp_list_item::write(0x10, 30);
        job.schedule_list << schedule_job_entry();
        job.schedule_list.first().program_number = 4;
        job.ir_sequence = QByteArray("\x01\x00", 2);
        job.power.mode = job_power_request::kOff;
        job.job_parameters.error_text = QStringLiteral("text");
        job.job_parameters.holiday_result << holiday_job_entry();
        job.job_parameters.weekend.bits = 0x60;

        QThread thread;
        job_sender sender;
        sender.moveToThread(&thread);
        job_list_item received;
        connect(&sender, &job_sender::sent, this, [&received](const job_list_item &j) { received = j; });
        thread.start();
        QMetaObject::invokeMethod(&sender, [&sender, job] { emit sender.sent(job); });
        QTRY_COMPARE(received.job_id, 12);
        thread.quit();
        thread.wait();
        QCOMPARE(received.task_list, job.task_list);
        QCOMPARE(received.vcp_list.first().value, 30);
        QCOMPARE(received.schedule_list.first().program_number, 4);
        QCOMPARE(received.ir_sequence, job.ir_sequence);
        QCOMPARE(received.power.mode, 4);
        QCOMPARE(received.job_parameters.error_text, QStringLiteral("text"));
        QCOMPARE(received.job_parameters.holiday_result.size(), 1);
        QCOMPARE(received.job_parameters.weekend.bits, quint8(0x60));
    }
};

QTEST_GUILESS_MAIN(tst_job_records)
#include "tst_job_records.moc"
