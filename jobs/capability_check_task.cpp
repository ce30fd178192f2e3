#include "jobs/capability_check_task.h"

#include "app/controller/display_commands.h"
#include "app/services/firmware_versions.h"
#include "colour/CornerUniformityEntry.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/display_task_inputs.h"
#include "jobs/listed_engine_models.h"
#include "jobs/patch_generator.h"
#include "jobs/task_result_codes.h"

namespace {

enum verify_status_value : qint32 {
    kUsable = 1,
    kIdentityUnreadable = 2,
    kListedOrNoPatterns = 3,
    kFirmwareTooOld = 4,
    kSwitchedOff = 5,
};

enum firmware_verdict : qint16 { kFirmwareUnknown = 0, kFirmwareSupported = 1, kFirmwareTooOldWord = 2 };

constexpr int kMacAddressIndex = 0;
constexpr int kNoLanSelector = 255;

// One check of one display.
class capability_check
{
public:
    capability_check(CPDLANConnectionObject &worker, bool full)
        : m_worker(worker), m_link(worker.link())
    {
        load_display_record(worker.job(), m_record, true);
        m_extended = full || m_record.firmware_version.isEmpty();
        m_sub_steps = m_extended ? 2 : 1;
    }

    int run()
    {
        m_worker.report_step(CPDLANConnectionObject::tr("Checking capabilities..."));
        m_worker.report_sub_step(0, m_sub_steps, QString());
        m_record.SetCapabilityWordA(m_link.supports_vcp_1147_and_1192() ? 1 : 0);
        if (is_listed_engine_model(m_worker.job().job_parameters.model_name)) {
            m_worker.report_sub_step(1, m_sub_steps, QStringLiteral(" "));
            set_verdict(kListedOrNoPatterns);
            return 0;
        }
        read_uniformity();
        int pattern = 0;
        if (m_link.get_vcp_2c8_or_2c3(pattern, engine_patch_generator_on(m_link)) != 0)
            return without_patterns();
        set_verdict(kUsable);
        read_mac_address();
        return m_extended ? read_identity() : 0;
    }

    const monitor_tracker_item &record() const { return m_record; }

private:
    void set_verdict(qint32 status) { m_worker.job().job_parameters.verify_status = status; }

    void read_uniformity()
    {
        uint level = 0;
        if (m_link.get_vcp(control_code::kUniformityLevel, level) == 0)
            m_record.SetCapabilityWordK(static_cast<qint16>(level));
        const bool corners = m_link.supports_corner_uniformity();
        m_record.SetCapabilityFlags(corners ? 1 : 0);
        if (corners) {
            for (int corner = 0; corner < CAdjustValue::kCornerCount; ++corner)
                read_corner(corner);
        }
        m_record.SetCapabilityFlagC(corners ? 1 : 0);
    }

    // A corner whose offsets are not half its spans has been trimmed.
    void read_corner(int corner)
    {
        CornerUniformityEntry entry;
        if (m_link.get_corner_uniformity(corner, entry) != 0)
            return;
        m_record.SetChannelEntry(corner, entry);
        const bool centred = static_cast<quint32>(entry.first_offset) == static_cast<quint32>(entry.first_span) / 2
                             && static_cast<quint32>(entry.second_offset)
                                    == static_cast<quint32>(entry.second_span) / 2;
        if (!centred)
            m_record.visual_trim_flags |= CAdjustValue::kTrimCorners;
    }

    // A display that cannot show test patterns is usable only while on.
    int without_patterns()
    {
        set_verdict(kListedOrNoPatterns);
        quint8 power = 0;
        if (const int status = m_link.get_power_state(power))
            return status;
        if (power != job_power_request::kOn) {
            set_verdict(kSwitchedOff);
            return kErrDisplayNotPoweredOn;
        }
        m_worker.report_sub_step(1, m_sub_steps, QStringLiteral(" "));
        return 0;
    }

    void read_mac_address()
    {
        QString address;
        if (m_link.get_mac_address(kMacAddressIndex, address) != 0) {
            int port = 0, selector = 0;
            if (m_link.get_lan_text_c22a(port, selector, address) != 0 || selector == kNoLanSelector)
                address.clear();
        }
        m_record.SetMacAddress(address);
    }

    int read_identity()
    {
        m_worker.report_sub_step(1, m_sub_steps, QString());
        m_record.firmware_version.clear();
        QString first, second, third, fourth;
        const int status = m_link.get_identity_strings(first, second, third, fourth);
        m_record.firmware_version = first;
        if (status != 0) {
            m_record.SetCapabilityWord(kFirmwareUnknown);
            set_verdict(kIdentityUnreadable);
            return status;
        }
        QString minimum;
        if (minimum_firmware_for_model(m_worker.job().job_parameters.model_name, first, minimum)) {
            m_record.SetCapabilityWord(kFirmwareSupported);
        } else {
            m_record.SetCapabilityWord(kFirmwareTooOldWord);
            set_verdict(kFirmwareTooOld);
        }
        m_worker.report_sub_step(2, m_sub_steps, QStringLiteral(" "));
        return 0;
    }

    CPDLANConnectionObject &m_worker;
    basic_monitor &m_link;
    monitor_tracker_item m_record;
    bool m_extended = false;
    int m_sub_steps = 1;
};

} // namespace

int check_capabilities(CPDLANConnectionObject &worker, bool full)
{
    if (const int status = worker.ensure_display_identified())
        return status;
    capability_check check(worker, full);
    const int status = check.run();
    store_display_record(check.record());
    return status;
}
