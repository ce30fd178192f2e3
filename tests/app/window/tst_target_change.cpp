#include "app/controller/color_calc_utils.h"
#include "app/controller/layout_manager.h"
#include "app/services/string_resource.h"
#include "colour/CColorTemperature.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "display_protocol/wait_service.h"
#include "jobs/QueryThreadPool.h"
#include "jobs/job_task_type.h"
#include "main_window_fixture.h"
#include "progress_dialog_watch.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/display_protocol/wall_fixture.h"
#include "tests/jobs/fake_worker.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtTest>

#include <cmath>

namespace {

const QDateTime kCalibrated(QDate(2024, 3, 1), QTime(9, 30), Qt::UTC);

enum wall_display { kTableDisplay, kGainDisplay, kEngineTableDisplay, kUncalibrated, kWallSize };

enum change_kind { kUnchanged, kCurve, kCurveAndContrast, kNativeContrast, kWhite };

CAdjustValue calibrated_record(qint16 mode, bool engine)
{
    CAdjustValue record = headless_controller::measured_record(CCIEXYZ(41, 21, 2), CCIEXYZ(36, 72, 12),
                                                              CCIEXYZ(18, 7, 95));
    record.SetCalibrationDateTime(kCalibrated);
    record.SetCalibrationMode(mode);
    record.SetCapabilityWordA(engine ? 1 : 0);
    return record;
}

CTargetValue specified_target(int gamma_type, double gamma, quint32 contrast)
{
    CTargetValue target;
    target.SetIntensityMode(CTargetValue::kIntensitySpecified);
    target.SetGammaType(gamma_type);
    target.SetGamma(gamma);
    target.SetContrastRatio(contrast);
    return target;
}

QPair<CTargetValue, CTargetValue> targets(change_kind change)
{
    const CTargetValue power = specified_target(CTargetValue::kGammaPower, 2.2, 1000);
    switch (change) {
    case kUnchanged:
        return {power, power};
    case kCurve:
        return {power, specified_target(CTargetValue::kGammaPower, 2.4, 1000)};
    case kCurveAndContrast:
        return {power, specified_target(CTargetValue::kGammaPower, 2.4, 2000)};
    case kNativeContrast:
        return {specified_target(CTargetValue::kGammaNative, 0, 1000),
                specified_target(CTargetValue::kGammaNative, 0, 2000)};
    case kWhite: {
        CTargetValue whiter = power;
        whiter.SetWhitePoint(CColorTemperature(quint16(5000)));
        return {power, whiter};
    }
    }
    return {};
}

bool same_target(const CTargetValue &a, const CTargetValue &b)
{
    return !(a != b) && !(b != a);
}

// The restore jobs the progress dialog hands to the pool, by position.
class job_log
{
public:
    void add(const job_list_item &job)
    {
        QMutexLocker lock(&m_mutex);
        m_positions.append(job.position);
        m_tasks.append(job.task_list);
    }
    QList<int> positions() const
    {
        QMutexLocker lock(&m_mutex);
        QList<int> sorted = m_positions;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_positions.clear();
        m_tasks.clear();
    }
    QList<QList<qint32>> tasks() const
    {
        QMutexLocker lock(&m_mutex);
        return m_tasks;
    }

private:
    mutable QMutex m_mutex;
    QList<int> m_positions;
    QList<QList<qint32>> m_tasks;
};

} // namespace

Q_DECLARE_METATYPE(QList<QMessageBox::StandardButton>)

class tst_target_change : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void change_data();
    void change();
    void first_maximum_matching_value_is_stored_without_a_question();
    void changed_maximum_matching_value_asks_data();
    void changed_maximum_matching_value_asks();
    void failed_computation_data();
    void failed_computation();
    void change_applied_twice_leaves_the_displays_as_once();

private:
    void build_wall(bool calibrated);
    void build_measured_wall(bool calibrated);
    CTargetValue target() const { return m_fixture->wall().controller().getTarget(); }

    // The gate outlives the fixture's controller, which owns the pool.
    std::unique_ptr<fake_worker_gate> m_gate;
    std::unique_ptr<main_window_fixture> m_fixture;
    job_log m_jobs;
};

void tst_target_change::init()
{
    m_gate = std::make_unique<fake_worker_gate>();
    m_gate->release_all();
    m_gate->set_outcome([this](job_list_item &job) { m_jobs.add(job); });
    m_fixture = std::make_unique<main_window_fixture>();
    m_fixture->wall().controller().setQueryThreadPool(
        new QueryThreadPool(fake_workers(*m_gate), QueryThreadPool::kMaxRunning));
    m_jobs.clear();
}

void tst_target_change::cleanup()
{
    m_fixture.reset();
    m_gate.reset();
}

