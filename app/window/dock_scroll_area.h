#pragma once

#include <QScrollArea>

// Holds a dock's content so that the dock can be shorter than its content:
// the content keeps its full width and scrolls up and down where the window
// is too short for it, instead of docks being drawn over each other.
class dock_scroll_area : public QScrollArea
{
    Q_OBJECT

public:
    explicit dock_scroll_area(QWidget *content, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
