#include "app/services/ui/message_boxes.h"

#include "app/services/string_resource.h"
#include "app/services/ui/error_messages.h"
#include "app/services/ui/my_custom_message_box.h"
#include "app/services/ui/voice_prompts.h"

#include <functional>

namespace {

constexpr int kCountdownSeconds = 60;

struct box_content {
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::Icon icon;
};

int run_box(QWidget *parent, const box_content &content, bool *dontShow, bool countdown,
            bool placeOnLeftHalf, const std::function<void()> &beforeShowing = {})
{
    MyCustomMessageBox box(parent, countdown ? kCountdownSeconds : 0, placeOnLeftHalf, dontShow && *dontShow);
    box.setWindowTitle(string_resource(string_id::kApplicationName));
    box.setText(content.text);
    box.setStandardButtons(content.buttons);
    box.setDefaultButton(content.defaultButton);
    box.setIcon(content.icon);
    box.redoLayout();
    if (beforeShowing)
        beforeShowing();
    const int result = box.exec();
    if (dontShow)
        *dontShow = box.isDontShowChecked();
    return result;
}

} // namespace

int show_message_box(QWidget *parent, const QString &text, bool *dontShow,
                     QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                     QMessageBox::Icon icon, bool countdown, bool placeOnLeftHalf)
{
    return run_box(parent, {text, buttons, defaultButton, icon}, dontShow, countdown, placeOnLeftHalf);
}

int show_notice_box(QWidget *parent, const QString &text, bool *dontShow, QMessageBox::Icon icon,
                    bool countdown, bool placeOnLeftHalf)
{
    return run_box(parent, {text, QMessageBox::Ok, QMessageBox::Ok, icon}, dontShow, countdown,
                   placeOnLeftHalf);
}

void show_error_message(QWidget *parent, int code, bool playPrompt, bool countdown, bool placeOnLeftHalf)
{
    box_content content{QString(), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Critical};
    error_code_message_id(code, content.text, content.icon);
    run_box(parent, content, nullptr, countdown, placeOnLeftHalf, [playPrompt] {
        if (playPrompt)
            play_voice_prompt(kVoicePromptError);
    });
}
