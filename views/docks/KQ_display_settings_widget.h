#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class KQ_display_settings_widgetClass;
}

// The Display Control dock: power the selected display or all displays on
// or off, or switch their video input, each as display jobs in the
// operation progress dialog.
class KQ_display_settings_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_settings_widget(QWidget *parent = nullptr);
    ~KQ_display_settings_widget() override;

public slots:
    void selection_changed(int position);
    void power_on();
    void power_off();
    void update_ui_state();
    void on_video_input_update_pushButton_clicked();
    void on_video_input_comboBox_currentIndexChanged(int index);

private:
    QList<int> positions() const;

    std::unique_ptr<Ui::KQ_display_settings_widgetClass> ui;
    int m_currentPosition = 0;
};
