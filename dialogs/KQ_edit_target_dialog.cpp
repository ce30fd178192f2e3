#include "dialogs/KQ_edit_target_dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/color_calc_utils.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "colour/luminance_units.h"
#include "dialogs/KQ_Custom_Gamma_Curve_Dialog.h"
#include "dialogs/KQ_Custom_White_Point_Dialog.h"
#include "dialogs/dialog_strings.h"
#include "ui_KQ_edit_target_dialog.h"

#include <QButtonGroup>
#include <QSignalBlocker>

using namespace edit_target_rules;

namespace {

constexpr int kRgbGainsMethod = 1;

} // namespace

KQ_edit_target_dialog::KQ_edit_target_dialog(CTargetValue target, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_edit_target_dialogClass>()), m_target(target)
{
    ui->setupUi(this);
    m_intensityGroup = new QButtonGroup(this);
    m_gammaGroup = new QButtonGroup(this);
    connect(ui->target_Edit_White_Point_pushButton, &QPushButton::clicked, this, &KQ_edit_target_dialog::edit_white_point);
    connect(ui->target_Edit_Custom_Gamma_Curve_pushButton, &QPushButton::clicked, this,
            &KQ_edit_target_dialog::edit_custom_gamma_curve);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &KQ_edit_target_dialog::my_Accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_intensityGroup, &QButtonGroup::idClicked, this,
            &KQ_edit_target_dialog::IntensityButtonGroup);
    connect(ui->target_Contrast_Radio_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_edit_target_dialog::update_contrast_ratio);
    connect(ui->target_Intensity_Specific_Level_doubleSpinBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged),
            this, &KQ_edit_target_dialog::update_contrast_ratio);
    connect(m_gammaGroup, &QButtonGroup::idClicked, this, &KQ_edit_target_dialog::GammaButtonGroup);
    connect(ui->target_white_point_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_edit_target_dialog::target_white_point_comboBox_currentIndexChanged);

    for (const contrast_item &item : contrast_items())
        ui->target_Contrast_Radio_comboBox->addItem(tr(item.text), item.ratio);
    m_gammaGroup->addButton(ui->target_Native_Gamma_radioButton, kNativeGamma);
    m_gammaGroup->addButton(ui->target_Gamma_Value_radioButton, kGammaValue);
    m_gammaGroup->addButton(ui->target_DICOM_radioButton, kDicom);
    m_gammaGroup->addButton(ui->target_Custom_Curve_radioButton, kCustomCurve);
    m_intensityGroup->addButton(ui->target_Intensity_Specific_Level_radioButton, kSpecificLevel);
    m_intensityGroup->addButton(ui->target_Intensity_Maximum_Possible_Matching_radioButton, kMaximumMatching);
    m_intensityGroup->addButton(ui->target_Intensity_Maximum_Possible_radioButton, kMaximumPerDisplay);

    QDoubleSpinBox *level = ui->target_Intensity_Specific_Level_doubleSpinBox;
    const level_range range = specific_level_range(uses_foot_lamberts());
    ui->target_Intensity_Specific_Level_units_label->setText(luminance_unit_text());
    level->setDecimals(range.decimals);
    level->setRange(range.minimum, range.maximum);
    level->setSingleStep(range.step);

    ui->calculate_highest_intensity_white_point_pushButton->setEnabled(color_calc_utils().all_displays_measured());

    ui->intensity_label->setPixmapByFileName(QStringLiteral(":/images/Resources/brightness_flat_32x32.png"));
    ui->contrast_label->setPixmapByFileName(QStringLiteral(":/images/Resources/contrast full color.png"));
    ui->white_point_label->setPixmapByFileName(QStringLiteral(":/images/Resources/gamut white large full color.png"));
    ui->gamma_label->setPixmapByFileName(QStringLiteral(":/images/Resources/gamma blue 32.png"));
    fill_white_point_list();
    load_target();
    write_white_point_labels();

    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(layout()->sizeHint());

    const bool lookupTables = !uses_rgb_gains();
    ui->target_ContrastRatio_groupBox->setEnabled(lookupTables);
    ui->target_DICOM_radioButton->setEnabled(lookupTables);
    ui->target_Custom_Curve_radioButton->setEnabled(lookupTables);
}

KQ_edit_target_dialog::~KQ_edit_target_dialog() = default;

bool KQ_edit_target_dialog::uses_rgb_gains() const
{
    const CPreferences *preferences = g_master ? g_master->getPreferences() : nullptr;
    return preferences && preferences->GetCalibrationMethod() == kRgbGainsMethod;
}

void KQ_edit_target_dialog::fill_white_point_list()
{
    QComboBox *combo = ui->target_white_point_comboBox;
    const QSignalBlocker block(combo);
    combo->clear();
    m_whitePoints = make_white_point_list(m_target.GetWhitePoint());
    for (int i = 0; i < m_whitePoints.entries.size(); ++i) {
        const bool custom = m_whitePoints.has_custom && i == m_whitePoints.entries.size() - 1;
        combo->addItem(white_point_item_text(m_whitePoints, i), custom ? -1 : 0);
    }
    combo->setCurrentIndex(m_whitePoints.selected);
}

