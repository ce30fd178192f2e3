#include "tests/support/widget_images.h"
#include "tests/support/widget_input.h"
#include "views/widgets/KQ_corner_uniformity_diagram_widget.h"
#include "views/widgets/corner_uniformity_geometry.h"

#include <QSignalSpy>
#include <QtTest>

using namespace widget_images;

namespace {

constexpr int kLayoutIndex = 4;

CornerUniformityEntry centred(int level = 0)
{
    CornerUniformityEntry entry;
    entry.first_offset = 30;
    entry.second_offset = 30;
    entry.first_span = 60;
    entry.second_span = 60;
    entry.size_level = level;
    return entry;
}

CornerUniformitySet block(int selected = 0, bool portrait = false, bool supported = true)
{
    CornerUniformitySet set;
    set.layout_index = kLayoutIndex;
    set.supported = supported ? 1 : 0;
    set.selected_corner = selected;
    set.portrait = portrait ? 1 : 0;
    set.show_levels = 1;
    for (CornerUniformityEntry &corner : set.corners)
        corner = centred();
    return set;
}

// A 200-pixel diagram: two pixels per diagram unit around (100, 100).
struct diagram_fixture
{
    KQ_corner_uniformity_diagram_widget widget;
    QSignalSpy corners{&widget, &KQ_corner_uniformity_diagram_widget::selected_corner_position_changed};
    QSignalSpy levels{&widget, &KQ_corner_uniformity_diagram_widget::selected_corner_uniformity_level_changed};

    explicit diagram_fixture(const CornerUniformitySet &data)
    {
        widget.resize(200, 200);
        widget.setCornerUniformityData(data);
    }

    QPoint at(QPointF units, bool portrait = false) const
    {
        return corner_diagram_transform(widget.size(), portrait).map(units).toPoint();
    }

    void key(int key) { QTest::keyClick(&widget, Qt::Key(key)); }
};

} // namespace

class tst_corner_uniformity_diagram_widget : public QObject
{
    Q_OBJECT

private slots:
    void places_the_outline_data();
    void places_the_outline();
    void quadrants_give_corners_data();
    void quadrants_give_corners();
    void level_bands_around_the_selected_corner_data();
    void level_bands_around_the_selected_corner();
    void arrow_keys_turn_with_the_display_data();
    void arrow_keys_turn_with_the_display();
    void corner_cursors_follow_the_diagonal();
    void tint_shows_direction_and_size_data();
    void tint_shows_direction_and_size();
    void labels_and_their_shrinking();

    void click_outside_deselects();
    void release_in_another_band_reports_that_level();
    void dragging_onto_another_corner_selects_it_without_a_level();
    void clicking_another_corner_selects_it();
    void plus_and_minus_report_but_keep_the_level();
    void arrow_keys_move_the_selection_in_both_orientations();
    void unsupported_model_ignores_the_pointer();
    void hovering_marks_the_corner_under_the_pointer();
    void paints_tints_and_the_portrait_outline();
    void huge_font_still_paints();
};

void tst_corner_uniformity_diagram_widget::places_the_outline_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QPointF>("topLeft");
    QTest::addColumn<QPointF>("bottomRight");
    QTest::newRow("landscape fits exactly") << QSize(200, 112) << false << QPointF(0, 0) << QPointF(200, 112);
    QTest::newRow("landscape in a wide widget") << QSize(400, 112) << false << QPointF(100, 0) << QPointF(300, 112);
    QTest::newRow("landscape in a square") << QSize(200, 200) << false << QPointF(0, 44) << QPointF(200, 156);
    QTest::newRow("portrait fits exactly") << QSize(112, 200) << true << QPointF(0, 0) << QPointF(112, 200);
    QTest::newRow("portrait in a square") << QSize(200, 200) << true << QPointF(44, 0) << QPointF(156, 200);
}

void tst_corner_uniformity_diagram_widget::places_the_outline()
{
    QFETCH(QSize, size);
    QFETCH(bool, portrait);
    QFETCH(QPointF, topLeft);
    QFETCH(QPointF, bottomRight);
    const QRectF outline = corner_diagram_transform(size, portrait).mapRect(corner_diagram_outline(portrait));
    QCOMPARE(outline.topLeft(), topLeft);
    QCOMPARE(outline.bottomRight(), bottomRight);
    QCOMPARE(corner_diagram_hit_rect(portrait).size(), corner_diagram_outline(portrait).size() - QSizeF(2, 2));
}

