#include "colour/CTargetValue.h"
#include "colour/luminance_units.h"
#include "dialogs/information_summary.h"

#include <QLocale>
#include <QtTest>

#include <functional>

namespace {

const QDateTime kMeasured(QDate(2025, 3, 4), QTime(9, 30), Qt::LocalTime);
const QDateTime kCalibrated(QDate(2025, 3, 5), QTime(16, 45), Qt::LocalTime);

const QString kEye = QStringLiteral(":/images/Resources/eye_adjust.png");
const QString kAlert = QStringLiteral(":/images/Resources/alerts_yellow_icon_20.png");
const QString kOffset = QStringLiteral(":/images/Resources/offset_target_16.png");

QString short_date_time(const QDateTime &dateTime)
{
    const QLocale system = QLocale::system();
    return system.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char('\n')
        + system.toString(dateTime.time(), QLocale::ShortFormat);
}

wall_display verified_display()
{
    wall_display display;
    display.readable = true;
    display.item.connection_address = QStringLiteral("10.0.0.7");
    display.item.monitor_id = 7;
    display.item.model_name = QStringLiteral("P555");
    display.item.serial_number = QStringLiteral("SN<7>");
    display.item.verify_status = display_layout_item::kVerified;
    display.item.orientation = display_layout_item::kLandscape;
    return display;
}

// A measured display: native white 200 cd/m² at D65-like chromaticity x 0.3127 y 0.3290, black 0.25.
wall_display measured_display()
{
    wall_display display = verified_display();
    display.has_record = true;
    CAdjustValue &record = display.record;
    record.firmware_version = QStringLiteral("1.02");
    record.SetMacAddress(QStringLiteral("00:11:22:33:44:55"));
    record.measurements.native.white = CCIEYxy(200.0, 0.3127, 0.3290).ToXYZ();
    record.measurements.native.black = CCIEYxy(0.25, 0.3127, 0.3290).ToXYZ();
    record.measurements.measurement_date_time = kMeasured;
    record.operating_hours_measured = 1234.56;
    return display;
}

wall_display calibrated_display()
{
    wall_display display = measured_display();
    CAdjustValue &record = display.record;
    record.SetCalibrationDateTime(kCalibrated);
    record.operating_hours_calibrated = 1300.04;
    record.measurements.corrected.white = CCIEYxy(160.0, 0.313, 0.329).ToXYZ();
    record.gain = {{1.0, 0.8, 0.5}};
    return display;
}

// A calibrated display whose record applies target offsets to intensity and white.
wall_display offset_display()
{
    wall_display display = calibrated_display();
    CAdjustValue &record = display.record;
    record.SetTargetOffsetEnabled(true);
    record.target_intensity_offset = 1.05;
    record.target_offset_dx = -3;
    record.target_offset_dy = 12;
    return display;
}

CTargetValue specified_target(double luminance)
{
    CTargetValue target;
    target.SetIntensityMode(CTargetValue::kIntensitySpecified);
    target.SetSpecifiedLuminance(luminance);
    target.SetWhitePoint(CColorTemperature(CIExy{0.313, 0.329}));
    return target;
}

struct expected_cell
{
    QString text;
    QString icon;
    QString tooltip;
};

struct summary_case
{
    const char *name;
    std::function<wall_display()> display;
    CTargetValue target;
    display_max_luminance maximum;
    // Connection cells checked (others are not looked at).
    QMap<int, expected_cell> connection;
    QList<int> connection_absent;
    // Calibration cells: exactly these are present.
    QMap<int, expected_cell> calibration;
    int line_count;
};

QString measured_white_cell()
{
    const CCIEXYZ white = CCIEYxy(200.0, 0.3127, 0.3290).ToXYZ();
    return QStringLiteral("%L1 K\n(0,313, 0,329)").arg(white.GetColorTemperature());
}

QString corrected_white_cell()
{
    const CCIEXYZ white = CCIEYxy(160.0, 0.313, 0.329).ToXYZ();
    return QStringLiteral("%L1 K\n(0,313, 0,329)\n").arg(white.GetColorTemperature());
}

QMap<int, expected_cell> measured_cells(const QString &uniformity)
{
    return {{0, {QStringLiteral("200,0 cd/m²"), {}, {}}},
            {1, {measured_white_cell(), {}, {}}},
            {2, {QStringLiteral("800:1"), {}, {}}},
            {3, {QStringLiteral("210,0 cd/m²"), {}, {}}},
            {4, {short_date_time(kMeasured), {}, {}}},
            {5, {QStringLiteral("1234.6"), {}, {}}},
            {12, {uniformity, {}, {}}}};
}

QMap<int, expected_cell> calibrated_cells(const QString &settings, const QString &uniformity)
{
    QMap<int, expected_cell> cells = measured_cells(uniformity);
    cells.insert(6, {QStringLiteral("160,0 cd/m²"), {}, {}});
    cells.insert(7, {corrected_white_cell(), {}, {}});
    cells.insert(8, {short_date_time(kCalibrated), {}, {}});
    cells.insert(9, {QStringLiteral("1300.0"), {}, {}});
    cells.insert(10, {QStringLiteral("100,0%"), {}, {}}); // the record's default backlight range
    cells.insert(11, {settings, {}, {}});
    return cells;
}

QList<summary_case> summary_cases()
{
    const display_max_luminance reachable{true, 210.0};
    const CTargetValue target = specified_target(160.0);
    QList<summary_case> cases;

    cases.append({"unreadable layout item", [] { return wall_display(); }, target, reachable,
                  {}, {0, 1, 2, 3, 6, 11}, {}, 1});

    cases.append({"no record: identity, orientation and status only", [] { return verified_display(); }, target,
                  reachable,
                  {{0, {QStringLiteral("10.0.0.7"), {}, {}}},
                   {1, {QStringLiteral("7"), {}, {}}},
                   {3, {QStringLiteral("SN<7>"), {}, {}}},
                   {6, {QStringLiteral("Landscape"), QStringLiteral(":/images/Resources/orientation_landscape.png"), {}}},
                   {11, {QStringLiteral("Verified"), {}, {}}}},
                  {4, 5, 7, 8, 9, 10}, {}, 1});

    cases.append({"measured only, engine unsupported",
                  [] { return measured_display(); }, target, reachable,
                  {{4, {QStringLiteral("1.02"), {}, {}}},
                   {5, {QStringLiteral("00:11:22:33:44:55"), {}, {}}},
                   {7, {QStringLiteral("Unsupported"), {}, {}}},
                   {8, {QStringLiteral("Unsupported"), {}, {}}},
                   {11, {QStringLiteral("Measured"), {}, {}}}},
                  {}, measured_cells(QStringLiteral("Not supported")), 2});

    cases.append({"measured, maximum below the target: warning",
                  [] { return measured_display(); }, specified_target(250.0), reachable, {}, {},
                  [] {
                      QMap<int, expected_cell> cells = measured_cells(QStringLiteral("Not supported"));
                      cells[3] = {QStringLiteral("210,0 cd/m²"), kAlert,
                                  QStringLiteral("Calculated Maximum Intensity result is not close to Target. "
                                                 "Target is too high.")};
                      return cells;
                  }(),
                  2});

    cases.append({"measured, unknown maximum and no black", [] {
                      wall_display display = measured_display();
                      display.record.measurements.native.black = CCIEXYZ();
                      return display;
                  },
                  target, display_max_luminance{false, 0.0}, {}, {},
                  [] {
                      QMap<int, expected_cell> cells = measured_cells(QStringLiteral("Not supported"));
                      cells.remove(2);
                      cells.remove(3);
                      return cells;
                  }(),
                  2});

    cases.append({"lookup-table calibration", [] { return calibrated_display(); }, target, reachable,
                  {{11, {QStringLiteral("Calibrated"), {}, {}}}}, {},
                  calibrated_cells(QStringLiteral("LUT R=255, G=204, B=128"), QStringLiteral("Not supported")), 2});

    cases.append({"gain calibration with trim, backlight in percent", [] {
                      wall_display display = calibrated_display();
                      CAdjustValue &record = display.record;
                      record.SetCalibrationMode(CAdjustValue::kModeGains);
                      record.visual_trim_flags = CAdjustValue::kTrimGains | CAdjustValue::kTrimBacklight;
                      record.visual_trim_multiplier = {{0.92, 1.0, 1.2}};
                      record.backlight_minimum = 0;
                      record.backlight_maximum = 200;
                      record.backlight_setting = 100;
                      record.backlight_visual_trim = 150;
                      return display;
                  },
                  target, reachable,
                  {{11, {QStringLiteral("Calibrated"), QStringLiteral(":/images/Resources/rgb 16.png"),
                         QStringLiteral("Calibrated using RGB Gains.")}}},
                  {},
                  [] {
                      QMap<int, expected_cell> cells = calibrated_cells(
                          QStringLiteral("Gains Trim R=235, G=204, B=153\n[No trim R=255, G=204, B=128]"),
                          QStringLiteral("Not supported"));
                      cells[11].icon = kEye;
                      cells.insert(10, {QStringLiteral("Trim 75,0%\n[No trim 50,0%]"), kEye, {}});
                      return cells;
                  }(),
                  2});

    cases.append({"engine calibration without sensor, luminance backlight", [] {
                      wall_display display = calibrated_display();
                      CAdjustValue &record = display.record;
                      record.engine_capability_word = 1;
                      record.engine_calibrated_word = 1;
                      record.engine_no_sensor_flag = 1;
                      record.engine_luminance_flag = 1;
                      record.engine_white_x = 313;
                      record.engine_white_y = 329;
                      record.uniformity_level = 0;
                      record.backlight_minimum = 50;
                      record.backlight_maximum = 400;
                      record.backlight_setting = 160;
                      return display;
                  },
                  target, reachable,
                  {{7, {QStringLiteral("Supported"), {}, {}}},
                   {11, {QStringLiteral("Calibrated"), QStringLiteral(":/images/Resources/kqe_no_sensor_cal.png"),
                         QStringLiteral("Calibrated using Quillon Engine without Color Sensor.")}}},
                  {},
                  [] {
                      QMap<int, expected_cell> cells =
                          calibrated_cells(QStringLiteral("KQE x=0,313, y=0,329"), QStringLiteral("Correction Level: Off"));
                      cells.insert(10, {QStringLiteral("KQE 160 cd/m²"), {}, {}});
                      return cells;
                  }(),
                  2});

    cases.append({"engine trims: white y only, uniformity level, luminance", [] {
                      wall_display display = calibrated_display();
                      CAdjustValue &record = display.record;
                      record.engine_capability_word = 1;
                      record.engine_calibrated_word = 1;
                      record.engine_luminance_flag = 1;
                      record.engine_white_x = 313;
                      record.engine_white_y = 329;
                      record.engine_white_x_visual_trim = 300;
                      record.engine_white_y_visual_trim = 335;
                      record.uniformity_level = 2;
                      record.uniformity_level_visual_trim = 0;
                      record.visual_trim_flags = CAdjustValue::kTrimEngineWhiteY | CAdjustValue::kTrimUniformityLevel
                          | CAdjustValue::kTrimBacklight;
                      record.backlight_minimum = 50;
                      record.backlight_maximum = 400;
                      record.backlight_setting = 160;
                      record.backlight_visual_trim = 140;
                      return display;
                  },
                  target, reachable,
                  {{11, {QStringLiteral("Calibrated"), QStringLiteral(":/images/Resources/kqe_calibrated.png"),
                         QStringLiteral("Calibrated using Quillon Engine.")}}},
                  {},
                  [] {
                      QMap<int, expected_cell> cells = calibrated_cells(
                          QStringLiteral("KQE trim x=0,313 y=0,335\n[No trim x=0,313, y=0,329]"),
                          QStringLiteral("Correction Level: Off\n[No trim Level: 2]"));
                      cells[11].icon = kEye;
                      cells[12].icon = kEye;
                      cells.insert(10, {QStringLiteral("KQE Trim 140 cd/m²\n[No trim 160 cd/m²]"), kEye, {}});
                      return cells;
                  }(),
                  2});

    cases.append({"target offsets applied, intensity on target", offset_display,
                  target, reachable, {}, {},
                  [] {
                      QMap<int, expected_cell> cells =
                          calibrated_cells(QStringLiteral("LUT R=255, G=204, B=128"), QStringLiteral("Not supported"));
                      cells[6] = {QStringLiteral("160,0 cd/m²\n[Target: 168,0 cd/m²]"), kOffset,
                                  QStringLiteral("Calibration Target Offset applied.")};
                      cells[7] = {corrected_white_cell() + QStringLiteral("[Target: (0,310, 0,341)]"), kOffset,
                                  QStringLiteral("Calibration Target Offset applied.")};
                      return cells;
                  }(),
                  3});

    // A native white has no point for the white offsets to move; the
    // intensity factor still applies.
    CTargetValue native = target;
    native.SetWhitePoint(CColorTemperature(quint16(0)));
    cases.append({"target offsets with a native white: no white target", offset_display,
                  native, reachable, {}, {},
                  [] {
                      QMap<int, expected_cell> cells =
                          calibrated_cells(QStringLiteral("LUT R=255, G=204, B=128"), QStringLiteral("Not supported"));
                      cells[6] = {QStringLiteral("160,0 cd/m²\n[Target: 168,0 cd/m²]"), kOffset,
                                  QStringLiteral("Calibration Target Offset applied.")};
                      return cells;
                  }(),
                  2});

    cases.append({"offset applied and intensity off target: both in the tooltip", [] {
                      wall_display display = calibrated_display();
                      CAdjustValue &record = display.record;
                      record.SetTargetOffsetEnabled(true);
                      record.target_intensity_offset = 1.5;
                      return display;
                  },
                  target, reachable, {}, {},
                  [] {
                      QMap<int, expected_cell> cells =
                          calibrated_cells(QStringLiteral("LUT R=255, G=204, B=128"), QStringLiteral("Not supported"));
                      cells[6] = {QStringLiteral("160,0 cd/m²\n[Target: 240,0 cd/m²]"), kAlert,
                                  QStringLiteral("Calibration Target Offset applied.<br>Actual Calibrated Intensity "
                                                 "result is not close to Target.")};
                      return cells;
                  }(),
                  2});

    cases.append({"intensity off target without an offset", [] {
                      return calibrated_display();
                  },
                  specified_target(200.0), display_max_luminance{true, 250.0}, {}, {},
                  [] {
                      QMap<int, expected_cell> cells =
                          calibrated_cells(QStringLiteral("LUT R=255, G=204, B=128"), QStringLiteral("Not supported"));
                      cells[3] = {QStringLiteral("250,0 cd/m²"), {}, {}};
                      cells[6] = {QStringLiteral("160,0 cd/m²"), kAlert,
                                  QStringLiteral("Actual Calibrated Intensity result is not close to Target.")};
                      return cells;
                  }(),
                  2});

    cases.append({"corners in landscape, one not read", [] {
                      wall_display display = measured_display();
                      CAdjustValue &record = display.record;
                      record.engine_capability_word = 1;
                      record.capability_flags = 1;
                      record.uniformity_level = 1;
                      record.SetChannelEntry(0, CornerUniformityEntry{10, 10, 20, 20, 0});
                      record.SetChannelEntry(1, CornerUniformityEntry{7, 14, 20, 20, 1});
                      record.SetChannelEntry(2, CornerUniformityEntry{0, 0, 0, 0, 0});
                      record.SetChannelEntry(3, CornerUniformityEntry{13, 5, 21, 11, 2});
                      return display;
                  },
                  target, reachable,
                  {{8, {QStringLiteral("Supported"), {}, {}}}, {10, {QStringLiteral("Supported"), {}, {}}}}, {},
                  [] {
                      QMap<int, expected_cell> cells = measured_cells(QStringLiteral("Not Read\nBR: x=-3 y=+0 Area=Small"));
                      cells[12].icon = kEye;
                      return cells;
                  }(),
                  2});

    cases.append({"corners in portrait", [] {
                      wall_display display = measured_display();
                      display.item.orientation = display_layout_item::kPortrait;
                      CAdjustValue &record = display.record;
                      record.engine_capability_word = 1;
                      record.capability_flags = 1;
                      record.uniformity_level = 2;
                      record.SetChannelEntry(0, CornerUniformityEntry{10, 10, 20, 20, 0});
                      record.SetChannelEntry(1, CornerUniformityEntry{12, 8, 20, 20, 1});
                      record.SetChannelEntry(2, CornerUniformityEntry{10, 10, 20, 20, 2});
                      record.SetChannelEntry(3, CornerUniformityEntry{10, 10, 20, 20, 5});
                      return display;
                  },
                  target, reachable,
                  {{6, {QStringLiteral("Portrait"), QStringLiteral(":/images/Resources/orientation_portrait.png"), {}}}},
                  {},
                  [] {
                      QMap<int, expected_cell> cells = measured_cells(QStringLiteral(
                          "Correction Level: 2\nTR: None\nBR: x=-2 y=+2 Area=Medium\nTL: None\nBL: None"));
                      cells[12].icon = kEye;
                      return cells;
                  }(),
                  5});
    return cases;
}

} // namespace

