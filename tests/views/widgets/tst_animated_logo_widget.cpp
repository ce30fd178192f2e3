#include "display_protocol/wait_service.h"
#include "resources/tessaline_resources.h"
#include "tests/support/widget_images.h"
#include "views/widgets/animated_logo_phases.h"
#include "views/widgets/animated_logo_widget.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

using namespace widget_images;

namespace {

// The picture a frame shows at the screen's ratio of |image|.
QImage frame_picture(const QString &name, const QImage &image)
{
    if (image.devicePixelRatio() <= 1)
        return QImage(name);
    return QImage(QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png")));
}

// The logical size the pictures are drawn for.
QSize logo_size()
{
    return QImage(QStringLiteral(":/images/Resources/about_box_logo.png")).size();
}

// A point, in logical pixels, where |picture| is opaque.
QPoint opaque_point(const QImage &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    for (int y = 0; y * ratio < picture.height(); ++y)
        for (int x = 0; x * ratio < picture.width(); ++x)
            if (pixel(picture, QPoint(x, y)).alpha() == 255)
                return QPoint(x, y);
    return QPoint(-1, -1);
}

void advance(animated_logo_widget &logo, int ticks)
{
    for (int tick = 0; tick < ticks; ++tick)
        logo.update_image();
}

} // namespace

class tst_animated_logo_widget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void phases_choose_frames_data();
    void phases_choose_frames();
    void the_loop_restarts_after_1200();
    void dark_windows_take_the_inverted_set_data();
    void dark_windows_take_the_inverted_set();
    void paints_the_frames_of_each_phase();
    void slides_frame_1_in_while_frame_0_fades();
    void dark_palette_paints_the_inverted_frames();
    void ticks_on_the_wait_service_scale();
};

void tst_animated_logo_widget::initTestCase()
{
    tessaline_init_resources();
    if (qgetenv("QT_SCALE_FACTOR") == "2")
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void tst_animated_logo_widget::cleanup()
{
    wait_service::set_time_scale(1.0);
}

void tst_animated_logo_widget::phases_choose_frames_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<QVector<int>>("frames");
    QTest::addColumn<QVector<int>>("rows");
    QTest::addColumn<QVector<double>>("opacities");
    QTest::newRow("0 first frame") << 0 << QVector<int>{0} << QVector<int>{0} << QVector<double>{1.0};
    QTest::newRow("199 still") << 199 << QVector<int>{0} << QVector<int>{0} << QVector<double>{1.0};
    QTest::newRow("200 slide starts") << 200 << QVector<int>{0, 1, 2} << QVector<int>{0, 80, 160}
                                      << QVector<double>{1.0, 1.0, 1.0};
    QTest::newRow("225 half faded") << 225 << QVector<int>{0, 1, 2} << QVector<int>{0, 55, 135}
                                    << QVector<double>{0.5, 1.0, 1.0};
    QTest::newRow("250 faded out") << 250 << QVector<int>{0, 1, 2} << QVector<int>{0, 30, 110}
                                   << QVector<double>{0.0, 1.0, 1.0};
    QTest::newRow("399 truncates") << 399 << QVector<int>{0, 1, 2} << QVector<int>{0, -119, -39}
                                   << QVector<double>{0.0, 1.0, 1.0};
    QTest::newRow("400 third frame") << 400 << QVector<int>{2} << QVector<int>{0} << QVector<double>{1.0};
    QTest::newRow("650 fading out") << 650 << QVector<int>{2} << QVector<int>{0} << QVector<double>{0.5};
    QTest::newRow("750 first fading in") << 750 << QVector<int>{0} << QVector<int>{0} << QVector<double>{0.5};
    QTest::newRow("800 first frame") << 800 << QVector<int>{0} << QVector<int>{0} << QVector<double>{1.0};
    QTest::newRow("1200 first frame") << 1200 << QVector<int>{0} << QVector<int>{0} << QVector<double>{1.0};
    QTest::newRow("1201 is no phase") << 1201 << QVector<int>{} << QVector<int>{} << QVector<double>{};
}

void tst_animated_logo_widget::phases_choose_frames()
{
    QFETCH(int, phase);
    QFETCH(QVector<int>, frames);
    QFETCH(QVector<int>, rows);
    QFETCH(QVector<double>, opacities);
    const QVector<logo_drawing> drawings = animated_logo_drawings(phase, 100);
    QCOMPARE(drawings.size(), frames.size());
    for (int i = 0; i < drawings.size(); ++i) {
        QCOMPARE(drawings[i].frame, frames[i]);
        QCOMPARE(drawings[i].y, rows[i]);
        QVERIFY(qAbs(drawings[i].opacity - opacities[i]) < 1e-12);
    }
}

void tst_animated_logo_widget::the_loop_restarts_after_1200()
{
    QCOMPARE(animated_logo_next_phase(100), 101);
    QCOMPARE(animated_logo_next_phase(1199), 1200);
    QCOMPARE(animated_logo_next_phase(1200), 0);
}