void tst_target_change::build_wall(bool calibrated)
{
    headless_controller &wall = m_fixture->wall();
    wall.create_wall(kWallSize, 1);
    if (calibrated) {
        wall.store_record(kTableDisplay, calibrated_record(CAdjustValue::kModeLookupTable, false));
        wall.store_record(kGainDisplay, calibrated_record(CAdjustValue::kModeGains, false));
        wall.store_record(kEngineTableDisplay, calibrated_record(CAdjustValue::kModeLookupTable, true));
    }
    wall.store_record(kUncalibrated, CAdjustValue());
    wall.records().SetModified(false);
}

void tst_target_change::change_data()
{
    QTest::addColumn<bool>("calibrated");
    QTest::addColumn<int>("change");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QList<int>>("questions");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QList<int>>("still_calibrated");
    QTest::addColumn<QList<int>>("restored");
    QTest::addColumn<bool>("modified");

    using B = QMessageBox;
    const QList<int> all{kTableDisplay, kGainDisplay, kEngineTableDisplay};
    const QList<int> none;
    const QList<int> both{724, 707};
    QTest::newRow("nothing calibrated: stored at once")
        << false << int(kWhite) << QList<B::StandardButton>() << none << true << none << none << false;
    QTest::newRow("unchanged target: nothing asked")
        << true << int(kUnchanged) << QList<B::StandardButton>() << none << true << all << none << false;
    QTest::newRow("curve, restore Yes, recalibrate Yes")
        << true << int(kCurve) << QList<B::StandardButton>{B::Yes, B::Yes} << both << true
        << QList<int>{kTableDisplay, kEngineTableDisplay} << QList<int>{kTableDisplay, kEngineTableDisplay}
        << true;
    QTest::newRow("curve, restore Yes, recalibrate No")
        << true << int(kCurve) << QList<B::StandardButton>{B::Yes, B::No} << both << true << all
        << QList<int>{kTableDisplay, kEngineTableDisplay} << true;
    QTest::newRow("curve, restore No, recalibrate No")
        << true << int(kCurve) << QList<B::StandardButton>{B::No, B::No} << both << true << all << none << false;
    QTest::newRow("curve, restore Cancel, recalibrate No")
        << true << int(kCurve) << QList<B::StandardButton>{B::Cancel, B::No} << both << false << all << none
        << false;
    QTest::newRow("curve, restore Cancel, recalibrate Yes")
        << true << int(kCurve) << QList<B::StandardButton>{B::Cancel, B::Yes} << both << true
        << QList<int>{kTableDisplay, kEngineTableDisplay} << none << true;
    QTest::newRow("white, recalibrate Yes")
        << true << int(kWhite) << QList<B::StandardButton>{B::Yes} << QList<int>{707} << true << none << none
        << true;
    QTest::newRow("white, recalibrate No")
        << true << int(kWhite) << QList<B::StandardButton>{B::No} << QList<int>{707} << false << all << none
        << false;
    QTest::newRow("curve and contrast: the engine display recalibrates")
        << true << int(kCurveAndContrast) << QList<B::StandardButton>{B::Yes, B::Yes} << both << true
        << QList<int>{kTableDisplay} << QList<int>{kTableDisplay} << true;
    // The contrast ratio does not count for a native curve: nothing changed.
    QTest::newRow("native curve, contrast changed")
        << true << int(kNativeContrast) << QList<B::StandardButton>() << none << true << all << none << false;
}

void tst_target_change::change()
{
    QFETCH(bool, calibrated);
    QFETCH(int, change);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QList<int>, questions);
    QFETCH(bool, stored);
    QFETCH(QList<int>, still_calibrated);
    QFETCH(QList<int>, restored);
    QFETCH(bool, modified);

    Tessaline &window = m_fixture->window();
    build_wall(calibrated);
    const auto [old_target, new_target] = targets(change_kind(change));
    m_fixture->wall().controller().setTarget(old_target);
    m_fixture->wall().records().SetModified(false);

    modal_box_answerer boxes(answers);
    window.apply_edited_target(new_target);

    QStringList asked;
    for (int id : questions)
        asked << string_resource(id);
    QCOMPARE(boxes.texts(), asked);
    for (const auto &box : boxes.seen())
        QCOMPARE(box.default_button, QMessageBox::NoButton);
    QVERIFY(same_target(target(), stored ? new_target : old_target));
    QCOMPARE(m_fixture->wall().layout().get_calibrated_display_indexes(false, false), still_calibrated);
    QCOMPARE(m_jobs.positions(), restored);
    for (const QList<qint32> &tasks : m_jobs.tasks())
        QCOMPARE(tasks, QList<qint32>{JOB_TASK_RESTORE_CALIBRATION_SETTINGS});
    QCOMPARE(m_fixture->wall().records().IsModified(), modified);
}

