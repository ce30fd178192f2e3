#pragma once

#include "views/widgets/CornerUniformitySet.h"

#include <QWidget>

// One display as a small landscape or portrait outline: the operator picks a
// corner, and a correction level (0, 1 or 2) for it in the nested triangles
// at that corner or with + and -. Each corner is tinted by its correction.
// The diagram keeps a new corner selection itself but never a new level:
// the owner applies what the signals report and sends the block again.
class KQ_corner_uniformity_diagram_widget : public QWidget
{
    Q_OBJECT

public:
    explicit KQ_corner_uniformity_diagram_widget(QWidget *parent = nullptr);

    void setCornerUniformityData(const CornerUniformitySet &data);

signals:
    void selected_corner_position_changed(int layoutArrayPosition, int selected_cornerPosition);
    void selected_corner_uniformity_level_changed(int layoutArrayPosition, int uniformity_level);

public slots:
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    void showHover(bool show);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool portrait() const { return m_data.portrait != 0; }
    bool showLevels() const { return m_data.show_levels != 0; }
    // The pointer in diagram units.
    QPointF toDiagram(const QPoint &pos) const;
    bool usable(const QPointF &point) const;
    int levelOf(int corner) const;
    void setCornerCursor(int corner, bool usable);
    void paintTints(QPainter &painter, const QColor &fill);
    void paintLevels(QPainter &painter);
    void paintHoveredCorner(QPainter &painter);
    void paintLabel(QPainter &painter);

    bool m_hover = false;
    bool m_showHover = true;
    CornerUniformitySet m_data;
    int m_pressedCorner = -1;
    int m_pressedLevel = -1;
    int m_hoveredLevel = -1;
    int m_hoveredCorner = -1;
    int m_selectedCorner = -1;
    bool m_pressed = false;
};
