#include "colour/CTargetValue.h"
#include "tests/support/headless_controller.h"
#include "app/services/preferences.h"
#include "views/docks/kq_target_summary_widget.h"
#include "views/docks/target_summary.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const char *const kValueLabels[] = {"main_Target_White_Point_Text", "main_Target_Gamma_Text",
                                    "main_Target_Intensity_Text", "main_Target_Contrast_Ratio_Text"};
const char *const kContrastRow[] = {"main_Target_Contrast_Ratio_Text", "main_Target_Contrast_Ratio_label",
                                    "main_Target_Contrast_Ratio_icon_label"};

QLabel *label(QWidget &parent, const char *name)
{
    auto *found = parent.findChild<QLabel *>(QLatin1String(name));
    if (!found)
        qFatal("no label %s", name);
    return found;
}

CTargetValue target_with_contrast(quint32 ratio)
{
    CTargetValue target;
    target.SetIntensityMode(CTargetValue::kIntensitySpecified);
    target.SetSpecifiedLuminance(250.0);
    target.SetGammaType(CTargetValue::kGammaPower);
    target.SetGamma(2.4);
    target.SetContrastRatio(ratio);
    target.SetWhitePoint(CColorTemperature(quint16(6500)));
    return target;
}

} // namespace

class tst_target_summary : public QObject
{
    Q_OBJECT

private slots:
    void contrast_row_by_calibration_method_data();
    void contrast_row_by_calibration_method();
    void every_value_shows_a_dash_before_the_first_refresh();
    void refresh_reads_the_current_target();
    void gains_grey_out_the_contrast_row_but_keep_its_text();
    void edit_asks_for_the_target_dialog();
};

void tst_target_summary::contrast_row_by_calibration_method_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("lookup tables") << 0 << true;
    QTest::newRow("RGB gains") << 1 << false;
    QTest::newRow("unknown method") << 2 << true;
}

void tst_target_summary::contrast_row_by_calibration_method()
{
    QFETCH(int, method);
    const target_summary summary = summarize_target(target_with_contrast(1000), method);
    QTEST(summary.contrast_row_enabled, "enabled");
    QCOMPARE(summary.contrast_ratio, target_with_contrast(1000).GetContrastRatioText());
}

void tst_target_summary::every_value_shows_a_dash_before_the_first_refresh()
{
    headless_controller wall;
    kq_target_summary_widget widget;
    for (const char *name : kValueLabels)
        QCOMPARE(label(widget, name)->text(), QStringLiteral("-"));
}

void tst_target_summary::refresh_reads_the_current_target()
{
    headless_controller wall;
    kq_target_summary_widget widget;
    const CTargetValue target = target_with_contrast(1000);
    wall.controller().setTarget(target);
    widget.updateTargetInfo();
    QCOMPARE(label(widget, "main_Target_White_Point_Text")->text(), target.GetWhitePointText());
    QVERIFY(label(widget, "main_Target_White_Point_Text")->text().endsWith(QLatin1Char('K')));
    QCOMPARE(label(widget, "main_Target_Gamma_Text")->text(), QStringLiteral("2.40"));
    QCOMPARE(label(widget, "main_Target_Intensity_Text")->text(), target.GetIntensityText(true));
    QVERIFY(label(widget, "main_Target_Intensity_Text")->text().startsWith(QStringLiteral("250")));
    QCOMPARE(label(widget, "main_Target_Contrast_Ratio_Text")->text(), target.GetContrastRatioText());
    for (const char *name : kContrastRow)
        QVERIFY(label(widget, name)->isEnabled());
}

void tst_target_summary::gains_grey_out_the_contrast_row_but_keep_its_text()
{
    headless_controller wall;
    kq_target_summary_widget widget;
    wall.controller().setTarget(target_with_contrast(0));
    wall.controller().getPreferences()->SetCalibrationMethod(1);
    widget.updateTargetInfo();
    for (const char *name : kContrastRow)
        QVERIFY(!label(widget, name)->isEnabled());
    wall.controller().setTarget(target_with_contrast(800));
    widget.updateTargetInfo();
    QCOMPARE(label(widget, "main_Target_Contrast_Ratio_Text")->text(), QStringLiteral("800:1"));
    wall.controller().getPreferences()->SetCalibrationMethod(0);
    widget.updateTargetInfo();
    for (const char *name : kContrastRow)
        QVERIFY(label(widget, name)->isEnabled());
}

void tst_target_summary::edit_asks_for_the_target_dialog()
{
    headless_controller wall;
    kq_target_summary_widget widget;
    QSignalSpy edits(&widget, &kq_target_summary_widget::edit_target);
    widget.findChild<QPushButton *>(QStringLiteral("edit_pushButton"))->click();
    QCOMPARE(edits.size(), 1);
}

QTEST_MAIN(tst_target_summary)
#include "tst_target_summary.moc"
