#pragma once

#include <QWidget>

#include <memory>

struct record_reset_plan;

namespace Ui {
class KQ_status_operations_widgetClass;
}

// The Reset/Restore dock: forget the stored measurements or calibration
// results of the selected display or of all displays (in the record store
// only, after the operator confirms), or write the stored calibration
// settings back into the calibrated displays.
class KQ_status_operations_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_status_operations_widget(QWidget *parent = nullptr);
    ~KQ_status_operations_widget() override;

public slots:
    void selection_changed(int position);
    void reset_Calibration();
    void reset_Measurements();
    void restore_Calibration_Settings();
    void update_ui_state();

private:
    // Asks the plan's question; on Yes clears the records it names.
    void reset_records(const record_reset_plan &plan);
    bool apply_to_all() const;

    std::unique_ptr<Ui::KQ_status_operations_widgetClass> ui;
    int m_currentPosition = 0;
};
