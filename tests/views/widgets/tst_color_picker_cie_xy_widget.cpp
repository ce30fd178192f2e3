#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"
#include "tests/support/widget_input.h"
#include "views/widgets/KQ_color_picker_cie_xy_widget.h"
#include "views/widgets/color_picker_cie_xy_geometry.h"

#include <QSignalSpy>
#include <QtTest>

using namespace widget_images;

namespace {

// The corner picker's range: 303..363 across, 337..397 up. A 79-pixel widget
// has a 60-pixel area at (9, 9): one pixel per unit.
cie_xy_value corner_range(int offsetX = 30, int offsetY = 30)
{
    return cie_xy_value{303, 337, 60, 60, offsetX, offsetY};
}

const cie_xy_area kArea{60, 60};

void set_corner_range(KQ_color_picker_cie_xy_widget &picker, int x = 333, int y = 367)
{
    picker.resize(79, 79);
    picker.setRange(303, 363, 337, 397);
    picker.setValue(x, y);
}

QPoint offsets(const QList<QVariant> &emitted)
{
    return QPoint(int(emitted.at(0).toUInt()) - 303, int(emitted.at(1).toUInt()) - 337);
}

} // namespace

class tst_color_picker_cie_xy_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void offsets_under_the_pointer_data();
    void offsets_under_the_pointer();
    void ball_is_placed_in_floating_point();
    void no_range_or_no_area_takes_no_pointer();
    void press_grabs_the_area_or_the_ball_data();
    void press_grabs_the_area_or_the_ball();
    void keys_step_within_the_range_data();
    void keys_step_within_the_range();
    void height_follows_the_range_data();
    void height_follows_the_range();

    void press_on_the_ball_just_outside_grabs_it();
    void press_elsewhere_outside_does_nothing();
    void dragging_beyond_the_area_pins_the_value();
    void keys_report_and_are_consumed_at_the_edge();
    void centre_lines_turn_solid_at_the_middle();
    void paints_the_ball_for_the_screen();
    void disabled_shows_no_ball();
    void background_picture_and_size_hint();
};

void tst_color_picker_cie_xy_widget::initTestCase()
{
    tessaline_init_resources();
    if (qgetenv("QT_SCALE_FACTOR") == "2")
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void tst_color_picker_cie_xy_widget::offsets_under_the_pointer_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("top-left is x min, y max") << 60 << QPoint(9, 9) << QPoint(0, 60);
    QTest::newRow("bottom-right is x max, y min") << 60 << QPoint(69, 69) << QPoint(60, 0);
    QTest::newRow("inside") << 60 << QPoint(24, 54) << QPoint(15, 15);
    QTest::newRow("beyond pins to the ends") << 60 << QPoint(500, -40) << QPoint(60, 60);
    QTest::newRow("half a unit rounds up") << 120 << QPoint(10, 39) << QPoint(1, 30);
    QTest::newRow("left edge") << 120 << QPoint(9, 39) << QPoint(0, 30);
}

void tst_color_picker_cie_xy_widget::offsets_under_the_pointer()
{
    QFETCH(int, areaWidth);
    QFETCH(QPoint, point);
    QFETCH(QPoint, expected);
    const auto found = cie_xy_offsets_at(cie_xy_area{areaWidth, 60}, corner_range(), point);
    QVERIFY(found.has_value());
    QCOMPARE(*found, expected);
}

void tst_color_picker_cie_xy_widget::ball_is_placed_in_floating_point()
{
    QCOMPARE(cie_xy_ball_centre(kArea, corner_range(30, 30)), QPointF(39, 39));
    QCOMPARE(cie_xy_ball_centre(kArea, corner_range(0, 0)), QPointF(9, 69));
    // An area narrower than the range keeps the fraction instead of stepping.
    QCOMPARE(cie_xy_ball_centre(cie_xy_area{45, 45}, corner_range(1, 59)), QPointF(9.75, 9.75));
}

void tst_color_picker_cie_xy_widget::no_range_or_no_area_takes_no_pointer()
{
    cie_xy_value noRange = corner_range();
    noRange.spanX = 0;
    QVERIFY(!cie_xy_offsets_at(kArea, noRange, QPoint(20, 20)));
    QVERIFY(!cie_xy_grabs(kArea, noRange, QPoint(20, 20), 8));
    const cie_xy_area tiny = cie_xy_area_for(QSize(19, 40));
    QVERIFY(!tiny.isValid());
    QVERIFY(!cie_xy_offsets_at(tiny, corner_range(), QPoint(9, 9)));
    QVERIFY(!cie_xy_grabs(tiny, corner_range(), QPoint(9, 9), 8));
}