void tst_target_change::build_measured_wall(bool calibrated)
{
    headless_controller &wall = m_fixture->wall();
    wall.create_wall(2, 1);
    for (int index = 0; index < 2; ++index) {
        CAdjustValue record = calibrated_record(CAdjustValue::kModeGains, false);
        if (!calibrated)
            record.SetCalibrationDateTime(QDateTime());
        wall.store_record(index, record);
    }
}

namespace {

CTargetValue matching_target(double stored)
{
    CTargetValue target;
    target.SetIntensityMode(CTargetValue::kIntensityMaximumMatching);
    target.SetWhitePoint(CColorTemperature(quint16(6500)));
    target.SetMaxMatchingLuminance(stored);
    return target;
}

double computed_luminance(const CTargetValue &target)
{
    double luminance = -1.0;
    color_calc_utils().calculate_max_matching_luminance(target, luminance);
    return luminance;
}

} // namespace

void tst_target_change::first_maximum_matching_value_is_stored_without_a_question()
{
    Tessaline &window = m_fixture->window();
    build_measured_wall(true);
    m_fixture->wall().controller().setTarget(matching_target(-1.0));
    const double expected = computed_luminance(target());
    QVERIFY(expected > 0.0);

    QSignalSpy info(&window, &Tessaline::updateTargetInfo);
    modal_box_answerer boxes;
    window.CalculateNewTargetWhitePoint(true);
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(target().GetMaxMatchingLuminance(), expected); // the same computation: exact
    QCOMPARE(m_fixture->wall().layout().get_calibrated_display_indexes(false, false), (QList<int>{0, 1}));
    QCOMPARE(info.count(), 1);
}

void tst_target_change::changed_maximum_matching_value_asks_data()
{
    QTest::addColumn<bool>("calibrated");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QList<int>>("still_calibrated");

    QTest::newRow("Yes: stored, calibrations reset")
        << true << QList<QMessageBox::StandardButton>{QMessageBox::Yes} << true << QList<int>();
    QTest::newRow("No: nothing changes")
        << true << QList<QMessageBox::StandardButton>{QMessageBox::No} << false << QList<int>{0, 1};
    QTest::newRow("nothing calibrated: stored without a question")
        << false << QList<QMessageBox::StandardButton>() << true << QList<int>();
}

void tst_target_change::changed_maximum_matching_value_asks()
{
    QFETCH(bool, calibrated);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(bool, stored);
    QFETCH(QList<int>, still_calibrated);

    Tessaline &window = m_fixture->window();
    build_measured_wall(calibrated);
    const double old_value = 1.5;
    m_fixture->wall().controller().setTarget(matching_target(old_value));
    const double expected = computed_luminance(target());

    modal_box_answerer boxes(answers);
    window.CalculateNewTargetWhitePoint(true);
    QCOMPARE(boxes.seen().size(), answers.size());
    if (!answers.isEmpty()) {
        const auto &box = boxes.seen().first();
        QCOMPARE(box.text, string_resource(606).arg(to_display_luminance_text(old_value, 1, true),
                                                     to_display_luminance_text(expected, 1, true)));
        QVERIFY(box.text.contains(QStringLiteral("1.5")));
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.default_button, QMessageBox::Yes);
    }
    QCOMPARE(target().GetMaxMatchingLuminance(), stored ? expected : old_value);
    QCOMPARE(m_fixture->wall().layout().get_calibrated_display_indexes(false, false), still_calibrated);
}

void tst_target_change::failed_computation_data()
{
    QTest::addColumn<bool>("ask_if_changed");
    QTest::addColumn<double>("expected");
    QTest::newRow("asking: the old value stays") << true << 250.0;
    QTest::newRow("not asking: the failure is stored") << false << -1.0;
}

void tst_target_change::failed_computation()
{
    QFETCH(bool, ask_if_changed);
    QFETCH(double, expected);
    Tessaline &window = m_fixture->window();
    build_measured_wall(true);
    // A display without native measurements makes the computation fail.
    m_fixture->wall().store_record(1, CAdjustValue());
    m_fixture->wall().controller().setTarget(matching_target(250.0));

    modal_box_answerer boxes;
    window.CalculateNewTargetWhitePoint(ask_if_changed);
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(target().GetMaxMatchingLuminance(), expected);
}

namespace {

// What a display shows of its calibration: its table and its gains.
struct display_state
{
    QVector<int> table;
    int activations = 0;
    QList<quint16> gains;
};

display_state state_of(simulated_wall &wall, int handle)
{
    return wall.with_display(handle, [](sim_display &d) {
        return display_state{d.active_lut.table(1024), d.lut_activations,
                             {d.controls.value(0x16), d.controls.value(0x18), d.controls.value(0x1A)}};
    });
}

} // namespace

