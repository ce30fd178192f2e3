#include "colour/CSpline.h"
#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"
#include "tests/support/widget_input.h"
#include "views/widgets/KQ_curves_graph.h"
#include "views/widgets/PlotRange.h"
#include "views/widgets/Plotter.h"
#include "views/widgets/curve_sampling.h"
#include "views/widgets/plot_geometry.h"

#include <QToolButton>
#include <QtTest>

using namespace widget_images;

namespace {

// Reaches the view the plot shows, for assertions.
class probe_plotter : public Plotter
{
public:
    using Plotter::currentRange;
    using Plotter::plotRect;
};

class probe_curves_graph : public KQ_curves_graph
{
public:
    using KQ_curves_graph::mapToPixel;
    using KQ_curves_graph::plotRect;
};

PlotRange range_with_x_bounds(double lower, double upper)
{
    PlotRange range;
    range.lowerBoundX = lower;
    range.upperBoundX = upper;
    return range;
}

CSpline power_curve(double gamma, bool valid = true)
{
    CSpline curve;
    curve.Init(CSpline::kCatmullRom, 33, 0.0, 1.0);
    curve.SetGamma(gamma);
    curve.SetValid(valid);
    return curve;
}

QToolButton *zoom_in_button(QWidget &plot)
{
    return plot.findChildren<QToolButton *>().value(0);
}

QToolButton *zoom_out_button(QWidget &plot)
{
    return plot.findChildren<QToolButton *>().value(1);
}

template <typename Plot> void show_square(Plot &plot, int side = 300)
{
    plot.resize(side, side);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
}

} // namespace

class tst_plotter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }

    void rounds_axes_to_ticks_data();
    void rounds_axes_to_ticks();
    void pans_within_half_a_step_of_the_bounds_data();
    void pans_within_half_a_step_of_the_bounds();
    void label_decimals_follow_the_span_data();
    void label_decimals_follow_the_span();
    void maps_data_to_pixels_data();
    void maps_data_to_pixels();
    void rubber_band_stays_square_data();
    void rubber_band_stays_square();
    void released_band_selects_a_rounded_range();
    void samples_a_curve_every_two_pixels_data();
    void samples_a_curve_every_two_pixels();

    void dragging_zooms_and_the_buttons_step_through_levels();
    void small_band_does_not_zoom();
    void keys_pan_in_whole_ticks();
    void wheel_pans_in_whole_notches();
    void deferred_refresh_keeps_the_picture();
    void keeps_itself_square();
    void paints_plot_grid_and_ramps();
    void draws_valid_curves_with_their_own_pens();
    void curves_follow_the_zoom();
};

void tst_plotter::rounds_axes_to_ticks_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("roundedMin");
    QTest::addColumn<double>("roundedMax");
    QTest::addColumn<int>("count");
    QTest::newRow("unit range in fifths") << 0.0 << 1.0 << 0.0 << 1.0 << 5;
    QTest::newRow("widened to tenths") << 0.13 << 0.87 << 0.1 << 0.9 << 8;
    QTest::newRow("steps of 20") << 0.0 << 100.0 << 0.0 << 100.0 << 5;
    QTest::newRow("steps of a half") << 0.0 << 3.0 << 0.0 << 3.0 << 6;
    QTest::newRow("negative") << -3.0 << 0.0 << -3.0 << 0.0 << 6;
    QTest::newRow("empty range keeps at least 4 ticks") << 2.0 << 2.0 << 2.0 << 2.0 << 4;
}

void tst_plotter::rounds_axes_to_ticks()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, roundedMin);
    QFETCH(double, roundedMax);
    QFETCH(int, count);
    int ticks = 0;
    round_axis_to_ticks(min, max, ticks);
    // Products of a step and a whole count: exact to a few ulps.
    QVERIFY(qAbs(min - roundedMin) < 1e-12);
    QVERIFY(qAbs(max - roundedMax) < 1e-12);
    QCOMPARE(ticks, count);
}

void tst_plotter::pans_within_half_a_step_of_the_bounds_data()
{
    QTest::addColumn<double>("upperBoundX");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<double>("minX");
    QTest::addColumn<double>("minY");
    QTest::newRow("one step right") << 2.0 << 1 << 0 << 0.2 << 0.0;
    QTest::newRow("five steps reach the bound") << 2.0 << 5 << 0 << 1.0 << 0.0;
    QTest::newRow("six steps would leave it") << 2.0 << 6 << 0 << 0.0 << 0.0;
    QTest::newRow("left of the lower bound") << 2.0 << -1 << 0 << 0.0 << 0.0;
    QTest::newRow("bounds equal to the range") << 1.0 << 1 << 0 << 0.0 << 0.0;
    QTest::newRow("half a step of slack") << 1.1 << 1 << 0 << 0.2 << 0.0;
    QTest::newRow("x moves while y cannot") << 2.0 << 1 << 1 << 0.2 << 0.0;
}