void tst_corner_uniformity_diagram_widget::quadrants_give_corners_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("landscape");
    QTest::addColumn<int>("portrait");
    QTest::newRow("top-left") << QPointF(-10, -10) << 0 << 2;
    QTest::newRow("top-right") << QPointF(10, -10) << 1 << 0;
    QTest::newRow("bottom-left") << QPointF(-10, 10) << 2 << 3;
    QTest::newRow("bottom-right") << QPointF(10, 10) << 3 << 1;
    QTest::newRow("the centre counts as bottom-right") << QPointF(0, 0) << 3 << 1;
}

void tst_corner_uniformity_diagram_widget::quadrants_give_corners()
{
    QFETCH(QPointF, point);
    QFETCH(int, landscape);
    QFETCH(int, portrait);
    QCOMPARE(corner_diagram_corner_at(point, false), landscape);
    QCOMPARE(corner_diagram_corner_at(point, true), portrait);
}

void tst_corner_uniformity_diagram_widget::level_bands_around_the_selected_corner_data()
{
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("level");
    // Landscape corner 0 measures from (0, 26), portrait corner 0 from (-28, 0).
    QTest::newRow("landscape, deep in the corner") << false << 0 << QPointF(-45, -24) << 2;
    QTest::newRow("landscape, middle band") << false << 0 << QPointF(-30, -5) << 1;
    QTest::newRow("landscape, near the middle") << false << 0 << QPointF(-20, 0) << 0;
    QTest::newRow("landscape, 56 is still level 0") << false << 0 << QPointF(-30, 0) << 0;
    QTest::newRow("landscape, 56.5 truncates to level 0") << false << 0 << QPointF(-30.5, 0) << 0;
    QTest::newRow("landscape, 57 is level 1") << false << 0 << QPointF(-31, 0) << 1;
    QTest::newRow("landscape, 73 is level 2") << false << 0 << QPointF(-47, 0) << 2;
    QTest::newRow("landscape corner 3") << false << 3 << QPointF(45, 24) << 2;
    QTest::newRow("portrait corner 0, deep") << true << 0 << QPointF(22, -45) << 2;
    QTest::newRow("portrait corner 0, near the middle") << true << 0 << QPointF(0, -10) << 0;
    QTest::newRow("no selection measures from the centre") << false << -1 << QPointF(40, 20) << 1;
}

void tst_corner_uniformity_diagram_widget::level_bands_around_the_selected_corner()
{
    QFETCH(bool, portrait);
    QFETCH(int, selected);
    QFETCH(QPointF, point);
    QFETCH(int, level);
    QCOMPARE(corner_diagram_level_at(point, selected, portrait), level);
}

void tst_corner_uniformity_diagram_widget::arrow_keys_turn_with_the_display_data()
{
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("landscape left 1 to 0") << false << 1 << int(Qt::Key_Left) << 0;
    QTest::newRow("landscape left 3 to 2") << false << 3 << int(Qt::Key_Left) << 2;
    QTest::newRow("landscape right 0 to 1") << false << 0 << int(Qt::Key_Right) << 1;
    QTest::newRow("landscape up 2 to 0") << false << 2 << int(Qt::Key_Up) << 0;
    QTest::newRow("landscape down 1 to 3") << false << 1 << int(Qt::Key_Down) << 3;
    QTest::newRow("landscape left at the edge") << false << 0 << int(Qt::Key_Left) << 0;
    QTest::newRow("portrait left 0 to 2") << true << 0 << int(Qt::Key_Left) << 2;
    QTest::newRow("portrait left 1 to 3") << true << 1 << int(Qt::Key_Left) << 3;
    QTest::newRow("portrait right 2 to 0") << true << 2 << int(Qt::Key_Right) << 0;
    QTest::newRow("portrait right 3 to 1") << true << 3 << int(Qt::Key_Right) << 1;
    QTest::newRow("portrait up 3 to 2") << true << 3 << int(Qt::Key_Up) << 2;
    QTest::newRow("portrait up 1 to 0") << true << 1 << int(Qt::Key_Up) << 0;
    QTest::newRow("portrait down 2 to 3") << true << 2 << int(Qt::Key_Down) << 3;
    QTest::newRow("portrait down 0 to 1") << true << 0 << int(Qt::Key_Down) << 1;
    QTest::newRow("portrait up at the edge") << true << 0 << int(Qt::Key_Up) << 0;
    QTest::newRow("no selection stays none") << false << -1 << int(Qt::Key_Right) << -1;
    QTest::newRow("other keys move nothing") << false << 0 << int(Qt::Key_Home) << 0;
}

