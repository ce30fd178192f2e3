#include "layout_setup/KQ_display_layout_ID_widget.h"
#include "layout_setup/KQ_display_layout_direction_widget.h"
#include "layout_setup/KQ_display_layout_size_widget.h"
#include "layout_setup/array_diagram_geometry.h"
#include "resources/tessaline_resources.h"

#include "diagram_events.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kOrderLine(0, 0, 64);

// Whether the order line crosses the gap between two neighbouring cells.
bool joined(KQ_display_array_size_diagram_widget &diagram, const QPoint &a, const QPoint &b)
{
    // The page lays out the diagram anew after each change.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QImage image = painted(diagram);
    const array_diagram_geometry grid = diagram.cellGeometry();
    const QPoint gap = (grid.cellCentre(a.x(), a.y()) + grid.cellCentre(b.x(), b.y())) / 2;
    return image.pixelColor(gap) == kOrderLine;
}

} // namespace

class tst_size_direction_widgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tessaline_init_resources(); }
    void size_validity_data();
    void size_validity();
    void size_reaches_the_diagram();
    void starting_id_stops_at_98();
    void direction_starts_clockwise_scan_line();
    void direction_choices_reach_the_diagram();
    void direction_forwards_size_and_corner();
};

void tst_size_direction_widgets::size_validity_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("valid");

    QTest::newRow("1 x 1") << 1 << 1 << true;
    QTest::newRow("10 x 10") << 10 << 10 << true;
    QTest::newRow("30 x 3") << 30 << 3 << true;
    QTest::newRow("3 x 30") << 3 << 30 << true;
    QTest::newRow("11 x 10") << 11 << 10 << false;
    QTest::newRow("30 x 4") << 30 << 4 << false;
    QTest::newRow("30 x 30") << 30 << 30 << false;
}

void tst_size_direction_widgets::size_validity()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(bool, valid);
    KQ_display_layout_size_widget widget;
    QVERIFY(widget.ui.max_size_limit_label->isHidden());
    QCOMPARE(widget.ui.columns_spinBox->maximum(), 30);
    QCOMPARE(widget.ui.rows_spinBox->maximum(), 30);
    QSignalSpy reports(&widget, &KQ_display_layout_size_widget::size_valid);
    widget.ui.columns_spinBox->setValue(columns);
    widget.ui.rows_spinBox->setValue(rows);
    if (columns != 1 || rows != 1) {
        QVERIFY(!reports.isEmpty());
        QCOMPARE(reports.last().at(0).toBool(), valid);
    }
    QCOMPARE(widget.ui.max_size_limit_label->isHidden(), valid);

    // Asked again (as its page does on every visit), it reports the same.
    reports.clear();
    widget.check_if_valid();
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.first().at(0).toBool(), valid);

    // Back to a small wall, the warning goes.
    widget.ui.columns_spinBox->setValue(2);
    widget.ui.rows_spinBox->setValue(2);
    QCOMPARE(reports.last().at(0).toBool(), true);
    QVERIFY(widget.ui.max_size_limit_label->isHidden());
}

void tst_size_direction_widgets::size_reaches_the_diagram()
{
    KQ_display_layout_size_widget widget;
    KQ_display_array_size_diagram_widget &diagram = *widget.ui.display_array_size_diagram_widget;
    diagram.resize(300, 200);
    QCOMPARE(diagram.cellGeometry().columns, 1);
    QCOMPARE(diagram.cellGeometry().rows, 1);
    widget.ui.columns_spinBox->setValue(30);
    widget.ui.rows_spinBox->setValue(4);
    QCOMPARE(diagram.cellGeometry().columns, 30);
    QCOMPARE(diagram.cellGeometry().rows, 4);
    QCOMPARE(diagram.minimumSizeHint(), QSize(300, 100));
}

void tst_size_direction_widgets::starting_id_stops_at_98()
{
    KQ_display_layout_ID_widget widget;
    QCOMPARE(widget.ui.starting_id_spinBox->value(), 1);
    widget.ui.starting_id_spinBox->setValue(99);
    QCOMPARE(widget.ui.starting_id_spinBox->value(), 98);
    widget.ui.starting_id_spinBox->setValue(0);
    QCOMPARE(widget.ui.starting_id_spinBox->value(), 1);
}

void tst_size_direction_widgets::direction_starts_clockwise_scan_line()
{
    KQ_display_layout_direction_widget widget;
    QVERIFY(widget.ui.clockwise_radioButton->isChecked());
    QVERIFY(!widget.ui.anticlockwise_radioButton->isChecked());
    QVERIFY(widget.ui.scanline_radioButton->isChecked());
    QVERIFY(!widget.ui.zigzag_radioButton->isChecked());
}

void tst_size_direction_widgets::direction_choices_reach_the_diagram()
{
    KQ_display_layout_direction_widget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    KQ_display_array_size_diagram_widget &diagram = *widget.ui.display_array_size_diagram_widget;
    widget.setArraySize(2, 2);
    widget.setStartingCorner(0);
    const QPoint tl(0, 0), tr(1, 0), bl(0, 1), br(1, 1);

    // Clockwise scan line from the top left runs along the top row.
    QVERIFY(joined(diagram, tl, tr));
    QVERIFY(!joined(diagram, tl, bl));
    QVERIFY(!joined(diagram, tr, br));

    // Counter-clockwise numbers the first column top to bottom first.
    widget.ui.anticlockwise_radioButton->click();
    QVERIFY(joined(diagram, tl, bl));
    QVERIFY(!joined(diagram, tl, tr));
    QVERIFY(!joined(diagram, bl, br));

    // Zig-zag then turns back along the second column: bottom right to top right.
    widget.ui.zigzag_radioButton->click();
    QVERIFY(joined(diagram, bl, br));
    QVERIFY(joined(diagram, br, tr));

    widget.ui.clockwise_radioButton->click();
    widget.ui.scanline_radioButton->click();
    QVERIFY(joined(diagram, tl, tr));
    QVERIFY(!joined(diagram, br, tr));
}

void tst_size_direction_widgets::direction_forwards_size_and_corner()
{
    KQ_display_layout_direction_widget widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    KQ_display_array_size_diagram_widget &diagram = *widget.ui.display_array_size_diagram_widget;
    widget.setArraySize(2, 3);
    QCOMPARE(diagram.cellGeometry().columns, 3);
    QCOMPARE(diagram.cellGeometry().rows, 2);

    // From the top right, clockwise: down the right column first.
    widget.setStartingCorner(1);
    QVERIFY(joined(diagram, QPoint(2, 0), QPoint(2, 1)));
    QVERIFY(!joined(diagram, QPoint(2, 0), QPoint(1, 0)));

    // The diagram's own font has grown with its cells by now.
    const int charWidth = QFontMetrics(widget.font()).averageCharWidth();
    widget.setLimitSizeForText(true);
    QCOMPARE(diagram.minimumSizeHint().width(), qMax(100, 3 * 6 * charWidth));
}

QTEST_MAIN(tst_size_direction_widgets)
#include "tst_size_direction_widgets.moc"
