#pragma once

#include "ui_KQ_display_layout_ID_widget.h"

#include <QWidget>

// The monitor ID of the first display. Its page sets the range and registers
// the spin box as a field.
class KQ_display_layout_ID_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_ID_widget(QWidget *parent = nullptr);

    Ui::KQ_display_layout_ID_widgetClass ui;
};