void tst_color_picker_cie_xy_widget::press_grabs_the_area_or_the_ball_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("grabs");
    // The ball is at offsets (0, 0): centre (9, 69), radius 8.
    QTest::newRow("inside the area") << QPoint(40, 40) << true;
    QTest::newRow("on the area's edge") << QPoint(69, 9) << true;
    QTest::newRow("outside, on the ball") << QPoint(4, 72) << true;
    QTest::newRow("outside, past the ball") << QPoint(2, 76) << false;
    QTest::newRow("outside elsewhere") << QPoint(75, 40) << false;
}

void tst_color_picker_cie_xy_widget::press_grabs_the_area_or_the_ball()
{
    QFETCH(QPoint, point);
    QFETCH(bool, grabs);
    QCOMPARE(cie_xy_grabs(kArea, corner_range(0, 0), point, 8.0), grabs);
}

void tst_color_picker_cie_xy_widget::keys_step_within_the_range_data()
{
    QTest::addColumn<int>("offsetX");
    QTest::addColumn<int>("offsetY");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("moves");
    QTest::newRow("right inside") << 30 << 30 << 1 << 0 << true;
    QTest::newRow("right at x max") << 60 << 30 << 1 << 0 << false;
    QTest::newRow("left at x min") << 0 << 30 << -1 << 0 << false;
    QTest::newRow("up at y max") << 30 << 60 << 0 << 1 << false;
    QTest::newRow("down to y min") << 30 << 1 << 0 << -1 << true;
    QTest::newRow("a value set outside blocks the other axis too") << 30 << 70 << 1 << 0 << false;
}

void tst_color_picker_cie_xy_widget::keys_step_within_the_range()
{
    QFETCH(int, offsetX);
    QFETCH(int, offsetY);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, moves);
    const auto stepped = cie_xy_stepped(corner_range(offsetX, offsetY), dx, dy);
    QCOMPARE(stepped.has_value(), moves);
    if (moves)
        QCOMPARE(*stepped, QPoint(offsetX + dx, offsetY + dy));
}

void tst_color_picker_cie_xy_widget::height_follows_the_range_data()
{
    QTest::addColumn<int>("spanX");
    QTest::addColumn<int>("spanY");
    QTest::addColumn<int>("height");
    QTest::newRow("square range") << 60 << 60 << 150;
    QTest::newRow("half as tall") << 60 << 30 << 75;
    QTest::newRow("truncated") << 7 << 3 << 64;
    QTest::newRow("no x range") << 0 << 30 << 10;
}

void tst_color_picker_cie_xy_widget::height_follows_the_range()
{
    QFETCH(int, spanX);
    QFETCH(int, spanY);
    QFETCH(int, height);
    KQ_color_picker_cie_xy_widget picker;
    picker.setRange(0, spanX, 0, spanY);
    QVERIFY(picker.hasHeightForWidth());
    QCOMPARE(picker.heightForWidth(150), height);
}

void tst_color_picker_cie_xy_widget::press_on_the_ball_just_outside_grabs_it()
{
    KQ_color_picker_cie_xy_widget picker;
    set_corner_range(picker, 303, 337);
    QSignalSpy changed(&picker, &KQ_color_picker_cie_xy_widget::cie_xy_changed);
    widget_input::press(picker, QPoint(4, 72));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(offsets(changed.at(0)), QPoint(0, 0));
    QCOMPARE(picker.cursor().shape(), Qt::ClosedHandCursor);
    widget_input::move(picker, QPoint(39, 39), Qt::LeftButton);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(offsets(changed.at(1)), QPoint(30, 30));
    widget_input::release(picker, QPoint(39, 39));
    QCOMPARE(picker.cursor().shape(), Qt::OpenHandCursor);
    QCOMPARE(changed.count(), 2);
}

void tst_color_picker_cie_xy_widget::press_elsewhere_outside_does_nothing()
{
    KQ_color_picker_cie_xy_widget picker;
    set_corner_range(picker);
    QSignalSpy changed(&picker, &KQ_color_picker_cie_xy_widget::cie_xy_changed);
    widget_input::press(picker, QPoint(2, 2));
    widget_input::move(picker, QPoint(39, 39), Qt::LeftButton);
    QCOMPARE(changed.count(), 0);
    widget_input::release(picker, QPoint(39, 39));
    widget_input::move(picker, QPoint(76, 2));
    QCOMPARE(picker.cursor().shape(), Qt::ArrowCursor);
}

