#include "colour/CAdjustValue.h"
#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "jobs/ui/KQ_color_xy_widget.h"
#include "jobs/ui/KQ_luminance_meter_widget.h"
#include "tests/support/form_child.h"
#include "tests/support/headless_controller.h"
#include "views/docks/KQ_calibration_information_dock_widget.h"
#include "views/docks/calibration_information.h"

#include <QLabel>
#include <QRadioButton>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2024, 5, 2), QTime(10, 0), Qt::UTC);
const char kOffsetPicture[] = "<img src=\":/images/Resources/offset_target_16\">";
// Three decimals of x and y are what the dock shows.
constexpr double kXyTolerance = 1e-9;

CTargetValue target_of(int mode, double specified, double matching, const CIExy &white)
{
    CTargetValue target;
    target.SetIntensityMode(mode);
    target.SetSpecifiedLuminance(specified);
    target.SetMaxMatchingLuminance(matching);
    target.SetWhitePoint(CColorTemperature(white));
    return target;
}

CAdjustValue record_with(bool measured, bool calibrated)
{
    CAdjustValue record;
    record.measurements.native.white = CCIEXYZ(95.0, 100.0, 108.0);
    record.measurements.corrected.white = CCIEXYZ(152.0, 160.0, 174.0);
    if (measured)
        record.measurements.measurement_date_time = kWhen;
    if (calibrated)
        record.SetCalibrationDateTime(kWhen);
    return record;
}

} // namespace

class tst_calibration_information : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { luminance_units::set_uses_foot_lamberts(false); }

    void meter_and_target_data();
    void meter_and_target();
    void no_record_shows_nothing();
    void native_white_has_no_target_point();
    void tooltips_data();
    void tooltips();
    void measured_labels_data();
    void measured_labels();
    void choice_correction_data();
    void choice_correction();

    void nothing_selected_disables_both_choices();
    void measured_only_display_shows_the_white_before_calibration();
    void calibrated_only_display_switches_to_calibrated();
    void maximum_possible_shows_no_target_marker();
    void unlit_white_clears_both_labels();
    void foot_lamberts_in_the_label();
};

void tst_calibration_information::meter_and_target_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("offset_switch");
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("level");
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("level_offset");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<bool>("xy_offset");

    // Target: specified 200, maximum matching 150, white (0.3127, 0.3290).
    QTest::newRow("maximum possible") << 1 << false << 1.0 << 0 << 0 << 3000.0 << 3000.0 << false << false
                                      << 0.3127 << 0.329 << false;
    QTest::newRow("maximum possible ignores the intensity offset")
        << 1 << true << 0.8 << 0 << 0 << 3000.0 << 3000.0 << false << false << 0.3127 << 0.329 << false;
    QTest::newRow("maximum matching") << 2 << false << 1.0 << 0 << 0 << 195.0 << 150.0 << true << false << 0.3127
                                      << 0.329 << false;
    QTest::newRow("specified") << 3 << false << 1.0 << 0 << 0 << 260.0 << 200.0 << true << false << 0.3127 << 0.329
                               << false;
    QTest::newRow("another mode scales like maximum matching")
        << 7 << false << 1.0 << 0 << 0 << 195.0 << 200.0 << true << false << 0.3127 << 0.329 << false;
    QTest::newRow("intensity offset") << 3 << true << 0.9 << 0 << 0 << 260.0 << 180.0 << true << true << 0.3127
                                      << 0.329 << false;
    QTest::newRow("offset factor without the switch")
        << 3 << false << 0.9 << 5 << 5 << 260.0 << 200.0 << true << false << 0.3127 << 0.329 << false;
    QTest::newRow("white offset in thousandths")
        << 2 << true << 1.0 << 5 << -3 << 195.0 << 150.0 << true << false << 0.3177 << 0.326 << true;
    QTest::newRow("one white offset is enough") << 2 << true << 1.0 << 0 << 2 << 195.0 << 150.0 << true << false
                                                << 0.3127 << 0.331 << true;
}

void tst_calibration_information::meter_and_target()
{
    QFETCH(int, mode);
    QFETCH(bool, offset_switch);
    QFETCH(double, factor);
    QFETCH(int, dx);
    QFETCH(int, dy);
    CAdjustValue record = record_with(true, true);
    record.SetTargetOffsetEnabled(offset_switch);
    record.target_intensity_offset = factor;
    record.target_offset_dx = qint16(dx);
    record.target_offset_dy = qint16(dy);

    const calibration_information shown =
        calibration_information_for(&record, target_of(mode, 200.0, 150.0, CIExy{0.3127, 0.3290}));
    QVERIFY(shown.has_record);
    QCOMPARE(shown.meter_minimum, 0.0);
    QTEST(shown.meter_maximum, "maximum");
    QTEST(shown.target_level, "level");
    QTEST(shown.show_target_level, "show");
    QTEST(shown.level_uses_offset, "level_offset");
    QFETCH(double, x);
    QFETCH(double, y);
    QVERIFY(qAbs(shown.target_x - x) < kXyTolerance);
    QVERIFY(qAbs(shown.target_y - y) < kXyTolerance);
    QTEST(shown.xy_uses_offset, "xy_offset");
}

