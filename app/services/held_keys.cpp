#include "app/services/held_keys.h"

#include <QGuiApplication>

namespace {

std::function<Qt::KeyboardModifiers()> &source()
{
    static std::function<Qt::KeyboardModifiers()> installed;
    return installed;
}

} // namespace

Qt::KeyboardModifiers held_keyboard_modifiers()
{
    if (source())
        return source()();
    return QGuiApplication::queryKeyboardModifiers();
}

void set_held_keyboard_modifiers_source(std::function<Qt::KeyboardModifiers()> source_)
{
    source() = std::move(source_);
}