void tst_animated_logo_widget::dark_windows_take_the_inverted_set_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<bool>("dark");
    QTest::newRow("light grey") << QColor(239, 239, 239) << false;
    QTest::newRow("just light") << QColor(128, 128, 128) << false;
    QTest::newRow("just dark") << QColor(127, 127, 127) << true;
    QTest::newRow("dark blue") << QColor(20, 30, 60) << true;
}

void tst_animated_logo_widget::dark_windows_take_the_inverted_set()
{
    QFETCH(QColor, window);
    QFETCH(bool, dark);
    QCOMPARE(animated_logo_is_dark(window), dark);
    const QStringList names = animated_logo_frame_names(dark);
    QCOMPARE(names.size(), 3);
    QCOMPARE(names[0], QStringLiteral(":/images/Resources/about_box_logo.png"));
    QCOMPARE(names[2], dark ? QStringLiteral(":/images/Resources/about_box_logo_3_inverted.png")
                            : QStringLiteral(":/images/Resources/about_box_logo_3.png"));
}

void tst_animated_logo_widget::paints_the_frames_of_each_phase()
{
    animated_logo_widget logo;
    QCOMPARE(logo.minimumSizeHint(), logo_size());
    logo.resize(logo_size());
    const QString first = QStringLiteral(":/images/Resources/about_box_logo.png");
    const QString third = QStringLiteral(":/images/Resources/about_box_logo_3.png");

    QImage image = paint(logo); // phase 100
    QVERIFY(shows_picture(image, frame_picture(first, image), QPoint()));
    advance(logo, 300); // 400
    image = paint(logo);
    QVERIFY(shows_picture(image, frame_picture(third, image), QPoint()));
    advance(logo, 400); // 800
    image = paint(logo);
    QVERIFY(shows_picture(image, frame_picture(first, image), QPoint()));
    advance(logo, 401 + 400); // round the loop to 400 again
    image = paint(logo);
    QVERIFY(shows_picture(image, frame_picture(third, image), QPoint()));

    // Half way through the fade-out the third frame is half covered by the background.
    advance(logo, 250); // 650
    image = paint(logo);
    const QImage picture = frame_picture(third, image);
    const QColor background = logo.palette().window().color();
    const QPoint probe = opaque_point(picture);
    QVERIFY(probe.x() >= 0);
    const QColor drawn = pixel(image, probe);
    const QColor source = pixel(picture, probe);
    // Opacity 0.5 over the background, to rounding.
    QVERIFY2(qAbs(drawn.red() - (source.red() + background.red()) / 2) <= 2, qPrintable(drawn.name()));
    QVERIFY(qAbs(drawn.blue() - (source.blue() + background.blue()) / 2) <= 2);
}

void tst_animated_logo_widget::slides_frame_1_in_while_frame_0_fades()
{
    animated_logo_widget logo;
    const int height = logo_size().height();
    logo.resize(logo_size().width(), 80 + 2 * height);
    advance(logo, 150); // 250: a quarter of the slide, frame 0 gone
    const QImage image = paint(logo);
    const QImage second = frame_picture(QStringLiteral(":/images/Resources/about_box_logo_2.png"), image);
    const QImage third = frame_picture(QStringLiteral(":/images/Resources/about_box_logo_3.png"), image);
    const qreal ratio = image.devicePixelRatio();
    const int row1 = 80 - 2 * height / 4;
    const int row2 = 160 - 2 * height / 4;
    QVERIFY(shows_picture(image, second, QPoint(0, row1) * ratio));
    QVERIFY(shows_picture(image, third, QPoint(0, row2) * ratio));
}

void tst_animated_logo_widget::dark_palette_paints_the_inverted_frames()
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    animated_logo_widget logo;
    QApplication::setPalette(light);
    logo.resize(logo_size());
    advance(logo, 300); // 400: the third frame alone
    const QImage image = paint(logo);
    const QString inverted = QStringLiteral(":/images/Resources/about_box_logo_3_inverted.png");
    const QString plain = QStringLiteral(":/images/Resources/about_box_logo_3.png");
    QVERIFY(shows_picture(image, frame_picture(inverted, image), QPoint()));
    QVERIFY(!shows_picture(image, frame_picture(plain, image), QPoint()));
}

void tst_animated_logo_widget::ticks_on_the_wait_service_scale()
{
    {
        animated_logo_widget logo;
        QTimer *timer = logo.findChild<QTimer *>();
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 10);
    }
    wait_service::set_time_scale(0.01);
    animated_logo_widget logo;
    logo.resize(300, 100);
    QCOMPARE(logo.findChild<QTimer *>()->interval(), 1);
    const QImage start = paint(logo);
    // A hundred ticks of a millisecond reach the slide.
    QTRY_VERIFY(paint(logo) != start);
}

QTEST_MAIN(tst_animated_logo_widget)
#include "tst_animated_logo_widget.moc"