void tst_plotter::pans_within_half_a_step_of_the_bounds()
{
    QFETCH(double, upperBoundX);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(double, minX);
    QFETCH(double, minY);
    PlotRange range = range_with_x_bounds(0.0, upperBoundX);
    range.scrollBy(dx, dy);
    QVERIFY(qAbs(range.minX - minX) < 1e-12);
    QVERIFY(qAbs(range.spanX() - 1.0) < 1e-12);
    QVERIFY(qAbs(range.minY - minY) < 1e-12);
}

void tst_plotter::label_decimals_follow_the_span_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("decimals");
    QTest::newRow("unit") << 0.0 << 1.0 << 1;
    QTest::newRow("quarter") << 0.0 << 0.25 << 2;
    QTest::newRow("tenth") << 0.5 << 0.6 << 2;
    QTest::newRow("hundreds") << 0.0 << 300.0 << 0;
    QTest::newRow("empty") << 1.0 << 1.0 << 0;
    QTest::newRow("inverted") << 1.0 << 0.0 << 0;
}

void tst_plotter::label_decimals_follow_the_span()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, decimals);
    QCOMPARE(tick_label_decimals(min, max), decimals);
}

void tst_plotter::maps_data_to_pixels_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<double>("maxX");
    QTest::addColumn<QPointF>("pixel");
    // Plot rectangle (10, 20, 101, 51): columns 10..110, rows 20..70.
    QTest::newRow("origin at bottom-left") << QPointF(0, 0) << 1.0 << QPointF(10, 70);
    QTest::newRow("top-right") << QPointF(1, 1) << 1.0 << QPointF(110, 20);
    QTest::newRow("middle") << QPointF(0.5, 0.5) << 1.0 << QPointF(60, 45);
    QTest::newRow("outside the range") << QPointF(2, -1) << 1.0 << QPointF(210, 120);
    QTest::newRow("axis without a span") << QPointF(0.5, 0.5) << 0.0 << QPointF(10, 45);
}

void tst_plotter::maps_data_to_pixels()
{
    QFETCH(QPointF, point);
    QFETCH(double, maxX);
    QFETCH(QPointF, pixel);
    PlotRange range;
    range.maxX = maxX;
    QCOMPARE(plot_map_to_pixel(range, point, QRect(10, 20, 101, 51)), pixel);
}

void tst_plotter::rubber_band_stays_square_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("down right, wider") << QPoint(40, 20) << 11 << 11;
    QTest::newRow("down right, taller") << QPoint(20, 50) << 11 << 11;
    QTest::newRow("down left") << QPoint(0, 40) << -9 << 9;
    QTest::newRow("up right: the signed smaller side") << QPoint(30, 0) << 9 << -9;
}

void tst_plotter::rubber_band_stays_square()
{
    QFETCH(QPoint, pointer);
    QFETCH(int, width);
    QFETCH(int, height);
    const QRect band = plot_square_rubber_band(QPoint(10, 10), pointer);
    QCOMPARE(band.topLeft(), QPoint(10, 10));
    QCOMPARE(band.width(), width);
    QCOMPARE(band.height(), height);
}

void tst_plotter::released_band_selects_a_rounded_range()
{
    const QRect plot(20, 30, 100, 100);
    // The lower-left quarter, dragged a little past the plot's bottom.
    const auto zoomed = plot_zoom_range(PlotRange(), QRect(QPoint(20, 80), QPoint(69, 140)), plot);
    QVERIFY(zoomed.has_value());
    QVERIFY(qAbs(zoomed->minX) < 1e-12);
    QVERIFY(qAbs(zoomed->maxX - 0.5) < 1e-12);
    QVERIFY(qAbs(zoomed->minY) < 1e-12);
    QVERIFY(qAbs(zoomed->maxY - 0.5) < 1e-12);
    QCOMPARE(zoomed->numXTicks, 5);
    QCOMPARE(zoomed->upperBoundX, 1.0);

    QVERIFY(!plot_zoom_range(PlotRange(), QRect(40, 40, 3, 30), plot));
    QVERIFY(!plot_zoom_range(PlotRange(), QRect(40, 40, 30, 3), plot));
    QVERIFY(plot_zoom_range(PlotRange(), QRect(40, 40, 4, 4), plot));
}

