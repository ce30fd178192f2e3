#pragma once

#include "colour/CSpline.h"

#include <QDialog>

#include <memory>

namespace Ui {
class KQ_Custom_Gamma_Curve_DialogClass;
}

// The custom tone curve of the target: a standard curve or one read from a
// points file. The opener sets the curve and selection, calls
// refresh_graph, runs the dialog and reads both back after acceptance.
class KQ_Custom_Gamma_Curve_Dialog : public QDialog
{
    Q_OBJECT

public:
    enum Selection { kNone = 0, kSrgb = 1, kNtscSmpte170m = 2, kSmpte240m = 3, kLstar = 4, kImportedFile = 5 };

    explicit KQ_Custom_Gamma_Curve_Dialog(QWidget *parent = nullptr);
    ~KQ_Custom_Gamma_Curve_Dialog() override;

    CSpline get_curve() const { return m_curve; }
    void set_curve(const CSpline &curve) { m_curve = curve; }
    int curve_selection = kNone;

    void refresh_graph();

private slots:
    void onsRGB_pushButton();
    void onLstar_pushButton();
    void onNTSC_pushButton();
    void onSMPTE_240M_pushButton();
    void onImport_pushButton();

private:
    void take_preset(int (*make)(CSpline &), int selection);

    std::unique_ptr<Ui::KQ_Custom_Gamma_Curve_DialogClass> ui;
    CSpline m_curve;
};
