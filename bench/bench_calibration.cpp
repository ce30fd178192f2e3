// How well and how fast a wall calibrates: a simulated 3 x 3 wall with seeded
// imperfections, each display calibrated through the real pool, worker,
// calibration task, follow-up table job and simulated instrument, then
// measured through its input signal. Twice: ideal (fine patch levels, an
// instrument without noise), then as coarse as the field (a model mix with
// 8-bit patch generators where the path allows, instrument noise).
//
//   bench_calibration [--seed N] [--spread X] [--path table|gains|engine]
//                     [--time-scale S] [--noise X]
//                     [--target d65|native-dicom|native-gamma]
//
// The native targets keep each display's own white at its most light; their
// deviations are from the white the display measured before calibration.
//
// Prints one row per display and the wall's uniformity; it never fails on
// the figures.

#include "app/services/preferences.h"
#include "calibration/calibration_task.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"
#include "colour/colour_difference.h"
#include "colour/tone_curves.h"
#include "display_protocol/wait_service.h"
#include "jobs/job_task_type.h"
#include "jobs/lookup_table_tasks.h"
#include "jobs/operation_progress_rules.h"
#include "jobs/worker_task_table.h"
#include "tests/jobs/wall_task_fixture.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kRows = 3;
constexpr int kColumns = 3;
constexpr int kToneLevels = 16;
constexpr int kPlacementSteps = 4;     // the placement check reports its run of good readings out of 4
constexpr double kTargetLuminance = 200.0;
constexpr CIExy kD65 {0.3127, 0.3290};

struct settings
{
    quint64 seed = 1;
    double spread = 1.0;
    QString path = QStringLiteral("table");
    double time_scale = 0.002;
    double noise = 0.002;
    QString target = QStringLiteral("d65");
};

// One calibration of the wall: its models and the instrument's relative noise.
struct wall_case
{
    const char *name;
    QList<QByteArray> models;
    double noise;
};

QList<QByteArray> models_for(const QString &path)
{
    if (path == QLatin1String("engine"))
        return {"VW-5540QE", "VW-6540QE"};
    return {"VW-5530Q", "VW-5520L", "VW-4620L"};
}

// Models with 8-bit patch generators beside one with finer levels; the
// engine models have no coarse sibling.
QList<QByteArray> coarse_models_for(const QString &path)
{
    if (path == QLatin1String("engine"))
        return models_for(path);
    return {"VW-4610C", "VW-5520L", "VW-5510C"};
}

// False for a target name it does not know.
bool target_for(const settings &s, CTargetValue &target)
{
    const bool native = s.target.startsWith(QLatin1String("native-"));
    if (!native && s.target != QLatin1String("d65"))
        return false;
    if (native && s.target != QLatin1String("native-dicom") && s.target != QLatin1String("native-gamma"))
        return false;
    target.SetWhitePoint(native ? CColorTemperature(quint16(0)) : CColorTemperature(kD65));
    target.SetIntensityMode(native ? CTargetValue::kIntensityMaximumPossible : CTargetValue::kIntensitySpecified);
    target.SetSpecifiedLuminance(kTargetLuminance);
    target.SetGammaType(s.target == QLatin1String("native-dicom") ? CTargetValue::kGammaDicom
                                                                  : CTargetValue::kGammaPower);
    target.SetGamma(2.2);
    target.SetContrastRatio(s.path == QLatin1String("engine") ? 1000 : 0);
    return true;
}

// The record the calibration left for the display of |run|.
monitor_tracker_item record_of(wall_task_fixture &f, const job_recording &run)
{
    monitor_tracker_item item(run.result().job_parameters.model_name, run.result().job_parameters.serial_number);
    f.controller().records().GetAdjustValue(item);
    return item;
}

// The readings of the placement check: its sub-steps out of 4 before the
// calibration's first step.
int placement_readings(const job_recording &run)
{
    int readings = 0;
    for (const job_event &event : run.events()) {
        if (event.kind == job_event::kStep && event.text.startsWith(QLatin1String("Configuring")))
            break;
        if (event.kind == job_event::kSubStep && event.total == kPlacementSteps)
            ++readings;
    }
    return readings;
}

