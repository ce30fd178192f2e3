#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"
#include "tests/support/widget_input.h"
#include "views/widgets/KQ_color_picker_circle_widget.h"
#include "views/widgets/color_picker_circle_geometry.h"

#include <QSignalSpy>
#include <QtTest>

using namespace widget_images;

namespace {

// A 256-pixel picker: diameter 237, drawn radius 118 around (127, 127); the
// pointer's centre is (127.5, 127.5), radius 118.5.
const QSize kSize(256, 256);

// The hue in [0, 1): hue 1 is hue 0.
double turn(double hue)
{
    return hue - std::floor(hue);
}

} // namespace

class tst_color_picker_circle_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void geometry_of_the_circle();
    void ball_sits_at_hue_and_saturation_data();
    void ball_sits_at_hue_and_saturation();
    void pointer_gives_hue_and_saturation_data();
    void pointer_gives_hue_and_saturation();
    void quarter_pixel_steps_add_up();
    void press_outside_the_circle_does_nothing();
    void pointer_only_reports();
    void dragging_past_the_rim_gives_full_saturation();
    void arrow_keys_move_the_ball_and_report();
    void paints_the_ball_for_the_screen();
    void disabled_shows_the_grey_circle_without_the_ball();
};

void tst_color_picker_circle_widget::initTestCase()
{
    tessaline_init_resources();
    if (qgetenv("QT_SCALE_FACTOR") == "2")
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    KQ_color_picker_circle_widget picker;
    QCOMPARE(picker.sizeHint(), kSize);
    QCOMPARE(picker.minimumSize(), kSize);
}

void tst_color_picker_circle_widget::geometry_of_the_circle()
{
    const color_circle_geometry geometry = color_circle_geometry_for(kSize);
    QCOMPARE(geometry.diameter, 237);
    QCOMPARE(geometry.radius, 118);
    QCOMPARE(geometry.drawCentre, QPoint(127, 127));
    QCOMPARE(geometry.hitCentre, QPointF(127.5, 127.5));
    // A non-square widget uses the smaller side.
    QCOMPARE(color_circle_geometry_for(QSize(300, 256)).diameter, 237);
    QVERIFY(!color_circle_contains(color_circle_geometry_for(QSize(10, 10)), QPoint(5, 5)));
}

void tst_color_picker_circle_widget::ball_sits_at_hue_and_saturation_data()
{
    QTest::addColumn<double>("hue");
    QTest::addColumn<double>("saturation");
    QTest::addColumn<QPoint>("centre");
    QTest::newRow("grey at the centre") << 0.3 << 0.0 << QPoint(127, 127);
    QTest::newRow("hue 0 straight below") << 0.0 << 1.0 << QPoint(127, 245);
    QTest::newRow("a quarter turn to the right") << 0.25 << 1.0 << QPoint(245, 127);
    QTest::newRow("half a turn above, half saturated") << 0.5 << 0.5 << QPoint(127, 68);
    QTest::newRow("three quarters to the left") << 0.75 << 1.0 << QPoint(9, 127);
}

void tst_color_picker_circle_widget::ball_sits_at_hue_and_saturation()
{
    QFETCH(double, hue);
    QFETCH(double, saturation);
    QFETCH(QPoint, centre);
    const QPoint ball = color_circle_ball_centre(color_circle_geometry_for(kSize), {hue, saturation});
    // Truncated to whole pixels, so 244.99999 lands on 244: one pixel of slack.
    QVERIFY2(qAbs(ball.x() - centre.x()) <= 1 && qAbs(ball.y() - centre.y()) <= 1,
             qPrintable(QStringLiteral("%1,%2").arg(ball.x()).arg(ball.y())));
}

void tst_color_picker_circle_widget::pointer_gives_hue_and_saturation_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<double>("hue");
    QTest::addColumn<double>("saturation");
    QTest::newRow("centre: hue a half, no saturation") << QPointF(127.5, 127.5) << 0.5 << 0.0;
    QTest::newRow("rim below") << QPointF(127.5, 246.0) << 0.0 << 1.0;
    QTest::newRow("half way right") << QPointF(127.5 + 59.25, 127.5) << 0.25 << 0.5;
    QTest::newRow("above") << QPointF(127.5, 50.0) << 0.5 << 77.5 / 118.5;
    QTest::newRow("left") << QPointF(30.0, 127.5) << 0.75 << 97.5 / 118.5;
    QTest::newRow("past the rim, diagonally") << QPointF(400.0, 400.0) << 0.125 << 1.0;
}

void tst_color_picker_circle_widget::pointer_gives_hue_and_saturation()
{
    QFETCH(QPointF, point);
    QFETCH(double, hue);
    QFETCH(double, saturation);
    const hue_saturation value = color_circle_value_at(color_circle_geometry_for(kSize), point);
    // The turn uses 6.2831854 for 2 pi, so hues are good to about 1e-8.
    QVERIFY2(qAbs(turn(value.hue + 1e-9) - hue) < 1e-7, qPrintable(QString::number(value.hue, 'g', 12)));
    QVERIFY(qAbs(value.saturation - saturation) < 1e-9);
}

void tst_color_picker_circle_widget::quarter_pixel_steps_add_up()
{
    const color_circle_geometry geometry = color_circle_geometry_for(kSize);
    hue_saturation value{0.0, 0.0};
    for (int step = 0; step < 4; ++step)
        value = *color_circle_moved(geometry, value, QPointF(0.25, 0));
    QVERIFY(qAbs(value.saturation - 1.0 / 118.5) < 1e-9);
    QVERIFY(qAbs(value.hue - 0.25) < 1e-7);
    // At the rim a step outwards keeps the saturation at 1.
    value = *color_circle_moved(geometry, {0.25, 1.0}, QPointF(0.25, 0));
    QCOMPARE(value.saturation, 1.0);
    QVERIFY(!color_circle_moved(color_circle_geometry_for(QSize(15, 15)), value, QPointF(1, 0)));
}

