#include "colour/CMonitorTracker.h"
#include "colour/luminance_units.h"
#include "dialogs/diagnostics_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/headless_controller.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

const QDateTime kMeasured(QDate(2025, 3, 4), QTime(9, 30), Qt::LocalTime);
const QDateTime kCalibrated(QDate(2025, 3, 5), QTime(16, 45), Qt::LocalTime);

QString date_and_time(const QDateTime &dateTime)
{
    const QLocale system = QLocale::system();
    return system.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + system.toString(dateTime.time(), QLocale::ShortFormat);
}

CTargetValue xy_target()
{
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(CIExy{0.3, 0.31}));
    target.SetGamma(2.2);
    return target;
}

const QByteArray kXyHeader = "Calibration Target:\r\n White Point: x=0,300 y=0,310\r\n Gamma: 2,20\r\n"
                             " Intensity: - (Maximum Matching)\r\n Contrast Ratio: Monitor Default\r\n\r\n";

wall_display display(int id)
{
    wall_display display;
    display.readable = true;
    display.item.connection_address = QStringLiteral("10.0.0.%1").arg(id);
    display.item.monitor_id = id;
    display.item.model_name = QStringLiteral("P555");
    display.item.serial_number = QStringLiteral("SN%1").arg(id);
    display.item.verify_status = display_layout_item::kVerified;
    return display;
}

// Uncorrected primaries and a greyscale of five steps along a square law,
// from which the measured channel curves can be built.
void add_greyscale(CColorValue &colour)
{
    colour.uncorrected.red = CCIEYxy(21.0, 0.64, 0.33).ToXYZ();
    colour.uncorrected.green = CCIEYxy(72.0, 0.30, 0.60).ToXYZ();
    colour.uncorrected.blue = CCIEYxy(7.0, 0.15, 0.06).ToXYZ();
    const CCIEXYZ white(colour.uncorrected.red.X + colour.uncorrected.green.X + colour.uncorrected.blue.X,
                        colour.uncorrected.red.Y + colour.uncorrected.green.Y + colour.uncorrected.blue.Y,
                        colour.uncorrected.red.Z + colour.uncorrected.green.Z + colour.uncorrected.blue.Z);
    for (int i = 0; i < 5; ++i) {
        const double level = std::pow(i / 4.0, 2.0);
        colour.uncorrected_greyscale.append(CCIEXYZ(white.X * level, white.Y * level, white.Z * level));
    }
}

wall_display recorded(int id, const std::function<void(CAdjustValue &)> &setUp)
{
    wall_display shown = display(id);
    shown.has_record = true;
    CAdjustValue &record = shown.record;
    record.sensor_name = QStringLiteral("i1Display <Pro>");
    record.sensor_serial_number = QStringLiteral("A-17");
    record.calibration_duration = 1500;
    record.gain = {{1.0, 0.8, 0.5}};
    record.software_build = 210208;
    record.video_input = 17;
    setUp(record);
    return shown;
}

QStringList lines_of(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
}

} // namespace

class tst_diagnostics_file : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        luminance_units::set_uses_foot_lamberts(false);
    }

    void empty_wall();
    void kelvin_target_bracket_data();
    void kelvin_target_bracket();
    void display_without_record();
    void unreadable_display();
    void record_lines_data();
    void record_lines();
    void only_engine_uniformity_lines_end_in_line_feed();
    void curve_and_lookup_table_listing();
    void native_target_compares_with_the_display_white();
    void listing_needs_a_measured_curve();
    void store_record_is_not_changed();
    void write_file_data();
    void write_file();
    void failed_write_keeps_the_previous_file();
};

void tst_diagnostics_file::empty_wall()
{
    QCOMPARE(diagnostics_text(xy_target(), {}), kXyHeader);
}

void tst_diagnostics_file::kelvin_target_bracket_data()
{
    QTest::addColumn<int>("kelvin");
    QTest::addColumn<bool>("bracket");
    QTest::newRow("kelvin") << 6500 << true;
    QTest::newRow("native") << 0 << false;
}

void tst_diagnostics_file::kelvin_target_bracket()
{
    QFETCH(int, kelvin);
    QFETCH(bool, bracket);
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(quint16(kelvin)));
    const QString line = lines_of(diagnostics_text(target, {})).at(1);
    const CColorTemperature white = target.GetWhitePoint();
    QString expected = QStringLiteral(" White Point: ") + target.GetWhitePointText();
    if (bracket)
        expected += QStringLiteral(" (CIE xy %1, %2)")
                        .arg(QLocale().toString(white.GetX(), 'f', 3), QLocale().toString(white.GetY(), 'f', 3));
    QCOMPARE(line, expected);
}

