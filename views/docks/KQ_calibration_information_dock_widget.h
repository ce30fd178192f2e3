#pragma once

#include <QButtonGroup>
#include <QWidget>

#include <memory>

namespace Ui {
class KQ_calibration_information_dock_widgetClass;
}

// The Display Measurements dock: the selected display's white intensity on a
// meter against the target, and its white point on the chromaticity target,
// as measured before calibration or after it. Everything is read again from
// the layout, the record store and the target on each update.
class KQ_calibration_information_dock_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_calibration_information_dock_widget(QWidget *parent = nullptr);
    ~KQ_calibration_information_dock_widget() override;

public slots:
    void selection_changed(int layoutArrayPosition);
    void SetWhitePointMeasuredValue(double x, double y, double Y);
    void SetWhitePointTargetxy(double x, double y, bool uses_target_offset);
    void SetWhitePointTargetLuminanceTargetLevel(double value, bool show, bool uses_target_offset);
    void SetWhitePointTargetLuminanceMinMax(double min, double max);
    void UpdateDataDisplay();
    void showDataButtonGroupButtonGroup(int id);

private:
    void UpdateData();

    std::unique_ptr<Ui::KQ_calibration_information_dock_widgetClass> ui;
    int m_selectedIndex = -1;
    QButtonGroup m_choice;
};
