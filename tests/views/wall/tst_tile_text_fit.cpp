#include "views/wall/tile_text_fit.h"

#include <QGuiApplication>
#include <QtTest>

namespace {

const QString kText = QStringLiteral("# 12\nCalibrated\n+ Visual Trim");

QRect frame_of(const QRect &widget) { return widget.adjusted(2, 2, -2, -2); }

QFont in_points(int size)
{
    QFont font;
    font.setPointSize(size);
    return font;
}

QFont in_pixels(int size)
{
    QFont font;
    font.setPixelSize(size);
    return font;
}

} // namespace

class tst_tile_text_fit : public QObject
{
    Q_OBJECT

private slots:
    void a_tiny_tile_stops_at_size_three_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<bool>("pixels");
        QTest::newRow("points") << in_points(14) << false;
        QTest::newRow("pixels") << in_pixels(20) << true;
        QTest::newRow("already tiny") << in_points(2) << false;
    }
    void a_tiny_tile_stops_at_size_three()
    {
        QFETCH(QFont, font);
        QFETCH(bool, pixels);
        const QRect widget(0, 0, 12, 12);
        const tile_text_layout layout = fit_tile_text(font, kText, widget, frame_of(widget), false);
        QCOMPARE(pixels ? layout.font.pixelSize() : layout.font.pointSize(), 3);
        QVERIFY(layout.flags & Qt::TextWordWrap);
        QCOMPARE(layout.rect, widget);
    }

    void a_text_that_fits_keeps_the_widget_font_without_expansion()
    {
        const QRect widget(0, 0, 600, 600);
        const QFont font = in_points(10);
        const tile_text_layout layout = fit_tile_text(font, kText, widget, frame_of(widget), false);
        QCOMPARE(layout.font, font);
        QCOMPARE(layout.rect, widget);
        QCOMPARE(layout.flags, int(Qt::AlignCenter));
    }

    void expansion_grows_to_the_first_size_that_no_longer_fits_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<bool>("pixels");
        QTest::newRow("points") << in_points(10) << false;
        QTest::newRow("pixels") << in_pixels(12) << true;
    }
    void expansion_grows_to_the_first_size_that_no_longer_fits()
    {
        QFETCH(QFont, font);
        QFETCH(bool, pixels);
        const QRect widget(0, 0, 400, 400);
        const QRect frame = frame_of(widget);
        const tile_text_layout layout = fit_tile_text(font, kText, widget, frame, true);
        QCOMPARE(layout.rect, frame);
        const int size = pixels ? layout.font.pixelSize() : layout.font.pointSize();
        QVERIFY(size > (pixels ? 12 : 10));
        const auto fits = [&](const QFont &f) {
            const QRect r = QFontMetrics(f).boundingRect(frame, layout.flags, kText);
            return r.width() <= frame.width() - 16 && r.height() <= frame.height() - 16;
        };
        QVERIFY(!fits(layout.font));
        QFont smaller = layout.font;
        pixels ? smaller.setPixelSize(size - 1) : smaller.setPointSize(size - 1);
        QVERIFY(fits(smaller));
    }

    void expansion_ends_on_a_frame_too_small_for_any_margin()
    {
        // The text is narrow enough not to shrink, yet nothing fits a frame
        // smaller than the margin.
        const QRect widget(0, 0, 60, 14);
        const tile_text_layout layout = fit_tile_text(in_points(1), QStringLiteral("#"), widget, frame_of(widget), true);
        QVERIFY(layout.font.pointSize() >= 1);
    }
};

QTEST_MAIN(tst_tile_text_fit)
#include "tst_tile_text_fit.moc"