void tst_corner_uniformity_diagram_widget::arrow_keys_turn_with_the_display()
{
    QFETCH(bool, portrait);
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QCOMPARE(corner_diagram_moved(from, key, portrait), to);
}

void tst_corner_uniformity_diagram_widget::corner_cursors_follow_the_diagonal()
{
    const Qt::CursorShape landscape[] = {Qt::SizeFDiagCursor, Qt::SizeBDiagCursor, Qt::SizeBDiagCursor,
                                         Qt::SizeFDiagCursor};
    const Qt::CursorShape portrait[] = {Qt::SizeBDiagCursor, Qt::SizeFDiagCursor, Qt::SizeFDiagCursor,
                                        Qt::SizeBDiagCursor};
    for (int corner = 0; corner < 4; ++corner) {
        QCOMPARE(corner_diagram_cursor(corner, false), landscape[corner]);
        QCOMPARE(corner_diagram_cursor(corner, true), portrait[corner]);
    }
}

void tst_corner_uniformity_diagram_widget::tint_shows_direction_and_size_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("span");
    QTest::addColumn<int>("hue");
    QTest::addColumn<int>("saturation");
    QTest::newRow("centred: no colour") << 30 << 30 << 60 << 0 << 0;
    QTest::newRow("x at its maximum: red, full") << 60 << 30 << 60 << 0 << 255;
    QTest::newRow("y at its maximum") << 30 << 60 << 60 << 90 << 255;
    QTest::newRow("x at its minimum") << 0 << 30 << 60 << 180 << 255;
    QTest::newRow("y at its minimum: negative angles wrap") << 30 << 0 << 60 << 270 << 255;
    QTest::newRow("a small step") << 31 << 30 << 60 << 0 << 30;
}

void tst_corner_uniformity_diagram_widget::tint_shows_direction_and_size()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, span);
    QFETCH(int, hue);
    QFETCH(int, saturation);
    CornerUniformityEntry entry = centred();
    entry.first_offset = x;
    entry.second_offset = y;
    entry.first_span = entry.second_span = span;
    const QColor tint = corner_diagram_tint(entry, QColor(240, 240, 240));
    QCOMPARE(tint.hsvSaturation(), saturation);
    if (saturation > 0)
        QCOMPARE(tint.hsvHue(), hue);
    QCOMPARE(tint.value(), 240);

    entry.second_span = 0; // never read from the display
    QCOMPARE(corner_diagram_tint(entry, QColor(240, 240, 240)), QColor(240, 240, 240));
}

void tst_corner_uniformity_diagram_widget::labels_and_their_shrinking()
{
    QCOMPARE(corner_diagram_label(4, true, true), QStringLiteral("# 5"));
    QCOMPARE(corner_diagram_label(4, true, false), QStringLiteral("# 5\nCorrection Off"));
    QCOMPARE(corner_diagram_label(0, false, false), QStringLiteral("# 1\nUnsupported model"));

    QFont big;
    big.setPointSize(60);
    const QString label = corner_diagram_label(98, true, false);
    const QFont fitted = corner_diagram_fitted_font(big, label, 96);
    QVERIFY(fitted.pointSizeF() < 60);
    QVERIFY(QFontMetricsF(fitted).boundingRect(QRectF(-500, -500, 1000, 1000), Qt::AlignCenter, label).width() <= 96);
    // Nothing fits in no room: the shrinking stops at 1 pt.
    QCOMPARE(corner_diagram_fitted_font(big, label, 0).pointSizeF(), 1.0);
    QFont small;
    small.setPointSize(6);
    QCOMPARE(corner_diagram_fitted_font(small, QStringLiteral("# 1"), 96).pointSizeF(), 6.0);
}

void tst_corner_uniformity_diagram_widget::click_outside_deselects()
{
    diagram_fixture diagram(block(2));
    widget_input::click(diagram.widget, QPoint(100, 20));
    QCOMPARE(diagram.corners.count(), 1);
    QCOMPARE(diagram.corners.at(0), QList<QVariant>({kLayoutIndex, -1}));
    QCOMPARE(diagram.levels.count(), 0);
    widget_input::click(diagram.widget, QPoint(100, 190));
    QCOMPARE(diagram.corners.count(), 1);
}