void tst_diagnostics_file::display_without_record()
{
    wall_display shown = display(1);
    shown.item.verify_status = 7;
    QCOMPARE(diagnostics_text(xy_target(), {shown}),
             kXyHeader
                 + "Display#: 1\r\nPort: 10.0.0.1\r\nMonitor ID: 1\r\nModel: P555\r\nSerial#: SN1\r\n"
                   "MAC Address: \r\nFirmware Version: \r\nStatus: \r\n\r\n");
}

void tst_diagnostics_file::unreadable_display()
{
    const QByteArray expected("Display#: 1\r\n No data available\r\n\r\nDisplay#: 2\r\n");
    QCOMPARE(diagnostics_text(xy_target(), {wall_display(), display(2)}).mid(kXyHeader.size(), expected.size()),
             expected);
}

void tst_diagnostics_file::record_lines_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString uncalibrated = QStringLiteral("Date Calibrated:  ");
    QTest::newRow("lookup table, uncalibrated, unmeasured")
        << 0
        << QStringList{QStringLiteral("Color Sensor: i1Display <Pro> S/N A-17"),
                       QStringLiteral("Calibration Time: 1.500 seconds"),
                       QStringLiteral("Native W Y=0,00 x=0,0000 y=0,0000"),
                       QStringLiteral("Corrected Bl Y=0,00 x=0,0000 y=0,0000"),
                       QStringLiteral("Gains: R=1,00 G=0,8000 B=0,5000"),
                       QStringLiteral("LUT R=255, G=204, B=128"), uncalibrated,
                       QStringLiteral("Operating Hours When Calibrated: 0,0"),
                       QStringLiteral("Calibrated using software build: 210208"),
                       QStringLiteral("Video input used for calibration: 17"), QStringLiteral("Status: Verified")}
        << QStringList{QStringLiteral("Date Measured"), QStringLiteral("Visual Trim"), QStringLiteral("with Visual Trim"),
                       QStringLiteral("Target Intensity"), QStringLiteral("Target White"), QStringLiteral("KQE"),
                       QStringLiteral("Uniformity")};
    QTest::newRow("gains with trim, backlight, measured and calibrated")
        << 1
        << QStringList{QStringLiteral("Status: Calibrated"),
                       QStringLiteral("Date Measured: ") + date_and_time(kMeasured),
                       QStringLiteral("Operating Hours when measured: 1.234,6"),
                       QStringLiteral("Visual Trim: [R -8,0%, G 0,0%, B 20,0%]"),
                       QStringLiteral("Backlight brightness Setting with Visual Trim: 75% [without 50%]"),
                       QStringLiteral("Gains with visual trim R=235, G=204, B=153 [without R=255, G=204, B=128]"),
                       QStringLiteral("Gains visual trim multiplier R=0,92, G=1, B=1,2"),
                       QStringLiteral("Date Calibrated: ") + date_and_time(kCalibrated)}
        << QStringList{QStringLiteral("Gains R="), QStringLiteral("LUT")};
    QTest::newRow("lookup table with trim, backlight untrimmed")
        << 2
        << QStringList{QStringLiteral("LUT with visual trim R=235, G=204, B=153 [without R=255, G=204, B=128]"),
                       QStringLiteral("LUT visual trim multiplier R=0,92, G=1, B=1,2"),
                       QStringLiteral("Backlight brightness Setting: 33,3333%")}
        << QStringList{QStringLiteral("Gains R="), QStringLiteral("with Visual Trim")};
    QTest::newRow("engine, untrimmed")
        << 3 << QStringList{QStringLiteral("KQE White x=0,313, y=0,329")}
        << QStringList{QStringLiteral("Gains R="), QStringLiteral("LUT R="), QStringLiteral("with visual trim")};
    QTest::newRow("engine, white x trimmed only")
        << 4 << QStringList{QStringLiteral("KQE White with visual trim x=0,300 y=0,329 [without x=0,313, y=0,329]")}
        << QStringList{QStringLiteral("KQE White x=")};
    QTest::newRow("target offsets")
        << 5
        << QStringList{QStringLiteral("Target Intensity with Target Offset: 330,0 cd/m²"),
                       QStringLiteral("Target White Point with Target Offset CIE xy: 0.297, 0.322")}
        << QStringList{};
    QTest::newRow("offset switch off")
        << 6 << QStringList{} << QStringList{QStringLiteral("Target Intensity"), QStringLiteral("Target White")};
}

