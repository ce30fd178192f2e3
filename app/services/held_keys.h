#pragma once

#include <Qt>

#include <functional>

// The keyboard modifiers held at this moment, asked of the window system
// (QGuiApplication::queryKeyboardModifiers), not taken from the last input
// event: start-up checks whether Shift is held while no event has arrived yet.
Qt::KeyboardModifiers held_keyboard_modifiers();

// Test seam: while a source is installed, it answers in place of the window
// system (which an offscreen test cannot press keys on). An empty function
// brings the window system back.
//
//   set_held_keyboard_modifiers_source([] { return Qt::KeyboardModifiers(Qt::ShiftModifier); });
void set_held_keyboard_modifiers_source(std::function<Qt::KeyboardModifiers()> source);