void tst_plotter::samples_a_curve_every_two_pixels_data()
{
    QTest::addColumn<int>("plotWidth");
    QTest::addColumn<int>("points");
    QTest::newRow("3 pixels draw nothing") << 3 << 0;
    QTest::newRow("4 pixels: two intervals") << 4 << 3;
    QTest::newRow("odd width") << 101 << 51;
}

void tst_plotter::samples_a_curve_every_two_pixels()
{
    QFETCH(int, plotWidth);
    QFETCH(int, points);
    const CSpline curve = power_curve(2.0);
    const QVector<QPointF> samples = sample_curve(curve, 0.25, 0.75, plotWidth);
    QCOMPARE(samples.size(), points);
    if (points == 0)
        return;
    QCOMPARE(samples.first().x(), 0.25);
    QCOMPARE(samples.last().x(), 0.75);
    for (const QPointF &sample : samples)
        QCOMPARE(sample.y(), curve.Evaluate(sample.x()));
}

void tst_plotter::dragging_zooms_and_the_buttons_step_through_levels()
{
    probe_plotter plot;
    show_square(plot);
    QToolButton *in = zoom_in_button(plot);
    QToolButton *out = zoom_out_button(plot);
    QVERIFY(in && out);
    QVERIFY(!in->isEnabled());
    QVERIFY(!out->isEnabled());

    const QRect r = plot.plotRect();
    widget_input::drag(plot, r.topLeft() + QPoint(5, 5), r.topLeft() + QPoint(r.width() / 2, r.height() / 3));
    const PlotRange zoomed = plot.currentRange();
    QVERIFY(zoomed.spanX() < 1.0);
    QVERIFY(zoomed.maxY > 0.9);
    QVERIFY(!in->isEnabled());
    QVERIFY(out->isEnabled());

    out->click();
    QCOMPARE(plot.currentRange().spanX(), 1.0);
    QVERIFY(in->isEnabled());
    QVERIFY(!out->isEnabled());

    QTest::keyClick(&plot, Qt::Key_Plus);
    QCOMPARE(plot.currentRange().maxX, zoomed.maxX);
    QTest::keyClick(&plot, Qt::Key_Minus);
    QCOMPARE(plot.currentRange().maxX, 1.0);
    // Nothing further out: minus does nothing, and zooming in is still offered.
    QTest::keyClick(&plot, Qt::Key_Minus);
    QVERIFY(in->isEnabled());

    plot.setPlotRange(PlotRange());
    QVERIFY(!in->isEnabled());
    QVERIFY(!out->isEnabled());
    QTest::keyClick(&plot, Qt::Key_Plus);
    QVERIFY(!out->isEnabled());
}

void tst_plotter::small_band_does_not_zoom()
{
    probe_plotter plot;
    show_square(plot);
    const QPoint start = plot.plotRect().center();
    widget_input::drag(plot, start, start + QPoint(2, 40));
    QCOMPARE(plot.currentRange().spanX(), 1.0);
    QVERIFY(!zoom_out_button(plot)->isEnabled());
    // A press outside the plot starts no band.
    widget_input::drag(plot, QPoint(1, 1), QPoint(150, 150));
    QCOMPARE(plot.currentRange().spanX(), 1.0);
}

void tst_plotter::keys_pan_in_whole_ticks()
{
    probe_plotter plot;
    PlotRange range = range_with_x_bounds(0.0, 2.0);
    range.lowerBoundY = -1.0;
    plot.setPlotRange(range);
    show_square(plot);

    QTest::keyClick(&plot, Qt::Key_Right);
    QVERIFY(qAbs(plot.currentRange().minX - 0.2) < 1e-12);
    QTest::keyClick(&plot, Qt::Key_Left);
    QTest::keyClick(&plot, Qt::Key_Left);
    QVERIFY(qAbs(plot.currentRange().minX) < 1e-12);
    QTest::keyClick(&plot, Qt::Key_Up);
    QVERIFY(qAbs(plot.currentRange().minY) < 1e-12);
    QTest::keyClick(&plot, Qt::Key_Down);
    QVERIFY(qAbs(plot.currentRange().minY + 0.2) < 1e-12);
}

void tst_plotter::wheel_pans_in_whole_notches()
{
    probe_plotter plot;
    PlotRange range = range_with_x_bounds(-2.0, 2.0);
    range.upperBoundY = 2.0;
    plot.setPlotRange(range);
    show_square(plot);

    widget_input::wheel(plot, QPoint(0, 60));
    QCOMPARE(plot.currentRange().minY, 0.0);
    widget_input::wheel(plot, QPoint(0, 240));
    QVERIFY(qAbs(plot.currentRange().minY - 0.4) < 1e-12);
    widget_input::wheel(plot, QPoint(-120, 0));
    QVERIFY(qAbs(plot.currentRange().minX + 0.2) < 1e-12);
    QVERIFY(qAbs(plot.currentRange().minY - 0.4) < 1e-12);
}

