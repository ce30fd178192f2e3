#include "views/wall/KQ_central_display_widget.h"

#include "app/controller/MasterControl.h"
#include "app/controller/layout_builder.h"
#include "app/controller/layout_manager.h"
#include "app/controller/master_globals.h"
#include "colour/CMonitorTracker.h"
#include "colour/stored_records_follower.h"
#include "views/wall/KQ_display_layout_widget.h"

#include <QGridLayout>
#include <QSpacerItem>

namespace {

QSizePolicy::Policy tile_policy(bool expand) { return expand ? QSizePolicy::Expanding : QSizePolicy::Minimum; }

// The spacers take the room the packed tiles leave; expanded, the tiles take it.
QSizePolicy::Policy spacer_policy(bool expand) { return expand ? QSizePolicy::Minimum : QSizePolicy::Expanding; }

// Every display inside a wall that can exist. A wall from elsewhere that is
// not gets an empty view rather than a runaway grid; the tiles stay one per
// display, in the model's order, or there are none.
bool fits_a_grid(const layout_manager *layout)
{
    int columns = 0;
    int rows = 0;
    if (!layout)
        return false;
    const int count = layout->get_size(columns, rows);
    if (!is_valid_wall_size(columns, rows))
        return false;
    for (int i = 0; i < count; ++i) {
        display_layout_item item;
        layout->get_item(i, item);
        if (item.column < 0 || item.column >= columns || item.row < 0 || item.row >= rows)
            return false;
    }
    return true;
}

} // namespace

KQ_central_display_widget::KQ_central_display_widget(QWidget *parent, layout_manager *layout)
    : QWidget(parent), m_grid(new QGridLayout), m_layout(layout),
      m_layout_changes([this](int) { refresh_tiles(); })
{
    setBackgroundRole(QPalette::Mid);
    setAutoFillBackground(true);
    if (fits_a_grid(m_layout)) {
        for (int i = 0; i < m_layout->item_count(); ++i)
            add_tile(i);
    }
    place_spacers();
    setLayout(m_grid);
    follow_records();
    follow_layout();
    emit selection_changed_out(0);
}

// The display jobs store records from their own threads, dozens at a time on
// a large wall: one refresh of the tiles per burst, not of every tile per record.
void KQ_central_display_widget::follow_records()
{
    if (CMonitorTracker *records = g_master ? g_master->getMonitorTracker() : nullptr)
        follow_stored_records(*records, this, [this] { refresh_tiles(); });
}

// An operation marks every display of the wall in turn, and each finished
// job changes the layout again: one refresh of the tiles per frame, not of
// every tile per change. A job's progress concerns one tile only.
void KQ_central_display_widget::follow_layout()
{
    if (!m_layout)
        return;
    connect(m_layout, &layout_manager::layout_changed, this, [this] { m_layout_changes.request(0); });
    connect(m_layout, &layout_manager::item_changed, this, [this] { m_layout_changes.request(0); });
    connect(m_layout, &layout_manager::display_job_status_info_item_changed, this, [this](int index) {
        if (index >= 0 && index < m_tiles.size())
            m_tiles.at(index)->display_job_status_info_item_changed(index);
    });
}

void KQ_central_display_widget::refresh_tiles()
{
    for (KQ_display_layout_widget *tile : qAsConst(m_tiles))
        tile->updateInfo();
}

KQ_display_layout_widget *KQ_central_display_widget::add_tile(int index)
{
    display_layout_item item;
    m_layout->get_item(index, item);
    auto *tile = new KQ_display_layout_widget(this);
    m_tiles.append(tile);
    tile->setCheckable(true);
    tile->setAutoExclusive(true);
    tile->setSizePolicy(tile_policy(m_expand), tile_policy(m_expand));
    tile->set_layout_index(index);

    connect(tile, &KQ_display_layout_widget::selected, this, &KQ_central_display_widget::selection_changed);
    connect(tile, &KQ_display_layout_widget::identify_display_out, this,
            &KQ_central_display_widget::identify_display);
    if (g_master)
        connect(g_master, &MasterControl::targetChanged, tile, &KQ_display_layout_widget::updateInfo);
    connect(tile, &KQ_display_layout_widget::power_on_display_out, this,
            &KQ_central_display_widget::power_on_display);
    connect(tile, &KQ_display_layout_widget::set_osd_orientation_out, this,
            &KQ_central_display_widget::set_osd_orientation);
    connect(tile, &KQ_display_layout_widget::focus_changed_out, this, &KQ_central_display_widget::focus_changed_in);

    if (index == 0) {
        tile->setChecked(true);
        m_first = tile;
    }
    m_grid->addWidget(tile, item.row, item.column);
    return tile;
}

void KQ_central_display_widget::place_spacers()
{
    int columns = 0;
    int rows = 0;
    if (m_layout)
        m_layout->get_size(columns, rows);
    if (!is_valid_wall_size(columns, rows))
        columns = rows = 0;
    m_bottom = new QSpacerItem(1, 1, QSizePolicy::Minimum, spacer_policy(m_expand));
    m_right = new QSpacerItem(1, 1, spacer_policy(m_expand), QSizePolicy::Minimum);
    m_grid->addItem(m_bottom, rows, 0, -1, -1);
    m_grid->addItem(m_right, 0, columns, -1, -1);
}

void KQ_central_display_widget::selection_changed(int layoutArrayPosition)
{
    emit selection_changed_out(layoutArrayPosition);
}

void KQ_central_display_widget::identify_display(int layoutArrayPosition)
{
    emit identify_display_out(layoutArrayPosition);
}

void KQ_central_display_widget::power_on_display(int layoutArrayPosition, int state)
{
    emit power_on_display_out(layoutArrayPosition, state);
}

void KQ_central_display_widget::set_osd_orientation(int layoutArrayPosition, int value)
{
    emit set_osd_orientation_out(layoutArrayPosition, value);
}

void KQ_central_display_widget::select_first_position()
{
    if (!m_first)
        return;
    m_first->setChecked(true);
    emit selection_changed_out(0);
}

void KQ_central_display_widget::focus_changed_in(QWidget *widget) { emit focus_changed_out2(widget); }

void KQ_central_display_widget::select_position(int position)
{
    if (position < 0 || position >= m_tiles.size())
        return;
    KQ_display_layout_widget *tile = m_tiles.at(position);
    tile->setChecked(true);
    emit focus_changed_out2(tile);
}

void KQ_central_display_widget::set_view_expansion(bool in_view_expansion)
{
    m_expand = in_view_expansion;
    for (KQ_display_layout_widget *tile : m_tiles)
        tile->setSizePolicy(tile_policy(m_expand), tile_policy(m_expand));
    if (m_bottom && m_right) {
        m_bottom->changeSize(1, 1, QSizePolicy::Minimum, spacer_policy(m_expand));
        m_right->changeSize(1, 1, spacer_policy(m_expand), QSizePolicy::Minimum);
    }
    m_grid->invalidate();
}