void KQ_edit_target_dialog::load_target()
{
    ui->target_Contrast_Radio_comboBox->setCurrentIndex(contrast_index(m_target.GetContrastRatio()));
    ui->target_gamma_doubleSpinBox->setValue(m_target.GetGamma());
    ui->target_Intensity_Specific_Level_doubleSpinBox->setValue(cd_m2_to_display_units(m_target.GetSpecifiedLuminance()));
    // A gamma type without a button (BT.1886) leaves every gamma button
    // unchecked, and OK keeps the type unless the operator picks one.
    if (QAbstractButton *button = m_gammaGroup->button(m_target.GetGammaType()))
        button->click();
    click_intensity_button(m_target.GetIntensityMode());
    enable_white_point_controls();
}

void KQ_edit_target_dialog::click_intensity_button(int mode)
{
    if (QAbstractButton *button = m_intensityGroup->button(mode))
        button->click();
}

void KQ_edit_target_dialog::enable_white_point_controls()
{
    const int index = ui->target_white_point_comboBox->currentIndex();
    const bool native = index >= 0 && index < m_whitePoints.entries.size() && m_whitePoints.entries[index].IsNative();
    ui->target_Intensity_Specific_Level_radioButton->setEnabled(!native);
    ui->target_Edit_White_Point_pushButton->setEnabled(!native);
}

void KQ_edit_target_dialog::write_white_point_labels()
{
    const CColorTemperature white = m_target.GetWhitePoint();
    ui->target_white_point_color_temp_label->setText(color_temperature_text(white));
    ui->target_white_point_CIE_xy_label->setText(cie_xy_text(white));
}

void KQ_edit_target_dialog::IntensityButtonGroup(int)
{
    const int id = m_intensityGroup->checkedId();
    m_target.SetIntensityMode(id);
    const bool specific = id == kSpecificLevel;
    ui->target_Intensity_Specific_Level_doubleSpinBox->setEnabled(specific);
    ui->target_Intensity_Specific_Level_units_label->setEnabled(specific);
    update_contrast_ratio();
}

void KQ_edit_target_dialog::IntensityWhitePointButtonGroup(int)
{
}

void KQ_edit_target_dialog::GammaButtonGroup(int type)
{
    ui->target_gamma_doubleSpinBox->setEnabled(type == kGammaValue);
    ui->target_Edit_Custom_Gamma_Curve_pushButton->setEnabled(type == kCustomCurve);
    if (!uses_rgb_gains())
        ui->target_ContrastRatio_groupBox->setEnabled(type != kNativeGamma);
}

void KQ_edit_target_dialog::use_scale_factor_checkBox_stateChanged(int)
{
}

void KQ_edit_target_dialog::update_contrast_ratio()
{
    ui->target_Contrast_BlackLevel_label->setText(
        black_level_text(m_intensityGroup->checkedId(), ui->target_Contrast_Radio_comboBox->currentData().toInt(),
                         ui->target_Intensity_Specific_Level_doubleSpinBox->value()));
}

void KQ_edit_target_dialog::target_white_point_comboBox_currentIndexChanged(int index)
{
    if (index >= 0 && index < m_whitePoints.entries.size()) {
        m_target.SetWhitePoint(m_whitePoints.entries[index]);
        if (m_whitePoints.entries[index].IsNative())
            m_target.SetIntensityMode(kMaximumPerDisplay);
    }
    write_white_point_labels();
    click_intensity_button(m_target.GetIntensityMode());
    enable_white_point_controls();
}

void KQ_edit_target_dialog::on_calculate_highest_intensity_white_point_pushButton_clicked()
{
    color_calc_utils calc(this);
    if (calc.calculate_best_common_white_point(m_target) != 0)
        return;
    fill_white_point_list();
    write_white_point_labels();
}

void KQ_edit_target_dialog::edit_white_point()
{
    KQ_Custom_White_Point_Dialog dialog(m_target.GetWhitePoint(), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_target.SetWhitePoint(dialog.get_white_point());
        fill_white_point_list();
        write_white_point_labels();
    }
    const double luminance = dialog.measured_luminance;
    if (!offers_measured_luminance(luminance))
        return;
    const QString question = string_resource(dialog_strings::kUseMeasuredLuminance)
                                 .arg(to_display_luminance_text(luminance, 1, true));
    if (show_message_box(this, question, nullptr, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                         QMessageBox::Question, false, false)
        != QMessageBox::Yes)
        return;
    ui->target_Intensity_Specific_Level_doubleSpinBox->setValue(cd_m2_to_display_units(luminance));
    m_target.SetIntensityMode(kSpecificLevel);
    click_intensity_button(kSpecificLevel);
}

void KQ_edit_target_dialog::edit_custom_gamma_curve()
{
    KQ_Custom_Gamma_Curve_Dialog dialog;
    dialog.set_curve(m_target.GetCurve());
    dialog.curve_selection = m_target.GetCurveSelection();
    dialog.refresh_graph();
    if (dialog.exec() != QDialog::Accepted || !takes_curve(dialog.get_curve(), m_target.GetCurve()))
        return;
    m_target.SetCurve(dialog.get_curve());
    m_target.SetCurveSelection(dialog.curve_selection);
}

void KQ_edit_target_dialog::my_Accept()
{
    accepted_controls controls;
    const int intensity = m_intensityGroup->checkedId();
    controls.intensity_mode = intensity > 0 ? intensity : m_target.GetIntensityMode();
    controls.specific_level = ui->target_Intensity_Specific_Level_doubleSpinBox->value();
    controls.gamma_type = m_gammaGroup->checkedId();
    controls.gamma_value = ui->target_gamma_doubleSpinBox->value();
    controls.contrast_ratio = ui->target_Contrast_Radio_comboBox->currentData().toInt();
    accept_into(m_target, controls);
    accept();
}
