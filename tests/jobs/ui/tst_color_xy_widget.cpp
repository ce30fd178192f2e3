#include "jobs/ui/KQ_color_xy_widget.h"
#include "jobs/ui/color_xy_geometry.h"
#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"

#include <QtTest>

#include <limits>

using namespace widget_images;

class tst_color_xy_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }
    void square_follows_the_smaller_side_data();
    void square_follows_the_smaller_side();
    void measured_point_in_thousandths_data();
    void measured_point_in_thousandths();
    void paints_target_and_measured_crosshairs();
    void paints_only_the_target_without_a_measurement_data();
    void paints_only_the_target_without_a_measurement();
    void tiny_widget_paints_nothing();
};

void tst_color_xy_widget::square_follows_the_smaller_side_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QRect>("square");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("centre");
    QTest::newRow("60 x 60") << QSize(60, 60) << QRect(5, 5, 50, 50) << 49 << 24;
    QTest::newRow("wide") << QSize(100, 60) << QRect(25, 5, 50, 50) << 49 << 24;
    QTest::newRow("odd side") << QSize(61, 61) << QRect(5, 5, 51, 51) << 50 << 25;
    QTest::newRow("10 x 10 has no square") << QSize(10, 10) << QRect(5, 5, 0, 0) << -1 << -1;
    QTest::newRow("smaller still") << QSize(4, 30) << QRect(2, 15, 0, 0) << -1 << -1;
}

void tst_color_xy_widget::square_follows_the_smaller_side()
{
    QFETCH(QSize, widget);
    QFETCH(QRect, square);
    QFETCH(int, last);
    QFETCH(int, centre);
    const color_xy_geometry geometry = color_xy_geometry_for(widget);
    QCOMPARE(geometry.square, square);
    QCOMPARE(geometry.last, last);
    QCOMPARE(geometry.centre, centre);
}

void tst_color_xy_widget::measured_point_in_thousandths_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<double>("measuredX");
    QTest::addColumn<double>("measuredY");
    QTest::addColumn<double>("targetX");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QPoint>("offset");
    // 50-pixel square: centre 24, last 49; the target y is 0.329.
    QTest::newRow("on target") << 0.3127 << 0.329 << 0.3127 << true << QPoint(24, 24);
    QTest::newRow("x 0.005 more, right") << 0.3177 << 0.329 << 0.3127 << true << QPoint(29, 24);
    QTest::newRow("y 0.010 more is higher") << 0.3127 << 0.339 << 0.3127 << true << QPoint(24, 14);
    QTest::newRow("far right pins to the edge") << 0.5 << 0.329 << 0.3127 << true << QPoint(49, 24);
    QTest::newRow("far low pins to the edge") << 0.3127 << 0.1 << 0.3127 << true << QPoint(24, 49);
    QTest::newRow("far left pins to 0") << 0.2 << 0.5 << 0.3127 << true << QPoint(0, 0);
    QTest::newRow("no measurement") << 0.0 << 0.329 << 0.3127 << false << QPoint();
    QTest::newRow("no target") << 0.3127 << 0.329 << 0.0 << false << QPoint();
    QTest::newRow("y not a number") << 0.3127 << nan << 0.3127 << false << QPoint();
}

void tst_color_xy_widget::measured_point_in_thousandths()
{
    QFETCH(double, measuredX);
    QFETCH(double, measuredY);
    QFETCH(double, targetX);
    QFETCH(bool, shown);
    QFETCH(QPoint, offset);
    const auto point = color_xy_measured_offset(color_xy_geometry_for(QSize(60, 60)), targetX, 0.329, measuredX,
                                                measuredY);
    QCOMPARE(point.has_value(), shown);
    if (shown)
        QCOMPARE(*point, offset);
}

void tst_color_xy_widget::paints_target_and_measured_crosshairs()
{
    KQ_color_xy_widget widget;
    widget.resize(60, 60);
    widget.SetTarget_xy(0.3127, 0.329);
    widget.SetMeasured_xy(0.3227, 0.319);
    const QImage image = paint(widget);
    const QColor red(237, 0, 0);
    // Square at (5, 5), centre offset 24: the target row and column are 29.
    QVERIFY(near(pixel(image, QPoint(8, 29)), red));
    QVERIFY(near(pixel(image, QPoint(29, 50)), red));
    // The measured point is 10 thousandths right and 10 below: column 39, row 39.
    QVERIFY(near(pixel(image, QPoint(39, 8)), Qt::black));
    QVERIFY(near(pixel(image, QPoint(8, 39)), Qt::black));
    QVERIFY(near(pixel(image, QPoint(39, 39)), Qt::black));
    // The frame lies one pixel outside the picture at the left and top.
    QVERIFY(near(pixel(image, QPoint(4, 20)), QColor(128, 128, 128)));
    QVERIFY(near(pixel(image, QPoint(20, 4)), QColor(128, 128, 128)));
}

void tst_color_xy_widget::paints_only_the_target_without_a_measurement_data()
{
    QTest::addColumn<double>("targetX");
    QTest::addColumn<double>("measuredX");
    QTest::newRow("no target") << 0.0 << 0.3227;
    QTest::newRow("no measurement") << 0.3127 << 0.0;
}

void tst_color_xy_widget::paints_only_the_target_without_a_measurement()
{
    QFETCH(double, targetX);
    QFETCH(double, measuredX);
    KQ_color_xy_widget widget;
    widget.resize(60, 60);
    widget.SetTarget_xy(targetX, 0.329);
    widget.SetMeasured_xy(measuredX, 0.319);
    widget.SetFinalMeasurement(true);
    const QImage image = paint(widget);
    QCOMPARE(count_near(image, QRect(5, 5, 50, 50), Qt::black), 0);
    QVERIFY(near(pixel(image, QPoint(8, 29)), QColor(237, 0, 0)));
}

void tst_color_xy_widget::tiny_widget_paints_nothing()
{
    KQ_color_xy_widget widget;
    widget.resize(10, 10);
    widget.SetTarget_xy(0.3127, 0.329);
    widget.SetMeasured_xy(0.3227, 0.319);
    const QImage image = paint(widget);
    QCOMPARE(count_near(image, image.rect(), QColor(237, 0, 0), 30), 0);
    QCOMPARE(count_near(image, image.rect(), Qt::black, 30), 0);
    QCOMPARE(widget.sizeHint(), QSize(60, 60));
}

QTEST_MAIN(tst_color_xy_widget)
#include "tst_color_xy_widget.moc"
