#pragma once

#include "ui_KQ_display_interconnection_select_widget.h"

#include <QWidget>

// How the displays are joined to each other: an RS-232 daisy chain, a LAN daisy
// chain, or each display on the LAN (optionally all with one monitor ID). Its
// page registers the choices as fields and decides what they allow.
class KQ_display_interconnection_select_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_interconnection_select_widget(QWidget *parent = nullptr);

    Ui::KQ_display_interconnection_select_widgetClass ui;
};