// The white offsets move a target point; a native white has none, so the
// dock shows no target (and no offset) rather than one near (0, 0).
void tst_calibration_information::native_white_has_no_target_point()
{
    CAdjustValue record = record_with(true, true);
    record.SetTargetOffsetEnabled(true);
    record.target_offset_dx = 5;
    record.target_offset_dy = -3;
    CTargetValue target = target_of(1, 200.0, 150.0, CIExy{0.3127, 0.3290});
    target.SetWhitePoint(CColorTemperature(quint16(0)));
    const calibration_information shown = calibration_information_for(&record, target);
    QCOMPARE(shown.target_x, 0.0);
    QCOMPARE(shown.target_y, 0.0);
    QVERIFY(!shown.xy_uses_offset);
    QVERIFY(target_xy_tooltip(shown.target_x, shown.target_y, shown.xy_uses_offset).isEmpty());
}

void tst_calibration_information::no_record_shows_nothing()
{
    const calibration_information shown = calibration_information_for(nullptr, CTargetValue());
    QVERIFY(!shown.has_record);
    QVERIFY(!shown.calibrated_available);
    QVERIFY(!shown.uncalibrated_available);
}

void tst_calibration_information::tooltips_data()
{
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("expected");
    const QString offset = QString::fromLatin1(kOffsetPicture);
    const QString level = to_display_luminance_text(180.0, 1, true);
    QTest::newRow("level") << target_level_tooltip(180.0, true, false) << QStringLiteral("Target: ") + level;
    QTest::newRow("level with offset") << target_level_tooltip(180.0, true, true)
                                       << offset + QStringLiteral("Target: ") + level;
    QTest::newRow("hidden level") << target_level_tooltip(180.0, false, true) << QString();
    QTest::newRow("level 0") << target_level_tooltip(0.0, true, false) << QString();
    QTest::newRow("xy") << target_xy_tooltip(0.3127, 0.329, false) << QStringLiteral("Target: (0.313,0.329)");
    QTest::newRow("xy with offset") << target_xy_tooltip(0.3177, 0.326, true)
                                    << offset + QStringLiteral("Target: (0.318,0.326)");
    QTest::newRow("no x") << target_xy_tooltip(0.0, 0.329, true) << QString();
    QTest::newRow("no y") << target_xy_tooltip(0.3127, 0.0, false) << QString();
}

void tst_calibration_information::tooltips()
{
    QFETCH(QString, tooltip);
    QFETCH(QString, expected);
    QCOMPARE(tooltip, expected);
}

void tst_calibration_information::measured_labels_data()
{
    QTest::addColumn<double>("Y");
    QTest::addColumn<QString>("luminance");
    QTest::addColumn<QString>("xy");
    QTest::newRow("lit") << 152.0 << to_display_luminance_text(152.0, 1, true) << QStringLiteral("(0.310 , 0.327)");
    QTest::newRow("dark") << 0.0 << QString() << QString();
    QTest::newRow("no reading") << -1.0 << QString() << QString();
}

void tst_calibration_information::measured_labels()
{
    QFETCH(double, Y);
    const measured_white_labels labels = measured_white_labels_for(0.3104, 0.3268, Y);
    QTEST(labels.luminance, "luminance");
    QTEST(labels.xy, "xy");
}

void tst_calibration_information::choice_correction_data()
{
    QTest::addColumn<bool>("calibrated_enabled");
    QTest::addColumn<bool>("calibrated_checked");
    QTest::addColumn<bool>("uncalibrated_enabled");
    QTest::addColumn<int>("click");
    QTest::newRow("only calibrated, not shown") << true << false << false << int(kShowCalibrated);
    QTest::newRow("only calibrated, shown") << true << true << false << -1;
    QTest::newRow("only uncalibrated, not shown") << false << true << true << int(kShowUncalibrated);
    QTest::newRow("only uncalibrated, shown") << false << false << true << -1;
    QTest::newRow("both available") << true << true << true << -1;
    QTest::newRow("neither") << false << false << false << -1;
}

void tst_calibration_information::choice_correction()
{
    QFETCH(bool, calibrated_enabled);
    QFETCH(bool, calibrated_checked);
    QFETCH(bool, uncalibrated_enabled);
    QTEST(corrected_choice(calibrated_enabled, calibrated_checked, uncalibrated_enabled, !calibrated_checked),
          "click");
}

class dock_fixture
{
public:
    dock_fixture()
    {
        wall.create_wall(2, 1);
        wall.controller().setTarget(target_of(3, 200.0, 150.0, CIExy{0.3127, 0.3290}));
    }
    headless_controller wall;
    KQ_calibration_information_dock_widget dock;

