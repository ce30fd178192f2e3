#include "app/services/preferences.h"
#include "colour/luminance_units.h"
#include "jobs/ui/sensor_preparation.h"
#include "sensors/CTargetSensor.h"
#include "tests/dialogs/modal_answer.h"
#include "tests/jobs/wall_task_fixture.h"
#include "views/docks/KQ_colorimeter_widget.h"
#include "views/docks/colorimeter_reading.h"

#include <QJsonArray>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSemaphore>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const char *const kLabels[] = {"colorimeter_xyY_x_label", "colorimeter_xyY_y_label", "colorimeter_xyY_Y_label",
                               "colorimeter_ColorTemp_line1_label", "colorimeter_ColorTemp_line2_label"};
// The simulated instrument's noise stays well below a thousandth in x and y.
constexpr double kXyTolerance = 0.002;
// ...and below half a per cent in luminance.
constexpr double kLuminanceTolerance = 0.005;

QStringList texts(QWidget &dock)
{
    QStringList shown;
    for (const char *name : kLabels)
        shown << dock.findChild<QLabel *>(QLatin1String(name))->text();
    return shown;
}

double number_before_unit(const QString &text)
{
    // Locale digits: the C locale groups thousands with commas.
    return text.section(QLatin1Char(' '), 0, 0).remove(QLatin1Char(',')).toDouble();
}

} // namespace

class tst_colorimeter : public QObject
{
    Q_OBJECT

private slots:
    void labels_data();
    void labels();

    void init();
    void cleanup();
    void reading_matches_the_displays_light_data();
    void reading_matches_the_displays_light();
    void saturated_red_has_no_colour_temperature();
    void failing_measurement_shows_zeros_then_the_error();
    void cancelled_set_up_changes_nothing();
    void driver_held_by_another_thread_measures_nothing();
    void button_follows_the_sensor();

private:
    void click_measure() { m_dock->findChild<QPushButton *>(QStringLiteral("measure_pushButton"))->click(); }

    std::unique_ptr<wall_task_fixture> m_fixture;
    std::unique_ptr<KQ_colorimeter_widget> m_dock;
    int m_display = -1;
};

void tst_colorimeter::labels_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<CCIEXYZ>("reading");
    QTest::addColumn<bool>("foot_lamberts");
    QTest::addColumn<QStringList>("expected");

    const QString delta(QChar(0x0394));
    QTest::newRow("D65 white") << 0 << CCIEXYZ(95.047, 100.0, 108.883) << false
                               << QStringList{"0.313", "0.329", "100.00 cd/m\u00b2", "6504 K", delta};
    QTest::newRow("in foot-lamberts") << 0 << CCIEXYZ(325.5, 342.6, 373.0) << true
                                      << QStringList{"0.313", "0.329", "100.00 fL", "6507 K", delta};
    QTest::newRow("deep red") << 0 << CCIEXYZ(41.2, 21.3, 1.9) << false
                              << QStringList{"0.640", "0.331", "21.30 cd/m\u00b2", "- K", "-"};
    QTest::newRow("failed") << -1003 << CCIEXYZ(95.0, 100.0, 108.0) << false
                            << QStringList{"0.000", "0.000", "0.00 cd/m\u00b2", "- K", "-"};
    QTest::newRow("negative Z") << 0 << CCIEXYZ(5.0, 4.0, -0.5) << false
                                << QStringList{"0.000", "0.000", "0.00 cd/m\u00b2", "- K", "-"};
}

void tst_colorimeter::labels()
{
    QFETCH(int, status);
    QFETCH(CCIEXYZ, reading);
    QFETCH(bool, foot_lamberts);
    QFETCH(QStringList, expected);
    luminance_units::set_uses_foot_lamberts(foot_lamberts);
    const colorimeter_labels labels = colorimeter_labels_for(status, reading);
    luminance_units::set_uses_foot_lamberts(false);
    const QStringList shown{labels.x, labels.y, labels.Y, labels.temperature, labels.distance};
    // The colour temperature may differ by a kelvin or two between conversions.
    QCOMPARE(shown.mid(0, 3), expected.mid(0, 3));
    if (expected.at(3) == QLatin1String("- K")) {
        QCOMPARE(shown.mid(3), expected.mid(3));
    } else {
        QVERIFY2(qAbs(number_before_unit(shown.at(3)) - number_before_unit(expected.at(3))) <= 10,
                 qPrintable(shown.at(3)));
        // The distance from the locus with four decimals, then the unit.
        const QRegularExpression distance(QStringLiteral("^-?\\d\\.\\d{4} %1uv$").arg(QChar(0x0394)));
        QVERIFY2(distance.match(shown.at(4)).hasMatch(), qPrintable(shown.at(4)));
    }
}

void tst_colorimeter::init()
{
    // The set-up dialog proper lives above the docks; a plain one stands in.
    set_color_sensor_setup_dialog_runner([](bool, bool, QWidget *parent) {
        QDialog dialog(parent);
        return dialog.exec() == QDialog::Accepted ? 0 : -1;
    });
    if (QByteArray(QTest::currentTestFunction()).startsWith("labels"))
        return;
    m_fixture = std::make_unique<wall_task_fixture>();
    QVERIFY2(m_fixture->ready(), qPrintable(m_fixture->error()));
    m_display = m_fixture->add_display();
    QVERIFY2(m_display >= 0, qPrintable(m_fixture->error()));
    QVERIFY2(m_fixture->attach_sensor(), qPrintable(m_fixture->error()));
    QVERIFY(m_fixture->place_sensor(m_display));
    // Nothing to place: the hint would wait for the operator.
    m_fixture->controller().controller().getPreferences()->SuppressMessage(1);
    m_fixture->controller().create_wall(1, 1);
    m_dock = std::make_unique<KQ_colorimeter_widget>();
    m_dock->sensor_changed();
}

