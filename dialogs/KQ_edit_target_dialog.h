#pragma once

#include "colour/CTargetValue.h"
#include "dialogs/edit_target_rules.h"

#include <QDialog>

#include <memory>

class QButtonGroup;

namespace Ui {
class KQ_edit_target_dialogClass;
}

// The calibration target: intensity, contrast, white point and gamma. It
// edits its own copy; the opener reads it after acceptance and decides how
// to apply it.
class KQ_edit_target_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_edit_target_dialog(CTargetValue target, QWidget *parent = nullptr);
    ~KQ_edit_target_dialog() override;

    CTargetValue target() const { return m_target; }

public slots:
    void on_calculate_highest_intensity_white_point_pushButton_clicked();
    void my_Accept();
    void edit_white_point();
    void edit_custom_gamma_curve();
    void IntensityButtonGroup(int id);
    void IntensityWhitePointButtonGroup(int id);
    void GammaButtonGroup(int type);
    void use_scale_factor_checkBox_stateChanged(int state);
    void target_white_point_comboBox_currentIndexChanged(int index);
    void update_contrast_ratio();

private:
    void fill_white_point_list();
    void load_target();
    void write_white_point_labels();
    void click_intensity_button(int mode);
    void enable_white_point_controls();
    bool uses_rgb_gains() const;

    std::unique_ptr<Ui::KQ_edit_target_dialogClass> ui;
    CTargetValue m_target;
    QButtonGroup *m_intensityGroup = nullptr;
    QButtonGroup *m_gammaGroup = nullptr;
    edit_target_rules::white_point_list m_whitePoints;
};
