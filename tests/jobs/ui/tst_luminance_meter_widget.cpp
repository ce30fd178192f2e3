#include "jobs/ui/KQ_luminance_meter_widget.h"
#include "jobs/ui/luminance_meter_geometry.h"
#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"

#include <QtTest>

#include <limits>

using namespace widget_images;

// The meter's geometry as numbers, and the meter painted into images: also
// run with the screen scaled by 2, where the double-size arrows are drawn.
class tst_luminance_meter_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void maps_levels_to_rows_data();
    void maps_levels_to_rows();
    void value_past_the_top_fills_the_scale_and_breaks_it();
    void bar_is_never_wider_than_20_or_the_widget_data();
    void bar_is_never_wider_than_20_or_the_widget();
    void paints_the_value_bar_in_its_gradient();
    void negative_or_missing_value_paints_an_empty_bar_data();
    void negative_or_missing_value_paints_an_empty_bar();
    void paints_the_scale_break_only_past_the_top();
    void target_above_the_scale_raises_it_and_keeps_the_arrows_on_it();
    void size_hint_leaves_room_for_both_arrows();

private:
    static QSize arrowSize() { return QPixmap(QStringLiteral(":/images/Resources/small arrow right.png")).size(); }
};

void tst_luminance_meter_widget::initTestCase()
{
    tessaline_init_resources();
    if (qgetenv("QT_SCALE_FACTOR") == "2")
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
    QCOMPARE(arrowSize(), QSize(8, 12));
}

void tst_luminance_meter_widget::maps_levels_to_rows_data()
{
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("row");
    // Height 80, margin 6: the scale runs from row 72 (minimum) up to row 7.
    QTest::newRow("maximum at margin + 1") << 100.0 << 0.0 << 100.0 << 7;
    QTest::newRow("minimum at height - margin - 2") << 0.0 << 0.0 << 100.0 << 72;
    QTest::newRow("half way truncates") << 50.0 << 0.0 << 100.0 << 72 - 32;
    QTest::newRow("offset scale") << 150.0 << 100.0 << 200.0 << 72 - 32;
    QTest::newRow("empty scale puts everything at 0") << 42.0 << 5.0 << 5.0 << 0;
    QTest::newRow("a level that is not a number sits at the minimum")
        << std::numeric_limits<double>::quiet_NaN() << 0.0 << 100.0 << 72;
}

void tst_luminance_meter_widget::maps_levels_to_rows()
{
    QFETCH(double, level);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, row);
    QCOMPARE(luminance_meter_y(level, minimum, maximum, 80, 6), row);
}

void tst_luminance_meter_widget::value_past_the_top_fills_the_scale_and_breaks_it()
{
    luminance_meter_state state;
    state.value = 250.0;
    const luminance_meter_layout layout = layout_luminance_meter(state, QSize(40, 80), QSize(8, 12), 6);
    QCOMPARE(layout.value_bar.top(), 7);
    QCOMPARE(layout.value_bar.top() + layout.value_bar.height(), 72);
    QCOMPARE(layout.background.top(), 7);
    QCOMPARE(layout.scale_break.size(), 2);
    // 10 % of a 65-pixel bar: the zig-zags start 6 rows below its top, 3 apart.
    QCOMPARE(layout.scale_break[0].first(), QPoint(layout.value_bar.left(), 13));
    QCOMPARE(layout.scale_break[1].first(), QPoint(layout.value_bar.left(), 16));

    state.value = 100.0;
    QVERIFY(layout_luminance_meter(state, QSize(40, 80), QSize(8, 12), 6).scale_break.isEmpty());
}

void tst_luminance_meter_widget::bar_is_never_wider_than_20_or_the_widget_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("barLeft");
    QTest::addColumn<int>("barWidth");
    QTest::newRow("wide widget centres a 20-pixel bar") << 40 << 10 << 20;
    QTest::newRow("odd width") << 41 << 10 << 20;
    QTest::newRow("narrow widget fills itself") << 12 << 0 << 12;
}

void tst_luminance_meter_widget::bar_is_never_wider_than_20_or_the_widget()
{
    QFETCH(int, width);
    QFETCH(int, barLeft);
    QFETCH(int, barWidth);
    luminance_meter_state state;
    state.value = 50.0;
    const luminance_meter_layout layout = layout_luminance_meter(state, QSize(width, 80), QSize(8, 12), 6);
    QCOMPARE(layout.background.left(), barLeft);
    QCOMPARE(layout.background.width(), barWidth);
    QCOMPARE(layout.value_bar.left(), barLeft + 1);
    QCOMPARE(layout.value_bar.width(), barWidth - 2);
    QCOMPARE(layout.left_arrow.x(), barLeft - 8 - 1);
    QCOMPARE(layout.right_arrow.x(), barLeft + barWidth - 1 + 2);
}

