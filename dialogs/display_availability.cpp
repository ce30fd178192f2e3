#include "dialogs/display_availability.h"

#include "app/controller/display_layout_item.h"

#include <QCoreApplication>

QString display_unavailable_text(const display_layout_item &item)
{
    if (!item.enabled)
        return QCoreApplication::translate("display_status", "Disabled");
    if (item.id_conflict)
        return QCoreApplication::translate("display_status", "ID Conflict");
    if (item.verify_status != display_layout_item::kVerified)
        return QCoreApplication::translate("display_status", "Not verified");
    return QString();
}
