#include "sensors/low_light_averaging.h"

#include "app/services/measurement_preferences.h"

namespace low_light_averaging {

bool enabled()
{
    return measurement_preferences::low_light_averaging();
}

unsigned repeat_count(double firstY, unsigned count, bool averagingOn)
{
    if (!averagingOn)
        return count;
    if (firstY < 3.0)
        return 3;
    if (firstY < 10.0)
        return 2;
    return count;
}

} // namespace low_light_averaging
