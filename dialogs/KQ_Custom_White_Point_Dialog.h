#pragma once

#include "colour/CColorTemperature.h"
#include "dialogs/guarded_sensor.h"

#include <QDialog>

#include <memory>

namespace Ui {
class KQ_Custom_White_Point_DialogClass;
}

// A target white point as a black-body temperature or as CIE xy, or
// measured from a display with the active sensor. The opener reads the
// white point and the measured luminance (-1 when nothing was measured)
// after acceptance.
class KQ_Custom_White_Point_Dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_Custom_White_Point_Dialog(CColorTemperature whitePoint, QWidget *parent = nullptr);
    ~KQ_Custom_White_Point_Dialog() override;

    CColorTemperature get_white_point() const { return m_whitePoint; }
    double measured_luminance = -1.0;

public slots:
    void on_custom_white_point_Kelvin_doubleSpinBox_valueChanged(int kelvin);
    void on_custom_white_point_CIE_y_doubleSpinBox_valueChanged(double y);
    void on_custom_white_point_CIE_x_doubleSpinBox_valueChanged(double x);
    void on_custom_white_point_BlackBody_radioButton_toggled(bool on);
    void on_custom_white_point_measure_pushButton_clicked();
    void my_accept();

private:
    void show_white_point(const CColorTemperature &white);
    void set_kelvin_box(int kelvin);
    void write_distance();

    std::unique_ptr<Ui::KQ_Custom_White_Point_DialogClass> ui;
    CColorTemperature m_whitePoint;
    guarded_sensor m_sensor;
    bool m_sensorAvailable = false;
};
