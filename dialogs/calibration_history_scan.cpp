#include "dialogs/calibration_history_scan.h"

history_scan_result scan_calibration_history(const QList<calibration_history_item> &history,
                                             const QList<quint8> &user_kinds, const QList<quint8> &factory_kinds)
{
    history_scan_result result;
    bool other_event = false;
    for (const calibration_history_item &item : history) {
        if (user_kinds.contains(item.type) || factory_kinds.contains(item.type)) {
            result.found = user_kinds.contains(item.type) ? history_scan_result::kUser : history_scan_result::kFactory;
            result.entry = item;
            return result;
        }
        other_event = other_event || item.type == calibration_history_item::kOtherEvent;
    }
    if (other_event)
        result.found = history_scan_result::kFactory;
    return result;
}