void tst_color_picker_cie_xy_widget::dragging_beyond_the_area_pins_the_value()
{
    KQ_color_picker_cie_xy_widget picker;
    set_corner_range(picker);
    QSignalSpy changed(&picker, &KQ_color_picker_cie_xy_widget::cie_xy_changed);
    widget_input::press(picker, QPoint(39, 39));
    widget_input::move(picker, QPoint(300, -100), Qt::LeftButton);
    widget_input::move(picker, QPoint(-300, 300), Qt::LeftButton);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(1).at(0).toUInt(), 363u);
    QCOMPARE(changed.at(1).at(1).toUInt(), 397u);
    QCOMPARE(changed.at(2).at(0).toUInt(), 303u);
    QCOMPARE(changed.at(2).at(1).toUInt(), 337u);
}

void tst_color_picker_cie_xy_widget::keys_report_and_are_consumed_at_the_edge()
{
    KQ_color_picker_cie_xy_widget picker;
    set_corner_range(picker, 362, 367);
    QSignalSpy changed(&picker, &KQ_color_picker_cie_xy_widget::cie_xy_changed);
    QTest::keyClick(&picker, Qt::Key_Right);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toUInt(), 363u);

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(&picker, &right);
    QVERIFY(right.isAccepted());
    QCOMPARE(changed.count(), 1);

    QTest::keyClick(&picker, Qt::Key_Up);
    QCOMPARE(changed.last().at(1).toUInt(), 368u);
    QTest::keyClick(&picker, Qt::Key_Down);
    QTest::keyClick(&picker, Qt::Key_Down);
    QCOMPARE(changed.last().at(1).toUInt(), 366u);

    QKeyEvent other(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(&picker, &other);
    QVERIFY(!other.isAccepted());
}

void tst_color_picker_cie_xy_widget::centre_lines_turn_solid_at_the_middle()
{
    KQ_color_picker_cie_xy_widget picker;
    picker.resize(139, 139);
    picker.setRange(303, 363, 337, 397);
    picker.setShowCenterLines(true);
    const auto red = [](const QColor &c) { return c.red() > 200 && c.green() < 110 && c.blue() < 110; };
    // Stretches of the lines that the ball never covers here.
    const QRect column(68, 20, 3, 40);
    const QRect row(20, 68, 40, 3);

    picker.setValue(333, 397); // x at the middle, y at the top
    QImage image = paint(picker);
    const int solidColumn = count(image, column, red);
    const int dashedRow = count(image, row, red);
    picker.setValue(363, 367); // y at the middle, x at the right
    image = paint(picker);
    QVERIFY2(solidColumn > count(image, column, red), qPrintable(QString::number(solidColumn)));
    QVERIFY(count(image, row, red) > dashedRow);
    QVERIFY(dashedRow > 0);

    picker.setShowCenterLines(false);
    QCOMPARE(count(paint(picker), column, red), 0);
}

void tst_color_picker_cie_xy_widget::paints_the_ball_for_the_screen()
{
    KQ_color_picker_cie_xy_widget picker;
    set_corner_range(picker, 318, 382);
    const QImage image = paint(picker);
    const qreal ratio = image.devicePixelRatio();
    const QImage ball(ratio > 1 ? QStringLiteral(":/images/Resources/control ball@2x.png")
                                : QStringLiteral(":/images/Resources/control ball.png"));
    // Offsets (15, 45): centre (24, 24), the 16-pixel ball from (16, 16).
    QVERIFY(shows_picture(image, ball, QPoint(16, 16) * ratio));
    QVERIFY(!shows_picture(image, ball, QPoint(31, 31) * ratio));
}

void tst_color_picker_cie_xy_widget::disabled_shows_no_ball()
{
    KQ_color_picker_cie_xy_widget picker;
    set_corner_range(picker, 318, 382);
    picker.setEnabled(false);
    const QImage image = paint(picker);
    QVERIFY(!shows_picture(image, QImage(QStringLiteral(":/images/Resources/control ball.png")),
                           QPoint(16, 16) * image.devicePixelRatio()));
}

void tst_color_picker_cie_xy_widget::background_picture_and_size_hint()
{
    KQ_color_picker_cie_xy_widget picker;
    picker.setRange(0, 60, 0, 30);
    QCOMPARE(picker.sizeHint(), QSize(256, 128));
    QVERIFY(!picker.setBackgroundImage(QStringLiteral(":/images/Resources/no such picture.png")));
    QCOMPARE(picker.sizeHint(), QSize(256, 128));
    QVERIFY(picker.setBackgroundImage(QStringLiteral(":/images/Resources/white point adjustment xy.png")));
    picker.setReferenceSize(60, 60);
    QCOMPARE(picker.minimumSizeHint(), QSize(256, 128));
}

QTEST_MAIN(tst_color_picker_cie_xy_widget)
#include "tst_color_picker_cie_xy_widget.moc"
