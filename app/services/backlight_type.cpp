#include "app/services/backlight_type.h"

#include "app/services/preferences.h"
#include "app/services/shell_registry.h"

namespace {

constexpr int kCcflBacklight = 0;
constexpr int kLedBacklight = 3;

enum preferred_backlight : quint8 { kByModel = 0, kCcfl = 1, kLed = 2 };

} // namespace

int backlight_type_for_model(const QString &model)
{
    const CPreferences *preferences = shell_registry::preferences();
    if (!preferences)
        return kCcflBacklight;
    switch (preferences->GetBacklightType()) {
    case kCcfl:
        return kCcflBacklight;
    case kLed:
        return kLedBacklight;
    case kByModel:
        return shell_registry::model_list().contains(model, Qt::CaseInsensitive) ? kCcflBacklight
                                                                                  : kLedBacklight;
    }
    return kCcflBacklight;
}
