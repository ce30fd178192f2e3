#pragma once

#include "ui_KQ_display_layout_size_widget.h"

#include <QWidget>

// The wall's size in columns and rows, with a live diagram of the array and a
// warning when the size passes the 100-display limit.
class KQ_display_layout_size_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_layout_size_widget(QWidget *parent = nullptr);

    Ui::KQ_display_layout_size_widgetClass ui;

signals:
    void size_valid(bool valid);

public slots:
    void check_if_valid();
};
