#pragma once

#include "app/controller/display_layout_item.h"
#include "views/wall/display_tile_view.h"
#include "views/widgets/high_dpi_picture.h"

#include <QAbstractButton>
#include <QHash>
#include <QString>

#include <memory>

class QAction;

// One tile of the wall view: a square button for one display, showing its
// number, state, status icons, job ring, hover and selection. Everything it
// shows is decided by tile_view_of; this widget reads the model, draws and
// turns its context menu into signals.
class KQ_display_layout_widget : public QAbstractButton
{
    Q_OBJECT

public:
    explicit KQ_display_layout_widget(QWidget *parent = nullptr);
    ~KQ_display_layout_widget() override;

    void set_layout_index(int index);
    int layout_index() const { return m_index; }
    const tile_view &view() const { return m_view; }
    bool hovered() const { return m_hover; }

    QSize minimumSizeHint() const override;

signals:
    void identify_display_out(int layoutArrayPosition);
    void power_on_display_out(int layoutArrayPosition, int state);
    void set_osd_orientation_out(int layoutArrayPosition, int value);
    void focus_changed_out(QWidget *widget);
    void selected(int layoutArrayPosition);

public slots:
    void updateInfo();
    void display_job_status_info_item_changed(int position);
    void disable();
    void selection_changed(bool checked);
    void identify_display();
    void power_on_display();
    void power_off_display();
    void edit_calibration_target_offset();
    void set_orientation_landscape();
    void set_orientation_portrait();

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void set_enabled_in_layout(bool enabled);
    void set_orientation(int orientation, int osd_value);
    // Brings the context menu's check marks and enabling up to the model.
    void update_action_states();
    bool read_item();
    void draw_ring(QPainter &painter, const QColor &fill);
    void draw_icons(QPainter &painter, const QRect &frame);
    void draw_text(QPainter &painter, const QRect &frame);

    int m_index = -1;
    display_layout_item m_item;
    tile_view m_view;
    bool m_hover = false;
    QHash<QString, std::shared_ptr<high_dpi_picture>> m_pictures;

    QAction *m_disable;
    QAction *m_identify;
    QAction *m_power_on;
    QAction *m_power_off;
    QAction *m_edit_offset;
    QAction *m_landscape;
    QAction *m_portrait;
};
