#include "layout_setup/tile_matrix_pages.h"

#include "app/controller/layout_manager.h"
#include "jobs/job_task_type.h"
#include "jobs/ui/KQ_multithreaded_operation_progress_dialog.h"
#include "layout_setup/KQ_tile_matrix_diagram_widget.h"
#include "layout_setup/KQ_tile_matrix_wizard.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QVariant>

namespace {

const char *const kAllDisplaysField = "display_selection.all_displays_radio";
const char *const kMultipleGroupsField = "display_selection.multiple_groups_radio";
const char *const kTurnOffField = "display_selection.turn_off_radio";
const char *const kAreaFields[] = {"min_x", "min_y", "max_x", "max_y"};

QString name(const char *field)
{
    return QString::fromLatin1(field);
}

QLabel *wrapped_label(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// Runs the jobs of |plan| through the progress dialog until it closes.
void run_tile_matrix_jobs(const QList<tile_matrix_job> &plan)
{
    KQ_multithreaded_operation_progress_dialog dialog;
    for (const tile_matrix_job &job : plan) {
        job_list_item item;
        item.task_list = {JOB_TASK_VCP_LIST};
        item.vcp_list = job.controls;
        dialog.add_job(item, {job.layout_index},
                       QCoreApplication::translate("TileMatrixFinalPage", "Updating Tile Matrix settings"));
    }
    // Nothing queued (a rectangle of empty cells) leaves nothing to watch.
    if (dialog.start_jobs() < 0)
        return;
    dialog.exec();
}

} // namespace

TileMatrixIntroPage::TileMatrixIntroPage()
{
    setTitle(tr("Introduction"));
    setSubTitle(tr("This wizard will assist in configuring the Tile Matrix settings."));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(wrapped_label(
        tr("On the following pages you will be able to configure how a video source is divided between multiple "
           "displays using the internal Tile Matrix processing. <br><br>Click <b>Next</b> to continue.")));
}

TileMatrixTypeSelectionPage::TileMatrixTypeSelectionPage(KQ_tile_matrix_wizard *wizard)
    : m_wizard(wizard)
    , m_allDisplays(new QRadioButton(tr("All displays in the video wall are used as a single Tile Matrix")))
    , m_multipleGroups(
          new QRadioButton(tr("Video wall is divided into multiple groups of displays that use Tile Matrix")))
    , m_turnOff(new QRadioButton(tr("Turn off Tile Matrix on all displays in the video wall")))
{
    setTitle(tr("Specify the Tile Matrix configuration"));
    setSubTitle(tr("Select how the displays will be used with Tile Matrix in this video wall"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_allDisplays);
    layout->addWidget(m_multipleGroups);
    layout->addWidget(m_turnOff);
    layout->addStretch();
    m_allDisplays->setChecked(true);
    registerField(name(kAllDisplaysField), m_allDisplays);
    registerField(name(kMultipleGroupsField), m_multipleGroups);
    registerField(name(kTurnOffField), m_turnOff);
}

void TileMatrixTypeSelectionPage::initializePage()
{
    const tile_matrix_wall wall = m_wizard->wall();
    m_multipleGroups->setEnabled(wall.groups_possible());
    if (!wall.fits_one_matrix()) {
        m_allDisplays->setEnabled(false);
        m_multipleGroups->setChecked(true);
    }
}

TileMatrixDisplaysSelectionPage::TileMatrixDisplaysSelectionPage(KQ_tile_matrix_wizard *wizard)
    : m_wizard(wizard)
    , m_diagram(new KQ_tile_matrix_diagram_widget)
    , m_note(new QLabel(tr("<b>Note:</b> The maximum size of a Tile Matrix area is 10 rows or columns.")))
{
    setTitle(tr("Select the displays to be configured to use Tile Matrix"));
    setSubTitle(tr("First, click on the square representing the top left display of the Tile Matrix and then click "
                   "on the square representing the bottom right display."));
    auto *layout = new QGridLayout(this);
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setWidget(m_diagram);
    layout->addWidget(scroll, 0, 0);
    layout->addWidget(m_note, 1, 0);
    for (const char *field : kAreaFields)
        registerField(name(field), m_diagram, field, SIGNAL(changed()));
    connect(m_diagram, &KQ_tile_matrix_diagram_widget::valid, this, &TileMatrixDisplaysSelectionPage::valid);
}

void TileMatrixDisplaysSelectionPage::initializePage()
{
    const tile_matrix_wall wall = m_wizard->wall();
    m_diagram->setRows(wall.rows);
    m_diagram->setColumns(wall.columns);
    m_diagram->showCurrentlySelectedDisplay(true);
    m_note->setVisible(!wall.fits_one_matrix());
}

bool TileMatrixDisplaysSelectionPage::isComplete() const
{
    return m_valid;
}

void TileMatrixDisplaysSelectionPage::valid(bool valid)
{
    m_valid = valid;
    emit completeChanged();
}

TileMatrixFinalPage::TileMatrixFinalPage(KQ_tile_matrix_wizard *wizard)
    : m_wizard(wizard)
    , m_tileComp(new QCheckBox(tr("Use Tile Comp (bezel width compensation)")))
    , m_update(new QPushButton(tr("Update displays")))
    , m_backHint(new QLabel(tr("Click the <b>Back</b> button to configure additional groups if necessary.")))
{
    setTitle(tr("Apply settings"));
    setSubTitle(tr("The wizard is now ready to apply the Tile Matrix settings. Click <b>Update Displays</b> to "
                   "begin."));
    m_tileComp->setObjectName(QStringLiteral("tile_comp_checkBox"));
    m_update->setObjectName(QStringLiteral("update_pushButton"));
    m_backHint->setObjectName(QStringLiteral("back_hint_label"));
    m_tileComp->setChecked(true);
    m_backHint->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tileComp);
    auto *button_row = new QHBoxLayout;
    button_row->addWidget(m_update);
    button_row->addStretch();
    layout->addLayout(button_row);
    layout->addWidget(m_backHint);
    layout->addStretch();
    connect(m_update, &QPushButton::clicked, this, &TileMatrixFinalPage::update_buttonClicked);
}

void TileMatrixFinalPage::initializePage()
{
    m_tileComp->setVisible(!field(name(kTurnOffField)).toBool());
}

bool TileMatrixFinalPage::isComplete() const
{
    return m_applied;
}

void TileMatrixFinalPage::update_buttonClicked()
{
    const bool turnOff = field(name(kTurnOffField)).toBool();
    const bool groups = field(name(kMultipleGroupsField)).toBool();
    tile_matrix_area area = tile_matrix_area::whole(m_wizard->wall());
    if (!turnOff && !field(name(kAllDisplaysField)).toBool())
        area = tile_matrix_area{field(name("min_x")).toInt(), field(name("min_y")).toInt(),
                                field(name("max_x")).toInt(), field(name("max_y")).toInt()};
    const layout_manager &layout = m_wizard->layout();
    run_tile_matrix_jobs(tile_matrix_apply_plan(
        area, turnOff ? tile_matrix_action::turn_off : tile_matrix_action::turn_on, m_tileComp->isChecked(),
        [&layout](int column, int row) { return layout.find_item_by_position(column, row); }));
    m_applied = true;
    emit completeChanged();
    m_backHint->setVisible(groups);
}
