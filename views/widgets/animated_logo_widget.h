#pragma once

#include <QPixmap>
#include <QTimer>
#include <QVector>
#include <QWidget>

// The About box's looping logo: three pictures cross-fading and sliding,
// light or inverted to suit the window colour, reloaded at the screen's
// pixel ratio when the window moves to another screen.
class animated_logo_widget : public QWidget
{
    Q_OBJECT

public:
    explicit animated_logo_widget(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

public slots:
    void update_image();
    void screenChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    int m_phase;
    QTimer m_timer;
    QVector<QPixmap> m_frames;
    QSize m_logoSize;
    int m_scale = 0;
};
