#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class kq_target_summary_widgetClass;
}

// The Calibration Target dock: the current target in four lines and an
// Edit... button. It keeps no copy of the target; each refresh reads it.
class kq_target_summary_widget : public QWidget
{
    Q_OBJECT

public:
    explicit kq_target_summary_widget(QWidget *parent = nullptr);
    ~kq_target_summary_widget() override;

signals:
    void edit_target();

public slots:
    void updateTargetInfo();
    void on_edit_pushButton_clicked();

private:
    std::unique_ptr<Ui::kq_target_summary_widgetClass> ui;
};
