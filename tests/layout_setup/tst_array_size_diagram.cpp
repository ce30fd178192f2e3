#include "app/controller/layout_builder.h"
#include "layout_setup/KQ_display_array_size_diagram_widget.h"
#include "layout_setup/array_diagram_geometry.h"

#include "diagram_events.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kBackground(12, 34, 56);
const QColor kCellFill(255, 255, 192);
const QColor kHoverFill(255, 255, 205);
const QColor kSelectedFill(225, 225, 255);
const QColor kSelectedHoverFill(235, 235, 255);
const QColor kOrderLine(0, 0, 64);

using Walk = QVector<QPoint>;

QColor pixel(const QImage &image, const QPoint &at)
{
    return image.pixelColor(at);
}

// The point halfway between the centres of two cells.
QPoint midway(const array_diagram_geometry &grid, const QPoint &a, const QPoint &b)
{
    return (grid.cellCentre(a.x(), a.y()) + grid.cellCentre(b.x(), b.y())) / 2;
}

} // namespace

class tst_array_size_diagram : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void cell_under_a_point_data();
    void cell_under_a_point();
    void minimum_size_data();
    void minimum_size();
    void minimum_size_for_text_follows_the_font();
    void paints_a_cell_per_display_data();
    void paints_a_cell_per_display();
    void paints_nothing_without_rows_or_columns_data();
    void paints_nothing_without_rows_or_columns();
    void hover_and_selection_colours();
    void order_line_joins_consecutive_cells_data();
    void order_line_joins_consecutive_cells();
    void numbers_grow_with_the_cells();
    void clicks_data();
    void clicks();
    void clicks_on_an_empty_diagram_emit_nothing_data();
    void clicks_on_an_empty_diagram_emit_nothing();
};

void tst_array_size_diagram::geometry_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QPoint>("origin");

    QTest::newRow("1x1 in 300x200") << QSize(300, 200) << 1 << 1 << 200 << QPoint(50, 0);
    QTest::newRow("3x2 in 300x200") << QSize(300, 200) << 3 << 2 << 100 << QPoint(0, 0);
    QTest::newRow("3x2 in 301x150") << QSize(301, 150) << 3 << 2 << 75 << QPoint(38, 0);
    QTest::newRow("10x10 in 400x300") << QSize(400, 300) << 10 << 10 << 30 << QPoint(50, 0);
    QTest::newRow("too small for a pixel a cell") << QSize(5, 5) << 10 << 10 << 0 << QPoint(5 / 2, 5 / 2);
}

void tst_array_size_diagram::geometry()
{
    QFETCH(QSize, widget);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, cell);
    QFETCH(QPoint, origin);
    const array_diagram_geometry grid(widget, columns, rows);
    QCOMPARE(grid.cell, cell);
    QCOMPARE(grid.origin, origin);
    QCOMPARE(grid.hasCells(), cell > 0);
    if (grid.hasCells()) {
        QCOMPARE(grid.cellRect(columns - 1, rows - 1),
                 QRect(origin.x() + (columns - 1) * cell, origin.y() + (rows - 1) * cell, cell, cell));
        QCOMPARE(grid.cellRect(columns, 0), QRect());
    }
}

void tst_array_size_diagram::cell_under_a_point_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inCell");
    QTest::addColumn<QPoint>("cell");

    // 3 x 2 cells of 100 px from (0, 0) in a 300 x 250 widget: origin (0, 25).
    QTest::newRow("centre of the first") << QPoint(50, 75) << true << QPoint(0, 0);
    QTest::newRow("centre of the last") << QPoint(250, 175) << true << QPoint(2, 1);
    QTest::newRow("just inside the inset") << QPoint(102, 27) << true << QPoint(1, 0);
    QTest::newRow("gap between columns") << QPoint(100, 75) << false << QPoint();
    QTest::newRow("gap between rows") << QPoint(150, 124) << false << QPoint();
    QTest::newRow("above the grid") << QPoint(150, 10) << false << QPoint();
    QTest::newRow("below the grid") << QPoint(150, 240) << false << QPoint();
    QTest::newRow("left of the widget") << QPoint(-5, 75) << false << QPoint();
}

void tst_array_size_diagram::cell_under_a_point()
{
    QFETCH(QPoint, point);
    QFETCH(bool, inCell);
    QFETCH(QPoint, cell);
    const array_diagram_geometry grid(QSize(300, 250), 3, 2);
    int column = -7;
    int row = -7;
    QCOMPARE(grid.cellAt(point, 2, &column, &row), inCell);
    if (inCell)
        QCOMPARE(QPoint(column, row), cell);
    else
        QCOMPARE(QPoint(column, row), QPoint(-7, -7));
}

