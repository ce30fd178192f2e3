#include "display_protocol/wait_service.h"
#include "tests/support/widget_images.h"
#include "views/widgets/kq_update_counter_indicator.h"
#include "views/widgets/update_counter_animation.h"

#include <QTimer>
#include <QtTest>

#include <cmath>

using namespace widget_images;

namespace {

constexpr int kSide = 100;

// The disc's radius on screen, from the area it covers on a dark background.
double painted_radius(kq_update_counter_indicator &counter)
{
    const QColor background(0, 0, 128);
    QPalette palette = counter.palette();
    palette.setColor(QPalette::Window, background);
    counter.setPalette(palette);
    const QImage image = paint(counter);
    const int covered = count(image, image.rect(), [&](const QColor &c) { return !near(c, background, 40); });
    const qreal ratio = image.devicePixelRatio();
    return std::sqrt(covered / (ratio * ratio) / M_PI);
}

// trunc(side / 2 x f), drawn under a further scale of f.
double expected_radius(int phase)
{
    return update_counter_radius(kSide, phase) * update_counter_scale(phase);
}

QTimer *timer_of(kq_update_counter_indicator &counter)
{
    return counter.findChild<QTimer *>();
}

void step(kq_update_counter_indicator &counter, int steps)
{
    for (int i = 0; i < steps; ++i)
        counter.animate_timer_timeout();
}

} // namespace

class tst_update_counter_indicator : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { wait_service::set_time_scale(1.0); }
    void pops_and_settles_data();
    void pops_and_settles();
    void counts_lose_the_plus_from_10_data();
    void counts_lose_the_plus_from_10();
    void grows_overshoots_and_stops();
    void second_increment_restarts_from_phase_7();
    void early_increment_continues();
    void set_value_and_reset();
    void animates_on_the_wait_service_scale();
};

void tst_update_counter_indicator::pops_and_settles_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("penWidth");
    QTest::newRow("quarter size") << 0 << 0.25 << 1;
    QTest::newRow("restart phase") << 7 << 0.775 << 1;
    QTest::newRow("full size") << 10 << 1.0 << 1;
    QTest::newRow("overshoot, thicker") << 11 << 0.95 << 2;
    QTest::newRow("settled") << 12 << 0.9 << 1;
}

void tst_update_counter_indicator::pops_and_settles()
{
    QFETCH(int, phase);
    QFETCH(double, scale);
    QFETCH(int, penWidth);
    QVERIFY(qAbs(update_counter_scale(phase) - scale) < 1e-12);
    QCOMPARE(update_counter_pen_width(phase), penWidth);
}

void tst_update_counter_indicator::counts_lose_the_plus_from_10_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << QStringLiteral("+1");
    QTest::newRow("9") << 9 << QStringLiteral("+9");
    QTest::newRow("10") << 10 << QStringLiteral("10");
    QTest::newRow("123") << 123 << QStringLiteral("123");
}

void tst_update_counter_indicator::counts_lose_the_plus_from_10()
{
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(update_counter_text(count), text);
}

void tst_update_counter_indicator::grows_overshoots_and_stops()
{
    kq_update_counter_indicator counter;
    counter.resize(kSide, kSide);
    QCOMPARE(counter.sizeHint(), QSize(20, 20));
    QCOMPARE(painted_radius(counter), 0.0);

    counter.increment_value();
    QVERIFY(timer_of(counter)->isActive());
    // Edges are antialiased, so radii from areas hold to about a pixel and a half.
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(0)) < 1.5);
    step(counter, 11);
    QVERIFY(timer_of(counter)->isActive());
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(11)) < 1.5);
    step(counter, 1);
    QVERIFY(!timer_of(counter)->isActive());
    const double settled = painted_radius(counter);
    QVERIFY2(qAbs(settled - expected_radius(12)) < 1.5, qPrintable(QString::number(settled)));
}

void tst_update_counter_indicator::second_increment_restarts_from_phase_7()
{
    kq_update_counter_indicator counter;
    counter.resize(kSide, kSide);
    counter.increment_value();
    step(counter, 12);
    counter.increment_value();
    QVERIFY(timer_of(counter)->isActive());
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(7)) < 1.5);
    step(counter, 4);
    QVERIFY(timer_of(counter)->isActive());
    step(counter, 1);
    QVERIFY(!timer_of(counter)->isActive());
}

void tst_update_counter_indicator::early_increment_continues()
{
    kq_update_counter_indicator counter;
    counter.resize(kSide, kSide);
    counter.increment_value();
    step(counter, 3);
    counter.increment_value();
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(3)) < 1.5);
}

void tst_update_counter_indicator::set_value_and_reset()
{
    kq_update_counter_indicator counter;
    counter.resize(kSide, kSide);
    counter.set_value(5);
    QVERIFY(!timer_of(counter)->isActive());
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(0)) < 1.5);

    counter.increment_value();
    step(counter, 5);
    counter.set_value(0);
    QCOMPARE(painted_radius(counter), 0.0);
    QVERIFY(timer_of(counter)->isActive());
    counter.set_value(2);
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(5)) < 1.5);

    counter.reset();
    QVERIFY(!timer_of(counter)->isActive());
    QCOMPARE(painted_radius(counter), 0.0);
    counter.increment_value();
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(0)) < 1.5);
}

void tst_update_counter_indicator::animates_on_the_wait_service_scale()
{
    kq_update_counter_indicator normal;
    normal.increment_value();
    QCOMPARE(timer_of(normal)->interval(), 20);

    wait_service::set_time_scale(0.05);
    kq_update_counter_indicator counter;
    counter.resize(kSide, kSide);
    counter.increment_value();
    QCOMPARE(timer_of(counter)->interval(), 1);
    QTRY_VERIFY(!timer_of(counter)->isActive());
    QVERIFY(qAbs(painted_radius(counter) - expected_radius(12)) < 1.5);
}

QTEST_MAIN(tst_update_counter_indicator)
#include "tst_update_counter_indicator.moc"