void tst_color_picker_circle_widget::press_outside_the_circle_does_nothing()
{
    KQ_color_picker_circle_widget picker;
    picker.resize(kSize);
    QSignalSpy changed(&picker, &KQ_color_picker_circle_widget::HueSatChanged);
    widget_input::press(picker, QPoint(3, 3));
    widget_input::move(picker, QPoint(127, 127), Qt::LeftButton);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(picker.cursor().shape(), Qt::OpenHandCursor);
    widget_input::move(picker, QPoint(3, 3));
    QCOMPARE(picker.cursor().shape(), Qt::ArrowCursor);
}

void tst_color_picker_circle_widget::pointer_only_reports()
{
    KQ_color_picker_circle_widget picker;
    picker.resize(kSize);
    picker.setHueSaturation(0.25, 0.5);
    QSignalSpy changed(&picker, &KQ_color_picker_circle_widget::HueSatChanged);
    widget_input::click(picker, QPoint(127, 200));
    QCOMPARE(changed.count(), 1);
    QVERIFY(changed.at(0).at(1).toDouble() > 0.5);

    // The ball stayed where the owner put it: a key moves it from there.
    QTest::keyClick(&picker, Qt::Key_Right);
    QCOMPARE(changed.count(), 2);
    QVERIFY(qAbs(changed.at(1).at(0).toDouble() - 0.25) < 1e-7);
    QVERIFY(qAbs(changed.at(1).at(1).toDouble() - (0.5 + 0.25 / 118.5)) < 1e-9);
}

void tst_color_picker_circle_widget::dragging_past_the_rim_gives_full_saturation()
{
    KQ_color_picker_circle_widget picker;
    picker.resize(kSize);
    QSignalSpy changed(&picker, &KQ_color_picker_circle_widget::HueSatChanged);
    widget_input::press(picker, QPoint(127, 127));
    QCOMPARE(picker.cursor().shape(), Qt::ArrowCursor); // set on the first move
    widget_input::move(picker, QPoint(140, 127), Qt::LeftButton);
    QCOMPARE(picker.cursor().shape(), Qt::ClosedHandCursor);
    widget_input::move(picker, QPoint(600, 127), Qt::LeftButton);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.last().at(1).toDouble(), 1.0);
    // Half a pixel above the centre row, 472 pixels out: a quarter turn within 1e-3.
    QVERIFY(qAbs(changed.last().at(0).toDouble() - 0.25) < 1e-3);

    widget_input::release(picker, QPoint(600, 127));
    widget_input::move(picker, QPoint(140, 127), Qt::LeftButton);
    QCOMPARE(changed.count(), 3);
}

void tst_color_picker_circle_widget::arrow_keys_move_the_ball_and_report()
{
    KQ_color_picker_circle_widget picker;
    picker.resize(kSize);
    QSignalSpy changed(&picker, &KQ_color_picker_circle_widget::HueSatChanged);
    QTest::keyClick(&picker, Qt::Key_Up);
    QTest::keyClick(&picker, Qt::Key_Up);
    QCOMPARE(changed.count(), 2);
    QVERIFY(qAbs(changed.last().at(0).toDouble() - 0.5) < 1e-7);
    QVERIFY(qAbs(changed.last().at(1).toDouble() - 0.5 / 118.5) < 1e-9);

    picker.moveControlBall(-2, 2); // half a pixel left and down: now left of the centre
    QCOMPARE(changed.count(), 3);
    QVERIFY(qAbs(changed.last().at(0).toDouble() - 0.75) < 1e-7);

    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(&picker, &other);
    QVERIFY(!other.isAccepted());
    QCOMPARE(changed.count(), 3);
}

void tst_color_picker_circle_widget::paints_the_ball_for_the_screen()
{
    KQ_color_picker_circle_widget picker;
    picker.resize(kSize);
    picker.setHueSaturation(0.0, 0.0);
    const QImage image = paint(picker);
    const qreal ratio = image.devicePixelRatio();
    const QImage ball(ratio > 1 ? QStringLiteral(":/images/Resources/control ball@2x.png")
                                : QStringLiteral(":/images/Resources/control ball.png"));
    // A 16-pixel ball centred on (127, 127).
    QVERIFY(shows_picture(image, ball, QPoint(119, 119) * ratio));
}

void tst_color_picker_circle_widget::disabled_shows_the_grey_circle_without_the_ball()
{
    KQ_color_picker_circle_widget picker;
    picker.resize(kSize);
    picker.setEnabled(false);
    const QImage image = paint(picker);
    const qreal ratio = image.devicePixelRatio();
    QVERIFY(!shows_picture(image, QImage(QStringLiteral(":/images/Resources/control ball.png")),
                           QPoint(119, 119) * ratio));
    // The disabled circle is grey wherever the picture is opaque.
    const QColor middle = pixel(image, QPoint(60, 128));
    QVERIFY2(qAbs(middle.red() - middle.green()) < 12 && qAbs(middle.green() - middle.blue()) < 12,
             qPrintable(middle.name()));
}

QTEST_MAIN(tst_color_picker_circle_widget)
#include "tst_color_picker_circle_widget.moc"
