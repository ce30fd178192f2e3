#pragma once

// Stand-in for the wall layout diagram until layout_setup provides it.
#include <QWidget>

class KQ_display_array_size_diagram_widget : public QWidget
{
    Q_OBJECT
public:
    explicit KQ_display_array_size_diagram_widget(QWidget* parent = nullptr) : QWidget(parent) {}
};
