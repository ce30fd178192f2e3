#include "dialogs/sensor_setup_state.h"

#include "app/services/string_resource.h"
#include "dialogs/dialog_strings.h"
#include "sensors/sensor_setup_rule.h"

#include <QCoreApplication>

namespace {

QString click_ok_when_complete()
{
    return string_resource(dialog_strings::kClickOkWhenComplete);
}

} // namespace

bool sensor_setup_state::needed(CSensor &sensor, bool ambient, bool force)
{
    return sensor_setup_needed(sensor, ambient, force);
}

sensor_setup_state::sensor_setup_state(const guarded_sensor &sensor, bool ambient, bool force,
                                       const QString &calibrationText)
    : m_sensor(sensor), m_ambient(ambient)
{
    if (m_sensor.isNull())
        return;
    m_sensor.with<int>([this](CSensor &s) { return s.GetPlacementInfo(m_info); }, -1);
    m_calibrationNeeded = m_sensor.with<bool>(
        [force](CSensor &s) { return s.RequiresCalibration() && (force || !s.IsCalibrated()); }, false);
    m_wanted = m_calibrationNeeded ? kCalibrationPosition : ambient ? kAmbientPosition : kDisplayPosition;
    m_hasSelector = m_sensor.with<bool>([](CSensor &s) { return s.HasMeasurementSelector(); }, false);

    const QString calibrate = calibrationText + m_info.calibrationMessage + click_ok_when_complete();
    if (m_hasSelector && m_calibrationNeeded) {
        m_initial.picture = view::selector_picture;
        m_initial.selector_position = kCalibrationPosition;
        m_initial.ok_enabled = at_wanted();
        m_initial.text = calibrate;
    } else if (m_hasSelector && !at_wanted()) {
        m_initial = turn_selector_view();
        m_initial.ok_enabled = false;
        m_pollSelector = m_sensor.with<bool>([](CSensor &s) { return s.PollsMeasurementSelector(); }, false);
    } else if (m_calibrationNeeded) {
        m_initial.picture = view::file_picture;
        m_initial.picture_file = m_info.calibrationPicture;
        m_initial.text = calibrate;
    }
}

int sensor_setup_state::selector_position() const
{
    return m_sensor.with<int>([](CSensor &s) { return s.GetMeasurementSelectorPosition(); }, -1);
}

QString sensor_setup_state::turn_selector_text() const
{
    return (m_ambient ? m_info.beforeAmbientMessage : m_info.selectorMessage) + click_ok_when_complete();
}

sensor_setup_state sensor_setup_state::zero_calibration(const guarded_sensor &sensor, const QString &instruction)
{
    sensor_setup_state state(sensor, false, true, QString());
    state.m_calibrationNeeded = !sensor.isNull();
    state.m_afterCalibrationText = instruction + click_ok_when_complete();
    return state;
}

sensor_setup_state::view sensor_setup_state::turn_selector_view() const
{
    view shown;
    shown.picture = view::selector_picture;
    shown.selector_position = m_wanted;
    shown.text = turn_selector_text();
    return shown;
}

sensor_setup_state::ok_result sensor_setup_state::ok()
{
    ok_result result;
    if (!m_sensor.isNull() && m_calibrationNeeded && !m_calibrationDone) {
        result.error = m_sensor.with<int>([](CSensor &s) { return s.Calibrate(); }, -1);
        if (result.error != 0)
            return result;
        m_calibrationDone = true;
        m_wanted = m_ambient ? kAmbientPosition : kDisplayPosition;
        if (m_hasSelector) {
            result.shown = turn_selector_view();
            if (m_afterCalibrationText)
                result.shown.text = m_afterCalibrationText;
            result.shown.ok_enabled = at_wanted();
            result.shown.focus_ok = *result.shown.ok_enabled;
            return result;
        }
    }
    if (m_hasSelector && !m_selectorReached) {
        if (!at_wanted())
            return result;
        m_selectorReached = true;
    }
    if (m_readyShown) {
        result.result = ok_result::accept;
        return result;
    }
    result.shown.picture = view::clear_picture;
    result.shown.text = QCoreApplication::translate("kq_color_sensor_setup_dialog",
                                                    "The color sensor is now ready to take measurements.");
    m_readyShown = true;
    return result;
}

sensor_setup_state::view sensor_setup_state::selector_settled() const
{
    view shown;
    shown.picture = view::selector_picture;
    shown.selector_position = m_wanted;
    shown.ok_enabled = at_wanted();
    shown.focus_ok = *shown.ok_enabled;
    return shown;
}

sensor_setup_state::view sensor_setup_state::poll()
{
    view shown;
    const bool there = at_wanted();
    m_sensor.with<int>([there](CSensor &s) { return s.SetLed(!there); }, -1);
    shown.ok_enabled = there;
    shown.focus_ok = there;
    return shown;
}

void sensor_setup_state::switch_light_off()
{
    m_sensor.with<int>([](CSensor &s) { return s.SetLed(false); }, -1);
}
