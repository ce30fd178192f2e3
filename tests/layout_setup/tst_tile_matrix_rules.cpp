#include "layout_setup/tile_matrix_plan.h"
#include "layout_setup/tile_matrix_selection.h"

#include <QtTest>

namespace {

struct click
{
    int column;
    int row;
};

// "complete min_x,min_y-max_x,max_y" or "first c,r" / "none".
QString state_of(const tile_matrix_selection &s)
{
    if (s.complete())
        return QStringLiteral("area %1,%2-%3,%4").arg(s.min_x()).arg(s.min_y()).arg(s.max_x()).arg(s.max_y());
    if (s.firstSet())
        return QStringLiteral("first %1,%2 area %3").arg(s.first().x()).arg(s.first().y()).arg(s.min_x());
    return QStringLiteral("none %1,%2 area %3").arg(s.first().x()).arg(s.second().x()).arg(s.min_x());
}

// Controls as "code=value" in write order.
QString controls_of(const tile_matrix_job &job)
{
    QStringList parts;
    for (const vcp_list_item &item : job.controls) {
        if (item.action != vcp_list_item::kWrite || item.read_first != 0)
            return QStringLiteral("not a plain write");
        parts << QStringLiteral("%1=%2").arg(item.code, 0, 16).arg(item.value);
    }
    return parts.join(QLatin1Char(' '));
}

// A wall of |columns| x |rows| numbered row by row, less the cells in |holes|.
std::function<int(int, int)> wall_of(int columns, int rows, QList<QPoint> holes = {})
{
    return [=](int column, int row) {
        if (column < 0 || row < 0 || column >= columns || row >= rows || holes.contains(QPoint(column, row)))
            return -1;
        return row * columns + column;
    };
}

} // namespace

Q_DECLARE_METATYPE(QList<click>)

class tst_tile_matrix_rules : public QObject
{
    Q_OBJECT

private slots:
    void click_sequences_data();
    void click_sequences();
    void moving_the_first_corner_keeps_the_area_until_the_next_click();
    void page_rules_data();
    void page_rules();
    void group_positions_and_sizes();
    void turning_off_writes_the_mode_only();
    void tile_comp_off();
    void a_cell_without_a_display_gets_no_job_but_keeps_its_number();
};

void tst_tile_matrix_rules::click_sequences_data()
{
    QTest::addColumn<QList<click>>("clicks");
    QTest::addColumn<QString>("state");

    QTest::newRow("1 x 1: first corner") << QList<click>{{0, 0}} << "first 0,0 area -1";
    QTest::newRow("1 x 1: same cell again clears it") << QList<click>{{0, 0}, {0, 0}} << "none -1,-1 area -1";
    QTest::newRow("1 x 1: and again sets it") << QList<click>{{0, 0}, {0, 0}, {0, 0}} << "first 0,0 area -1";
    QTest::newRow("12 columns: column 10 is refused") << QList<click>{{0, 0}, {10, 0}} << "first 0,0 area -1";
    QTest::newRow("12 columns: column 9 completes 10") << QList<click>{{0, 0}, {10, 0}, {9, 0}} << "area 0,0-9,0";
    QTest::newRow("10 rows away is refused") << QList<click>{{3, 0}, {4, 10}} << "first 3,0 area -1";
    QTest::newRow("refused after an area keeps it")
        << QList<click>{{0, 0}, {2, 1}, {11, 1}} << "area 0,0-2,1";
    QTest::newRow("second corner again removes only it") << QList<click>{{1, 1}, {3, 2}, {3, 2}} << "first 1,1 area -1";
    QTest::newRow("a new second corner replaces the old")
        << QList<click>{{1, 1}, {3, 2}, {0, 0}} << "area 0,0-1,1";
    QTest::newRow("first corner again clears both") << QList<click>{{1, 1}, {3, 2}, {1, 1}} << "none -1,-1 area -1";
    QTest::newRow("corners in reverse") << QList<click>{{5, 3}, {2, 1}} << "area 2,1-5,3";
    QTest::newRow("bottom-left then top-right") << QList<click>{{0, 4}, {3, 0}} << "area 0,0-3,4";
}

void tst_tile_matrix_rules::click_sequences()
{
    QFETCH(QList<click>, clicks);
    QFETCH(QString, state);
    tile_matrix_selection selection;
    for (const click &c : clicks)
        selection.click(c.column, c.row);
    QCOMPARE(state_of(selection), state);
    QVERIFY(selection.min_x() <= selection.max_x() && selection.min_y() <= selection.max_y());
}

void tst_tile_matrix_rules::moving_the_first_corner_keeps_the_area_until_the_next_click()
{
    tile_matrix_selection selection;
    selection.click(0, 0);
    selection.click(2, 2);
    selection.setFirst(QPoint(1, 1));
    QCOMPARE(state_of(selection), QStringLiteral("area 0,0-2,2"));
    selection.click(3, 2);
    QCOMPARE(state_of(selection), QStringLiteral("area 1,1-3,2"));
}

