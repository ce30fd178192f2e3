#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class KQ_display_test_pattern_widgetClass;
}

// The Test Pattern dock: off, the calibrated white (with or without the
// visual trim) or a full white on the selected display or on all displays,
// each sent as display jobs in the operation progress dialog.
class KQ_display_test_pattern_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_display_test_pattern_widget(QWidget *parent = nullptr);
    ~KQ_display_test_pattern_widget() override;

signals:
    // True after the calibrated white with trim was sent, false after any other.
    void test_patterns_changed(bool evaluating);

public slots:
    void selection_changed(int position);
    void pattern_off();
    void pattern_calibrated();
    void pattern_full();
    void pattern_calibrated_with_trim();
    void update_ui_state();

private:
    void send_pattern(int pattern);

    std::unique_ptr<Ui::KQ_display_test_pattern_widgetClass> ui;
    int m_currentPosition = 0;
};
