#pragma once

class KQ_Information_Dialog;
class Tessaline;

// Creates the program's one information dialog, hidden, as a child of
// |window| (it goes with the window), publishes it as g_information_dialog
// until it is destroyed, and makes the selected display follow between the
// window and the dialog's tables.
KQ_Information_Dialog *create_information_dialog(Tessaline &window);
