#include "jobs/display_setting_rules.h"
#include "jobs/listed_engine_models.h"

#include <QtTest>

// The rules that turn target, preferences and record into control values,
// and the table of models the capability check passes at once.

namespace {

CTargetValue power_target(double gamma)
{
    CTargetValue t;
    t.SetGammaType(CTargetValue::kGammaPower);
    t.SetGamma(gamma);
    return t;
}

CTargetValue target_of_type(int type, int selection = CTargetValue::kCurveNone)
{
    CTargetValue t;
    t.SetGammaType(type);
    t.SetCurveSelection(selection);
    return t;
}

} // namespace

class tst_display_setting_rules : public QObject
{
    Q_OBJECT

private slots:
    void gamut_table()
    {
        const engine_primaries own {645, 331, 296, 612, 151, 56};
        QCOMPARE(engine_gamut_primaries(1, own), (engine_primaries {640, 330, 300, 600, 150, 60}));
        // 0.595 must not come out as 594.
        QCOMPARE(engine_gamut_primaries(3, own), (engine_primaries {630, 340, 310, 595, 155, 70}));
        QCOMPARE(engine_gamut_primaries(6, own), (engine_primaries {708, 292, 170, 797, 131, 46}));
        for (int outside : {0, 7, -1, 255})
            QCOMPARE(engine_gamut_primaries(outside, own), own);
    }

    void uniformity_rule_data()
    {
        QTest::addColumn<int>("preference");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("written");   // -1: nothing
        QTest::newRow("0 to 5 set the level") << 3 << 5 << 3;
        QTest::newRow("0 to 5, already there") << 3 << 3 << -1;
        QTest::newRow("0 switches off") << 0 << 2 << 0;
        QTest::newRow("12 raises 1 to 2") << 12 << 1 << 2;
        QTest::newRow("12 leaves 3 alone") << 12 << 3 << -1;
        QTest::newRow("12 leaves 2 alone") << 12 << 2 << -1;
        QTest::newRow("10 never lowers") << 10 << 4 << -1;
        QTest::newRow("15 raises 0 to 5") << 15 << 0 << 5;
        for (int open : {6, 7, 8, 9, 16, -1})
            QTest::addRow("%d writes nothing", open) << open << 0 << -1;
    }
    void uniformity_rule()
    {
        QFETCH(int, preference);
        QFETCH(int, current);
        QFETCH(int, written);
        const std::optional<qint32> level = uniformity_level_to_write(preference, current);
        QCOMPARE(level.value_or(-1), written);
    }

    void tone_rules_data()
    {
        QTest::addColumn<CTargetValue>("target");
        QTest::addColumn<int>("gain_mode");
        QTest::addColumn<int>("engine_mode");
        QTest::addColumn<int>("engine_gamma");   // -1: not written
        QTest::addColumn<bool>("uploads");
        QTest::newRow("native") << target_of_type(CTargetValue::kGammaNative) << 1 << 9 << 170 << false;
        QTest::newRow("gamma 2.2") << power_target(2.2) << 4 << 9 << 170 << false;
        QTest::newRow("gamma 2.4") << power_target(2.4) << 8 << 9 << 190 << false;
        QTest::newRow("gamma 2.3") << power_target(2.3) << 8 << 9 << 180 << false;
        QTest::newRow("gamma 1.8") << power_target(1.8) << 4 << 9 << 130 << false;
        QTest::newRow("DICOM") << target_of_type(CTargetValue::kGammaDicom) << 4 << 5 << -1 << false;
        QTest::newRow("sRGB curve") << target_of_type(CTargetValue::kGammaCurve, CTargetValue::kCurveSrgb) << 4 << 11
                                    << -1 << false;
        QTest::newRow("L* curve") << target_of_type(CTargetValue::kGammaCurve, CTargetValue::kCurveLstar) << 4 << 12
                                  << -1 << false;
        QTest::newRow("drawn curve") << target_of_type(CTargetValue::kGammaCurve, CTargetValue::kCurveCustom) << 4
                                     << 6 << -1 << true;
        QTest::newRow("BT.1886") << target_of_type(CTargetValue::kGammaBt1886) << 4 << 6 << -1 << true;
    }
    void tone_rules()
    {
        QFETCH(CTargetValue, target);
        QFETCH(int, gain_mode);
        QFETCH(int, engine_mode);
        QFETCH(int, engine_gamma);
        QFETCH(bool, uploads);
        QCOMPARE(gain_mode_color_mode(target), gain_mode);
        const engine_tone_setting tone = engine_tone_for_target(target);
        QCOMPARE(tone.color_mode, engine_mode);
        QCOMPARE(tone.gamma.value_or(-1), engine_gamma);
        QCOMPARE(tone.uploads_curve, uploads);
    }

