// How much the job pool gains on a whole wall: Verify jobs on simulated
// displays with a realistic reply delay, through the real progress dialog,
// once with the pool's 30 jobs at a time and once one at a time; and how
// late a fast timer of the user-interface thread runs while 30 jobs report.
//
//   bench_display_jobs [--displays N] [--repeats N] [--reply-delay-ms N]
//                      [--limit N] [--address-prefix 127.0.200.]
//
// Runs offscreen, in a temporary home (the preferences file goes there).
// Prints figures; it never fails on them.

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "resources/tessaline_resources.h"
#include "simulator/simulated_wall.h"
#include "tests/app/e2e/event_loop_stall_probe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kWallLimit = 100;
constexpr int kRowLength = 10;

struct settings
{
    int displays = 100;
    int repeats = 3;
    int reply_delay_ms = 20;
    int limit = QueryThreadPool::kMaxRunning;
    QString address_prefix = QStringLiteral("127.0.200.");
};

struct run_figures
{
    double seconds = 0.0;
    int jobs = 0;
    int failed = 0;
};

// Runs one Verify operation over the wall through the dialog, modally.
run_figures run_operation(MasterControl &controller, const settings &s, int limit, event_loop_stall_probe *probe)
{
    auto *pool = new QueryThreadPool(QueryThreadPool::display_workers(), limit);
    controller.setQueryThreadPool(pool);
    KQ_multithreaded_operation_progress_dialog dialog;
    // A failed job keeps the dialog open: end the run once every job is back.
    QObject::connect(pool, &QueryThreadPool::num_jobs_running, &dialog, [pool, &dialog](int running) {
        if (running == 0 && pool->pending_count() == 0)
            dialog.done(QDialog::Accepted);
    });
    job_list_item verify;
    verify.task_list = {JOB_TASK_CHECK_CAPABILITIES};
    QList<int> positions;
    for (int r = 0; r < s.repeats; ++r)
        for (int i = 0; i < s.displays; ++i)
            positions << i;
    dialog.add_job(verify, positions, QStringLiteral("Verify"));
    dialog.set_close_immediately(true);

    QElapsedTimer clock;
    clock.start();
    if (probe)
        probe->start();
    if (dialog.start_jobs() == 0)
        dialog.exec();
    if (probe)
        probe->stop();
    run_figures figures;
    figures.seconds = clock.nsecsElapsed() / 1e9;
    const QList<job_list_item> results = dialog.get_job_results();
    figures.jobs = results.size();
    for (const job_list_item &job : results) {
        if (job.effective_result() == 0)
            continue;
        if (figures.failed++ == 0)
            std::printf("  first failure: %s: %s\n", qPrintable(job.connection_key),
                        qPrintable(job.job_parameters.error_text));
    }
    return figures;
}

settings read_settings(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Display job throughput through the progress dialog"));
    parser.addHelpOption();
    const QCommandLineOption displays(QStringLiteral("displays"), QStringLiteral("Displays (1-100)."),
                                      QStringLiteral("n"), QStringLiteral("100"));
    const QCommandLineOption repeats(QStringLiteral("repeats"), QStringLiteral("Jobs per display."),
                                     QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption delay(QStringLiteral("reply-delay-ms"), QStringLiteral("Each display's reply delay."),
                                   QStringLiteral("ms"), QStringLiteral("20"));
    const QCommandLineOption limit(QStringLiteral("limit"), QStringLiteral("Jobs at once in the fast run."),
                                   QStringLiteral("n"), QString::number(QueryThreadPool::kMaxRunning));
    const QCommandLineOption prefix(QStringLiteral("address-prefix"),
                                    QStringLiteral("Loopback addresses of the displays: prefix + 1..n."),
                                    QStringLiteral("prefix"), QStringLiteral("127.0.200."));
    parser.addOptions({displays, repeats, delay, limit, prefix});
    parser.process(arguments);
    settings s;
    s.displays = qBound(1, parser.value(displays).toInt(), kWallLimit);
    s.repeats = qMax(1, parser.value(repeats).toInt());
    s.reply_delay_ms = qMax(0, parser.value(delay).toInt());
    s.limit = qMax(1, parser.value(limit).toInt());
    s.address_prefix = parser.value(prefix);
    return s;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    tessaline_init_resources();
    const settings s = read_settings(app.arguments());

    simulated_wall sim;
    for (int i = 0; i < s.displays; ++i) {
        const QString address = s.address_prefix + QString::number(i + 1);
        const int endpoint = sim.add_lan_endpoint(address);
        if (endpoint < 0) {
            std::fprintf(stderr, "cannot serve a display on %s\n", qPrintable(address));
            return 1;
        }
        const int display = sim.add_display(endpoint, 'A');
        sim.set_delays(display, s.reply_delay_ms, 0);
    }

    MasterControl controller;
    g_master = &controller;
    layout_manager &layout = *controller.getLayoutManager();
    // Rows of ten, one display per address, each monitor ID 1; the jobs go
    // to the first |displays| of them.
    const int columns = qMin(s.displays, kRowLength);
    const int rows = (s.displays + kRowLength - 1) / kRowLength;
    if (layout.create_layout(columns, rows, 1, 0, s.address_prefix + QStringLiteral("1"), display_layout_item::kLan,
                             false, true, false, true, display_layout_item::kLandscape)
        != 0) {
        std::fprintf(stderr, "cannot lay out %d displays\n", s.displays);
        return 1;
    }

    const int jobs = s.displays * s.repeats;
    std::printf("display jobs: %d displays x %d = %d Verify jobs, reply delay %d ms, time scale %g\n", s.displays,
                s.repeats, jobs, s.reply_delay_ms, wait_service::time_scale());
    event_loop_stall_probe probe;
    const run_figures fast = run_operation(controller, s, s.limit, &probe);
    std::printf("  %2d at once : %7.2f s  (%d jobs, %d failed)\n", s.limit, fast.seconds, fast.jobs, fast.failed);
    std::printf("  user-interface timer lateness over %zu ticks of %d ms: p50 %.1f ms, p99 %.1f ms, max %.1f ms "
                "(goal: max < 50 ms)\n",
                probe.ticks(), event_loop_stall_probe::kTickMs, probe.percentile(0.50), probe.percentile(0.99),
                probe.longest());
    const run_figures slow = run_operation(controller, s, 1, nullptr);
    std::printf("   1 at once : %7.2f s  (%d jobs, %d failed)\n", slow.seconds, slow.jobs, slow.failed);
    const double waves = std::ceil(double(jobs) / s.limit);
    std::printf("  speed-up %.1fx, ideal for %d jobs %.1fx (goal >= 25x)\n",
                fast.seconds > 0 ? slow.seconds / fast.seconds : 0.0, jobs, jobs / waves);
    return 0;
}