    QRadioButton *calibrated() { return form_child<QRadioButton>(dock, "calibrated_radioButton"); }
    QRadioButton *uncalibrated() { return form_child<QRadioButton>(dock, "uncalibrated_radioButton"); }
    KQ_luminance_meter_widget *meter() { return form_child<KQ_luminance_meter_widget>(dock, "white_level_widget"); }
    KQ_color_xy_widget *xy() { return form_child<KQ_color_xy_widget>(dock, "xy_widget"); }
    QString label(const char *name) { return form_child<QLabel>(dock, name)->text(); }
};

void tst_calibration_information::nothing_selected_disables_both_choices()
{
    dock_fixture f;
    f.dock.UpdateDataDisplay();
    QVERIFY(!f.calibrated()->isEnabled());
    QVERIFY(!f.uncalibrated()->isEnabled());
    QVERIFY(f.label("white_level_label").isEmpty());
    QCOMPARE(f.meter()->state().value, 0.0);

    // A display without a record: the same.
    f.dock.selection_changed(1);
    QVERIFY(!f.calibrated()->isEnabled());
    QVERIFY(!f.uncalibrated()->isEnabled());
}

void tst_calibration_information::measured_only_display_shows_the_white_before_calibration()
{
    dock_fixture f;
    f.wall.store_record(1, record_with(true, false));
    f.calibrated()->setChecked(true);
    f.dock.selection_changed(1);
    QVERIFY(!f.calibrated()->isEnabled());
    QVERIFY(f.uncalibrated()->isEnabled());
    QVERIFY(f.uncalibrated()->isChecked());
    QCOMPARE(f.meter()->state().value, 100.0);
    QCOMPARE(f.meter()->state().maximum, 260.0);
    QCOMPARE(f.meter()->state().target_level, 200.0);
    QVERIFY(f.meter()->state().show_target);
    const CIExy white = CCIEXYZ(95.0, 100.0, 108.0).ToCIExy();
    QCOMPARE(f.xy()->measured_xy(), QPointF(white.x, white.y));
    QCOMPARE(f.xy()->target_xy(), QPointF(0.3127, 0.3290));
    QCOMPARE(f.label("xy_label"), QStringLiteral("(%L1 , %L2)").arg(white.x, 0, 'f', 3).arg(white.y, 0, 'f', 3));
}

void tst_calibration_information::calibrated_only_display_switches_to_calibrated()
{
    dock_fixture f;
    f.wall.store_record(0, record_with(false, true));
    f.dock.selection_changed(0);
    QVERIFY(f.calibrated()->isEnabled());
    QVERIFY(!f.uncalibrated()->isEnabled());
    QVERIFY(f.calibrated()->isChecked());
    QCOMPARE(f.meter()->state().value, 160.0);

    // Both available: the operator's choice decides which white is shown.
    f.wall.store_record(0, record_with(true, true));
    f.dock.UpdateDataDisplay();
    QVERIFY(f.calibrated()->isChecked());
    f.uncalibrated()->click();
    QCOMPARE(f.meter()->state().value, 100.0);
}

void tst_calibration_information::maximum_possible_shows_no_target_marker()
{
    dock_fixture f;
    f.wall.controller().setTarget(target_of(1, 200.0, 150.0, CIExy{0.3127, 0.3290}));
    f.wall.store_record(0, record_with(true, false));
    f.dock.selection_changed(0);
    QCOMPARE(f.meter()->state().maximum, 3000.0);
    QVERIFY(!f.meter()->state().show_target);
    QVERIFY(f.meter()->toolTip().isEmpty());
    QCOMPARE(f.xy()->toolTip(), QStringLiteral("Target: (0.313,0.329)"));
}

void tst_calibration_information::unlit_white_clears_both_labels()
{
    dock_fixture f;
    f.wall.store_record(0, record_with(true, false));
    f.dock.selection_changed(0);
    QVERIFY(!f.label("white_level_label").isEmpty());
    CAdjustValue dark = record_with(true, false);
    dark.measurements.native.white = CCIEXYZ(0.0, 0.0, 0.0);
    f.wall.store_record(0, dark);
    f.dock.UpdateDataDisplay();
    QVERIFY(f.label("white_level_label").isEmpty());
    QVERIFY(f.label("xy_label").isEmpty());
    QCOMPARE(f.meter()->state().value, 0.0);
    QCOMPARE(f.xy()->measured_xy(), QPointF(0.0, 0.0));
}

void tst_calibration_information::foot_lamberts_in_the_label()
{
    dock_fixture f;
    luminance_units::set_uses_foot_lamberts(true);
    f.wall.store_record(0, record_with(true, false));
    f.dock.selection_changed(0);
    // 100 cd/m² is 29.19 fL, shown with at least one decimal.
    QCOMPARE(f.label("white_level_label"), QStringLiteral("29.2 fL"));
    QCOMPARE(f.meter()->state().value, 100.0);
}

QTEST_MAIN(tst_calibration_information)
#include "tst_calibration_information.moc"