    void black_level()
    {
        CTargetValue t;
        t.SetIntensityMode(CTargetValue::kIntensitySpecified);
        t.SetSpecifiedLuminance(250.0);
        t.SetContrastRatio(1000);
        QCOMPARE(engine_black_level(t), 3);          // 2.5 tenths, rounded up
        t.SetContrastRatio(0);
        QCOMPARE(engine_black_level(t), 0);          // no divisor
        t.SetContrastRatio(1000);
        t.SetIntensityMode(CTargetValue::kIntensityMaximumPossible);
        QCOMPARE(engine_black_level(t), 0);
    }

    // The calibration scales intensity modes 2 and 3, the engine set-up
    // without a sensor only mode 3; both move the white point.
    void target_offset_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("kind");   // offset_intensity_modes
        QTest::addColumn<double>("intensity");
        QTest::newRow("specified, calibration") << int(CTargetValue::kIntensitySpecified)
                                                << int(offset_intensity_modes::matching_and_specified) << 160.0;
        QTest::newRow("specified, engine set-up") << int(CTargetValue::kIntensitySpecified)
                                                  << int(offset_intensity_modes::specified_only) << 160.0;
        QTest::newRow("matching, calibration") << int(CTargetValue::kIntensityMaximumMatching)
                                               << int(offset_intensity_modes::matching_and_specified) << 240.0;
        QTest::newRow("matching, engine set-up") << int(CTargetValue::kIntensityMaximumMatching)
                                                 << int(offset_intensity_modes::specified_only) << 300.0;
    }
    void target_offset()
    {
        QFETCH(int, mode);
        QFETCH(int, kind);
        QFETCH(double, intensity);
        CTargetValue t;
        t.SetWhitePoint(CColorTemperature(CIExy {0.313, 0.329}));
        t.SetIntensityMode(mode);
        t.SetSpecifiedLuminance(200.0);
        t.SetIntensity(mode == CTargetValue::kIntensitySpecified ? 200.0 : 300.0);
        CAdjustValue record;
        record.target_offset_dx = 10;
        record.target_offset_dy = -5;
        record.target_intensity_offset = 0.8;

        // Switch off: unchanged.
        const CTargetValue kept = target_with_offset(t, record, offset_intensity_modes(kind));
        QCOMPARE(kept.GetWhitePoint().GetCIExy().x, t.GetWhitePoint().GetCIExy().x);
        QCOMPARE(kept.GetIntensity(), t.GetIntensity());

        record.SetTargetOffsetEnabled(true);
        const CTargetValue moved = target_with_offset(t, record, offset_intensity_modes(kind));
        const CIExy white = moved.GetWhitePoint().GetCIExy();
        // Thousandths added to doubles: well within 1e-9.
        QVERIFY(qAbs(white.x - 0.323) < 1e-9);
        QVERIFY(qAbs(white.y - 0.324) < 1e-9);
        QVERIFY(qAbs(moved.GetIntensity() - intensity) < 1e-9);

        // The display's own white has no point to move; the intensity still scales.
        CTargetValue native = t;
        native.SetWhitePoint(CColorTemperature(quint16(0)));
        const CTargetValue native_moved = target_with_offset(native, record, offset_intensity_modes(kind));
        QVERIFY(native_moved.GetWhitePoint().IsNative());
        QVERIFY(qAbs(native_moved.GetIntensity() - intensity) < 1e-9);
    }

    void trimmed_or_stored_values()
    {
        CAdjustValue record;
        record.backlight_setting = 220;
        record.backlight_visual_trim = 200;
        record.engine_white_x = 300;
        record.engine_white_x_visual_trim = 305;
        record.engine_white_y = 310;
        record.engine_white_y_visual_trim = 307;
        record.uniformity_level = 2;
        record.uniformity_level_visual_trim = 3;
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::backlight), 220);
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::engine_white_y), 310);
        record.visual_trim_flags = CAdjustValue::kTrimBacklight | CAdjustValue::kTrimEngineWhiteX;
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::backlight), 200);
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::engine_white_x), 305);
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::engine_white_y), 310);
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::uniformity_level), 2);
        record.visual_trim_flags = CAdjustValue::kTrimEngineWhiteY | CAdjustValue::kTrimUniformityLevel;
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::engine_white_y), 307);
        QCOMPARE(trimmed_or_stored(record, trimmed_setting::uniformity_level), 3);
    }

    // Gains and pattern levels come from the channel's maximum, rounded,
    // never above it and never from the value the display holds.
    void channel_levels_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("trim");
        QTest::addColumn<bool>("with_trim");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("level");
        QTest::newRow("ratio") << 0.8 << 1.0 << false << 255 << 204;
        QTest::newRow("half rounds up") << 0.5 << 1.0 << false << 255 << 128;
        QTest::newRow("trim ignored without the flag") << 0.9 << 1.2 << false << 255 << 230;
        QTest::newRow("trim") << 0.8 << 1.1 << true << 255 << 224;
        QTest::newRow("trim above the maximum is capped") << 0.9 << 1.3 << true << 1023 << 1023;
        QTest::newRow("unused trim factor is capped") << 0.9 << 9999.0 << true << 1023 << 1023;
        QTest::newRow("no maximum") << 0.8 << 1.0 << false << 0 << 0;
        QTest::newRow("negative ratio") << -0.5 << 1.0 << false << 255 << 0;
    }
    void channel_levels()
    {
        QFETCH(double, ratio);
        QFETCH(double, trim);
        QFETCH(bool, with_trim);
        QFETCH(int, maximum);
        QFETCH(int, level);
        CAdjustValue record;
        record.gain = {ratio, ratio, ratio};
        record.visual_trim_multiplier = {trim, trim, trim};
        record.visual_trim_flags = CAdjustValue::kTrimGains;
        QCOMPARE(channel_level_from_record(record, 1, maximum, with_trim), level);
        QCOMPARE(channel_level_from_record(record, 3, maximum, with_trim), 0);
    }

    void listed_engine_models_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("listed");
        QTest::newRow("listed prefix") << "ab-100" << true;
        QTest::newRow("letter") << "Z500" << true;
        QTest::newRow("letter, excluded family") << "ZQ-500" << false;
        QTest::newRow("other") << "VW-5540QE" << false;
        QTest::newRow("empty") << "" << false;
    }
    void listed_engine_models()
    {
        QFETCH(QString, model);
        QFETCH(bool, listed);
        listed_engine_model_table table;
        table.prefixes = QStringList {QStringLiteral("AB-")};
        table.letter = QStringLiteral("Z");
        table.excluded_prefixes = QStringList {QStringLiteral("ZQ-")};
        const listed_engine_model_table previous = replace_listed_engine_models(table);
        const bool result = is_listed_engine_model(model);
        replace_listed_engine_models(previous);
        QCOMPARE(result, listed);
        // The program's own table lists none of the simulated models.
        QVERIFY(!is_listed_engine_model(QStringLiteral("VW-5540QE")));
    }
};

QTEST_GUILESS_MAIN(tst_display_setting_rules)
#include "tst_display_setting_rules.moc"