void tst_corner_uniformity_diagram_widget::release_in_another_band_reports_that_level()
{
    diagram_fixture diagram(block(0));
    widget_input::press(diagram.widget, diagram.at(QPointF(-20, -2)));
    widget_input::move(diagram.widget, diagram.at(QPointF(-45, -24)), Qt::LeftButton);
    widget_input::release(diagram.widget, diagram.at(QPointF(-45, -24)));
    QCOMPARE(diagram.levels.count(), 1);
    QCOMPARE(diagram.levels.at(0), QList<QVariant>({kLayoutIndex, 2}));
    QCOMPARE(diagram.corners.count(), 0);

    // The same band again reports it again: the diagram never stores a level.
    widget_input::click(diagram.widget, diagram.at(QPointF(-20, -2)));
    QCOMPARE(diagram.levels.count(), 2);
    QCOMPARE(diagram.levels.at(1), QList<QVariant>({kLayoutIndex, 0}));
}

void tst_corner_uniformity_diagram_widget::dragging_onto_another_corner_selects_it_without_a_level()
{
    diagram_fixture diagram(block(0));
    widget_input::press(diagram.widget, diagram.at(QPointF(-20, -2)));
    widget_input::move(diagram.widget, diagram.at(QPointF(30, 20)), Qt::LeftButton);
    widget_input::release(diagram.widget, diagram.at(QPointF(30, 20)));
    QCOMPARE(diagram.corners.count(), 1);
    QCOMPARE(diagram.corners.at(0), QList<QVariant>({kLayoutIndex, 3}));
    QCOMPARE(diagram.levels.count(), 0);

    // Dragged off the outline instead: the press's level is dropped.
    widget_input::press(diagram.widget, diagram.at(QPointF(20, 2)));
    widget_input::move(diagram.widget, QPoint(100, 5), Qt::LeftButton);
    widget_input::release(diagram.widget, QPoint(100, 5));
    QCOMPARE(diagram.levels.count(), 0);
    QCOMPARE(diagram.corners.count(), 1);
}

void tst_corner_uniformity_diagram_widget::clicking_another_corner_selects_it()
{
    diagram_fixture diagram(block(0));
    widget_input::click(diagram.widget, diagram.at(QPointF(30, -10)));
    QCOMPARE(diagram.corners.count(), 1);
    QCOMPARE(diagram.corners.at(0), QList<QVariant>({kLayoutIndex, 1}));
    QCOMPARE(diagram.levels.count(), 0);
    // Now corner 1 is selected: a click in it picks a level.
    widget_input::click(diagram.widget, diagram.at(QPointF(45, -24)));
    QCOMPARE(diagram.levels.count(), 1);
    QCOMPARE(diagram.levels.at(0), QList<QVariant>({kLayoutIndex, 2}));
}

void tst_corner_uniformity_diagram_widget::plus_and_minus_report_but_keep_the_level()
{
    CornerUniformitySet data = block(0);
    diagram_fixture diagram(data);
    diagram.key(Qt::Key_Plus);
    QCOMPARE(diagram.levels.count(), 0);
    diagram.key(Qt::Key_Minus);
    diagram.key(Qt::Key_Minus);
    QCOMPARE(diagram.levels.count(), 2);
    QCOMPARE(diagram.levels.at(1), QList<QVariant>({kLayoutIndex, 1}));

    data.corners[0].size_level = 2;
    diagram.widget.setCornerUniformityData(data);
    diagram.key(Qt::Key_Minus);
    QCOMPARE(diagram.levels.count(), 2);
    diagram.key(Qt::Key_Plus);
    QCOMPARE(diagram.levels.count(), 3);
    QCOMPARE(diagram.levels.at(2), QList<QVariant>({kLayoutIndex, 1}));

    // Without a selection neither key reports.
    diagram.widget.setCornerUniformityData(block(-1));
    diagram.key(Qt::Key_Minus);
    QCOMPARE(diagram.levels.count(), 3);
}

void tst_corner_uniformity_diagram_widget::arrow_keys_move_the_selection_in_both_orientations()
{
    diagram_fixture diagram(block(0));
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up, Qt::Key_Up})
        diagram.key(key);
    QCOMPARE(diagram.corners.count(), 4);
    QCOMPARE(diagram.corners.at(0).at(1).toInt(), 1);
    QCOMPARE(diagram.corners.at(1).at(1).toInt(), 3);
    QCOMPARE(diagram.corners.at(2).at(1).toInt(), 2);
    QCOMPARE(diagram.corners.at(3).at(1).toInt(), 0);

    diagram.corners.clear();
    diagram.widget.setCornerUniformityData(block(0, true));
    for (int key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up})
        diagram.key(key);
    QCOMPARE(diagram.corners.count(), 4);
    QCOMPARE(diagram.corners.at(0).at(1).toInt(), 2);
    QCOMPARE(diagram.corners.at(1).at(1).toInt(), 3);
    QCOMPARE(diagram.corners.at(2).at(1).toInt(), 1);
    QCOMPARE(diagram.corners.at(3).at(1).toInt(), 0);

    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(&diagram.widget, &other);
    QVERIFY(!other.isAccepted());
}

