#pragma once

#include "dialogs/guarded_sensor.h"
#include "sensors/SensorPlacementInfo.h"

#include <QString>

#include <optional>

// Getting the active sensor ready to measure: zero-calibrate it when it
// needs that, have the operator turn its measurement selector to the wanted
// position, show that it is ready, then let OK close. The set-up dialogs
// are thin shells that show what each step returns.
class sensor_setup_state
{
public:
    enum Position { kDisplayPosition = 0, kCalibrationPosition = 1, kAmbientPosition = 3 };

    // What the dialog shows after a step; an empty optional leaves that part as it is.
    struct view
    {
        enum picture_kind { keep_picture, clear_picture, selector_picture, file_picture };
        std::optional<QString> text;
        picture_kind picture = keep_picture;
        int selector_position = 0; // for selector_picture
        QString picture_file;      // for file_picture
        std::optional<bool> ok_enabled;
        bool focus_ok = false;
    };

    struct ok_result
    {
        enum outcome { stay, accept };
        outcome result = stay;
        int error = 0; // a failed calibration's status, shown by the dialog
        view shown;
    };

    // |calibrationText| precedes the calibration instruction; the set-up
    // dialog says that the sensor needs it, the zero-calibration dialog
    // gives its own.
    sensor_setup_state(const guarded_sensor &sensor, bool ambient, bool force, const QString &calibrationText);

    // The zero calibration on its own: calibrate whenever a sensor is held,
    // then |instruction| asks for the selector back at the display position.
    static sensor_setup_state zero_calibration(const guarded_sensor &sensor, const QString &instruction);

    // Whether the set-up must be shown at all: the sensor needs calibrating,
    // or it has a selector away from the wanted position.
    static bool needed(CSensor &sensor, bool ambient, bool force);

    view initial_view() const { return m_initial; }
    bool polls_selector() const { return m_pollSelector; }
    int wanted_position() const { return m_wanted; }
    bool calibration_needed() const { return m_calibrationNeeded; }

    ok_result ok();
    // After a burst of selector changes has settled.
    view selector_settled() const;
    // A poll of the selector: the light is on while it is away from the wanted position.
    view poll();
    void switch_light_off();

private:
    int selector_position() const;
    bool at_wanted() const { return selector_position() == m_wanted; }
    view turn_selector_view() const;
    QString turn_selector_text() const;

    guarded_sensor m_sensor;
    SensorPlacementInfo m_info;
    bool m_ambient = false;
    bool m_calibrationNeeded = false;
    bool m_calibrationDone = false;
    bool m_hasSelector = false;
    bool m_selectorReached = false;
    bool m_readyShown = false;
    bool m_pollSelector = false;
    int m_wanted = kDisplayPosition;
    view m_initial;
    std::optional<QString> m_afterCalibrationText;
};
