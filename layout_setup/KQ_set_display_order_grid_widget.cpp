#include "layout_setup/KQ_set_display_order_grid_widget.h"

#include "layout_setup/KQ_set_display_order_layout_widget.h"

#include <QGridLayout>

KQ_set_display_order_grid_widget::KQ_set_display_order_grid_widget(QWidget *parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Mid);
    setAutoFillBackground(true);
}

QList<display_position> KQ_set_display_order_grid_widget::positionList() const
{
    return m_chosen;
}

void KQ_set_display_order_grid_widget::setInitalPositionList(QList<display_position> in_initial_display_position_list)
{
    m_initial = in_initial_display_position_list;
    UpdateWidget();
}

void KQ_set_display_order_grid_widget::UpdateWidget()
{
    // A new list of displays replaces the buttons and the order of the old one.
    for (KQ_set_display_order_layout_widget *old : findChildren<KQ_set_display_order_layout_widget *>(
             QString(), Qt::FindDirectChildrenOnly))
        delete old;
    delete m_grid;
    m_chosen.clear();
    m_firstButton = nullptr;

    m_grid = new QGridLayout;
    for (const display_position &position : qAsConst(m_initial)) {
        auto *button = new KQ_set_display_order_layout_widget(this, position.column, position.row);
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &KQ_set_display_order_layout_widget::selected, this,
                &KQ_set_display_order_grid_widget::selection_changed);
        connect(button, &KQ_set_display_order_layout_widget::highlighted, this,
                &KQ_set_display_order_grid_widget::highlight_changed);
        connect(this, &KQ_set_display_order_grid_widget::reset_layout_widgets, button,
                &KQ_set_display_order_layout_widget::reset);
        m_grid->addWidget(button, position.row, position.column);
        if (!m_firstButton)
            m_firstButton = button;
    }
    setLayout(m_grid);
    if (m_firstButton)
        m_firstButton->setFocus();
}

void KQ_set_display_order_grid_widget::selection_changed(int x, int y)
{
    auto *button = qobject_cast<KQ_set_display_order_layout_widget *>(sender());
    if (!button)
        return;
    button->SetLayoutArrayPosition(m_chosen.size());
    m_chosen.append(display_position{x, y});
    if (m_chosen.size() >= m_initial.size())
        emit complete();
    emit ensurevistible(button);
}

void KQ_set_display_order_grid_widget::reset()
{
    m_chosen.clear();
    emit reset_layout_widgets();
    if (m_firstButton)
        m_firstButton->setFocus();
}

void KQ_set_display_order_grid_widget::highlight_changed(int, int)
{
    if (auto *button = qobject_cast<QWidget *>(sender()))
        emit ensurevistible(button);
}
