#include "resources/tessaline_resources.h"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE declares the bundle's registration function where it is
// used, so it must stand outside any namespace.
static void register_bundle()
{
    Q_INIT_RESOURCE(tessaline);
    Q_INIT_RESOURCE(tessaline_pictures);
}

void tessaline_init_resources()
{
    static std::once_flag once;
    std::call_once(once, register_bundle);
}