void tst_array_size_diagram::minimum_size_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("forText");
    QTest::addColumn<int>("charWidth");
    QTest::addColumn<QSize>("minimum");

    QTest::newRow("1x1") << 1 << 1 << false << 7 << QSize(100, 100);
    QTest::newRow("3x2") << 3 << 2 << false << 7 << QSize(100, 100);
    QTest::newRow("10x10") << 10 << 10 << false << 7 << QSize(100, 100);
    QTest::newRow("30x12") << 30 << 12 << false << 7 << QSize(300, 120);
    QTest::newRow("10 columns for text") << 10 << 2 << true << 7 << QSize(420, 100);
    QTest::newRow("0 rows") << 3 << 0 << false << 7 << QSize(100, 100);
}

void tst_array_size_diagram::minimum_size()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(bool, forText);
    QFETCH(int, charWidth);
    QFETCH(QSize, minimum);
    QCOMPARE(array_diagram_minimum_size(columns, rows, forText, charWidth), minimum);
}

void tst_array_size_diagram::minimum_size_for_text_follows_the_font()
{
    KQ_display_array_size_diagram_widget diagram;
    diagram.setColumns(30);
    diagram.setRows(12);
    QCOMPARE(diagram.minimumSizeHint(), QSize(300, 120));
    QCOMPARE(diagram.sizeHint(), diagram.minimumSizeHint());
    const int charWidth = diagram.fontMetrics().averageCharWidth();
    diagram.setLimitSizeForText(true);
    QCOMPARE(diagram.minimumSizeHint(), QSize(qMax(100, 30 * 6 * charWidth), qMax(100, 12 * 6 * charWidth)));
}

void tst_array_size_diagram::paints_a_cell_per_display_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");

    QTest::newRow("1x1") << QSize(300, 200) << 1 << 1;
    QTest::newRow("3x2") << QSize(300, 200) << 3 << 2;
    QTest::newRow("10x10") << QSize(400, 300) << 10 << 10;
}

void tst_array_size_diagram::paints_a_cell_per_display()
{
    QFETCH(QSize, widget);
    QFETCH(int, columns);
    QFETCH(int, rows);
    KQ_display_array_size_diagram_widget diagram;
    diagram.resize(widget);
    diagram.setColumns(columns);
    diagram.setRows(rows);
    const QImage image = painted(diagram, kBackground);
    const array_diagram_geometry grid = diagram.cellGeometry();
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const QRect square = grid.cellRect(c, r);
            QCOMPARE(pixel(image, square.center()), kCellFill);
            // The 2 px border around each cell stays unpainted.
            QCOMPARE(pixel(image, square.topLeft()), kBackground);
        }
    }
    if (grid.origin.x() > 0)
        QCOMPARE(pixel(image, QPoint(grid.origin.x() - 1, widget.height() / 2)), kBackground);
}

void tst_array_size_diagram::paints_nothing_without_rows_or_columns_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("0 rows") << 3 << 0;
    QTest::newRow("0 columns") << 0 << 2;
    QTest::newRow("negative rows") << 3 << -1;
}

void tst_array_size_diagram::paints_nothing_without_rows_or_columns()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    KQ_display_array_size_diagram_widget diagram;
    diagram.resize(300, 200);
    diagram.setColumns(columns);
    diagram.setRows(rows);
    diagram.showLayoutDirection(true);
    diagram.showCurrentlySelectedDisplay(true);
    QImage blank(diagram.size(), QImage::Format_ARGB32);
    blank.fill(kBackground);
    QCOMPARE(painted(diagram, kBackground), blank);
}

