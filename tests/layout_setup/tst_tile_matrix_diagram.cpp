#include "layout_setup/KQ_tile_matrix_diagram_widget.h"
#include "layout_setup/array_diagram_geometry.h"

#include "diagram_events.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kBackground(12, 34, 56);
const QColor kCellFill(255, 255, 192);
const QColor kHoverFill(255, 255, 205);
const QColor kCornerCentre(64, 64, 255);
const QColor kAreaCentre(128, 128, 255);
const QColor kMarkFrame(128, 128, 128);

QPoint centre(const KQ_tile_matrix_diagram_widget &diagram, int column, int row)
{
    return diagram.cellGeometry().cellCentre(column, row);
}

void click(KQ_tile_matrix_diagram_widget &diagram, int column, int row)
{
    send_release(diagram, centre(diagram, column, row));
}

QString area_of(const QObject &diagram)
{
    return QStringLiteral("%1,%2-%3,%4")
        .arg(diagram.property("min_x").toInt())
        .arg(diagram.property("min_y").toInt())
        .arg(diagram.property("max_x").toInt())
        .arg(diagram.property("max_y").toInt());
}

} // namespace

class tst_tile_matrix_diagram : public QObject
{
    Q_OBJECT

private slots:
    void every_click_on_a_cell_reports_the_area();
    void a_refused_click_still_reports_the_unchanged_area();
    void releases_that_pick_nothing_data();
    void releases_that_pick_nothing();
    void no_cells_without_rows_or_columns_data();
    void no_cells_without_rows_or_columns();
    void paints_cells_and_marks_data();
    void paints_cells_and_marks();
    void marks_only_while_the_selection_is_shown();
    void hovered_cell();
    void minimum_size_data();
    void minimum_size();
    void selected_display_is_the_first_corner();
};

void tst_tile_matrix_diagram::every_click_on_a_cell_reports_the_area()
{
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(5);
    diagram.setRows(3);
    diagram.resize(500, 300);
    QSignalSpy valid(&diagram, &KQ_tile_matrix_diagram_widget::valid);
    QSignalSpy changed(&diagram, &KQ_tile_matrix_diagram_widget::changed);
    QStringList order;
    connect(&diagram, &KQ_tile_matrix_diagram_widget::valid, this, [&] { order << "valid"; });
    connect(&diagram, &KQ_tile_matrix_diagram_widget::changed, this, [&] { order << "changed"; });

    click(diagram, 4, 2);
    QCOMPARE(area_of(diagram), QStringLiteral("-1,-1--1,-1"));
    click(diagram, 1, 0);
    QCOMPARE(area_of(diagram), QStringLiteral("1,0-4,2"));
    click(diagram, 1, 0); // the second corner again
    QCOMPARE(area_of(diagram), QStringLiteral("-1,-1--1,-1"));
    QCOMPARE(valid.size(), 3);
    QCOMPARE(valid.at(0).at(0).toBool(), false);
    QCOMPARE(valid.at(1).at(0).toBool(), true);
    QCOMPARE(valid.at(2).at(0).toBool(), false);
    QCOMPARE(changed.size(), 3);
    QCOMPARE(order.join(' '), QStringLiteral("valid changed valid changed valid changed"));
}

void tst_tile_matrix_diagram::a_refused_click_still_reports_the_unchanged_area()
{
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(12);
    diagram.setRows(1);
    diagram.resize(600, 60);
    click(diagram, 0, 0);
    click(diagram, 5, 0);
    QSignalSpy valid(&diagram, &KQ_tile_matrix_diagram_widget::valid);
    QSignalSpy changed(&diagram, &KQ_tile_matrix_diagram_widget::changed);
    click(diagram, 11, 0);
    QCOMPARE(area_of(diagram), QStringLiteral("0,0-5,0"));
    QCOMPARE(valid.size(), 1);
    QCOMPARE(valid.first().first().toBool(), true);
    QCOMPARE(changed.size(), 1);
}

void tst_tile_matrix_diagram::releases_that_pick_nothing_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("button");
    // 3 x 1 cells of 100 px in a 400 x 100 widget: the grid runs from x 50 to 350.
    QTest::newRow("left of the grid") << QPoint(20, 50) << int(Qt::LeftButton);
    QTest::newRow("right of the grid") << QPoint(380, 50) << int(Qt::LeftButton);
    QTest::newRow("right button on a cell") << QPoint(100, 50) << int(Qt::RightButton);
    QTest::newRow("middle button on a cell") << QPoint(100, 50) << int(Qt::MiddleButton);
}

void tst_tile_matrix_diagram::releases_that_pick_nothing()
{
    QFETCH(QPoint, at);
    QFETCH(int, button);
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(3);
    diagram.setRows(1);
    diagram.resize(400, 100);
    click(diagram, 0, 0);
    click(diagram, 2, 0);
    QSignalSpy valid(&diagram, &KQ_tile_matrix_diagram_widget::valid);
    QSignalSpy changed(&diagram, &KQ_tile_matrix_diagram_widget::changed);
    send_release(diagram, at, Qt::MouseButton(button));
    QCOMPARE(valid.size(), 0);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(area_of(diagram), QStringLiteral("0,0-2,0"));
}

void tst_tile_matrix_diagram::no_cells_without_rows_or_columns_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("no rows") << 3 << 0;
    QTest::newRow("no columns") << 0 << 2;
    QTest::newRow("negative") << -1 << 2;
}

