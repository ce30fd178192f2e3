#pragma once

#include "app/controller/display_position.h"

#include <QList>
#include <QWidget>

class QGridLayout;

// The wall as one button per display at its column and row; the operator
// clicks the displays in the order they are to be calibrated. The grid keeps
// the positions in the order clicked and tells when every display has one.
class KQ_set_display_order_grid_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_set_display_order_grid_widget(QWidget *parent = nullptr);

    // The positions in the order they were clicked.
    QList<display_position> positionList() const;

signals:
    void complete();
    void reset_layout_widgets();
    void ensurevistible(QWidget *childWidget);

public slots:
    void selection_changed(int x, int y);
    void reset();
    void UpdateWidget();
    void setInitalPositionList(QList<display_position> in_initial_display_position_list);
    void highlight_changed(int x, int y);

private:
    QGridLayout *m_grid = nullptr;
    QList<display_position> m_chosen;
    QList<display_position> m_initial;
    QWidget *m_firstButton = nullptr;
};
