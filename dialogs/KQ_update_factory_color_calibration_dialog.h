#pragma once

#include "dialogs/guarded_sensor.h"

#include <QDialog>
#include <QList>

#include <memory>

namespace Ui {
class KQ_update_factory_color_calibration_dialogClass;
}
struct job_list_item;

// Lists every display with the state of its internal colour reference (from
// the calibration history the display keeps) and updates the selected ones
// from the colour sensor, resets them to the factory calibration, or reads
// their histories again, each as display jobs.
class KQ_update_factory_color_calibration_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_update_factory_color_calibration_dialog(QWidget *parent = nullptr);
    ~KQ_update_factory_color_calibration_dialog() override;

    // Refills the table; 1 when any display's state is undetermined, else 0.
    int update_status_table();
    // The layout indexes of the selected rows that may be updated or reset.
    QList<int> selected_display_indexes() const;

private slots:
    void on_done_pushButton_clicked();
    void on_status_tableWidget_itemSelectionChanged();
    void on_refresh_pushButton_clicked();
    void on_reset_to_factory_pushButton_clicked();
    void on_update_calibration_pushButton_clicked();

private:
    void read_histories();
    void run_jobs(const job_list_item &job, const QList<int> &positions, const QString &title);
    void fit_table();

    std::unique_ptr<Ui::KQ_update_factory_color_calibration_dialogClass> ui;
    guarded_sensor m_sensor;
};
