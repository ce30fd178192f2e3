#include "jobs/analog_setup_tasks.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/CPDLANConnectionObject.h"

namespace {

constexpr int kTileMatrixOn = 2;
constexpr int kTileMatrixOffWide = 3;   // where the control's maximum is 3
constexpr int kTileMatrixOff = 1;
constexpr uint kStart = 1;
constexpr int kAutoSetupMs = 11000;
constexpr int kAutoGainMs = 12000;
constexpr uint kRetryPauseMs = 5000;
constexpr quint8 kExpertMode = 2;
constexpr quint8 kNormalMode = 0;

int first_error(int first, int next)
{
    return first != 0 ? first : next;
}

// The tile matrix of the display, switched off for an analog adjustment.
class tile_matrix_pause
{
public:
    explicit tile_matrix_pause(CPDLANConnectionObject &worker) : m_worker(worker), m_link(worker.link()) {}

    void switch_off()
    {
        m_worker.report_step(CPDLANConnectionObject::tr("Disable Tile Matrix"));
        int value = 0, max = 0;
        if (m_link.get_vcp_with_max(control_code::kTileMatrix, value, max) != 0 || value != kTileMatrixOn)
            return;
        m_was_on = true;
        set(max == kTileMatrixOffWide ? kTileMatrixOffWide : kTileMatrixOff);
    }

    // Switches it on again, when it was; a refused write is tried once
    // more after a pause (and then, with |save_after_retry|, the display
    // keeps its settings).
    int restore(bool save_after_retry)
    {
        if (!m_was_on)
            return 0;
        m_worker.report_step(CPDLANConnectionObject::tr("Restore Tile Matrix"));
        int status = set(kTileMatrixOn);
        if (status != 0) {
            m_link.pause(kRetryPauseMs);
            status = set(kTileMatrixOn);
            if (save_after_retry)
                m_link.save_current_settings();
        }
        m_worker.report_step(QString());
        return status;
    }

private:
    int set(int value)
    {
        uint v = static_cast<uint>(value);
        return m_link.set_vcp(control_code::kTileMatrix, v);
    }

    CPDLANConnectionObject &m_worker;
    basic_monitor &m_link;
    bool m_was_on = false;
};

} // namespace

int analog_auto_setup(CPDLANConnectionObject &worker)
{
    basic_monitor &link = worker.link();
    tile_matrix_pause tile_matrix(worker);
    tile_matrix.switch_off();
    worker.report_step(CPDLANConnectionObject::tr("Performing Analog Auto-setup"));
    link.set_slow_link(true);
    uint start = kStart;
    const int status = link.set_vcp(control_code::kAnalogAutoSetup, start);
    link.set_slow_link(false);
    if (status == 0)
        worker.pause_with_progress(kAutoSetupMs);
    const int restored = tile_matrix.restore(false);
    worker.report_step(QString());
    return first_error(status, restored);
}

int analog_auto_gain(CPDLANConnectionObject &worker)
{
    basic_monitor &link = worker.link();
    tile_matrix_pause tile_matrix(worker);
    tile_matrix.switch_off();
    link.set_mode_c011(kExpertMode);
    worker.report_step(CPDLANConnectionObject::tr("Performing Analog Auto Bias/Gain Setup"));
    uint start = kStart;
    const int status = link.set_vcp(control_code::kAnalogAutoBiasGain, start);
    if (status == 0)
        worker.pause_with_progress(kAutoGainMs);
    worker.report_step(QString());
    int mode = link.set_mode_c011(kNormalMode);
    if (mode != 0) {
        link.pause(kRetryPauseMs);
        mode = link.set_mode_c011(kNormalMode);
    }
    const int restored = tile_matrix.restore(true);
    worker.report_step(QString());
    return first_error(first_error(status, mode), restored);
}
