// Configuring the display for a run, and putting it back after a failure.
#include "calibration/CCalibrationObject.h"

#include "calibration/calibration_control_lists.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/defined_task.h"

namespace {

// The step of |code| that ran last in |applied|, or null.
const vcp_list_item *step_of(const QList<vcp_list_item> &applied, int code, bool read)
{
    for (auto it = applied.crbegin(); it != applied.crend(); ++it) {
        if (it->code == code && (it->action == vcp_list_item::kRead) == read && it->result == 0)
            return &*it;
    }
    return nullptr;
}

// Applies |list| step by step. Unlike basic_monitor::apply_vcp_list it runs
// after the job was stopped: a stopped run must still put the display back.
// Returns the first error; a control the display lacks is passed over.
int apply_even_when_stopped(basic_monitor &monitor, QList<vcp_list_item> &list)
{
    for (vcp_list_item &item : list) {
        if (item.action == vcp_list_item::kWriteMax || item.action == vcp_list_item::kWriteHalfMax) {
            int current = 0;
            item.result = monitor.get_vcp_with_max(item.code, current, item.max);
            item.value = item.action == vcp_list_item::kWriteMax ? item.max : item.max / 2;
        }
        if (item.result == 0) {
            uint value = static_cast<uint>(item.value);
            item.result = monitor.set_vcp(item.code, value);
        }
        if (item.result != 0 && item.result != basic_monitor::kNotSupported)
            return item.result;
    }
    return 0;
}

} // namespace

int CCalibrationObject::ConfigureDisplay()
{
    emit calibration_task_progress(tr("Configuring settings for calibration"));
    return m_engine ? ConfigureEngine() : ConfigureWithoutEngine();
}

control_list_inputs CCalibrationObject::ListInputs() const
{
    control_list_inputs inputs;
    inputs.preferences = m_preferences.display;
    inputs.target = m_target;
    inputs.record = m_record;
    inputs.engine = m_engine != 0;
    return inputs;
}

int CCalibrationObject::ConfigureWithoutEngine()
{
    QList<vcp_list_item> list = build_vcp_list(calibration_control_lists::configuration(), ListInputs());
    if (const int status = m_monitor->apply_vcp_list(list, true))
        return status;
    using namespace control_code;
    if (const vcp_list_item *brightness = step_of(list, kBrightness, true)) {
        m_intensity.value = brightness->value;
        m_intensity.maximum = brightness->max;
    }
    if (const vcp_list_item *contrast = step_of(list, kContrast, true)) {
        m_contrast = contrast->value;
        m_contrastMax = contrast->max;
    }
    const int gains[3] = {kVideoGainRed, kVideoGainGreen, kVideoGainBlue};
    for (size_t c = 0; c < 3; ++c) {
        if (const vcp_list_item *gain = step_of(list, gains[c], true))
            m_gainMax[c] = gain->value;
    }
    emit calibration_task_progress(tr("Configuring settings for calibration"));
    return 0;
}

int CCalibrationObject::ConfigureEngine()
{
    if (const int status = m_monitor->configure_for_calibration(m_record))
        return status;
    emit calibration_task_progress(tr("Configuring settings for calibration"));
    QList<vcp_list_item> list = build_vcp_list(calibration_control_lists::engine_configuration(), ListInputs());
    if (const int status = m_monitor->apply_vcp_list(list, true))
        return status;
    using namespace control_code;
    if (const vcp_list_item *luminance = step_of(list, kEngineLuminance, false)) {
        m_intensity.value = luminance->value;
        m_intensity.maximum = luminance->max;
    }
    if (const vcp_list_item *x = step_of(list, kEngineWhiteX, false))
        m_engineWhite[0].value = x->value;
    if (const vcp_list_item *y = step_of(list, kEngineWhiteY, false))
        m_engineWhite[1].value = y->value;
    if (const vcp_list_item *level = step_of(list, kUniformityLevel, true))
        m_uniformityLevel = level->value;
    if (const vcp_list_item *lower = step_of(list, kEngineLuminanceMinimum, true))
        m_engineLowerLimit = lower->value;
    return 0;
}

int CCalibrationObject::RestoreDisplay(bool engine)
{
    emit StartingDefinedTask(kDefinedTaskRestoreAfterFailure);
    const control_list_rows &rows = engine ? calibration_control_lists::engine_restore() : calibration_control_lists::restore();
    QList<vcp_list_item> list = build_vcp_list(rows, ListInputs());
    return apply_even_when_stopped(*m_monitor, list);
}
