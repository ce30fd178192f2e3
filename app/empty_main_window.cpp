#include "app/empty_main_window.h"

empty_main_window::empty_main_window() : QLabel(tr("Tessaline"))
{
    setWindowTitle(tr("Tessaline"));
    setMinimumSize(480, 240);
    setAlignment(Qt::AlignCenter);
}
