#include "jobs/display_task_steps.h"

#include "app/controller/color_calc_utils.h"
#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_setting_rules.h"
#include "jobs/display_task_inputs.h"

#include <QVector>

#include <vector>

namespace {

constexpr quint8 kPowerOn = 1;
constexpr int kPowerOnSettleMs = 10000;
constexpr int kVerifyFailed = 2;
constexpr int kPatternOff = 1;
constexpr int kLookupTableMethod = 0;

} // namespace

int identify_when_needed(CPDLANConnectionObject &worker)
{
    if (worker.display_identified())
        return 0;
    const int status = worker.identify_display();
    if (status != 0)
        worker.job().job_parameters.verify_status = kVerifyFailed;
    return status;
}

int switch_display_on(CPDLANConnectionObject &worker, refused_power_on refused)
{
    quint8 state = 0;
    if (const int status = worker.link().get_power_state(state))
        return status;
    return switch_on_from(worker, state, refused);
}

int switch_on_from(CPDLANConnectionObject &worker, quint8 state, refused_power_on refused)
{
    if (state == kPowerOn)
        return 0;
    if (const int status = worker.link().set_power_state(kPowerOn))
        return refused == refused_power_on::fails ? status : 0;
    return worker.sleep_with_status(kPowerOnSettleMs);
}

int switch_engine_as_preferred(CPDLANConnectionObject &worker, const display_task_preferences &preferences,
                               bool &in_use)
{
    in_use = false;
    basic_monitor &link = worker.link();
    if (!link.supports_vcp_1147_and_1192())
        return 0;
    const bool wanted = preferences.use_engine && preferences.calibration_method == kLookupTableMethod;
    const int status = link.set_vcp_1147_and_wait(wanted);
    in_use = wanted && status == 0;
    return status;
}

int switch_engine_off_where_present(CPDLANConnectionObject &worker)
{
    basic_monitor &link = worker.link();
    return link.supports_vcp_1147_and_1192() ? link.set_vcp_1147_and_wait(false) : 0;
}

int upload_engine_tone_curve(CPDLANConnectionObject &worker, const CTargetValue &target, const CAdjustValue &record)
{
    const CSpline curve = engine_tone_curve(target, record);
    QVector<int> table;
    if (const int status = worker.link().build_lut_from_curves(curve, curve, curve, table))
        return status;
    return worker.link().upload_lut_c20b(std::vector<int>(table.cbegin(), table.cend()));
}

int upload_engine_tone_curve_when_asked(CPDLANConnectionObject &worker, const CTargetValue &target,
                                        const CAdjustValue &record)
{
    return engine_tone_for_target(target).uploads_curve ? upload_engine_tone_curve(worker, target, record) : 0;
}

int upload_calibration_table(CPDLANConnectionObject &worker, CAdjustValue &record, const CTargetValue &target,
                             int gamma_table_number)
{
    basic_monitor &link = worker.link();
    if (target.GetGammaType() != CTargetValue::kGammaNative) {
        CColorValue &measurements = record.measurements;
        if (const int status = color_calc_utils::make_target_curve(measurements, target, measurements.target_curve))
            return status;
        if (const int status = measurements.BuildCorrectionCurves(target))
            return status;
    }
    QVector<int> table;
    if (const int status = link.build_lut_from_calibration(record, target, table))
        return status;
    return link.upload_lut(table, gamma_table_number);
}

int pattern_off_unless_stopped(CPDLANConnectionObject &worker)
{
    return worker.stop_requested() ? 0 : worker.link().set_vcp_2c8_or_2c3(kPatternOff, false);
}
