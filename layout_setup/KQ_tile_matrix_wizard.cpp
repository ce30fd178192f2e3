#include "layout_setup/KQ_tile_matrix_wizard.h"

#include "app/controller/layout_manager.h"
#include "layout_setup/tile_matrix_pages.h"

#include <QIcon>
#include <QPixmap>
#include <QVariant>

KQ_tile_matrix_wizard::KQ_tile_matrix_wizard(layout_manager &layout, QWidget *parent)
    : QWizard(parent), m_layout(layout)
{
    setPage(kTileMatrixIntroPage, new TileMatrixIntroPage);
    setPage(kTileMatrixTypeSelectionPage, new TileMatrixTypeSelectionPage(this));
    setPage(kTileMatrixDisplaysSelectionPage, new TileMatrixDisplaysSelectionPage(this));
    setPage(kTileMatrixFinalPage, new TileMatrixFinalPage(this));
    setStartId(kTileMatrixIntroPage);

    setWizardStyle(QWizard::ModernStyle);
    setOption(QWizard::NoCancelButton, false);
    setPixmap(QWizard::LogoPixmap, QPixmap(QStringLiteral(":/images/Resources/varkel icon 32.png")));
    setWindowIcon(QIcon(QStringLiteral(":/images/Resources/varkel icon.png")));
    setWindowTitle(tr("Tile Matrix Configuration Wizard"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

tile_matrix_wall KQ_tile_matrix_wizard::wall() const
{
    tile_matrix_wall wall;
    m_layout.get_size(wall.columns, wall.rows);
    wall.displays = m_layout.item_count();
    return wall;
}

int KQ_tile_matrix_wizard::nextId() const
{
    return tile_matrix_next_page(currentId(), wall(),
                                 field(QStringLiteral("display_selection.multiple_groups_radio")).toBool());
}
