#pragma once

#include <QWizardPage>

class KQ_tile_matrix_diagram_widget;
class KQ_tile_matrix_wizard;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The four pages of the tile matrix wizard.

class TileMatrixIntroPage : public QWizardPage
{
    Q_OBJECT

public:
    TileMatrixIntroPage();
};

// Whole wall, groups, or off.
class TileMatrixTypeSelectionPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit TileMatrixTypeSelectionPage(KQ_tile_matrix_wizard *wizard);
    void initializePage() override;

private:
    KQ_tile_matrix_wizard *m_wizard;
    QRadioButton *m_allDisplays;
    QRadioButton *m_multipleGroups;
    QRadioButton *m_turnOff;
};

// One group, picked on the diagram.
class TileMatrixDisplaysSelectionPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit TileMatrixDisplaysSelectionPage(KQ_tile_matrix_wizard *wizard);
    void initializePage() override;
    bool isComplete() const override;
    KQ_tile_matrix_diagram_widget *diagram() const { return m_diagram; }

public slots:
    void valid(bool valid);

private:
    KQ_tile_matrix_wizard *m_wizard;
    KQ_tile_matrix_diagram_widget *m_diagram;
    QLabel *m_note;
    bool m_valid = false;
};

// Writes the displays; Finish only once that has run.
class TileMatrixFinalPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit TileMatrixFinalPage(KQ_tile_matrix_wizard *wizard);
    void initializePage() override;
    bool isComplete() const override;

public slots:
    void update_buttonClicked();

private:
    KQ_tile_matrix_wizard *m_wizard;
    QCheckBox *m_tileComp;
    QPushButton *m_update;
    QLabel *m_backHint;
    bool m_applied = false;
};