void tst_tile_matrix_rules::page_rules_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("groups");
    QTest::addColumn<bool>("oneMatrix");
    QTest::addColumn<int>("nextWithGroups"); // after the type page, groups checked
    QTest::addColumn<int>("nextWithout");

    QTest::newRow("2 x 1") << 2 << 1 << false << true << int(kTileMatrixFinalPage) << int(kTileMatrixFinalPage);
    QTest::newRow("3 x 1") << 3 << 1 << true << true << int(kTileMatrixDisplaysSelectionPage)
                           << int(kTileMatrixFinalPage);
    QTest::newRow("10 x 10") << 10 << 10 << true << true << int(kTileMatrixDisplaysSelectionPage)
                             << int(kTileMatrixFinalPage);
    QTest::newRow("12 x 4") << 12 << 4 << true << false << int(kTileMatrixDisplaysSelectionPage)
                            << int(kTileMatrixFinalPage);
    QTest::newRow("1 x 11") << 1 << 11 << true << false << int(kTileMatrixDisplaysSelectionPage)
                            << int(kTileMatrixFinalPage);
}

void tst_tile_matrix_rules::page_rules()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(bool, groups);
    QFETCH(bool, oneMatrix);
    QFETCH(int, nextWithGroups);
    QFETCH(int, nextWithout);
    const tile_matrix_wall wall{columns, rows, columns * rows};
    QCOMPARE(wall.groups_possible(), groups);
    QCOMPARE(wall.fits_one_matrix(), oneMatrix);
    QCOMPARE(tile_matrix_next_page(kTileMatrixTypeSelectionPage, wall, true), nextWithGroups);
    QCOMPARE(tile_matrix_next_page(kTileMatrixTypeSelectionPage, wall, false), nextWithout);
    QCOMPARE(tile_matrix_next_page(kTileMatrixIntroPage, wall, true), int(kTileMatrixTypeSelectionPage));
    QCOMPARE(tile_matrix_next_page(kTileMatrixDisplaysSelectionPage, wall, true), int(kTileMatrixFinalPage));
    QCOMPARE(tile_matrix_next_page(kTileMatrixFinalPage, wall, true), -1);
}

void tst_tile_matrix_rules::group_positions_and_sizes()
{
    // A 3 x 2 group from column 1, row 0 of a 5 x 3 wall.
    const QList<tile_matrix_job> plan =
        tile_matrix_apply_plan({1, 0, 3, 1}, tile_matrix_action::turn_on, true, wall_of(5, 3));
    QCOMPARE(plan.size(), 6);
    const int indexes[] = {1, 2, 3, 6, 7, 8};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(plan.at(i).layout_index, indexes[i]);
        QCOMPARE(controls_of(plan.at(i)), QStringLiteral("2d3=2 2d0=3 2d1=2 2d2=%1 2d5=2").arg(i + 1));
    }
}

void tst_tile_matrix_rules::turning_off_writes_the_mode_only()
{
    const tile_matrix_wall wall{4, 3, 12};
    const QList<tile_matrix_job> plan =
        tile_matrix_apply_plan(tile_matrix_area::whole(wall), tile_matrix_action::turn_off, true, wall_of(4, 3));
    QCOMPARE(plan.size(), 12);
    for (int i = 0; i < plan.size(); ++i) {
        QCOMPARE(plan.at(i).layout_index, i);
        QCOMPARE(controls_of(plan.at(i)), QStringLiteral("2d3=3"));
    }
}

void tst_tile_matrix_rules::tile_comp_off()
{
    const QList<tile_matrix_job> plan =
        tile_matrix_apply_plan({0, 0, 1, 0}, tile_matrix_action::turn_on, false, wall_of(2, 1));
    QCOMPARE(controls_of(plan.at(1)), QStringLiteral("2d3=2 2d0=2 2d1=1 2d2=2 2d5=1"));
}

void tst_tile_matrix_rules::a_cell_without_a_display_gets_no_job_but_keeps_its_number()
{
    const QList<tile_matrix_job> plan = tile_matrix_apply_plan({0, 0, 2, 1}, tile_matrix_action::turn_on, true,
                                                               wall_of(3, 2, {QPoint(1, 0), QPoint(2, 1)}));
    QCOMPARE(plan.size(), 4);
    QList<int> indexes;
    QStringList positions;
    for (const tile_matrix_job &job : plan) {
        QVERIFY(job.layout_index >= 0);
        indexes << job.layout_index;
        positions << controls_of(job).section(QLatin1Char(' '), 3, 3);
    }
    QCOMPARE(indexes, (QList<int>{0, 2, 3, 4}));
    QCOMPARE(positions, (QStringList{"2d2=1", "2d2=3", "2d2=4", "2d2=5"}));
    // A rectangle of empty cells plans nothing.
    QVERIFY(tile_matrix_apply_plan({5, 5, 6, 6}, tile_matrix_action::turn_on, true, wall_of(3, 2)).isEmpty());
}

QTEST_GUILESS_MAIN(tst_tile_matrix_rules)
#include "tst_tile_matrix_rules.moc"