CCIEXYZ light_at(wall_task_fixture &f, int display, double level)
{
    f.wall().set_input_level(display, {level, level, level});
    const light_channel::light_reading r = f.wall().light(display);
    return CCIEXYZ(r.X, r.Y, r.Z);
}

// Calibrates |display| (shown as |number|) and prints its row; its white.
CCIEXYZ calibrate_one(wall_task_fixture &f, int number, int display, const settings &s, const CTargetValue &target)
{
    f.place_sensor(display);
    f.instrument().clearCalls();
    const qint64 nominal_before = wait_service::nominal_ms_waited();
    QElapsedTimer clock;
    clock.start();
    const auto run = f.run(f.job(display, {JOB_TASK_CALIBRATE}));
    const qint64 real_ms = clock.elapsed();
    const qint64 nominal_ms = wait_service::nominal_ms_waited() - nominal_before;
    const int measurements = f.instrument().callsNamed(QStringLiteral("i1d3MeasureXYZ")).size()
                             - placement_readings(*run);
    job_list_item follow_up;
    int follow_up_result = 0;
    if (make_follow_up_lut_job(run->result(), 100000 + display, follow_up))
        follow_up_result = f.run(follow_up)->error_code();

    const monitor_tracker_item record = record_of(f, *run);
    const CCIEYxy aim = target.GetWhitePoint().IsNative() ? record.measurements.native.white.ToYxy()
                                                           : CCIEYxy(kTargetLuminance, kD65.x, kD65.y);
    const CCIEXYZ white = light_at(f, display, 1.0);
    const CCIEXYZ black = light_at(f, display, 0.0);
    const CCIEYxy Yxy = white.ToYxy();
    CSpline curve;
    make_target_curve(record.measurements, target, curve);
    double worst_tone = 0.0;
    for (int i = 0; i < kToneLevels; ++i) {
        const double level = double(i) / (kToneLevels - 1);
        const double share = (light_at(f, display, level).Y - black.Y) / (white.Y - black.Y);
        worst_tone = std::max(worst_tone, std::fabs(share - curve.Evaluate(level)));
    }
    const CCIEXYZ reference = aim.ToXYZ();
    const double delta_e = delta_e_2000(xyz_to_lab(reference, reference), xyz_to_lab(white, reference));
    const QByteArray model = f.wall().with_display(display, [](sim_display &d) { return d.model_name; });
    std::printf("%-2d %-10s %-6s %6d %6d %5d %+9.5f %+9.5f %+8.2f %9.5f %7.3f %9.1f %8lld\n", number,
                model.constData(), qPrintable(s.path), run->error_code(), follow_up_result, measurements,
                Yxy.x - aim.x, Yxy.y - aim.y, (Yxy.Y - aim.Y) * 100.0 / aim.Y, worst_tone,
                delta_e, nominal_ms / 1000.0, static_cast<long long>(real_ms));
    return white;
}

