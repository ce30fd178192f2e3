// An i1Display Pro library that lacks most entry points: the driver must
// refuse to bind it.
#include "sensors/i1d3_api.h"

extern "C" i1d3Status i1d3Initialize(void)
{
    return I1D3_SUCCESS;
}

extern "C" i1d3Status i1d3Destroy(void)
{
    return I1D3_SUCCESS;
}