void tst_array_size_diagram::hover_and_selection_colours()
{
    KQ_display_array_size_diagram_widget diagram;
    diagram.resize(300, 200);
    diagram.setColumns(3);
    diagram.setRows(2);
    const array_diagram_geometry grid = diagram.cellGeometry();
    const QPoint centre10 = grid.cellCentre(1, 0);
    const QPoint centre21 = grid.cellCentre(2, 1);

    // Hover is drawn only when switched on and while the pointer is inside.
    send_enter(diagram);
    send_move(diagram, centre10);
    QCOMPARE(pixel(painted(diagram), centre10), kCellFill);
    diagram.showHover(true);
    send_move(diagram, centre10);
    QImage image = painted(diagram);
    QCOMPARE(pixel(image, centre10), kHoverFill);
    QCOMPARE(pixel(image, grid.cellRect(1, 0).topLeft() + QPoint(1, 50)), QColor(Qt::black));
    QCOMPARE(pixel(image, centre21), kCellFill);

    // A move into a gap keeps the hovered cell.
    send_move(diagram, grid.cellRect(2, 0).topLeft() + QPoint(0, 50));
    QCOMPARE(pixel(painted(diagram), centre10), kHoverFill);

    diagram.showCurrentlySelectedDisplay(true);
    diagram.setCurrentlySelectedDisplay(2, 1);
    image = painted(diagram);
    QCOMPARE(pixel(image, centre21), kSelectedFill);
    QCOMPARE(pixel(image, centre10), kHoverFill);
    int x = -1, y = -1;
    diagram.getCurrentlySelectedDisplay(x, y);
    QCOMPARE(QPoint(x, y), QPoint(2, 1));

    send_move(diagram, centre21);
    image = painted(diagram);
    QCOMPARE(pixel(image, centre21), kSelectedHoverFill);
    QCOMPARE(pixel(image, centre10), kCellFill);

    send_leave(diagram);
    QCOMPARE(pixel(painted(diagram), centre21), kSelectedFill);
}

void tst_array_size_diagram::order_line_joins_consecutive_cells_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("corner");
    QTest::addColumn<bool>("clockwise");
    QTest::addColumn<bool>("zigzag");
    QTest::addColumn<Walk>("walk");

    QTest::newRow("3x2 top left scan line")
        << QSize(300, 200) << 3 << 2 << 0 << true << false << Walk{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    QTest::newRow("3x2 top left zig-zag")
        << QSize(300, 200) << 3 << 2 << 0 << true << true << Walk{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}};
    QTest::newRow("3x2 top right clockwise")
        << QSize(300, 200) << 3 << 2 << 1 << true << false << Walk{{2, 0}, {2, 1}, {1, 0}, {1, 1}, {0, 0}, {0, 1}};
    QTest::newRow("3x2 top left counter-clockwise")
        << QSize(300, 200) << 3 << 2 << 0 << false << false << Walk{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}};
    QTest::newRow("4x3 bottom right clockwise zig-zag")
        << QSize(400, 300) << 4 << 3 << 3 << true << true
        << Walk{{3, 2}, {2, 2}, {1, 2}, {0, 2}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};
    QTest::newRow("10x10 bottom left counter-clockwise zig-zag") << QSize(400, 400) << 10 << 10 << 2 << false
                                                                << true << Walk();
}

void tst_array_size_diagram::order_line_joins_consecutive_cells()
{
    QFETCH(QSize, widget);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, corner);
    QFETCH(bool, clockwise);
    QFETCH(bool, zigzag);
    QFETCH(Walk, walk);
    if (walk.isEmpty()) {
        for (const display_position &p : display_visiting_order(columns, rows, corner, clockwise, zigzag))
            walk.append(QPoint(p.column, p.row));
    }
    KQ_display_array_size_diagram_widget diagram;
    diagram.resize(widget);
    diagram.setColumns(columns);
    diagram.setRows(rows);
    diagram.showLayoutDirection(true);
    diagram.setStartingCorner(corner);
    diagram.setLayoutDirection(clockwise);
    diagram.setLineOrder(zigzag);
    const QImage image = painted(diagram);
    const array_diagram_geometry grid = diagram.cellGeometry();

    // The line crosses the gap between neighbours in full colour where they
    // follow each other in the walk, and (unless a scan line's diagonal runs
    // back across the wall) nowhere else.
    bool diagonals = false;
    for (int i = 1; i < walk.size(); ++i)
        diagonals = diagonals || (walk[i] - walk[i - 1]).manhattanLength() > 1;
    for (int i = 0; i < walk.size(); ++i) {
        for (int j = i + 1; j < walk.size(); ++j) {
            const bool consecutive = j == i + 1;
            if ((walk[j] - walk[i]).manhattanLength() != 1 || (diagonals && !consecutive))
                continue;
            QVERIFY2((pixel(image, midway(grid, walk[i], walk[j])) == kOrderLine) == consecutive,
                     qPrintable(QStringLiteral("between cells %1 and %2").arg(i + 1).arg(j + 1)));
        }
    }
    // Inside a cell it shows only faintly through the veil.
    const QPoint inside =
        grid.cellCentre(walk[0].x(), walk[0].y()) * 3 / 4 + grid.cellCentre(walk[1].x(), walk[1].y()) / 4;
    const QColor veiled = pixel(image, inside);
    QVERIFY2(veiled.blue() < kCellFill.blue() && veiled.red() > 200, qPrintable(veiled.name()));

    // The scan line's diagonal from the end of one row back to the start of
    // the next crosses the gap under the middle column; zig-zag has none.
    if (columns == 3 && corner == 0 && clockwise) {
        const QPoint diagonalMiddle = midway(grid, QPoint(2, 0), QPoint(0, 1));
        QCOMPARE(pixel(image, diagonalMiddle) == kOrderLine, !zigzag);
    }
}