namespace {

void set_up_record(int kind, CAdjustValue &record)
{
    switch (kind) {
    case 1:
        record.SetCalibrationMode(CAdjustValue::kModeGains);
        record.measurements.measurement_date_time = kMeasured;
        record.operating_hours_measured = 1234.56;
        record.SetCalibrationDateTime(kCalibrated);
        record.visual_trim_flags = CAdjustValue::kTrimGains | CAdjustValue::kTrimBacklight;
        record.visual_trim_multiplier = {{0.92, 1.0, 1.2}};
        record.backlight_minimum = 0;
        record.backlight_maximum = 200;
        record.backlight_setting = 100;
        record.backlight_visual_trim = 150;
        break;
    case 2:
        record.visual_trim_flags = CAdjustValue::kTrimGains;
        record.visual_trim_multiplier = {{0.92, 1.0, 1.2}};
        record.backlight_minimum = 10;
        record.backlight_maximum = 100;
        record.backlight_setting = 40;
        break;
    case 3:
    case 4:
        record.engine_calibrated_word = 1;
        record.engine_white_x = 313;
        record.engine_white_y = 329;
        record.engine_white_x_visual_trim = 300;
        record.engine_white_y_visual_trim = 340;
        record.uniformity_level = 2;
        if (kind == 4)
            record.visual_trim_flags = CAdjustValue::kTrimEngineWhiteX;
        break;
    case 5:
    case 6:
        record.SetTargetOffsetEnabled(kind == 5);
        record.target_intensity_offset = 1.1;
        record.target_offset_dx = -3;
        record.target_offset_dy = 12;
        break;
    default:
        break;
    }
}

} // namespace

void tst_diagnostics_file::record_lines()
{
    QFETCH(int, kind);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    CTargetValue target = xy_target();
    target.SetIntensityMode(CTargetValue::kIntensitySpecified);
    target.SetSpecifiedLuminance(300.0);
    const QByteArray bytes =
        diagnostics_text(target, {recorded(1, [kind](CAdjustValue &record) { set_up_record(kind, record); })});
    const QStringList lines = lines_of(bytes);
    for (const QString &line : present)
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral("\n---\n") + QString::fromUtf8(bytes)));
    for (const QString &fragment : absent)
        QVERIFY2(!bytes.contains(fragment.toUtf8()), qPrintable(fragment));
    // The block ends with the record's empty line and its own.
    QVERIFY(bytes.endsWith("\r\n\r\n"));
}

void tst_diagnostics_file::only_engine_uniformity_lines_end_in_line_feed()
{
    const QByteArray engine = diagnostics_text(xy_target(), {recorded(1, [](CAdjustValue &record) {
                                                   record.engine_calibrated_word = 1;
                                                   record.uniformity_level = 2;
                                                   record.uniformity_level_visual_trim = 1;
                                               }),
                                               recorded(2, [](CAdjustValue &record) {
                                                   record.engine_calibrated_word = 1;
                                                   record.uniformity_level = 1;
                                                   record.visual_trim_flags = CAdjustValue::kTrimUniformityLevel;
                                                   record.uniformity_level_visual_trim = 0;
                                               })});
    QVERIFY(engine.contains("KQE White x=0,000, y=0,000\r\nUniformity level: 2\nDate Calibrated: "));
    QVERIFY(engine.contains("\r\nUniformity level with visual trim: 0 (without 1)\nDate Calibrated: "));
    // Every other line feed follows a carriage return.
    QByteArray rest = engine;
    rest.replace("Uniformity level: 2\n", "").replace("Uniformity level with visual trim: 0 (without 1)\n", "");
    QCOMPARE(rest.count('\n'), rest.count("\r\n"));
}

void tst_diagnostics_file::curve_and_lookup_table_listing()
{
    const QByteArray bytes = diagnostics_text(xy_target(), {recorded(1, [](CAdjustValue &record) {
                                                  add_greyscale(record.measurements);
                                                  record.measurements.corrected_greyscale.append(
                                                      CCIEYxy(100.0, 0.31, 0.32).ToXYZ());
                                              })});
    const QStringList lines = lines_of(bytes);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^UnCorrectedGrayscale \\d"))).size(), 5);
    QVERIFY(lines.contains(QStringLiteral("CorrectedGrayscale 0 Y=100,00 x=0,3100 y=0,3200 (dx=0,010 dy=0,010)")));
    const QStringList spline = lines.filter(QRegularExpression(QStringLiteral("^CorrectionSpline ")));
    QCOMPARE(spline.size(), 5);
    QCOMPARE(spline.first(), QStringLiteral("CorrectionSpline 0.000 R=0,000 G=0,000 B=0,000"));
    QCOMPARE(spline.last(), QStringLiteral("CorrectionSpline 1.000 R=1,000 G=1,000 B=1,000"));
    const QStringList table = lines.filter(QRegularExpression(QStringLiteral("^LUT \\d")));
    QCOMPARE(table.size(), 256);
    QCOMPARE(table.first(), QStringLiteral("LUT 0 R=0 G=0 B=0"));
    QCOMPARE(table.at(128).section(QLatin1Char(' '), 0, 1), QStringLiteral("LUT 128"));
    QCOMPARE(table.last(), QStringLiteral("LUT 255 R=255 G=204 B=128"));
}