class tst_information_summary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        luminance_units::set_uses_foot_lamberts(false);
    }

    void rows_data();
    void rows();
    void status_rules_data();
    void status_rules();
    void orientation_icon_is_not_for_the_report();
};

void tst_information_summary::rows_data()
{
    QTest::addColumn<int>("index");
    const QList<summary_case> cases = summary_cases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).name) << i;
}

void tst_information_summary::rows()
{
    QFETCH(int, index);
    const summary_case c = summary_cases().at(index);
    const summary_row row = build_summary_row(c.display(), c.target, c.maximum);

    for (auto it = c.connection.cbegin(); it != c.connection.cend(); ++it) {
        const std::optional<summary_cell> &cell = row.connection[size_t(it.key())];
        QVERIFY2(cell, qPrintable(QStringLiteral("connection cell %1 missing").arg(it.key())));
        QCOMPARE(cell->text, it->text);
        QCOMPARE(cell->icon, it->icon);
        QCOMPARE(cell->tooltip, it->tooltip);
    }
    for (int column : c.connection_absent)
        QVERIFY2(!row.connection[size_t(column)], qPrintable(QStringLiteral("connection cell %1").arg(column)));

    for (int column = 0; column < kCalibrationColumnCount; ++column) {
        const std::optional<summary_cell> &cell = row.calibration[size_t(column)];
        const QString where = QStringLiteral("calibration cell %1").arg(column);
        QCOMPARE(bool(cell), c.calibration.contains(column));
        if (!cell)
            continue;
        const expected_cell &expected = c.calibration[column];
        QVERIFY2(cell->text == expected.text, qPrintable(where + QStringLiteral(": ") + cell->text));
        QVERIFY2(cell->icon == expected.icon, qPrintable(where + QStringLiteral(" icon: ") + cell->icon));
        QVERIFY2(cell->tooltip == expected.tooltip, qPrintable(where + QStringLiteral(" tooltip: ") + cell->tooltip));
    }
    QCOMPARE(row.line_count, c.line_count);
}

