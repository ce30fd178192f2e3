#pragma once

#include "app/services/frame_pacer.h"

#include <QList>
#include <QWidget>

class KQ_display_layout_widget;
class QGridLayout;
class QSpacerItem;
class layout_manager;

// The picture of the wall: one tile per display at the display's column
// and row, exactly one of them selected. Its signals carry a display's
// index in the layout model. The tiles are built once; a wall of another
// size needs a new view.
class KQ_central_display_widget : public QWidget
{
    Q_OBJECT

public:
    KQ_central_display_widget(QWidget *parent, layout_manager *layout);

    const QList<KQ_display_layout_widget *> &tiles() const { return m_tiles; }
    bool view_expansion() const { return m_expand; }

signals:
    void selection_changed_out(int layoutArrayPosition);
    void identify_display_out(int layoutArrayPosition);
    void power_on_display_out(int layoutArrayPosition, int state);
    void focus_changed_out2(QWidget *widget);
    void set_osd_orientation_out(int layoutArrayPosition, int value);

public slots:
    void selection_changed(int layoutArrayPosition);
    void identify_display(int layoutArrayPosition);
    void power_on_display(int layoutArrayPosition, int state);
    void set_osd_orientation(int layoutArrayPosition, int value);
    void select_first_position();
    void focus_changed_in(QWidget *widget);
    void select_position(int position);
    void set_view_expansion(bool in_view_expansion);

private:
    KQ_display_layout_widget *add_tile(int index);
    void place_spacers();
    void follow_records();
    void follow_layout();
    void refresh_tiles();

    QGridLayout *m_grid;
    layout_manager *m_layout;
    KQ_display_layout_widget *m_first = nullptr;
    QList<KQ_display_layout_widget *> m_tiles;
    QSpacerItem *m_bottom = nullptr;
    QSpacerItem *m_right = nullptr;
    bool m_expand = false;
    frame_pacer m_layout_changes;
};
