// A Spyder3/4/5 library that lacks most entry points: the driver must
// refuse it and free it again.
#include "sensors/dccmtr_api.h"

extern "C" int32_t DC_Startup(uint8_t *, int32_t)
{
    return DC_SUCCESS;
}

extern "C" void DC_Shutdown(void) {}
