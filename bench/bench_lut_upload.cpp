// How close a lookup-table upload over RS-232 comes to the line rate: one
// simulated display on a pseudo-terminal paced at 9600 baud, a calibrated
// record in the store, and the update job run through the real pool and
// worker at time scale 1 (the link's reply time-outs are real time).
//
//   bench_lut_upload [--model NAME] [--repeats N]
//
// Prints the upload's real time, the protocol's own pauses in it, the bytes on
// the wire both ways and what they take at 9600 baud, and the real time
// against line time plus pauses (1.0: the link adds nothing of its own); it
// never fails on them.

#include "colour/CMonitorTracker.h"
#include "colour/monitor_tracker_item.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "simulator/simulated_wall.h"
#include "tests/jobs/pool_recorder.h"
#include "tests/support/headless_controller.h"
#include "tests/support/table_calibration.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QtTest>

#include <cstdio>

namespace {

constexpr double kMsPerByte = 10.0 * 1000.0 / 9600.0;   // start, 8 data and stop bit
constexpr int kSerialLink = 0;
constexpr int kJobTimeoutMs = 600000;
const char *const kPortName = "COM9";

qint64 request_bytes(const QList<sim_log_entry> &log, int endpoint)
{
    qint64 bytes = 0;
    for (const sim_log_entry &frame : log)
        if (frame.endpoint == endpoint)
            bytes += frame.raw.size();
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"model", "Simulated display model.", "NAME", "VW-5520L"});
    parser.addOption({"repeats", "Uploads to time.", "N", "1"});
    parser.process(app);
    const QByteArray model = parser.value("model").toLatin1();
    const int repeats = qMax(1, parser.value("repeats").toInt());

    headless_controller controller;
    simulated_wall wall;
    const int endpoint = wall.add_serial_endpoint();
    const int display = endpoint >= 0 ? wall.add_display(endpoint, 'A') : -1;
    if (display < 0) {
        std::fprintf(stderr, "cannot create a pseudo-terminal\n");
        return 1;
    }
    monitor_tracker_item item = wall.with_display(display, [&](sim_display &d) {
        d.apply_model(model);
        return monitor_tracker_item(QString::fromLatin1(d.model_name), QString::fromLatin1(d.serial_number));
    });
    static_cast<CAdjustValue &>(item) = table_calibration::linear_response_record();
    controller.records().SetAdjustValue(item);
    controller.controller().setTarget(table_calibration::d65_power_target());
    qputenv("TESSALINE_SERIAL_PORT_COM9", wall.serial_path(endpoint).toLocal8Bit());
    wall.set_time_scale(1.0);
    wait_service::set_time_scale(1.0);

    QueryThreadPool pool;
    pool_recorder seen(pool);
    std::printf("lookup-table upload: %s on a 9600-baud pseudo-terminal, %d upload(s)\n", model.constData(), repeats);
    std::printf("   result   real s  pauses s  on wire s  requests B  replies B  line rate s  real/(line+pauses)\n");
    for (int i = 0; i < repeats; ++i) {
        wall.clear_log();
        const qint64 replies_before = wall.bytes_sent(endpoint);
        const qint64 pauses_before = wait_service::nominal_ms_waited();
        job_list_item job;
        job.job_id = i + 1;
        job.connection_key = QString::fromLatin1(kPortName);
        job.connection_type = kSerialLink;
        job.monitor_id = 1;
        job.task_list = {JOB_TASK_UPDATE_LUTS};
        QElapsedTimer clock;
        clock.start();
        pool.add_job(job);
        if (!QTest::qWaitFor([&] { return seen.results.size() > i && seen.running == 0; }, kJobTimeoutMs)) {
            std::fprintf(stderr, "the upload did not end\n");
            return 1;
        }
        const double real_s = clock.elapsed() / 1000.0;
        const double pauses_s = (wait_service::nominal_ms_waited() - pauses_before) / 1000.0;
        const qint64 requests = request_bytes(wall.log(), endpoint);
        const qint64 replies = wall.bytes_sent(endpoint) - replies_before;
        const double line_s = (requests + replies) * kMsPerByte / 1000.0;
        std::printf("   %6d %8.2f %9.2f %10.2f %11lld %10lld %12.2f %18.3f\n",
                    seen.results.last().job_parameters.error_code, real_s, pauses_s, real_s - pauses_s,
                    static_cast<long long>(requests), static_cast<long long>(replies), line_s,
                    real_s / (line_s + pauses_s));
    }
    return 0;
}
