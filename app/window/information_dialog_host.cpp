#include "app/window/information_dialog_host.h"

#include "app/controller/master_globals.h"
#include "app/window/Tessaline.h"
#include "dialogs/KQ_Information_Dialog.h"

KQ_Information_Dialog *create_information_dialog(Tessaline &window)
{
    auto *dialog = new KQ_Information_Dialog(&window);
    g_information_dialog = dialog;
    QObject::connect(dialog, &QObject::destroyed, [dialog] {
        if (g_information_dialog == dialog)
            g_information_dialog = nullptr;
    });
    QObject::connect(&window, &Tessaline::selection_changed_out, dialog, &KQ_Information_Dialog::selection_changed);
    QObject::connect(dialog, &KQ_Information_Dialog::selection_changed_out, &window, &Tessaline::selection_changed);
    dialog->selection_changed(window.selected_display_index());
    return dialog;
}
