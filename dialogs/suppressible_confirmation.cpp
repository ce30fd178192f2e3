#include "dialogs/suppressible_confirmation.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"

bool confirm_unless_suppressed(QWidget *parent, int message_id, int text_id)
{
    CPreferences *preferences = g_master ? g_master->getPreferences() : nullptr;
    if (preferences && preferences->IsMessageSuppressed(message_id))
        return true;
    bool dont_show = true;
    const int answer = show_message_box(parent, string_resource(text_id), &dont_show,
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Warning,
                                        false, false);
    if (dont_show && preferences)
        preferences->SuppressMessage(message_id);
    return answer == QMessageBox::Yes;
}