namespace {

// A lookup-table calibration as a sensor leaves it: the display's primaries
// and a greyscale of 17 steps on a 2.2 power curve, with the channel
// response curves the table is rebuilt from.
CAdjustValue table_calibrated_record(int *curves_status)
{
    CAdjustValue record = calibrated_record(CAdjustValue::kModeLookupTable, false);
    record.gain = {{0.8, 0.9, 1.0}};
    CColorValue &m = record.measurements;
    m.uncorrected.red = CCIEXYZ(41.2, 21.3, 1.9);
    m.uncorrected.green = CCIEXYZ(35.8, 71.5, 11.9);
    m.uncorrected.blue = CCIEXYZ(18.0, 7.2, 95.0);
    const CCIEXYZ black(0.1, 0.1, 0.12);
    const CCIEXYZ full(41.2 + 35.8 + 18.0, 21.3 + 71.5 + 7.2, 1.9 + 11.9 + 95.0);
    m.uncorrected.white = full;
    m.uncorrected.black = black;
    constexpr int kSteps = 17;
    for (int i = 0; i < kSteps; ++i) {
        const double level = std::pow(double(i) / (kSteps - 1), 2.2);
        m.uncorrected_greyscale.append(CCIEXYZ(black.X + full.X * level, black.Y + full.Y * level,
                                               black.Z + full.Z * level));
    }
    *curves_status = m.BuildMeasuredChannelCurves(false);
    return record;
}

} // namespace

// The restore jobs run on simulated displays: running the same change again
// (the target set back by hand, the displays left as the first run left them)
// puts every display where the first run did.
void tst_target_change::change_applied_twice_leaves_the_displays_as_once()
{
    wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
    simulated_wall sim;
    sim.set_time_scale(0.0);
    const QByteArray model = "VW-5520L";
    const QString serials[2] = {QStringLiteral("SN-TABLE"), QStringLiteral("SN-GAINS")};
    int handles[2] = {-1, -1};
    for (int index = 0; index < 2; ++index) {
        const int endpoint = sim.add_lan_endpoint(loopback_block::address(index + 1));
        QVERIFY2(endpoint >= 0, qPrintable(loopback_block::claim_error()));
        // The wall's monitor IDs count from 1 in display order.
        handles[index] = sim.add_display(endpoint, char('A' + index));
        sim.with_display(handles[index], [&](sim_display &d) {
            d.apply_model(model);
            d.serial_number = serials[index].toLatin1();
            d.controls.set(0x16, 200, 255);
            d.controls.set(0x18, 210, 255);
            d.controls.set(0x1A, 220, 255);
        });
    }
    auto *pool = new QueryThreadPool;
    QStringList failures;
    QObject recording; // goes before the pool, which the fixture destroys
    connect(pool, &QueryThreadPool::send_job_results, &recording, [&](const job_list_item &job) {
        if (job.job_parameters.error_code != 0)
            failures << QStringLiteral("display %1: %2").arg(job.position).arg(job.job_parameters.error_code);
    });
    m_fixture->wall().controller().setQueryThreadPool(pool);
    Tessaline &window = m_fixture->window();
    headless_controller &wall = m_fixture->wall();
    wall.create_wall(2, 1, loopback_block::address(1));
    int curves_status = -1;
    const CAdjustValue table = table_calibrated_record(&curves_status);
    QCOMPARE(curves_status, 0);
    wall.store_record(0, table, QString::fromLatin1(model), serials[0]);
    wall.store_record(1, calibrated_record(CAdjustValue::kModeGains, false), QString::fromLatin1(model), serials[1]);
    const auto [old_target, new_target] = targets(kCurve);

    QList<display_state> after[2];
    for (int round = 0; round < 2; ++round) {
        wall.controller().setTarget(old_target);
        modal_box_answerer boxes({QMessageBox::Yes, QMessageBox::No});
        progress_dialog_watch watch;
        window.apply_edited_target(new_target);
        QCOMPARE(boxes.seen().size(), 2);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
        QCOMPARE(watch.closed_by_watch(), 0);
        QVERIFY(watch.title().contains(QStringLiteral("Updating and restoring previous calibration")));
        for (int index = 0; index < 2; ++index)
            after[round] << state_of(sim, handles[index]);
    }

    QCOMPARE(after[0][0].activations, 1);
    QCOMPARE(after[1][0].activations, 2); // restored again
    QCOMPARE(after[0][1].activations, 0); // the gain display waits for recalibration
    QCOMPARE(after[0][0].table.size(), 3 * 1024);
    for (int index = 0; index < 2; ++index) {
        QCOMPARE(after[1][index].table, after[0][index].table);
        QCOMPARE(after[1][index].gains, after[0][index].gains);
    }
    QCOMPARE(after[0][1].gains, (QList<quint16>{200, 210, 220}));
}

QTEST_MAIN(tst_target_change)
#include "tst_target_change.moc"