// A native target has no white for the offsets to move nor for the grey
// steps to be compared with: they are compared with the display's own white.
void tst_diagnostics_file::native_target_compares_with_the_display_white()
{
    CTargetValue target;
    target.SetWhitePoint(CColorTemperature(quint16(0)));
    target.SetIntensityMode(CTargetValue::kIntensitySpecified);
    target.SetSpecifiedLuminance(300.0);
    const QByteArray bytes = diagnostics_text(target, {recorded(1, [](CAdjustValue &record) {
                                                  set_up_record(5, record);
                                                  record.measurements.native.white = CCIEYxy(200.0, 0.30, 0.33).ToXYZ();
                                                  record.measurements.uncorrected_greyscale.append(
                                                      CCIEYxy(50.0, 0.30, 0.33).ToXYZ());
                                                  record.measurements.corrected_greyscale.append(
                                                      CCIEYxy(100.0, 0.31, 0.32).ToXYZ());
                                              })});
    const QStringList lines = lines_of(bytes);
    QVERIFY2(lines.contains(QStringLiteral("Target Intensity with Target Offset: 330,0 cd/m²")), bytes.constData());
    QVERIFY(!bytes.contains("Target White Point with Target Offset"));
    QVERIFY2(lines.contains(QStringLiteral("UnCorrectedGrayscale 0 Y=50,00 x=0,3000 y=0,3300 (dx=0,000 dy=0,000)")),
             bytes.constData());
    QVERIFY(lines.contains(QStringLiteral("CorrectedGrayscale 0 Y=100,00 x=0,3100 y=0,3200 (dx=0,010 dy=-0,010)")));
}

void tst_diagnostics_file::listing_needs_a_measured_curve()
{
    const QByteArray bytes = diagnostics_text(xy_target(), {recorded(1, [](CAdjustValue &) {})});
    QVERIFY(!bytes.contains("CorrectionSpline"));
    QVERIFY(!bytes.contains("\r\nLUT 0"));
}

void tst_diagnostics_file::store_record_is_not_changed()
{
    headless_controller wall;
    wall.create_wall(1, 1);
    CAdjustValue record;
    add_greyscale(record.measurements);
    wall.store_record(0, record);
    monitor_tracker_item before(QStringLiteral("P555"), QStringLiteral("SN0"));
    QVERIFY(wall.records().GetAdjustValue(before) >= 0);
    QVERIFY(!before.measurements.inverse_response_curves[0].IsValid());

    QTemporaryDir folder;
    QCOMPARE(write_diagnostics_file(folder.filePath(QStringLiteral("d.txt"))), 0);
    monitor_tracker_item after(QStringLiteral("P555"), QStringLiteral("SN0"));
    QVERIFY(wall.records().GetAdjustValue(after) >= 0);
    QVERIFY(!after.measurements.inverse_response_curves[0].IsValid());
}

void tst_diagnostics_file::write_file_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new file") << false;
    QTest::newRow("replaces a longer file") << true;
}

void tst_diagnostics_file::write_file()
{
    QFETCH(bool, existing);
    headless_controller wall;
    wall.create_wall(2, 1);
    wall.store_record(1, CAdjustValue(), QStringLiteral("P555"), QStringLiteral("Série ü"));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("diagnostics.txt"));
    if (existing) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    QCOMPARE(write_diagnostics_file(path), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes, diagnostics_text(wall.controller().getTarget(),
                                     read_wall_displays(wall.layout(), wall.records())));
    QVERIFY(bytes.contains(QStringLiteral("Serial#: Série ü\r\n").toUtf8()));
}

void tst_diagnostics_file::failed_write_keeps_the_previous_file()
{
    headless_controller wall;
    wall.create_wall(4, 4);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("diagnostics.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous\r\n");
    }
    {
        file_size_limit full(64);
        QVERIFY(full.active());
        QCOMPARE(write_diagnostics_file(path), kDiagnosticsSaveFailed);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("previous\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("diagnostics.txt")});
    QCOMPARE(write_diagnostics_file(folder.filePath(QStringLiteral("missing/d.txt"))), kDiagnosticsSaveFailed);
}

QTEST_MAIN(tst_diagnostics_file)
#include "tst_diagnostics_file.moc"