void tst_colorimeter::cleanup()
{
    cancel_pending_modal_answers();
    luminance_units::set_uses_foot_lamberts(false);
    m_dock.reset();
    m_fixture.reset();
}

void tst_colorimeter::reading_matches_the_displays_light_data()
{
    QTest::addColumn<bool>("foot_lamberts");
    QTest::newRow("cd/m2") << false;
    QTest::newRow("fL") << true;
}

void tst_colorimeter::reading_matches_the_displays_light()
{
    QFETCH(bool, foot_lamberts);
    luminance_units::set_uses_foot_lamberts(foot_lamberts);
    m_fixture->wall().set_input_level(m_display, {1.0, 1.0, 1.0});
    const light_channel::light_reading light = m_fixture->wall().light(m_display);
    const CIExy xy = CCIEXYZ(light.X, light.Y, light.Z).ToCIExy();

    click_measure();
    const QStringList shown = texts(*m_dock);
    QVERIFY2(qAbs(shown.at(0).toDouble() - xy.x) < kXyTolerance, qPrintable(shown.join('|')));
    QVERIFY2(qAbs(shown.at(1).toDouble() - xy.y) < kXyTolerance, qPrintable(shown.join('|')));
    const double expected_Y = foot_lamberts ? light.Y / luminance_units::kCandelaPerFootLambert : light.Y;
    QVERIFY2(qAbs(number_before_unit(shown.at(2)) / expected_Y - 1.0) < kLuminanceTolerance,
             qPrintable(shown.join('|')));
    QVERIFY(shown.at(2).endsWith(luminance_units::luminance_unit_text()));
    QVERIFY(shown.at(3).endsWith(QLatin1String(" K")) && shown.at(3) != QLatin1String("- K"));
    QVERIFY(shown.at(4).endsWith(QLatin1String("uv")));
    QCOMPARE(m_dock->findChild<QLabel *>(QStringLiteral("colorimeter_status_label"))->text(),
             QStringLiteral("<font COLOR=\"#ff0000\"> </font>"));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void tst_colorimeter::saturated_red_has_no_colour_temperature()
{
    m_fixture->wall().set_input_level(m_display, {1.0, 0.0, 0.0});
    const light_channel::light_reading light = m_fixture->wall().light(m_display);
    click_measure();
    const QStringList shown = texts(*m_dock);
    QVERIFY2(qAbs(shown.at(0).toDouble() - CCIEXYZ(light.X, light.Y, light.Z).ToCIExy().x) < kXyTolerance,
             qPrintable(shown.join('|')));
    QCOMPARE(shown.mid(3), QStringList({QStringLiteral("- K"), QStringLiteral("-")}));
}

void tst_colorimeter::failing_measurement_shows_zeros_then_the_error()
{
    QVERIFY(m_fixture->instrument().configure(
        {{QStringLiteral("fail_calls"),
          QJsonArray{QJsonObject{{QStringLiteral("call"), QStringLiteral("i1d3MeasureXYZ")},
                                 {QStringLiteral("code"), -5}}}}}));
    QStringList while_the_box_shows;
    QString box_text;
    when_modal_shows<QMessageBox>([&](QMessageBox *box) {
        while_the_box_shows = texts(*m_dock);
        box_text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    click_measure();
    QVERIFY(!box_text.isEmpty());
    QCOMPARE(while_the_box_shows,
             QStringList({"0.000", "0.000", to_display_luminance_text(0.0, 2, true), "- K", "-"}));
}

void tst_colorimeter::cancelled_set_up_changes_nothing()
{
    QVERIFY(m_fixture->instrument().configure({{QStringLiteral("selector"), QStringLiteral("ambient")}}));
    const QStringList before = texts(*m_dock);
    bool asked = false;
    when_modal_shows<QDialog>([&](QDialog *dialog) {
        asked = true;
        dialog->reject();
    });
    click_measure();
    QVERIFY(asked);
    QCOMPARE(texts(*m_dock), before);
    QVERIFY(m_fixture->instrument().callsNamed(QStringLiteral("i1d3MeasureXYZ")).isEmpty());
}

void tst_colorimeter::driver_held_by_another_thread_measures_nothing()
{
    QMutex &driver = m_fixture->controller().controller().getTargetSensor()->DriverMutex();
    QSemaphore held;
    QSemaphore release;
    std::unique_ptr<QThread> job(QThread::create([&] {
        driver.lock();
        held.release();
        release.acquire();
        driver.unlock();
    }));
    job->start();
    held.acquire();

    const QStringList before = texts(*m_dock);
    const bool enabled = m_dock->findChild<QPushButton *>(QStringLiteral("measure_pushButton"))->isEnabled();
    m_dock->sensor_changed();
    click_measure(); // returns at once: nothing waits for the job
    const QStringList after = texts(*m_dock);
    const bool enabled_after = m_dock->findChild<QPushButton *>(QStringLiteral("measure_pushButton"))->isEnabled();
    release.release();
    job->wait();

    QCOMPARE(after, before);
    QCOMPARE(enabled_after, enabled);
    QVERIFY(m_fixture->instrument().callsNamed(QStringLiteral("i1d3MeasureXYZ")).isEmpty());
}

void tst_colorimeter::button_follows_the_sensor()
{
    QPushButton *measure = m_dock->findChild<QPushButton *>(QStringLiteral("measure_pushButton"));
    QVERIFY(measure->isEnabled());
    CTargetSensor *factory = m_fixture->controller().controller().getTargetSensor();
    factory->SetSensorType(0);
    m_dock->sensor_changed();
    QVERIFY(!measure->isEnabled());
}

QTEST_MAIN(tst_colorimeter)
#include "tst_colorimeter.moc"
