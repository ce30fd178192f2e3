#include "dialogs/KQ_Custom_Gamma_Curve_Dialog.h"

#include "app/controller/color_calc_utils.h"
#include "app/services/ui/error_messages.h"
#include "app/services/ui/file_dialogs.h"
#include "app/services/ui/message_boxes.h"
#include "dialogs/custom_curve_file.h"
#include "ui_KQ_Custom_Gamma_Curve_Dialog.h"

KQ_Custom_Gamma_Curve_Dialog::KQ_Custom_Gamma_Curve_Dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_Custom_Gamma_Curve_DialogClass>())
{
    ui->setupUi(this);
    connect(ui->custom_curve_sRGB_pushButton, &QPushButton::clicked, this, &KQ_Custom_Gamma_Curve_Dialog::onsRGB_pushButton);
    connect(ui->custom_curve_Lstar_pushButton, &QPushButton::clicked, this, &KQ_Custom_Gamma_Curve_Dialog::onLstar_pushButton);
    connect(ui->custom_curve_NTSC_pushButton, &QPushButton::clicked, this, &KQ_Custom_Gamma_Curve_Dialog::onNTSC_pushButton);
    connect(ui->custom_curve_SMPTE_240M_pushButton, &QPushButton::clicked, this,
            &KQ_Custom_Gamma_Curve_Dialog::onSMPTE_240M_pushButton);
    connect(ui->custom_curve_Import_pushButton, &QPushButton::clicked, this, &KQ_Custom_Gamma_Curve_Dialog::onImport_pushButton);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Plotter *graph = ui->widget_Color_Custom_Curve_Graph;
    graph->setDeferRefresh(true);
    graph->setShowYTitle(false);
    graph->setShowXTitle(false);
    graph->setShowYRamp(true);
    graph->setShowXRamp(true);
    graph->setColors(Qt::black, Qt::white);
    graph->setXTitle(tr("Input Level"));
    graph->setShowXTitle(true);
    graph->setYTitle(tr("Output Luminance"));
    graph->setShowYTitle(true);
    graph->setShowTickLabels(false);
    graph->setShowTitle(false);
    graph->setDeferRefresh(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

KQ_Custom_Gamma_Curve_Dialog::~KQ_Custom_Gamma_Curve_Dialog() = default;

void KQ_Custom_Gamma_Curve_Dialog::refresh_graph()
{
    const QPen pen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    ui->widget_Color_Custom_Curve_Graph->setCurves({m_curve}, {pen});
}

void KQ_Custom_Gamma_Curve_Dialog::take_preset(int (*make)(CSpline &), int selection)
{
    make(m_curve);
    curve_selection = selection;
    refresh_graph();
}

void KQ_Custom_Gamma_Curve_Dialog::onsRGB_pushButton()
{
    take_preset(&color_calc_utils::make_srgb_curve, kSrgb);
}

void KQ_Custom_Gamma_Curve_Dialog::onLstar_pushButton()
{
    take_preset(&color_calc_utils::make_lstar_curve, kLstar);
}

void KQ_Custom_Gamma_Curve_Dialog::onNTSC_pushButton()
{
    take_preset(&color_calc_utils::make_ntsc_smpte170m_curve, kNtscSmpte170m);
}

void KQ_Custom_Gamma_Curve_Dialog::onSMPTE_240M_pushButton()
{
    take_preset(&color_calc_utils::make_smpte240m_curve, kSmpte240m);
}

void KQ_Custom_Gamma_Curve_Dialog::onImport_pushButton()
{
    const QString path = get_open_file_name(this, tr("Open Custom Curve Points text file"), QString(),
                                            tr("Text files (*.txt)"));
    if (path.isEmpty())
        return;
    CSpline read;
    const int result = read_custom_curve_file(path, read);
    if (result != 0) {
        show_error_message(this, result, false, false, false);
        return;
    }
    m_curve = read;
    curve_selection = kImportedFile;
    refresh_graph();
}
