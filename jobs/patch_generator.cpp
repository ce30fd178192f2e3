#include "jobs/patch_generator.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

namespace {

constexpr uint kEngineOn = 2;

} // namespace

bool engine_patch_generator_on(basic_monitor &link)
{
    uint value = 0;
    return link.get_vcp(control_code::kEngineSwitch, value) == 0 && value == kEngineOn;
}
