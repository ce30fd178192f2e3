#pragma once

#include "layout_setup/tile_matrix_plan.h"

#include <QWizard>

class layout_manager;

// The wizard that sets up the displays' own Tile Matrix processing (one
// video source spread over a rectangle of displays): for the whole wall,
// for rectangular groups picked on a diagram, or off everywhere. Its last
// page writes the displays through display jobs; nothing is read back.
class KQ_tile_matrix_wizard : public QWizard
{
    Q_OBJECT

public:
    explicit KQ_tile_matrix_wizard(layout_manager &layout, QWidget *parent = nullptr);

    layout_manager &layout() const { return m_layout; }
    // The wall's size and display count, as the layout holds them now.
    tile_matrix_wall wall() const;

    int nextId() const override;

private:
    layout_manager &m_layout;
};