void tst_plotter::deferred_refresh_keeps_the_picture()
{
    Plotter plot;
    show_square(plot);
    const QImage before = paint(plot);
    plot.setDeferRefresh(true);
    plot.setShowYRamp(true);
    plot.setShowXRamp(true);
    plot.setColors(Qt::black, Qt::white);
    plot.setXTitle(QStringLiteral("Input Level"));
    QCOMPARE(paint(plot), before);
    plot.setDeferRefresh(false);
    QVERIFY(paint(plot) != before);
}

void tst_plotter::keeps_itself_square()
{
    Plotter plot;
    show_square(plot);
    plot.resize(300, 200);
    QTRY_COMPARE(plot.size(), QSize(200, 200));
    QToolButton *out = zoom_out_button(plot);
    QCOMPARE(out->geometry().topRight(), QPoint(200 - 3 - 1, 3));
}

void tst_plotter::paints_plot_grid_and_ramps()
{
    probe_plotter plot;
    plot.setShowYRamp(true);
    show_square(plot);
    plot.clearFocus();
    const QRect r = plot.plotRect();
    const QImage image = paint(plot);

    const int firstColumn = r.left() + (r.width() - 1) / 5;
    const int firstRow = r.bottom() - (r.height() - 1) / 5;
    QVERIFY(near(pixel(image, QPoint(firstColumn + 3, firstRow - 3)), Qt::black));
    QVERIFY(near(pixel(image, QPoint(firstColumn, r.center().y() + 3)), QColor(50, 50, 50)));
    QVERIFY(near(pixel(image, QPoint(r.center().x() + 3, firstRow)), QColor(50, 50, 50)));
    // The ramp runs from the low-end colour at the lower bound up to the high end.
    const int rampColumn = r.left() - 7;
    QVERIFY(near(pixel(image, QPoint(rampColumn, r.bottom() - 1)), Qt::black, 10));
    QVERIFY(near(pixel(image, QPoint(rampColumn, r.top() + 1)), Qt::red, 10));
    // Outside the plot the picture is white.
    QVERIFY(near(pixel(image, QPoint(2, r.top() + r.height() / 10)), Qt::white));
}

void tst_plotter::draws_valid_curves_with_their_own_pens()
{
    probe_curves_graph graph;
    show_square(graph);
    const QRect r = graph.plotRect();
    const auto reddish = [](const QColor &c) { return c.red() > 150 && c.green() < 80; };

    graph.setCurves({power_curve(1.0, false), power_curve(2.0)}, {QPen(Qt::red, 3), QPen(Qt::green, 3)});
    QImage image = paint(graph);
    const QPoint onGamma = graph.mapToPixel(QPointF(0.5, 0.25), r).toPoint();
    QVERIFY(pixel(image, onGamma).green() > 150);
    QCOMPARE(count(image, r, reddish), 0);

    // A curve without a pen is not drawn.
    graph.setCurves({power_curve(2.0), power_curve(1.0)}, {QPen(Qt::green, 3)});
    image = paint(graph);
    const QPoint onLine = graph.mapToPixel(QPointF(0.5, 0.5), r).toPoint();
    QVERIFY(pixel(image, onLine).green() < 100);

    // The same vectors again only redraw the same picture.
    const QImage again = paint(graph);
    graph.setCurves({power_curve(2.0), power_curve(1.0)}, {QPen(Qt::green, 3)});
    QCOMPARE(paint(graph), again);
}

void tst_plotter::curves_follow_the_zoom()
{
    probe_curves_graph graph;
    show_square(graph);
    graph.setCurves({power_curve(1.0)}, {QPen(Qt::white, 3)});
    const QRect r = graph.plotRect();
    // Zoom into the lower-left quarter: the line now crosses its middle.
    widget_input::drag(graph, QPoint(r.left(), r.top() + r.height() / 2), QPoint(r.left() + r.width() / 2, r.bottom()));
    QVERIFY(graph.mapToPixel(QPointF(0.5, 0.5), r).x() >= r.right() - 1);
    const QImage image = paint(graph);
    const QPoint middle = graph.mapToPixel(QPointF(0.25, 0.25), r).toPoint();
    QVERIFY(near(pixel(image, middle), Qt::white, 60));
}

QTEST_MAIN(tst_plotter)
#include "tst_plotter.moc"
