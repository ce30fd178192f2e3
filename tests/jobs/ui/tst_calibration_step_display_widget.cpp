#include "jobs/ui/KQ_calibration_step_display_widget.h"
#include "jobs/ui/calibration_step_pictures.h"
#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"

#include <QtTest>

using namespace widget_images;

class tst_calibration_step_display_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }
    void every_picture_exists();
    void task_codes_choose_pictures_data();
    void task_codes_choose_pictures();
    void countdown_sits_in_the_clock_face_data();
    void countdown_sits_in_the_clock_face();
    void codes_without_a_picture_keep_the_last_one();
    void countdown_only_while_the_luminance_settles();
    void picture_stays_square_at_the_top_left();
};

void tst_calibration_step_display_widget::every_picture_exists()
{
    for (int task = -1; task <= 30; ++task) {
        const QString name = calibration_step_picture(task);
        if (!name.isEmpty())
            QVERIFY2(!QPixmap(name).isNull(), qPrintable(name));
    }
}

void tst_calibration_step_display_widget::task_codes_choose_pictures_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<QString>("picture");
    const QString none;
    const QString base = QStringLiteral(":/images/Resources/");
    QTest::newRow("1 display adjustment") << 1 << base + "monitor adjust 128.png";
    QTest::newRow("11 restore after a failure") << 11 << base + "monitor adjust 128.png";
    QTest::newRow("4 white point") << 4 << base + "rgb gain adjust128.png";
    QTest::newRow("8 settling wait") << 8 << base + "brightness wait128.png";
    QTest::newRow("10 black level") << 10 << base + "brightness adjust128.png";
    QTest::newRow("14 sensor placement") << 14 << base + "sensor_placement_on_lcd_red_128.png";
    QTest::newRow("17 calibrated display") << 17 << base + "gamma blue 128.png";
    QTest::newRow("25") << 25 << base + "gamma blue 128.png";
    QTest::newRow("23 black patch") << 23 << base + "cie gamut black128.png";
    for (int task : {0, 2, 3, 5, 12, 16, 18, 19, 26, -4})
        QTest::newRow(qPrintable(QStringLiteral("%1 none").arg(task))) << task << none;
}

void tst_calibration_step_display_widget::task_codes_choose_pictures()
{
    QFETCH(int, task);
    QFETCH(QString, picture);
    QCOMPARE(calibration_step_picture(task), picture);
}

void tst_calibration_step_display_widget::countdown_sits_in_the_clock_face_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("128") << 128 << QRect(7, -5, 128, 128);
    QTest::newRow("64") << 64 << QRect(4, -2, 64, 64);
    QTest::newRow("odd side truncates") << 75 << QRect(75 * 70 / 128 - 37 + 1, 75 * 58 / 128 - 37 + 1, 75, 75);
}

void tst_calibration_step_display_widget::countdown_sits_in_the_clock_face()
{
    QFETCH(int, side);
    QFETCH(QRect, rect);
    QCOMPARE(calibration_step_countdown_rect(side), rect);
}

void tst_calibration_step_display_widget::codes_without_a_picture_keep_the_last_one()
{
    KQ_calibration_step_display_widget widget;
    widget.resize(128, 128);
    widget.set_calibration_task(4);
    const QImage gains = paint(widget);
    QVERIFY(shows_picture(gains, QImage(QStringLiteral(":/images/Resources/rgb gain adjust128.png")), QPoint()));
    widget.set_calibration_task(19);
    QCOMPARE(paint(widget), gains);
    widget.set_calibration_sub_task(3);
    QCOMPARE(paint(widget), gains);
    widget.set_calibration_task(6);
    QVERIFY(paint(widget) != gains);
}

void tst_calibration_step_display_widget::countdown_only_while_the_luminance_settles()
{
    KQ_calibration_step_display_widget widget;
    widget.resize(128, 128);
    const auto pinkish = [](const QColor &c) {
        return c.red() > 200 && std::abs(c.green() - 128) < 40 && std::abs(c.blue() - 128) < 40;
    };

    widget.set_calibration_task(9);
    const QImage adjusting = paint(widget);
    widget.set_wait_time(30);
    QCOMPARE(paint(widget), adjusting);

    // A wait that arrived before the settling task was cleared and stays so.
    widget.set_calibration_task(8);
    const QImage waiting = paint(widget);
    QCOMPARE(count(waiting, waiting.rect(), pinkish), 0);

    widget.set_wait_time(30);
    const QImage counting = paint(widget);
    QVERIFY(count(counting, QRect(40, 25, 60, 70), pinkish) > 20);
    QCOMPARE(widget.font().pointSize(), 20);

    widget.set_wait_time(0);
    QCOMPARE(paint(widget), waiting);
}

void tst_calibration_step_display_widget::picture_stays_square_at_the_top_left()
{
    KQ_calibration_step_display_widget wide;
    wide.resize(200, 100);
    wide.set_calibration_task(24);
    const QImage image = paint(wide);
    const QColor background = wide.palette().window().color();
    QCOMPARE(count_near(image, QRect(100, 0, 100, 100), background), 100 * 100);
    // The picture fills the square from top to bottom (it has transparent parts).
    QVERIFY(count_near(image, QRect(0, 0, 100, 20), background) < 100 * 20);
    QVERIFY(count_near(image, QRect(0, 80, 100, 20), background) < 100 * 20);

    KQ_calibration_step_display_widget reference;
    QCOMPARE(reference.sizeHint(), QSize(128, 128));
    QCOMPARE(reference.minimumSizeHint(), QSize(128, 128));
    QCOMPARE(reference.sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
}

QTEST_MAIN(tst_calibration_step_display_widget)
#include "tst_calibration_step_display_widget.moc"
