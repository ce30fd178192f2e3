#pragma once

#include <QAbstractButton>

// One display on the calibration order picture: a square button at the
// display's column and row that shows "# n" once it has been given its place
// in the order. Clicking a button that already has a number changes nothing.
class KQ_set_display_order_layout_widget : public QAbstractButton
{
    Q_OBJECT

public:
    KQ_set_display_order_layout_widget(QWidget *parent, int x, int y);

    QSize minimumSizeHint() const override;

signals:
    void selected(int x, int y);
    void highlighted(int x, int y);

public slots:
    // |in_pos| is the 0-based place in the order, -1 for none.
    void SetLayoutArrayPosition(int in_pos);
    void reset();
    void selection_changed(bool checked);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool chosen() const { return m_orderIndex >= 0; }

    int m_orderIndex = -1;
    int m_x;
    int m_y;
    bool m_pointerInside = false;
};
