#include "app/controller/color_calc_utils.h"
#include "app/services/preferences.h"
#include "colour/luminance_units.h"
#include "dialogs/KQ_Custom_Gamma_Curve_Dialog.h"
#include "dialogs/KQ_Custom_White_Point_Dialog.h"
#include "dialogs/KQ_edit_target_dialog.h"
#include "dialogs/custom_white_point_rules.h"
#include "dialogs/edit_target_rules.h"
#include "modal_answer.h"
#include "sensors/CTargetSensor.h"
#include "simulated_instrument_control.h"
#include "simulator/light/light_channel.h"
#include "tests/support/form_child.h"
#include "tests/support/headless_controller.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace edit_target_rules;

namespace {

const QString kDisplayKey = QStringLiteral("127.0.0.1/1");

CTargetValue target_with(const CColorTemperature &white, int intensity = kSpecificLevel, int gamma = kGammaValue)
{
    CTargetValue target;
    target.SetWhitePoint(white);
    target.SetIntensityMode(intensity);
    target.SetGammaType(gamma);
    target.SetGamma(2.2);
    target.SetSpecifiedLuminance(300.0);
    target.SetContrastRatio(0);
    return target;
}

void press_ok(QDialog *dialog)
{
    form_child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class tst_edit_target_dialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<headless_controller> m_wall;
    QTemporaryDir m_light;

    CPreferences &preferences() { return *m_wall->controller().getPreferences(); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_light.isValid());
    }
    void init() { m_wall = std::make_unique<headless_controller>(); }
    void cleanup()
    {
        cancel_pending_modal_answers();
        luminance_units::set_uses_foot_lamberts(false);
        m_wall.reset();
    }

    // --- rules without a window ---

    void white_point_selection_data()
    {
        QTest::addColumn<CColorTemperature>("white");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("custom");
        QTest::newRow("6500 K") << CColorTemperature(quint16(6500)) << 7 << false;
        QTest::newRow("D65 by xy") << CColorTemperature(CIExy{0.3127, 0.3290}) << 2 << false;
        QTest::newRow("D50 to the thousandth") << CColorTemperature(CIExy{0.3458, 0.3586}) << 0 << false;
        // The chromaticity of 6500 K is D65's to the thousandth: never the 6500K item.
        const CColorTemperature k6500(quint16(6500));
        QTest::newRow("xy of 6500 K") << CColorTemperature(k6500.GetCIExy()) << 2 << false;
        QTest::newRow("off the list") << CColorTemperature(CIExy{0.30, 0.35}) << 11 << true;
        QTest::newRow("6600 K") << CColorTemperature(quint16(6600)) << 11 << true;
        QTest::newRow("native") << CColorTemperature(quint16(0)) << 11 << true;
    }

    void white_point_selection()
    {
        QFETCH(CColorTemperature, white);
        QFETCH(int, selected);
        QFETCH(bool, custom);
        const white_point_list list = make_white_point_list(white);
        QCOMPARE(list.selected, selected);
        QCOMPARE(list.has_custom, custom);
        QCOMPARE(list.entries.size(), custom ? 12 : 11);
        if (custom)
            QCOMPARE(white_point_item_text(list, 11), QStringLiteral("Custom"));
        QCOMPARE(white_point_item_text(list, 2), QStringLiteral("D65"));
        QCOMPARE(white_point_item_text(list, 4), QStringLiteral("4500K"));
    }

