#include "app/services/thread_sleep.h"

#include "display_protocol/wait_service.h"

void sleep_ms(int milliseconds)
{
    wait_service::sleep_ms(milliseconds);
}