void tst_tile_matrix_diagram::no_cells_without_rows_or_columns()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(columns);
    diagram.setRows(rows);
    diagram.resize(200, 200);
    diagram.showCurrentlySelectedDisplay(true);
    QSignalSpy changed(&diagram, &KQ_tile_matrix_diagram_widget::changed);
    for (const QPoint &at : {QPoint(0, 0), QPoint(100, 100), QPoint(199, 199)})
        send_release(diagram, at);
    QCOMPARE(changed.size(), 0);
    const QImage image = painted(diagram, kBackground);
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            QCOMPARE(image.pixelColor(x, y), kBackground);
}

void tst_tile_matrix_diagram::paints_cells_and_marks_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("1 x 1 in 300 x 200") << QSize(300, 200) << 1 << 1;
    QTest::newRow("4 x 3 in 400 x 300") << QSize(400, 300) << 4 << 3;
    QTest::newRow("12 x 4 in 600 x 400") << QSize(600, 400) << 12 << 4;
}

void tst_tile_matrix_diagram::paints_cells_and_marks()
{
    QFETCH(QSize, size);
    QFETCH(int, columns);
    QFETCH(int, rows);
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(columns);
    diagram.setRows(rows);
    diagram.resize(size);
    diagram.showCurrentlySelectedDisplay(true);
    const array_diagram_geometry grid = diagram.cellGeometry();
    QVERIFY(grid.hasCells());

    // Corners at the first and the last cell (within reach).
    const QPoint last(qMin(columns, 10) - 1, qMin(rows, 10) - 1);
    click(diagram, 0, 0);
    if (last != QPoint(0, 0))
        click(diagram, last.x(), last.y());
    const QImage image = painted(diagram, kBackground);

    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const QRect square = grid.cellRect(c, r);
            const bool corner = QPoint(c, r) == QPoint(0, 0) || QPoint(c, r) == last;
            const bool inside = c <= last.x() && r <= last.y() && last != QPoint(0, 0);
            const QColor expected = corner ? kCornerCentre : inside ? kAreaCentre : kCellFill;
            QCOMPARE(image.pixelColor(square.center()), expected);
            // The rim between the cell's square and its painted inset stays background.
            QCOMPARE(image.pixelColor(square.topLeft() + QPoint(1, 1)), kBackground);
            if (corner || inside)
                QCOMPARE(image.pixelColor(square.topLeft() + QPoint(4, square.height() / 2)), kMarkFrame);
        }
    }
    // Outside the grid nothing is painted.
    if (grid.origin.x() > 0)
        QCOMPARE(image.pixelColor(grid.origin.x() - 1, size.height() / 2), kBackground);
}

void tst_tile_matrix_diagram::marks_only_while_the_selection_is_shown()
{
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(2);
    diagram.setRows(1);
    diagram.resize(200, 100);
    click(diagram, 0, 0);
    click(diagram, 1, 0);
    QCOMPARE(painted(diagram).pixelColor(centre(diagram, 0, 0)), kCellFill);
    diagram.showCurrentlySelectedDisplay(true);
    QCOMPARE(painted(diagram).pixelColor(centre(diagram, 0, 0)), kCornerCentre);
}

void tst_tile_matrix_diagram::hovered_cell()
{
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(3);
    diagram.setRows(1);
    diagram.resize(400, 100); // the grid runs from x 50 to 350
    send_enter(diagram);
    send_move(diagram, centre(diagram, 1, 0));
    QImage image = painted(diagram);
    QCOMPARE(image.pixelColor(centre(diagram, 1, 0)), kHoverFill);
    QCOMPARE(image.pixelColor(centre(diagram, 0, 0)), kCellFill);
    // Beside every cell the hover stays where it was.
    send_move(diagram, QPoint(10, 50));
    QCOMPARE(painted(diagram).pixelColor(centre(diagram, 1, 0)), kHoverFill);
    send_leave(diagram);
    QCOMPARE(painted(diagram).pixelColor(centre(diagram, 1, 0)), kCellFill);
}

void tst_tile_matrix_diagram::minimum_size_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QSize>("size");
    QTest::newRow("1 x 1") << 1 << 1 << QSize(100, 100);
    QTest::newRow("12 x 4") << 12 << 4 << QSize(240, 100);
    QTest::newRow("3 x 30") << 3 << 30 << QSize(100, 600);
}

void tst_tile_matrix_diagram::minimum_size()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QSize, size);
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(columns);
    diagram.setRows(rows);
    QCOMPARE(diagram.minimumSizeHint(), size);
    QCOMPARE(diagram.sizeHint(), size);
}

void tst_tile_matrix_diagram::selected_display_is_the_first_corner()
{
    KQ_tile_matrix_diagram_widget diagram;
    diagram.setColumns(4);
    diagram.setRows(2);
    diagram.resize(400, 200);
    int x = 0;
    int y = 0;
    diagram.getCurrentlySelectedDisplay(x, y);
    QCOMPARE(QPoint(x, y), QPoint(-1, -1));
    click(diagram, 2, 1);
    diagram.getCurrentlySelectedDisplay(x, y);
    QCOMPARE(QPoint(x, y), QPoint(2, 1));
    // Moving it does not set it: the next click on another cell is a first corner still set at (3, 0).
    diagram.setCurrentlySelectedDisplay(3, 0);
    diagram.getCurrentlySelectedDisplay(x, y);
    QCOMPARE(QPoint(x, y), QPoint(3, 0));
    click(diagram, 0, 0);
    QCOMPARE(area_of(diagram), QStringLiteral("0,0-3,0"));
}

QTEST_MAIN(tst_tile_matrix_diagram)
#include "tst_tile_matrix_diagram.moc"