void tst_array_size_diagram::numbers_grow_with_the_cells()
{
    KQ_display_array_size_diagram_widget diagram;
    const int base = diagram.font().pointSize();
    QVERIFY(base > 0);
    diagram.resize(300, 200);
    diagram.showLayoutDirection(true);
    painted(diagram);
    QCOMPARE(diagram.font().pointSize(), array_diagram_point_size(base, 200));
    QCOMPARE(array_diagram_point_size(base, 200), base + 45);
    diagram.setColumns(10);
    diagram.setRows(10);
    painted(diagram);
    QCOMPARE(diagram.font().pointSize(), base);
}

void tst_array_size_diagram::clicks_data()
{
    QTest::addColumn<bool>("direction");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("cell");

    const QPoint none(-1, -1);
    // 3 x 2 cells of 100 px at (0, 25) in a 300 x 250 widget.
    QTest::newRow("in a cell") << false << QPoint(150, 175) << int(Qt::LeftButton) << QPoint(1, 1);
    QTest::newRow("near a cell's edge") << false << QPoint(297, 28) << int(Qt::LeftButton) << QPoint(2, 0);
    QTest::newRow("between cells") << false << QPoint(200, 175) << int(Qt::LeftButton) << none;
    QTest::newRow("outside the grid") << false << QPoint(150, 10) << int(Qt::LeftButton) << none;
    QTest::newRow("right button") << false << QPoint(150, 175) << int(Qt::RightButton) << none;
    QTest::newRow("middle button") << false << QPoint(150, 175) << int(Qt::MiddleButton) << none;
    QTest::newRow("in the wider gap of the direction view") << true << QPoint(297, 28) << int(Qt::LeftButton)
                                                           << none;
    QTest::newRow("in a cell of the direction view") << true << QPoint(50, 75) << int(Qt::LeftButton)
                                                    << QPoint(0, 0);
}

void tst_array_size_diagram::clicks()
{
    QFETCH(bool, direction);
    QFETCH(QPoint, position);
    QFETCH(int, button);
    QFETCH(QPoint, cell);
    KQ_display_array_size_diagram_widget diagram;
    diagram.resize(300, 250);
    diagram.setColumns(3);
    diagram.setRows(2);
    diagram.showLayoutDirection(direction);
    QSignalSpy clicked(&diagram, &KQ_display_array_size_diagram_widget::clicked);
    send_release(diagram, position, Qt::MouseButton(button));
    if (cell == QPoint(-1, -1)) {
        QCOMPARE(clicked.count(), 0);
    } else {
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().at(0).toInt(), cell.x());
        QCOMPARE(clicked.first().at(1).toInt(), cell.y());
    }
    // The owner, not the click, moves the selection.
    int x = -1, y = -1;
    diagram.getCurrentlySelectedDisplay(x, y);
    QCOMPARE(QPoint(x, y), QPoint(0, 0));
}

void tst_array_size_diagram::clicks_on_an_empty_diagram_emit_nothing_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("0 rows") << 3 << 0;
    QTest::newRow("0 columns") << 0 << 3;
    QTest::newRow("negative columns") << -3 << 2;
}

void tst_array_size_diagram::clicks_on_an_empty_diagram_emit_nothing()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    KQ_display_array_size_diagram_widget diagram;
    diagram.resize(300, 200);
    diagram.setColumns(columns);
    diagram.setRows(rows);
    diagram.showHover(true);
    QSignalSpy clicked(&diagram, &KQ_display_array_size_diagram_widget::clicked);
    send_enter(diagram);
    for (const QPoint &at : {QPoint(0, 0), QPoint(150, 100), QPoint(299, 199)}) {
        send_move(diagram, at);
        send_release(diagram, at);
    }
    QCOMPARE(clicked.count(), 0);
}

QTEST_MAIN(tst_array_size_diagram)
#include "tst_array_size_diagram.moc"