void tst_corner_uniformity_diagram_widget::unsupported_model_ignores_the_pointer()
{
    diagram_fixture diagram(block(0, false, false));
    widget_input::click(diagram.widget, diagram.at(QPointF(30, -10)));
    widget_input::click(diagram.widget, diagram.at(QPointF(-45, -24)));
    QCOMPARE(diagram.corners.count(), 0);
    QCOMPARE(diagram.levels.count(), 0);
    widget_input::move(diagram.widget, diagram.at(QPointF(-45, -24)));
    QCOMPARE(diagram.widget.cursor().shape(), Qt::ArrowCursor);
}

void tst_corner_uniformity_diagram_widget::hovering_marks_the_corner_under_the_pointer()
{
    CornerUniformitySet data = block(0);
    data.show_levels = 0;
    diagram_fixture diagram(data);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&diagram.widget, &enter);
    const QPoint inCorner3 = diagram.at(QPointF(44, 22));
    const QColor resting = pixel(paint(diagram.widget), inCorner3);

    widget_input::move(diagram.widget, diagram.at(QPointF(30, 10)));
    QCOMPARE(diagram.widget.cursor().shape(), Qt::ArrowCursor);
    const QColor hovered = pixel(paint(diagram.widget), inCorner3);
    QVERIFY2(hovered.blue() - hovered.red() > 10, qPrintable(hovered.name()));
    QVERIFY(qAbs(resting.blue() - resting.red()) < 4);

    widget_input::move(diagram.widget, diagram.at(QPointF(-30, -10)));
    QCOMPARE(diagram.widget.cursor().shape(), Qt::SizeFDiagCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&diagram.widget, &leave);
    widget_input::move(diagram.widget, diagram.at(QPointF(30, 10)));
    diagram.widget.showHover(false);
    widget_input::move(diagram.widget, diagram.at(QPointF(-30, -10)));
    QCOMPARE(diagram.widget.cursor().shape(), Qt::ArrowCursor);
}

void tst_corner_uniformity_diagram_widget::paints_tints_and_the_portrait_outline()
{
    CornerUniformitySet data = block(1);
    data.show_levels = 0;
    data.corners[0].first_offset = 60; // corrected towards red
    data.corners[2].first_span = 0;    // never read
    diagram_fixture diagram(data);
    QPalette palette = diagram.widget.palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 128));
    diagram.widget.setPalette(palette);
    QImage image = paint(diagram.widget);
    const QColor topLeft = pixel(image, diagram.at(QPointF(-47, -25)));
    QVERIFY2(topLeft.red() > topLeft.green() + 50, qPrintable(topLeft.name()));
    QVERIFY(near(pixel(image, diagram.at(QPointF(-40, 20))), QColor(240, 240, 240), 2));
    QVERIFY(near(pixel(image, diagram.at(QPointF(40, 20))), QColor(240, 240, 240), 2));
    // Landscape leaves the bottom of a square widget empty.
    QVERIFY(near(pixel(image, QPoint(100, 190)), QColor(0, 0, 128), 2));

    data.portrait = 1;
    diagram.widget.setCornerUniformityData(data);
    image = paint(diagram.widget);
    QVERIFY(near(pixel(image, QPoint(100, 190)), QColor(240, 240, 240), 2));
    // Portrait corner 0 is the top-right one.
    const QColor topRight = pixel(image, diagram.at(QPointF(25, -47), true));
    QVERIFY2(topRight.red() > topRight.green() + 50, qPrintable(topRight.name()));

    // Unsupported or disabled: no tints.
    diagram.widget.setEnabled(false);
    image = paint(diagram.widget);
    QVERIFY(near(pixel(image, diagram.at(QPointF(25, -47), true)), QColor(240, 240, 240), 2));
}

void tst_corner_uniformity_diagram_widget::huge_font_still_paints()
{
    diagram_fixture diagram(block(0));
    QFont huge = diagram.widget.font();
    huge.setPointSize(400);
    diagram.widget.setFont(huge);
    diagram.widget.resize(20, 20);
    const QImage image = paint(diagram.widget);
    QCOMPARE(image.width(), qRound(20 * image.devicePixelRatio()));
}

QTEST_MAIN(tst_corner_uniformity_diagram_widget)
#include "tst_corner_uniformity_diagram_widget.moc"