// What a wall is judged by: how far its whites lie apart.
void print_uniformity(const QList<CCIEXYZ> &whites)
{
    const CCIEXYZ reference = CCIEYxy(kTargetLuminance, kD65.x, kD65.y).ToXYZ();
    QList<CIELab> labs;
    CCIEXYZ mean(0.0, 0.0, 0.0);
    double lowest = whites.value(0).Y;
    double highest = lowest;
    for (const CCIEXYZ &white : whites) {
        labs << xyz_to_lab(white, reference);
        mean = CCIEXYZ(mean.X + white.X / whites.size(), mean.Y + white.Y / whites.size(),
                       mean.Z + white.Z / whites.size());
        lowest = std::min(lowest, white.Y);
        highest = std::max(highest, white.Y);
    }
    double between = 0.0;
    double from_mean = 0.0;
    for (int i = 0; i < labs.size(); ++i) {
        from_mean = std::max(from_mean, delta_e_2000(labs.at(i), xyz_to_lab(mean, reference)));
        for (int j = i + 1; j < labs.size(); ++j)
            between = std::max(between, delta_e_2000(labs.at(i), labs.at(j)));
    }
    std::printf("wall whites: largest dE00 between two displays %.3f, largest dE00 from the mean white %.3f, "
                "luminance spread %.2f %% ((max - min) / mean)\n",
                between, from_mean, mean.Y > 0 ? (highest - lowest) * 100.0 / mean.Y : 0.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"seed", "Imperfection seed.", "N", "1"});
    parser.addOption({"spread", "Imperfection spread (1: a production run).", "X", "1"});
    parser.addOption({"path", "table, gains or engine.", "PATH", "table"});
    parser.addOption({"time-scale", "Wait service time scale.", "S", "0.002"});
    parser.addOption({"noise", "Relative instrument noise of the coarse run.", "X", "0.002"});
    parser.addOption({"target", "d65, native-dicom or native-gamma.", "TARGET", "d65"});
    parser.process(app);
    settings s;
    s.seed = parser.value("seed").toULongLong();
    s.spread = parser.value("spread").toDouble();
    s.path = parser.value("path");
    s.time_scale = parser.value("time-scale").toDouble();
    s.noise = parser.value("noise").toDouble();
    s.target = parser.value("target");
    CTargetValue target;
    if (!target_for(s, target)) {
        std::fprintf(stderr, "unknown target %s\n", qPrintable(s.target));
        return 1;
    }

    wall_task_fixture f;
    if (!f.ready() || !f.attach_sensor()) {
        std::fprintf(stderr, "no simulated wall: %s\n", qPrintable(f.error()));
        return 1;
    }
    install_calibration_task();
    install_worker_task(JOB_TASK_UPDATE_LUTS, &update_luts);
    f.wall().set_imperfections(s.seed, s.spread);
    CPreferences &preferences = *f.controller().controller().getPreferences();
    preferences.SetCalibrationMethod(s.path == QLatin1String("gains") ? 1 : 0);
    preferences.SetUseQuillonEngine(s.path == QLatin1String("engine"));
    f.controller().controller().setTarget(target);
    wait_service::set_time_scale(s.time_scale);

    const QString aim = s.target == QLatin1String("d65")
                            ? QStringLiteral("D65, %1 cd/m², gamma 2.2").arg(kTargetLuminance)
                            : s.target + QStringLiteral(", most light");
    std::printf("seed %llu, spread %.2f, path %s, time scale %g; target %s\n",
                static_cast<unsigned long long>(s.seed), s.spread, qPrintable(s.path), s.time_scale,
                qPrintable(aim));
    const wall_case cases[] = {{"ideal", models_for(s.path), 0.0},
                               {"8-bit patch levels and noise", coarse_models_for(s.path), s.noise}};
    for (const wall_case &c : cases) {
        if (!f.instrument().configure({{QStringLiteral("noise_relative"), c.noise},
                                       {QStringLiteral("noise_seed"), static_cast<double>(s.seed)}})) {
            std::fprintf(stderr, "%s\n", qPrintable(f.instrument().lastError()));
            return 1;
        }
        std::printf("\n%s: relative instrument noise %g\n", c.name, c.noise);
        std::printf("#  model      path   result follow meas.        dx        dy   dY %%     tone    dE00  nominal s  real ms\n");
        QElapsedTimer total;
        total.start();
        QList<CCIEXYZ> whites;
        for (int i = 0; i < kRows * kColumns; ++i) {
            const int display = f.add_display(c.models.at(i % c.models.size()));
            if (display < 0) {
                std::fprintf(stderr, "%s\n", qPrintable(f.error()));
                return 1;
            }
            whites << calibrate_one(f, i + 1, display, s, target);
        }
        print_uniformity(whites);
        std::printf("wall: %lld ms real\n", static_cast<long long>(total.elapsed()));
    }
    return 0;
}
