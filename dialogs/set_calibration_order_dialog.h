#pragma once

#include <QDialog>

#include <memory>

class QWidget;

namespace Ui {
class set_calibration_order_dialogClass;
}

// The order in which the wall's displays are calibrated: the operator clicks
// them in turn, and Apply rewrites the order of the layout's records.
class set_calibration_order_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit set_calibration_order_dialog(QWidget *parent = nullptr);
    ~set_calibration_order_dialog() override;

    bool event(QEvent *event) override;

public slots:
    void complete();
    void on_reset_pushButton_clicked();
    void on_ok_pushButton_clicked();
    void on_cancel_pushButton_clicked();
    void update_size();
    void ensurevistible(QWidget *childWidget);

private:
    std::unique_ptr<Ui::set_calibration_order_dialogClass> ui;
};
