#pragma once

#include <QWidget>

// A small picture of the screen with the uniformity measurement points on
// it: a grid of the chosen counts and one point in the centre.
class kq_uniformity_correction_measurment_point_widget : public QWidget
{
    Q_OBJECT

public:
    explicit kq_uniformity_correction_measurment_point_widget(QWidget *parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

    int numPointsX() const { return m_x; }
    int numPointsY() const { return m_y; }
    bool portrait() const { return m_portrait; }

public slots:
    void setNumPointsX(int x);
    void setNumPointsY(int y);
    void setOrientation(bool rotate_to_portrait);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_x = 2;
    int m_y = 2;
    bool m_portrait = false;
};