    void black_level_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("ratio");
        QTest::addColumn<double>("level");
        QTest::addColumn<QString>("text");
        QTest::newRow("300 at 500:1") << 3 << 500 << 300.0 << QStringLiteral("Black Level: 0.60 cd/m\u00b2");
        QTest::newRow("default ratio") << 3 << 0 << 300.0 << QString();
        QTest::newRow("maximum per display") << 1 << 500 << 300.0 << QString();
        QTest::newRow("maximum matching") << 2 << 500 << 300.0 << QString();
    }

    void black_level()
    {
        QFETCH(int, mode);
        QFETCH(int, ratio);
        QFETCH(double, level);
        QTEST(black_level_text(mode, ratio, level), "text");
    }

    void contrast_items_and_unknown_ratio()
    {
        QCOMPARE(contrast_items().size(), 12);
        QCOMPARE(contrast_index(450), 2);
        QCOMPARE(contrast_index(50), 11);
        QCOMPARE(contrast_index(600), 0);
    }

    void specific_level_range_per_unit()
    {
        luminance_units::set_uses_foot_lamberts(true);
        const level_range fl = specific_level_range(true);
        // 40 and 3000 cd/m² over 3.426, as the box shows them with one decimal.
        QCOMPARE(QString::number(fl.minimum, 'f', 1), QStringLiteral("11.7"));
        QCOMPARE(QString::number(fl.maximum, 'f', 1), QStringLiteral("875.7"));
        QCOMPARE(fl.decimals, 1);
        QCOMPARE(fl.step, 1.0);
        luminance_units::set_uses_foot_lamberts(false);
        const level_range cd = specific_level_range(false);
        QCOMPARE(cd.minimum, 40.0);
        QCOMPARE(cd.maximum, 3000.0);
        QCOMPARE(cd.decimals, 0);
        QCOMPARE(cd.step, 5.0);
    }

    void measured_luminance_offer()
    {
        QVERIFY(!offers_measured_luminance(-1.0));
        QVERIFY(!offers_measured_luminance(40.0));
        QVERIFY(offers_measured_luminance(40.1));
    }

    void acceptance_by_gamut_kind_data()
    {
        QTest::addColumn<int>("gamutKind");
        QTest::addColumn<int>("gammaChecked");
        QTest::addColumn<int>("gammaType");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("contrast");
        QTest::newRow("free gamut") << 0 << 3 << 3 << 2.4 << 300;
        QTest::newRow("fixed gamut") << 1 << 3 << 5 << 2.2 << 100;
        QTest::newRow("no gamma button checked") << 0 << -1 << 5 << 2.4 << 300;
    }

    void acceptance_by_gamut_kind()
    {
        QFETCH(int, gamutKind);
        QFETCH(int, gammaChecked);
        CTargetValue target = target_with(CColorTemperature(quint16(6500)), kMaximumPerDisplay, 5);
        target.SetContrastRatio(100);
        target.SetGamutKind(gamutKind);
        accepted_controls controls;
        controls.intensity_mode = kSpecificLevel;
        controls.specific_level = 250.0;
        controls.gamma_type = gammaChecked;
        controls.gamma_value = 2.4;
        controls.contrast_ratio = 300;
        accept_into(target, controls);
        QTEST(target.GetGammaType(), "gammaType");
        QTEST(target.GetGamma(), "gamma");
        QTEST(int(target.GetContrastRatio()), "contrast");
        QCOMPARE(target.GetIntensityMode(), int(kSpecificLevel));
        QCOMPARE(target.GetSpecifiedLuminance(), 250.0);
    }

    void custom_white_point_rules_table()
    {
        using namespace custom_white_point_rules;
        QCOMPARE(white_at(0.31274, 0.32896).GetX(), 0.3127);
        QVERIFY(!white_at(0.3127, 0.329).IsKelvinSpecified());
        QCOMPARE(distance_text(CColorTemperature(quint16(9300))), QStringLiteral("0.0000 \u0394uv"));
        QVERIFY(in_normal_range(CColorTemperature(quint16(2500))));
        QVERIFY(in_normal_range(CColorTemperature(quint16(12000))));
        QVERIFY(!in_normal_range(CColorTemperature(quint16(12001))));
        QVERIFY(!in_normal_range(CColorTemperature(CIExy{0.15, 0.3})));
    }

    // --- the edit target dialog ---

    void opens_with_custom_entry_and_keeps_one()
    {
        const CColorTemperature odd(CIExy{0.30, 0.35});
        KQ_edit_target_dialog dialog(target_with(odd));
        auto *combo = form_child<QComboBox>(&dialog, "target_white_point_comboBox");
        QCOMPARE(combo->count(), 12);
        QCOMPARE(combo->currentText(), QStringLiteral("Custom"));
        QCOMPARE(combo->currentData().toInt(), -1);
        combo->setCurrentIndex(7);
        QCOMPARE(dialog.target().GetWhitePoint(), CColorTemperature(quint16(6500)));
        // Back through the custom dialog with another odd white: still one Custom item.
        when_modal_shows<KQ_Custom_White_Point_Dialog>([](KQ_Custom_White_Point_Dialog *white) {
            form_child<QDoubleSpinBox>(white, "custom_white_point_CIE_x_doubleSpinBox")->setValue(0.305);
            form_child<QDoubleSpinBox>(white, "custom_white_point_CIE_y_doubleSpinBox")->setValue(0.345);
            press_ok(white);
        });
        form_child<QPushButton>(&dialog, "target_Edit_White_Point_pushButton")->click();
        QCOMPARE(combo->count(), 12);
        QCOMPARE(combo->currentIndex(), 11);
        QCOMPARE(dialog.target().GetWhitePoint().GetX(), 0.305);
        QCOMPARE(form_child<QLabel>(&dialog, "target_white_point_CIE_xy_label")->text(), QStringLiteral("x=0.3050 y=0.3450"));
    }

    void unknown_contrast_opens_default_and_stores_zero()
    {
        CTargetValue target = target_with(CColorTemperature(quint16(6500)));
        target.SetContrastRatio(600);
        KQ_edit_target_dialog dialog(target);
        QCOMPARE(form_child<QComboBox>(&dialog, "target_Contrast_Radio_comboBox")->currentText(), QStringLiteral("Default"));
        press_ok(&dialog);
        QCOMPARE(dialog.target().GetContrastRatio(), 0u);
    }

    void black_level_follows_the_controls()
    {
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500))));
        auto *label = form_child<QLabel>(&dialog, "target_Contrast_BlackLevel_label");
        auto *contrast = form_child<QComboBox>(&dialog, "target_Contrast_Radio_comboBox");
        QCOMPARE(label->text(), QString());
        contrast->setCurrentIndex(1);
        QCOMPARE(label->text(), QStringLiteral("Black Level: 0.60 cd/m\u00b2"));
        form_child<QAbstractButton>(&dialog, "target_Intensity_Maximum_Possible_radioButton")->click();
        QCOMPARE(label->text(), QString());
        QVERIFY(!form_child<QDoubleSpinBox>(&dialog, "target_Intensity_Specific_Level_doubleSpinBox")->isEnabled());
    }

    void foot_lamberts_store_candelas()
    {
        luminance_units::set_uses_foot_lamberts(true);
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500))));
        auto *level = form_child<QDoubleSpinBox>(&dialog, "target_Intensity_Specific_Level_doubleSpinBox");
        QCOMPARE(level->decimals(), 1);
        QCOMPARE(QString::number(level->maximum(), 'f', 1), QStringLiteral("875.7"));
        QCOMPARE(form_child<QLabel>(&dialog, "target_Intensity_Specific_Level_units_label")->text(), QStringLiteral("fL"));
        level->setValue(50.0);
        press_ok(&dialog);
        // 50 fL in cd/m², through the box's one decimal.
        QVERIFY(qAbs(dialog.target().GetSpecifiedLuminance() - 50.0 * 3.426) < 1e-9);
    }

    void rgb_gains_keep_lookup_table_choices_disabled()
    {
        preferences().SetCalibrationMethod(1);
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500))));
        for (const char *button : {"target_Native_Gamma_radioButton", "target_Gamma_Value_radioButton"}) {
            form_child<QAbstractButton>(&dialog, button)->click();
            QVERIFY(!form_child<QGroupBox>(&dialog, "target_ContrastRatio_groupBox")->isEnabled());
            QVERIFY(!form_child<QWidget>(&dialog, "target_DICOM_radioButton")->isEnabled());
            QVERIFY(!form_child<QWidget>(&dialog, "target_Custom_Curve_radioButton")->isEnabled());
        }
    }

    void lookup_tables_enable_contrast_except_native()
    {
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500))));
        auto *contrast = form_child<QGroupBox>(&dialog, "target_ContrastRatio_groupBox");
        form_child<QAbstractButton>(&dialog, "target_Native_Gamma_radioButton")->click();
        QVERIFY(!contrast->isEnabled());
        form_child<QAbstractButton>(&dialog, "target_DICOM_radioButton")->click();
        QVERIFY(contrast->isEnabled());
        QVERIFY(!form_child<QWidget>(&dialog, "target_gamma_doubleSpinBox")->isEnabled());
        form_child<QAbstractButton>(&dialog, "target_Custom_Curve_radioButton")->click();
        QVERIFY(form_child<QWidget>(&dialog, "target_Edit_Custom_Gamma_Curve_pushButton")->isEnabled());
        press_ok(&dialog);
        QCOMPARE(dialog.target().GetGammaType(), int(kCustomCurve));
    }

    void bt1886_target_is_kept()
    {
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500)), kSpecificLevel, 5));
        for (const char *button : {"target_Native_Gamma_radioButton", "target_Gamma_Value_radioButton",
                                   "target_DICOM_radioButton", "target_Custom_Curve_radioButton"})
            QVERIFY(!form_child<QAbstractButton>(&dialog, button)->isChecked());
        press_ok(&dialog);
        QCOMPARE(dialog.target().GetGammaType(), 5);
        KQ_edit_target_dialog changed(target_with(CColorTemperature(quint16(6500)), kSpecificLevel, 5));
        form_child<QAbstractButton>(&changed, "target_Gamma_Value_radioButton")->click();
        press_ok(&changed);
        QCOMPARE(changed.target().GetGammaType(), int(kGammaValue));
    }

    void native_white_forces_maximum_per_display()
    {
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(0)), kMaximumPerDisplay));
        auto *specific = form_child<QAbstractButton>(&dialog, "target_Intensity_Specific_Level_radioButton");
        auto *combo = form_child<QComboBox>(&dialog, "target_white_point_comboBox");
        QVERIFY(!specific->isEnabled());
        QVERIFY(!form_child<QWidget>(&dialog, "target_Edit_White_Point_pushButton")->isEnabled());
        QCOMPARE(form_child<QLabel>(&dialog, "target_white_point_color_temp_label")->text(), QStringLiteral("-"));
        combo->setCurrentIndex(2);
        QVERIFY(specific->isEnabled());
        specific->click();
        QCOMPARE(dialog.target().GetIntensityMode(), int(kSpecificLevel));
        combo->setCurrentIndex(11);
        QCOMPARE(dialog.target().GetIntensityMode(), int(kMaximumPerDisplay));
        QVERIFY(!specific->isEnabled());
        press_ok(&dialog);
        QCOMPARE(dialog.target().GetIntensityMode(), int(kMaximumPerDisplay));
        QVERIFY(dialog.target().GetWhitePoint().IsNative());
    }

    void white_point_labels()
    {
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500))));
        QCOMPARE(form_child<QLabel>(&dialog, "target_white_point_color_temp_label")->text(),
                 QStringLiteral("6,500 K (0.0000 \u0394 uv)").replace(QLatin1Char(','), QString()));
        QVERIFY(form_child<QLabel>(&dialog, "target_white_point_CIE_xy_label")->text().startsWith(QStringLiteral("x=0.31")));
    }

    void unchanged_curve_is_not_taken()
    {
        CTargetValue target = target_with(CColorTemperature(quint16(6500)), kSpecificLevel, kCustomCurve);
        CSpline srgb;
        color_calc_utils::make_srgb_curve(srgb);
        target.SetCurve(srgb);
        target.SetCurveSelection(1);
        KQ_edit_target_dialog dialog(target);
        // The same curve again, under another selection: nothing is taken.
        when_modal_shows<KQ_Custom_Gamma_Curve_Dialog>([](KQ_Custom_Gamma_Curve_Dialog *curve) {
            curve->curve_selection = 5;
            press_ok(curve);
        });
        form_child<QPushButton>(&dialog, "target_Edit_Custom_Gamma_Curve_pushButton")->click();
        QCOMPARE(dialog.target().GetCurveSelection(), 1);
        // Another curve is taken with its selection.
        when_modal_shows<KQ_Custom_Gamma_Curve_Dialog>([](KQ_Custom_Gamma_Curve_Dialog *curve) {
            form_child<QPushButton>(curve, "custom_curve_Lstar_pushButton")->click();
            press_ok(curve);
        });
        form_child<QPushButton>(&dialog, "target_Edit_Custom_Gamma_Curve_pushButton")->click();
        QCOMPARE(dialog.target().GetCurveSelection(), 4);
        CSpline lstar;
        color_calc_utils::make_lstar_curve(lstar);
        QVERIFY(!(dialog.target().GetCurve() != lstar));
    }

    void highest_intensity_white_from_measured_records()
    {
        {
            KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500))));
            QVERIFY(!form_child<QWidget>(&dialog, "calculate_highest_intensity_white_point_pushButton")->isEnabled());
        }
        m_wall->create_wall(2, 1);
        m_wall->store_record(0, headless_controller::measured_record(CCIEXYZ(41.2, 21.3, 1.9), CCIEXYZ(35.8, 71.5, 11.9),
                                                                     CCIEXYZ(18.0, 7.2, 95.0)));
        m_wall->store_record(1, headless_controller::measured_record(CCIEXYZ(45.0, 23.0, 2.0), CCIEXYZ(33.0, 70.0, 12.0),
                                                                     CCIEXYZ(17.0, 6.0, 90.0)));
        const CTargetValue start = target_with(CColorTemperature(quint16(6500)));
        CTargetValue expected = start;
        QCOMPARE(color_calc_utils().calculate_best_common_white_point(expected), 0);

        KQ_edit_target_dialog dialog(start);
        auto *button = form_child<QPushButton>(&dialog, "calculate_highest_intensity_white_point_pushButton");
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(dialog.target().GetWhitePoint(), expected.GetWhitePoint());
        QCOMPARE(dialog.target().GetIntensityMode(), int(kSpecificLevel));
        const white_point_list list = make_white_point_list(expected.GetWhitePoint());
        QCOMPARE(form_child<QComboBox>(&dialog, "target_white_point_comboBox")->currentIndex(), list.selected);
        QCOMPARE(form_child<QLabel>(&dialog, "target_white_point_CIE_xy_label")->text(), cie_xy_text(expected.GetWhitePoint()));
    }

    void measured_luminance_is_offered_above_forty_data()
    {
        QTest::addColumn<double>("luminance");
        QTest::addColumn<bool>("asked");
        QTest::newRow("40") << 40.0 << false;
        QTest::newRow("40.1") << 40.1 << true;
    }

    void measured_luminance_is_offered_above_forty()
    {
        QFETCH(double, luminance);
        QFETCH(bool, asked);
        attach_simulated_sensor(CCIEXYZ(luminance * 0.9505, luminance, luminance * 1.089));
        KQ_edit_target_dialog dialog(target_with(CColorTemperature(quint16(6500)), kMaximumPerDisplay));
        QString question;
        when_modal_shows<KQ_Custom_White_Point_Dialog>([&](KQ_Custom_White_Point_Dialog *white) {
            form_child<QPushButton>(white, "custom_white_point_measure_pushButton")->click();
            if (asked)
                answer_message_box(QMessageBox::Yes, &question);
            press_ok(white);
        });
        form_child<QPushButton>(&dialog, "target_Edit_White_Point_pushButton")->click();
        QCOMPARE(!question.isEmpty(), asked);
        if (!asked) {
            QCOMPARE(dialog.target().GetIntensityMode(), int(kMaximumPerDisplay));
            return;
        }
        QVERIFY2(question.startsWith(QStringLiteral("Would you like to use the measured intensity of ")), qPrintable(question));
        QCOMPARE(dialog.target().GetIntensityMode(), int(kSpecificLevel));
        QVERIFY(form_child<QAbstractButton>(&dialog, "target_Intensity_Specific_Level_radioButton")->isChecked());
    }

    // --- the custom white point dialog ---

    void untouched_custom_dialog_returns_its_input_data()
    {
        QTest::addColumn<CColorTemperature>("white");
        QTest::newRow("D65") << CColorTemperature(CIExy{0.3127, 0.3290});
        QTest::newRow("off the locus, green") << CColorTemperature(CIExy{0.30, 0.35});
        QTest::newRow("off the locus, magenta") << CColorTemperature(CIExy{0.31, 0.30});
        QTest::newRow("outside the kelvin range") << CColorTemperature(CIExy{0.45, 0.45});
    }

    void untouched_custom_dialog_returns_its_input()
    {
        QFETCH(CColorTemperature, white);
        KQ_Custom_White_Point_Dialog dialog(white);
        if (!custom_white_point_rules::in_normal_range(white))
            answer_message_box(QMessageBox::Yes);
        press_ok(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const CColorTemperature back = dialog.get_white_point();
        QVERIFY(!back.IsKelvinSpecified());
        QCOMPARE(back.GetX(), white.GetX());
        QCOMPARE(back.GetY(), white.GetY());
        QCOMPARE(back.GetDeviation(), white.GetDeviation());
    }

    void kelvin_white_comes_back_xy_specified()
    {
        const CColorTemperature k6500(quint16(6500));
        KQ_Custom_White_Point_Dialog dialog(k6500);
        press_ok(&dialog);
        const CColorTemperature back = dialog.get_white_point();
        QVERIFY(!back.IsKelvinSpecified());
        QVERIFY(qAbs(back.GetX() - k6500.GetX()) <= 0.00005); // the box's 4 decimals
        QVERIFY(qAbs(back.GetY() - k6500.GetY()) <= 0.00005);
        QVERIFY(qAbs(int(back.GetKelvin()) - 6500) <= 5);
        QVERIFY(form_child<QAbstractButton>(&dialog, "custom_white_point_CIE_xy_radioButton")->isChecked());
        QVERIFY(!form_child<QWidget>(&dialog, "custom_white_point_Kelvin_doubleSpinBox")->isEnabled());
        QVERIFY(!form_child<QWidget>(&dialog, "custom_white_point_measure_pushButton")->isEnabled());
    }

    void typed_xy_follows_in_kelvin()
    {
        KQ_Custom_White_Point_Dialog dialog(CColorTemperature(quint16(5000)));
        form_child<QDoubleSpinBox>(&dialog, "custom_white_point_CIE_x_doubleSpinBox")->setValue(0.3127);
        form_child<QDoubleSpinBox>(&dialog, "custom_white_point_CIE_y_doubleSpinBox")->setValue(0.3290);
        const int kelvin = form_child<QSpinBox>(&dialog, "custom_white_point_Kelvin_doubleSpinBox")->value();
        QVERIFY2(qAbs(kelvin - 6504) <= 3, qPrintable(QString::number(kelvin)));
        press_ok(&dialog);
        QVERIFY(!dialog.get_white_point().IsKelvinSpecified());
        QVERIFY(form_child<QLabel>(&dialog, "custom_white_point_delta_uv_label")->text().endsWith(QStringLiteral("\u0394uv")));
    }

    void black_body_entry()
    {
        KQ_Custom_White_Point_Dialog dialog(CColorTemperature(CIExy{0.3127, 0.3290}));
        form_child<QAbstractButton>(&dialog, "custom_white_point_BlackBody_radioButton")->click();
        QVERIFY(form_child<QWidget>(&dialog, "custom_white_point_Kelvin_doubleSpinBox")->isEnabled());
        form_child<QSpinBox>(&dialog, "custom_white_point_Kelvin_doubleSpinBox")->setValue(9300);
        press_ok(&dialog);
        QCOMPARE(dialog.get_white_point(), CColorTemperature(quint16(9300)));
        QCOMPARE(form_child<QLabel>(&dialog, "custom_white_point_delta_uv_label")->text(), QStringLiteral("0.0000 \u0394uv"));
    }

    void out_of_range_asks_and_no_keeps_open()
    {
        KQ_Custom_White_Point_Dialog dialog(CColorTemperature(CIExy{0.3127, 0.3290}));
        dialog.show();
        form_child<QDoubleSpinBox>(&dialog, "custom_white_point_CIE_x_doubleSpinBox")->setValue(0.15);
        QCOMPARE(dialog.get_white_point().GetKelvin(), quint16(0));
        QCOMPARE(form_child<QSpinBox>(&dialog, "custom_white_point_Kelvin_doubleSpinBox")->value(), 2500);
        QString question;
        answer_message_box(QMessageBox::No, &question);
        press_ok(&dialog);
        QVERIFY(question.startsWith(QStringLiteral("The white point coordinates entered are outside")));
        QVERIFY(dialog.isVisible());
        answer_message_box(QMessageBox::Yes);
        press_ok(&dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void measuring_a_simulated_display()
    {
        // The light a display shows at a D65-like white of 180 cd/m².
        const CCIEXYZ light(171.1, 180.0, 196.0);
        attach_simulated_sensor(light);
        KQ_Custom_White_Point_Dialog dialog(CColorTemperature(quint16(9300)));
        form_child<QAbstractButton>(&dialog, "custom_white_point_BlackBody_radioButton")->click();
        QVERIFY(form_child<QWidget>(&dialog, "custom_white_point_measure_pushButton")->isEnabled());
        form_child<QPushButton>(&dialog, "custom_white_point_measure_pushButton")->click();
        const CIExy expected = light.ToCIExy();
        // The instrument's default noise is well below a thousandth in x and y.
        QVERIFY(qAbs(dialog.get_white_point().GetX() - expected.x) < 0.001);
        QVERIFY(qAbs(dialog.get_white_point().GetY() - expected.y) < 0.001);
        QVERIFY(qAbs(dialog.measured_luminance - 180.0) < 1.0);
        QVERIFY(form_child<QAbstractButton>(&dialog, "custom_white_point_CIE_xy_radioButton")->isChecked());
        QVERIFY(form_child<QLabel>(&dialog, "custom_white_point_measuring_label")->text().startsWith(
            QStringLiteral("Measured Intensity: ")));
    }

    void failed_measurement_changes_nothing()
    {
        attach_simulated_sensor(CCIEXYZ(95, 100, 108));
        QVERIFY(m_control->configure({{QStringLiteral("fail_calls"),
                                       QJsonArray{QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3MeasureXYZ")},
                                                              {QStringLiteral("code"), -5}}}}}));
        KQ_Custom_White_Point_Dialog dialog(CColorTemperature(CIExy{0.3127, 0.3290}));
        const CColorTemperature before = dialog.get_white_point();
        QString shown;
        when_modal_shows<QMessageBox>([&](QMessageBox *box) {
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        form_child<QPushButton>(&dialog, "custom_white_point_measure_pushButton")->click();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(dialog.get_white_point(), before);
        QCOMPARE(dialog.measured_luminance, -1.0);
        QCOMPARE(form_child<QLabel>(&dialog, "custom_white_point_measuring_label")->text(), QString());
    }

private:
    std::unique_ptr<simulated_instrument_control> m_control;

    // The i1Display Pro on a display that shows |light|.
    void attach_simulated_sensor(const CCIEXYZ &light)
    {
        m_wall.reset();
        m_wall = std::make_unique<headless_controller>(headless_controller::simulated_instruments);
        m_control = std::make_unique<simulated_instrument_control>(headless_controller::simulated_instrument_folder()
                                                                   + QStringLiteral("/libi1d3sdk.so"));
        QVERIFY(m_control->isLoaded());
        m_control->reset();
        light_channel::set_channel_folder(m_light.path());
        QVERIFY(m_control->configure({{QStringLiteral("light_folder"), m_light.path()},
                                      {QStringLiteral("time_scale"), 0.0},
                                      {QStringLiteral("display"), kDisplayKey},
                                      {QStringLiteral("selector"), QStringLiteral("display")}}));
        QVERIFY(light_channel::publish_light(kDisplayKey, {light.X, light.Y, light.Z}));
        QCOMPARE(m_wall->controller().getTargetSensor()->SetSensorType(3), 0);
        // Nothing to place: the hint would wait for the operator.
        m_wall->controller().getPreferences()->SuppressMessage(1);
    }
};

QTEST_MAIN(tst_edit_target_dialog)
#include "tst_edit_target_dialog.moc"
