#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class KQ_colorimeter_widgetClass;
}

// The Colorimeter dock: one spot reading with the active sensor, on demand,
// set up for the display selected in the wall view, shown as CIE xyY, colour
// temperature and distance from the Planckian locus.
class KQ_colorimeter_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_colorimeter_widget(QWidget *parent = nullptr);
    ~KQ_colorimeter_widget() override;

public slots:
    void selection_changed(int position);
    void sensor_changed();
    void on_measure_pushButton_clicked();

private:
    int backlight_type() const;

    std::unique_ptr<Ui::KQ_colorimeter_widgetClass> ui;
    int m_selectedIndex = 0;
    bool m_measuring = false; // a click during the measurement's event pass starts nothing
};