void tst_luminance_meter_widget::paints_the_value_bar_in_its_gradient()
{
    KQ_luminance_meter_widget meter;
    meter.resize(40, 80);
    meter.set_bar_graident_color(QColor(255, 255, 255), QColor(255, 255, 255));
    meter.set_bar_background_fill_color(QColor(0, 0, 255));
    meter.set_value(50.0);
    const QImage image = paint(meter);
    // Rows 41..71 are filled (the bar runs from row 40 down to 72), rows 9..38 are empty scale.
    QVERIFY(near(pixel(image, QPoint(20, 60)), Qt::white));
    QVERIFY(near(pixel(image, QPoint(20, 42)), Qt::white));
    QVERIFY(near(pixel(image, QPoint(20, 20)), QColor(0, 0, 255)));
    QVERIFY(near(pixel(image, QPoint(20, 37)), QColor(0, 0, 255)));
}

void tst_luminance_meter_widget::negative_or_missing_value_paints_an_empty_bar_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("negative") << -5.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
}

void tst_luminance_meter_widget::negative_or_missing_value_paints_an_empty_bar()
{
    QFETCH(double, value);
    KQ_luminance_meter_widget meter;
    meter.resize(40, 80);
    meter.set_bar_graident_color(QColor(255, 255, 255), QColor(255, 255, 255));
    meter.set_bar_background_fill_color(QColor(0, 0, 255));
    meter.set_value(value);
    const QImage image = paint(meter);
    QCOMPARE(count_near(image, QRect(11, 8, 18, 63), Qt::white, 20), 0);
}

void tst_luminance_meter_widget::paints_the_scale_break_only_past_the_top()
{
    KQ_luminance_meter_widget meter;
    meter.resize(40, 80);
    meter.set_bar_graident_color(QColor(255, 255, 255), QColor(255, 255, 255));
    meter.set_bar_background_fill_color(QColor(0, 0, 255));
    const auto bluish = [](const QColor &c) { return c.blue() > c.red() + 40; };
    const QRect breakRows(12, 9, 16, 12);

    meter.set_value(100.0);
    QCOMPARE(count(paint(meter), breakRows, bluish), 0);
    meter.set_value(100.5);
    QVERIFY(count(paint(meter), breakRows, bluish) > 10);
    // The rest of the bar stays filled.
    QVERIFY(near(pixel(paint(meter), QPoint(20, 50)), Qt::white));
}

void tst_luminance_meter_widget::target_above_the_scale_raises_it_and_keeps_the_arrows_on_it()
{
    KQ_luminance_meter_widget meter;
    meter.resize(40, 80);
    meter.set_value_min_max(0.0, 100.0);
    meter.set_target_level(400.0);
    meter.set_value(400.0);
    meter.show_target_level(false);
    const QImage hidden = paint(meter);
    meter.show_target_level(true);
    const QImage shown = paint(meter);

    // The target is now the top of the scale: the arrows' tops sit at row 7 - 6 + 1 = 2.
    const qreal ratio = shown.devicePixelRatio();
    const QString suffix = ratio >= 2.0 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
    const QImage right(QStringLiteral(":/images/Resources/small arrow right") + suffix);
    const QImage left(QStringLiteral(":/images/Resources/small arrow left") + suffix);
    QVERIFY(shows_picture(shown, right, QPoint(31, 2) * ratio));
    QVERIFY(shows_picture(shown, left, QPoint(1, 2) * ratio));
    QVERIFY(!shows_picture(hidden, right, QPoint(31, 2) * ratio));
    // Without the raise the value would overflow; with it the bar just fills the scale.
    QVERIFY(near(pixel(shown, QPoint(20, 12)), QColor(128, 128, 128), 40));
}

void tst_luminance_meter_widget::size_hint_leaves_room_for_both_arrows()
{
    KQ_luminance_meter_widget meter;
    QCOMPARE(meter.sizeHint(), QSize(2 * 8 + 22, 80));
    QCOMPARE(meter.minimumSizeHint(), meter.sizeHint());
}

QTEST_MAIN(tst_luminance_meter_widget)
#include "tst_luminance_meter_widget.moc"