void tst_information_summary::status_rules_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("conflict");
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<int>("verify");
    QTest::addColumn<int>("record"); // 0 none, 1 measured, 2 calibrated
    QTest::addColumn<QString>("status");

    QTest::newRow("disabled first") << false << true << true << 1 << 2 << "Disabled";
    QTest::newRow("ID conflict before duplicate") << true << true << true << 1 << 2 << "ID Conflict";
    QTest::newRow("duplicate display") << true << false << true << 1 << 2 << "Duplicate display";
    QTest::newRow("not verified") << true << false << false << 0 << 2 << "Not verified";
    QTest::newRow("not powered on reads not verified") << true << false << false << 5 << 2 << "Not verified";
    QTest::newRow("verified and calibrated") << true << false << false << 1 << 2 << "Calibrated";
    QTest::newRow("verified and measured") << true << false << false << 1 << 1 << "Measured";
    QTest::newRow("verified without record") << true << false << false << 1 << 0 << "Verified";
    QTest::newRow("verify failed") << true << false << false << 2 << 2 << "Verify failed";
    QTest::newRow("unsupported model") << true << false << false << 3 << 0 << "Unsupported Model";
    QTest::newRow("unsupported firmware") << true << false << false << 4 << 0 << "Unsupported Firmware";
    QTest::newRow("unknown status") << true << false << false << 7 << 2 << "";
}

void tst_information_summary::status_rules()
{
    QFETCH(bool, enabled);
    QFETCH(bool, conflict);
    QFETCH(bool, duplicate);
    QFETCH(int, verify);
    QFETCH(int, record);
    QFETCH(QString, status);

    wall_display display = record == 2 ? calibrated_display() : record == 1 ? measured_display() : verified_display();
    display.item.enabled = enabled;
    display.item.id_conflict = conflict;
    display.item.duplicate_display = duplicate;
    display.item.verify_status = verify;
    const summary_row row = build_summary_row(display, specified_target(160.0), {});
    QVERIFY(row.connection[11]);
    QCOMPARE(row.connection[11]->text, status);
    // Only a calibrated status carries a picture.
    if (status != QStringLiteral("Calibrated"))
        QVERIFY(row.connection[11]->icon.isEmpty());
}

void tst_information_summary::orientation_icon_is_not_for_the_report()
{
    const summary_row row = build_summary_row(verified_display(), CTargetValue(), {});
    QVERIFY(row.connection[6]);
    QVERIFY(!row.connection[6]->icon.isEmpty());
    QVERIFY(!row.connection[6]->icon_for_report);
}

QTEST_GUILESS_MAIN(tst_information_summary)
#include "tst_information_summary.moc"
