#pragma once

#include <QMessageBox>
#include <QTimer>

class QCheckBox;
class QGridLayout;
class QLabel;

// The program's message box: it can close itself after a countdown, sit on
// the left half of the screen, and offer "Don't show this again". Setting
// text, buttons or icon rebuilds the box's grid; redoLayout() puts the
// countdown label and the check box back afterwards.
class MyCustomMessageBox : public QMessageBox
{
    Q_OBJECT
    Q_PROPERTY(int counter READ counter)

public:
    MyCustomMessageBox(QWidget *parent, int countdownSeconds, bool placeOnLeftHalf, bool showDontShowCheckBox);
    ~MyCustomMessageBox() override;

    int counter() const { return m_secondsLeft; }
    // False when the box has no check box.
    bool isDontShowChecked() const;

public slots:
    int exec() override;
    void on_timeout();
    void redoLayout();

private:
    void placeOnLeftHalf(QWidget *parent);
    void addCheckBox(QGridLayout *grid);
    void addCountdownLabel(QGridLayout *grid);

    QTimer m_timer;
    QCheckBox *m_dontShowCheckBox = nullptr;
    int m_secondsLeft = 0;
    QLabel *m_countdownLabel = nullptr;
};
